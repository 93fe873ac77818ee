#pragma once
// The small rules of the read and write sessions that do not touch the serial link: the radio-ID
// text of the write dialog, the password entry and record, the stamping applied to the image
// before a write, and the mapping from result codes to transfer statuses and messages.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "codeplug/BcdId.h"
#include "codeplug/Codeplug.h"
#include "codeplug/Records.h"

namespace session {

// ---- Radio ID (DmrSettings bytes 1-4, packed decimal digits) --------------------------------

constexpr std::size_t kRadioIdChars = 8;           // width of the radio-ID field
constexpr std::size_t kPasswordChars = 8;          // width of the password field

// The text the write dialog shows when it opens: the ID's text (BcdIdToText); with the increment
// box ticked that text read as a decimal number plus 1. The box's text is read back with
// ParseBcdIdText, the radio's ID kept with GetRadioId / SetRadioId (codeplug/BcdId.h).
std::string RadioIdFieldText(std::uint32_t packedId, bool increment);

// ---- Passwords ------------------------------------------------------------------------------

constexpr std::size_t kPasswordEntryBytes = 32;
constexpr std::size_t kRadioPasswordBytes = 30;
constexpr std::size_t kPasswordRecordBytes = 10;
constexpr std::size_t kRadioPasswordAt = PasswordField::PasswordCopy;  // the radio's password in its FC record

using PasswordEntryBytes = std::array<std::uint8_t, kPasswordEntryBytes>;
using RadioPasswordBytes = std::array<std::uint8_t, kRadioPasswordBytes>;
using PasswordRecordBytes = std::array<std::uint8_t, kPasswordRecordBytes>;

// All 32 bytes "0", the typed characters right-aligned in bytes 0-7 (at most the first eight
// characters are used, as the field holds no more).
PasswordEntryBytes MakePasswordEntry(std::string_view typed);

enum class Direction : std::uint8_t { Read = 0, Write = 1 };

// Byte 0 = 03, byte 1 = 00 (read) or 01 (write), bytes 2-9 = entry bytes 0-7.
PasswordRecordBytes MakePasswordRecord(const PasswordEntryBytes& entry, Direction direction);

// True when entry bytes 0-7 equal the radio's password (bytes 11-18 of its FC record).
bool PasswordMatchesRadio(const PasswordEntryBytes& entry, const RadioPasswordBytes& radioRecord);

// ---- Stamping before a write ----------------------------------------------------------------

// What every write does to the image before it sends anything: the field numbers of every
// record of the channel, zone, scan-list, contact and receive-group tables and of RadioSettings,
// and the five option bits of RadioSettings cleared. These changes stay in the image.
void PrepareImageForWrite(Codeplug& codeplug);

// Message records are stamped one by one as they are sent: byte 0 = 0, byte 2 = 1.
void StampMessageRecord(std::span<std::uint8_t, 83> record);

// The MessageCount rule of the write: 0 or above 3 becomes 1. Returns the records to send.
std::uint32_t RepairMessageCountForWrite(Codeplug& codeplug);
// The records that rule will send, without repairing anything.
std::uint32_t MessagesToWrite(const Codeplug& codeplug);

struct Date {
    int year = 2000;
    int month = 1;
    int day = 1;
};
Date LocalDate();

// PasswordBlock as it is sent: byte 0 = 0, byte 10 = 80 when byte 1 is non-zero else 0,
// bytes 11-18 = bytes 2-9, byte 19 = 1, bytes 20-29 = the date as "%d,%02d,%02d".
void StampPasswordBlock(Codeplug& codeplug, const Date& date);

// ---- Statuses and messages ------------------------------------------------------------------

namespace status {
constexpr std::uint32_t ReadDone = 0;
constexpr std::uint32_t WriteDone = 1;
constexpr std::uint32_t Failed = 16;
constexpr std::uint32_t Damaged = 17;  // the radio's replies kept arriving damaged
constexpr std::uint32_t TooSlow = 18;  // the radio's replies trickled in too slowly to finish
constexpr std::uint32_t ReadRunning = 32;
constexpr std::uint32_t WriteRunning = 33;
constexpr std::uint32_t PasswordCode2 = 48;
constexpr std::uint32_t Refused = 176;
constexpr std::uint32_t ModelMismatch = 208;
constexpr std::uint32_t FirmwareTooOld = 209;
constexpr std::uint32_t Idle = 255;
constexpr std::uint32_t PasswordWanted = 256;
}  // namespace status

// The status a failing result code leaves: 1024 → 256, 2 → 48, 258 → 176, 257 → 208,
// 768 → 209, 515 (damaged replies) → 17, 516 (replies too slow) → 18, anything else (513
// included) → 16.
std::uint32_t StatusForFailure(int result);

// The RW_Str key of the message shown for a final status, if that status shows one.
std::optional<int> MessageKeyForStatus(std::uint32_t status);

// Statuses on which the dialog shows the password field.
bool WantsPassword(std::uint32_t status);

}  // namespace session
