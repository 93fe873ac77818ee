#include "forms/foreign/ForeignValues.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "forms/channels/Encodings.h"

namespace {

constexpr std::uint64_t kLargestHertz = 10'000'000'000ULL;

std::string Lower(std::string_view text)
{
    std::string out = TrimBlanks(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// A decimal number with a point or a comma, split off from what follows it (a unit).
struct Decimal {
    std::uint64_t whole = 0;
    std::string fraction;  // the digits after the point, as written
    std::string rest;      // the text after the number, trimmed
};

std::optional<Decimal> ReadDecimal(std::string_view text)
{
    const std::string t = TrimBlanks(text);
    Decimal d;
    std::size_t i = 0;
    bool digits = false;
    for (; i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])); ++i) {
        if (d.whole > kLargestHertz)
            return std::nullopt;
        d.whole = d.whole * 10 + static_cast<std::uint64_t>(t[i] - '0');
        digits = true;
    }
    if (i < t.size() && (t[i] == '.' || t[i] == ',')) {
        for (++i; i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])); ++i) {
            d.fraction += t[i];
            digits = true;
        }
    }
    if (!digits || d.fraction.size() > 40)
        return std::nullopt;
    d.rest = TrimBlanks(std::string_view(t).substr(i));
    return d;
}

// whole.fraction times `unit` (a power of ten), rounded half up to a whole number.
std::optional<std::uint64_t> Scaled(const Decimal& d, std::uint64_t unit)
{
    if (d.whole > kLargestHertz / unit)
        return std::nullopt;
    std::uint64_t value = d.whole * unit;
    std::uint64_t place = unit;
    std::size_t i = 0;
    for (; i < d.fraction.size() && place > 1; ++i) {
        place /= 10;
        value += static_cast<std::uint64_t>(d.fraction[i] - '0') * place;
    }
    if (i < d.fraction.size() && d.fraction[i] >= '5')
        ++value;
    return value;
}

}  // namespace

std::optional<std::uint64_t> ParseHertz(std::string_view text, std::uint64_t defaultUnitHz)
{
    const auto d = ReadDecimal(text);
    if (!d)
        return std::nullopt;
    const std::string unit = Lower(d->rest);
    std::uint64_t scale = defaultUnitHz;
    if (unit == "ghz")
        scale = 1'000'000'000;
    else if (unit == "mhz")
        scale = 1'000'000;
    else if (unit == "khz")
        scale = 1'000;
    else if (unit == "hz")
        scale = 1;
    else if (!unit.empty())
        return std::nullopt;
    const auto hertz = Scaled(*d, scale);
    if (!hertz || *hertz > kLargestHertz)
        return std::nullopt;
    return hertz;
}

std::string MegahertzText(std::uint64_t hertz)
{
    char text[32];
    std::snprintf(text, sizeof text, "%llu.%06llu", static_cast<unsigned long long>(hertz / 1000000),
                  static_cast<unsigned long long>(hertz % 1000000));
    return text;
}

std::string ShortMegahertzText(std::uint64_t hertz)
{
    std::string text = MegahertzText(hertz);
    while (text.back() == '0' && text[text.size() - 2] != '.')
        text.pop_back();
    return text;
}

std::optional<std::string> CtcssTone(std::string_view text)
{
    const auto d = ReadDecimal(text);
    if (!d || !(d->rest.empty() || Lower(d->rest) == "hz"))
        return std::nullopt;
    const auto tenths = Scaled(*d, 10);
    if (!tenths || *tenths > 100000)
        return std::nullopt;
    const std::string wanted = std::to_string(*tenths / 10) + "." + std::to_string(*tenths % 10);
    const auto found = std::find(CtcssList.begin(), CtcssList.end(), wanted);
    if (found == CtcssList.end())
        return std::nullopt;
    return std::string(*found);
}

std::optional<std::string> DcsTone(std::string_view code, bool inverted)
{
    std::string digits = TrimBlanks(code);
    if (digits.empty() || digits.size() > 3 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '7'; }))
        return std::nullopt;
    digits.insert(0, 3 - digits.size(), '0');
    if (std::find(DcsList.begin(), DcsList.end(), digits) == DcsList.end())
        return std::nullopt;
    return "D" + digits + (inverted ? "I" : "N");
}

std::optional<std::string> PowerLevel(std::string_view text)
{
    const std::string t = Lower(text);
    if (t == "min" || t == "low" || t == "lo" || t == "l")
        return "Low";
    if (t == "mid" || t == "medium" || t == "high" || t == "hi" || t == "h" || t == "max")
        return "High";
    const auto d = ReadDecimal(t);
    if (!d || !(d->rest.empty() || d->rest == "w"))
        return std::nullopt;
    const auto milliwatts = Scaled(*d, 1000);
    if (!milliwatts)
        return std::nullopt;
    return *milliwatts >= static_cast<std::uint64_t>(kHighPowerWatts * 1000) ? "High" : "Low";
}

std::string FitName(std::string_view text, std::size_t maxChars, std::vector<std::string>& notes)
{
    const std::string trimmed = TrimBlanks(text);
    std::string shown = AnsiToUtf8(Utf8ToAnsi(trimmed));
    if (shown != trimmed)
        notes.push_back("name \"" + trimmed + "\" holds characters the radio cannot show: stored as \"" + shown + "\"");
    if (CountChars(shown) > maxChars) {
        const std::string cut = TrimBlanks(CutToChars(shown, maxChars));
        notes.push_back("name \"" + shown + "\" cut to " + std::to_string(maxChars) + " characters: \"" + cut + "\"");
        shown = cut;
    }
    return shown;
}

std::string LooseKey(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == ' ' || c == '_' || c == '-' || c == '.' || c == '\t')
            continue;
        out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}
