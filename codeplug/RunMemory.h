#pragma once
// The tables the program holds for the run only, beside the codeplug: the digital and analog
// emergency alarm systems, the monitor (standby) channels and the VOX settings. Like the codeplug
// they are plain bytes in fixed tables, but no file and no transfer carries them: every run
// starts with them zero. Their rules are the forms' (AlarmRules, MonitorRules, VoxRules).
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "codeplug/Codeplug.h"
#include "codeplug/Records.h"

namespace emergency {

inline constexpr std::size_t kSystems = 32;

namespace DigitalAlarmField {
constexpr std::size_t Alias = 0;  // 8-bit characters, rest of the field 0
constexpr std::size_t kAliasBytes = 16;
constexpr std::size_t Type = 16;           // list position 0-4
constexpr std::size_t Mode = 17;           // list position 0-2
constexpr std::size_t ImpoliteCount = 20;  // list position 0-255
constexpr std::size_t PoliteCount = 21;    // list position 0-255
constexpr std::size_t RepeatCount = 22;    // 1-255
constexpr std::size_t HotMicDuration = 23; // 1-12, tens of seconds
constexpr std::size_t CallInterval = 25;   // 1-255 s
constexpr std::size_t Duration = 27;       // 1-255 s
constexpr std::size_t Flags = 28;
constexpr std::uint8_t kInUse = 0x02;
constexpr std::uint8_t kRemoteAllowed = 0x04;
}  // namespace DigitalAlarmField

namespace AnalogAlarmField {
constexpr std::size_t Flags = 0;
constexpr std::uint8_t kInUse = 0x20;
constexpr std::uint8_t kBackgroundTone = 0x08;
constexpr std::size_t Modes = 20;  // bits 0-1 alarm mode, 2-4 tone repeat mode, 5-7 voice repeat mode
constexpr unsigned kAlarmModeShift = 0, kToneRepeatShift = 2, kVoiceRepeatShift = 5;
constexpr std::size_t LocalToneDuration = 21;
constexpr std::size_t ToneRepeatCount = 22;
constexpr std::size_t VoiceRepeatCount = 23;
constexpr std::size_t Squelch = 24;  // bits 0-1 squelch mode, other bits kept
constexpr std::size_t TransmitDuration = 25;
constexpr std::size_t ReceiveDuration = 26;
}  // namespace AnalogAlarmField

using DigitalAlarmTable = RecordTable<35, kSystems>;
using AnalogAlarmTable = RecordTable<50, kSystems>;
using DigitalAlarmRecord = std::span<std::uint8_t, 35>;
using AnalogAlarmRecord = std::span<std::uint8_t, 50>;

// What the application holds for the run.
struct AlarmTables {
    DigitalAlarmTable digital;
    AnalogAlarmTable analog;
};

}  // namespace emergency

struct MonitorSettings {
    std::array<std::uint8_t, MonitorField::kBytes> bytes{};  // all zero at start
};

using MonitorCandidateTable = RecordTable<MonitorCandidateField::kRecordBytes, MonitorCandidateField::kRecords>;

struct MonitorMemory {
    MonitorSettings settings;
    MonitorCandidateTable candidates;
};

struct VoxSettings {
    std::uint8_t level = 0;    // 1-9; 0 until first set
    std::uint8_t delay = 0;    // delay list position: 0.5 * (delay + 1) seconds
    std::uint8_t options = 0;  // VoxBits; other bits are kept
    std::uint8_t agc = 0;      // VoxBits::kAgcOn; other bits are kept
    std::uint8_t gains = 0;    // bits 0-3 analog gain position, bits 4-7 digital gain position
    std::uint8_t agcMin = 0;   // AGC minimum list position
    std::uint8_t agcMax = 0;   // AGC maximum list position
    bool operator==(const VoxSettings&) const = default;
};

namespace VoxBits {
constexpr std::uint8_t kVoxOn = 0x01;
constexpr std::uint8_t kInhibitWhileReceiving = 0x02;
constexpr std::uint8_t kPttCancelsVox = 0x04;
constexpr std::uint8_t kPromptTone = 0x08;
constexpr std::uint8_t kAgcOn = 0x04;  // in VoxSettings::agc
}  // namespace VoxBits

