#include "forms/channels/CFORM_AnaCH.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Navigation.h"
#include "app/QtText.h"
#include "codeplug/Records.h"
#include "forms/channels/Encodings.h"

namespace {
namespace F = AnalogChannelField;

// Keys of section "CH_Str".
namespace Key {
constexpr int Alias = 1, RxFrequency = 2, TxFrequency = 4, Bandwidth = 5, Power = 7, Squelch = 9, Timeout = 10,
              Recovery = 11, Permission = 13, ScanList = 14, AutoScan = 15, Vox = 18, ReceiveOnly = 19,
              RxTone = 35, ToneType = 36, Ctcss = 37, Dcs = 38, DcsInverted = 39, TxTone = 40, Tail = 43,
              Add = 57, Delete = 58, Copy = 59;
}  // namespace Key

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

CFORM_AnaCH::CFORM_AnaCH(CVanticApp& app) : ChannelFormBase(app, FormKind::AnalogChannel, ChannelKind::Analog)
{
    Controls& c = ui_;
    c.alias = NewBox(static_cast<int>(AliasField::kMaxChars));
    c.rxFrequency = NewBox(0);
    c.txFrequency = NewBox(0);
    for (QComboBox** list : {&c.bandwidth, &c.squelch, &c.tail, &c.timeout, &c.recovery, &c.power, &c.permission,
                             &c.scanList, &c.rxType, &c.rxCtcss, &c.rxDcs, &c.rxInverted, &c.txType, &c.txCtcss,
                             &c.txDcs, &c.txInverted})
        *list = NewList();
    c.autoScan = NewCheck();
    c.vox = NewCheck();
    c.receiveOnly = NewCheck();
    c.add = NewButton(&ChannelFormBase::AddChannelCommand);
    c.remove = NewButton(&ChannelFormBase::DeleteChannelCommand);
    c.copy = NewButton(&ChannelFormBase::CopyCommand);

    auto* channel = new QGridLayout;
    channel->setHorizontalSpacing(12);
    channel->setVerticalSpacing(10);
    const auto row = [&](int r, int pair, QWidget* control, int key) {
        captions_.push_back({AddRow(channel, r, pair, control), key});
    };
    row(0, 0, c.alias, Key::Alias);
    row(1, 0, c.rxFrequency, Key::RxFrequency);
    row(2, 0, c.txFrequency, Key::TxFrequency);
    row(3, 0, c.permission, Key::Permission);
    row(4, 0, c.scanList, Key::ScanList);
    row(0, 1, c.bandwidth, Key::Bandwidth);
    row(1, 1, c.squelch, Key::Squelch);
    row(2, 1, c.power, Key::Power);
    row(3, 1, c.timeout, Key::Timeout);
    row(4, 1, c.recovery, Key::Recovery);
    channel->setColumnMinimumWidth(2, 40);
    channel->setColumnStretch(1, 1);
    channel->setColumnStretch(4, 1);

    auto* checks = new QHBoxLayout;
    for (auto [box, key] : {std::pair{c.autoScan, Key::AutoScan}, {c.vox, Key::Vox}, {c.receiveOnly, Key::ReceiveOnly}}) {
        checks->addWidget(box);
        captions_.push_back({box, key});
    }
    checks->addStretch(1);

    const auto toneGroup = [&](int titleKey, QComboBox* type, QComboBox* ctcss, QComboBox* dcs, QComboBox* inverted,
                               QComboBox* tail) {
        auto* group = new QGroupBox(this);
        captions_.push_back({group, titleKey});
        auto* grid = new QGridLayout(group);
        grid->setHorizontalSpacing(12);
        grid->setVerticalSpacing(10);
        int r = 0;
        for (auto [list, key] : {std::pair{type, Key::ToneType}, {ctcss, Key::Ctcss}, {dcs, Key::Dcs},
                                 {inverted, Key::DcsInverted}, {tail, Key::Tail}}) {
            if (list == nullptr)
                continue;
            QLabel* label = NewLabel();
            captions_.push_back({label, key});
            grid->addWidget(label, r, 0);
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

    auto* buttons = new QHBoxLayout;
    for (auto [button, key] : {std::pair{c.add, Key::Add}, {c.remove, Key::Delete}, {c.copy, Key::Copy}}) {
        buttons->addWidget(button);
        captions_.push_back({button, key});
    }
    buttons->addStretch(1);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(24, 20, 24, 20);
    page->setSpacing(18);
    page->addLayout(channel);
    page->addLayout(checks);
    page->addLayout(tones);
    page->addLayout(buttons);
    page->addStretch(1);

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
    for (const Caption& caption : captions_) {
        if (auto* label = qobject_cast<QLabel*>(caption.widget))
            label->setText(Text(caption.key));
        else if (auto* button = qobject_cast<QAbstractButton*>(caption.widget))
            button->setText(Text(caption.key));
        else if (auto* group = qobject_cast<QGroupBox*>(caption.widget))
            group->setTitle(Text(caption.key));
    }
    Controls& c = ui_;
    c.bandwidth->clear();
    c.bandwidth->addItems({QStringLiteral("12.5MHz"), QStringLiteral("25MHz")});
    FillNumbers(c.squelch, 0, 5);
    FillKeys(c.tail, {371, 372});
    FillTimeouts(c.timeout);
    FillNumbers(c.recovery, 0, 10);
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

    c.alias->setText(Alias(r));
    c.rxFrequency->setText(FrequencyText(GetLE32(r, F::RxFrequency)));
    c.txFrequency->setText(FrequencyText(GetLE32(r, F::TxFrequency)));
    const std::uint8_t flags = r[F::Flags];
    c.bandwidth->setCurrentIndex((flags & F::kFlagWideBand) != 0 ? 1 : 0);
    ShowChoice(c.squelch, r[F::SquelchLevel]);
    ShowChoice(c.timeout, r[F::TxTimeout]);
    ShowChoice(c.recovery, r[F::TxInhibitRecovery]);
    ShowChoice(c.power, r[F::Power]);
    ShowChoice(c.permission, r[F::TxPermission]);
    ShowChoice(c.scanList, r[F::ScanList]);
    c.vox->setChecked((flags & F::kFlagVox) != 0);
    c.receiveOnly->setChecked((flags & F::kFlagReceiveOnly) != 0);

    const bool autoScan = RepairAutoScan(r, ChannelKind::Analog);
    c.autoScan->setEnabled(autoScan);
    c.autoScan->setChecked((r[F::Flags] & F::kFlagAutoScan) != 0);

    const ToneControls rx = ShowReceiveTone(r[F::RxToneType], r[F::RxToneIndex]);
    ShowTone(rx, c.rxType, c.rxCtcss, c.rxDcs, c.rxInverted);
    c.tail->setCurrentIndex(rx.tail);
    ShowTone(ShowTransmitTone(r[F::TxToneType], r[F::TxToneIndex]), c.txType, c.txCtcss, c.txDcs, c.txInverted);
}

void CFORM_AnaCH::Commit()
{
    const Controls& c = ui_;
    const std::span<std::uint8_t> r = Record();
    StoreAlias(c.alias, r);
    PutLE32(r, F::RxFrequency, FrequencyFromBoxText(ToStd(c.rxFrequency->text()), FrequencyRange()));
    PutLE32(r, F::TxFrequency, FrequencyFromBoxText(ToStd(c.txFrequency->text()), FrequencyRange()));

    std::uint8_t& flags = r[F::Flags];
    SetBit(flags, F::kFlagWideBand, c.bandwidth->currentIndex() == 1);
    SetBit(flags, F::kFlagVox, c.vox->isChecked());
    SetBit(flags, F::kFlagAutoScan, c.autoScan->isChecked());
    SetBit(flags, F::kFlagReceiveOnly, c.receiveOnly->isChecked());
    StoreChoice(c.squelch, r[F::SquelchLevel]);
    StoreChoice(c.timeout, r[F::TxTimeout]);
    StoreChoice(c.recovery, r[F::TxInhibitRecovery]);
    StoreChoice(c.power, r[F::Power]);
    StoreChoice(c.permission, r[F::TxPermission]);
    StoreChoice(c.scanList, r[F::ScanList]);

    ToneControls rx = ReadTone(c.rxType, c.rxCtcss, c.rxDcs, c.rxInverted);
    rx.tail = c.tail->currentIndex() == 1 ? 1 : 0;
    const StoredTone rxTone = CommitReceiveTone(rx);
    r[F::RxToneType] = rxTone.type;
    r[F::RxToneIndex] = rxTone.index;
    const StoredTone txTone = CommitTransmitTone(ReadTone(c.txType, c.txCtcss, c.txDcs, c.txInverted));
    r[F::TxToneType] = txTone.type;
    r[F::TxToneIndex] = txTone.index;
}
