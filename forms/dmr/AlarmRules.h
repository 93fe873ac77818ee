#pragma once
// The digital and analog emergency alarm systems: two tables of 32 records that the program
// keeps in memory for the run only. They are not part of the codeplug, never saved to a file and
// never sent to the radio; every run starts with both tables zero (no system in use).
//
// The systems in use are the leading run of records whose in-use bit is set. The forms show one
// system at a time (the application's current index for the form) and step through the list.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "codeplug/Codeplug.h"
#include "codeplug/RunMemory.h"

namespace emergency {

// ---- The list of systems (both tables) ----------------------------------------------------

bool InUse(const DigitalAlarmTable& table, std::size_t index);
bool InUse(const AnalogAlarmTable& table, std::size_t index);

// The length of the leading run of records in use.
std::size_t SystemsInUse(const DigitalAlarmTable& table);
std::size_t SystemsInUse(const AnalogAlarmTable& table);

// Marks the first record not in use as in use, its other bytes as they are. False when all 32
// are in use.
bool AddSystem(DigitalAlarmTable& table);
bool AddSystem(AnalogAlarmTable& table);

// Removes the current system: the later systems move down one place (whole records) and the last
// place of the list is no longer in use. The last remaining system, and a current index outside
// the list, delete nothing. Returns the current index afterwards (0 when the record at the old
// index is no longer in use).
std::uint32_t DeleteSystem(DigitalAlarmTable& table, std::uint32_t current);
std::uint32_t DeleteSystem(AnalogAlarmTable& table, std::uint32_t current);

enum class Step { First, Previous, Next, Last };
// The index after a step button, given the number of systems in use.
std::uint32_t StepIndex(Step step, std::uint32_t current, std::size_t inUse);

// The record a form shows and edits for an index (record 0 while no system is in use, since
// the index is then 0; any index is kept inside the table).
std::size_t RecordShown(std::uint32_t current);

// ---- Digital record <-> form --------------------------------------------------------------

// The selected entry of every list (-1: none), the check box and the hidden alias box.
struct DigitalAlarmEntries {
    int type = -1;
    int mode = -1;
    int impoliteCount = -1;
    int politeCount = -1;
    int repeatCount = -1;
    int hotMicDuration = -1;
    int callInterval = -1;
    int duration = -1;
    bool remoteAllowed = false;
    std::string alias;
};

// Entries of the lists: alarm type 5, mode 3, transmission counts 256 ("0" ... "254" and one
// more), repeat count 255, hot-microphone duration 12 ("10" ... "120"), interval and duration 255.
DigitalAlarmEntries ShowDigital(std::span<const std::uint8_t, 35> record);
// The alias field is cleared and gets the alias's first 16 bytes; the 1-based lists store their
// position + 1; bit 2 of the flags follows the check box, the in-use bit is kept.
void CommitDigital(DigitalAlarmRecord record, const DigitalAlarmEntries& entries);

// Alarm types 2, 3 and 4 enable the mode, counts, durations and interval; 0 and 1 disable them.
bool DigitalDetailsEnabled(std::span<const std::uint8_t, 35> record);

// ---- Analog record <-> form ---------------------------------------------------------------

inline constexpr int kLeaveSelection = -2;  // the alarm mode list keeps what it shows

struct AnalogAlarmEntries {
    int alarmMode = -1;  // positions 0, 1, 2 stand for stored modes 0, 1, 3
    int localToneDuration = -1;
    int toneRepeatMode = -1;
    int toneRepeatCount = -1;
    int voiceRepeatMode = -1;
    int voiceRepeatCount = -1;
    int squelchMode = -1;
    int transmitDuration = -1;
    int receiveDuration = -1;
    bool backgroundTone = false;
};

// A stored alarm mode of 2 gives kLeaveSelection; mode fields outside their lists give -1.
AnalogAlarmEntries ShowAnalog(std::span<const std::uint8_t, 50> record);
// Clears the background-tone bit; stores every list. A mode list without a selection leaves its
// bits as they are; the squelch byte keeps its bits 2-7.
void CommitAnalog(AnalogAlarmRecord record, const AnalogAlarmEntries& entries);

struct AnalogAlarmEnabling {
    bool localToneDuration = false;
    bool toneRepeatMode = false;
    bool toneRepeatCount = false;
    bool voiceRepeatMode = false;
    bool voiceRepeatCount = false;
    bool squelchMode = false;
    bool transmitDuration = false;
    bool receiveDuration = false;
};
// From the stored modes: alarm mode 1 enables the local tone and its repetition, mode 3 also the
// voice, squelch and durations; a repeat count only when its repeat mode is 2. Any other alarm
// mode enables nothing but the mode list itself.
AnalogAlarmEnabling AnalogEnabling(std::span<const std::uint8_t, 50> record);

}  // namespace emergency
