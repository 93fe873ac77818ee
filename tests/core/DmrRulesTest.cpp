// DMR basic settings without a window: the radio ID box, packed-digit IDs and the choice lists'
// conversions between entry, stored byte and shown number.
#include "tests/core/TestFiles.h"

#include <map>

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
    const struct {
        const char* typed;
        Wire bytes;  // DmrSettings bytes 1-4
        const char* shown;
    } cases[] = {
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
        EXPECT_EQ(IdBytes(codeplug), c.bytes) << c.typed;
        EXPECT_EQ(dmr::RadioIdText(codeplug), c.shown) << c.typed;
        EXPECT_EQ(codeplug.DmrSettings[0], 0x5A);
        EXPECT_EQ(codeplug.DmrSettings[5], 0xA5);
    }
}

TEST(BcdId, DecimalNumbersPackAndUnpackDigitByDigit)
{
    EXPECT_EQ(PackBcdId(901), 0x901u);
    EXPECT_EQ(PackBcdId(16776415), 0x16776415u);
    EXPECT_EQ(PackBcdId(99999999), 0x99999999u);
    EXPECT_EQ(PackBcdId(100000000), std::nullopt);
    EXPECT_EQ(UnpackBcdId(0x64), 64u);
    EXPECT_EQ(UnpackBcdId(0x16776415), 16776415u);
    EXPECT_EQ(UnpackBcdId(0x1AB), std::nullopt);
    EXPECT_EQ(UnpackBcdId(0xA0000000), std::nullopt);
    EXPECT_TRUE(IsValidBcdId(0x63));
    EXPECT_TRUE(IsValidBcdId(0x99999999));
    EXPECT_FALSE(IsValidBcdId(0x5F));
    EXPECT_EQ(BcdIdToText(0x00000901), "901");
}

TEST(DmrSettingLists, TimesConvertAtBothEndsAndCountListsCoverTheirWholeRange)
{
    const dmr::SettingList& wait = ListAt(10);
    const std::vector<std::string> waitTexts = dmr::ListTexts(wait);
    ASSERT_EQ(waitTexts.size(), 95u);
    EXPECT_EQ(waitTexts.front(), "300");
    EXPECT_EQ(waitTexts[1], "350");
    EXPECT_EQ(waitTexts.back(), "5000");
    EXPECT_EQ(dmr::PositionOfStored(wait, 6), 0);
    EXPECT_EQ(dmr::StoredOfPosition(wait, 94), 100);
    EXPECT_EQ(dmr::PositionOfStored(wait, 100), 94);
    EXPECT_EQ(dmr::PositionOfStored(wait, 5), -1);
    EXPECT_EQ(dmr::PositionOfStored(wait, 101), -1);
    EXPECT_EQ(dmr::StoredOfPosition(wait, -1), 5);  // no selection

    const dmr::SettingList& delay = ListAt(18);
    const std::vector<std::string> delayTexts = dmr::ListTexts(delay);
    ASSERT_EQ(delayTexts.size(), 41u);
    EXPECT_EQ(delayTexts.front(), "0");
    EXPECT_EQ(delayTexts[static_cast<std::size_t>(dmr::PositionOfStored(delay, 40))], "1600");
    EXPECT_EQ(dmr::PositionOfStored(delay, 41), -1);
    EXPECT_EQ(dmr::StoredOfPosition(delay, -1), 0xFF);
    {
        for (std::size_t offset : {6, 8, 20, 22, 24, 26})  // 0 ... 255
            EXPECT_EQ(dmr::ListTexts(ListAt(offset)).back(), "255") << offset;
        for (std::size_t offset : {12, 14, 16}) {  // 0 ... 254; 255 has no entry and comes back as 255
            EXPECT_EQ(dmr::ListTexts(ListAt(offset)).back(), "254") << offset;
            EXPECT_EQ(dmr::PositionOfStored(ListAt(offset), 255), -1);
            EXPECT_EQ(dmr::StoredOfPosition(ListAt(offset), -1), 255);
        }
    }
}
