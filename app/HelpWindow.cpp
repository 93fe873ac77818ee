#include "app/HelpWindow.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/Artwork.h"

CHelpWindow::CHelpWindow(const std::filesystem::path& manual, bool chinese, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CHelpWindow"));
    setWindowTitle(chinese ? QStringLiteral("帮助 - 用户手册") : QStringLiteral("Help - User manual"));
    setWindowIcon(ProgramIcon());
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);

    browser_ = new QTextBrowser(this);
    browser_->setOpenExternalLinks(true);
    browser_->setSource(QUrl::fromLocalFile(QString::fromStdString(manual.string())), QTextDocument::MarkdownResource);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(browser_);
    layout->addWidget(buttons);

    QSize size(900, 700);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() - QSize(16, 48));
    resize(size);
}

std::filesystem::path CHelpWindow::ManualPath(const std::filesystem::path& dataDirectory, bool chinese)
{
    std::error_code ignored;
    const std::filesystem::path docs = dataDirectory / "docs";
    if (chinese && std::filesystem::exists(docs / "manual.zh_CN.md", ignored))
        return docs / "manual.zh_CN.md";
    if (std::filesystem::exists(docs / "manual.md", ignored))
        return docs / "manual.md";
    return {};
}
