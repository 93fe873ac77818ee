#include "forms/channels/CFORM_AnaCH.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/NavigationState.h"
#include "ui/QtText.h"
#include "codeplug/Records.h"
#include "forms/channels/Encodings.h"

namespace {
namespace F = AnalogChannelField;

// Keys of section "CH_Str" besides the ones both channel forms use.
namespace Key {
using namespace ChannelKey;
constexpr int Bandwidth = 5, Squelch = 9, RxTone = 35, ToneType = 36, Ctcss = 37, Dcs = 38, DcsInverted = 39,
              TxTone = 40, Tail = 43;
}  // namespace Key

// The lists that show a byte of the record, and the check boxes that show a bit of its flags.
using C = CFORM_AnaCH::Controls;
constexpr ChannelListField<C> kListFields[] = {
    {&C::squelch, F::SquelchLevel}, {&C::timeout, F::TxTimeout},       {&C::recovery, F::TxInhibitRecovery},
    {&C::power, F::Power},          {&C::permission, F::TxPermission}, {&C::scanList, F::ScanList}};
constexpr ChannelCheckField<C> kCheckFields[] = {
    {&C::vox, F::Flags, F::kFlagVox}, {&C::receiveOnly, F::Flags, F::kFlagReceiveOnly},
    {&C::autoScan, F::Flags, F::kFlagAutoScan}};

void FillToneLists(QComboBox* ctcss, QComboBox* dcs, QComboBox* inverted)
{
    ctcss->clear();
    dcs->clear();
    inverted->clear();
    for (std::string_view tone : CtcssList)
        ctcss->addItem(QString::fromLatin1(tone.data(), static_cast<qsizetype>(tone.size())));
    for (std::string_view code : DcsList) {
        const QString digits = QString::fromLatin1(code.data(), static_cast<qsizetype>(code.size()));
        dcs->addItem(QStringLiteral("D%1N").arg(digits));
        inverted->addItem(QStringLiteral("D%1I").arg(digits));
    }
}

void ShowTone(const ToneControls& tone, QComboBox* type, QComboBox* ctcss, QComboBox* dcs, QComboBox* inverted)
{
    type->setCurrentIndex(tone.type);
    ctcss->setCurrentIndex(tone.ctcss);
    dcs->setCurrentIndex(tone.dcs);
    inverted->setCurrentIndex(tone.inverted);
    ctcss->setEnabled(tone.enabledList == kToneCtcss);
    dcs->setEnabled(tone.enabledList == kToneDcs);
    inverted->setEnabled(tone.enabledList == kToneDcsInverted);
}

ToneControls ReadTone(const QComboBox* type, const QComboBox* ctcss, const QComboBox* dcs, const QComboBox* inverted)
{
    ToneControls tone;
    tone.type = type->currentIndex();
    tone.ctcss = ctcss->currentIndex();
    tone.dcs = dcs->currentIndex();
    tone.inverted = inverted->currentIndex();
    return tone;
}
}  // namespace

CFORM_AnaCH::CFORM_AnaCH(FormContext& context) : ChannelFormBase(context, FormKind::AnalogChannel, ChannelKind::Analog)
{
    Controls& c = ui_;
    c.alias = NewBox(static_cast<int>(AliasField::kMaxChars));
    LimitName(c.alias, AliasField::kMaxChars, AliasField::kBytes);
    c.rxFrequency = NewBox(0);
    c.txFrequency = NewBox(0);
    for (QComboBox** list : {&c.bandwidth, &c.squelch, &c.tail, &c.timeout, &c.recovery, &c.power, &c.permission,
                             &c.scanList, &c.rxType, &c.rxCtcss, &c.rxDcs, &c.rxInverted, &c.txType, &c.txCtcss,
                             &c.txDcs, &c.txInverted})
        *list = NewList();
    c.autoScan = NewCheck();
    c.vox = NewCheck();
    c.receiveOnly = NewCheck();
    NewRecordButtons(c.add, c.remove, c.copy);

    QGridLayout* channel = NewPairGrid(
        {{c.alias, Key::Alias}, {c.rxFrequency, Key::RxFrequency}, {c.txFrequency, Key::TxFrequency},
         {c.permission, Key::Permission}, {c.scanList, Key::ScanList}},
        {{c.bandwidth, Key::Bandwidth}, {c.squelch, Key::Squelch}, {c.power, Key::Power}, {c.timeout, Key::Timeout},
         {c.recovery, Key::Recovery}});

    auto* checks = new QHBoxLayout;
    for (auto [box, key] : {std::pair{c.autoScan, Key::AutoScan}, {c.vox, Key::Vox}, {c.receiveOnly, Key::ReceiveOnly}}) {
        checks->addWidget(box);
        AddCaption(box, key);
    }
    checks->addStretch(1);

    const auto toneGroup = [&](int titleKey, QComboBox* type, QComboBox* ctcss, QComboBox* dcs, QComboBox* inverted,
                               QComboBox* tail) {
        auto* group = new QGroupBox(this);
        AddCaption(group, titleKey);
        auto* grid = new QGridLayout(group);
        grid->setHorizontalSpacing(12);
        grid->setVerticalSpacing(10);
        int r = 0;
        for (auto [list, key] : {std::pair{type, Key::ToneType}, {ctcss, Key::Ctcss}, {dcs, Key::Dcs},
                                 {inverted, Key::DcsInverted}, {tail, Key::Tail}}) {
            if (list == nullptr)
                continue;
            grid->addWidget(NewCaptionLabel(key), r, 0);
            grid->addWidget(list, r, 1);
            ++r;
        }
        grid->setColumnStretch(1, 1);
        grid->setRowStretch(r, 1);
        return group;
    };
    auto* tones = new QHBoxLayout;
    tones->setSpacing(16);
    tones->addWidget(toneGroup(Key::RxTone, c.rxType, c.rxCtcss, c.rxDcs, c.rxInverted, c.tail));
    tones->addWidget(toneGroup(Key::TxTone, c.txType, c.txCtcss, c.txDcs, c.txInverted, nullptr));

    LayOutPage({channel, checks, tones, RecordButtonRow(c.add, c.remove, c.copy)});

    // The controls are made before they are laid out, so Tab is told the layout's order: down
    // the left column, down the right, the switches, the two tone boxes, the buttons.
    QWidget* const tabs[] = {c.alias, c.rxFrequency, c.txFrequency, c.permission, c.scanList, c.bandwidth,
                             c.squelch, c.power, c.timeout, c.recovery, c.autoScan, c.vox, c.receiveOnly,
                             c.rxType, c.rxCtcss, c.rxDcs, c.rxInverted, c.tail, c.txType, c.txCtcss,
                             c.txDcs, c.txInverted, c.add, c.remove, c.copy};
    for (std::size_t i = 1; i < std::size(tabs); ++i)
        setTabOrder(tabs[i - 1], tabs[i]);
}

void CFORM_AnaCH::InitialiseControls()
{
    SetCaptions();
    Controls& c = ui_;
    c.bandwidth->clear();
    c.bandwidth->addItems({QStringLiteral("12.5kHz"), QStringLiteral("25kHz")});
    FillNumbers(c.squelch, 0, kSquelchLevels - 1);
    FillKeys(c.tail, {371, 372});
    FillTimeouts(c.timeout);
    FillNumbers(c.recovery, 0, kRecoveryChoices - 1);
    FillKeys(c.power, {311, 310});
    FillKeys(c.permission, {320, 321, 322, 323});
    FillKeys(c.rxType, {350, 351, 352, 353});
    FillKeys(c.txType, {350, 351, 352, 353});
    FillToneLists(c.rxCtcss, c.rxDcs, c.rxInverted);
    FillToneLists(c.txCtcss, c.txDcs, c.txInverted);
}

void CFORM_AnaCH::ShowRecord()
{
    Controls& c = ui_;
    const std::span<std::uint8_t> r = Record();
    Codeplug& codeplug = CodeplugImage();
    FillNumberedList(c.scanList, TreeKey::ScanListItem, UsedRecords(GetCount(codeplug.ScanListCount), codeplug.ScanTable));

    ShowNameAndFrequencies(r, c.alias, c.rxFrequency, c.txFrequency);
    c.bandwidth->setCurrentIndex((r[F::Flags] & F::kFlagWideBand) != 0 ? 1 : 0);
    c.autoScan->setEnabled(RepairAutoScan(r, ChannelKind::Analog));
    ShowFields(c, r, kListFields, kCheckFields);

    const ToneControls rx = ShowReceiveTone(r[F::RxToneType], r[F::RxToneIndex]);
    ShowTone(rx, c.rxType, c.rxCtcss, c.rxDcs, c.rxInverted);
    c.tail->setCurrentIndex(rx.tail);
    ShowTone(ShowTransmitTone(r[F::TxToneType], r[F::TxToneIndex]), c.txType, c.txCtcss, c.txDcs, c.txInverted);
}

void CFORM_AnaCH::Commit()
{
    const Controls& c = ui_;
    const std::span<std::uint8_t> r = Record();
    StoreNameAndFrequencies(r, c.alias, c.rxFrequency, c.txFrequency);

    SetBit(r[F::Flags], F::kFlagWideBand, c.bandwidth->currentIndex() == 1);
    StoreFields(c, r, kListFields, kCheckFields);

    ToneControls rx = ReadTone(c.rxType, c.rxCtcss, c.rxDcs, c.rxInverted);
    rx.tail = c.tail->currentIndex() == 1 ? 1 : 0;
    const StoredTone rxTone = CommitReceiveTone(rx);
    r[F::RxToneType] = rxTone.type;
    r[F::RxToneIndex] = rxTone.index;
    const StoredTone txTone = CommitTransmitTone(ReadTone(c.txType, c.txCtcss, c.txDcs, c.txInverted));
    r[F::TxToneType] = txTone.type;
    r[F::TxToneIndex] = txTone.index;
}
