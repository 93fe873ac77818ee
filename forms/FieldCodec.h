#pragma once
// What the field schema's reading, judging and writing share: byte access within a record, the
// texts of list choices and of invalid values, and the rules of names and frequency texts.
#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "codeplug/Bytes.h"
#include "codeplug/Records.h"
#include "forms/FieldSchema.h"
#include "forms/channels/Encodings.h"

namespace fieldcodec {

using Bytes = std::span<const std::uint8_t>;

inline constexpr std::array<std::string_view, 2> kOffOn = {"Off", "On"};

inline std::string Lower(std::string_view text)
{
    std::string out = TrimBlanks(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

inline std::uint32_t GetLE(Bytes r, std::size_t at, std::size_t width)
{
    RequireRange(r.size(), at, width);
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < width; ++i)
        v |= static_cast<std::uint32_t>(r[at + i]) << (8 * i);
    return v;
}

inline void PutLE(std::span<std::uint8_t> r, std::size_t at, std::size_t width, std::uint32_t v)
{
    RequireRange(r.size(), at, width);
    for (std::size_t i = 0; i < width; ++i)
        r[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline void PutBits(std::uint8_t& byte, std::uint8_t mask, std::uint8_t value)
{
    byte = static_cast<std::uint8_t>((byte & ~mask) | (value & mask));
}

inline std::string Hex2(unsigned v)
{
    char b[8];
    std::snprintf(b, sizeof b, "0x%02X", v & 0xFFu);
    return b;
}

inline std::string Invalid(std::string what) { return "invalid (" + what + ")"; }

inline std::optional<std::int64_t> Integer(const FieldValue& value)
{
    if (value.is_number_integer())
        return value.get<std::int64_t>();
    if (value.is_number_unsigned())
        return static_cast<std::int64_t>(value.get<std::uint64_t>());
    return std::nullopt;
}

inline std::string ChoiceList(std::span<const std::string_view> choices)
{
    std::string out;
    for (const std::string_view c : choices)
        out += (out.empty() ? "\"" : ", \"") + std::string(c) + "\"";
    return out;
}

inline std::optional<std::size_t> MatchChoice(std::span<const std::string_view> choices, const FieldValue& value)
{
    if (!value.is_string())
        return std::nullopt;
    const std::string wanted = Lower(value.get<std::string>());
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (Lower(choices[i]) == wanted)
            return i;
    }
    return std::nullopt;
}

// The name of an alias-like field, as a form would commit it.
inline std::string NameError(const FieldDef& f, const std::string& text)
{
    return NameProblem(f.codec == Codec::Alias ? TrimBlanks(text) : text, static_cast<std::size_t>(f.max), f.width);
}

// "435.012500", "435.0125", "0." or "0": three digits before the point for any other value.
inline bool FrequencyTextWellFormed(std::string_view t)
{
    const std::size_t point = t.find('.');
    const std::string_view whole = t.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view{} : t.substr(point + 1);
    const auto digits = [](std::string_view s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!digits(whole) || !digits(fraction) || fraction.size() > 6 || whole.empty())
        return false;
    return whole == "0" ? fraction.find_first_not_of('0') == std::string_view::npos : whole.size() == 3;
}

inline std::string ChannelMemberText(std::uint8_t kind, std::uint16_t index)
{
    if (kind == ChannelRef::kDigital)
        return "D" + std::to_string(index + 1);
    if (kind == ChannelRef::kAnalog)
        return "A" + std::to_string(index + 1);
    return Invalid("kind " + std::to_string(kind) + ", index " + std::to_string(index));
}

}  // namespace fieldcodec
