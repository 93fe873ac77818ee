#pragma once
// The three preset text messages: MessageTable records and the MessageCount in use.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

struct Codeplug;

constexpr std::size_t kMessageSlots = 3;

// The count as the form shows it: a count above 3 is reset to 0 in the image first.
std::uint32_t ShownMessageCount(Codeplug& codeplug);

// Message n (0-based) as text; "" for n past the table.
std::string MessageText(const Codeplug& codeplug, std::size_t n);

// Stores the text, blanks trimmed, as message n in the alias encoding; the record's marker bytes
// are left alone. False, and nothing stored, for a text that does not fit (NameProblem: 40
// characters, 80 bytes). Throws std::out_of_range for n past the table.
bool SetMessageText(Codeplug& codeplug, std::size_t n, std::string_view utf8);

// A click on grid row `row` (1 … 3, message row - 1): the row just after the messages in use
// brings one more message into use, its text empty. True when the row's message may then be edited; false for
// rows further on, which stay as they are.
bool OpenMessageRow(Codeplug& codeplug, int row);
