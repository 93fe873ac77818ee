#include "app/CDialog_CheckFindings.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/QtText.h"
#include "forms/CodeplugRules.h"
#include "forms/Wording.h"

namespace {
constexpr const char* kSection = "Text_Str";
constexpr int kFound = 1, kWriteAnyway = 2, kDoubleClick = 4;
constexpr int kSectionRole = Qt::UserRole + 1;
constexpr int kRecordRole = Qt::UserRole + 2;
constexpr int kFieldRole = Qt::UserRole + 3;

QString FromView(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
}  // namespace

CDialog_CheckFindings::CDialog_CheckFindings(const TextCatalogue& text, UiLanguage language,
                                             const std::vector<CheckFinding>& findings, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("CDialog_CheckFindings"));
    setWindowTitle(QText(text, "Pub", 10));
    auto* layout = new QVBoxLayout(this);
    auto* found = new QLabel(QText(text, kSection, kFound) + "\n" + QText(text, kSection, kDoubleClick), this);
    found->setWordWrap(true);
    layout->addWidget(found);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("FindingList"));
    list_->setWordWrap(true);
    const int size = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    for (const bool errors : {true, false}) {
        for (const CheckFinding& f : findings) {
            if (f.error != errors)
                continue;
            auto* item = new QListWidgetItem(QString::fromStdString(InLanguage(f.where + ": " + f.what, language)), list_);
            item->setIcon(style()->standardIcon(f.error ? QStyle::SP_MessageBoxCritical : QStyle::SP_MessageBoxWarning));
            item->setData(kSectionRole, FromView(f.section));
            item->setData(kRecordRole, f.record == RuleFinding::kWholeTable ? -1 : static_cast<int>(f.record));
            item->setData(kFieldRole, FromView(f.field));
        }
    }
    list_->setIconSize(QSize(size, size));
    connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        emit recordChosen(item->data(kSectionRole).toString(), item->data(kRecordRole).toInt(),
                          item->data(kFieldRole).toString());
        reject();
    });
    layout->addWidget(list_, 1);

    layout->addWidget(new QLabel(QText(text, kSection, kWriteAnyway), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Yes | QDialogButtonBox::No, this);
    buttons->button(QDialogButtonBox::No)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(720, 420);
}
