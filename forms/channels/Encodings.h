#pragma once
// How channel records hold frequencies, tones and names, and their texts.
//
// Texts are UTF-8 everywhere in the program. The radio holds names in its 8-bit code page
// (CP936, GBK), so aliases are converted on the way in and out; anything the code page cannot
// hold becomes '?', and undecodable bytes read from a record become U+FFFD.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// ---- Frequencies ----

struct FrequencyBand {
    std::uint32_t lower;
    std::uint32_t upper;
};
// The band chosen by the FrequencyRange byte of RadioSettings: 5 selects 350-400 MHz, any other
// value 400-480 MHz.
FrequencyBand BandForRange(std::uint8_t frequencyRange);

// The text the user typed (MHz, three digits before the point assumed) snapped to the channel
// raster (5 kHz, 6.25 kHz or 2.5 kHz, whichever is nearest) and clamped to the band; 0 stays 0.
// The result is printed with at least two digits and a point after the third character.
std::string NormaliseFrequencyText(std::string_view text, std::uint8_t frequencyRange);

// 435012500 -> "435.012500"; 0 -> "0.".
std::string FrequencyToText(std::uint32_t hertz);

// The decimal MHz text as hertz, exactly: the digits before the point are megahertz, the first
// six after it the fraction; parsing stops at the first other character. Only the low 32 bits of
// an oversized value are kept, as the radio's field holds no more.
std::uint32_t TextToFrequency(std::string_view text);

// ---- Aliases ----

// Conversions between UTF-8 and the radio's code page. Never throw.
std::string Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8(std::string_view ansi);

// A text the radio sent about itself (serial number, firmware versions), in its code page, as it
// may be shown on a terminal or in a window: decoded to UTF-8, with every control character and
// every byte that does not decode written as \xNN (ESC as \x1b) and a backslash as \\. The
// command-line tool and the radio-information dialog both show these texts through it.
std::string PrintableRadioText(std::string_view codePage);

// Stores a name in a field of 36 (names) or 80 (messages) bytes: the text, trimmed of blanks,
// in the code page, each byte below 0x7E followed by 0x00. When the last converted byte is 0x7E or
// above the bytes are stored unexpanded. The field is cleared and always completely written;
// the result is the length byte (the expanded count, at most 255).
std::uint8_t EncodeAlias(std::string_view text, std::span<std::uint8_t> field);

// Reads `length` bytes from the field, skipping one 0x00 before each byte taken, up to the
// first zero byte. Never reads past the field, whatever the length byte says.
std::string DecodeAlias(std::uint8_t length, std::span<const std::uint8_t> field);

// Contact names: stored as typed (not trimmed), the length byte holding the number of characters.
std::uint8_t EncodeContactName(std::string_view text, std::span<std::uint8_t> field);
// The zero-skipping rule applied to the whole field, the length byte ignored, result trimmed.
// Also how other records show contact names.
std::string DecodeContactName(std::span<const std::uint8_t> field);

// What keeps a name from being stored whole: "" when it fits, otherwise the reason. A name fits
// when it has at most maxChars characters, none the radio cannot show (outside its code page, or
// a control character such as a tab, a line break or NUL), and its bytes as the radio stores them
// (each byte below 0x7E followed by 0x00, so a GBK character whose trail byte is below 0x7E takes
// three) fill at most fieldBytes: the length byte never exceeds the field and nothing is cut.
// Every way a name comes in (the forms' boxes, the imports, the check) asks this one rule.
std::string NameProblem(std::string_view utf8, std::size_t maxChars, std::size_t fieldBytes);
// Stores a name the alias way (EncodeAlias) into its length byte and field when it fits
// (NameProblem of the trimmed text with the field's size); false, and nothing changed, when not.
bool StoreAlias(std::string_view utf8, std::size_t maxChars, std::uint8_t& length, std::span<std::uint8_t> field);
// The bytes a name takes in its field: the expanded count EncodeAlias puts in the length byte.
std::size_t EncodedNameBytes(std::string_view utf8);

// The first maxChars characters of UTF-8 text (the edit boxes' limits).
std::string CutToChars(std::string_view utf8, std::size_t maxChars);
std::size_t CountChars(std::string_view utf8);
std::string TrimBlanks(std::string_view text);

// ---- Tones ----

extern const std::array<std::string_view, 51> CtcssList;  // "63.0" ... "254.1"
extern const std::array<std::string_view, 108> DcsList;   // "017" ... "754"

namespace ToneBits {
constexpr std::uint8_t kSet = 0x40;
constexpr std::uint8_t kDcs = 0x80;
constexpr std::uint8_t kInverted = 0x20;
constexpr std::uint8_t kTailFirst = 0x02;
constexpr std::uint8_t kTailSecond = 0x04;
}  // namespace ToneBits

enum class ToneKind { None, Ctcss, DcsNormal, DcsInverted };

// The meaning of a ToneType byte by its bits.
ToneKind ToneKindOf(std::uint8_t toneType);
// The receive side's tail-elimination choice: true for the second (0x04) choice.
inline bool UsesSecondTail(std::uint8_t toneType) { return (toneType & ToneBits::kTailSecond) != 0; }
// The ToneType byte the forms write: the receive side carries the tail choice, the transmit
// side always uses the 0x_4 form.
std::uint8_t ToneTypeFor(ToneKind kind, bool secondTail);
// The transmit ToneType that copying a receive ToneType gives: 0x42/0x44 -> 0x44,
// 0xC2/0xC4 -> 0xC4, 0xE2/0xE4 -> 0xE4, anything else -> 0x04.
std::uint8_t TxToneTypeFromRx(std::uint8_t rxToneType);

// "" for no tone, "67.0" for CTCSS, "D023N" / "D023I" for DCS; nullopt when the index is
// outside its list.
std::optional<std::string> ToneText(std::uint8_t toneType, std::uint8_t toneIndex);

struct ToneCode {
    std::uint8_t type;
    std::uint8_t index;
    bool operator==(const ToneCode&) const = default;
};
// The reverse of ToneText: "" (or "OFF"/"none") is no tone; "67.0" or "67" a CTCSS tone;
// "D023N" / "D023I" a DCS code (the "D" and case optional, "N" assumed). nullopt for other text.
std::optional<ToneCode> ToneFromText(std::string_view text, bool secondTail);
