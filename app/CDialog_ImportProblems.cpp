#include "app/CDialog_ImportProblems.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QStyle>
#include <QVBoxLayout>

#include "app/QtText.h"

namespace {

constexpr const char* kSection = "TextExchange";
constexpr int kRefusedTitle = 50;
constexpr int kRefusedSummary = 51;  // %1 problems, %2 the file

}  // namespace

CDialog_ImportProblems::CDialog_ImportProblems(const TextCatalogue& text, const QString& file,
                                               const std::vector<std::string>& problems, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("CDialog_ImportProblems"));
    setWindowTitle(QText(text, kSection, kRefusedTitle));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("WarningIcon"));
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this).pixmap(size, size));
    icon->setAlignment(Qt::AlignTop);
    top->addWidget(icon);
    summary_ = new QLabel(QText(text, kSection, kRefusedSummary).arg(problems.size()).arg(file), this);
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    top->addWidget(summary_, 1);
    layout->addLayout(top);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("ProblemList"));
    for (const std::string& problem : problems)
        list_->addItem(QString::fromStdString(problem));
    list_->setWordWrap(true);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    layout->addWidget(list_, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(640, 400);
}
