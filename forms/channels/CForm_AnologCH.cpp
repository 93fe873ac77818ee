#include "forms/channels/CForm_AnologCH.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Navigation.h"
#include "app/QtText.h"
#include "codeplug/Records.h"
#include "forms/channels/Encodings.h"

namespace {
namespace F = DigitalChannelField;

// The frequency boxes take 10 characters, the key box 5.
constexpr int kFrequencyChars = 10;
constexpr int kKeyChars = 5;

// Keys of section "CH_Str".
namespace Key {
constexpr int Alias = 1, RxFrequency = 2, TxFrequency = 4, Power = 7, Timeout = 10, Recovery = 11, Permission = 13,
              ScanList = 14, AutoScan = 15, Vox = 18, ReceiveOnly = 19, TimeSlot = 20, RxColourCode = 21,
              TxColourCode = 22, DirectMode = 23, Contact = 24, RxGroupList = 25, PrivateConfirm = 26,
              Emergency = 27, Encryption = 28, EncryptionKey = 29, Add = 57, Delete = 58, Copy = 59;
}  // namespace Key
}  // namespace

CForm_AnologCH::CForm_AnologCH(CVanticApp& app) : ChannelFormBase(app, FormKind::DigitalChannel, ChannelKind::Digital)
{
    Controls& c = ui_;
    c.alias = NewBox(static_cast<int>(AliasField::kMaxChars));
    c.rxFrequency = NewBox(kFrequencyChars);
    c.txFrequency = NewBox(kFrequencyChars);
    c.key = NewBox(kKeyChars);
    for (QComboBox** list : {&c.power, &c.timeSlot, &c.rxColourCode, &c.txColourCode, &c.directMode, &c.permission,
                             &c.timeout, &c.recovery, &c.contact, &c.rxGroupList, &c.scanList})
        *list = NewList();
    for (QCheckBox** box : {&c.autoScan, &c.privateConfirm, &c.emergency, &c.encryption, &c.vox, &c.receiveOnly})
        *box = NewCheck();
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
    row(3, 0, c.directMode, Key::DirectMode);
    row(4, 0, c.permission, Key::Permission);
    row(5, 0, c.timeout, Key::Timeout);
    row(6, 0, c.recovery, Key::Recovery);
    row(7, 0, c.key, Key::EncryptionKey);
    row(0, 1, c.power, Key::Power);
    row(1, 1, c.timeSlot, Key::TimeSlot);
    row(2, 1, c.rxColourCode, Key::RxColourCode);
    row(3, 1, c.txColourCode, Key::TxColourCode);
    row(4, 1, c.contact, Key::Contact);
    row(5, 1, c.rxGroupList, Key::RxGroupList);
    row(6, 1, c.scanList, Key::ScanList);
    channel->setColumnMinimumWidth(2, 40);
    channel->setColumnStretch(1, 1);
    channel->setColumnStretch(4, 1);

    auto* checks = new QGridLayout;
    checks->setHorizontalSpacing(24);
    checks->setVerticalSpacing(10);
    int at = 0;
    for (auto [box, key] : {std::pair{c.autoScan, Key::AutoScan}, {c.privateConfirm, Key::PrivateConfirm},
                            {c.emergency, Key::Emergency}, {c.encryption, Key::Encryption}, {c.vox, Key::Vox},
                            {c.receiveOnly, Key::ReceiveOnly}}) {
        checks->addWidget(box, at / 3, at % 3);
        captions_.push_back({box, key});
        ++at;
    }
    checks->setColumnStretch(3, 1);

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
    page->addLayout(buttons);
    page->addStretch(1);
}

void CForm_AnologCH::InitialiseControls()
{
    for (const Caption& caption : captions_) {
        if (auto* label = qobject_cast<QLabel*>(caption.widget))
            label->setText(Text(caption.key));
        else if (auto* button = qobject_cast<QAbstractButton*>(caption.widget))
            button->setText(Text(caption.key));
    }
    Controls& c = ui_;
    FillKeys(c.power, {311, 310});
    FillKeys(c.timeSlot, {390, 391});
    FillNumbers(c.rxColourCode, 0, 15);
    FillNumbers(c.txColourCode, 0, 15);
    FillKeys(c.directMode, {51, 52});
    FillKeys(c.permission, {330, 331, 332});
    FillTimeouts(c.timeout);
    FillNumbers(c.recovery, 0, 10);
}

void CForm_AnologCH::ShowRecord()
{
    Controls& c = ui_;
    Codeplug& codeplug = CodeplugImage();
    const std::span<std::uint8_t> r = Record();

    // The lists that follow other records are built afresh for every show.
    c.contact->clear();
    for (std::size_t n = 0; n < ContactListSize(codeplug); ++n)
        c.contact->addItem(QString::fromStdString(ContactListName(codeplug, n)));
    FillNumberedList(c.rxGroupList, TreeKey::RxGroupItem,
                     UsedRecords(GetCount(codeplug.RxGroupCount), codeplug.RxGroupTable));
    FillNumberedList(c.scanList, TreeKey::ScanListItem, UsedRecords(GetCount(codeplug.ScanListCount), codeplug.ScanTable));

    c.alias->setText(Alias(r));
    c.rxFrequency->setText(FrequencyText(GetLE32(r, F::RxFrequency)));
    c.txFrequency->setText(FrequencyText(GetLE32(r, F::TxFrequency)));

    const bool direct = RepairDirectMode(r);
    c.directMode->setEnabled(direct);
    ShowChoice(c.directMode, r[F::Flags2] & F::kDirectModeMask);

    ShowChoice(c.power, r[F::Power]);
    ShowChoice(c.timeSlot, (r[F::Flags1] & F::kTimeSlotMask) >> F::kTimeSlotShift);
    ShowChoice(c.rxColourCode, r[F::RxColourCode]);
    ShowChoice(c.txColourCode, r[F::TxColourCode]);
    ShowChoice(c.rxGroupList, r[F::RxGroupList]);
    ShowChoice(c.permission, r[F::TxPermission]);
    ShowChoice(c.contact, r[F::TxContact]);
    ShowChoice(c.timeout, r[F::TxTimeout]);
    ShowChoice(c.recovery, r[F::TxInhibitRecovery]);
    ShowChoice(c.scanList, r[F::ScanList]);

    const bool autoScan = RepairAutoScan(r, ChannelKind::Digital);
    c.autoScan->setEnabled(autoScan);
    const std::uint8_t flags1 = r[F::Flags1];
    c.autoScan->setChecked((flags1 & F::kFlagAutoScan) != 0);
    c.privateConfirm->setChecked((flags1 & F::kFlagPrivateCallConfirm) != 0);
    c.emergency->setChecked((flags1 & F::kFlagEmergencyIndication) != 0);
    c.encryption->setChecked((flags1 & F::kFlagEncryption) != 0);
    c.vox->setChecked((r[F::Flags2] & F::kFlagVox) != 0);
    c.receiveOnly->setChecked((flags1 & F::kFlagReceiveOnly) != 0);

    const bool keyed = RepairEncryptionKey(r);
    c.key->setEnabled(keyed);
    c.key->setText(QString::number(GetLE16(r, F::EncryptionKey)));
}

void CForm_AnologCH::Commit()
{
    const Controls& c = ui_;
    const std::span<std::uint8_t> r = Record();
    StoreAlias(c.alias, r);
    PutLE32(r, F::RxFrequency, FrequencyFromBoxText(ToStd(c.rxFrequency->text()), FrequencyRange()));
    PutLE32(r, F::TxFrequency, FrequencyFromBoxText(ToStd(c.txFrequency->text()), FrequencyRange()));

    StoreChoice(c.power, r[F::Power]);
    std::uint8_t& flags1 = r[F::Flags1];
    if (c.timeSlot->currentIndex() >= 0)
        flags1 = static_cast<std::uint8_t>((flags1 & ~F::kTimeSlotMask) | (c.timeSlot->currentIndex() << F::kTimeSlotShift));
    StoreChoice(c.rxColourCode, r[F::RxColourCode]);
    StoreChoice(c.rxGroupList, r[F::RxGroupList]);
    std::uint8_t& flags2 = r[F::Flags2];
    if (c.directMode->currentIndex() >= 0)
        flags2 = static_cast<std::uint8_t>((flags2 & ~F::kDirectModeMask) | c.directMode->currentIndex());
    StoreChoice(c.scanList, r[F::ScanList]);
    StoreChoice(c.permission, r[F::TxPermission]);
    StoreChoice(c.txColourCode, r[F::TxColourCode]);
    StoreChoice(c.contact, r[F::TxContact]);
    StoreChoice(c.timeout, r[F::TxTimeout]);
    StoreChoice(c.recovery, r[F::TxInhibitRecovery]);

    SetBit(flags1, F::kFlagPrivateCallConfirm, c.privateConfirm->isChecked());
    SetBit(flags1, F::kFlagEmergencyIndication, c.emergency->isChecked());
    SetBit(flags1, F::kFlagEncryption, c.encryption->isChecked());
    PutLE16(r, F::EncryptionKey, c.encryption->isChecked() ? EncryptionKeyFromText(ToStd(c.key->text())) : 0);

    SetBit(flags2, F::kFlagVox, c.vox->isChecked());
    SetBit(flags1, F::kFlagAutoScan, c.autoScan->isChecked());
    SetBit(flags1, F::kFlagReceiveOnly, c.receiveOnly->isChecked());
}
