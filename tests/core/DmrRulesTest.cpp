// DMR basic settings without a window: the radio ID box, packed-digit IDs and the choice lists'
// conversions between entry, stored byte and shown number.
#include "tests/core/TestFiles.h"

#include "codeplug/BcdId.h"
#include "forms/dmr/DmrRules.h"

namespace {
using Wire = std::vector<std::uint8_t>;
Wire IdBytes(const Codeplug& c) { return {c.DmrSettings.begin() + 1, c.DmrSettings.begin() + 5}; }

const dmr::SettingList& ListAt(std::size_t offset)
{
    for (const dmr::SettingList& list : dmr::SettingLists())
        if (list.offset == offset)
            return list;
    throw std::out_of_range("no list at this offset");
}
}  // namespace

TEST(DmrRadioId, TypedTextIsClampedStoredLittleEndianAndShownBack)
{
    const struct { const char* typed; Wire bytes; const char* shown; } cases[] = {  // bytes: DmrSettings 1-4
        {"99999999", {0x15, 0x64, 0x77, 0x16}, "16776415"},  // above the largest ID
        {"16776415", {0x15, 0x64, 0x77, 0x16}, "16776415"},
        {"901", {0x01, 0x09, 0x00, 0x00}, "901"},
        {"0", {0x01, 0x00, 0x00, 0x00}, "1"},
        {"", {0x01, 0x00, 0x00, 0x00}, "1"},
        {"1AB", {0xAB, 0x01, 0x00, 0x00}, "1AB"},  // hexadecimal-looking entry kept as typed
        {"12x45", {0x12, 0x00, 0x00, 0x00}, "12"},
    };
    for (const auto& c : cases) {
        Codeplug codeplug;
        codeplug.DmrSettings[0] = 0x5A;
        codeplug.DmrSettings[5] = 0xA5;
        dmr::CommitRadioIdText(codeplug, c.typed);
        EXPECT_EQ(std::tuple(IdBytes(codeplug), dmr::RadioIdText(codeplug), codeplug.DmrSettings[0] + 0, codeplug.DmrSettings[5] + 0),
                  std::tuple(c.bytes, std::string(c.shown), 0x5A, 0xA5)) << c.typed;
    }
}

TEST(BcdId, DecimalNumbersPackAndUnpackDigitByDigit)
{
    using Id = std::optional<std::uint32_t>;
    EXPECT_EQ((std::vector{PackBcdId(901), PackBcdId(16776415), PackBcdId(99999999), PackBcdId(100000000)}),
              (std::vector<Id>{0x901, 0x16776415, 0x99999999, std::nullopt}));
    EXPECT_EQ((std::vector{UnpackBcdId(0x64), UnpackBcdId(0x16776415), UnpackBcdId(0x1AB), UnpackBcdId(0xA0000000)}),
              (std::vector<Id>{64, 16776415, std::nullopt, std::nullopt}));
    EXPECT_EQ((std::vector{IsValidBcdId(0x63), IsValidBcdId(0x99999999), IsValidBcdId(0x5F)}), (std::vector{true, true, false}));
    EXPECT_EQ(BcdIdToText(0x00000901), "901");
}

TEST(DmrSettingLists, TimesConvertAtBothEndsAndCountListsCoverTheirWholeRange)
{
    const dmr::SettingList& wait = ListAt(10);
    const std::vector<std::string> waitTexts = dmr::ListTexts(wait);
    ASSERT_EQ(waitTexts.size(), 95u);
    EXPECT_EQ((std::vector{waitTexts.front(), waitTexts[1], waitTexts.back()}), (std::vector<std::string>{"300", "350", "5000"}));
    EXPECT_EQ((std::vector{dmr::PositionOfStored(wait, 6), dmr::PositionOfStored(wait, 100), dmr::PositionOfStored(wait, 5),
                           dmr::PositionOfStored(wait, 101)}),
              (std::vector{0, 94, -1, -1}));
    EXPECT_EQ(std::tuple(dmr::StoredOfPosition(wait, 94), dmr::StoredOfPosition(wait, -1)), std::tuple(100, 5));  // -1: none

    const dmr::SettingList& delay = ListAt(18);
    const std::vector<std::string> delayTexts = dmr::ListTexts(delay);
    ASSERT_EQ(delayTexts.size(), 41u);
    EXPECT_EQ(std::tuple(delayTexts.front(), delayTexts[static_cast<std::size_t>(dmr::PositionOfStored(delay, 40))],
                         dmr::PositionOfStored(delay, 41), dmr::StoredOfPosition(delay, -1)),
              std::tuple(std::string("0"), std::string("1600"), -1, 0xFF));
    for (std::size_t offset : {6, 8, 20, 22, 24, 26})  // 0 ... 255
        EXPECT_EQ(dmr::ListTexts(ListAt(offset)).back(), "255") << offset;
    for (std::size_t offset : {12, 14, 16}) {  // 0 ... 254; 255 has no entry and comes back as 255
        EXPECT_EQ(std::tuple(dmr::ListTexts(ListAt(offset)).back(), dmr::PositionOfStored(ListAt(offset), 255),
                             dmr::StoredOfPosition(ListAt(offset), -1)),
                  std::tuple(std::string("254"), -1, 255)) << offset;
    }
}
