#include "forms/channels/ChannelFormParts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/CMainFrame.h"
#include "app/Navigation.h"
#include "app/QtText.h"
#include "app/AppContext.h"
#include "codeplug/Records.h"
#include "forms/channels/Encodings.h"

namespace {
// Keys of section "CH_Str" both channel forms use.
constexpr int kKeyTimeoutOff = 56;

std::size_t AliasLengthAt(ChannelKind kind)
{
    return kind == ChannelKind::Digital ? DigitalChannelField::AliasLength : AnalogChannelField::AliasLength;
}
std::size_t AliasAt(ChannelKind kind)
{
    return kind == ChannelKind::Digital ? DigitalChannelField::Alias : AnalogChannelField::Alias;
}
}  // namespace

ChannelFormBase::ChannelFormBase(CVanticApp& app, FormKind kind, ChannelKind channelKind)
    : CFormBase(app, kind, "CH_Str"), channelKind_(channelKind)
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
    connect(button, &QPushButton::clicked, this, [this, command] { (this->*command)(); });
    return button;
}

QLabel* ChannelFormBase::NewLabel() { return new QLabel(this); }

QLabel* ChannelFormBase::AddRow(QGridLayout* grid, int row, int pair, QWidget* control)
{
    QLabel* label = NewLabel();
    label->setBuddy(control);
    grid->addWidget(label, row, pair * 3);
    grid->addWidget(control, row, pair * 3 + 1);
    return label;
}

void ChannelFormBase::ShowChoice(QComboBox* list, std::uint32_t stored)
{
    list->setCurrentIndex(ChoicePosition(stored, list->count()));
}

void ChannelFormBase::StoreChoice(const QComboBox* list, std::uint8_t& byte)
{
    if (list->currentIndex() >= 0)
        byte = static_cast<std::uint8_t>(list->currentIndex());
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

QString ChannelFormBase::Alias(std::span<const std::uint8_t> record) const
{
    const std::span<const std::uint8_t> field = record.subspan(AliasAt(channelKind_), AliasField::kBytes);
    return QString::fromStdString(DecodeAlias(record[AliasLengthAt(channelKind_)], field));
}

void ChannelFormBase::StoreAlias(const QLineEdit* box, std::span<std::uint8_t> record)
{
    // Both tables keep the alias at the same place.
    static_assert(AnalogChannelField::Alias == DigitalChannelField::Alias);
    static_assert(AnalogChannelField::AliasLength == DigitalChannelField::AliasLength);
    const std::string text = CutToChars(ToStd(box->text()), AliasField::kMaxChars);
    record[AnalogChannelField::AliasLength] =
        EncodeAlias(text, record.subspan(AnalogChannelField::Alias, AliasField::kBytes));
}

QString ChannelFormBase::FrequencyText(std::uint32_t hertz) { return QString::fromStdString(FrequencyToText(hertz)); }

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
    if (CMainFrame* frame = MainFrame())
        frame->RefreshZoneAndScanForms();
    Show();
}
