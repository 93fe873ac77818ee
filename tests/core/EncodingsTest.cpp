#include "tests/core/TestFiles.h"

#include "forms/channels/Encodings.h"

namespace {

// The field up to its last non-zero byte: also proves everything after it is zero.
std::vector<int> Stored(std::span<const std::uint8_t> field)
{
    std::size_t end = field.size();
    while (end > 0 && field[end - 1] == 0)
        --end;
    return {field.begin(), field.begin() + static_cast<std::ptrdiff_t>(end)};
}

}  // namespace

TEST(Frequency, NormaliserSnapsAndClampsStoreConversionIsExact)
{
    const struct { const char* text; std::uint8_t band; const char* shown; std::uint32_t hz; } rows[] = {
        {"435.0125", 4, "435.012500", 435012500},
        {"435.0031", 4, "435.002500", 435002500},
        {"435.0060", 4, "435.006250", 435006250},
        {"435.00125", 4, "435.000000", 435000000},  // tie: the 5 kHz point is tried first
        {"440", 5, "400.000000", 400000000},
        {"300", 5, "350.000000", 350000000},
        {"390", 0, "400.000000", 400000000},  // any byte but 5 is 400-480
    };
    for (const auto& r : rows) {
        const std::string shown = NormaliseFrequencyText(r.text, r.band);
        EXPECT_EQ(shown, r.shown) << r.text;
        EXPECT_EQ(TextToFrequency(shown), r.hz) << r.text;
    }
    EXPECT_EQ(TextToFrequency(NormaliseFrequencyText("", 4)), 0u);
    for (const auto& [text, hz] : {std::pair<const char*, std::uint32_t>{"438.5 MHz", 438500000}, {"4294.967296", 0}})
        EXPECT_EQ(TextToFrequency(text), hz) << text;  // only the low 32 bits are stored
    EXPECT_EQ(FrequencyToText(0), "0.");
    for (std::uint32_t hz = 350000000; hz <= 480000000; hz += 625) {  // every raster point survives
        const std::string text = FrequencyToText(hz);
        ASSERT_EQ(TextToFrequency(text), hz) << text;
        if (hz % 2500 == 0 || hz % 6250 == 0) {
            ASSERT_EQ(NormaliseFrequencyText(text, hz < 400000000 ? 5 : 4), text);
        }
    }
}

TEST(Alias, PlainTextIsExpandedChineseGoesThroughGbkContactNamesKeepBlanks)
{
    const struct { const char* text; int length; std::vector<int> stored; const char* shown; } rows[] = {
        {"  AB ", 4, {0x41, 0, 0x42}, "AB"},
        {"中文", 4, {0xD6, 0xD0, 0xCE, 0xC4}, "中文"},
        {"A中", 4, {0x41, 0xD6, 0xD0}, "A中"},  // Chinese last: unexpanded, the length counts the zero
        {"~", 1, {0x7E}, "~"},  // 0x7E stands alone
        {"\xF0\x9F\x98\x80", 2, {'?'}, "?"},  // outside the code page
    };
    std::array<std::uint8_t, 36> field{};
    for (const auto& r : rows) {
        field.fill(0xEE);
        EXPECT_EQ(EncodeAlias(r.text, field), r.length) << r.text;
        EXPECT_EQ(Stored(field), r.stored) << r.text;
        EXPECT_EQ(DecodeAlias(r.length, field), r.shown) << r.text;
    }
    EXPECT_EQ(EncodeAlias("ABCDEFGHIJKLMNOPQRS", field), 38);  // cut at the field, count kept
    // Contact names keep their blanks; a length past the field stays inside it.
    EXPECT_EQ(EncodeContactName(" 调度台", field), 4);
    // The last byte is not plain text, so the blank is not expanded either.
    EXPECT_EQ(Stored(field), (std::vector<int>{0x20, 0xB5, 0xF7, 0xB6, 0xC8, 0xCC, 0xA8}));
    EXPECT_EQ(DecodeContactName(field), "调度台");
    field.fill('A');
    EXPECT_EQ(DecodeAlias(255, field), std::string(36, 'A'));
}

// Texts the radio sends about itself reach a terminal or a field decoded, with nothing that
// could act on the terminal.
TEST(RadioText, DecodedFromTheCodePageWithTheUnprintableEscaped)
{
    const struct { std::string sent; std::string shown; } rows[] = {
        {"SN-0042 V1.2", "SN-0042 V1.2"},
        {"\x1b[2J\x07\x7f", "\\x1b[2J\\x07\\x7f"},
        {"a\\b", "a\\\\b"},                              // a backslash cannot start a false escape
        {"\xd6\xd0\xce\xc4", "中文"},                      // GBK
        {"\x80", "€"},
        {"\xff\xd6", "\\xff\\xd6"},                       // no such byte; a lead byte at the end
        {"\x81\x20x", "\\x81 x"},                          // a lead byte without its trail byte
        {std::string("A\0B", 3), "A\\x00B"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(PrintableRadioText(r.sent), r.shown) << r.shown;
}

TEST(Tones, TextsAndTheStoredPairs)
{
    const struct { std::uint8_t type, index; std::optional<std::string> text; } shown[] = {
        {0x44, 1, "63.0"}, {0x42, 51, "254.1"}, {0xC2, 2, "D023N"}, {0xE4, 2, "D023I"}, {0x02, 0, ""},
        {0x44, 52, std::nullopt}, {0xE2, 109, std::nullopt},
    };
    for (const auto& r : shown)
        EXPECT_EQ(ToneText(r.type, r.index), r.text) << int(r.type) << "/" << int(r.index);
    const struct { const char* text; bool second; std::optional<ToneCode> code; } parsed[] = {
        {"d023n", false, ToneCode{0xC2, 2}}, {"100", true, ToneCode{0x44, 14}}, {"", true, ToneCode{0x04, 0}},
        {"OFF", false, ToneCode{0x02, 0}},   {"68.0", false, std::nullopt},
    };
    for (const auto& r : parsed)
        EXPECT_EQ(ToneFromText(r.text, r.second), r.code) << r.text;
    for (std::uint8_t i = 1; i <= 108; ++i)  // every DCS code, normal and inverted, round trip
        for (const std::uint8_t type : {0xC2, 0xE4})
            EXPECT_EQ(ToneFromText(ToneText(type, i).value_or("?"), type == 0xE4), (ToneCode{type, i}));
}
