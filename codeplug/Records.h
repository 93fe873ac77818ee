#pragma once
// Byte offsets of the fields inside each Codeplug record. Multi-byte values are little-endian
// in the image; the link reverses them on the wire (see link/WireOrder).
//
// Every record offset used anywhere in the program is named here; code elsewhere never writes
// a bare record offset. Bit masks of flag bytes sit beside the byte they belong to.
#include <array>
#include <cstddef>
#include <cstdint>

// Aliases: a length byte followed by a fixed text field (EncodeAlias / DecodeAlias).
namespace AliasField {
constexpr std::size_t kBytes = 36;         // channel, zone, scan-list, contact, group-list names
constexpr std::size_t kMessageBytes = 80;  // text messages
constexpr std::size_t kMaxChars = 18;      // alias edit boxes
constexpr std::size_t kMaxContactChars = 16;
constexpr std::size_t kMaxMessageChars = 40;
}  // namespace AliasField

// Channel references inside zones and scan lists: a kind byte and a 0-based record index.
namespace ChannelRef {
constexpr std::size_t kBytes = 3;
constexpr std::size_t Kind = 0;
constexpr std::size_t Index = 1;  // unsigned 16-bit
constexpr std::uint8_t kDigital = 1;
constexpr std::uint8_t kAnalog = 2;
}  // namespace ChannelRef

namespace AnalogChannelField {
constexpr std::size_t RecordMarker = 0;
constexpr std::size_t AliasLength = 1;
constexpr std::size_t Alias = 2;
constexpr std::size_t Flags = 39;
constexpr std::uint8_t kFlagAutoScan = 0x01;
constexpr std::uint8_t kFlagReceiveOnly = 0x02;
constexpr std::uint8_t kFlagWideBand = 0x04;  // clear: 12.5 kHz, set: 25 kHz
constexpr std::uint8_t kFlagVox = 0x08;
constexpr std::size_t FlagsSecond = 40;  // kept
constexpr std::size_t RxFrequency = 42;  // unsigned 32-bit hertz
constexpr std::size_t TxFrequency = 47;  // unsigned 32-bit hertz
constexpr std::size_t TxPermission = 52; // 0-3
constexpr std::size_t Power = 54;        // 0-1
constexpr std::size_t TxTimeout = 56;    // 0 off, k = 30 * k seconds
constexpr std::size_t TxInhibitRecovery = 58;  // seconds 0-10
constexpr std::size_t ScanList = 60;     // 0 off, n = scan list n
constexpr std::size_t SquelchLevel = 62; // 0-5
constexpr std::size_t RxToneType = 64;
constexpr std::size_t RxToneIndex = 65;
constexpr std::size_t RxToneRest = 66;   // 6 bytes kept
constexpr std::size_t TxToneType = 73;
constexpr std::size_t TxToneIndex = 74;
constexpr std::size_t TxToneRest = 75;   // 6 bytes kept
}  // namespace AnalogChannelField

namespace DigitalChannelField {
constexpr std::size_t RecordMarker = 0;
constexpr std::size_t AliasLength = 1;
constexpr std::size_t Alias = 2;
constexpr std::size_t Field1 = 39;  // kept
constexpr std::size_t Flags1 = 41;
constexpr std::uint8_t kFlagAutoScan = 0x01;
constexpr std::uint8_t kFlagReceiveOnly = 0x02;
constexpr std::uint8_t kFlagPrivateCallConfirm = 0x04;
constexpr std::uint8_t kFlagEmergencyIndication = 0x08;
constexpr std::uint8_t kFlagEncryption = 0x20;
constexpr std::uint8_t kTimeSlotMask = 0xC0;
constexpr unsigned kTimeSlotShift = 6;
constexpr std::size_t Flags2 = 42;
constexpr std::uint8_t kDirectModeMask = 0x03;
constexpr std::uint8_t kFlagFrequenciesDiffer = 0x04;
constexpr std::uint8_t kFlagVox = 0x08;
constexpr std::size_t RxColourCode = 44;  // 0-15
constexpr std::size_t TxColourCode = 49;  // 0-15
constexpr std::size_t RxFrequency = 54;   // unsigned 32-bit hertz
constexpr std::size_t TxFrequency = 59;   // unsigned 32-bit hertz
constexpr std::size_t TxContact = 64;     // 0-based contact index
constexpr std::size_t RxGroupList = 66;   // 0 off, n = list n
constexpr std::size_t TxPermission = 68;  // 0-2
constexpr std::size_t Power = 70;         // 0-1
constexpr std::size_t TxTimeout = 72;     // 0 off, k = 30 * k seconds
constexpr std::size_t TxInhibitRecovery = 74;  // seconds 0-10
constexpr std::size_t EncryptionKey = 76; // unsigned 16-bit
constexpr std::size_t Field14 = 79;       // kept
constexpr std::size_t ScanList = 81;      // 0 off, n = scan list n
}  // namespace DigitalChannelField

namespace ZoneField {
constexpr std::size_t RecordMarker = 0;
constexpr std::size_t AliasLength = 1;
constexpr std::size_t Alias = 2;
constexpr std::size_t MemberCount = 39;
constexpr std::size_t Members = 41;  // ChannelRef entries
constexpr std::size_t kMaxMembers = 16;
constexpr std::size_t Member(std::size_t m) { return Members + ChannelRef::kBytes * m; }
}  // namespace ZoneField

namespace ScanListField {
constexpr std::size_t RecordMarker = 0;
constexpr std::size_t AliasLength = 1;
constexpr std::size_t Alias = 2;
constexpr std::size_t MemberCount = 39;
constexpr std::size_t Members = 41;  // ChannelRef entries, 48 bytes
constexpr std::size_t kMaxMembers = 16;
constexpr std::size_t Member(std::size_t m) { return Members + ChannelRef::kBytes * m; }
constexpr std::size_t TxMode = 90;     // 0-1
constexpr std::size_t DwellTime = 92;  // unsigned 16-bit milliseconds, multiple of 500, 0-10000
constexpr std::uint16_t kDwellStep = 500;
constexpr std::uint16_t kDwellMax = 10000;
constexpr std::size_t Field5 = 95;  // kept
constexpr std::size_t Field6 = 97;  // kept
}  // namespace ScanListField

namespace ContactField {
constexpr std::size_t RecordMarker = 0;
constexpr std::size_t NameLength = 1;  // characters as typed
constexpr std::size_t Name = 2;
constexpr std::size_t CallType = 39;
constexpr std::uint8_t kGroupCall = 0;
constexpr std::uint8_t kPrivateCall = 1;
constexpr std::uint8_t kAllCall = 2;
constexpr std::size_t Id = 41;  // unsigned 32-bit BcdId
constexpr std::uint32_t kAllCallId = 0xAAAAAAAA;
constexpr const char* kAllCallIdText = "16777215";  // how an all-call ID is shown
}  // namespace ContactField

namespace RxGroupField {
constexpr std::size_t RecordMarker = 0;
constexpr std::size_t NameLength = 1;
constexpr std::size_t Name = 2;
constexpr std::size_t MemberCount = 39;
constexpr std::size_t Members = 41;  // one byte each: 0-based contact index
constexpr std::size_t kMaxMembers = 16;
}  // namespace RxGroupField

namespace MessageField {
constexpr std::size_t RecordMarker = 0;
constexpr std::size_t TextLength = 1;
constexpr std::size_t FieldMarker = 2;
constexpr std::size_t Text = 3;  // AliasField::kMessageBytes
}  // namespace MessageField

namespace RadioSettingsField {
constexpr std::size_t FrequencyRange = 55;  // 5: 350-400 MHz, anything else 400-480 MHz
constexpr std::uint8_t kRange350To400 = 5;
constexpr std::uint8_t kRange400To480 = 4;
constexpr std::size_t DspVersion = 58;  // NUL-terminated text, ends before offset 69
constexpr std::size_t DspVersionEnd = 69;
constexpr std::size_t McuVersion = 71;  // NUL-terminated text, ends before offset 86
constexpr std::size_t McuVersionEnd = 86;
constexpr std::size_t Options1 = 87;
constexpr std::uint8_t kMenuLanguage = 0x01;
constexpr std::uint8_t kRemoteMonitor = 0x04;  // forced off
constexpr std::uint8_t kRemoteAlarmAllowed = 0x08;
constexpr std::uint8_t kWiredPtt = 0x40;
constexpr std::uint8_t kMessageMode = 0x80;
constexpr std::size_t Options2 = 88;
constexpr std::uint8_t kBluetoothMode = 0x01;  // forced off
constexpr std::size_t RadioAliasLength = 90;
constexpr std::size_t RadioAlias = 91;
constexpr std::size_t PowerSaveLevel = 128;      // 0-3
constexpr std::size_t PowerSaveEntryTime = 130;  // seconds 0-10
constexpr std::size_t VoxLevel = 132;            // position: level 1-5
constexpr std::size_t RemoteAlarmResend = 134;   // position: 0, 3, 6, 9, 12 times
constexpr std::size_t SerialDebugMode = 136;
constexpr std::size_t K1Short = 138;
constexpr std::size_t K1Long = 139;
constexpr std::size_t K2Short = 144;
constexpr std::size_t K2Long = 145;
constexpr std::size_t K3Short = 147;
constexpr std::size_t K3Long = 148;
constexpr std::size_t Tones1 = 192;
constexpr std::uint8_t kRadioMute = 0x01;
constexpr std::uint8_t kDigitalCallTone = 0x02;
constexpr std::uint8_t kAnalogCallTone = 0x08;
constexpr std::uint8_t kKeyTone = 0x10;
constexpr std::uint8_t kPowerOnTone = 0x20;
constexpr std::uint8_t kChannelSwitchTone = 0x40;
constexpr std::uint8_t kTxInhibitTone = 0x80;
constexpr std::size_t Tones2 = 193;
constexpr std::uint8_t kLowBatteryTone = 0x01;
constexpr std::uint8_t kMessageSentTone = 0x02;      // forced off
constexpr std::uint8_t kMessageFailedTone = 0x04;    // forced off
constexpr std::uint8_t kMessageReceivedTone = 0x08;  // forced off
constexpr std::size_t LowBatteryInterval = 195;   // seconds 0-255
constexpr std::size_t RemoteAlarmInterval = 197;  // seconds - 1
constexpr std::size_t Lamps = 199;
constexpr std::uint8_t kTxLamp = 0x01;
constexpr std::uint8_t kRxLamp = 0x02;
constexpr std::uint8_t kScanLamp = 0x04;
constexpr std::uint8_t kChannelSwitchLamp = 0x08;
constexpr std::uint8_t kPowerOnLamp = 0x10;
constexpr std::uint8_t kCallHangLamp = 0x40;
constexpr std::size_t PowerOnZone = 204;  // zone index 0-1
constexpr std::size_t OneTouch = 206;     // five entries of 3 bytes
constexpr std::size_t kOneTouchEntries = 5;
constexpr std::size_t kOneTouchBytes = 3;
constexpr std::size_t OneTouchKind(std::size_t k) { return OneTouch + kOneTouchBytes * k; }     // k 0-based
constexpr std::size_t OneTouchContact(std::size_t k) { return OneTouchKind(k) + 1; }
constexpr std::uint8_t kOneTouchNone = 0;
constexpr std::uint8_t kOneTouchCall = 2;
constexpr std::size_t LongPressTime = 222;  // unsigned 16-bit milliseconds, 1000 + 500 * position
}  // namespace RadioSettingsField

// The function codes the key lists offer, in list order.
constexpr std::array<std::uint8_t, 15> kKeyFunctionCodes = {0x00, 0x01, 0x03, 0x04, 0x05, 0x08, 0x0B, 0x0C,
                                                            0x0D, 0x0E, 0x0F, 0x10, 0x11, 0x13, 0x14};

namespace DmrSettingsField {
constexpr std::size_t RadioId = 1;  // unsigned 32-bit BcdId
constexpr std::uint32_t kMaxBcdId = 0x16776415;
constexpr std::size_t GroupHangTime = 6;     // seconds
constexpr std::size_t PrivateHangTime = 8;   // seconds
constexpr std::size_t CallConfirmWait = 10;  // 6-100, times 50 ms
constexpr std::uint8_t kCallConfirmWaitBase = 6;
constexpr std::uint16_t kCallConfirmWaitStepMs = 50;
constexpr std::size_t CallConfirmRetries = 12;
constexpr std::size_t MessageConfirmWait = 14;
constexpr std::size_t MessageConfirmRetries = 16;
constexpr std::size_t VoiceDelay = 18;  // 0-40, times 40 ms
constexpr std::uint16_t kVoiceDelayStepMs = 40;
constexpr std::size_t FeatureId = 20;
constexpr std::size_t VoiceHeaderFrames = 22;
constexpr std::size_t ConfirmPreambleFrames = 24;
constexpr std::size_t ResponsePreambleFrames = 26;
}  // namespace DmrSettingsField

namespace PasswordField {
constexpr std::size_t RecordMarker = 0;
constexpr std::size_t Switch = 1;
constexpr std::uint8_t kProtectionOn = 0x80;
constexpr std::size_t Password = 2;  // 8 ASCII digits, right-aligned, '0'-padded
constexpr std::size_t kPasswordBytes = 8;
constexpr std::size_t SwitchCopy = 10;
constexpr std::size_t PasswordCopy = 11;
constexpr std::size_t FieldMarker = 19;
constexpr std::size_t Date = 20;  // "%d,%02d,%02d", 10 characters
constexpr std::size_t kDateBytes = 10;
}  // namespace PasswordField

namespace RadioInfoField {
constexpr std::size_t SerialNumber = 2;  // NUL-terminated text to the end of the block
}  // namespace RadioInfoField

namespace IdentityField {
constexpr std::size_t Number = 1;  // unsigned 32-bit
}  // namespace IdentityField

namespace RecordE2Field {
constexpr std::size_t kRecordBytes = 45;  // only this much of the block travels to the radio
}  // namespace RecordE2Field

namespace FunctionExtraField {
constexpr std::size_t TxModulationGain = 1;  // 0-15
constexpr std::size_t AnalogMicGain = 2;     // 40 + position, 40-55
constexpr std::uint8_t kAnalogMicGainMin = 40;
constexpr std::uint8_t kAnalogMicGainMax = 55;
constexpr std::size_t DigitalMicGain = 3;  // unsigned 16-bit, bytes 3-4
constexpr std::uint16_t kDigitalMicGainMin = 298;
constexpr std::uint16_t kDigitalMicGainMax = 4000;
constexpr std::uint16_t kDigitalMicGainRepaired = 2048;
constexpr std::uint16_t kDigitalMicGainStep = 250;
constexpr std::uint16_t kDigitalMicGainListMax = 3798;  // 298 + 250 * 14: the last of the 15 gain steps
}  // namespace FunctionExtraField

// Offsets of the field-number bytes, in field-number order 0, 1, 2 ...: the write session
// stamps byte kXxxFieldNumberOffsets[n] = n in every record before sending.
constexpr std::array<std::size_t, 16> kDigitalChannelFieldNumberOffsets = {0,  38, 40, 43, 48, 53, 58, 63,
                                                                           65, 67, 69, 71, 73, 75, 78, 80};
constexpr std::array<std::size_t, 12> kAnalogChannelFieldNumberOffsets = {0, 38, 41, 46, 51, 53,
                                                                          55, 57, 59, 61, 63, 72};
constexpr std::array<std::size_t, 3> kZoneFieldNumberOffsets = {0, 38, 40};
constexpr std::array<std::size_t, 7> kScanListFieldNumberOffsets = {0, 38, 40, 89, 91, 94, 96};
constexpr std::array<std::size_t, 33> kRadioSettingsFieldNumberOffsets = {
    0,   18,  35,  52,  54,  56,  69,  86,  89,  127, 129, 131, 133, 135, 137, 140, 143,
    146, 149, 156, 163, 170, 177, 184, 191, 194, 196, 198, 200, 203, 205, 221, 224};
constexpr std::array<std::size_t, 3> kContactFieldNumberOffsets = {0, 38, 40};
constexpr std::array<std::size_t, 3> kRxGroupFieldNumberOffsets = {0, 38, 40};
constexpr std::array<std::size_t, 2> kMessageFieldNumberOffsets = {0, 2};

// The monitor (standby) channel settings, held in memory for the run only: never saved, never
// sent to the radio.
namespace MonitorField {
constexpr std::size_t kBytes = 21;
constexpr std::size_t Members = 0;       // one byte each: 0-based channel number, 0xFF past the count
constexpr std::size_t kMaxMembers = 16;
constexpr std::size_t MemberCount = 16;  // 0-16
constexpr std::size_t TalkHoldTime = 17; // seconds 0-10
constexpr std::uint8_t kMaxTalkHoldTime = 10;
constexpr std::size_t PttReply = 18;     // choice 0-4
constexpr std::size_t StandbyReply = 19; // a member's channel number, or kNone
constexpr std::uint8_t kNone = 0xFF;
constexpr std::size_t Flags = 20;
constexpr std::uint8_t kFlagScan = 0x01;
}  // namespace MonitorField

// The monitor candidate channels: 16 records; frequencies in units of 10 Hz.
namespace MonitorCandidateField {
constexpr std::size_t kRecordBytes = 80;
constexpr std::size_t kRecords = 16;
constexpr std::size_t RxFrequency = 0;  // unsigned 32-bit, 10 Hz
constexpr std::size_t TxFrequency = 4;  // unsigned 32-bit, 10 Hz
constexpr std::uint32_t kRxAbove = 13600000;  // 136 MHz
constexpr std::uint32_t kTxBelow = 51200000;  // 512 MHz
constexpr std::size_t Kind = 46;  // bits 4-6
constexpr std::uint8_t kKindMask = 0x70;
constexpr std::uint8_t kKindSecond = 0x10;
}  // namespace MonitorCandidateField
