// Programmable keys and text messages on a Codeplug, without windows. Offsets and bytes are
// written out as the record layouts give them.
#include "tests/core/TestFiles.h"

#include <tuple>

#include "forms/channels/Encodings.h"
#include "forms/functions/KeyRules.h"
#include "forms/functions/MessageRules.h"

namespace {

std::unique_ptr<Codeplug> Filled(std::uint8_t value)
{
    auto c = std::make_unique<Codeplug>();
    c->RadioSettings.fill(value);
    return c;
}

std::vector<std::uint8_t> Bytes(const Codeplug& c, std::size_t at, std::size_t n)
{
    return {c.RadioSettings.begin() + at, c.RadioSettings.begin() + at + n};
}

void PutContact(Codeplug& c, std::size_t n, const char* name, std::uint8_t callType)
{
    auto record = c.ContactTable.record(n);
    record[1] = EncodeContactName(name, record.subspan(2, 36));
    record[39] = callType;
}

}  // namespace

// Stored code -> list position for each of the six key bytes, and back: offered codes keep
// their place, codes not offered show the first entry and any commit then stores 0x00.
TEST(KeyRules, FunctionCodesShownAndStoredAtTheKeyBytes)
{
    const std::vector<std::pair<std::uint8_t, int>> shown = {
        {0x00, 0}, {0x01, 1}, {0x03, 2}, {0x05, 4},  {0x08, 5},  {0x0B, 6},  {0x0F, 10},
        {0x13, 13}, {0x14, 14}, {0x02, 0}, {0x06, 0}, {0x12, 0}, {0x15, 0}, {0xFF, 0}};
    const std::size_t offsets[6] = {138, 139, 144, 145, 147, 148};
    for (std::size_t key = 0; key < 6; ++key) {
        for (const auto& [code, position] : shown) {
            auto c = Filled(0x5A);
            c->RadioSettings[offsets[key]] = code;
            EXPECT_EQ(KeyFunctionPositionOf(*c, key), position) << key << " " << int(code);
            SetKeyFunctionPosition(*c, key, KeyFunctionPositionOf(*c, key));
            const std::uint8_t stored = position == 0 ? 0x00 : code;
            EXPECT_EQ(c->RadioSettings[offsets[key]], stored);
            // Nothing else of the block moves, field-number bytes 137, 143, 146 included.
            auto expected = Filled(0x5A);
            expected->RadioSettings[offsets[key]] = stored;
            EXPECT_EQ(c->RadioSettings, expected->RadioSettings);
        }
    }
    EXPECT_EQ((std::vector{KeyFunctionTextKey(0), KeyFunctionTextKey(5), KeyFunctionTextKey(14)}), (std::vector{24, 32, 44}));
    EXPECT_THROW(KeyFunctionPositionOf(*Filled(0), 6), std::out_of_range);
}

TEST(KeyRules, LongPressTimeChoicesAndStoredBytes)
{
    auto c = Filled(0);
    SetLongPressPosition(*c, 8);
    EXPECT_EQ(Bytes(*c, 221, 4), (std::vector<std::uint8_t>{0, 0x88, 0x13, 0}));
    SetLongPressPosition(*c, 0);
    SetLongPressPosition(*c, -1);  // no such choice: the time stays
    EXPECT_EQ(Bytes(*c, 222, 2), (std::vector<std::uint8_t>{0xE8, 0x03}));

    // Stored milliseconds -> list position, truncating toward zero; no choice -> no selection.
    const std::vector<std::pair<std::uint16_t, std::optional<int>>> cases = {
        {2500, 3}, {2999, 3}, {5000, 8}, {999, 0}, {500, std::nullopt}, {5500, std::nullopt}, {0xFFFF, std::nullopt}};
    for (const auto& [ms, position] : cases) {
        c->RadioSettings[222] = static_cast<std::uint8_t>(ms);
        c->RadioSettings[223] = static_cast<std::uint8_t>(ms >> 8);
        EXPECT_EQ(LongPressPosition(*c), position) << ms;
    }
    EXPECT_EQ(LongPressText(3), "2.5");
}

TEST(KeyRules, OneTouchKindResetKeepsTheContactByte)
{
    auto c = Filled(0x77);
    PutContact(*c, 5, "Dispatch", 0);
    SetCount(c->ContactCount, 8);
    // Entry 4 (k = 3): kind at 215, contact at 216, third byte 217 never edited.
    c->RadioSettings[215] = 0, c->RadioSettings[216] = 5;
    EXPECT_FALSE(OneTouchContactEditable(*c, 3) || OneTouchContactName(*c, 3));

    SetOneTouchKind(*c, 3, 1);
    EXPECT_EQ(Bytes(*c, 215, 2), (std::vector<std::uint8_t>{2, 5}));
    EXPECT_EQ(OneTouchContactName(*c, 3), "Dispatch");
    SetOneTouchKind(*c, 3, 0);
    EXPECT_EQ(Bytes(*c, 214, 4), (std::vector<std::uint8_t>{0x77, 0, 5, 0x77}));
    EXPECT_FALSE(OneTouchContactEditable(*c, 3));

    // A kind the form never writes selects the call entry and opens the contact list, but the
    // cells show "none"; a contact byte past the table shows an empty name.
    c->RadioSettings[206] = 1;
    EXPECT_EQ(OneTouchKindPosition(*c, 0), 1);
    EXPECT_TRUE(OneTouchContactEditable(*c, 0) && !OneTouchContactName(*c, 0));
    c->RadioSettings[218] = 2, c->RadioSettings[219] = 200;
    EXPECT_EQ(OneTouchContactName(*c, 4), "");
    EXPECT_THROW(OneTouchAt(*c, 5), std::out_of_range);
}

TEST(KeyRules, ContactListLeavesOutAllCallAndMapsPositionsToIndexes)
{
    auto c = Filled(0);
    PutContact(*c, 0, "Group A", 0);
    PutContact(*c, 1, "All", 2);
    PutContact(*c, 2, "Ann", 1);
    PutContact(*c, 3, "Unused", 1);  // past the count
    SetCount(c->ContactCount, 3);
    const auto choices = OneTouchContactChoices(*c);
    ASSERT_EQ(choices.size(), 2u);
    EXPECT_EQ(choices[0].name + "|" + choices[1].name, "Group A|Ann");

    c->RadioSettings[206] = 2;
    SetOneTouchContact(*c, 0, choices, 1);
    EXPECT_EQ(std::tuple(c->RadioSettings[207] + 0, OneTouchContactPosition(*c, 0, choices)), std::tuple(2, std::optional(1)));
    SetOneTouchContact(*c, 0, choices, 2);  // no such entry
    EXPECT_EQ(c->RadioSettings[207], 2);
    c->RadioSettings[207] = 1;  // the all-call contact is not in the list
    EXPECT_EQ(OneTouchContactPosition(*c, 0, choices), std::nullopt);

    // A count far beyond the table lists at most its 64 records.
    for (std::size_t n = 0; n < 64; ++n)
        c->ContactTable.record(n)[39] = 0;
    SetCount(c->ContactCount, 0xFFFFFFFF);
    EXPECT_EQ(std::tuple(OneTouchContactChoices(*c).size(), OneTouchContactChoices(*c).back().index), std::tuple(64u, 63));
}

TEST(MessageRules, RowsComeIntoUseOneAtATimeTextEncodingLimitsAndBlanks)
{
    Codeplug c;
    // (row clicked, editable, count after), in order
    const std::vector<std::tuple<int, bool, std::uint32_t>> clicks = {
        {2, false, 0}, {1, true, 1}, {1, true, 1}, {3, false, 1}, {2, true, 2}, {3, true, 3}, {4, false, 3}, {0, false, 3}};
    c.MessageTable.record(1)[1] = 4, c.MessageTable.record(1)[3] = 'H', c.MessageTable.record(1)[5] = 'i';  // old "Hi"
    for (const auto& [row, editable, count] : clicks) {
        EXPECT_EQ(OpenMessageRow(c, row), editable) << row;
        EXPECT_EQ(GetCount(c.MessageCount), count) << row;
        if (row == 2 && editable) {
            EXPECT_EQ(MessageText(c, 1), "") << "a message comes into use empty, as its row shows";
        }
    }
    c.MessageCount = {7, 0, 0, 0};
    EXPECT_EQ(ShownMessageCount(c), 0u);
    EXPECT_EQ(c.MessageCount, (Block<4>{0, 0, 0, 0}));
    {
        Codeplug c;
        c.MessageTable.bytes.fill(0xEE);
        const std::string forty = "The quick brown fox jumps over a lazy do";
        ASSERT_EQ(forty.size(), 40u);
        const auto m = c.MessageTable.record(1);
        EXPECT_FALSE(SetMessageText(c, 1, forty + "g and more"));  // the box holds 40 characters
        EXPECT_EQ(m[1], 0xEE);
        EXPECT_TRUE(SetMessageText(c, 1, forty));
        EXPECT_EQ(m[1], 80);
        for (std::size_t i = 0; i < 40; ++i)
            EXPECT_EQ(GetLE16(m, 3 + 2 * i), static_cast<std::uint8_t>(forty[i])) << i;
        EXPECT_EQ(m[0] + m[2], 2 * 0xEE);  // markers belong to the write session
        EXPECT_EQ(c.MessageTable.record(0)[82] + c.MessageTable.record(2)[0], 2 * 0xEE);  // neighbours untouched
        EXPECT_EQ(MessageText(c, 1), forty);

        SetMessageText(c, 1, "   \t ");
        EXPECT_EQ(std::vector<std::uint8_t>(m.begin() + 3, m.begin() + 83), std::vector<std::uint8_t>(80, 0));
        EXPECT_EQ(std::tuple(m[1] + 0, MessageText(c, 1)), std::tuple(0, std::string()));

        // Forty Chinese characters: two code-page bytes each, ending high, stored unexpanded.
        std::string chinese;
        for (int i = 0; i < 40; ++i)
            chinese += "中";
        EXPECT_FALSE(SetMessageText(c, 0, chinese + "中"));
        EXPECT_TRUE(SetMessageText(c, 0, chinese));
        const auto first = c.MessageTable.record(0);
        EXPECT_EQ((std::vector<int>{first[1], first[3], first[4]}), (std::vector<int>{80, 0xD6, 0xD0}));
        EXPECT_EQ(MessageText(c, 0), chinese.substr(0, 40 * 3));

        EXPECT_EQ(MessageText(c, 3), "");
        EXPECT_THROW(SetMessageText(c, 3, "x"), std::out_of_range);
    }
}
