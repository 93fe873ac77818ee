#include "forms/channels/Encodings.h"

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <vector>

namespace {

constexpr std::uint8_t kExpandBelow = 0x7E;  // bytes below this are followed by 0x00
constexpr std::string_view kBlanks = " \t\r\n\f\v";
constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";  // U+FFFD

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Inserts the point after the third character, or at the end of a shorter text.
std::string WithPoint(std::string digits)
{
    digits.insert(std::min<std::size_t>(3, digits.size()), 1, '.');
    return digits;
}

// ---- code page conversion ----

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (valid())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts everything it can; an input sequence it cannot take is replaced by `replacement`
    // and skipped (skipBad gives its length), an incomplete sequence at the end likewise.
    template <typename SkipBad>
    std::string Convert(std::string_view in, std::string_view replacement, SkipBad skipBad)
    {
        std::string out;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* input = const_cast<char*>(in.data());
        std::size_t inputLeft = in.size();
        char buffer[256];
        while (inputLeft > 0) {
            char* output = buffer;
            std::size_t outputLeft = sizeof buffer;
            const std::size_t result = iconv(cd_, &input, &inputLeft, &output, &outputLeft);
            const int error = errno;
            out.append(buffer, static_cast<std::size_t>(output - buffer));
            if (result != static_cast<std::size_t>(-1))
                continue;
            if (error == E2BIG)
                continue;
            out += replacement;
            if (error == EINVAL)  // incomplete sequence at the end
                break;
            const std::size_t skip =
                std::clamp<std::size_t>(skipBad(std::string_view(input, inputLeft)), 1, inputLeft);
            input += skip;
            inputLeft -= skip;
        }
        char* output = buffer;
        std::size_t outputLeft = sizeof buffer;
        iconv(cd_, nullptr, nullptr, &output, &outputLeft);
        out.append(buffer, static_cast<std::size_t>(output - buffer));
        return out;
    }

private:
    iconv_t cd_;
};

// Length of the UTF-8 character at the start of text: the lead byte and its continuation bytes.
std::size_t Utf8CharLength(std::string_view text)
{
    std::size_t n = 1;
    while (n < text.size() && n < 4 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        ++n;
    return n;
}

std::string AsciiOnly(std::string_view text, std::string_view replacement, bool utf8Input)
{
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
        } else {
            out += replacement;
            i += utf8Input ? Utf8CharLength(text.substr(i)) : 1;
        }
    }
    return out;
}

// Expands converted bytes as the radio expects and writes them into the cleared field.
std::size_t StoreExpanded(std::string_view ansi, std::span<std::uint8_t> field)
{
    std::vector<std::uint8_t> expanded;
    for (const char ch : ansi) {
        const auto byte = static_cast<std::uint8_t>(ch);
        expanded.push_back(byte);
        if (byte < kExpandBelow)
            expanded.push_back(0);
    }
    std::fill(field.begin(), field.end(), std::uint8_t{0});
    const bool lastIsWide = !ansi.empty() && static_cast<std::uint8_t>(ansi.back()) >= kExpandBelow;
    if (lastIsWide) {
        // Such a name is kept as converted, without the zero bytes.
        std::copy_n(reinterpret_cast<const std::uint8_t*>(ansi.data()), std::min(ansi.size(), field.size()),
                    field.begin());
    } else {
        std::copy_n(expanded.begin(), std::min(expanded.size(), field.size()), field.begin());
    }
    return expanded.size();
}

std::string UpTo(std::string_view text, char end) { return std::string(text.substr(0, text.find(end))); }

}  // namespace

// ---- Frequencies ----

FrequencyBand BandForRange(std::uint8_t frequencyRange)
{
    if (frequencyRange == 5)
        return {350000000, 400000000};
    return {400000000, 480000000};
}

std::string NormaliseFrequencyText(std::string_view text, std::uint8_t frequencyRange)
{
    const FrequencyBand band = BandForRange(frequencyRange);

    const std::string trimmed = TrimBlanks(text);
    std::string digits;
    for (const char c : trimmed) {
        if (c != '.')
            digits += c;
    }
    if (digits.size() < 9)
        digits += "000000000";
    digits.resize(9);
    std::int64_t value = 0;
    for (const char c : digits) {
        if (!IsDigit(c))
            break;
        value = value * 10 + (c - '0');
    }

    // Nearest point of the three rasters; on a tie the earlier candidate wins.
    std::int64_t best = value;
    std::int64_t bestDistance = -1;
    for (const std::int64_t step : {5000, 6250, 2500}) {
        const std::int64_t base = value / step * step;
        for (const std::int64_t candidate : {base, base + step, base - step}) {
            const std::int64_t distance = candidate > value ? candidate - value : value - candidate;
            if (bestDistance < 0 || distance < bestDistance) {
                best = candidate;
                bestDistance = distance;
            }
        }
    }
    if (best != 0) {
        if (best > band.upper)
            best = band.upper;
        else if (best < band.lower)
            best = band.lower;
    }
    char printed[24];
    std::snprintf(printed, sizeof printed, "%02lld", static_cast<long long>(best));
    return WithPoint(printed);
}

std::string FrequencyToText(std::uint32_t hertz) { return WithPoint(std::to_string(hertz)); }

std::uint32_t TextToFrequency(std::string_view text)
{
    std::size_t i = text.find_first_not_of(kBlanks);
    if (i == std::string_view::npos)
        return 0;
    // Unsigned arithmetic wraps modulo 2^64, which keeps the low 32 bits exact.
    std::uint64_t megahertz = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        megahertz = megahertz * 10 + static_cast<unsigned>(text[i] - '0');
    std::uint64_t fraction = 0;
    std::size_t fractionDigits = 0;
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i) {
            if (fractionDigits < 6) {
                fraction = fraction * 10 + static_cast<unsigned>(text[i] - '0');
                ++fractionDigits;
            }
        }
    }
    for (; fractionDigits < 6; ++fractionDigits)
        fraction *= 10;
    return static_cast<std::uint32_t>(megahertz * 1000000u + fraction);
}

// ---- Aliases ----

std::string Utf8ToAnsi(std::string_view utf8)
{
    thread_local Converter converter("CP936", "UTF-8");
    if (!converter.valid())
        return AsciiOnly(utf8, "?", true);
    return converter.Convert(utf8, "?", Utf8CharLength);
}

std::string AnsiToUtf8(std::string_view ansi)
{
    if (std::all_of(ansi.begin(), ansi.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(ansi);  // plain ASCII reads the same in both
    thread_local Converter converter("UTF-8", "CP936");
    if (!converter.valid())
        return AsciiOnly(ansi, kReplacementUtf8, false);
    return converter.Convert(ansi, kReplacementUtf8, [](std::string_view) { return std::size_t{1}; });
}

std::string PrintableRadioText(std::string_view codePage)
{
    std::string out;
    const auto escape = [&](unsigned char byte) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02x", byte);
        out += hex;
    };
    for (std::size_t i = 0; i < codePage.size(); ++i) {
        const auto byte = static_cast<unsigned char>(codePage[i]);
        if (byte == '\\') {
            out += "\\\\";
        } else if (byte >= 0x20 && byte < 0x7F) {
            out += static_cast<char>(byte);
        } else if (byte < 0x80 || byte == 0xFF) {
            escape(byte);
        } else {
            // A character of one byte (0x80) or of a lead byte and its trail byte: decoded when
            // the code page knows it, else the lead byte is escaped and the next byte taken afresh.
            const std::size_t length = byte == 0x80 || i + 1 == codePage.size() ? 1 : 2;
            const std::string decoded = AnsiToUtf8(codePage.substr(i, length));
            if (decoded.find(kReplacementUtf8) != std::string::npos ||
                (length == 2 && static_cast<unsigned char>(codePage[i + 1]) < 0x40)) {
                escape(byte);
                continue;
            }
            out += decoded;
            i += length - 1;
        }
    }
    return out;
}

std::string TrimBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(kBlanks);
    return std::string(text.substr(first, last - first + 1));
}

std::size_t CountChars(std::string_view utf8)
{
    return static_cast<std::size_t>(std::count_if(
        utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string CutToChars(std::string_view utf8, std::size_t maxChars)
{
    std::size_t chars = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
            if (chars == maxChars)
                return std::string(utf8.substr(0, i));
            ++chars;
        }
    }
    return std::string(utf8);
}

std::uint8_t EncodeAlias(std::string_view text, std::span<std::uint8_t> field)
{
    const std::string ansi = Utf8ToAnsi(TrimBlanks(UpTo(text, '\0')));
    return static_cast<std::uint8_t>(std::min<std::size_t>(StoreExpanded(ansi, field), 255));
}

std::uint8_t EncodeContactName(std::string_view text, std::span<std::uint8_t> field)
{
    const std::string typed = UpTo(text, '\0');
    StoreExpanded(Utf8ToAnsi(typed), field);
    return static_cast<std::uint8_t>(std::min<std::size_t>(CountChars(typed), 255));
}

std::size_t EncodedNameBytes(std::string_view utf8)
{
    const std::string ansi = Utf8ToAnsi(utf8);
    return ansi.size() + static_cast<std::size_t>(std::count_if(ansi.begin(), ansi.end(), [](char c) {
               return static_cast<std::uint8_t>(c) < kExpandBelow;
           }));
}

std::string NameProblem(std::string_view utf8, std::size_t maxChars, std::size_t fieldBytes)
{
    const bool control = std::any_of(utf8.begin(), utf8.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
    if (control || AnsiToUtf8(Utf8ToAnsi(utf8)) != utf8)
        return "holds characters the radio cannot show";
    if (CountChars(utf8) > maxChars)
        return "longer than " + std::to_string(maxChars) + " characters";
    if (const std::size_t bytes = EncodedNameBytes(utf8); bytes > fieldBytes)
        return "needs " + std::to_string(bytes) + " bytes of the " + std::to_string(fieldBytes) +
               "-byte name field (some characters take 3 bytes)";
    return {};
}

bool StoreAlias(std::string_view utf8, std::size_t maxChars, std::uint8_t& length, std::span<std::uint8_t> field)
{
    if (!NameProblem(TrimBlanks(utf8), maxChars, field.size()).empty())
        return false;
    length = EncodeAlias(utf8, field);
    return true;
}

std::string DecodeAlias(std::uint8_t length, std::span<const std::uint8_t> field)
{
    std::string ansi;
    std::size_t position = 0;
    for (std::size_t taken = 0; taken < length; ++taken) {
        if (position < field.size() && field[position] == 0)
            ++position;
        if (position >= field.size())
            break;
        const std::uint8_t byte = field[position++];
        if (byte == 0)
            break;
        ansi += static_cast<char>(byte);
    }
    return AnsiToUtf8(ansi);
}

std::string DecodeContactName(std::span<const std::uint8_t> field)
{
    const std::size_t length = std::min<std::size_t>(field.size(), 255);
    return TrimBlanks(DecodeAlias(static_cast<std::uint8_t>(length), field));
}

// ---- Tones ----

const std::array<std::string_view, 51> CtcssList = {
    "63.0",  "67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",  "91.5",
    "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3", "131.8",
    "136.5", "141.3", "146.2", "151.4", "156.7", "159.8", "162.2", "165.5", "167.9", "171.3", "173.8",
    "177.3", "179.9", "183.5", "186.2", "189.9", "192.8", "196.6", "199.5", "203.5", "206.5", "210.7",
    "218.1", "225.7", "229.1", "233.6", "241.8", "250.3", "254.1"};

const std::array<std::string_view, 108> DcsList = {
    "017", "023", "025", "026", "031", "032", "036", "043", "047", "050", "051", "053", "054", "065", "071",
    "072", "073", "074", "114", "115", "116", "122", "125", "131", "132", "134", "143", "145", "152", "155",
    "156", "162", "165", "172", "174", "205", "212", "223", "225", "226", "232", "243", "244", "245", "246",
    "251", "252", "255", "261", "263", "265", "266", "271", "274", "306", "311", "315", "325", "331", "332",
    "343", "346", "351", "356", "364", "365", "371", "411", "412", "413", "423", "431", "432", "445", "446",
    "452", "454", "455", "462", "464", "465", "466", "503", "506", "516", "523", "526", "532", "546", "565",
    "606", "612", "624", "627", "631", "632", "646", "654", "662", "664", "703", "712", "723", "731", "732",
    "734", "743", "754"};

ToneKind ToneKindOf(std::uint8_t toneType)
{
    if ((toneType & ToneBits::kSet) == 0)
        return ToneKind::None;
    if ((toneType & ToneBits::kDcs) == 0)
        return ToneKind::Ctcss;
    return (toneType & ToneBits::kInverted) != 0 ? ToneKind::DcsInverted : ToneKind::DcsNormal;
}

std::uint8_t ToneTypeFor(ToneKind kind, bool secondTail)
{
    std::uint8_t type = secondTail ? ToneBits::kTailSecond : ToneBits::kTailFirst;
    switch (kind) {
    case ToneKind::None: break;
    case ToneKind::Ctcss: type |= ToneBits::kSet; break;
    case ToneKind::DcsNormal: type |= ToneBits::kSet | ToneBits::kDcs; break;
    case ToneKind::DcsInverted: type |= ToneBits::kSet | ToneBits::kDcs | ToneBits::kInverted; break;
    }
    return type;
}

std::uint8_t TxToneTypeFromRx(std::uint8_t rxToneType)
{
    switch (rxToneType) {
    case 0x42:
    case 0x44: return 0x44;
    case 0xC2:
    case 0xC4: return 0xC4;
    case 0xE2:
    case 0xE4: return 0xE4;
    default: return 0x04;
    }
}

std::optional<std::string> ToneText(std::uint8_t toneType, std::uint8_t toneIndex)
{
    const ToneKind kind = ToneKindOf(toneType);
    if (kind == ToneKind::None)
        return std::string();
    if (kind == ToneKind::Ctcss) {
        if (toneIndex < 1 || toneIndex > CtcssList.size())
            return std::nullopt;
        return std::string(CtcssList[toneIndex - 1]);
    }
    if (toneIndex < 1 || toneIndex > DcsList.size())
        return std::nullopt;
    return "D" + std::string(DcsList[toneIndex - 1]) + (kind == ToneKind::DcsInverted ? "I" : "N");
}

std::optional<ToneCode> ToneFromText(std::string_view text, bool secondTail)
{
    std::string t = TrimBlanks(text);
    std::transform(t.begin(), t.end(), t.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (t.empty() || t == "OFF" || t == "NONE")
        return ToneCode{ToneTypeFor(ToneKind::None, secondTail), 0};

    for (std::size_t i = 0; i < CtcssList.size(); ++i) {
        if (t == CtcssList[i] || t + ".0" == CtcssList[i])
            return ToneCode{ToneTypeFor(ToneKind::Ctcss, secondTail), static_cast<std::uint8_t>(i + 1)};
    }
    ToneKind kind = ToneKind::DcsNormal;
    std::string_view code = t;
    if (!code.empty() && code.front() == 'D')
        code.remove_prefix(1);
    if (!code.empty() && (code.back() == 'N' || code.back() == 'I')) {
        kind = code.back() == 'I' ? ToneKind::DcsInverted : ToneKind::DcsNormal;
        code.remove_suffix(1);
    }
    for (std::size_t i = 0; i < DcsList.size(); ++i) {
        if (code == DcsList[i])
            return ToneCode{ToneTypeFor(kind, secondTail), static_cast<std::uint8_t>(i + 1)};
    }
    return std::nullopt;
}
