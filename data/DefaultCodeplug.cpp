#include "data/DefaultCodeplug.h"

#include <initializer_list>
#include <stdexcept>
#include <string>

#include "codeplug/Records.h"
#include "forms/channels/Encodings.h"

namespace {

constexpr std::uint8_t kFrequencyRange = RadioSettingsField::kRange400To480;

std::uint32_t Bcd(std::uint32_t decimal)
{
    std::uint32_t bcd = 0;
    for (unsigned shift = 0; decimal != 0; shift += 4, decimal /= 10)
        bcd |= (decimal % 10) << shift;
    return bcd;
}

ToneCode Tone(const char* text, bool secondTail)
{
    const auto tone = ToneFromText(text, secondTail);
    if (!tone)
        throw std::logic_error(std::string("unknown tone in the default codeplug: ") + text);
    return *tone;
}

template <std::size_t N>
void SetAlias(std::span<std::uint8_t, N> record, std::size_t lengthOffset, std::size_t fieldOffset,
              const char* alias)
{
    record[lengthOffset] = EncodeAlias(alias, record.subspan(fieldOffset, AliasField::kBytes));
}

struct AnalogChannel {
    const char* alias;
    std::uint32_t rx;
    std::uint32_t tx;
    const char* rxTone;
    const char* txTone;
    bool wide;
    std::uint8_t power;  // 0 or 1
    std::uint8_t scanList;
};

struct DigitalChannel {
    const char* alias;
    std::uint32_t rx;
    std::uint32_t tx;
    std::uint8_t colourCode;
    std::uint8_t timeSlot;  // 0 = slot 1, 1 = slot 2
    std::uint8_t contact;
    std::uint8_t rxGroupList;
    std::uint8_t scanList;
};

struct Contact {
    const char* name;
    std::uint8_t callType;
    std::uint32_t id;  // decimal; ignored for an all call
};

struct Member {
    std::uint8_t kind;
    std::uint16_t index;
};

const AnalogChannel kAnalogChannels[] = {
    {"PMR446 CH1", 446006250, 446006250, "67.0", "67.0", false, 1, 2},
    {"PMR446 CH2", 446018750, 446018750, "", "", false, 1, 2},
    {"Repeater 70cm", 439250000, 431650000, "88.5", "88.5", true, 0, 2},
    {"Simplex DCS", 433500000, 433500000, "D023N", "D023N", false, 0, 2},
    {"Security DCS-I", 434125000, 434125000, "D754I", "D754I", false, 0, 0},
    {"模拟中继", 438025000, 430425000, "100.0", "100.0", true, 0, 0},
};

const DigitalChannel kDigitalChannels[] = {
    {"DMR Repeater 1", 438500000, 430900000, 1, 0, 0, 1, 1},
    {"DMR Repeater 2", 439112500, 431512500, 1, 1, 1, 1, 1},
    {"DMR Simplex 1", 441000000, 441000000, 1, 0, 0, 1, 1},
    {"DMR Simplex 2", 441012500, 441012500, 1, 0, 2, 2, 0},
    {"数字直通", 446106250, 446106250, 1, 0, 3, 0, 0},
    {"Site Talkaround", 442000000, 442000000, 2, 1, 5, 0, 0},
};

const Contact kContacts[] = {
    {"Local Group", ContactField::kGroupCall, 1},
    {"Dispatch", ContactField::kGroupCall, 100},
    {"Operations", ContactField::kGroupCall, 200},
    {"调度台", ContactField::kPrivateCall, 1001},
    {"Supervisor", ContactField::kPrivateCall, 1002},
    {"All Call", ContactField::kAllCall, 0},
};

void AddAnalogChannels(Codeplug& c)
{
    namespace F = AnalogChannelField;
    std::uint8_t n = 0;
    for (const AnalogChannel& ch : kAnalogChannels) {
        auto r = c.AnalogChannelTable.record(n++);
        SetAlias(r, F::AliasLength, F::Alias, ch.alias);
        r[F::Flags] = ch.wide ? F::kFlagWideBand : 0;
        PutLE32(r, F::RxFrequency, ch.rx);
        PutLE32(r, F::TxFrequency, ch.tx);
        r[F::TxPermission] = 0;
        r[F::Power] = ch.power;
        r[F::TxTimeout] = 2;  // 60 s
        r[F::TxInhibitRecovery] = 0;
        r[F::ScanList] = ch.scanList;
        r[F::SquelchLevel] = 3;
        const ToneCode rx = Tone(ch.rxTone, false);
        const ToneCode tx = Tone(ch.txTone, true);
        r[F::RxToneType] = rx.type;
        r[F::RxToneIndex] = rx.index;
        r[F::TxToneType] = tx.type;
        r[F::TxToneIndex] = tx.index;
    }
    SetCount(c.AnalogChannelCount, n);
}

void AddDigitalChannels(Codeplug& c)
{
    namespace F = DigitalChannelField;
    std::uint8_t n = 0;
    for (const DigitalChannel& ch : kDigitalChannels) {
        auto r = c.DigitalChannelTable.record(n++);
        SetAlias(r, F::AliasLength, F::Alias, ch.alias);
        r[F::Flags1] = static_cast<std::uint8_t>(ch.timeSlot << F::kTimeSlotShift);
        // Direct mode stays at its first choice; the radio is told when the pair is split.
        r[F::Flags2] = ch.rx != ch.tx ? F::kFlagFrequenciesDiffer : 0;
        r[F::RxColourCode] = ch.colourCode;
        r[F::TxColourCode] = ch.colourCode;
        PutLE32(r, F::RxFrequency, ch.rx);
        PutLE32(r, F::TxFrequency, ch.tx);
        r[F::TxContact] = ch.contact;
        r[F::RxGroupList] = ch.rxGroupList;
        r[F::TxPermission] = 0;
        r[F::Power] = 0;
        r[F::TxTimeout] = 2;  // 60 s
        r[F::TxInhibitRecovery] = 0;
        PutLE16(r, F::EncryptionKey, 0);
        r[F::ScanList] = ch.scanList;
    }
    SetCount(c.DigitalChannelCount, n);
}

void SetMembers(std::span<std::uint8_t> record, std::size_t countOffset, std::size_t (*memberOffset)(std::size_t),
                std::initializer_list<Member> members)
{
    std::size_t m = 0;
    for (const Member& member : members) {
        record[memberOffset(m) + ChannelRef::Kind] = member.kind;
        PutLE16(record, memberOffset(m) + ChannelRef::Index, member.index);
        ++m;
    }
    record[countOffset] = static_cast<std::uint8_t>(m);
}

constexpr std::uint8_t D = ChannelRef::kDigital;
constexpr std::uint8_t A = ChannelRef::kAnalog;

void AddZonesAndScanLists(Codeplug& c)
{
    auto zone1 = c.ZoneTable.record(0);
    SetAlias(zone1, ZoneField::AliasLength, ZoneField::Alias, "Digital");
    SetMembers(zone1, ZoneField::MemberCount, ZoneField::Member,
               {{D, 0}, {D, 1}, {D, 2}, {D, 3}, {D, 4}, {D, 5}, {A, 0}, {A, 1}});
    auto zone2 = c.ZoneTable.record(1);
    SetAlias(zone2, ZoneField::AliasLength, ZoneField::Alias, "Analog");
    SetMembers(zone2, ZoneField::MemberCount, ZoneField::Member,
               {{A, 0}, {A, 1}, {A, 2}, {A, 3}, {A, 4}, {A, 5}, {D, 0}});

    auto scan1 = c.ScanTable.record(0);
    SetAlias(scan1, ScanListField::AliasLength, ScanListField::Alias, "Digital Scan");
    SetMembers(scan1, ScanListField::MemberCount, ScanListField::Member, {{D, 0}, {D, 1}, {D, 2}, {D, 3}});
    scan1[ScanListField::TxMode] = 0;
    PutLE16(scan1, ScanListField::DwellTime, 3000);
    auto scan2 = c.ScanTable.record(1);
    SetAlias(scan2, ScanListField::AliasLength, ScanListField::Alias, "Analog Scan");
    SetMembers(scan2, ScanListField::MemberCount, ScanListField::Member, {{A, 0}, {A, 1}, {A, 2}, {A, 3}});
    scan2[ScanListField::TxMode] = 1;
    PutLE16(scan2, ScanListField::DwellTime, 2500);
    SetCount(c.ScanListCount, 2);
}

void AddContactsAndGroups(Codeplug& c)
{
    namespace F = ContactField;
    std::uint32_t n = 0;
    for (const Contact& contact : kContacts) {
        auto r = c.ContactTable.record(n++);
        r[F::NameLength] = EncodeContactName(contact.name, r.subspan<F::Name, AliasField::kBytes>());
        r[F::CallType] = contact.callType;
        PutLE32(r, F::Id, contact.callType == F::kAllCall ? F::kAllCallId : Bcd(contact.id));
    }
    SetCount(c.ContactCount, n);

    auto list1 = c.RxGroupTable.record(0);
    SetAlias(list1, RxGroupField::NameLength, RxGroupField::Name, "All Groups");
    list1[RxGroupField::MemberCount] = 3;
    list1[RxGroupField::Members + 0] = 0;
    list1[RxGroupField::Members + 1] = 1;
    list1[RxGroupField::Members + 2] = 2;
    auto list2 = c.RxGroupTable.record(1);
    SetAlias(list2, RxGroupField::NameLength, RxGroupField::Name, "Operations");
    list2[RxGroupField::MemberCount] = 1;
    list2[RxGroupField::Members + 0] = 2;
    SetCount(c.RxGroupCount, 2);
}

void AddMessages(Codeplug& c)
{
    const char* const messages[] = {"Please call back", "收到请回复"};
    std::uint32_t n = 0;
    for (const char* text : messages) {
        auto r = c.MessageTable.record(n++);
        r[MessageField::TextLength] = EncodeAlias(text, r.subspan<MessageField::Text, AliasField::kMessageBytes>());
        StampRecordFieldNumbers(r, kMessageFieldNumberOffsets);
    }
    SetCount(c.MessageCount, n);
}

void SetGeneralSettings(Codeplug& c)
{
    namespace F = RadioSettingsField;
    auto& s = c.RadioSettings;
    s[F::FrequencyRange] = kFrequencyRange;
    s[F::RadioAliasLength] = EncodeAlias("ZR-740", std::span(s).subspan<F::RadioAlias, AliasField::kBytes>());
    s[F::PowerSaveLevel] = 1;       // 1/1
    s[F::PowerSaveEntryTime] = 5;   // seconds
    s[F::VoxLevel] = 2;             // level 3
    s[F::RemoteAlarmResend] = 1;    // 3 times
    s[F::K1Short] = kKeyFunctionCodes[1];
    s[F::K1Long] = kKeyFunctionCodes[2];
    s[F::K2Short] = kKeyFunctionCodes[3];
    s[F::K2Long] = kKeyFunctionCodes[4];
    s[F::K3Short] = kKeyFunctionCodes[5];
    s[F::K3Long] = kKeyFunctionCodes[6];
    s[F::Tones1] = F::kDigitalCallTone | F::kAnalogCallTone | F::kKeyTone | F::kPowerOnTone | F::kChannelSwitchTone;
    s[F::Tones2] = F::kLowBatteryTone;
    s[F::LowBatteryInterval] = 30;
    s[F::RemoteAlarmInterval] = 9;  // 10 s
    s[F::Lamps] = F::kTxLamp | F::kRxLamp | F::kScanLamp | F::kPowerOnLamp;
    s[F::PowerOnZone] = 0;
    s[F::OneTouchKind(0)] = F::kOneTouchCall;
    s[F::OneTouchContact(0)] = 1;  // Dispatch
    s[F::OneTouchKind(1)] = F::kOneTouchCall;
    s[F::OneTouchContact(1)] = 3;  // the dispatcher's own radio
    PutLE16(s, F::LongPressTime, 1500);

    namespace X = FunctionExtraField;
    c.FunctionExtra[X::TxModulationGain] = 8;
    c.FunctionExtra[X::AnalogMicGain] = X::kAnalogMicGainMin + 7;                       // gain 8
    PutLE16(c.FunctionExtra, X::DigitalMicGain, X::kDigitalMicGainMin + X::kDigitalMicGainStep * 7);  // gain 8
}

void SetDmrSettings(Codeplug& c)
{
    namespace F = DmrSettingsField;
    auto& d = c.DmrSettings;
    PutLE32(d, F::RadioId, Bcd(100));
    d[F::GroupHangTime] = 3;
    d[F::PrivateHangTime] = 5;
    d[F::CallConfirmWait] = 10;  // 500 ms
    d[F::CallConfirmRetries] = 3;
    d[F::MessageConfirmWait] = 10;
    d[F::MessageConfirmRetries] = 3;
    d[F::VoiceDelay] = 2;  // 80 ms
    d[F::FeatureId] = 0;
    d[F::VoiceHeaderFrames] = 3;
    d[F::ConfirmPreambleFrames] = 6;
    d[F::ResponsePreambleFrames] = 2;
}

void SetPassword(Codeplug& c)
{
    namespace F = PasswordField;
    auto& p = c.PasswordBlock;
    p[F::Switch] = 0;  // no programming password
    p[F::SwitchCopy] = 0;
    for (std::size_t i = 0; i < F::kPasswordBytes; ++i) {
        p[F::Password + i] = '0';
        p[F::PasswordCopy + i] = '0';
    }
    p[F::FieldMarker] = 1;
}

}  // namespace

void BuildDefaultCodeplug(Codeplug& c)
{
    AddDigitalChannels(c);
    AddAnalogChannels(c);
    AddZonesAndScanLists(c);
    AddContactsAndGroups(c);
    AddMessages(c);
    SetGeneralSettings(c);
    SetDmrSettings(c);
    SetPassword(c);
    StampFieldNumbers(c);
    ClearForcedOffOptionBits(c);
    PutLE32(c.FileMarker, 0, static_cast<std::uint32_t>(kFileMarkerValue));
}
