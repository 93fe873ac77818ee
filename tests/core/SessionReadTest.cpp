// The read session against the virtual radio, in virtual time.
#include "tests/core/SessionBench.h"

#include <cstring>

using namespace session_test;
namespace st = session::status;

namespace {

std::vector<std::uint8_t> Record(std::span<const std::uint8_t> bytes) { return {bytes.begin(), bytes.end()}; }

}  // namespace

TEST(SessionRead, FullRadioFillsEveryTableAndCount)
{
    SessionBench s;
    auto source = FullImage(1);
    s.radio().LoadCodeplug(*source);
    auto before = FullImage(9);  // the host holds something else entirely
    *s.image = *before;

    s.Read();

    EXPECT_EQ(s.state.TransferStatus, st::ReadDone);
    EXPECT_EQ(s.state.TransferBusy, 0);
    EXPECT_FALSE(s.line().HostOpen());
    EXPECT_TRUE(s.radio().Violations().empty()) << s.radio().Violations().front();
    EXPECT_EQ(s.radio().ReadSessionsClosed(), 1);

    Codeplug& c = *s.image;
    EXPECT_EQ(GetCount(c.DigitalChannelCount), 16u);
    EXPECT_EQ(GetCount(c.AnalogChannelCount), 16u);
    EXPECT_EQ(GetCount(c.ScanListCount), 3u);
    EXPECT_EQ(GetCount(c.ContactCount), 64u);
    EXPECT_EQ(GetCount(c.RxGroupCount), 32u);
    EXPECT_EQ(GetCount(c.MessageCount), 3u);

    // Every transferred byte arrives in memory order, the same as in the source image.
    EXPECT_EQ(c.DigitalChannelTable.bytes, source->DigitalChannelTable.bytes);
    EXPECT_EQ(c.AnalogChannelTable.bytes, source->AnalogChannelTable.bytes);
    EXPECT_EQ(c.ZoneTable.bytes, source->ZoneTable.bytes);
    EXPECT_EQ(c.ScanTable.bytes, source->ScanTable.bytes);
    EXPECT_EQ(c.ContactTable.bytes, source->ContactTable.bytes);
    EXPECT_EQ(c.RxGroupTable.bytes, source->RxGroupTable.bytes);
    EXPECT_EQ(c.MessageTable.bytes, source->MessageTable.bytes);
    EXPECT_EQ(c.RadioSettings, source->RadioSettings);
    EXPECT_EQ(c.DmrSettings, source->DmrSettings);
    EXPECT_EQ(c.IdentityBlock, source->IdentityBlock);
    EXPECT_EQ(c.RadioInfoBlock, source->RadioInfoBlock);
    EXPECT_EQ(c.PasswordBlock, source->PasswordBlock);
    EXPECT_EQ(c.FunctionExtra, source->FunctionExtra);
    EXPECT_TRUE(std::equal(c.RecordE2Block.begin(), c.RecordE2Block.begin() + 45, source->RecordE2Block.begin()));
    // Only the first 45 bytes of that block travel; the rest keeps the host's bytes.
    EXPECT_TRUE(std::equal(c.RecordE2Block.begin() + 45, c.RecordE2Block.end(), before->RecordE2Block.begin() + 45));
    // Blocks that never travel are untouched.
    EXPECT_EQ(c.FileMarker, before->FileMarker);

    // Values spot-checked against the known numbers.
    EXPECT_EQ(GetLE32(c.DigitalChannelTable.record(15), 54), DigitalRx(15));
    EXPECT_EQ(GetLE16(c.DigitalChannelTable.record(3), 76), DigitalKey(3));
    EXPECT_EQ(GetLE32(c.ContactTable.record(63), 41), ContactId(63));
    EXPECT_EQ(GetLE16(c.FunctionExtra, 3), kExtraValue);
}

TEST(SessionRead, RequestsGoOutInTheSpecifiedOrder)
{
    SessionBench s;
    auto source = FullImage(1);
    SetCount(source->DigitalChannelCount, 2);
    SetCount(source->AnalogChannelCount, 1);
    SetCount(source->ScanListCount, 1);
    SetCount(source->ContactCount, 2);
    SetCount(source->RxGroupCount, 1);
    SetCount(source->MessageCount, 0);
    s.radio().LoadCodeplug(*source);

    s.Read();
    ASSERT_EQ(s.state.TransferStatus, st::ReadDone);

    const std::vector<std::string> expected = {
        "device info", "open read session",
        "read F4 0", "read F4 1", "no record F4 2",
        "read F5 0", "no record F5 1",
        "read DA 0",
        "read E0 0", "read E0 1",
        "read E1 0", "no record E1 1",
        "read F0 0", "read FC 0", "read F1 0", "read E2 0", "read F2 0",
        "read E4 0", "read E4 1", "no record E4 2",
        "read E5 0", "no record E5 1",
        "no record E6 0",
        "read extra A", "read extra B", "close read session",
    };
    EXPECT_EQ(s.Events(), expected);
}

TEST(SessionRead, ShortTablesEndAtTheFirstMissingRecordAndKeepTheRest)
{
    SessionBench s;
    auto source = FullImage(1);
    SetCount(source->DigitalChannelCount, 5);
    SetCount(source->AnalogChannelCount, 1);
    SetCount(source->ScanListCount, 1);
    SetCount(source->ContactCount, 0);
    SetCount(source->RxGroupCount, 7);
    SetCount(source->MessageCount, 3);
    s.radio().LoadCodeplug(*source);
    auto before = FullImage(9);
    *s.image = *before;

    s.Read();
    ASSERT_EQ(s.state.TransferStatus, st::ReadDone);
    Codeplug& c = *s.image;

    EXPECT_EQ(GetCount(c.DigitalChannelCount), 5u);
    EXPECT_EQ(GetCount(c.AnalogChannelCount), 1u);
    EXPECT_EQ(GetCount(c.ScanListCount), 1u);
    EXPECT_EQ(GetCount(c.ContactCount), 0u);
    EXPECT_EQ(GetCount(c.RxGroupCount), 7u);
    EXPECT_EQ(GetCount(c.MessageCount), 3u);

    for (std::size_t r = 0; r < 16; ++r) {
        const auto& expected = r < 5 ? source->DigitalChannelTable : before->DigitalChannelTable;
        EXPECT_EQ(Record(c.DigitalChannelTable.record(r)), Record(expected.record(r))) << "digital " << r;
    }
    EXPECT_EQ(Record(c.AnalogChannelTable.record(0)), Record(source->AnalogChannelTable.record(0)));
    EXPECT_EQ(Record(c.AnalogChannelTable.record(1)), Record(before->AnalogChannelTable.record(1)));
    for (std::size_t r = 0; r < 64; ++r)
        EXPECT_EQ(Record(c.ContactTable.record(r)), Record(before->ContactTable.record(r))) << "contact " << r;
    EXPECT_EQ(Record(c.RxGroupTable.record(6)), Record(source->RxGroupTable.record(6)));
    EXPECT_EQ(Record(c.RxGroupTable.record(7)), Record(before->RxGroupTable.record(7)));

    // Zones and scan lists are cleared before they are read: a list the radio lacks is zero.
    EXPECT_EQ(Record(c.ScanTable.record(0)), Record(source->ScanTable.record(0)));
    for (std::size_t s2 = 1; s2 < 3; ++s2) {
        const auto scan = c.ScanTable.record(s2);
        EXPECT_TRUE(std::all_of(scan.begin(), scan.end(), [](std::uint8_t b) { return b == 0; })) << s2;
    }
}

TEST(SessionRead, ZonesMissingFromTheRadioAreCleared)
{
    SessionBench s;
    s.radio().LoadCodeplug(*FullImage(1));
    s.radio().SetRecords(0xE0, {});
    *s.image = *FullImage(9);
    s.Read();
    ASSERT_EQ(s.state.TransferStatus, st::ReadDone);
    EXPECT_TRUE(std::all_of(s.image->ZoneTable.bytes.begin(), s.image->ZoneTable.bytes.end(),
                            [](std::uint8_t b) { return b == 0; }));
}

TEST(SessionRead, WireBytesBecomeLittleEndianFields)
{
    // Records written here byte by byte as the radio sends them: most significant byte first.
    SessionBench s;
    s.radio().LoadCodeplug(*FullImage(1));

    std::vector<std::uint8_t> digital(82, 0);
    const std::uint8_t rx[] = {0x19, 0xA2, 0x80, 0x54};  // 430080084
    const std::uint8_t tx[] = {0x1A, 0x3B, 0x16, 0xE8};
    std::memcpy(&digital[54], rx, 4);
    std::memcpy(&digital[59], tx, 4);
    digital[76] = 0xBE;
    digital[77] = 0xEF;
    std::vector<std::uint8_t> analog(81, 0);
    const std::uint8_t arx[] = {0x08, 0xA4, 0x5C, 0x54};
    std::memcpy(&analog[42], arx, 4);
    std::vector<std::uint8_t> scan(98, 0);
    scan[39] = 2;                       // two members: only their channel numbers are swapped
    scan[42] = 0x00; scan[43] = 0x07;   // member 0 channel 7
    scan[45] = 0x01; scan[46] = 0x02;   // member 1 channel 0x0102
    scan[48] = 0x03; scan[49] = 0x04;   // member 2 is beyond the count: left as it came
    scan[92] = 0x05; scan[93] = 0xDC;   // dwell 1500 ms
    std::vector<std::uint8_t> contact(45, 0);
    contact[41] = 0x01; contact[42] = 0x23; contact[43] = 0x45; contact[44] = 0x67;
    contact[2] = 0x00; contact[3] = 'J';  // name pairs arrive as 00, character
    contact[4] = 0x00; contact[5] = 'o';
    std::vector<std::uint8_t> settings(227, 0);
    settings[222] = 0x13; settings[223] = 0x88;
    std::vector<std::uint8_t> dmr(27, 0);
    dmr[1] = 0x00; dmr[2] = 0x12; dmr[3] = 0x34; dmr[4] = 0x56;
    std::vector<std::uint8_t> message(83, 0);
    message[3] = 0x00; message[4] = 'H';
    s.radio().SetRecords(0xF4, {digital});
    s.radio().SetRecords(0xF5, {analog});
    s.radio().SetRecords(0xE1, {scan});
    s.radio().SetRecords(0xE4, {contact});
    s.radio().SetRecords(0xF0, {settings});
    s.radio().SetRecords(0xF2, {dmr});
    s.radio().SetRecords(0xE6, {message});
    s.radio().SetExtraB(0x0456);

    s.Read();
    ASSERT_EQ(s.state.TransferStatus, st::ReadDone);
    const Codeplug& c = *s.image;
    EXPECT_EQ(GetLE32(c.DigitalChannelTable.record(0), 54), 0x19A28054u);
    EXPECT_EQ(GetLE32(c.DigitalChannelTable.record(0), 59), 0x1A3B16E8u);
    EXPECT_EQ(GetLE16(c.DigitalChannelTable.record(0), 76), 0xBEEF);
    EXPECT_EQ(GetLE32(c.AnalogChannelTable.record(0), 42), 0x08A45C54u);
    EXPECT_EQ(GetLE16(c.ScanTable.record(0), 42), 0x0007);
    EXPECT_EQ(GetLE16(c.ScanTable.record(0), 45), 0x0102);
    EXPECT_EQ(c.ScanTable.record(0)[48], 0x03);
    EXPECT_EQ(c.ScanTable.record(0)[49], 0x04);
    EXPECT_EQ(GetLE16(c.ScanTable.record(0), 92), 1500);
    EXPECT_EQ(GetLE32(c.ContactTable.record(0), 41), 0x01234567u);
    EXPECT_EQ(c.ContactTable.record(0)[2], 'J');
    EXPECT_EQ(c.ContactTable.record(0)[3], 0x00);
    EXPECT_EQ(c.ContactTable.record(0)[4], 'o');
    EXPECT_EQ(GetLE16(c.RadioSettings, 222), 5000);
    EXPECT_EQ(GetLE32(c.DmrSettings, 1), 0x00123456u);
    EXPECT_EQ(c.MessageTable.record(0)[3], 'H');
    EXPECT_EQ(c.MessageTable.record(0)[4], 0x00);
    // The extended value comes most significant byte first and is stored least significant first.
    EXPECT_EQ(c.FunctionExtra[3], 0x56);
    EXPECT_EQ(c.FunctionExtra[4], 0x04);
}

TEST(SessionRead, ScanMemberCountAboveSixteenStaysInsideTheRecord)
{
    SessionBench s;
    s.radio().LoadCodeplug(*FullImage(1));
    std::vector<std::uint8_t> scan(98, 0x11);
    scan[39] = 0xFF;
    s.radio().SetRecords(0xE1, {scan});
    s.Read();
    ASSERT_EQ(s.state.TransferStatus, st::ReadDone);
    const auto r = s.image->ScanTable.record(0);
    EXPECT_EQ(r[39], 0xFF);
    // Bytes past the sixteen members (the dwell time apart, which is swapped anyway) keep their values.
    EXPECT_EQ(r[89], 0x11);
    EXPECT_EQ(r[90], 0x11);
    EXPECT_EQ(r[94], 0x11);
    EXPECT_EQ(r[97], 0x11);
}

TEST(SessionReadFailure, RecordE2MissingEndsWithStatus16AndThePortClosed)
{
    SessionBench s;
    s.radio().LoadCodeplug(*FullImage(1));
    s.radio().SetRecords(0xE2, {});
    *s.image = *FullImage(9);
    const auto before = Bytes(*s.image);

    s.Read();
    EXPECT_EQ(s.state.TransferStatus, st::Failed);
    EXPECT_EQ(s.state.TransferBusy, 0);
    EXPECT_FALSE(s.line().HostOpen());
    EXPECT_FALSE(s.link.IsPortOpen());
    EXPECT_EQ(s.CountEvents("no record E2 0"), 1u);
    // No close command after a failure, and nothing read so far reaches the image.
    EXPECT_EQ(s.radio().ReadSessionsClosed(), 0);
    EXPECT_EQ(s.CountEvents("read F2 0"), 0u);
    EXPECT_EQ(Bytes(*s.image), before);
}

TEST(SessionReadFailure, RadioFallingSilentMidwayLeavesTheImageUntouched)
{
    for (int cut : {0, 3, 20, 60, 130}) {
        SessionBench s;
        s.radio().LoadCodeplug(*FullImage(1));
        s.radio().faults().cutAfterRecords = cut;
        *s.image = *FullImage(9);
        const auto before = Bytes(*s.image);

        s.Read();
        EXPECT_EQ(s.state.TransferStatus, st::Failed) << cut;
        EXPECT_FALSE(s.line().HostOpen()) << cut;
        EXPECT_EQ(Bytes(*s.image), before) << cut;
        EXPECT_EQ(s.radio().ReadSessionsClosed(), 0) << cut;
    }
}

TEST(SessionReadFailure, SilentRadioOrMissingCable)
{
    SessionBench silent;
    silent.radio().faults().silent = true;
    silent.Read();
    EXPECT_EQ(silent.state.TransferStatus, st::Failed);
    EXPECT_FALSE(silent.line().HostOpen());
    EXPECT_EQ(silent.state.ReadPasswordPending, 0);

    SessionBench unplugged;
    unplugged.line().SetPresent(false);
    unplugged.Read();
    EXPECT_EQ(unplugged.state.TransferStatus, st::Failed);
    EXPECT_EQ(unplugged.state.TransferBusy, 0);
    EXPECT_TRUE(unplugged.radio().Received().empty());
}

TEST(SessionReadFailure, WrongPrefixAndGarbage)
{
    SessionBench wrong;
    wrong.radio().LoadCodeplug(*FullImage(1));
    wrong.radio().faults().wrongPrefix = true;
    *wrong.image = *FullImage(9);
    const auto before = Bytes(*wrong.image);
    wrong.Read();
    EXPECT_EQ(wrong.state.TransferStatus, st::Failed);
    EXPECT_EQ(Bytes(*wrong.image), before);

    SessionBench garbage;
    garbage.radio().LoadCodeplug(*FullImage(1));
    garbage.radio().faults().garbageOnly = true;
    garbage.Read();
    EXPECT_EQ(garbage.state.TransferStatus, st::Failed);
    EXPECT_FALSE(garbage.line().HostOpen());
}

// ---- Protected radio ----

class SessionReadPassword : public ::testing::Test {
protected:
    void SetUp() override
    {
        source = FullImage(1);
        s.radio().LoadCodeplug(*source);
        s.radio().SetProgrammingPassword("12345678");
        *s.image = *FullImage(9);
        before = Bytes(*s.image);
    }
    SessionBench s;
    std::unique_ptr<Codeplug> source;
    std::vector<std::uint8_t> before;
};

TEST_F(SessionReadPassword, EmptyFieldSendsEightZeroBytesAndAsksForThePassword)
{
    s.state.PasswordEntry.fill(0);  // as the dialog leaves it when it opens
    s.Read();
    EXPECT_EQ(s.state.TransferStatus, st::PasswordWanted);
    EXPECT_EQ(s.state.ReadPasswordPending, 1);
    EXPECT_EQ(s.state.TransferBusy, 0);
    EXPECT_TRUE(s.line().HostOpen());  // kept open for the retry
    EXPECT_EQ(s.CountEvents("password rejected 0000000000000000"), 1u);
    EXPECT_EQ(s.state.PasswordRecord[0], 0x03);
    EXPECT_EQ(s.state.PasswordRecord[1], 0x00);
    // The radio's password record was fetched for the comparison of the retry.
    EXPECT_EQ(std::string(s.state.RadioPasswordCopy.begin() + 11, s.state.RadioPasswordCopy.begin() + 19), "12345678");
    EXPECT_EQ(Bytes(*s.image), before);
}

TEST_F(SessionReadPassword, MistypedPasswordIsRefusedWithoutAnyExchange)
{
    s.Read();
    ASSERT_EQ(s.state.TransferStatus, st::PasswordWanted);
    const std::size_t sent = s.radio().Received().size();

    s.state.PasswordEntry = session::MakePasswordEntry("1234567");  // becomes 01234567
    s.Read();
    EXPECT_EQ(s.state.TransferStatus, st::PasswordWanted);
    EXPECT_EQ(s.state.ReadPasswordPending, 1);
    EXPECT_EQ(s.radio().Received().size(), sent);
    EXPECT_TRUE(s.line().HostOpen());
    EXPECT_EQ(Bytes(*s.image), before);
}

TEST_F(SessionReadPassword, RightPasswordContinuesTheOpenSession)
{
    s.Read();
    ASSERT_EQ(s.state.TransferStatus, st::PasswordWanted);
    s.state.PasswordEntry = session::MakePasswordEntry("1234567");
    s.Read();  // mistyped
    s.state.PasswordEntry = session::MakePasswordEntry("12345678");
    s.Read();

    EXPECT_EQ(s.state.TransferStatus, st::ReadDone);
    EXPECT_EQ(s.state.ReadPasswordPending, 0);
    EXPECT_FALSE(s.line().HostOpen());
    EXPECT_EQ(s.line().OpenCount(), 1);  // one port for all three attempts
    EXPECT_EQ(s.CountEvents("open read session (password)"), 1u);
    EXPECT_EQ(s.CountEvents("device info"), 1u);
    EXPECT_EQ(s.CountEvents("password accepted 3132333435363738"), 1u);
    EXPECT_TRUE(s.radio().Violations().empty()) << s.radio().Violations().front();
    EXPECT_EQ(s.image->DigitalChannelTable.bytes, source->DigitalChannelTable.bytes);
    EXPECT_EQ(s.image->ContactTable.bytes, source->ContactTable.bytes);
}

TEST_F(SessionReadPassword, RadioRejectingTheRetryAsksAgain)
{
    s.Read();
    s.state.PasswordEntry = session::MakePasswordEntry("12345678");
    s.radio().faults().passwordAnswer = 0x06;
    s.Read();
    EXPECT_EQ(s.state.TransferStatus, st::PasswordWanted);
    EXPECT_EQ(s.state.ReadPasswordPending, 1);
    EXPECT_TRUE(s.line().HostOpen());

    // Any other answer byte counts as accepted.
    s.radio().faults().passwordAnswer = 0x02;
    s.Read();
    EXPECT_EQ(s.state.TransferStatus, st::ReadDone);
}
