#include "forms/functions/CForm_Key.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>

#include "core/AppContext.h"
#include "ui/CMSFlexGrid.h"

namespace {

// Catalogue keys of section "Key".
namespace KeyText {
constexpr int GroupCaption = 0;
constexpr int LongPress = 1;
constexpr int None = 18;
constexpr int GridNumber = 10;
constexpr int GridKind = 11;
constexpr int GridContact = 12;
// Labels in kKeyFunctionOffsets order: K1 short, K1 long, K2 short, K2 long, K3 short, K3 long.
constexpr std::array<int, kKeyFunctionCount> KeyLabels = {6, 7, 2, 3, 4, 5};
}  // namespace KeyText

constexpr int kTreeKeysTitle = 3;
constexpr const char* kCallKindText = "DMR";
constexpr int kGridRows = static_cast<int>(kOneTouchCount) + 1;
constexpr std::array<int, 3> kGridWidthsTwips = {590, 1200, 1800};

}  // namespace

CForm_Key::CForm_Key(FormContext& context, QWidget* parent) : CFormBase(context, FormKind::Key, "Key", parent)
{
    keysGroup_ = new QGroupBox(this);
    auto* keys = new QGridLayout(keysGroup_);
    keys->setHorizontalSpacing(12);
    keys->setVerticalSpacing(8);
    for (std::size_t key = 0; key < kKeyFunctionCount; ++key) {
        keyLabels_[key] = new QLabel(keysGroup_);
        keyLists_[key] = new QComboBox(keysGroup_);
        keyLists_[key]->setObjectName(QStringLiteral("key%1").arg(key));
        keyLists_[key]->setMinimumWidth(190);
        const int row = static_cast<int>(key / 2);
        const int col = static_cast<int>(key % 2) * 2;
        keys->addWidget(keyLabels_[key], row, col);
        keys->addWidget(keyLists_[key], row, col + 1);
        OnChange(keyLists_[key], &QComboBox::currentIndexChanged);
    }
    longPressLabel_ = new QLabel(keysGroup_);
    longPress_ = new QComboBox(keysGroup_);
    longPress_->setObjectName(QStringLiteral("longPress"));
    keys->addWidget(longPressLabel_, 3, 0);
    keys->addWidget(longPress_, 3, 1);
    keys->setColumnStretch(1, 1);
    keys->setColumnStretch(3, 1);
    OnChange(longPress_, &QComboBox::currentIndexChanged);

    grid_ = new CMSFlexGrid(this);
    grid_->SetCols(3);
    grid_->SetRows(kGridRows);
    grid_->SetFixedCols(1);
    grid_->SetColAlignment(0, Qt::AlignCenter);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int col = 0; col < 3; ++col)
        grid_->SetColWidthTwips(col, kGridWidthsTwips[static_cast<std::size_t>(col)]);
    int width = 2 * grid_->frameWidth();
    for (int col = 0; col < 3; ++col)
        width += grid_->columnWidth(col);
    const int height = 2 * grid_->frameWidth() + grid_->horizontalHeader()->sizeHint().height() +
                       (kGridRows - 1) * grid_->verticalHeader()->defaultSectionSize();
    grid_->setFixedSize(width, height);
    connect(grid_, &CMSFlexGrid::CellClicked, this, &CForm_Key::OnCellClicked);

    kindList_ = new QComboBox(grid_->viewport());
    kindList_->setObjectName(QStringLiteral("kindList"));
    kindList_->hide();
    OnCommand(kindList_, &QComboBox::activated, &CForm_Key::OnKindChosen);
    contactList_ = new QComboBox(grid_->viewport());
    contactList_->setObjectName(QStringLiteral("contactList"));
    contactList_->hide();
    OnCommand(contactList_, &QComboBox::activated, &CForm_Key::OnContactChosen);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(16);
    layout->addWidget(keysGroup_);
    layout->addWidget(grid_, 0, Qt::AlignLeft);
    layout->addStretch(1);
}

void CForm_Key::InitialiseControls()
{
    SetFormTitle(Text("Tree", kTreeKeysTitle));
    keysGroup_->setTitle(Text(KeyText::GroupCaption));
    longPressLabel_->setText(Text(KeyText::LongPress));
    for (std::size_t key = 0; key < kKeyFunctionCount; ++key) {
        keyLabels_[key]->setText(Text(KeyText::KeyLabels[key]));
        keyLists_[key]->clear();
        for (int position = 0; position < static_cast<int>(kKeyFunctionCodes.size()); ++position)
            keyLists_[key]->addItem(Text(KeyFunctionTextKey(position)));
    }
    longPress_->clear();
    for (int position = 0; position < kLongPressChoices; ++position)
        longPress_->addItem(QString::fromStdString(LongPressText(position)));

    grid_->SetTextMatrix(0, 0, Text(KeyText::GridNumber));
    grid_->SetTextMatrix(0, 1, Text(KeyText::GridKind));
    grid_->SetTextMatrix(0, 2, Text(KeyText::GridContact));
    kindList_->clear();
    kindList_->addItem(Text(KeyText::None));
    kindList_->addItem(QString::fromLatin1(kCallKindText));

    // The contact list is built once per opening; the contacts form closes this form whenever
    // the contacts change, so a reopened form lists them afresh.
    contacts_ = OneTouchContactChoices(CodeplugImage());
    contactList_->clear();
    for (const ContactChoice& contact : contacts_)
        contactList_->addItem(QString::fromStdString(contact.name));
}

void CForm_Key::ShowRecord()
{
    const Codeplug& codeplug = CodeplugImage();
    for (std::size_t key = 0; key < kKeyFunctionCount; ++key)
        keyLists_[key]->setCurrentIndex(KeyFunctionPositionOf(codeplug, key));
    longPress_->setCurrentIndex(LongPressPosition(codeplug).value_or(-1));
    ShowGrid();
}

void CForm_Key::ShowGrid()
{
    const Codeplug& codeplug = CodeplugImage();
    const QString none = Text(KeyText::None);
    for (std::size_t k = 0; k < kOneTouchCount; ++k) {
        const int row = static_cast<int>(k) + 1;
        grid_->SetTextMatrix(row, 0, QString::number(row));
        const bool calls = OneTouchAt(codeplug, k).kind == RadioSettingsField::kOneTouchCall;
        grid_->SetTextMatrix(row, 1, calls ? QString::fromLatin1(kCallKindText) : none);
        const auto name = OneTouchContactName(codeplug, k);
        grid_->SetTextMatrix(row, 2, name ? QString::fromStdString(*name) : none);
    }
}

void CForm_Key::Commit()
{
    Codeplug& codeplug = CodeplugImage();
    for (std::size_t key = 0; key < kKeyFunctionCount; ++key)
        SetKeyFunctionPosition(codeplug, key, keyLists_[key]->currentIndex());
    // A list left without a selection (a stored time that is no choice) keeps the stored time.
    SetLongPressPosition(codeplug, longPress_->currentIndex());
}

void CForm_Key::OnCellClicked(int row, int col)
{
    grid_->HideEditors();
    editRow_ = 0;
    if (row < 1 || row > static_cast<int>(kOneTouchCount))
        return;
    const std::size_t k = static_cast<std::size_t>(row) - 1;
    const Codeplug& codeplug = CodeplugImage();
    if (col == 1) {
        editRow_ = row;
        kindList_->setCurrentIndex(OneTouchKindPosition(codeplug, k));
        grid_->PlaceEditor(kindList_, row, col);
    } else if (col == 2 && OneTouchContactEditable(codeplug, k)) {
        editRow_ = row;
        contactList_->setCurrentIndex(OneTouchContactPosition(codeplug, k, contacts_).value_or(-1));
        grid_->PlaceEditor(contactList_, row, col);
    }
}

void CForm_Key::OnKindChosen(int position)
{
    if (editRow_ < 1)
        return;
    SetOneTouchKind(CodeplugImage(), static_cast<std::size_t>(editRow_) - 1, position);
    Show();
}

void CForm_Key::OnContactChosen(int position)
{
    if (editRow_ < 1)
        return;
    SetOneTouchContact(CodeplugImage(), static_cast<std::size_t>(editRow_) - 1, contacts_, position);
    Show();
}
