#include "forms/channels/CForm_AnologCH.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/NavigationState.h"
#include "ui/QtText.h"
#include "codeplug/Records.h"
#include "forms/channels/Encodings.h"

namespace {
namespace F = DigitalChannelField;

// The frequency boxes take 10 characters, the key box 5.
constexpr int kFrequencyChars = 10;
constexpr int kKeyChars = 5;

// Keys of section "CH_Str" besides the ones both channel forms use.
namespace Key {
using namespace ChannelKey;
constexpr int TimeSlot = 20, RxColourCode = 21, TxColourCode = 22, DirectMode = 23, Contact = 24, RxGroupList = 25,
              PrivateConfirm = 26, Emergency = 27, Encryption = 28, EncryptionKey = 29;
}  // namespace Key

// The lists that show a byte or a bit field of the record, and the check boxes that show a bit
// of its flags.
using C = CForm_AnologCH::Controls;
constexpr ChannelListField<C> kListFields[] = {
    {&C::directMode, F::Flags2, F::kDirectModeMask}, {&C::timeSlot, F::Flags1, F::kTimeSlotMask, F::kTimeSlotShift},
    {&C::power, F::Power}, {&C::rxColourCode, F::RxColourCode}, {&C::txColourCode, F::TxColourCode},
    {&C::rxGroupList, F::RxGroupList}, {&C::permission, F::TxPermission}, {&C::contact, F::TxContact},
    {&C::timeout, F::TxTimeout}, {&C::recovery, F::TxInhibitRecovery}, {&C::scanList, F::ScanList}};
constexpr ChannelCheckField<C> kCheckFields[] = {
    {&C::autoScan, F::Flags1, F::kFlagAutoScan}, {&C::privateConfirm, F::Flags1, F::kFlagPrivateCallConfirm},
    {&C::emergency, F::Flags1, F::kFlagEmergencyIndication}, {&C::encryption, F::Flags1, F::kFlagEncryption},
    {&C::vox, F::Flags2, F::kFlagVox}, {&C::receiveOnly, F::Flags1, F::kFlagReceiveOnly}};
}  // namespace

CForm_AnologCH::CForm_AnologCH(FormContext& context) : ChannelFormBase(context, FormKind::DigitalChannel, ChannelKind::Digital)
{
    Controls& c = ui_;
    c.alias = NewBox(static_cast<int>(AliasField::kMaxChars));
    LimitName(c.alias, AliasField::kMaxChars, AliasField::kBytes);
    c.rxFrequency = NewBox(kFrequencyChars);
    c.txFrequency = NewBox(kFrequencyChars);
    c.key = NewBox(kKeyChars);
    for (QComboBox** list : {&c.power, &c.timeSlot, &c.rxColourCode, &c.txColourCode, &c.directMode, &c.permission,
                             &c.timeout, &c.recovery, &c.contact, &c.rxGroupList, &c.scanList})
        *list = NewList();
    for (QCheckBox** box : {&c.autoScan, &c.privateConfirm, &c.emergency, &c.encryption, &c.vox, &c.receiveOnly})
        *box = NewCheck();
    NewRecordButtons(c.add, c.remove, c.copy);

    QGridLayout* channel = NewPairGrid(
        {{c.alias, Key::Alias}, {c.rxFrequency, Key::RxFrequency}, {c.txFrequency, Key::TxFrequency},
         {c.directMode, Key::DirectMode}, {c.permission, Key::Permission}, {c.timeout, Key::Timeout},
         {c.recovery, Key::Recovery}, {c.key, Key::EncryptionKey}},
        {{c.power, Key::Power}, {c.timeSlot, Key::TimeSlot}, {c.rxColourCode, Key::RxColourCode},
         {c.txColourCode, Key::TxColourCode}, {c.contact, Key::Contact}, {c.rxGroupList, Key::RxGroupList},
         {c.scanList, Key::ScanList}});

    auto* checks = new QGridLayout;
    checks->setHorizontalSpacing(24);
    checks->setVerticalSpacing(10);
    int at = 0;
    for (auto [box, key] : {std::pair{c.autoScan, Key::AutoScan}, {c.privateConfirm, Key::PrivateConfirm},
                            {c.emergency, Key::Emergency}, {c.encryption, Key::Encryption}, {c.vox, Key::Vox},
                            {c.receiveOnly, Key::ReceiveOnly}}) {
        checks->addWidget(box, at / 3, at % 3);
        AddCaption(box, key);
        ++at;
    }
    checks->setColumnStretch(3, 1);

    LayOutPage({channel, checks, RecordButtonRow(c.add, c.remove, c.copy)});
}

void CForm_AnologCH::InitialiseControls()
{
    SetCaptions();
    Controls& c = ui_;
    FillKeys(c.power, {311, 310});
    FillKeys(c.timeSlot, {390, 391});
    FillNumbers(c.rxColourCode, 0, kColourCodes - 1);
    FillNumbers(c.txColourCode, 0, kColourCodes - 1);
    FillKeys(c.directMode, {51, 52});
    FillKeys(c.permission, {330, 331, 332});
    FillTimeouts(c.timeout);
    FillNumbers(c.recovery, 0, kRecoveryChoices - 1);
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

    ShowNameAndFrequencies(r, c.alias, c.rxFrequency, c.txFrequency);

    c.directMode->setEnabled(RepairDirectMode(r));
    c.autoScan->setEnabled(RepairAutoScan(r, ChannelKind::Digital));
    c.key->setEnabled(RepairEncryptionKey(r));
    ShowFields(c, r, kListFields, kCheckFields);
    c.key->setText(QString::number(GetLE16(r, F::EncryptionKey)));
}

void CForm_AnologCH::Commit()
{
    const Controls& c = ui_;
    const std::span<std::uint8_t> r = Record();
    StoreNameAndFrequencies(r, c.alias, c.rxFrequency, c.txFrequency);

    StoreFields(c, r, kListFields, kCheckFields);
    PutLE16(r, F::EncryptionKey, c.encryption->isChecked() ? EncryptionKeyFromText(ToStd(c.key->text())) : 0);
}
