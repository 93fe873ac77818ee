#include "forms/dmr/CFORM_DMR.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "codeplug/BcdId.h"

namespace {
constexpr int kTitleKey = 0;
constexpr int kIdLabelKey = 1;
constexpr int kRowsPerColumn = 5;
}  // namespace

CFORM_DMR::CFORM_DMR(FormContext& context, QWidget* parent) : CFormBase(context, FormKind::Dmr, "DMR_Set", parent)
{
    auto* box = new QGroupBox(this);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(14);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    idLabel_ = new QLabel(box);
    id_ = new QLineEdit(box);
    id_->setObjectName("radioId");
    grid->addWidget(idLabel_, 0, 0);
    grid->addWidget(id_, 0, 1);
    OnChange(id_, &QLineEdit::editingFinished);

    // The ID first, then the visible lists down the first column and on into the second.
    int slot = 1;
    const auto& lists = dmr::SettingLists();
    for (std::size_t i = 0; i < lists.size(); ++i) {
        labels_[i] = new QLabel(box);
        lists_[i] = new QComboBox(box);
        lists_[i]->setObjectName(QStringLiteral("list%1").arg(lists[i].offset));
        lists_[i]->setMaxVisibleItems(20);
        OnChange(lists_[i], &QComboBox::currentIndexChanged);
        if (lists[i].hidden) {
            labels_[i]->hide();
            lists_[i]->hide();
            continue;
        }
        const int row = slot % kRowsPerColumn, column = 2 * (slot / kRowsPerColumn);
        grid->addWidget(labels_[i], row, column);
        grid->addWidget(lists_[i], row, column + 1);
        ++slot;
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->addWidget(box);
    layout->addStretch(1);
}

void CFORM_DMR::InitialiseControls()
{
    SetFormTitle(Text(kTitleKey));
    id_->setMaxLength(static_cast<int>(kBcdIdChars));
    // Digits only: the box's text is read as packed digits, so a letter would store an ID no radio has.
    id_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), id_));
    idLabel_->setText(Text(kIdLabelKey));
    const auto& lists = dmr::SettingLists();
    for (std::size_t i = 0; i < lists.size(); ++i) {
        labels_[i]->setText(Text(lists[i].labelKey));
        lists_[i]->clear();
        QStringList entries;
        for (const std::string& entry : dmr::ListTexts(lists[i]))
            entries << QString::fromStdString(entry);
        lists_[i]->addItems(entries);
    }
}

void CFORM_DMR::ShowRecord()
{
    const Codeplug& codeplug = CodeplugImage();
    id_->setText(QString::fromStdString(dmr::RadioIdText(codeplug)));
    const auto& lists = dmr::SettingLists();
    for (std::size_t i = 0; i < lists.size(); ++i)
        lists_[i]->setCurrentIndex(dmr::PositionOfStored(lists[i], codeplug.DmrSettings[lists[i].offset]));
}

void CFORM_DMR::Commit()
{
    Codeplug& codeplug = CodeplugImage();
    dmr::CommitRadioIdText(codeplug, id_->text().toLatin1().toStdString());
    const auto& lists = dmr::SettingLists();
    for (std::size_t i = 0; i < lists.size(); ++i)
        codeplug.DmrSettings[lists[i].offset] = dmr::StoredOfPosition(lists[i], lists_[i]->currentIndex());
}
