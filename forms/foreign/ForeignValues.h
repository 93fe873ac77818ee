#pragma once
// Values as other programs write them, turned into the texts the field schema takes.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A frequency as hertz, rounded to the hertz: "446.00625", "446,00625" (a decimal comma),
// "431.96249999999998", or with a unit: "446.00625 MHz", "12.5 kHz", "446006250 Hz". Without a
// unit the number is `defaultUnitHz` hertz per unit (1000000: megahertz). nullopt for anything
// else, negative numbers and values past 10 GHz.
std::optional<std::uint64_t> ParseHertz(std::string_view text, std::uint64_t defaultUnitHz = 1000000);

// Hertz as MHz text with six decimals ("446.006250"), whatever the number of digits.
std::string MegahertzText(std::uint64_t hertz);
// Hertz as the shortest MHz text ("446.00625", "439.5").
std::string ShortMegahertzText(std::uint64_t hertz);

// A CTCSS frequency ("67", "67.0", "88,5", "88.5 Hz") as the text of the radio's tone list
// ("67.0"); nullopt when the radio has no such tone or the text is not a number.
std::optional<std::string> CtcssTone(std::string_view text);
// A DCS code ("23", "023") with its polarity as "D023N" / "D023I"; nullopt when the radio has
// no such code.
std::optional<std::string> DcsTone(std::string_view code, bool inverted);

// Transmit power as the radio's two levels. Watts ("5.0W", "1 W", "0,5W") pick "High" from
// kHighPowerWatts up and "Low" below; words: Min/Low -> "Low", Mid/Medium/High/Max -> "High".
inline constexpr double kHighPowerWatts = 4.0;
std::optional<std::string> PowerLevel(std::string_view text);

// A name as the radio can hold it: characters its code page lacks become '?', then it is cut to
// `maxChars` characters; a note says what changed.
std::string FitName(std::string_view text, std::size_t maxChars, std::vector<std::string>& notes);

// Lower case, blanks and the characters " _-." removed: how column names are compared.
std::string LooseKey(std::string_view text);

// A codeplug written in another program's format.
struct ForeignExport {
    std::string text;
    std::vector<std::string> notes;  // what the format could not carry exactly
};
