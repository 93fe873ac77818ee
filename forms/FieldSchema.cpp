#include "forms/FieldSchema.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <charconv>
#include <cstdio>

#include "codeplug/Bytes.h"
#include "codeplug/Codeplug.h"
#include "codeplug/Records.h"
#include "forms/channels/Encodings.h"
#include "forms/channels/ChannelRules.h"
#include "forms/channels/MemberRules.h"
#include "forms/dmr/BcdId.h"
#include "forms/dmr/DmrRules.h"
#include "forms/functions/FunctionRules.h"
#include "forms/functions/KeyRules.h"
#include "forms/dmr/RxGroupRules.h"

namespace {

using Bytes = std::span<const std::uint8_t>;

// ---- list texts, as the forms show them ----
constexpr std::array<std::string_view, 2> kPower = {"Low", "High"};
constexpr std::array<std::string_view, 4> kAnalogPermission = {"Always", "Channel free", "CTCSS/DCS match",
                                                               "CTCSS/DCS mismatch"};
constexpr std::array<std::string_view, 3> kDigitalPermission = {"Always", "Channel free", "Colour code free"};
constexpr std::array<std::string_view, 6> kTimeout = {"Off", "30", "60", "90", "120", "150"};
constexpr std::array<std::string_view, 2> kBandwidth = {"12.5kHz", "25kHz"};
// What files written before the bandwidth read "kHz" hold; still read.
constexpr std::array<std::string_view, 2> kFormerBandwidth = {"12.5MHz", "25MHz"};
constexpr std::array<std::string_view, 2> kOffOn = {"Off", "On"};
constexpr std::array<std::string_view, 2> kTimeSlot = {"Slot 1", "Slot 2"};
constexpr std::array<std::string_view, 3> kCallType = {"Group call", "Private call", "All call"};
constexpr std::array<std::string_view, 4> kPowerSave = {"Off", "1/1", "1/2", "1/4"};
constexpr std::array<std::string_view, 5> kAlarmResend = {"0", "3", "6", "9", "12"};

// ---- field builders ----
FieldDef Alias(std::string_view id, std::string_view label, std::size_t lengthAt, std::size_t at,
               std::size_t width = AliasField::kBytes, std::int64_t maxChars = AliasField::kMaxChars)
{
    return {.id = id, .label = label, .codec = Codec::Alias, .offset = at, .width = width, .aux = lengthAt, .max = maxChars};
}
FieldDef Text8(std::string_view id, std::string_view label, std::size_t at, std::size_t width)
{
    return {.id = id, .label = label, .codec = Codec::Text8, .offset = at, .width = width};
}
FieldDef Frequency(std::string_view id, std::string_view label, std::size_t at)
{
    return {.id = id, .label = label, .codec = Codec::Frequency, .offset = at, .width = 4, .unit = "MHz"};
}
FieldDef Choice(std::string_view id, std::string_view label, std::size_t at, std::span<const std::string_view> choices,
                std::uint8_t mask = 0xFF)
{
    return {.id = id, .label = label, .codec = Codec::Choice, .offset = at, .mask = mask, .choices = choices};
}
FieldDef Bit(std::string_view id, std::string_view label, std::size_t at, std::uint8_t mask)
{
    return {.id = id, .label = label, .codec = Codec::Bit, .offset = at, .mask = mask};
}
FieldDef Number(std::string_view id, std::string_view label, std::size_t at, std::int64_t min, std::int64_t max,
                std::string_view unit = {}, std::size_t width = 1, std::int64_t scale = 1, std::int64_t bias = 0,
                std::int64_t step = 1)
{
    return {.id = id, .label = label, .codec = Codec::Number, .offset = at, .width = width, .scale = scale, .bias = bias,
            .min = min, .max = max, .step = step, .unit = unit};
}
FieldDef BitsNumber(std::string_view id, std::string_view label, std::size_t at, std::uint8_t mask)
{
    FieldDef f = Number(id, label, at, 0, mask >> std::countr_zero(mask));
    f.mask = mask;
    return f;
}
FieldDef ListRef(std::string_view id, std::string_view label, std::size_t at, std::size_t lists, std::int64_t most)
{
    return {.id = id, .label = label, .codec = Codec::ListRef, .offset = at, .aux = lists, .min = 1, .max = most};
}
FieldDef Members(Codec codec, std::size_t countAt, std::size_t at)
{
    return {.id = "members", .label = "Members", .codec = codec, .offset = at, .aux = countAt, .max = 16};
}
FieldDef Tone(Codec codec, std::string_view id, std::string_view label, std::size_t typeAt, std::size_t indexAt)
{
    const std::uint8_t mask = codec == Codec::RxTone ? 0xF9 : 0xFF;
    return {.id = id, .label = label, .codec = codec, .offset = typeAt, .mask = mask, .aux = indexAt};
}
FieldDef Simple(Codec codec, std::string_view id, std::string_view label, std::size_t at, std::size_t width = 1)
{
    return {.id = id, .label = label, .codec = codec, .offset = at, .width = width};
}

std::string Lower(std::string_view text)
{
    std::string out = TrimBlanks(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::uint32_t GetLE(Bytes r, std::size_t at, std::size_t width)
{
    RequireRange(r.size(), at, width);
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < width; ++i)
        v |= static_cast<std::uint32_t>(r[at + i]) << (8 * i);
    return v;
}

void PutLE(std::span<std::uint8_t> r, std::size_t at, std::size_t width, std::uint32_t v)
{
    RequireRange(r.size(), at, width);
    for (std::size_t i = 0; i < width; ++i)
        r[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void PutBits(std::uint8_t& byte, std::uint8_t mask, std::uint8_t value)
{
    byte = static_cast<std::uint8_t>((byte & ~mask) | (value & mask));
}

std::string Hex2(unsigned v)
{
    char b[8];
    std::snprintf(b, sizeof b, "0x%02X", v & 0xFFu);
    return b;
}

std::string Invalid(std::string what) { return "invalid (" + what + ")"; }

std::optional<std::int64_t> Integer(const FieldValue& value)
{
    if (value.is_number_integer())
        return value.get<std::int64_t>();
    if (value.is_number_unsigned())
        return static_cast<std::int64_t>(value.get<std::uint64_t>());
    return std::nullopt;
}

std::string ChoiceList(std::span<const std::string_view> choices)
{
    std::string out;
    for (const std::string_view c : choices)
        out += (out.empty() ? "\"" : ", \"") + std::string(c) + "\"";
    return out;
}

FieldDef WithFormerChoices(FieldDef field, std::span<const std::string_view> former)
{
    field.formerChoices = former;
    return field;
}

std::optional<std::size_t> MatchChoice(std::span<const std::string_view> choices, const FieldValue& value)
{
    if (!value.is_string())
        return std::nullopt;
    const std::string wanted = Lower(value.get<std::string>());
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (Lower(choices[i]) == wanted)
            return i;
    }
    return std::nullopt;
}

// The name of an alias-like field, as a form would commit it.
std::string NameError(const FieldDef& f, const std::string& text)
{
    return NameProblem(f.codec == Codec::Alias ? TrimBlanks(text) : text, static_cast<std::size_t>(f.max), f.width);
}

// "435.012500", "435.0125", "0." or "0": three digits before the point for any other value.
bool FrequencyTextWellFormed(std::string_view t)
{
    const std::size_t point = t.find('.');
    const std::string_view whole = t.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view{} : t.substr(point + 1);
    const auto digits = [](std::string_view s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!digits(whole) || !digits(fraction) || fraction.size() > 6 || whole.empty())
        return false;
    return whole == "0" ? fraction.find_first_not_of('0') == std::string_view::npos : whole.size() == 3;
}

std::string WriteFrequency(const FieldDef& f, std::span<std::uint8_t> r, const FieldValue& value, const FieldContext& ctx)
{
    if (!value.is_string())
        return "expected a frequency in MHz as text, e.g. \"438.500000\"";
    const std::string text = TrimBlanks(value.get<std::string>());
    if (!FrequencyTextWellFormed(text))
        return "\"" + text + "\" is not a frequency in MHz (three digits, a point and up to six decimals)";
    const std::uint32_t hertz = TextToFrequency(text);
    if (hertz == 0) {
        PutLE32(r, f.offset, 0);
        return {};
    }
    PutLE32(r, f.offset, hertz);
    if (const std::string problem = FieldProblem(f, r, ctx); !problem.empty())
        return problem;
    PutLE32(r, f.offset, TextToFrequency(NormaliseFrequencyText(text, ctx.frequencyRange)));
    return {};
}

std::string ChannelMemberText(std::uint8_t kind, std::uint16_t index)
{
    if (kind == ChannelRef::kDigital)
        return "D" + std::to_string(index + 1);
    if (kind == ChannelRef::kAnalog)
        return "A" + std::to_string(index + 1);
    return Invalid("kind " + std::to_string(kind) + ", index " + std::to_string(index));
}

}  // namespace

// ---- schemas ----

const RecordSchema& AnalogChannelSchema()
{
    namespace F = AnalogChannelField;
    static const RecordSchema s{"analogChannel", "Analog channel", 81, {
        Alias("alias", "Channel alias", F::AliasLength, F::Alias),
        Frequency("rxFrequency", "Receive frequency", F::RxFrequency),
        Frequency("txFrequency", "Transmit frequency", F::TxFrequency),
        Tone(Codec::RxTone, "rxTone", "Receive tone", F::RxToneType, F::RxToneIndex),
        {.id = "tailElimination", .label = "Squelch tail elimination", .codec = Codec::Tail, .offset = F::RxToneType,
         .mask = 0x06, .choices = kOffOn},
        Tone(Codec::TxTone, "txTone", "Transmit tone", F::TxToneType, F::TxToneIndex),
        WithFormerChoices(Choice("bandwidth", "Bandwidth", F::Flags, kBandwidth, F::kFlagWideBand), kFormerBandwidth),
        Choice("power", "Transmit power", F::Power, kPower),
        Choice("txPermission", "Transmit admit", F::TxPermission, kAnalogPermission),
        Choice("txTimeout", "Transmit time-out [s]", F::TxTimeout, kTimeout),
        Number("txInhibitRecovery", "Transmit inhibit recovery", F::TxInhibitRecovery, 0, kRecoveryChoices - 1, "s"),
        Number("squelchLevel", "Squelch level", F::SquelchLevel, 0, kSquelchLevels - 1),
        ListRef("scanList", "Scan list", F::ScanList, kScanLists, kMaxScanLists),
        Bit("autoScan", "Auto scan", F::Flags, F::kFlagAutoScan),
        Bit("receiveOnly", "Receive only", F::Flags, F::kFlagReceiveOnly),
        Bit("vox", "VOX", F::Flags, F::kFlagVox),
    }};
    return s;
}

const RecordSchema& DigitalChannelSchema()
{
    namespace F = DigitalChannelField;
    static const RecordSchema s{"digitalChannel", "Digital channel", 82, {
        Alias("alias", "Channel alias", F::AliasLength, F::Alias),
        Frequency("rxFrequency", "Receive frequency", F::RxFrequency),
        Frequency("txFrequency", "Transmit frequency", F::TxFrequency),
        Number("rxColourCode", "Receive colour code", F::RxColourCode, 0, kColourCodes - 1),
        Number("txColourCode", "Transmit colour code", F::TxColourCode, 0, kColourCodes - 1),
        Choice("timeSlot", "Time slot", F::Flags1, kTimeSlot, F::kTimeSlotMask),
        Simple(Codec::ContactRef, "txContact", "Transmit contact", F::TxContact),
        ListRef("rxGroupList", "Receive group list", F::RxGroupList, kRxGroupLists, rxgroups::kMaxLists),
        ListRef("scanList", "Scan list", F::ScanList, kScanLists, kMaxScanLists),
        Choice("power", "Transmit power", F::Power, kPower),
        Choice("txPermission", "Transmit admit", F::TxPermission, kDigitalPermission),
        Choice("txTimeout", "Transmit time-out [s]", F::TxTimeout, kTimeout),
        Number("txInhibitRecovery", "Transmit inhibit recovery", F::TxInhibitRecovery, 0, kRecoveryChoices - 1, "s"),
        Choice("directMode", "Direct (TDMA) mode", F::Flags2, kOffOn, F::kDirectModeMask),
        Bit("frequenciesDiffer", "Receive and transmit differ", F::Flags2, F::kFlagFrequenciesDiffer),
        Bit("encryption", "Encryption", F::Flags1, F::kFlagEncryption),
        Number("encryptionKey", "Encryption key", F::EncryptionKey, 0, 65535, {}, 2),
        Bit("autoScan", "Auto scan", F::Flags1, F::kFlagAutoScan),
        Bit("receiveOnly", "Receive only", F::Flags1, F::kFlagReceiveOnly),
        Bit("privateCallConfirm", "Private call confirmation", F::Flags1, F::kFlagPrivateCallConfirm),
        Bit("emergencyIndication", "Emergency call indication", F::Flags1, F::kFlagEmergencyIndication),
        Bit("vox", "VOX", F::Flags2, F::kFlagVox),
    }};
    return s;
}

const RecordSchema& ZoneSchema()
{
    static const RecordSchema s{"zone", "Zone", 89, {
        Alias("alias", "Zone alias", ZoneField::AliasLength, ZoneField::Alias),
        Members(Codec::ChannelMembers, ZoneField::MemberCount, ZoneField::Members),
    }};
    return s;
}

const RecordSchema& ScanListSchema()
{
    namespace F = ScanListField;
    static const RecordSchema s{"scanList", "Scan list", 98, {
        Alias("alias", "Scan list alias", F::AliasLength, F::Alias),
        Members(Codec::ChannelMembers, F::MemberCount, F::Members),
        Number("txMode", "Scan transmit mode", F::TxMode, 0, 1),
        Number("dwellTime", "Receive dwell time", F::DwellTime, 0, F::kDwellMax, "ms", 2, 1, 0, F::kDwellStep),
    }};
    return s;
}

const RecordSchema& ContactSchema()
{
    namespace F = ContactField;
    static const RecordSchema s{"contact", "Contact", 45, {
        {.id = "name", .label = "Contact name", .codec = Codec::ContactName, .offset = F::Name,
         .width = AliasField::kBytes, .aux = F::NameLength, .max = AliasField::kMaxContactChars},
        Choice("callType", "Call type", F::CallType, kCallType),
        {.id = "id", .label = "Call ID", .codec = Codec::ContactId, .offset = F::Id, .width = 4, .aux = F::CallType,
         .min = kMinIdNumber, .max = kMaxIdNumber},
    }};
    return s;
}

const RecordSchema& RxGroupSchema()
{
    namespace F = RxGroupField;
    static const RecordSchema s{"rxGroupList", "Receive group list", 57, {
        Alias("name", "Group list name", F::NameLength, F::Name),
        Members(Codec::ContactMembers, F::MemberCount, F::Members),
    }};
    return s;
}

const RecordSchema& MessageSchema()
{
    static const RecordSchema s{"message", "Text message", 83, {
        Alias("text", "Message text", MessageField::TextLength, MessageField::Text, AliasField::kMessageBytes,
              AliasField::kMaxMessageChars),
    }};
    return s;
}

const RecordSchema& RadioSettingsSchema()
{
    namespace F = RadioSettingsField;
    static const RecordSchema s = [] {
        RecordSchema r{"radioSettings", "Radio settings", 227, {
            Simple(Codec::Band, "band", "Band", F::FrequencyRange),
            Alias("radioAlias", "Radio alias", F::RadioAliasLength, F::RadioAlias),
            Text8("dspVersion", "DSP firmware version", F::DspVersion, F::DspVersionEnd - F::DspVersion),
            Text8("mcuVersion", "MCU firmware version", F::McuVersion, F::McuVersionEnd - F::McuVersion),
            BitsNumber("menuLanguage", "Menu language (list position)", F::Options1, F::kMenuLanguage),
            BitsNumber("messageMode", "Message mode (list position)", F::Options1, F::kMessageMode),
            Bit("remoteAlarmAllowed", "Remote alarm allowed", F::Options1, F::kRemoteAlarmAllowed),
            Bit("wiredPtt", "Wired PTT", F::Options1, F::kWiredPtt),
            Bit("remoteMonitor", "Remote monitor (forced off)", F::Options1, F::kRemoteMonitor),
            Bit("bluetoothMode", "Bluetooth mode (forced off)", F::Options2, F::kBluetoothMode),
            Choice("powerSaveLevel", "Power-save level", F::PowerSaveLevel, kPowerSave),
            Number("powerSaveEntryTime", "Power-save entry time", F::PowerSaveEntryTime, 0, 10, "s"),
            Number("voxLevel", "VOX level", F::VoxLevel, 1, 5, {}, 1, 1, 1),
            Choice("remoteAlarmResend", "Remote alarm resend count", F::RemoteAlarmResend, kAlarmResend),
            Number("remoteAlarmInterval", "Remote alarm interval", F::RemoteAlarmInterval, 1,
                   FunListSize(FunList::RemoteAlarmInterval), "s", 1, 1, 1),
            Number("lowBatteryInterval", "Low-battery alarm interval", F::LowBatteryInterval, 0, 255, "s"),
            Number("serialDebugMode", "Serial debug mode (list position)", F::SerialDebugMode, 0,
                   FunListSize(FunList::SerialDebugMode) - 1),
            Number("powerOnZone", "Power-on zone", F::PowerOnZone, 1, 2, {}, 1, 1, 1),
            Bit("radioMute", "Radio mute", F::Tones1, F::kRadioMute),
            Bit("keyTone", "Key function tone", F::Tones1, F::kKeyTone),
            Bit("powerOnTone", "Power-on tone", F::Tones1, F::kPowerOnTone),
            Bit("channelSwitchTone", "Channel switch tone", F::Tones1, F::kChannelSwitchTone),
            Bit("digitalCallTone", "Digital call tone", F::Tones1, F::kDigitalCallTone),
            Bit("analogCallTone", "Analog call tone", F::Tones1, F::kAnalogCallTone),
            Bit("txInhibitTone", "Transmit inhibit tone", F::Tones1, F::kTxInhibitTone),
            Bit("lowBatteryTone", "Low-battery alarm tone", F::Tones2, F::kLowBatteryTone),
            Bit("messageSentTone", "Message sent tone (forced off)", F::Tones2, F::kMessageSentTone),
            Bit("messageFailedTone", "Message failed tone (forced off)", F::Tones2, F::kMessageFailedTone),
            Bit("messageReceivedTone", "Message received tone (forced off)", F::Tones2, F::kMessageReceivedTone),
            Bit("txLamp", "Transmit lamp", F::Lamps, F::kTxLamp),
            Bit("rxLamp", "Receive lamp", F::Lamps, F::kRxLamp),
            Bit("scanLamp", "Scan status lamp", F::Lamps, F::kScanLamp),
            Bit("channelSwitchLamp", "Channel switch lamp", F::Lamps, F::kChannelSwitchLamp),
            Bit("powerOnLamp", "Power-on lamp", F::Lamps, F::kPowerOnLamp),
            Bit("callHangLamp", "Call hang lamp", F::Lamps, F::kCallHangLamp),
            Simple(Codec::KeyCode, "k1Short", "K1 short press", F::K1Short),
            Simple(Codec::KeyCode, "k1Long", "K1 long press", F::K1Long),
            Simple(Codec::KeyCode, "k2Short", "K2 short press", F::K2Short),
            Simple(Codec::KeyCode, "k2Long", "K2 long press", F::K2Long),
            Simple(Codec::KeyCode, "k3Short", "K3 short press", F::K3Short),
            Simple(Codec::KeyCode, "k3Long", "K3 long press", F::K3Long),
            Number("longPressTime", "Long-press time", F::LongPressTime, kLongPressFirstMs,
                   kLongPressFirstMs + kLongPressStepMs * (kLongPressChoices - 1), "ms", 2, 1, 0, kLongPressStepMs),
        }};
        static constexpr std::array<std::string_view, F::kOneTouchEntries> kIds = {"oneTouch1", "oneTouch2", "oneTouch3",
                                                                                    "oneTouch4", "oneTouch5"};
        static constexpr std::array<std::string_view, F::kOneTouchEntries> kLabels = {
            "One-touch call 1", "One-touch call 2", "One-touch call 3", "One-touch call 4", "One-touch call 5"};
        for (std::size_t k = 0; k < F::kOneTouchEntries; ++k)
            r.fields.push_back(Simple(Codec::OneTouch, kIds[k], kLabels[k], F::OneTouchKind(k), 2));
        return r;
    }();
    return s;
}

const RecordSchema& DmrSettingsSchema()
{
    namespace F = DmrSettingsField;
    static const RecordSchema s = [] {
        RecordSchema r{"dmrSettings", "DMR settings", 27, {
            {.id = "radioId", .label = "Radio ID", .codec = Codec::BcdId, .offset = F::RadioId, .width = 4,
             .min = kMinIdNumber, .max = kMaxIdNumber},
        }};
        // Each list of the DMR settings form: entry p shows firstShown + p * step and stores p + base.
        struct Named {
            std::size_t offset;
            std::string_view id, label, unit;
        };
        static constexpr Named kNames[] = {
            {F::GroupHangTime, "groupHangTime", "Group call hang time", "s"},
            {F::PrivateHangTime, "privateHangTime", "Private call hang time", "s"},
            {F::CallConfirmWait, "callConfirmWait", "Call confirmation wait time", "ms"},
            {F::CallConfirmRetries, "callConfirmRetries", "Call confirmation retries", {}},
            {F::MessageConfirmWait, "messageConfirmWait", "Message confirmation wait time", {}},
            {F::MessageConfirmRetries, "messageConfirmRetries", "Message confirmation retries", {}},
            {F::VoiceDelay, "voiceDelay", "Voice delay", "ms"},
            {F::FeatureId, "featureId", "Feature ID", {}},
            {F::VoiceHeaderFrames, "voiceHeaderFrames", "Voice header frames", {}},
            {F::ConfirmPreambleFrames, "confirmPreambleFrames", "Confirmation preamble frames", {}},
            {F::ResponsePreambleFrames, "responsePreambleFrames", "Response preamble frames", {}},
        };
        for (const Named& n : kNames) {
            for (const dmr::SettingList& list : dmr::SettingLists()) {
                if (list.offset != n.offset)
                    continue;
                const std::int64_t last = list.firstShown + static_cast<std::int64_t>(list.entries - 1) * list.step;
                r.fields.push_back(Number(n.id, n.label, n.offset, list.firstShown, last, n.unit, 1, list.step,
                                          list.firstShown - static_cast<std::int64_t>(list.storedBase) * list.step));
            }
        }
        return r;
    }();
    return s;
}

const RecordSchema& PasswordSchema()
{
    namespace F = PasswordField;
    static const RecordSchema s{"password", "Programming password", 30, {
        Bit("protection", "Password protection", F::Switch, F::kProtectionOn),
        Text8("password", "Password", F::Password, F::kPasswordBytes),
        Bit("protectionCopy", "Password protection (copy)", F::SwitchCopy, F::kProtectionOn),
        Text8("passwordCopy", "Password (copy)", F::PasswordCopy, F::kPasswordBytes),
        Text8("date", "Programming date", F::Date, F::kDateBytes),
    }};
    return s;
}

const RecordSchema& FunctionExtraSchema()
{
    namespace F = FunctionExtraField;
    static const RecordSchema s{"functionExtra", "Further functions", 7, {
        Number("txModulationGain", "Transmit modulation gain", F::TxModulationGain, 0, 15),
        Number("analogMicGain", "Analog microphone gain", F::AnalogMicGain, 1, FunListSize(FunList::AnalogMicGain),
               {}, 1, 1, 1 - F::kAnalogMicGainMin),
        // Between two steps of the list the form shows the step below, so any value up to the last step is one.
        Number("digitalMicGain", "Digital microphone gain value", F::DigitalMicGain, F::kDigitalMicGainMin,
               F::kDigitalMicGainMin + F::kDigitalMicGainStep * (FunListSize(FunList::DigitalMicGain) - 1), {}, 2),
    }};
    return s;
}

const RecordSchema& RadioInfoSchema()
{
    static const RecordSchema s{"radioInfo", "Radio information", 30, {
        Text8("serialNumber", "Serial number", RadioInfoField::SerialNumber, 30 - RadioInfoField::SerialNumber),
    }};
    return s;
}

const RecordSchema& IdentitySchema()
{
    static const RecordSchema s{"identity", "Identity record", 23, {
        Number("number", "Number", IdentityField::Number, 0, 0xFFFFFFFFLL, {}, 4),
    }};
    return s;
}

const RecordSchema& RecordE2Schema()
{
    static const RecordSchema s{"recordE2", "Record E2", 2880, {}};
    return s;
}

const RecordSchema& FileMarkerSchema()
{
    static const RecordSchema s{"fileMarker", "File marker", 4, {
        Number("marker", "Marker", 0, 0, 0xFFFFFFFFLL, {}, 4),
    }};
    return s;
}

const FieldDef* FindField(const RecordSchema& schema, std::string_view id)
{
    for (const FieldDef& f : schema.fields) {
        if (f.id == id)
            return &f;
    }
    return nullptr;
}

// ---- footprints ----

std::vector<std::pair<std::size_t, std::uint8_t>> Footprint(const FieldDef& f)
{
    std::vector<std::pair<std::size_t, std::uint8_t>> out;
    const auto span = [&](std::size_t at, std::size_t width) {
        for (std::size_t i = 0; i < width; ++i)
            out.emplace_back(at + i, std::uint8_t{0xFF});
    };
    switch (f.codec) {
    case Codec::Alias:
    case Codec::ContactName:
        out.emplace_back(f.aux, std::uint8_t{0xFF});
        span(f.offset, f.width);
        break;
    case Codec::RxTone:
    case Codec::TxTone:
        out.emplace_back(f.offset, f.mask);
        out.emplace_back(f.aux, std::uint8_t{0xFF});
        break;
    case Codec::ChannelMembers:
        out.emplace_back(f.aux, std::uint8_t{0xFF});
        span(f.offset, ChannelRef::kBytes * static_cast<std::size_t>(f.max));
        break;
    case Codec::ContactMembers:
        out.emplace_back(f.aux, std::uint8_t{0xFF});
        span(f.offset, static_cast<std::size_t>(f.max));
        break;
    case Codec::Tail:
    case Codec::Choice:
    case Codec::Bit:
        out.emplace_back(f.offset, f.mask);
        break;
    case Codec::Number:
        if (f.width == 1)
            out.emplace_back(f.offset, f.mask);
        else
            span(f.offset, f.width);
        break;
    default: span(f.offset, f.width); break;
    }
    return out;
}

std::vector<std::uint8_t> OwnedBits(const RecordSchema& schema)
{
    std::vector<std::uint8_t> owned(schema.bytes, 0);
    for (const FieldDef& f : schema.fields) {
        for (const auto& [at, bits] : Footprint(f))
            owned.at(at) |= bits;
    }
    return owned;
}

// ---- reading ----

FieldValue ReadField(const FieldDef& f, Bytes r)
{
    RequireRange(r.size(), f.offset, f.width);
    const std::uint8_t byte = r[f.offset];
    const unsigned shift = static_cast<unsigned>(std::countr_zero(f.mask));
    switch (f.codec) {
    case Codec::Alias: return DecodeAlias(r[f.aux], r.subspan(f.offset, f.width));
    case Codec::ContactName: return DecodeContactName(r.subspan(f.offset, f.width));
    case Codec::Text8: {
        const Bytes field = r.subspan(f.offset, f.width);
        const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
        return AnsiToUtf8(std::string(field.begin(), end));
    }
    case Codec::Frequency: return FrequencyToText(GetLE32(r, f.offset));
    case Codec::RxTone:
    case Codec::TxTone: {
        const auto text = ToneText(byte, r[f.aux]);
        if (!text)
            return Invalid("type " + Hex2(byte & f.mask) + ", index " + std::to_string(r[f.aux]));
        return text->empty() ? std::string("None") : *text;
    }
    case Codec::Tail: return std::string(kOffOn[UsesSecondTail(byte) ? 1 : 0]);
    case Codec::BcdId: {
        const std::uint32_t v = GetLE32(r, f.offset);
        if (const auto n = UnpackBcdId(v))
            return *n;
        char b[16];
        std::snprintf(b, sizeof b, "%X", v);
        return Invalid(std::string(b) + " is not a decimal ID");
    }
    case Codec::ContactId: {
        if (r[f.aux] == ContactField::kAllCall)
            return 16777215;
        FieldDef plain = f;
        plain.codec = Codec::BcdId;
        return ReadField(plain, r);
    }
    case Codec::Choice: {
        const unsigned v = (byte & f.mask) >> shift;
        if (v < f.choices.size())
            return std::string(f.choices[v]);
        return Invalid(std::to_string(v));
    }
    case Codec::Bit: return (byte & f.mask) != 0;
    case Codec::Number: {
        const std::int64_t stored = f.width == 1 ? (byte & f.mask) >> shift : GetLE(r, f.offset, f.width);
        return stored * f.scale + f.bias;
    }
    case Codec::ListRef:
        if (byte == 0)
            return "Off";
        return byte;
    case Codec::ContactRef:
        if (byte == 0xFF)
            return "None";
        return byte + 1;
    case Codec::ChannelMembers: {
        FieldValue list = FieldValue::array();
        const std::size_t count = std::min<std::size_t>(r[f.aux], static_cast<std::size_t>(f.max));
        for (std::size_t m = 0; m < count; ++m) {
            const std::size_t at = f.offset + ChannelRef::kBytes * m;
            list.push_back(ChannelMemberText(r[at + ChannelRef::Kind], GetLE16(r, at + ChannelRef::Index)));
        }
        return list;
    }
    case Codec::ContactMembers: {
        FieldValue list = FieldValue::array();
        const std::size_t count = std::min<std::size_t>(r[f.aux], static_cast<std::size_t>(f.max));
        for (std::size_t m = 0; m < count; ++m)
            list.push_back(r[f.offset + m] + 1);
        return list;
    }
    case Codec::OneTouch:
        if (byte == RadioSettingsField::kOneTouchNone)
            return "None";
        if (byte == RadioSettingsField::kOneTouchCall)
            return r[f.offset + 1] + 1;
        return Invalid("kind " + std::to_string(byte));
    case Codec::KeyCode: return Hex2(byte);
    case Codec::Band:
        if (byte == RadioSettingsField::kRange350To400)
            return "350-400MHz";
        if (byte == RadioSettingsField::kRange400To480)
            return "400-480MHz";
        return Invalid(std::to_string(byte));
    }
    return nullptr;
}

// ---- valid values ----

namespace {

std::size_t ContactsInUse(const Codeplug& c) { return UsedRecords(GetCount(c.ContactCount), c.ContactTable); }

// The lists a channel may name: the tree never shows fewer than one.
std::size_t ListsInUse(const Codeplug& c, std::size_t lists)
{
    if (lists == kScanLists)
        return ScanListsInUse(c);
    return std::clamp<std::size_t>(GetCount(c.RxGroupCount), 1, c.RxGroupTable.kCapacity);
}

std::string ContactProblem(const Codeplug& c, std::size_t contact)
{
    const std::size_t used = ContactsInUse(c);
    if (contact >= used)
        return "contact " + std::to_string(contact + 1) + " does not exist (" + std::to_string(used) + " in use)";
    return {};
}

std::string MemberProblem(const FieldDef& f, Bytes r, const Codeplug* c)
{
    const std::size_t count = r[f.aux];
    if (count > static_cast<std::size_t>(f.max))
        return "member count " + std::to_string(count) + " is above the " + std::to_string(f.max) + " places";
    std::vector<std::uint32_t> seen;
    for (std::size_t m = 0; m < count; ++m) {
        const std::string member = "member " + std::to_string(m + 1) + ": ";
        std::uint32_t key = 0;
        if (f.codec == Codec::ContactMembers) {
            const std::uint8_t contact = r[f.offset + m];
            key = contact;
            if (c != nullptr) {
                if (auto e = GroupMemberProblem(*c, contact); !e.empty())
                    return member + e;
            }
        } else {
            const std::size_t at = f.offset + ChannelRef::kBytes * m;
            const ChannelMember channel{r[at + ChannelRef::Kind], GetLE16(r, at + ChannelRef::Index)};
            key = static_cast<std::uint32_t>(channel.kind) << 16 | channel.index;
            if (channel.kind != ChannelRef::kDigital && channel.kind != ChannelRef::kAnalog)
                return member + "unknown channel kind " + std::to_string(channel.kind);
            if (channel.index >= kMaxChannels || (c != nullptr && !ChannelExists(*c, channel)))
                return member + ChannelMemberText(channel.kind, channel.index) + " is not a channel in use";
        }
        if (std::find(seen.begin(), seen.end(), key) != seen.end())
            return member + "named twice";
        seen.push_back(key);
    }
    return {};
}

}  // namespace

std::string GroupMemberProblem(const Codeplug& c, std::size_t contact)
{
    if (auto e = ContactProblem(c, contact); !e.empty())
        return e;
    if (c.ContactTable.record(contact)[ContactField::CallType] != ContactField::kGroupCall)
        return "contact " + std::to_string(contact + 1) + " is not a group call; only group calls can be members";
    return {};
}

std::string FieldProblem(const FieldDef& f, Bytes r, const FieldContext& ctx)
{
    const FieldValue v = ReadField(f, r);
    if (v.is_string() && v.get<std::string>().rfind("invalid (", 0) == 0)
        return "holds " + v.get<std::string>();
    const Codeplug* c = ctx.codeplug;
    switch (f.codec) {
    case Codec::Alias:
    case Codec::ContactName:
        if (r[f.aux] > f.width)
            return "the length byte says " + std::to_string(r[f.aux]) + ", the field holds " + std::to_string(f.width) +
                   " bytes";
        return NameError(f, v.get<std::string>());
    case Codec::Number:
    case Codec::BcdId:
    case Codec::ContactId: {
        if (!v.is_number())
            return {};  // an all call's fixed ID
        const std::int64_t n = v.get<std::int64_t>();
        if (f.codec == Codec::ContactId && n == 16777215 && r[f.aux] == ContactField::kAllCall)
            return {};
        if (n < f.min || n > f.max)
            return std::to_string(n) + " is outside " + std::to_string(f.min) + "-" + std::to_string(f.max);
        if (f.codec == Codec::Number && (n - f.min) % f.step != 0)
            return std::to_string(n) + " is not a step of " + std::to_string(f.step);
        return {};
    }
    case Codec::Frequency: {
        const std::uint32_t hertz = GetLE32(r, f.offset);
        const FrequencyBand band = BandForRange(ctx.frequencyRange);
        if (hertz != 0 && (hertz < band.lower || hertz > band.upper))
            return FrequencyToText(hertz) + " MHz is outside the band " + FrequencyToText(band.lower) + "-" +
                   FrequencyToText(band.upper) + " MHz";
        return {};
    }
    case Codec::ListRef: {
        const std::uint8_t n = r[f.offset];
        if (n > f.max)
            return "list " + std::to_string(n) + " is outside 1-" + std::to_string(f.max);
        if (c != nullptr && n > ListsInUse(*c, f.aux))
            return "list " + std::to_string(n) + " does not exist (" + std::to_string(ListsInUse(*c, f.aux)) + " in use)";
        return {};
    }
    case Codec::ContactRef: {
        const std::uint8_t n = r[f.offset];
        if (c == nullptr)
            return {};
        // With contacts to choose from, the form always shows one; with none it stores "None".
        if (n == 0xFF)
            return ContactsInUse(*c) == 0 ? std::string() : "no contact is chosen";
        return ContactProblem(*c, n);
    }
    case Codec::OneTouch: {
        if (r[f.offset] != RadioSettingsField::kOneTouchCall || c == nullptr)
            return {};
        const std::uint8_t contact = r[f.offset + 1];
        if (auto e = ContactProblem(*c, contact); !e.empty())
            return e;
        if (c->ContactTable.record(contact)[ContactField::CallType] == ContactField::kAllCall)
            return "contact " + std::to_string(contact + 1) + " is an all call, which a one-touch call cannot name";
        return {};
    }
    case Codec::ChannelMembers:
    case Codec::ContactMembers: return MemberProblem(f, r, c);
    default: return {};
    }
}

// ---- writing ----

namespace {

std::string WriteInto(const FieldDef& f, std::span<std::uint8_t> r, const FieldValue& v, const FieldContext& ctx)
{
    RequireRange(r.size(), f.offset, f.width);
    std::uint8_t& byte = r[f.offset];
    const unsigned shift = static_cast<unsigned>(std::countr_zero(f.mask));
    const auto needString = [&]() -> std::string { return v.is_string() ? std::string() : "expected a text"; };
    switch (f.codec) {
    case Codec::Alias:
    case Codec::ContactName: {
        if (auto e = needString(); !e.empty())
            return e;
        const std::string text = v.get<std::string>();
        if (auto e = NameError(f, text); !e.empty())
            return e;
        const auto field = r.subspan(f.offset, f.width);
        r[f.aux] = f.codec == Codec::Alias ? EncodeAlias(text, field) : EncodeContactName(text, field);
        return {};
    }
    case Codec::Text8: {
        if (auto e = needString(); !e.empty())
            return e;
        const std::string ansi = Utf8ToAnsi(v.get<std::string>());
        if (AnsiToUtf8(ansi) != v.get<std::string>() || ansi.find('\0') != std::string::npos)
            return "holds characters the radio cannot show";
        if (ansi.size() > f.width)
            return "longer than " + std::to_string(f.width) + " bytes";
        std::fill_n(r.begin() + static_cast<std::ptrdiff_t>(f.offset), f.width, std::uint8_t{0});
        std::copy(ansi.begin(), ansi.end(), r.begin() + static_cast<std::ptrdiff_t>(f.offset));
        return {};
    }
    case Codec::Frequency: return WriteFrequency(f, r, v, ctx);
    case Codec::RxTone:
    case Codec::TxTone: {
        if (auto e = needString(); !e.empty())
            return e;
        const auto code = ToneFromText(v.get<std::string>(), f.codec == Codec::TxTone);
        if (!code)
            return "\"" + v.get<std::string>() + "\" is not a tone (None, a CTCSS frequency such as 67.0, or a DCS code such as D023N)";
        PutBits(byte, f.mask, code->type);
        r[f.aux] = code->index;
        return {};
    }
    case Codec::Tail:
    case Codec::Choice: {
        auto position = MatchChoice(f.choices, v);
        if (!position)
            position = MatchChoice(f.formerChoices, v);
        if (!position)
            return "expected one of " + ChoiceList(f.choices);
        if (f.codec == Codec::Tail)
            PutBits(byte, f.mask, *position == 1 ? ToneBits::kTailSecond : ToneBits::kTailFirst);
        else
            PutBits(byte, f.mask, static_cast<std::uint8_t>(*position << shift));
        return {};
    }
    case Codec::Bit:
        if (!v.is_boolean())
            return "expected true or false";
        PutBits(byte, f.mask, v.get<bool>() ? f.mask : 0);
        return {};
    case Codec::Number: {
        const auto n = Integer(v);
        if (!n)
            return "expected a whole number";
        if (*n < f.min || *n > f.max)
            return std::to_string(*n) + " is outside " + std::to_string(f.min) + "-" + std::to_string(f.max);
        if ((*n - f.min) % f.step != 0 || (*n - f.bias) % f.scale != 0)
            return std::to_string(*n) + " is not a step of " + std::to_string(std::max(f.step, f.scale));
        const std::int64_t stored = (*n - f.bias) / f.scale;
        if (f.width == 1) {
            if (stored < 0 || (static_cast<std::uint64_t>(stored) << shift) > f.mask)
                return std::to_string(*n) + " does not fit its field";
            PutBits(byte, f.mask, static_cast<std::uint8_t>(stored << shift));
        } else {
            PutLE(r, f.offset, f.width, static_cast<std::uint32_t>(stored));
        }
        return {};
    }
    case Codec::BcdId:
    case Codec::ContactId: {
        const auto n = Integer(v);
        if (f.codec == Codec::ContactId && r[f.aux] == ContactField::kAllCall) {
            if (n != 16777215)
                return "an all call has the ID 16777215";
            PutLE32(r, f.offset, ContactField::kAllCallId);
            return {};
        }
        if (!n)
            return "expected an ID in decimal digits";
        if (*n < f.min || *n > f.max)
            return std::to_string(*n) + " is outside " + std::to_string(f.min) + "-" + std::to_string(f.max);
        PutLE32(r, f.offset, *PackBcdId(static_cast<std::uint32_t>(*n)));
        return {};
    }
    case Codec::ListRef: {
        if (v.is_string() && Lower(v.get<std::string>()) == "off") {
            byte = 0;
            return {};
        }
        const auto n = Integer(v);
        if (!n || *n < 1 || *n > f.max)
            return "expected \"Off\" or a list number 1-" + std::to_string(f.max);
        byte = static_cast<std::uint8_t>(*n);
        return {};
    }
    case Codec::ContactRef: {
        if (v.is_string() && Lower(v.get<std::string>()) == "none") {
            byte = 0xFF;
            return {};
        }
        const auto n = Integer(v);
        if (!n || *n < 1 || *n > 64)
            return "expected \"None\" or a contact number 1-64";
        byte = static_cast<std::uint8_t>(*n - 1);
        return {};
    }
    case Codec::OneTouch: {
        if (v.is_string() && Lower(v.get<std::string>()) == "none") {
            byte = RadioSettingsField::kOneTouchNone;
            r[f.offset + 1] = 0;
            return {};
        }
        const auto n = Integer(v);
        if (!n || *n < 1 || *n > 64)
            return "expected \"None\" or a contact number 1-64";
        byte = RadioSettingsField::kOneTouchCall;
        r[f.offset + 1] = static_cast<std::uint8_t>(*n - 1);
        return {};
    }
    case Codec::ChannelMembers:
    case Codec::ContactMembers: {
        if (!v.is_array())
            return "expected a list";
        if (v.size() > static_cast<std::size_t>(f.max))
            return "more than " + std::to_string(f.max) + " members";
        const bool channels = f.codec == Codec::ChannelMembers;
        const std::size_t slot = channels ? ChannelRef::kBytes : 1;
        std::vector<std::uint8_t> field(slot * static_cast<std::size_t>(f.max), 0);
        for (std::size_t m = 0; m < v.size(); ++m) {
            const FieldValue& item = v[m];
            if (!channels) {
                const auto n = Integer(item);
                if (!n || *n < 1 || *n > 64)
                    return "member " + std::to_string(m + 1) + ": expected a contact number 1-64";
                field[m] = static_cast<std::uint8_t>(*n - 1);
                continue;
            }
            const std::string text = item.is_string() ? Lower(item.get<std::string>()) : std::string();
            int number = 0;
            const auto [stop, ec] = text.size() >= 2 ? std::from_chars(text.data() + 1, text.data() + text.size(), number)
                                                     : std::from_chars_result{text.data(), std::errc::invalid_argument};
            const bool parsed = ec == std::errc() && stop == text.data() + text.size() && (text[0] == 'a' || text[0] == 'd');
            if (!parsed || number < 1 || number > 16)
                return "member " + std::to_string(m + 1) + ": expected A1-A16 (analog) or D1-D16 (digital)";
            field[slot * m + ChannelRef::Kind] = text[0] == 'd' ? ChannelRef::kDigital : ChannelRef::kAnalog;
            PutLE16(field, slot * m + ChannelRef::Index, static_cast<std::uint16_t>(number - 1));
        }
        RequireRange(r.size(), f.offset, field.size());
        std::copy(field.begin(), field.end(), r.begin() + static_cast<std::ptrdiff_t>(f.offset));
        r[f.aux] = static_cast<std::uint8_t>(v.size());
        return {};
    }
    case Codec::KeyCode: {
        if (auto e = needString(); !e.empty())
            return e;
        const std::string text = Lower(v.get<std::string>());
        unsigned code = 0;
        const bool parsed = text.size() > 2 && text.rfind("0x", 0) == 0 && [&] {
            const auto [stop, ec] = std::from_chars(text.data() + 2, text.data() + text.size(), code, 16);
            return ec == std::errc() && stop == text.data() + text.size();
        }();
        if (!parsed || std::find(kKeyFunctionCodes.begin(), kKeyFunctionCodes.end(), code) == kKeyFunctionCodes.end())
            return "\"" + v.get<std::string>() + "\" is not a key function code";
        byte = static_cast<std::uint8_t>(code);
        return {};
    }
    case Codec::Band: {
        static constexpr std::array<std::string_view, 2> kBands = {"400-480MHz", "350-400MHz"};
        const auto position = MatchChoice(kBands, v);
        if (!position)
            return "expected one of " + ChoiceList(kBands);
        byte = *position == 1 ? RadioSettingsField::kRange350To400 : RadioSettingsField::kRange400To480;
        return {};
    }
    }
    return "unknown field";
}

}  // namespace

std::string WriteField(const FieldDef& f, std::span<std::uint8_t> record, const FieldValue& value, const FieldContext& ctx)
{
    std::vector<std::uint8_t> scratch(record.begin(), record.end());
    std::string error = WriteInto(f, scratch, value, ctx);
    if (error.empty())
        error = FieldProblem(f, scratch, ctx);
    if (error.empty())
        std::copy(scratch.begin(), scratch.end(), record.begin());
    return error;
}

bool FieldRoundTrips(const FieldDef& f, Bytes record, const FieldContext& ctx)
{
    std::vector<std::uint8_t> scratch(record.begin(), record.end());
    if (!WriteInto(f, scratch, ReadField(f, record), ctx).empty())
        return false;
    for (const auto& [at, bits] : Footprint(f)) {
        if ((scratch[at] & bits) != (record[at] & bits))
            return false;
    }
    return true;
}

// ---- text ----

std::string ValueText(const FieldValue& value)
{
    if (value.is_string())
        return value.get<std::string>();
    if (value.is_boolean())
        return value.get<bool>() ? "On" : "Off";
    if (value.is_array()) {
        std::string out;
        for (const FieldValue& item : value)
            out += (out.empty() ? "" : ", ") + ValueText(item);
        return out;
    }
    if (value.is_null())
        return {};
    return value.dump();
}

FieldValue ValueFromText(const FieldDef& f, std::string_view text)
{
    const std::string trimmed = TrimBlanks(text);
    const auto number = [&]() -> FieldValue {
        // A number too big for 64 bits stays text, which the field then refuses (never 0).
        std::int64_t n = 0;
        const char* end = trimmed.data() + trimmed.size();
        const auto [stop, ec] = std::from_chars(trimmed.data(), end, n);
        if (!trimmed.empty() && ec == std::errc() && stop == end)
            return n;
        return trimmed;
    };
    switch (f.codec) {
    case Codec::Bit: {
        const std::string t = Lower(trimmed);
        if (t == "on" || t == "yes" || t == "true" || t == "1")
            return true;
        if (t == "off" || t == "no" || t == "false" || t == "0")
            return false;
        return trimmed;
    }
    case Codec::Number:
    case Codec::BcdId:
    case Codec::ContactId:
    case Codec::ListRef:
    case Codec::ContactRef:
    case Codec::OneTouch: return number();
    case Codec::ChannelMembers:
    case Codec::ContactMembers: {
        FieldValue list = FieldValue::array();
        std::size_t start = 0;
        while (!trimmed.empty() && start <= trimmed.size()) {
            const std::size_t comma = std::min(trimmed.find(',', start), trimmed.size());
            FieldDef one = f;
            one.codec = f.codec == Codec::ContactMembers ? Codec::Number : Codec::Text8;
            list.push_back(ValueFromText(one, std::string_view(trimmed).substr(start, comma - start)));
            start = comma + 1;
        }
        return list;
    }
    case Codec::Alias:
    case Codec::ContactName:
    case Codec::Text8: return std::string(text);
    default: return trimmed;
    }
}
