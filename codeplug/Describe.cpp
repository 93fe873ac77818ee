#include "codeplug/Describe.h"

#include <algorithm>
#include <cstdio>
#include <span>

#include "codeplug/RadioInfo.h"
#include "codeplug/Records.h"
#include "forms/channels/Encodings.h"

namespace {

using Bytes = std::span<const std::uint8_t>;

std::string Printf(const char* format, long long value)
{
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

std::string Hex8(std::uint8_t value) { return Printf("0x%02llX", value); }

std::string Seconds(long long value) { return std::to_string(value) + " s"; }

std::string Milliseconds(long long value) { return std::to_string(value) + " ms"; }

std::string TenthsOfSeconds(std::uint32_t milliseconds)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f s", milliseconds / 1000.0);
    return buffer;
}

// An 8-bit text of the radio, ended by a zero byte or by the end of its field.
std::string Text8(Bytes field)
{
    const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
    return AnsiToUtf8(std::string(field.begin(), end));
}

std::string HexBytes(Bytes bytes)
{
    std::string out;
    for (const std::uint8_t b : bytes) {
        if (!out.empty())
            out += ' ';
        out += Printf("%02llX", b);
    }
    return out;
}

std::string ChannelNumber(std::size_t index) { return Printf("CH%02lld", static_cast<long long>(index + 1)); }

std::string Alias(Bytes record, std::size_t lengthOffset, std::size_t fieldOffset, std::size_t width)
{
    return DecodeAlias(record[lengthOffset], record.subspan(fieldOffset, width));
}

std::string ContactName(const Codeplug& c, std::size_t index)
{
    return DecodeContactName(c.ContactTable.record(index).subspan(ContactField::Name, AliasField::kBytes));
}

std::string ToneDescription(std::uint8_t type, std::uint8_t index)
{
    const auto text = ToneText(type, index);
    if (!text)
        return "invalid (ToneType " + Hex8(type) + ", index " + std::to_string(index) + ")";
    return text->empty() ? "none" : *text;
}

template <std::size_t N>
bool Stamped(Bytes record, const std::array<std::size_t, N>& offsets)
{
    for (std::size_t n = 0; n < N; ++n) {
        if (record[offsets[n]] != n)
            return false;
    }
    return true;
}

template <std::size_t RecordBytes, std::size_t Capacity, std::size_t N>
bool TableStamped(const RecordTable<RecordBytes, Capacity>& table, const std::array<std::size_t, N>& offsets)
{
    for (std::size_t i = 0; i < Capacity; ++i) {
        if (!Stamped(table.record(i), offsets))
            return false;
    }
    return true;
}

// The common head of a table: the count as stored, the table size and how many are listed.
template <std::size_t RecordBytes, std::size_t Capacity>
DescNode TableNode(std::string id, std::string label, std::uint32_t count, const RecordTable<RecordBytes, Capacity>& table)
{
    DescNode node = DescNode::Object(std::move(id), std::move(label));
    const std::size_t used = UsedRecords(count, table);
    node.AddNumber("count", "Count", count).HideLastInText();
    node.AddNumber("capacity", "Table size", Capacity).HideLastInText();
    node.AddNumber("listed", "Listed", static_cast<std::int64_t>(used)).HideLastInText();
    node.note = std::to_string(count) + " in use, table of " + std::to_string(Capacity);
    if (count > Capacity)
        node.AddText("warning", "Warning",
                     "count " + std::to_string(count) + " is above the table of " + std::to_string(Capacity) +
                         "; only the table's records are listed");
    return node;
}

std::string ChannelRefText(const Codeplug& c, std::uint8_t kind, std::uint16_t index)
{
    if (kind == ChannelRef::kDigital || kind == ChannelRef::kAnalog) {
        const bool digital = kind == ChannelRef::kDigital;
        const std::string head = std::string(digital ? "digital " : "analog ") + ChannelNumber(index);
        const std::size_t count = digital ? UsedRecords(GetCount(c.DigitalChannelCount), c.DigitalChannelTable)
                                          : UsedRecords(GetCount(c.AnalogChannelCount), c.AnalogChannelTable);
        if (index >= count)
            return head + " (not in use)";
        const std::string alias =
            digital ? Alias(c.DigitalChannelTable.record(index), DigitalChannelField::AliasLength,
                            DigitalChannelField::Alias, AliasField::kBytes)
                    : Alias(c.AnalogChannelTable.record(index), AnalogChannelField::AliasLength,
                            AnalogChannelField::Alias, AliasField::kBytes);
        return head + " " + alias;
    }
    return "kind " + std::to_string(kind) + " " + ChannelNumber(index) + " (unknown kind)";
}

std::string ContactRefText(const Codeplug& c, std::size_t index)
{
    const std::size_t used = UsedRecords(GetCount(c.ContactCount), c.ContactTable);
    const std::string head = "contact " + std::to_string(index + 1);
    if (index >= c.ContactTable.kCapacity)
        return head + " (outside the table)";
    if (index >= used)
        return head + " (not in use)";
    return head + " " + ContactName(c, index);
}

std::string ListRefText(std::uint8_t value, std::uint32_t count, std::size_t capacity, const char* what,
                        const std::string& name)
{
    if (value == 0)
        return "off";
    std::string text = std::string(what) + " " + std::to_string(value);
    if (value > std::min<std::size_t>(count, capacity))
        return text + " (not in use)";
    return name.empty() ? text : text + " " + name;
}

std::string ScanListRef(const Codeplug& c, std::uint8_t value)
{
    const std::uint32_t count = GetCount(c.ScanListCount);
    std::string name;
    if (value >= 1 && value <= std::min<std::size_t>(count, c.ScanTable.kCapacity))
        name = Alias(c.ScanTable.record(value - 1u), ScanListField::AliasLength, ScanListField::Alias, AliasField::kBytes);
    return ListRefText(value, count, c.ScanTable.kCapacity, "scan list", name);
}

std::string RxGroupRef(const Codeplug& c, std::uint8_t value)
{
    const std::uint32_t count = GetCount(c.RxGroupCount);
    std::string name;
    if (value >= 1 && value <= std::min<std::size_t>(count, c.RxGroupTable.kCapacity))
        name = Alias(c.RxGroupTable.record(value - 1u), RxGroupField::NameLength, RxGroupField::Name, AliasField::kBytes);
    return ListRefText(value, count, c.RxGroupTable.kCapacity, "group list", name);
}

std::string TimeoutText(std::uint8_t k) { return k == 0 ? "off" : Seconds(30LL * k); }

std::string TimeSlotText(std::uint8_t flags1)
{
    const unsigned slot = (flags1 & DigitalChannelField::kTimeSlotMask) >> DigitalChannelField::kTimeSlotShift;
    return slot <= 1 ? std::to_string(slot + 1) : "invalid (" + std::to_string(slot) + ")";
}

DescNode Members(const Codeplug& c, Bytes record, std::size_t countOffset, std::size_t (*member)(std::size_t))
{
    DescNode list = DescNode::Array("members", "Members");
    const std::size_t count = std::min<std::size_t>(record[countOffset], ZoneField::kMaxMembers);
    for (std::size_t m = 0; m < count; ++m) {
        const std::uint8_t kind = record[member(m) + ChannelRef::Kind];
        const std::uint16_t index = GetLE16(record, member(m) + ChannelRef::Index);
        list.AddText({}, std::to_string(m + 1), ChannelRefText(c, kind, index));
    }
    return list;
}

DescNode DescribeAnalogChannel(const Codeplug& c, std::size_t i)
{
    namespace F = AnalogChannelField;
    const Bytes r = c.AnalogChannelTable.record(i);
    DescNode n = DescNode::Object({}, "Analog " + ChannelNumber(i));
    n.AddText("alias", "Alias", Alias(r, F::AliasLength, F::Alias, AliasField::kBytes))
        .AddText("rxFrequency", "Receive frequency", FrequencyToText(GetLE32(r, F::RxFrequency)))
        .AddText("txFrequency", "Transmit frequency", FrequencyToText(GetLE32(r, F::TxFrequency)))
        .AddText("rxTone", "Receive tone", ToneDescription(r[F::RxToneType], r[F::RxToneIndex]))
        .AddText("tailElimination", "Tail elimination", UsesSecondTail(r[F::RxToneType]) ? "second" : "first")
        .AddText("txTone", "Transmit tone", ToneDescription(r[F::TxToneType], r[F::TxToneIndex]))
        .AddText("bandwidth", "Bandwidth", (r[F::Flags] & F::kFlagWideBand) != 0 ? "25MHz" : "12.5MHz")
        .AddNumber("power", "Power (list position)", r[F::Power])
        .AddNumber("txPermission", "Transmit permission (list position)", r[F::TxPermission])
        .AddText("txTimeout", "Transmit time-out", TimeoutText(r[F::TxTimeout]))
        .AddText("txInhibitRecovery", "Transmit-inhibit recovery", Seconds(r[F::TxInhibitRecovery]))
        .AddNumber("squelchLevel", "Squelch level", r[F::SquelchLevel])
        .AddText("scanList", "Scan list", ScanListRef(c, r[F::ScanList]))
        .AddFlag("autoScan", "Auto scan", (r[F::Flags] & F::kFlagAutoScan) != 0)
        .AddFlag("receiveOnly", "Receive only", (r[F::Flags] & F::kFlagReceiveOnly) != 0)
        .AddFlag("vox", "VOX", (r[F::Flags] & F::kFlagVox) != 0);
    return n;
}

DescNode DescribeDigitalChannel(const Codeplug& c, std::size_t i)
{
    namespace F = DigitalChannelField;
    const Bytes r = c.DigitalChannelTable.record(i);
    const std::uint8_t f1 = r[F::Flags1];
    const std::uint8_t f2 = r[F::Flags2];
    const std::uint8_t contact = r[F::TxContact];
    DescNode n = DescNode::Object({}, "Digital " + ChannelNumber(i));
    n.AddText("alias", "Alias", Alias(r, F::AliasLength, F::Alias, AliasField::kBytes))
        .AddText("rxFrequency", "Receive frequency", FrequencyToText(GetLE32(r, F::RxFrequency)))
        .AddText("txFrequency", "Transmit frequency", FrequencyToText(GetLE32(r, F::TxFrequency)))
        .AddNumber("rxColourCode", "Receive colour code", r[F::RxColourCode])
        .AddNumber("txColourCode", "Transmit colour code", r[F::TxColourCode])
        .AddText("timeSlot", "Time slot", TimeSlotText(f1))
        .AddText("txContact", "Transmit contact", contact == 0xFF ? "none" : ContactRefText(c, contact))
        .AddText("rxGroupList", "Receive group list", RxGroupRef(c, r[F::RxGroupList]))
        .AddText("scanList", "Scan list", ScanListRef(c, r[F::ScanList]))
        .AddNumber("power", "Power (list position)", r[F::Power])
        .AddNumber("txPermission", "Transmit permission (list position)", r[F::TxPermission])
        .AddText("txTimeout", "Transmit time-out", TimeoutText(r[F::TxTimeout]))
        .AddText("txInhibitRecovery", "Transmit-inhibit recovery", Seconds(r[F::TxInhibitRecovery]))
        .AddNumber("directMode", "Direct mode (list position)", f2 & F::kDirectModeMask)
        .AddFlag("frequenciesDiffer", "Receive and transmit differ", (f2 & F::kFlagFrequenciesDiffer) != 0)
        .AddFlag("encryption", "Encryption", (f1 & F::kFlagEncryption) != 0)
        .AddNumber("encryptionKey", "Encryption key", GetLE16(r, F::EncryptionKey))
        .AddFlag("autoScan", "Auto scan", (f1 & F::kFlagAutoScan) != 0)
        .AddFlag("receiveOnly", "Receive only", (f1 & F::kFlagReceiveOnly) != 0)
        .AddFlag("privateCallConfirm", "Private-call confirmation", (f1 & F::kFlagPrivateCallConfirm) != 0)
        .AddFlag("emergencyIndication", "Emergency-call indication", (f1 & F::kFlagEmergencyIndication) != 0)
        .AddFlag("vox", "VOX", (f2 & F::kFlagVox) != 0);
    return n;
}

DescNode DescribeZone(const Codeplug& c, std::size_t i)
{
    const Bytes r = c.ZoneTable.record(i);
    DescNode n = DescNode::Object({}, "Zone " + std::to_string(i + 1));
    n.AddText("alias", "Alias", Alias(r, ZoneField::AliasLength, ZoneField::Alias, AliasField::kBytes))
        .AddNumber("memberCount", "Member count", r[ZoneField::MemberCount])
        .Add(Members(c, r, ZoneField::MemberCount, ZoneField::Member));
    return n;
}

DescNode DescribeScanList(const Codeplug& c, std::size_t i)
{
    namespace F = ScanListField;
    const Bytes r = c.ScanTable.record(i);
    DescNode n = DescNode::Object({}, "Scan list " + std::to_string(i + 1));
    n.AddText("alias", "Alias", Alias(r, F::AliasLength, F::Alias, AliasField::kBytes))
        .AddNumber("txMode", "Scan transmit mode (list position)", r[F::TxMode])
        .AddText("dwellTime", "Receive dwell time", TenthsOfSeconds(GetLE16(r, F::DwellTime)))
        .AddNumber("memberCount", "Member count", r[F::MemberCount])
        .Add(Members(c, r, F::MemberCount, F::Member));
    return n;
}

std::string CallTypeText(std::uint8_t type)
{
    switch (type) {
    case ContactField::kGroupCall: return "group call";
    case ContactField::kPrivateCall: return "private call";
    case ContactField::kAllCall: return "all call";
    default: return "unknown (" + std::to_string(type) + ")";
    }
}

DescNode DescribeContact(const Codeplug& c, std::size_t i)
{
    namespace F = ContactField;
    const Bytes r = c.ContactTable.record(i);
    const std::uint8_t type = r[F::CallType];
    const std::uint32_t id = GetLE32(r, F::Id);
    DescNode n = DescNode::Object({}, "Contact " + std::to_string(i + 1));
    n.AddText("name", "Name", ContactName(c, i))
        .AddText("callType", "Call type", CallTypeText(type))
        .AddText("id", "ID", type == F::kAllCall ? std::string(F::kAllCallIdText) : BcdIdText(id));
    return n;
}

DescNode DescribeRxGroup(const Codeplug& c, std::size_t i)
{
    namespace F = RxGroupField;
    const Bytes r = c.RxGroupTable.record(i);
    DescNode members = DescNode::Array("members", "Members");
    const std::size_t count = std::min<std::size_t>(r[F::MemberCount], F::kMaxMembers);
    for (std::size_t m = 0; m < count; ++m)
        members.AddText({}, std::to_string(m + 1), ContactRefText(c, r[F::Members + m]));
    DescNode n = DescNode::Object({}, "Receive group list " + std::to_string(i + 1));
    n.AddText("name", "Name", Alias(r, F::NameLength, F::Name, AliasField::kBytes))
        .AddNumber("memberCount", "Member count", r[F::MemberCount])
        .Add(std::move(members));
    return n;
}

DescNode DescribeMessage(const Codeplug& c, std::size_t i)
{
    const Bytes r = c.MessageTable.record(i);
    DescNode n = DescNode::Object({}, "Message " + std::to_string(i + 1));
    n.AddText("text", "Text", Alias(r, MessageField::TextLength, MessageField::Text, AliasField::kMessageBytes));
    return n;
}

std::string KeyCodeText(std::uint8_t code)
{
    const bool offered = std::find(kKeyFunctionCodes.begin(), kKeyFunctionCodes.end(), code) != kKeyFunctionCodes.end();
    return Hex8(code) + (offered ? "" : " (not offered)");
}

DescNode DescribeRadioSettings(const Codeplug& c)
{
    namespace F = RadioSettingsField;
    const Bytes s = c.RadioSettings;
    const std::uint8_t o1 = s[F::Options1];
    const std::uint8_t o2 = s[F::Options2];
    const std::uint8_t t1 = s[F::Tones1];
    const std::uint8_t t2 = s[F::Tones2];
    const std::uint8_t lamps = s[F::Lamps];
    static const char* const kPowerSave[] = {"off", "1/1", "1/2", "1/4"};
    static const int kResend[] = {0, 3, 6, 9, 12};

    DescNode n = DescNode::Object("radioSettings", "Radio settings");
    n.AddText("band", "Band", radio_info::BandText(c))
        .AddNumber("frequencyRange", "Band byte", s[F::FrequencyRange])
        .AddText("radioAlias", "Radio alias", Alias(s, F::RadioAliasLength, F::RadioAlias, AliasField::kBytes))
        .AddText("dspVersion", "DSP firmware version", radio_info::DspVersion(c))
        .AddText("mcuVersion", "MCU firmware version", radio_info::McuVersion(c))
        .AddNumber("menuLanguage", "Menu language (list position)", o1 & F::kMenuLanguage)
        .AddNumber("messageMode", "Message mode (list position)", (o1 & F::kMessageMode) != 0 ? 1 : 0)
        .AddFlag("remoteAlarmAllowed", "Remote alarm allowed", (o1 & F::kRemoteAlarmAllowed) != 0)
        .AddFlag("wiredPtt", "Wired PTT", (o1 & F::kWiredPtt) != 0)
        .AddFlag("remoteMonitor", "Remote monitor (forced off)", (o1 & F::kRemoteMonitor) != 0)
        .AddFlag("bluetoothMode", "Bluetooth mode (forced off)", (o2 & F::kBluetoothMode) != 0)
        .AddText("powerSaveLevel", "Power-save level",
                 s[F::PowerSaveLevel] < 4 ? kPowerSave[s[F::PowerSaveLevel]]
                                          : "invalid (" + std::to_string(s[F::PowerSaveLevel]) + ")")
        .AddText("powerSaveEntryTime", "Power-save entry time", Seconds(s[F::PowerSaveEntryTime]))
        .AddNumber("voxLevel", "VOX level", s[F::VoxLevel] + 1)
        .AddText("remoteAlarmResend", "Remote alarm resend count",
                 s[F::RemoteAlarmResend] < 5 ? std::to_string(kResend[s[F::RemoteAlarmResend]])
                                             : "invalid (" + std::to_string(s[F::RemoteAlarmResend]) + ")")
        .AddText("remoteAlarmInterval", "Remote alarm interval", Seconds(s[F::RemoteAlarmInterval] + 1))
        .AddText("lowBatteryInterval", "Low-battery alarm interval", Seconds(s[F::LowBatteryInterval]))
        .AddNumber("serialDebugMode", "Serial debug mode (list position)", s[F::SerialDebugMode])
        .AddText("powerOnZone", "Power-on zone", "zone " + std::to_string(s[F::PowerOnZone] + 1))
        .AddFlag("radioMute", "Radio mute", (t1 & F::kRadioMute) != 0)
        .AddFlag("keyTone", "Key function tone", (t1 & F::kKeyTone) != 0)
        .AddFlag("powerOnTone", "Power-on tone", (t1 & F::kPowerOnTone) != 0)
        .AddFlag("channelSwitchTone", "Channel switch tone", (t1 & F::kChannelSwitchTone) != 0)
        .AddFlag("digitalCallTone", "Digital call tone", (t1 & F::kDigitalCallTone) != 0)
        .AddFlag("analogCallTone", "Analog call tone", (t1 & F::kAnalogCallTone) != 0)
        .AddFlag("txInhibitTone", "Transmit-inhibit tone", (t1 & F::kTxInhibitTone) != 0)
        .AddFlag("lowBatteryTone", "Low-battery alarm tone", (t2 & F::kLowBatteryTone) != 0)
        .AddFlag("messageTones", "Message tones (forced off)",
                 (t2 & (F::kMessageSentTone | F::kMessageFailedTone | F::kMessageReceivedTone)) != 0)
        .AddFlag("txLamp", "Transmit lamp", (lamps & F::kTxLamp) != 0)
        .AddFlag("rxLamp", "Receive lamp", (lamps & F::kRxLamp) != 0)
        .AddFlag("scanLamp", "Scan status lamp", (lamps & F::kScanLamp) != 0)
        .AddFlag("channelSwitchLamp", "Channel switch lamp", (lamps & F::kChannelSwitchLamp) != 0)
        .AddFlag("powerOnLamp", "Power-on lamp", (lamps & F::kPowerOnLamp) != 0)
        .AddFlag("callHangLamp", "Call hang lamp", (lamps & F::kCallHangLamp) != 0);

    DescNode keys = DescNode::Object("keys", "Programmable keys");
    keys.AddText("k1Short", "K1 short press", KeyCodeText(s[F::K1Short]))
        .AddText("k1Long", "K1 long press", KeyCodeText(s[F::K1Long]))
        .AddText("k2Short", "K2 short press", KeyCodeText(s[F::K2Short]))
        .AddText("k2Long", "K2 long press", KeyCodeText(s[F::K2Long]))
        .AddText("k3Short", "K3 short press", KeyCodeText(s[F::K3Short]))
        .AddText("k3Long", "K3 long press", KeyCodeText(s[F::K3Long]))
        .AddText("longPressTime", "Long-press time", TenthsOfSeconds(GetLE16(s, F::LongPressTime)));
    DescNode oneTouch = DescNode::Array("oneTouch", "One-touch calls");
    for (std::size_t k = 0; k < F::kOneTouchEntries; ++k) {
        const std::uint8_t kind = s[F::OneTouchKind(k)];
        std::string text = "none";
        if (kind == F::kOneTouchCall)
            text = "DMR " + ContactRefText(c, s[F::OneTouchContact(k)]);
        else if (kind != F::kOneTouchNone)
            text = "unknown kind " + std::to_string(kind);
        oneTouch.AddText({}, std::to_string(k + 1), text);
    }
    keys.Add(std::move(oneTouch));
    n.Add(std::move(keys));
    n.AddFlag("fieldNumbersStamped", "Field numbers stamped", Stamped(s, kRadioSettingsFieldNumberOffsets));
    return n;
}

DescNode DescribeDmrSettings(const Codeplug& c)
{
    namespace F = DmrSettingsField;
    const Bytes d = c.DmrSettings;
    DescNode n = DescNode::Object("dmrSettings", "DMR settings");
    n.AddText("radioId", "Radio ID", BcdIdText(GetLE32(d, F::RadioId)))
        .AddText("groupHangTime", "Group call hang time", Seconds(d[F::GroupHangTime]))
        .AddText("privateHangTime", "Private call hang time", Seconds(d[F::PrivateHangTime]))
        .AddText("callConfirmWait", "Call confirmation wait time", Milliseconds(d[F::CallConfirmWait] * F::kCallConfirmWaitStepMs))
        .AddNumber("callConfirmRetries", "Call confirmation retries", d[F::CallConfirmRetries])
        .AddNumber("messageConfirmWait", "Message confirmation wait time", d[F::MessageConfirmWait])
        .AddNumber("messageConfirmRetries", "Message confirmation retries", d[F::MessageConfirmRetries])
        .AddText("voiceDelay", "Voice delay", Milliseconds(d[F::VoiceDelay] * F::kVoiceDelayStepMs))
        .AddNumber("featureId", "Feature ID", d[F::FeatureId])
        .AddNumber("voiceHeaderFrames", "Voice header frames", d[F::VoiceHeaderFrames])
        .AddNumber("confirmPreambleFrames", "Confirmation preamble frames", d[F::ConfirmPreambleFrames])
        .AddNumber("responsePreambleFrames", "Response preamble frames", d[F::ResponsePreambleFrames]);
    return n;
}

DescNode DescribePassword(const Codeplug& c)
{
    namespace F = PasswordField;
    const Bytes p = c.PasswordBlock;
    const Bytes password = p.subspan(F::Password, F::kPasswordBytes);
    const Bytes copy = p.subspan(F::PasswordCopy, F::kPasswordBytes);
    DescNode n = DescNode::Object("password", "Programming password");
    n.AddFlag("protection", "Protection on", p[F::Switch] == F::kProtectionOn)
        .AddText("password", "Password", Text8(password))
        .AddFlag("copyMatches", "Copy matches", p[F::SwitchCopy] == p[F::Switch] && std::equal(password.begin(), password.end(), copy.begin()))
        .AddText("date", "Programming date", Text8(p.subspan(F::Date, F::kDateBytes)));
    return n;
}

DescNode DescribeFunctionExtra(const Codeplug& c)
{
    namespace F = FunctionExtraField;
    const Bytes x = c.FunctionExtra;
    const std::uint16_t digital = GetLE16(x, F::DigitalMicGain);
    DescNode n = DescNode::Object("functionExtra", "Further functions");
    n.AddNumber("txModulationGain", "Transmit modulation gain", x[F::TxModulationGain]);
    if (x[F::AnalogMicGain] >= F::kAnalogMicGainMin && x[F::AnalogMicGain] <= F::kAnalogMicGainMax)
        n.AddNumber("analogMicGain", "Analog microphone gain", x[F::AnalogMicGain] - F::kAnalogMicGainMin + 1);
    else
        n.AddText("analogMicGain", "Analog microphone gain", "invalid (" + std::to_string(x[F::AnalogMicGain]) + ")");
    n.AddNumber("digitalMicGainValue", "Digital microphone gain value", digital);
    if (digital >= F::kDigitalMicGainMin && digital <= F::kDigitalMicGainMax)
        n.AddNumber("digitalMicGain", "Digital microphone gain", (digital - F::kDigitalMicGainMin) / F::kDigitalMicGainStep + 1);
    return n;
}

template <std::size_t RecordBytes, std::size_t Capacity, typename Describe>
DescNode DescribeTable(std::string id, std::string label, std::uint32_t count,
                       const RecordTable<RecordBytes, Capacity>& table, Describe describe)
{
    DescNode node = TableNode(std::move(id), std::move(label), count, table);
    DescNode records = DescNode::Array("records", "Records");
    records.flatInText = true;
    for (std::size_t i = 0; i < UsedRecords(count, table); ++i)
        records.Add(describe(i));
    node.Add(std::move(records));
    return node;
}

}  // namespace

// ---- DescNode ----

DescNode DescNode::Object(std::string id, std::string label)
{
    DescNode node;
    node.kind = Kind::Object;
    node.id = std::move(id);
    node.label = std::move(label);
    return node;
}

DescNode DescNode::Array(std::string id, std::string label)
{
    DescNode node = Object(std::move(id), std::move(label));
    node.kind = Kind::Array;
    return node;
}

DescNode& DescNode::AddText(std::string childId, std::string childLabel, std::string value)
{
    DescNode node = Object(std::move(childId), std::move(childLabel));
    node.kind = Kind::Text;
    node.text = std::move(value);
    return Add(std::move(node));
}

DescNode& DescNode::AddNumber(std::string childId, std::string childLabel, std::int64_t value)
{
    DescNode node = Object(std::move(childId), std::move(childLabel));
    node.kind = Kind::Number;
    node.text = std::to_string(value);
    return Add(std::move(node));
}

DescNode& DescNode::AddFlag(std::string childId, std::string childLabel, bool value)
{
    DescNode node = Object(std::move(childId), std::move(childLabel));
    node.kind = Kind::Flag;
    node.flag = value;
    return Add(std::move(node));
}

DescNode& DescNode::Add(DescNode child)
{
    children.push_back(std::move(child));
    return *this;
}

DescNode& DescNode::HideLastInText()
{
    if (!children.empty())
        children.back().hiddenInText = true;
    return *this;
}

const DescNode* DescNode::Find(std::string_view childId) const
{
    for (const DescNode& child : children) {
        if (child.id == childId)
            return &child;
    }
    return nullptr;
}

// ---- helpers ----

bool IsValidBcd(std::uint32_t value)
{
    for (unsigned shift = 0; shift < 32; shift += 4) {
        if (((value >> shift) & 0xF) > 9)
            return false;
    }
    return true;
}

std::string BcdIdText(std::uint32_t value)
{
    const std::string digits = Printf("%llX", value);
    return IsValidBcd(value) ? digits : digits + " (not a decimal ID)";
}

// ---- the accounts ----

DescNode DescribeCodeplug(const Codeplug& c)
{
    const auto marker = static_cast<std::int32_t>(GetLE32(c.FileMarker, 0));
    DescNode root = DescNode::Object("codeplug", "Codeplug");
    DescNode file = DescNode::Object("file", "File");
    file.AddNumber("marker", "Marker", marker).AddFlag("markerOk", "Marker is 740", marker == kFileMarkerValue).HideLastInText();
    root.Add(std::move(file));
    root.Add(DescribeRadioSettings(c));
    root.Add(DescribeDmrSettings(c));

    // A table of records whose field numbers the write session stamps, with a flag saying whether they are.
    const auto stampedTable = [&](std::string id, std::string label, std::uint32_t count, const auto& table,
                                  const auto& offsets, auto describe) {
        DescNode node = DescribeTable(std::move(id), std::move(label), count, table, describe);
        node.AddFlag("fieldNumbersStamped", "Field numbers stamped", TableStamped(table, offsets));
        root.Add(std::move(node));
    };
    stampedTable("digitalChannels", "Digital channels", GetCount(c.DigitalChannelCount), c.DigitalChannelTable,
                 kDigitalChannelFieldNumberOffsets, [&](std::size_t i) { return DescribeDigitalChannel(c, i); });
    stampedTable("analogChannels", "Analog channels", GetCount(c.AnalogChannelCount), c.AnalogChannelTable,
                 kAnalogChannelFieldNumberOffsets, [&](std::size_t i) { return DescribeAnalogChannel(c, i); });
    stampedTable("zones", "Zones", static_cast<std::uint32_t>(c.ZoneTable.kCapacity), c.ZoneTable,
                 kZoneFieldNumberOffsets, [&](std::size_t i) { return DescribeZone(c, i); });
    stampedTable("scanLists", "Scan lists", GetCount(c.ScanListCount), c.ScanTable, kScanListFieldNumberOffsets,
                 [&](std::size_t i) { return DescribeScanList(c, i); });
    stampedTable("contacts", "Contacts", GetCount(c.ContactCount), c.ContactTable, kContactFieldNumberOffsets,
                 [&](std::size_t i) { return DescribeContact(c, i); });
    stampedTable("rxGroupLists", "Receive group lists", GetCount(c.RxGroupCount), c.RxGroupTable,
                 kRxGroupFieldNumberOffsets, [&](std::size_t i) { return DescribeRxGroup(c, i); });

    root.Add(DescribeTable("messages", "Text messages", GetCount(c.MessageCount), c.MessageTable,
                           [&](std::size_t i) { return DescribeMessage(c, i); }));

    root.Add(DescribePassword(c));
    root.Add(DescribeFunctionExtra(c));

    DescNode info = DescNode::Object("radioInfo", "Radio information");
    info.AddText("serialNumber", "Serial number", radio_info::SerialNumber(c));
    root.Add(std::move(info));

    DescNode identity = DescNode::Object("identity", "Identity record");
    identity.AddText("number", "Number", Printf("0x%08llX", GetLE32(c.IdentityBlock, IdentityField::Number)));
    root.Add(std::move(identity));

    const Bytes e2 = c.RecordE2Block;
    const Bytes rest = e2.subspan(RecordE2Field::kRecordBytes);
    DescNode recordE2 = DescNode::Object("recordE2", "Record E2");
    recordE2.AddText("record", "Record bytes", HexBytes(e2.first(RecordE2Field::kRecordBytes)))
        .AddNumber("nonZeroAfterRecord", "Non-zero bytes after the record",
                   std::count_if(rest.begin(), rest.end(), [](std::uint8_t b) { return b != 0; }));
    root.Add(std::move(recordE2));
    return root;
}

DescNode DescribeSummary(const Codeplug& c)
{
    const auto marker = static_cast<std::int32_t>(GetLE32(c.FileMarker, 0));
    DescNode root = DescNode::Object("summary", "Codeplug");
    root.AddNumber("marker", "Marker", marker)
        .AddFlag("markerOk", "Marker is 740", marker == kFileMarkerValue)
        .HideLastInText()
        .AddText("radioId", "Radio ID", BcdIdText(GetLE32(c.DmrSettings, DmrSettingsField::RadioId)))
        .AddText("band", "Band", radio_info::BandText(c))
        .AddText("serialNumber", "Serial number", radio_info::SerialNumber(c))
        .AddText("mcuVersion", "MCU firmware version", radio_info::McuVersion(c))
        .AddText("dspVersion", "DSP firmware version", radio_info::DspVersion(c))
        .AddText("radioAlias", "Radio alias",
                 Alias(c.RadioSettings, RadioSettingsField::RadioAliasLength, RadioSettingsField::RadioAlias, AliasField::kBytes));

    auto names = [](std::string id, std::string label, std::uint32_t count, const auto& table, auto line) {
        DescNode node = TableNode(std::move(id), std::move(label), count, table);
        DescNode list = DescNode::Array("names", "Names");
        list.flatInText = true;
        for (std::size_t i = 0; i < UsedRecords(count, table); ++i)
            list.AddText({}, std::to_string(i + 1), line(i));
        node.Add(std::move(list));
        return node;
    };
    root.Add(names("digitalChannels", "Digital channels", GetCount(c.DigitalChannelCount), c.DigitalChannelTable, [&](std::size_t i) {
        const Bytes r = c.DigitalChannelTable.record(i);
        return Alias(r, DigitalChannelField::AliasLength, DigitalChannelField::Alias, AliasField::kBytes) + "  " +
               FrequencyToText(GetLE32(r, DigitalChannelField::RxFrequency)) + " / " +
               FrequencyToText(GetLE32(r, DigitalChannelField::TxFrequency));
    }));
    root.Add(names("analogChannels", "Analog channels", GetCount(c.AnalogChannelCount), c.AnalogChannelTable, [&](std::size_t i) {
        const Bytes r = c.AnalogChannelTable.record(i);
        return Alias(r, AnalogChannelField::AliasLength, AnalogChannelField::Alias, AliasField::kBytes) + "  " +
               FrequencyToText(GetLE32(r, AnalogChannelField::RxFrequency)) + " / " +
               FrequencyToText(GetLE32(r, AnalogChannelField::TxFrequency));
    }));
    root.Add(names("zones", "Zones", static_cast<std::uint32_t>(c.ZoneTable.kCapacity), c.ZoneTable, [&](std::size_t i) {
        const Bytes r = c.ZoneTable.record(i);
        return Alias(r, ZoneField::AliasLength, ZoneField::Alias, AliasField::kBytes) + " (" +
               std::to_string(r[ZoneField::MemberCount]) + " members)";
    }));
    root.Add(names("scanLists", "Scan lists", GetCount(c.ScanListCount), c.ScanTable, [&](std::size_t i) {
        const Bytes r = c.ScanTable.record(i);
        return Alias(r, ScanListField::AliasLength, ScanListField::Alias, AliasField::kBytes) + " (" +
               std::to_string(r[ScanListField::MemberCount]) + " members)";
    }));
    root.Add(names("contacts", "Contacts", GetCount(c.ContactCount), c.ContactTable, [&](std::size_t i) {
        const Bytes r = c.ContactTable.record(i);
        const std::uint8_t type = r[ContactField::CallType];
        return ContactName(c, i) + " (" + CallTypeText(type) + " " +
               (type == ContactField::kAllCall ? std::string(ContactField::kAllCallIdText)
                                                : BcdIdText(GetLE32(r, ContactField::Id))) + ")";
    }));
    root.Add(names("rxGroupLists", "Receive group lists", GetCount(c.RxGroupCount), c.RxGroupTable, [&](std::size_t i) {
        const Bytes r = c.RxGroupTable.record(i);
        return Alias(r, RxGroupField::NameLength, RxGroupField::Name, AliasField::kBytes) + " (" +
               std::to_string(r[RxGroupField::MemberCount]) + " members)";
    }));
    root.Add(names("messages", "Text messages", GetCount(c.MessageCount), c.MessageTable, [&](std::size_t i) {
        const Bytes r = c.MessageTable.record(i);
        return Alias(r, MessageField::TextLength, MessageField::Text, AliasField::kMessageBytes);
    }));
    return root;
}
