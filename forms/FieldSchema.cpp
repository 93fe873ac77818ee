#include "forms/FieldSchema.h"

#include <array>
#include <bit>

#include "codeplug/BcdId.h"
#include "codeplug/Records.h"
#include "forms/FieldCodec.h"
#include "forms/channels/ChannelRules.h"
#include "forms/channels/MemberRules.h"
#include "forms/dmr/DmrRules.h"
#include "forms/dmr/RxGroupRules.h"
#include "forms/functions/FunctionRules.h"
#include "forms/functions/KeyRules.h"

namespace {

using fieldcodec::kOffOn;

// ---- list texts, as the forms show them ----
constexpr std::array<std::string_view, 2> kPower = {"Low", "High"};
constexpr std::array<std::string_view, 4> kAnalogPermission = {"Always", "Channel free", "CTCSS/DCS match",
                                                               "CTCSS/DCS mismatch"};
constexpr std::array<std::string_view, 3> kDigitalPermission = {"Always", "Channel free", "Colour code free"};
constexpr std::array<std::string_view, 6> kTimeout = {"Off", "30", "60", "90", "120", "150"};
constexpr std::array<std::string_view, 2> kBandwidth = {"12.5kHz", "25kHz"};
// What files written before the bandwidth read "kHz" hold; still read.
constexpr std::array<std::string_view, 2> kFormerBandwidth = {"12.5MHz", "25MHz"};
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

FieldDef WithFormerChoices(FieldDef field, std::span<const std::string_view> former)
{
    field.formerChoices = former;
    return field;
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

