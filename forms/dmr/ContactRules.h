#pragma once
// The editing rules of the contact list (ContactTable / ContactCount), free of any window.
//
// Contacts are addressed by their 0-based position. Every function bounds the stored count to
// the table, so a count or index read from a file can never take it past the 64 records.
// Deleting a contact keeps every reference to contacts pointing at the same contact: digital
// channels' transmit contact, receive-group members and one-touch entries.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "codeplug/Codeplug.h"
#include "codeplug/BcdId.h"

namespace contacts {

constexpr std::size_t kMaxContacts = 64;
constexpr std::size_t kNameChars = 16;  // the name editor's limit
constexpr std::size_t kIdChars = kBcdIdChars;  // the ID editor's limit
// A digital channel's transmit contact when the contact list is empty.
constexpr std::uint8_t kNoContact = 0xFF;
// IDs from here up are no contact's: the grid shows such an ID as the largest valid one.
constexpr std::uint32_t kFirstReservedId = 0x16777215;

// ContactCount bounded to the table.
std::size_t Count(const Codeplug& codeplug);
std::uint8_t CallType(const Codeplug& codeplug, std::size_t contact);
std::uint32_t Id(const Codeplug& codeplug, std::size_t contact);
// The name as the grid and every list of contacts show it.
std::string Name(const Codeplug& codeplug, std::size_t contact);
// "16777215" for an all call, otherwise the stored value's hexadecimal digits.
std::string IdText(const Codeplug& codeplug, std::size_t contact);

// The field that follows the call type, as the grid sets it when it shows a contact: an all-call
// contact holds the all-call ID; any other contact holding 0x16777215 or more gets the largest
// valid ID, 0x16776415.
void Normalise(Codeplug& codeplug, std::size_t contact);
// Normalise for contacts 0 … count − 1, as the grid is shown.
void RepairForShow(Codeplug& codeplug);

// Another listed contact of the same call type holding `id` (all calls excepted), if any.
std::optional<std::size_t> FindDuplicateId(const Codeplug& codeplug, std::size_t contact, std::uint32_t id);

// The smallest ID from 1 to 63 that no record of the table holds (all 64 records, whatever the
// count), else 64; as packed decimal digits.
std::uint32_t FreeSmallId(const Codeplug& codeplug);

// Stores the name as typed. False, and nothing stored, for a contact outside the list or a name
// that does not fit (NameProblem).
bool CommitName(Codeplug& codeplug, std::size_t contact, std::string_view text);

enum class CallTypeResult { Changed, AllCallExists, Refused };
// All call refused while any listed contact (this one included) already is one; all call gets
// the all-call ID, the other types a fresh ID by FreeSmallId. Types above all call are refused.
// A contact that is no longer a group call leaves every receive group list, and one that became
// an all call every one-touch entry.
CallTypeResult CommitCallType(Codeplug& codeplug, std::size_t contact, std::uint8_t callType);

enum class IdResult { Stored, Duplicate, Refused };
// Parses the typed hexadecimal digits with the radio-ID limits and stores them. Duplicate, and
// the old ID kept, when another listed contact of the same call type has that ID. Refused
// (nothing stored) for a contact outside the list or an all-call contact.
IdResult CommitId(Codeplug& codeplug, std::size_t contact, std::string_view text);

// Appends a group-call contact with the given name and a free small ID; false when full. When it
// is the first contact, channels that named none name it.
bool Add(Codeplug& codeplug, std::string_view name);

// Removes contact `contact`: later contacts move down one place, the count drops by one, and
// references follow: transmit contacts and one-touch entries naming later contacts are
// renumbered, receive-group members naming later contacts are renumbered and those naming the
// deleted one removed; a channel naming the deleted contact falls back to contact 0 and a
// one-touch entry naming it becomes "no call" (with no contact left, the channels name none).
// False (nothing changed) outside the list.
bool Delete(Codeplug& codeplug, std::size_t contact);

}  // namespace contacts
