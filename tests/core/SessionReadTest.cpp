// The read session against the virtual radio, in virtual time.
#include "tests/core/SessionBench.h"

using namespace session_test;
namespace st = session::status;

TEST(SessionRead, FullRadioFillsEveryTableAndCount)
{
    SessionBench s;
    auto source = FullImage(1);
    s.radio().LoadCodeplug(*source);
    auto before = FullImage(9);
    *s.image = *before;
    s.Read();

    EXPECT_EQ(s.state.TransferStatus, st::ReadDone);
    EXPECT_EQ(s.state.TransferBusy, 0);
    EXPECT_FALSE(s.bench.line.HostOpen());
    EXPECT_TRUE(s.radio().Violations().empty());
    EXPECT_EQ(s.radio().ReadSessionsClosed(), 1);
    Codeplug& c = *s.image;
    EXPECT_EQ(GetCount(c.DigitalChannelCount) + GetCount(c.AnalogChannelCount), 32u);
    EXPECT_EQ(GetCount(c.ScanListCount), 3u);
    EXPECT_EQ(GetCount(c.ContactCount), 64u);
    EXPECT_EQ(GetCount(c.RxGroupCount), 32u);
    EXPECT_EQ(GetCount(c.MessageCount), 3u);
    // Every transferred byte as in the source; the rest of RecordE2Block and the marker untouched.
    const auto got = Bytes(c), want = Bytes(*source), old = Bytes(*before);
    EXPECT_EQ(Slice(got, 0, 3134), Slice(want, 0, 3134));           // settings, DMR, contacts
    EXPECT_EQ(Slice(got, 3138, 1824), Slice(want, 3138, 1824));     // groups
    EXPECT_EQ(Slice(got, 4966, 3080), Slice(want, 4966, 3080));     // scan lists .. digital channels
    EXPECT_EQ(Slice(got, 8052, 249), Slice(want, 8052, 249));       // messages
    EXPECT_EQ(Slice(got, 8305, 23 + 45), Slice(want, 8305, 23 + 45));
    EXPECT_EQ(Slice(got, 8328 + 45, 2880 - 45), Slice(old, 8328 + 45, 2880 - 45));
    EXPECT_EQ(Slice(got, 11208, 67), Slice(want, 11208, 67));       // info, password, FunctionExtra
    EXPECT_EQ(c.FileMarker, before->FileMarker);
}

TEST(SessionRead, ShortListsEndAtTheFirstMissingRecordInTheSpecifiedOrder)
{
    SessionBench s;
    auto source = FullImage(1);
    SetListCounts(*source, 5, 1, 1, 0, 7, 0);
    s.radio().LoadCodeplug(*source);
    s.radio().SetRecords(0xE0, {});  // no zones at all
    auto before = FullImage(9);
    *s.image = *before;
    s.Read();
    ASSERT_EQ(s.state.TransferStatus, st::ReadDone);

    std::vector<std::string> expected = {"device info", "open read session"};
    for (int i = 0; i < 5; ++i)
        expected.push_back("read F4 " + std::to_string(i));
    for (const char* e : {"no record F4 5", "read F5 0", "no record F5 1", "read DA 0", "no record E0 0",
                          "read E1 0", "no record E1 1", "read F0 0", "read FC 0", "read F1 0", "read E2 0",
                          "read F2 0", "no record E4 0"})
        expected.push_back(e);
    for (int i = 0; i < 7; ++i)
        expected.push_back("read E5 " + std::to_string(i));
    for (const char* e : {"no record E5 7", "no record E6 0", "read extra A", "read extra B", "close read session"})
        expected.push_back(e);
    EXPECT_EQ(s.radio().EventTexts(), expected);

    Codeplug& c = *s.image;
    EXPECT_EQ(GetCount(c.DigitalChannelCount), 5u);
    EXPECT_EQ(GetCount(c.ContactCount), 0u);
    EXPECT_EQ(GetCount(c.RxGroupCount), 7u);
    EXPECT_EQ(GetCount(c.MessageCount), 0u);
    // Records the radio lacks keep the image's contents; scan lists and zones are cleared first.
    EXPECT_EQ(Slice(Bytes(c), 6734 + 4 * 82, 82), Slice(Bytes(*source), 6734 + 4 * 82, 82));
    EXPECT_EQ(Slice(Bytes(c), 6734 + 5 * 82, 11 * 82), Slice(Bytes(*before), 6734 + 5 * 82, 11 * 82));
    EXPECT_EQ(c.ContactTable.bytes, before->ContactTable.bytes);
    EXPECT_EQ(c.MessageTable.bytes, before->MessageTable.bytes);
    EXPECT_EQ(Slice(Bytes(c), 4966 + 98, 196 + 178), std::vector<std::uint8_t>(196 + 178, 0));  // scan lists 2-3, zones
}

TEST(SessionRead, WireBytesBecomeLittleEndianFields)
{
    // Records as the radio sends them, most significant byte first, written out by hand.
    SessionBench s;
    s.radio().LoadCodeplug(*FullImage(1));
    std::vector<std::uint8_t> digital(82, 0), scan(98, 0), contact(45, 0), settings(227, 0), message(83, 0);
    const std::uint8_t rx[] = {0x19, 0xA2, 0x80, 0x54};
    std::copy(rx, rx + 4, digital.begin() + 54);
    digital[76] = 0xBE, digital[77] = 0xEF;
    scan[39] = 1;                             // one member in use: only its channel is swapped
    scan[42] = 0x00, scan[43] = 0x07;
    scan[45] = 0x01, scan[46] = 0x02;         // beyond the count: left as it came
    scan[92] = 0x05, scan[93] = 0xDC;
    contact[41] = 0x01, contact[42] = 0x23, contact[43] = 0x45, contact[44] = 0x67;
    contact[2] = 0x00, contact[3] = 'J';      // name pairs arrive as 00, character
    settings[222] = 0x13, settings[223] = 0x88;
    message[3] = 0x00, message[4] = 'H';
    s.radio().SetRecords(0xF4, {digital});
    s.radio().SetRecords(0xE1, {scan});
    s.radio().SetRecords(0xE4, {contact});
    s.radio().SetRecords(0xF0, {settings});
    s.radio().SetRecords(0xE6, {message});
    s.radio().SetExtraB(0x0456);
    s.Read();
    ASSERT_EQ(s.state.TransferStatus, st::ReadDone);

    const Codeplug& c = *s.image;
    EXPECT_EQ(GetLE32(c.DigitalChannelTable.record(0), 54), 0x19A28054u);
    EXPECT_EQ(GetLE16(c.DigitalChannelTable.record(0), 76), 0xBEEF);
    EXPECT_EQ(GetLE16(c.ScanTable.record(0), 42), 0x0007);
    EXPECT_EQ(GetLE16(c.ScanTable.record(0), 45), 0x0201);
    EXPECT_EQ(GetLE16(c.ScanTable.record(0), 92), 1500);
    EXPECT_EQ(GetLE32(c.ContactTable.record(0), 41), 0x01234567u);
    EXPECT_EQ(GetLE16(c.ContactTable.record(0), 2), 'J');
    EXPECT_EQ(GetLE16(c.RadioSettings, 222), 5000);
    EXPECT_EQ(GetLE16(c.MessageTable.record(0), 3), 'H');
    EXPECT_EQ(GetLE16(c.FunctionExtra, 3), 0x0456);
}

TEST(SessionRead, FailuresLeaveTheImageUntouchedAndThePortClosed)
{
    struct Case {
        const char* what;
        void (*fault)(VirtualRadio&);
    };
    for (const Case& k : {Case{"E2 missing", [](VirtualRadio& r) { r.SetRecords(0xE2, {}); }},
                          Case{"silent at once", [](VirtualRadio& r) { r.faults().cutAfterRecords = 0; }},
                          Case{"silent in the contacts", [](VirtualRadio& r) { r.faults().cutAfterRecords = 60; }},
                          Case{"silent at the last message", [](VirtualRadio& r) { r.faults().cutAfterRecords = 141; }},
                          Case{"wrong prefix", [](VirtualRadio& r) { r.faults().wrongPrefix = true; }}}) {
        SessionBench s;
        s.radio().LoadCodeplug(*FullImage(1));
        k.fault(s.radio());
        *s.image = *FullImage(9);
        const auto before = Bytes(*s.image);
        s.Read();
        EXPECT_EQ(s.state.TransferStatus, st::Failed) << k.what;
        EXPECT_EQ(s.state.TransferBusy, 0) << k.what;
        EXPECT_FALSE(s.bench.line.HostOpen()) << k.what;
        EXPECT_EQ(s.radio().ReadSessionsClosed(), 0) << k.what;  // no close command after a failure
        EXPECT_EQ(Bytes(*s.image), before) << k.what;
    }
}

TEST(SessionRead, ProtectedRadioEmptyMistypedThenRightPassword)
{
    SessionBench s;
    auto source = FullImage(1);
    s.radio().LoadCodeplug(*source);
    s.radio().SetProgrammingPassword("12345678");
    *s.image = *FullImage(9);
    const auto before = Bytes(*s.image);

    s.Read();  // the entry as the dialog leaves it: eight bytes 00
    EXPECT_EQ(s.state.TransferStatus, st::PasswordWanted);
    EXPECT_EQ(s.state.ReadPasswordPending, 1);
    EXPECT_TRUE(s.bench.line.HostOpen());  // kept open for the retry
    EXPECT_EQ(s.CountEvents("password rejected 0000000000000000"), 1u);

    const std::size_t sent = s.radio().Received().size();
    s.state.PasswordEntry = session::MakePasswordEntry("1234567");  // 01234567
    s.Read();
    EXPECT_EQ(s.state.TransferStatus, st::PasswordWanted);
    EXPECT_EQ(s.radio().Received().size(), sent);  // refused without any exchange
    EXPECT_EQ(Bytes(*s.image), before);

    s.state.PasswordEntry = session::MakePasswordEntry("12345678");
    s.Read();
    EXPECT_EQ(s.state.TransferStatus, st::ReadDone);
    EXPECT_EQ(s.state.ReadPasswordPending, 0);
    EXPECT_EQ(s.bench.line.OpenCount(), 1);  // one port, one radio session for all attempts
    EXPECT_EQ(s.CountEvents("open read session"), 1u);
    EXPECT_EQ(s.CountEvents("password accepted 3132333435363738"), 1u);
    EXPECT_TRUE(s.radio().Violations().empty());
    EXPECT_EQ(s.image->ContactTable.bytes, source->ContactTable.bytes);
}
