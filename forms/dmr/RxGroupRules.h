#pragma once
// The editing rules of the receive group lists (RxGroupTable / RxGroupCount), free of any window.
//
// A list index outside the table is never used: callers pass the application's current index,
// which the functions bound to the table. Member bytes are contact positions; one naming a
// position past the contact table is an invalid member and is dropped, never read.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/Codeplug.h"

namespace rxgroups {

constexpr std::size_t kMaxLists = 32;
constexpr std::size_t kMaxMembers = 16;
constexpr std::size_t kNameChars = 18;

// RxGroupCount bounded to the table (0 stays 0).
std::size_t Count(const Codeplug& codeplug);
// The index a form may edit: `current` bounded to the table.
std::size_t Bounded(std::uint32_t current);

std::string Name(const Codeplug& codeplug, std::size_t list);
// Stores the trimmed name; an empty name clears the field and the length byte. False, and
// nothing stored, for a name that does not fit (NameProblem).
bool CommitName(Codeplug& codeplug, std::size_t list, std::string_view text);

// Keeps the members below the member count that name a group-call contact of the table, in
// order, rewrites them with the count and zeroes the remaining member bytes. Returns them.
std::vector<std::uint8_t> CleanMembers(Codeplug& codeplug, std::size_t list);
// Listed group-call contacts that are not members (call after CleanMembers).
std::vector<std::uint8_t> AvailableContacts(const Codeplug& codeplug, std::size_t list);

// Appends a contact as the last member; false when the list is full.
bool AddMember(Codeplug& codeplug, std::size_t list, std::uint8_t contact);

enum class RemoveResult { Removed, LastMember, NoSelection };
// Removes the member at `position` (0-based). LastMember (nothing changed) when the list holds
// one member or none.
RemoveResult RemoveMember(Codeplug& codeplug, std::size_t list, std::size_t position);

// Adds a list as a copy of list 1; false at 32 lists.
bool NewList(Codeplug& codeplug);
// Clears the last list and drops the count; every digital channel that named that list gets its
// receive group list turned off. False when a single list (or none) is left.
bool DeleteLastList(Codeplug& codeplug);

}  // namespace rxgroups
