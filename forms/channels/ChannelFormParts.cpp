#include "forms/channels/ChannelFormParts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/NavigationState.h"
#include "ui/QtText.h"
#include "core/AppContext.h"
#include "codeplug/Bytes.h"
#include "codeplug/Records.h"
#include "forms/channels/Encodings.h"

namespace {
// Keys of section "CH_Str" both channel forms use.
constexpr int kKeyTimeoutOff = 56;
constexpr int kKeyAdd = 57, kKeyDelete = 58, kKeyCopy = 59;

// Where a channel record keeps its alias and frequencies.
struct NameFields {
    std::size_t aliasLength, alias, rxFrequency, txFrequency;
};
NameFields NameFieldsOf(ChannelKind kind)
{
    namespace D = DigitalChannelField;
    namespace A = AnalogChannelField;
    if (kind == ChannelKind::Digital)
        return {D::AliasLength, D::Alias, D::RxFrequency, D::TxFrequency};
    return {A::AliasLength, A::Alias, A::RxFrequency, A::TxFrequency};
}

QString FrequencyText(std::uint32_t hertz) { return QString::fromStdString(FrequencyToText(hertz)); }
}  // namespace

ChannelFormBase::ChannelFormBase(FormContext& context, FormKind kind, ChannelKind channelKind)
    : CFormBase(context, kind, "CH_Str"), channelKind_(channelKind)
{
}

std::size_t ChannelFormBase::RecordIndex() const { return BoundedChannelIndex(CurrentIndex()); }

std::span<std::uint8_t> ChannelFormBase::Record() { return ChannelRecord(CodeplugImage(), channelKind_, RecordIndex()); }

std::uint8_t ChannelFormBase::FrequencyRange() const
{
    return CodeplugImage().RadioSettings[RadioSettingsField::FrequencyRange];
}

QComboBox* ChannelFormBase::NewList()
{
    auto* list = new QComboBox(this);
    list->setMaxVisibleItems(16);
    OnChange(list, &QComboBox::currentIndexChanged);
    return list;
}

QLineEdit* ChannelFormBase::NewBox(int maxLength)
{
    auto* box = new QLineEdit(this);
    if (maxLength > 0)
        box->setMaxLength(maxLength);
    OnChange(box, &QLineEdit::editingFinished);
    return box;
}

QCheckBox* ChannelFormBase::NewCheck()
{
    auto* box = new QCheckBox(this);
    OnChange(box, &QCheckBox::toggled);
    return box;
}

QPushButton* ChannelFormBase::NewButton(void (ChannelFormBase::*command)())
{
    auto* button = new QPushButton(this);
    button->setMinimumWidth(110);
    OnCommand(button, &QPushButton::clicked, command);
    return button;
}

void ChannelFormBase::NewRecordButtons(QPushButton*& add, QPushButton*& remove, QPushButton*& copy)
{
    add = NewButton(&ChannelFormBase::AddChannelCommand);
    remove = NewButton(&ChannelFormBase::DeleteChannelCommand);
    copy = NewButton(&ChannelFormBase::CopyCommand);
}

void ChannelFormBase::AddCaption(QWidget* widget, int key) { captions_.push_back({widget, key}); }

void ChannelFormBase::SetCaptions()
{
    for (const Caption& caption : captions_) {
        if (auto* label = qobject_cast<QLabel*>(caption.widget))
            label->setText(Text(caption.key));
        else if (auto* button = qobject_cast<QAbstractButton*>(caption.widget))
            button->setText(Text(caption.key));
        else if (auto* group = qobject_cast<QGroupBox*>(caption.widget))
            group->setTitle(Text(caption.key));
    }
}

QLabel* ChannelFormBase::NewCaptionLabel(int key)
{
    auto* label = new QLabel(this);
    AddCaption(label, key);
    return label;
}

QGridLayout* ChannelFormBase::NewPairGrid(CaptionedControls left, CaptionedControls right)
{
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(10);
    int pair = 0;
    for (CaptionedControls column : {left, right}) {
        int row = 0;
        for (auto [control, key] : column) {
            QLabel* label = NewCaptionLabel(key);
            label->setBuddy(control);
            grid->addWidget(label, row, pair * 3);
            grid->addWidget(control, row, pair * 3 + 1);
            ++row;
        }
        ++pair;
    }
    grid->setColumnMinimumWidth(2, 40);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 1);
    return grid;
}

QHBoxLayout* ChannelFormBase::RecordButtonRow(QPushButton* add, QPushButton* remove, QPushButton* copy)
{
    auto* buttons = new QHBoxLayout;
    for (auto [button, key] : {std::pair{add, kKeyAdd}, {remove, kKeyDelete}, {copy, kKeyCopy}}) {
        buttons->addWidget(button);
        AddCaption(button, key);
    }
    buttons->addStretch(1);
    return buttons;
}

void ChannelFormBase::LayOutPage(std::initializer_list<QLayout*> parts)
{
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(24, 20, 24, 20);
    page->setSpacing(18);
    for (QLayout* part : parts)
        page->addLayout(part);
    page->addStretch(1);
}

void ChannelFormBase::ShowChoice(QComboBox* list, std::uint8_t byte, std::uint8_t mask, unsigned shift)
{
    list->setCurrentIndex(ChoicePosition(static_cast<std::uint32_t>((byte & mask) >> shift), list->count()));
}

void ChannelFormBase::StoreChoice(const QComboBox* list, std::uint8_t& byte, std::uint8_t mask, unsigned shift)
{
    if (list->currentIndex() >= 0)
        byte = static_cast<std::uint8_t>((byte & ~mask) | (list->currentIndex() << shift));
}

void ChannelFormBase::SetBit(std::uint8_t& byte, std::uint8_t mask, bool on)
{
    byte = static_cast<std::uint8_t>(on ? byte | mask : byte & ~mask);
}

void ChannelFormBase::FillNumberedList(QComboBox* list, int treeKey, std::size_t count)
{
    list->clear();
    list->addItem(QStringLiteral("OFF"));
    const std::string pattern = Context().text.GetText("Tree", treeKey);
    for (std::size_t n = 1; n <= count; ++n)
        list->addItem(QString::fromStdString(FormatNumbered(pattern, static_cast<int>(n))));
}

void ChannelFormBase::FillKeys(QComboBox* list, std::initializer_list<int> keys)
{
    list->clear();
    for (int key : keys)
        list->addItem(Text(key));
}

void ChannelFormBase::FillNumbers(QComboBox* list, int first, int last)
{
    list->clear();
    for (int n = first; n <= last; ++n)
        list->addItem(QString::number(n));
}

void ChannelFormBase::FillTimeouts(QComboBox* list)
{
    list->clear();
    list->addItem(Text(kKeyTimeoutOff));
    for (int seconds = 30; seconds <= 150; seconds += 30)
        list->addItem(QString::number(seconds));
}

void ChannelFormBase::ShowNameAndFrequencies(std::span<const std::uint8_t> record, QLineEdit* alias, QLineEdit* rx,
                                             QLineEdit* tx) const
{
    const NameFields f = NameFieldsOf(channelKind_);
    alias->setText(QString::fromStdString(DecodeAlias(record[f.aliasLength], record.subspan(f.alias, AliasField::kBytes))));
    rx->setText(FrequencyText(GetLE32(record, f.rxFrequency)));
    tx->setText(FrequencyText(GetLE32(record, f.txFrequency)));
}

void ChannelFormBase::StoreNameAndFrequencies(std::span<std::uint8_t> record, const QLineEdit* alias,
                                              const QLineEdit* rx, const QLineEdit* tx) const
{
    const NameFields f = NameFieldsOf(channelKind_);
    StoreAlias(ToStd(alias->text()), AliasField::kMaxChars, record[f.aliasLength], record.subspan(f.alias, AliasField::kBytes));
    PutLE32(record, f.rxFrequency, FrequencyFromBoxText(ToStd(rx->text()), FrequencyRange()));
    PutLE32(record, f.txFrequency, FrequencyFromBoxText(ToStd(tx->text()), FrequencyRange()));
}

void ChannelFormBase::AddChannelCommand()
{
    if (!AddChannel(CodeplugImage(), channelKind_))
        return;
    AfterCountChanged();
}

void ChannelFormBase::DeleteChannelCommand()
{
    const std::size_t deleted = RecordIndex();
    if (!DeleteChannel(CodeplugImage(), channelKind_, deleted))
        return;
    // The form moves to a channel that still exists: the one that took the deleted one's place,
    // or the new last channel.
    const std::size_t shown = ChannelShownAfterDelete(CodeplugImage(), channelKind_, deleted);
    if (shown != CurrentIndex()) {
        SetCurrentIndex(static_cast<std::uint32_t>(shown));
        const int itemKey =
            channelKind_ == ChannelKind::Digital ? TreeKey::DigitalChannelItem : TreeKey::AnalogChannelItem;
        std::string& title = Navigation().Title(Kind());
        title = FormatNumbered(Context().text.GetText("Tree", itemKey), static_cast<int>(shown + 1));
        SetFormTitle(QString::fromStdString(title));
    }
    AfterCountChanged();
}

void ChannelFormBase::CopyCommand()
{
    Commit();
    CopyReceiveToTransmit(CodeplugImage(), channelKind_, RecordIndex());
    Show();
}

void ChannelFormBase::AfterCountChanged()
{
    RequestTreeRebuild();
    // The zone and scan-list forms show their lists afresh from the repaired records.
    emit zoneAndScanRefreshRequested();
    Show();
}
