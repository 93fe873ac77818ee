#include "app/CDialog_ImportProblems.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/QtText.h"
#include "forms/Wording.h"

namespace {

constexpr const char* kSection = "TextExchange";
constexpr int kRefusedTitle = 50;
constexpr int kRefusedSummary = 51;  // %1 problems, %2 the file
constexpr int kCell = 52;            // %1 row, %2 column
constexpr int kRow = 53;             // %1 row

}  // namespace

QString ImportProblemText(const TextCatalogue& text, const ImportProblem& problem)
{
    const bool chinese = text.KeyBase() == TextKeyBaseFor(UiLanguage::Chinese);
    const QString reason =
        QString::fromStdString(InLanguage(problem.reason, chinese ? UiLanguage::Chinese : UiLanguage::English));
    if (!problem.path.empty())
        return QString::fromStdString(problem.path) + ": " + reason;
    if (problem.row == 0)
        return reason;
    QString where = problem.column != 0 ? QText(text, kSection, kCell).arg(problem.row).arg(problem.column)
                                        : QText(text, kSection, kRow).arg(problem.row);
    if (!problem.header.empty())
        where += " (" + QString::fromStdString(problem.header) + ")";
    return where + ": " + reason;
}

CDialog_ImportProblems::CDialog_ImportProblems(const TextCatalogue& text, const QString& file,
                                               const std::vector<ImportProblem>& problems, QWidget* parent)
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
    for (const ImportProblem& problem : problems)
        list_->addItem(ImportProblemText(text, problem));
    list_->setWordWrap(true);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    layout->addWidget(list_, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(640, 400);
}
