#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "forms/channels/Encodings.h"

namespace {

constexpr std::uint8_t kBand400 = 4;
constexpr std::uint8_t kBand350 = 5;

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values)
{
    std::vector<std::uint8_t> out;
    for (int v : values)
        out.push_back(static_cast<std::uint8_t>(v));
    return out;
}

std::vector<std::uint8_t> Head(const std::array<std::uint8_t, 36>& field, std::size_t n)
{
    return {field.begin(), field.begin() + static_cast<std::ptrdiff_t>(n)};
}

bool RestIsZero(const std::array<std::uint8_t, 36>& field, std::size_t from)
{
    for (std::size_t i = from; i < field.size(); ++i) {
        if (field[i] != 0)
            return false;
    }
    return true;
}

}  // namespace

TEST(FrequencyNormaliser, SnapsToTheNearestRasterPoint)
{
    EXPECT_EQ(NormaliseFrequencyText("435.0125", kBand400), "435.012500");
    EXPECT_EQ(NormaliseFrequencyText("435.0031", kBand400), "435.002500");
    EXPECT_EQ(NormaliseFrequencyText("435.0060", kBand400), "435.006250");
    EXPECT_EQ(NormaliseFrequencyText("435", kBand400), "435.000000");
    EXPECT_EQ(NormaliseFrequencyText("4350125", kBand400), "435.012500");        // the point is optional
    EXPECT_EQ(NormaliseFrequencyText("435.01250099", kBand400), "435.012500");   // digits past nine dropped
    EXPECT_EQ(NormaliseFrequencyText(" 438.5 ", kBand400), "438.500000");
}

TEST(FrequencyNormaliser, TiesGoToTheEarlierCandidate)
{
    // 435.00125 is 1250 Hz from both 435.000000 (5 kHz raster, tried first) and 435.002500.
    EXPECT_EQ(NormaliseFrequencyText("435.00125", kBand400), "435.000000");
    // 435.00375 is 1250 Hz from 435.005000 (5 kHz, up), 435.002500 and 435.005000 (2.5 kHz).
    EXPECT_EQ(NormaliseFrequencyText("435.00375", kBand400), "435.005000");
}

TEST(FrequencyNormaliser, ClampsToTheBandButKeepsZero)
{
    EXPECT_EQ(NormaliseFrequencyText("440", kBand350), "400.000000");
    EXPECT_EQ(NormaliseFrequencyText("300", kBand350), "350.000000");
    EXPECT_EQ(NormaliseFrequencyText("399.9975", kBand350), "399.997500");
    EXPECT_EQ(NormaliseFrequencyText("500", kBand400), "480.000000");
    EXPECT_EQ(NormaliseFrequencyText("390", kBand400), "400.000000");
    EXPECT_EQ(NormaliseFrequencyText("390", 0), "400.000000");  // any byte but 5 is 400-480
    EXPECT_EQ(NormaliseFrequencyText("1", kBand400), "400.000000");

    for (const char* empty : {"", "abc", "."}) {
        const std::string normal = NormaliseFrequencyText(empty, kBand400);
        EXPECT_EQ(TextToFrequency(normal), 0u) << empty;
    }
    EXPECT_EQ(FrequencyToText(0), "0.");
    EXPECT_EQ(FrequencyToText(435012500), "435.012500");
    EXPECT_EQ(FrequencyToText(12), "12.");
}

TEST(FrequencyText, StoreConversionIsExact)
{
    EXPECT_EQ(TextToFrequency("435.012500"), 435012500u);
    EXPECT_EQ(TextToFrequency("435.0125"), 435012500u);
    EXPECT_EQ(TextToFrequency("438.5 MHz"), 438500000u);
    EXPECT_EQ(TextToFrequency("0."), 0u);
    EXPECT_EQ(TextToFrequency("4294.967295"), 4294967295u);
    EXPECT_EQ(TextToFrequency("4294.967296"), 0u);  // only the low 32 bits are stored
    // Every raster point of both bands survives text and back.
    for (std::uint32_t hz = 350000000; hz <= 480000000; hz += 625) {
        const std::string text = FrequencyToText(hz);
        ASSERT_EQ(TextToFrequency(text), hz) << text;
        if (hz % 2500 == 0 || hz % 6250 == 0) {
            ASSERT_EQ(NormaliseFrequencyText(text, hz < 400000000 ? kBand350 : kBand400), text);
        }
    }
}

TEST(Alias, PlainTextIsExpandedWithZeros)
{
    std::array<std::uint8_t, 36> field{};
    field.fill(0xEE);
    EXPECT_EQ(EncodeAlias("  AB ", field), 4);
    EXPECT_EQ(Head(field, 4), Bytes({0x41, 0, 0x42, 0}));
    EXPECT_TRUE(RestIsZero(field, 4));
    EXPECT_EQ(DecodeAlias(4, field), "AB");

    EXPECT_EQ(EncodeAlias("ABCDEFGHIJKLMNOPQR", field), 36);  // 18 characters fill the field
    EXPECT_EQ(field[34], 'R');
    EXPECT_EQ(field[35], 0);
    EXPECT_EQ(DecodeAlias(36, field), "ABCDEFGHIJKLMNOPQR");

    EXPECT_EQ(EncodeAlias("ABCDEFGHIJKLMNOPQRS", field), 38);  // cut at the field, count kept
    EXPECT_EQ(DecodeAlias(38, field), "ABCDEFGHIJKLMNOPQR");

    EXPECT_EQ(EncodeAlias("~", field), 1);  // 0x7E stands alone
    EXPECT_EQ(Head(field, 2), Bytes({0x7E, 0}));
    EXPECT_EQ(EncodeAlias("", field), 0);
    EXPECT_TRUE(RestIsZero(field, 0));
}

TEST(Alias, ChineseGoesThroughTheCodePage)
{
    std::array<std::uint8_t, 36> field{};
    EXPECT_EQ(EncodeAlias("中文", field), 4);  // GBK D6 D0 CE C4
    EXPECT_EQ(Head(field, 5), Bytes({0xD6, 0xD0, 0xCE, 0xC4, 0}));
    EXPECT_EQ(DecodeAlias(4, field), "中文");

    // A Chinese last character: the bytes are stored unexpanded, the length counts the zeros.
    EXPECT_EQ(EncodeAlias("A中", field), 4);
    EXPECT_EQ(Head(field, 4), Bytes({0x41, 0xD6, 0xD0, 0}));
    EXPECT_EQ(DecodeAlias(4, field), "A中");

    EXPECT_EQ(EncodeAlias("中A", field), 4);
    EXPECT_EQ(Head(field, 4), Bytes({0xD6, 0xD0, 0x41, 0}));
    EXPECT_EQ(DecodeAlias(4, field), "中A");

    EXPECT_EQ(EncodeAlias("\xF0\x9F\x98\x80", field), 2);  // outside the code page: '?'
    EXPECT_EQ(DecodeAlias(2, field), "?");
}

TEST(Alias, MessagesUseEightyBytes)
{
    std::array<std::uint8_t, 80> field{};
    const std::string forty(40, 'm');
    EXPECT_EQ(EncodeAlias(forty, field), 80);
    EXPECT_EQ(field[78], 'm');
    EXPECT_EQ(DecodeAlias(80, field), forty);
}

TEST(Alias, ContactNamesKeepBlanksAndCountCharacters)
{
    std::array<std::uint8_t, 36> field{};
    EXPECT_EQ(EncodeContactName("Dispatch 1234567", field), 16);
    EXPECT_EQ(field[30], '7');
    EXPECT_EQ(field[31], 0);
    EXPECT_TRUE(RestIsZero(field, 32));
    EXPECT_EQ(EncodeContactName(" 调度台", field), 4);
    // The last byte is not plain text, so the blank is not expanded either.
    EXPECT_EQ(Head(field, 8), Bytes({0x20, 0xB5, 0xF7, 0xB6, 0xC8, 0xCC, 0xA8, 0}));
    EXPECT_EQ(DecodeContactName(field), "调度台");  // shown trimmed, length byte not needed
}

TEST(Alias, DecodingGarbageStaysInsideTheField)
{
    std::array<std::uint8_t, 36> field{};
    field.fill(0xFF);
    EXPECT_NO_THROW(DecodeAlias(255, field));
    field.fill(0);
    EXPECT_EQ(DecodeAlias(255, field), "");
    field.fill('A');
    EXPECT_EQ(DecodeAlias(255, field), std::string(36, 'A'));  // the length byte cannot reach past the field
    const std::array<std::uint8_t, 2> lonelyLead = {0x81, 0};
    EXPECT_EQ(DecodeAlias(1, lonelyLead), "\xEF\xBF\xBD");  // incomplete GBK: replacement
    EXPECT_EQ(DecodeAlias(5, std::span<const std::uint8_t>()), "");
}

TEST(Tones, ListsAndTexts)
{
    ASSERT_EQ(CtcssList.size(), 51u);
    ASSERT_EQ(DcsList.size(), 108u);
    EXPECT_EQ(ToneText(0x44, 1), "63.0");  // CTCSS 63.0 Hz with the second tail choice
    EXPECT_EQ(ToneText(0x42, 2), "67.0");
    EXPECT_EQ(ToneText(0x42, 51), "254.1");
    EXPECT_EQ(ToneText(0xC2, 2), "D023N");
    EXPECT_EQ(ToneText(0xE4, 2), "D023I");
    EXPECT_EQ(ToneText(0xC4, 108), "D754N");
    EXPECT_EQ(ToneText(0x02, 0), "");
    EXPECT_EQ(ToneText(0x04, 9), "");
    EXPECT_EQ(ToneText(0x44, 0), std::nullopt);
    EXPECT_EQ(ToneText(0x44, 52), std::nullopt);
    EXPECT_EQ(ToneText(0xE2, 109), std::nullopt);
}

TEST(Tones, TextBackToTheStoredPair)
{
    EXPECT_EQ(ToneFromText("D023I", true), (ToneCode{0xE4, 2}));
    EXPECT_EQ(ToneFromText("d023n", false), (ToneCode{0xC2, 2}));
    EXPECT_EQ(ToneFromText("67.0", false), (ToneCode{0x42, 2}));
    EXPECT_EQ(ToneFromText("100", true), (ToneCode{0x44, 14}));
    EXPECT_EQ(ToneFromText("", true), (ToneCode{0x04, 0}));
    EXPECT_EQ(ToneFromText("OFF", false), (ToneCode{0x02, 0}));
    EXPECT_EQ(ToneFromText("D999N", false), std::nullopt);
    EXPECT_EQ(ToneFromText("68.0", false), std::nullopt);
    for (std::uint8_t i = 1; i <= 108; ++i) {
        for (const std::uint8_t type : {0xC2, 0xE4}) {
            const auto text = ToneText(type, i);
            ASSERT_TRUE(text);
            EXPECT_EQ(ToneFromText(*text, type == 0xE4), (ToneCode{type, i}));
        }
    }
    EXPECT_EQ(TxToneTypeFromRx(0x42), 0x44);
    EXPECT_EQ(TxToneTypeFromRx(0xC2), 0xC4);
    EXPECT_EQ(TxToneTypeFromRx(0xE4), 0xE4);
    EXPECT_EQ(TxToneTypeFromRx(0x02), 0x04);
    EXPECT_EQ(TxToneTypeFromRx(0x00), 0x04);
}
