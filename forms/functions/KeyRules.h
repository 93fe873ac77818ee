#pragma once
// The programmable keys: the function of each side key for a short and a long press, the
// long-press time and the five one-touch call entries, all held in RadioSettings.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "codeplug/Records.h"

struct Codeplug;

// The six key bytes in the order the form lists them: K1 short, K1 long, K2 short, K2 long,
// K3 short, K3 long.
constexpr std::array<std::size_t, 6> kKeyFunctionOffsets = {
    RadioSettingsField::K1Short, RadioSettingsField::K1Long, RadioSettingsField::K2Short,
    RadioSettingsField::K2Long,  RadioSettingsField::K3Short, RadioSettingsField::K3Long};
constexpr std::size_t kKeyFunctionCount = kKeyFunctionOffsets.size();

// The list position of a function code; a code the lists do not offer shows position 0.
int KeyFunctionPosition(std::uint8_t code);
// The code at a list position; positions outside the list give the first code.
std::uint8_t KeyFunctionCodeAt(int position);
// The text key ("Key" section) of the entry at a list position: 24 + its code.
int KeyFunctionTextKey(int position);

// Key function byte `key` (0 … 5, the order of kKeyFunctionOffsets) as a list position, and
// storing the code of a list position.
int KeyFunctionPositionOf(const Codeplug& codeplug, std::size_t key);
void SetKeyFunctionPosition(Codeplug& codeplug, std::size_t key, int position);

// ---- Long-press time: 1.0 … 5.0 seconds in half seconds ----

constexpr int kLongPressChoices = 9;
constexpr std::uint16_t kLongPressFirstMs = 1000;
constexpr std::uint16_t kLongPressStepMs = 500;
// "1.0" … "5.0".
std::string LongPressText(int position);
// (stored milliseconds - 1000) / 500, truncated toward zero; nullopt when that is no choice.
std::optional<int> LongPressPosition(const Codeplug& codeplug);
// Stores 1000 + 500 × position; a position outside the choices changes nothing.
void SetLongPressPosition(Codeplug& codeplug, int position);

// ---- One-touch call entries (k = 0 … 4) ----

constexpr std::size_t kOneTouchCount = RadioSettingsField::kOneTouchEntries;

struct OneTouchEntry {
    std::uint8_t kind;
    std::uint8_t contact;  // 0-based index into ContactTable
};
// Throws std::out_of_range for k past the five entries.
OneTouchEntry OneTouchAt(const Codeplug& codeplug, std::size_t k);
// Kind list position 1 makes the entry a call (kind 2), position 0 no call (kind 0); the
// contact byte is kept either way.
void SetOneTouchKind(Codeplug& codeplug, std::size_t k, int kindPosition);
// The kind list position shown for an entry: 1 for any kind but 0.
int OneTouchKindPosition(const Codeplug& codeplug, std::size_t k);
// The contact cell is editable only while the entry has a kind.
bool OneTouchContactEditable(const Codeplug& codeplug, std::size_t k);
// The contact's name for an entry that calls (kind 2), nullopt otherwise (the cell shows the
// "none" text). A contact byte past the contact table gives an empty name.
std::optional<std::string> OneTouchContactName(const Codeplug& codeplug, std::size_t k);

// The contacts an entry may call: contacts 0 … ContactCount - 1 of group or private call
// (all-call contacts left out), in table order, with their names and table indexes.
struct ContactChoice {
    std::string name;
    std::uint8_t index;
};
std::vector<ContactChoice> OneTouchContactChoices(const Codeplug& codeplug);
// Stores the contact index behind a list position; a position outside the list changes nothing.
void SetOneTouchContact(Codeplug& codeplug, std::size_t k, const std::vector<ContactChoice>& choices, int position);
// The list position of an entry's contact, nullopt when the list does not hold it.
std::optional<int> OneTouchContactPosition(const Codeplug& codeplug, std::size_t k,
                                           const std::vector<ContactChoice>& choices);
