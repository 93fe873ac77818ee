// The write session against the virtual radio, in virtual time. What the radio received is
// checked against the link's wire order, written out here by hand.
#include "tests/core/SessionBench.h"

using namespace session_test;
namespace st = session::status;

namespace {
// A radio that already holds something else, and the full image to write.
struct Prepared : SessionBench {
    Prepared()
    {
        radio().LoadCodeplug(*FullImage(5));
        *image = *FullImage(1);
    }
};
}  // namespace

TEST(SessionWrite, FullImageArrivesInWireOrderAndTheImageInMemoryOrder)
{
    Prepared s;
    s.Write();
    ASSERT_EQ(s.state.TransferStatus, st::WriteDone);
    EXPECT_TRUE(s.radio().Violations().empty() && s.radio().WriteSessionsClosed() == 1);

    const VirtualRadio& radio = s.radio();
    for (auto [code, n] : {std::pair{0xF4, 16u}, {0xF5, 16u}, {0xE0, 2u}, {0xE1, 3u}, {0xE4, 64u}, {0xE5, 32u}, {0xE6, 3u}})
        ASSERT_EQ(radio.Records(static_cast<std::uint8_t>(code)).size(), n) << code;
    for (std::uint8_t r = 0; r < 16; ++r) {
        EXPECT_EQ(Slice(radio.Records(0xF4)[r], 54, 4), (Wire{0x19, 0xA2, 0x80, r}));
        EXPECT_EQ(Slice(radio.Records(0xF4)[r], 76, 2), (Wire{0x12, r}));
        EXPECT_EQ(Slice(radio.Records(0xF5)[r], 47, 4), (Wire{0x01, 0x46, 0x03, r}));
    }
    const Wire& scan = radio.Records(0xE1)[2];  // six members in use swapped, the rest as in memory
    EXPECT_EQ(Slice(scan, 42 + 3 * 5, 5), (Wire{0x06, 5, scan[59], 6, 0x06}));
    EXPECT_EQ(Slice(scan, 92, 2), (Wire{0x05, 0xDC}));
    for (std::uint8_t r = 0; r < 64; ++r) {
        EXPECT_EQ(Slice(radio.Records(0xE4)[r], 41, 4), (Wire{0x01, 0x23, 0x45, r}));
        EXPECT_EQ(Slice(radio.Records(0xE4)[r], 2, 2), (Wire{0x00, std::uint8_t('A' + r % 26)}));
    }
    EXPECT_EQ(Slice(radio.Records(0xE6)[2], 0, 5), (Wire{0x00, radio.Records(0xE6)[2][1], 0x01, 0x00, 'c'}));
    EXPECT_EQ(Slice(radio.Records(0xF0)[0], 222, 2), (Wire{0x13, 0x88}));
    EXPECT_EQ(Slice(radio.Records(0xF2)[0], 1, 4), (Wire{0x01, 0x23, 0x45, 0x67}));
    EXPECT_EQ(Slice(radio.Records(0xF1)[0], 1, 4), (Wire{0x0A, 0x0B, 0x0C, 0x0D}));
    EXPECT_EQ(radio.Records(0xE2)[0], Slice(s.image->RecordE2Block, 0, 45));

    // The image carries the write's stamps and is, in memory order, what the radio holds.
    Codeplug& c = *s.image;
    // Field numbers in every record; option bits cleared.
    EXPECT_EQ((std::vector<int>{c.DigitalChannelTable.record(15)[80], c.AnalogChannelTable.record(15)[72],
                                c.ContactTable.record(63)[40], c.RadioSettings[224], c.RadioSettings[193] & 0x0E,
                                c.RadioSettings[87] & 0x04, c.RadioSettings[88] & 0x01}),
              (std::vector<int>{15, 11, 2, 32, 0, 0, 0}));
    EXPECT_EQ(std::string(c.PasswordBlock.begin() + 20, c.PasswordBlock.end()), "2024,03,07");
    EXPECT_EQ(c.RadioInfoBlock, FullImage(5)->RadioInfoBlock);  // read back before writing
    auto received = FullImage(7);
    radio.SaveCodeplug(*received);
    EXPECT_EQ(Slice(Bytes(*received), 0, 8305 + 23 + 45), Slice(Bytes(c), 0, 8305 + 23 + 45));
    EXPECT_EQ(Slice(Bytes(*received), 11208, 60), Slice(Bytes(c), 11208, 60));
}

TEST(SessionWrite, ShortListsInOrder)
{
    Prepared s;
    SetListCounts(*s.image, 2, 2, 1, 0, 1, 2);
    s.Write();
    ASSERT_EQ(s.state.TransferStatus, st::WriteDone);
    const std::vector<std::string> expected = {
        "prepare write", "write target query", "open write session", "read DA 0", "begin write",
        "write F4 0", "write F4 1", "write F5 0", "write F5 1", "write DA 0", "write E0 0", "write E0 1",
        "write E1 0", "write F0 0", "write F1 0", "write E2 0", "write F2 0", "write E5 0", "write E6 0",
        "write E6 1", "write FC 0", "write extra B 0ABC", "write extra A 123456", "close write session"};
    EXPECT_EQ(s.radio().EventTexts(), expected);
}

TEST(SessionWrite, RadioIdMessageContactAndZoneRules)
{
    struct Row { const char* id; std::uint32_t messages, contacts; Wire wire; std::size_t sentMessages, sentContacts; };
    for (const Row& k : {Row{"1234567", 0, 64, {0x01, 0x23, 0x45, 0x67}, 1, 64},
                         Row{"99999999", 5, 0, {0x16, 0x77, 0x64, 0x15}, 1, 0},
                         Row{"", 2, 1, {0x00, 0x00, 0x00, 0x01}, 2, 1}}) {
        Prepared s;
        SetRadioId(*s.image, ParseBcdIdText(k.id));
        SetCount(s.image->MessageCount, k.messages);
        SetCount(s.image->ContactCount, k.contacts);
        s.Write();
        EXPECT_EQ(Slice(s.radio().Records(0xF2)[0], 1, 4), k.wire) << k.id;
        EXPECT_EQ(s.CountEvents("write E6"), k.sentMessages) << k.id;
        EXPECT_EQ(GetCount(s.image->MessageCount), k.sentMessages) << k.id;
        EXPECT_EQ(s.CountEvents("write E4"), k.sentContacts) << k.id;
        EXPECT_EQ(s.CountEvents("write E0"), 2u);  // zones: always both
    }
}

TEST(SessionWrite, CountsBeyondTheTablesNeverSendPastThem)
{
    Prepared s;
    SetListCounts(*s.image, 200, 17, 7, 0xFFFFFFFF, 40, 3);
    for (std::size_t sc = 0; sc < 3; ++sc)
        s.image->ScanTable.record(sc)[39] = 0xFF;
    s.Write();
    ASSERT_EQ(s.state.TransferStatus, st::WriteDone);
    EXPECT_TRUE(s.radio().Violations().empty());
    for (auto [code, n] : {std::pair{"write F4", 16u}, {"write F5", 16u}, {"write E1", 3u}, {"write E4", 64u}, {"write E5", 32u}})
        EXPECT_EQ(s.CountEvents(code), n) << code;
    const Wire& scan = s.radio().Records(0xE1)[0];
    EXPECT_EQ(Slice(scan, 42 + 3 * 15, 2), (Wire{0x02, 15}));  // all sixteen members swapped ...
    EXPECT_EQ(Slice(scan, 89, 9), (Wire{3, scan[90], 4, 0x05, 0xDC, 5, scan[95], 6, scan[97]}));  // ... nothing past them
    EXPECT_EQ(GetCount(s.image->RxGroupCount), 40u);
}

TEST(SessionWrite, RadioFallingSilentEndsWithStatus16AndTheImageInMemoryOrder)
{
    for (int cut : {10, 120}) {
        Prepared s;
        s.radio().faults().cutAfterRecords = cut;
        s.Write();
        EXPECT_EQ(s.state.TransferStatus, st::Failed) << cut;
        EXPECT_FALSE(s.bench.line.HostOpen()) << cut;
        EXPECT_EQ(std::tuple(GetLE32(s.image->DigitalChannelTable.record(15), 54), GetLE32(s.image->ContactTable.record(5), 41),
                             GetLE16(s.image->RadioSettings, 222)),
                  std::tuple(0x19A2800Fu, 0x01234505u, 5000)) << cut;
    }
}

// The desktop program's first attempt carries no password: the retry must send all the first
// attempt would have sent, the microphone values of the extended write A included.
TEST(SessionWrite, PasswordRetryContinuesTheSessionAndSendsEverything)
{
    Prepared s;
    s.radio().SetProgrammingPassword("00004321");
    s.Write();
    ASSERT_EQ(s.state.TransferStatus, st::PasswordWanted);
    EXPECT_EQ(s.CountEvents("begin write"), 0u);
    EXPECT_LT(s.state.RecordsDone, s.state.RecordsTotal) << "a stopped attempt never shows done";

    const std::size_t sent = s.radio().Received().size();
    s.state.PasswordEntry = session::MakePasswordEntry("4322");
    s.Write();
    EXPECT_EQ(std::tuple(s.state.WritePasswordPending.load(), s.radio().Received().size()), std::tuple(1, sent));

    s.state.PasswordEntry = session::MakePasswordEntry("4321");
    s.image->FunctionExtra[0] = 0x65, s.image->FunctionExtra[1] = 0x43, s.image->FunctionExtra[2] = 0x21;
    s.Write();
    ASSERT_EQ(s.state.TransferStatus, st::WriteDone);
    EXPECT_EQ(std::tuple(s.bench.line.OpenCount(), s.CountEvents("read DA 0"), s.CountEvents("write extra A 654321")),
              std::tuple(1, 1u, 1u));
    const auto extraA = s.radio().ExtraA();
    EXPECT_EQ(Wire(extraA.begin(), extraA.begin() + 3), (Wire{0x65, 0x43, 0x21}));
    EXPECT_EQ(s.state.RecordsDone, s.state.RecordsTotal) << "the plan counted every exchange";
}
