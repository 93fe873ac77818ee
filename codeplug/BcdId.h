#pragma once
// DMR IDs as the codeplug holds them: the decimal digits packed four bits each into an unsigned
// 32-bit value, the last digit in the lowest four bits (ID 901 is the value 0x901). The radio's
// own ID and every contact ID use this form; valid IDs run from 1 to 0x16776415.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "codeplug/Records.h"

inline constexpr std::uint32_t kMinBcdId = 1;
inline constexpr std::uint32_t kMaxBcdId = DmrSettingsField::kMaxBcdId;
inline constexpr std::size_t kBcdIdChars = 8;
// The same limits as decimal numbers, as IDs are shown and typed.
inline constexpr std::uint32_t kMinIdNumber = 1;
inline constexpr std::uint32_t kMaxIdNumber = 16776415;  // an ID box takes at most eight characters

// The text an ID box shows: the stored value's hexadecimal digits, upper case, no leading zeros.
// For a valid ID these are exactly its decimal digits.
std::string BcdIdToText(std::uint32_t packed);

// The radio's own ID (DmrSettings bytes 1-4).
struct Codeplug;
std::uint32_t GetRadioId(const Codeplug& codeplug);
void SetRadioId(Codeplug& codeplug, std::uint32_t packed);

// What an ID box stores: its leading hexadecimal digits (A-F included, so "1AB" is 0x1AB; the
// first other character ends the number), then clamped: above 0x16776415 becomes 0x16776415,
// 0 (also an empty box) becomes 1. Long digit strings saturate.
std::uint32_t ParseBcdIdText(std::string_view text);

// Every nibble a decimal digit.
bool IsValidBcdId(std::uint32_t packed);

// Decimal number <-> packed digits. Pack fails above 99999999, Unpack for a non-decimal nibble.
std::optional<std::uint32_t> PackBcdId(std::uint32_t decimal);
std::optional<std::uint32_t> UnpackBcdId(std::uint32_t packed);
