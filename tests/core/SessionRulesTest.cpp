// Rules of the transfer sessions that need no radio: the radio-ID field, the password entry and
// record, the password block's date stamp.
#include "tests/core/TestFiles.h"

#include <cstring>

#include "link/SessionRules.h"

using namespace session;

TEST(SessionRules, RadioIdFieldIsHexTextClampedAndIncrementedAsDecimal)
{
    for (auto [text, id] : {std::pair<const char*, std::uint32_t>{"1234567", 0x01234567}, {"16776415", 0x16776415},
                            {"16776416", 0x16776415}, {"99999999", 0x16776415}, {"", 1}, {"0000", 1},
                            {"12x9", 0x12}, {"ab", 0xAB}, {"FFFFFFFFFFFFFFFFFFFF1", 0x16776415}})
        EXPECT_EQ(ParseBcdIdText(text), id) << text;
    EXPECT_EQ(RadioIdFieldText(0x01234567, false), "1234567");
    EXPECT_EQ(RadioIdFieldText(0x00001009, true), "1010");
    EXPECT_EQ(RadioIdFieldText(0x00000999, true), "1000");
    EXPECT_EQ(RadioIdFieldText(0x16776415, true), "16776416");  // parsed back to the largest ID (row above)
}

TEST(SessionRules, PasswordEntryRecordComparisonAndTheStampedBlock)
{
    auto first8 = [](const PasswordEntryBytes& e) { return std::string(e.begin(), e.begin() + 8); };
    EXPECT_EQ(first8(MakePasswordEntry("123")), "00000123");
    EXPECT_EQ(first8(MakePasswordEntry("123456789")), "12345678");
    EXPECT_EQ(MakePasswordEntry("7")[31], '0');

    const auto entry = MakePasswordEntry("4321");
    const auto read = MakePasswordRecord(entry, Direction::Read);
    EXPECT_EQ(std::string(read.begin(), read.end()), std::string("\x03\x00" "00004321", 10));
    EXPECT_EQ(MakePasswordRecord(entry, Direction::Write)[1], 0x01);

    RadioPasswordBytes radio{};
    std::memcpy(radio.data() + 2, "99999999", 8);  // the first copy is not the one compared
    std::memcpy(radio.data() + 11, "00004321", 8);
    EXPECT_TRUE(PasswordMatchesRadio(entry, radio));
    EXPECT_FALSE(PasswordMatchesRadio(MakePasswordEntry("99999999"), radio));
    radio[18] = '2';
    EXPECT_FALSE(PasswordMatchesRadio(entry, radio));
    {
        Codeplug c;
        c.PasswordBlock.fill(0x55);
        c.PasswordBlock[1] = 0x01;  // any non-zero switch counts as on
        std::memcpy(c.PasswordBlock.data() + 2, "00004321", 8);
        StampPasswordBlock(c, Date{2024, 3, 7});
        EXPECT_EQ(std::string(c.PasswordBlock.begin(), c.PasswordBlock.end()),
                  std::string("\x00\x01" "00004321" "\x80" "00004321" "\x01" "2024,03,07", 30));
        c.PasswordBlock[1] = 0;
        c.FunctionExtra.fill(0x66);
        StampPasswordBlock(c, Date{12345, 1, 1});  // a five-digit year is cut to the field
        EXPECT_EQ(c.PasswordBlock[10], 0);
        EXPECT_EQ(c.FunctionExtra[0], 0x66) << "the block that follows is untouched";
        EXPECT_EQ(std::string(c.PasswordBlock.begin() + 20, c.PasswordBlock.end()), "12345,01,0");
    }
}

TEST(SessionRules, EachFailureOfTheRadioHasItsMessage)
{
    const std::pair<int, int> rows[] = {{257, 81}, {258, 25}, {768, 82}, {515, 90}, {513, 15}, {1, 15}};
    for (const auto& [result, key] : rows)
        EXPECT_EQ(MessageKeyForStatus(StatusForFailure(result)), key) << result;
}
