// Rules of the transfer sessions that need no radio: radio-ID text, password entry and record,
// stamping before a write, the statuses and their messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "codeplug/CodeplugFile.h"
#include "link/SessionRules.h"

using namespace session;

namespace {

std::string Chars(std::span<const std::uint8_t> bytes) { return std::string(bytes.begin(), bytes.end()); }
std::string First8(const PasswordEntryBytes& entry) { return std::string(entry.begin(), entry.begin() + 8); }

}  // namespace

TEST(SessionRadioId, ParsesTheFieldAsHexAndClamps)
{
    EXPECT_EQ(ParseRadioIdText("1234567"), 0x01234567u);
    EXPECT_EQ(ParseRadioIdText("16776415"), 0x16776415u);
    EXPECT_EQ(ParseRadioIdText("16776416"), 0x16776415u);
    EXPECT_EQ(ParseRadioIdText("99999999"), 0x16776415u);
    EXPECT_EQ(ParseRadioIdText(""), 1u);
    EXPECT_EQ(ParseRadioIdText("0"), 1u);
    EXPECT_EQ(ParseRadioIdText("00000000"), 1u);
    // Parsing stops at the first character that is not a hexadecimal digit; letters count.
    EXPECT_EQ(ParseRadioIdText("12x9"), 0x12u);
    EXPECT_EQ(ParseRadioIdText("ab"), 0xABu);
    EXPECT_EQ(ParseRadioIdText(" 12"), 1u);
    // Far more digits than the field holds saturate instead of wrapping around.
    EXPECT_EQ(ParseRadioIdText("100000000000000000001"), 0x16776415u);
    EXPECT_EQ(ParseRadioIdText("FFFFFFFFFFFFFFFFFFFF"), 0x16776415u);
}

TEST(SessionRadioId, FieldTextIsTheHexDigitsOrTheNextDecimalNumber)
{
    EXPECT_EQ(RadioIdFieldText(0x01234567, false), "1234567");
    EXPECT_EQ(RadioIdFieldText(0x00001009, false), "1009");
    EXPECT_EQ(RadioIdFieldText(0x00001009, true), "1010");
    EXPECT_EQ(RadioIdFieldText(0x00000999, true), "1000");
    EXPECT_EQ(RadioIdFieldText(0x16776415, true), "16776416");
    // The round trip through the write dialog clamps the incremented maximum again.
    EXPECT_EQ(ParseRadioIdText(RadioIdFieldText(0x16776415, true)), 0x16776415u);
}

TEST(SessionRadioId, StoredLittleEndianAtBytesOneToFour)
{
    Codeplug c;
    c.DmrSettings[0] = 0x5A;
    c.DmrSettings[5] = 0xA5;
    SetRadioId(c, 0x01234567);
    EXPECT_EQ(c.DmrSettings[1], 0x67);
    EXPECT_EQ(c.DmrSettings[2], 0x45);
    EXPECT_EQ(c.DmrSettings[3], 0x23);
    EXPECT_EQ(c.DmrSettings[4], 0x01);
    EXPECT_EQ(c.DmrSettings[0], 0x5A);
    EXPECT_EQ(c.DmrSettings[5], 0xA5);
    EXPECT_EQ(GetRadioId(c), 0x01234567u);
}

TEST(SessionPassword, EntryIsRightAlignedAndPaddedWithZeroCharacters)
{
    EXPECT_EQ(First8(MakePasswordEntry("123")), "00000123");
    EXPECT_EQ(First8(MakePasswordEntry("12345678")), "12345678");
    EXPECT_EQ(First8(MakePasswordEntry("")), "00000000");
    EXPECT_EQ(First8(MakePasswordEntry("123456789")), "12345678");
    const auto entry = MakePasswordEntry("7");
    EXPECT_TRUE(std::all_of(entry.begin() + 8, entry.end(), [](std::uint8_t b) { return b == '0'; }));
}

TEST(SessionPassword, RecordCarriesDirectionAndEightCharacters)
{
    const auto entry = MakePasswordEntry("4321");
    const auto read = MakePasswordRecord(entry, Direction::Read);
    const auto write = MakePasswordRecord(entry, Direction::Write);
    EXPECT_EQ(read[0], 0x03);
    EXPECT_EQ(read[1], 0x00);
    EXPECT_EQ(write[0], 0x03);
    EXPECT_EQ(write[1], 0x01);
    EXPECT_EQ(Chars(std::span(read).subspan(2)), "00004321");
    EXPECT_EQ(Chars(std::span(write).subspan(2)), "00004321");
}

TEST(SessionPassword, ComparedWithBytesElevenToEighteenOfTheRadioRecord)
{
    RadioPasswordBytes radio{};
    std::memcpy(radio.data() + 2, "99999999", 8);  // the first copy is not what counts
    std::memcpy(radio.data() + 11, "00004321", 8);
    EXPECT_TRUE(PasswordMatchesRadio(MakePasswordEntry("4321"), radio));
    EXPECT_FALSE(PasswordMatchesRadio(MakePasswordEntry("4322"), radio));
    EXPECT_FALSE(PasswordMatchesRadio(MakePasswordEntry("99999999"), radio));
    radio[18] = '2';
    EXPECT_FALSE(PasswordMatchesRadio(MakePasswordEntry("4321"), radio));
}

TEST(SessionStamping, FieldNumbersInEveryRecordAndNothingElseChanges)
{
    Codeplug c;
    std::vector<std::uint8_t> before;
    for (BlockView block : BlocksInFileOrder(c))
        std::fill(block.bytes.begin(), block.bytes.end(), 0xEE);
    before = CodeplugToBytes(c);
    PrepareImageForWrite(c);

    // Spot checks at the fields' places: the numbers lead the fields they name.
    for (std::size_t r = 0; r < 16; ++r) {
        auto d = c.DigitalChannelTable.record(r);
        EXPECT_EQ(d[0], 0);
        EXPECT_EQ(d[53], 5);   // before the receive frequency
        EXPECT_EQ(d[58], 6);   // before the transmit frequency
        EXPECT_EQ(d[75], 13);  // before the encryption key
        EXPECT_EQ(d[80], 15);
        auto a = c.AnalogChannelTable.record(r);
        EXPECT_EQ(a[41], 2);
        EXPECT_EQ(a[46], 3);
        EXPECT_EQ(a[72], 11);
    }
    for (std::size_t r = 0; r < 64; ++r) {
        EXPECT_EQ(c.ContactTable.record(r)[38], 1);
        EXPECT_EQ(c.ContactTable.record(r)[40], 2);
    }
    for (std::size_t r = 0; r < 32; ++r)
        EXPECT_EQ(c.RxGroupTable.record(r)[40], 2);
    for (std::size_t r = 0; r < 3; ++r) {
        EXPECT_EQ(c.ScanTable.record(r)[89], 3);
        EXPECT_EQ(c.ScanTable.record(r)[96], 6);
    }
    EXPECT_EQ(c.ZoneTable.record(1)[40], 2);
    EXPECT_EQ(c.RadioSettings[0], 0);
    EXPECT_EQ(c.RadioSettings[221], 31);
    EXPECT_EQ(c.RadioSettings[224], 32);

    // Option bits: bits 1-3 of byte 193, bit 2 of byte 87, bit 0 of byte 88.
    EXPECT_EQ(c.RadioSettings[193], 0xEE & ~0x0E);
    EXPECT_EQ(c.RadioSettings[87], 0xEE & ~0x04);
    EXPECT_EQ(c.RadioSettings[88], 0xEE);  // bit 0 of EE is already clear
    c.RadioSettings[88] = 0xFF;
    PrepareImageForWrite(c);
    EXPECT_EQ(c.RadioSettings[88], 0xFE);

    // Count of changed bytes per block: exactly the field-number places (and the option bytes).
    const auto after = CodeplugToBytes(c);
    std::size_t changed = 0;
    for (std::size_t i = 0; i < after.size(); ++i)
        changed += before[i] != after[i];
    const std::size_t expected = 16 * 16 + 16 * 12 + 2 * 3 + 3 * 7 + 33 + 64 * 3 + 32 * 3 + 3 /* 193, 87, 88 */;
    EXPECT_EQ(changed, expected);
    // Messages, the password block and the blocks without records are untouched.
    EXPECT_EQ(c.MessageTable.record(0)[0], 0xEE);
    EXPECT_EQ(c.PasswordBlock[0], 0xEE);
    EXPECT_EQ(c.DmrSettings[0], 0xEE);
}

TEST(SessionStamping, MessageCountForWrite)
{
    Codeplug c;
    for (std::uint32_t count : {0u, 4u, 5u, 0xFFFFFFFFu}) {
        SetCount(c.MessageCount, count);
        EXPECT_EQ(RepairMessageCountForWrite(c), 1u) << count;
        EXPECT_EQ(GetCount(c.MessageCount), 1u);
    }
    for (std::uint32_t count : {1u, 2u, 3u}) {
        SetCount(c.MessageCount, count);
        EXPECT_EQ(RepairMessageCountForWrite(c), count);
        EXPECT_EQ(GetCount(c.MessageCount), count);
    }
}

TEST(SessionStamping, PasswordBlockCopiesAndDate)
{
    Codeplug c;
    c.PasswordBlock.fill(0x55);
    c.PasswordBlock[1] = 0x01;  // any non-zero switch counts as on
    std::memcpy(c.PasswordBlock.data() + 2, "00004321", 8);
    StampPasswordBlock(c, Date{2024, 3, 7});
    EXPECT_EQ(c.PasswordBlock[0], 0);
    EXPECT_EQ(c.PasswordBlock[1], 0x01);
    EXPECT_EQ(c.PasswordBlock[10], 0x80);
    EXPECT_EQ(Chars(std::span(c.PasswordBlock).subspan(11, 8)), "00004321");
    EXPECT_EQ(c.PasswordBlock[19], 1);
    EXPECT_EQ(Chars(std::span(c.PasswordBlock).subspan(20, 10)), "2024,03,07");

    c.PasswordBlock[1] = 0;
    StampPasswordBlock(c, Date{1999, 12, 31});
    EXPECT_EQ(c.PasswordBlock[10], 0);
    EXPECT_EQ(Chars(std::span(c.PasswordBlock).subspan(20, 10)), "1999,12,31");

    // A five-digit year cannot run past the block.
    StampPasswordBlock(c, Date{12345, 1, 1});
    EXPECT_EQ(Chars(std::span(c.PasswordBlock).subspan(20, 10)), "12345,01,0");
}

TEST(SessionStatus, FailuresAndMessages)
{
    EXPECT_EQ(StatusForFailure(1024), 256u);
    EXPECT_EQ(StatusForFailure(2), 48u);
    EXPECT_EQ(StatusForFailure(258), 176u);
    EXPECT_EQ(StatusForFailure(257), 208u);
    EXPECT_EQ(StatusForFailure(768), 209u);
    for (int other : {513, 1, 256, 288, 514, -1, 0})
        EXPECT_EQ(StatusForFailure(other), 16u) << other;

    EXPECT_EQ(MessageKeyForStatus(0), 19);
    EXPECT_EQ(MessageKeyForStatus(1), 22);
    EXPECT_EQ(MessageKeyForStatus(16), 15);
    EXPECT_EQ(MessageKeyForStatus(176), 25);
    EXPECT_EQ(MessageKeyForStatus(208), 81);
    EXPECT_EQ(MessageKeyForStatus(209), 82);
    for (std::uint32_t none : {32u, 33u, 48u, 255u, 256u})
        EXPECT_FALSE(MessageKeyForStatus(none).has_value()) << none;
    EXPECT_TRUE(WantsPassword(256));
    EXPECT_TRUE(WantsPassword(48));
    EXPECT_FALSE(WantsPassword(16));
}
