// The read session against the virtual radio, in virtual time.
#include "tests/core/SessionBench.h"

using namespace session_test;
namespace st = session::status;

namespace {
// A radio holding FullImage(1); the image in memory starts as FullImage(9).
struct Loaded : SessionBench {
    Loaded()
    {
        radio().LoadCodeplug(*FullImage(1));
        *image = *FullImage(9);
    }
};
}  // namespace

TEST(SessionRead, FullRadioFillsEveryTableAndCount)
{
    Loaded s;
    s.Read();
    EXPECT_EQ(s.state.TransferStatus, st::ReadDone);
    EXPECT_TRUE(!s.bench.line.HostOpen() && s.radio().ReadSessionsClosed() == 1);
    // Every byte as in the source (full counts included); the rest of RecordE2Block and the marker untouched.
    const auto got = Bytes(*s.image), want = Bytes(*FullImage(1)), old = Bytes(*FullImage(9));
    for (auto [at, n] : {std::pair<std::size_t, std::size_t>{0, 8305 + 23 + 45}, {11208, 67}})
        EXPECT_EQ(Slice(got, at, n), Slice(want, at, n)) << at;
    EXPECT_EQ(Slice(got, 8328 + 45, 2880 - 45), Slice(old, 8328 + 45, 2880 - 45));
    EXPECT_EQ(s.image->FileMarker, FullImage(9)->FileMarker);
}

TEST(SessionRead, ShortListsEndAtTheFirstMissingRecordInOrder)
{
    SessionBench s;
    auto source = FullImage(1), before = FullImage(9);
    SetListCounts(*source, 5, 1, 1, 0, 3, 0);
    s.radio().LoadCodeplug(*source);
    s.radio().SetRecords(0xE0, {});  // no zones at all
    *s.image = *before;
    s.Read();
    ASSERT_EQ(s.state.TransferStatus, st::ReadDone);
    const std::vector<std::string> expected = {
        "device info", "open read session", "read F4 0", "read F4 1", "read F4 2", "read F4 3", "read F4 4",
        "no record F4 5", "read F5 0", "no record F5 1", "read DA 0", "no record E0 0", "read E1 0",
        "no record E1 1", "read F0 0", "read FC 0", "read F1 0", "read E2 0", "read F2 0", "no record E4 0",
        "read E5 0", "read E5 1", "read E5 2", "no record E5 3", "no record E6 0", "read extra A",
        "read extra B", "close read session"};
    EXPECT_EQ(s.radio().EventTexts(), expected);

    Codeplug& c = *s.image;
    EXPECT_EQ(GetCount(c.DigitalChannelCount) + GetCount(c.ContactCount) + GetCount(c.MessageCount), 5u);
    EXPECT_EQ(GetCount(c.RxGroupCount), 3u);
    // Records the radio lacks keep the image's contents; scan lists and zones are cleared first.
    EXPECT_EQ(Slice(Bytes(c), 6734 + 4 * 82, 82), Slice(Bytes(*source), 6734 + 4 * 82, 82));
    EXPECT_EQ(Slice(Bytes(c), 6734 + 5 * 82, 11 * 82), Slice(Bytes(*before), 6734 + 5 * 82, 11 * 82));
    EXPECT_EQ(c.ContactTable.bytes, before->ContactTable.bytes);
    EXPECT_EQ(c.MessageTable.bytes, before->MessageTable.bytes);
    EXPECT_EQ(Slice(Bytes(c), 4966 + 98, 196 + 178), Wire(196 + 178, 0));  // scan lists 2-3, zones
}

TEST(SessionRead, WireBytesBecomeLittleEndianFields)
{
    Loaded s;
    auto record = [](std::size_t size, std::initializer_list<std::pair<std::size_t, Wire>> parts) {
        Wire r(size, 0);
        for (const auto& [at, bytes] : parts)
            std::copy(bytes.begin(), bytes.end(), r.begin() + static_cast<std::ptrdiff_t>(at));
        return r;
    };
    // As the radio sends them: most significant byte first, name characters as 00, character.
    s.radio().SetRecords(0xF4, {record(82, {{54, {0x19, 0xA2, 0x80, 0x54}}, {76, {0xBE, 0xEF}}})});
    s.radio().SetRecords(0xE1, {record(98, {{39, {1}}, {42, {0x00, 0x07}}, {45, {0x01, 0x02}}, {92, {0x05, 0xDC}}})});
    s.radio().SetRecords(0xE4, {record(45, {{2, {0x00, 'J'}}, {41, {0x01, 0x23, 0x45, 0x67}}})});
    s.radio().SetRecords(0xF0, {record(227, {{222, {0x13, 0x88}}})});
    s.radio().SetRecords(0xE6, {record(83, {{3, {0x00, 'H'}}})});
    s.radio().SetExtraB(0x0456);
    s.Read();
    ASSERT_EQ(s.state.TransferStatus, st::ReadDone);
    const Codeplug& c = *s.image;
    // The one scan-list member in use is swapped, the next is left as it came.
    EXPECT_EQ((std::vector<std::uint32_t>{GetLE32(c.DigitalChannelTable.record(0), 54), GetLE16(c.DigitalChannelTable.record(0), 76),
                                          GetLE16(c.ScanTable.record(0), 42), GetLE16(c.ScanTable.record(0), 45),
                                          GetLE16(c.ScanTable.record(0), 92), GetLE32(c.ContactTable.record(0), 41),
                                          GetLE16(c.ContactTable.record(0), 2), GetLE16(c.RadioSettings, 222),
                                          GetLE16(c.MessageTable.record(0), 3), GetLE16(c.FunctionExtra, 3)}),
              (std::vector<std::uint32_t>{0x19A28054, 0xBEEF, 0x0007, 0x0201, 1500, 0x01234567, 'J', 5000, 'H', 0x0456}));
}

TEST(SessionRead, FailuresLeaveTheImageUntouchedAndThePortClosed)
{
    using Fault = void (*)(VirtualRadio&);
    for (auto [what, fault] : {std::pair<const char*, Fault>{"E2 missing", [](VirtualRadio& r) { r.SetRecords(0xE2, {}); }},
                               {"silent in the contacts", [](VirtualRadio& r) { r.faults().cutAfterRecords = 60; }}}) {
        Loaded s;
        fault(s.radio());
        s.Read();
        EXPECT_TRUE(s.state.TransferStatus == st::Failed && !s.bench.line.HostOpen()) << what;
        EXPECT_EQ(Bytes(*s.image), Bytes(*FullImage(9))) << what;
    }
}

TEST(SessionRead, ProtectedRadioEmptyMistypedThenRightPassword)
{
    Loaded s;
    s.radio().SetProgrammingPassword("12345678");
    s.Read();  // the entry as the dialog leaves it: eight bytes 00
    EXPECT_TRUE(s.state.TransferStatus == st::PasswordWanted && s.bench.line.HostOpen());  // kept open for the retry
    EXPECT_LT(s.state.RecordsDone, s.state.RecordsTotal) << "a stopped attempt never shows done";
    EXPECT_EQ(s.CountEvents("password rejected 0000000000000000"), 1u);

    const std::size_t sent = s.radio().Received().size();
    s.state.PasswordEntry = session::MakePasswordEntry("1234567");  // 01234567
    s.Read();
    EXPECT_EQ(std::tuple(s.state.TransferStatus.load(), s.radio().Received().size()), std::tuple(st::PasswordWanted, sent));  // no exchange
    EXPECT_EQ(Bytes(*s.image), Bytes(*FullImage(9)));

    s.state.PasswordEntry = session::MakePasswordEntry("12345678");
    s.Read();
    EXPECT_EQ(s.state.TransferStatus, st::ReadDone);
    EXPECT_EQ(s.state.RecordsDone, s.state.RecordsTotal) << "the retry planned only what it sent";
    // One port, one radio session for all attempts.
    EXPECT_EQ(std::tuple(s.bench.line.OpenCount(), s.CountEvents("open read session"),
                         s.CountEvents("password accepted 3132333435363738")),
              std::tuple(1, 1u, 1u));
    EXPECT_EQ(s.image->ContactTable.bytes, FullImage(1)->ContactTable.bytes);
}
