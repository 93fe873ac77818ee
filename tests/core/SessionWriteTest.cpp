// The write session against the virtual radio, in virtual time. What the radio received is
// checked byte by byte against the wire order of the link, written out here by hand.
#include "tests/core/SessionBench.h"

#include <chrono>
#include <cstdio>

using namespace session_test;
namespace st = session::status;

namespace {

using Wire = std::vector<std::uint8_t>;

Wire Be32(std::uint32_t v)
{
    return {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v)};
}
Wire Be16(std::uint32_t v) { return {static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)}; }
Wire Sub(const Wire& record, std::size_t at, std::size_t n) { return Slice(record, at, n); }

std::string Hex3(std::span<const std::uint8_t> bytes)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", bytes[0], bytes[1], bytes[2]);
    return text;
}

// A radio that already holds something, so that what the write leaves is what it sent.
void PrimeRadio(SessionBench& s) { s.radio().LoadCodeplug(*FullImage(5)); }

}  // namespace

TEST(SessionWrite, FullImageArrivesInWireOrder)
{
    SessionBench s;
    PrimeRadio(s);
    *s.image = *FullImage(1);
    s.Write();

    ASSERT_EQ(s.state.TransferStatus, st::WriteDone);
    EXPECT_EQ(s.state.TransferBusy, 0);
    EXPECT_FALSE(s.line().HostOpen());
    EXPECT_TRUE(s.radio().Violations().empty()) << s.radio().Violations().front();
    EXPECT_EQ(s.radio().WriteSessionsClosed(), 1);

    const VirtualRadio& radio = s.radio();
    ASSERT_EQ(radio.Records(0xF4).size(), 16u);
    ASSERT_EQ(radio.Records(0xF5).size(), 16u);
    ASSERT_EQ(radio.Records(0xE0).size(), 2u);
    ASSERT_EQ(radio.Records(0xE1).size(), 3u);
    ASSERT_EQ(radio.Records(0xE4).size(), 64u);
    ASSERT_EQ(radio.Records(0xE5).size(), 32u);
    ASSERT_EQ(radio.Records(0xE6).size(), 3u);

    for (std::size_t r = 0; r < 16; ++r) {
        const Wire& d = radio.Records(0xF4)[r];
        EXPECT_EQ(Sub(d, 54, 4), Be32(DigitalRx(r))) << r;
        EXPECT_EQ(Sub(d, 59, 4), Be32(DigitalTx(r))) << r;
        EXPECT_EQ(Sub(d, 76, 2), Be16(DigitalKey(r))) << r;
        const Wire& a = radio.Records(0xF5)[r];
        EXPECT_EQ(Sub(a, 42, 4), Be32(AnalogRx(r))) << r;
        EXPECT_EQ(Sub(a, 47, 4), Be32(AnalogTx(r))) << r;
    }
    for (std::size_t z = 0; z < 2; ++z)
        for (std::size_t m = 0; m < 16; ++m)
            EXPECT_EQ(Sub(radio.Records(0xE0)[z], 42 + 3 * m, 2), Be16(0x0100 * (z + 1) + m));
    for (std::size_t sc = 0; sc < 3; ++sc) {
        const Wire& scan = radio.Records(0xE1)[sc];
        const std::size_t members = 4 + sc;
        for (std::size_t m = 0; m < 16; ++m) {
            const std::uint32_t channel = static_cast<std::uint32_t>(0x0200 * (sc + 1) + m);
            // Only the members in use travel swapped; the rest go as they are in memory.
            const Wire want = m < members ? Be16(channel) : Wire{static_cast<std::uint8_t>(channel),
                                                                 static_cast<std::uint8_t>(channel >> 8)};
            EXPECT_EQ(Sub(scan, 42 + 3 * m, 2), want) << sc << " " << m;
        }
        EXPECT_EQ(Sub(scan, 92, 2), (Wire{0x05, 0xDC}));
    }
    for (std::size_t r = 0; r < 64; ++r) {
        const Wire& contact = radio.Records(0xE4)[r];
        EXPECT_EQ(Sub(contact, 41, 4), Be32(ContactId(r))) << r;
        // The name's character/00 pairs travel as 00/character.
        EXPECT_EQ(contact[2], 0x00);
        EXPECT_EQ(contact[3], 'A' + r % 26);
        EXPECT_EQ(contact[37], 'A' + (r + 17) % 26);
    }
    for (std::size_t r = 0; r < 3; ++r) {
        const Wire& message = radio.Records(0xE6)[r];
        EXPECT_EQ(message[0], 0x00);
        EXPECT_EQ(message[2], 0x01);
        EXPECT_EQ(message[3], 0x00);
        EXPECT_EQ(message[4], 'a' + r % 26);
        EXPECT_EQ(message[82], 'a' + (r + 39) % 26);
    }
    EXPECT_EQ(Sub(radio.Records(0xF0)[0], 222, 2), (Wire{0x13, 0x88}));
    EXPECT_EQ(Sub(radio.Records(0xF2)[0], 1, 4), (Wire{0x01, 0x23, 0x45, 0x67}));
    EXPECT_EQ(Sub(radio.Records(0xF1)[0], 1, 4), (Wire{0x0A, 0x0B, 0x0C, 0x0D}));
    EXPECT_EQ(radio.ExtraB(), kExtraValue);
    EXPECT_EQ(s.CountEvents("write extra B 0ABC"), 1u);
    // The RecordE2 record is the block's first 45 bytes, as they are.
    const Wire e2(s.image->RecordE2Block.begin(), s.image->RecordE2Block.begin() + 45);
    EXPECT_EQ(radio.Records(0xE2)[0], e2);
}

TEST(SessionWrite, ImageStaysInMemoryOrderAndGetsTheWriteStamps)
{
    SessionBench s;
    PrimeRadio(s);
    *s.image = *FullImage(1);
    s.Write();
    ASSERT_EQ(s.state.TransferStatus, st::WriteDone);

    const Codeplug& c = *s.image;
    auto reference = FullImage(1);
    // Multi-byte values are back in (or never left) memory order.
    EXPECT_EQ(GetLE32(c.DigitalChannelTable.record(7), 54), DigitalRx(7));
    EXPECT_EQ(GetLE16(c.DigitalChannelTable.record(7), 76), DigitalKey(7));
    EXPECT_EQ(GetLE32(c.ContactTable.record(9), 41), ContactId(9));
    EXPECT_EQ(GetLE16(c.ScanTable.record(1), 92), kDwellMs);
    EXPECT_EQ(GetLE16(c.RadioSettings, 222), kLongPressMs);
    EXPECT_EQ(c.ContactTable.record(0)[2], reference->ContactTable.record(0)[2]);

    // Field numbers in every record, counted or not.
    for (std::size_t r = 0; r < 16; ++r) {
        EXPECT_EQ(c.DigitalChannelTable.record(r)[0], 0);
        EXPECT_EQ(c.DigitalChannelTable.record(r)[80], 15);
        EXPECT_EQ(c.AnalogChannelTable.record(r)[72], 11);
    }
    EXPECT_EQ(c.ContactTable.record(63)[40], 2);
    EXPECT_EQ(c.RxGroupTable.record(31)[38], 1);
    EXPECT_EQ(c.ScanTable.record(2)[96], 6);
    EXPECT_EQ(c.ZoneTable.record(1)[40], 2);
    EXPECT_EQ(c.RadioSettings[224], 32);
    // Option bits cleared: bits 1-3 of 193, bit 2 of 87, bit 0 of 88.
    EXPECT_EQ(c.RadioSettings[193] & 0x0E, 0);
    EXPECT_EQ(c.RadioSettings[87] & 0x04, 0);
    EXPECT_EQ(c.RadioSettings[88] & 0x01, 0);
    EXPECT_EQ(c.RadioSettings[193] & ~0x0E, reference->RadioSettings[193] & ~0x0E);
    // Messages stamped as they were sent; the password block carries the date of the write.
    for (std::size_t r = 0; r < 3; ++r) {
        EXPECT_EQ(c.MessageTable.record(r)[0], 0);
        EXPECT_EQ(c.MessageTable.record(r)[2], 1);
    }
    EXPECT_EQ(std::string(c.PasswordBlock.begin() + 20, c.PasswordBlock.end()), "2024,03,07");
    EXPECT_EQ(c.PasswordBlock[19], 1);
    EXPECT_EQ(c.PasswordBlock[10], 0);
    // The radio's information block was read back into the image before the write.
    auto primed = FullImage(5);
    EXPECT_EQ(c.RadioInfoBlock, primed->RadioInfoBlock);
    EXPECT_EQ(s.radio().Records(0xDA)[0], Wire(primed->RadioInfoBlock.begin(), primed->RadioInfoBlock.end()));

    // What the radio holds, converted back, is the image record for record.
    auto received = FullImage(7);
    s.radio().SaveCodeplug(*received);
    EXPECT_EQ(received->DigitalChannelTable.bytes, c.DigitalChannelTable.bytes);
    EXPECT_EQ(received->AnalogChannelTable.bytes, c.AnalogChannelTable.bytes);
    EXPECT_EQ(received->ZoneTable.bytes, c.ZoneTable.bytes);
    EXPECT_EQ(received->ScanTable.bytes, c.ScanTable.bytes);
    EXPECT_EQ(received->ContactTable.bytes, c.ContactTable.bytes);
    EXPECT_EQ(received->RxGroupTable.bytes, c.RxGroupTable.bytes);
    EXPECT_EQ(received->MessageTable.bytes, c.MessageTable.bytes);
    EXPECT_EQ(received->RadioSettings, c.RadioSettings);
    EXPECT_EQ(received->DmrSettings, c.DmrSettings);
    EXPECT_EQ(received->IdentityBlock, c.IdentityBlock);
    EXPECT_EQ(received->PasswordBlock, c.PasswordBlock);
    EXPECT_EQ(GetLE16(received->FunctionExtra, 3), kExtraValue);
    EXPECT_TRUE(std::equal(received->FunctionExtra.begin(), received->FunctionExtra.begin() + 3, c.FunctionExtra.begin()));
}

TEST(SessionWrite, RequestsGoOutInTheSpecifiedOrderWithThePausesBeforeAnalogRecords)
{
    SessionBench s;
    PrimeRadio(s);
    *s.image = *FullImage(1);
    Codeplug& c = *s.image;
    SetCount(c.DigitalChannelCount, 2);
    SetCount(c.AnalogChannelCount, 2);
    SetCount(c.ScanListCount, 1);
    SetCount(c.ContactCount, 1);
    SetCount(c.RxGroupCount, 1);
    SetCount(c.MessageCount, 2);
    s.Write();
    ASSERT_EQ(s.state.TransferStatus, st::WriteDone);

    const std::vector<std::string> expected = {
        "prepare write", "write target query", "open write session", "read DA 0", "begin write",
        "write F4 0", "write F4 1", "write F5 0", "write F5 1", "write DA 0", "write E0 0", "write E0 1",
        "write E1 0", "write F0 0", "write F1 0", "write E2 0", "write F2 0", "write E4 0", "write E5 0",
        "write E6 0", "write E6 1", "write FC 0", "write extra B 0ABC",
        "write extra A " + Hex3(c.FunctionExtra), "close write session",
    };
    EXPECT_EQ(s.Events(), expected);

    // 100 ms more before each analog record than before a digital one of the same size class.
    const auto& events = s.radio().Events();
    auto at = [&](const std::string& text) {
        for (const RadioEvent& e : events)
            if (e.text == text)
                return e.at;
        ADD_FAILURE() << "no event " << text;
        return Clock::Time{};
    };
    using std::chrono::milliseconds;
    const auto digitalGap = at("write F4 1") - at("write F4 0");
    const auto analogGap = at("write F5 1") - at("write F5 0");
    EXPECT_GE(analogGap - digitalGap, milliseconds(99));
    EXPECT_LE(analogGap - digitalGap, milliseconds(101));
}

TEST(SessionWrite, MessageCountRule)
{
    for (std::uint32_t count : {0u, 5u}) {
        SessionBench s;
        PrimeRadio(s);
        *s.image = *FullImage(1);
        SetCount(s.image->MessageCount, count);
        s.Write();
        ASSERT_EQ(s.state.TransferStatus, st::WriteDone) << count;
        EXPECT_EQ(s.EventsStartingWith("write E6"), std::vector<std::string>{"write E6 0"}) << count;
        EXPECT_EQ(GetCount(s.image->MessageCount), 1u) << count;
        EXPECT_EQ(s.radio().Records(0xE6).size(), 1u);
    }
}

TEST(SessionWrite, EmptyContactListSendsNoContactAndZonesAlwaysGoBoth)
{
    SessionBench s;
    PrimeRadio(s);
    *s.image = *FullImage(1);
    SetCount(s.image->ContactCount, 0);
    SetCount(s.image->ScanListCount, 0);
    s.Write();
    ASSERT_EQ(s.state.TransferStatus, st::WriteDone);
    EXPECT_TRUE(s.EventsStartingWith("write E4").empty());
    EXPECT_TRUE(s.EventsStartingWith("write E1").empty());
    EXPECT_EQ(s.EventsStartingWith("write E0"), (std::vector<std::string>{"write E0 0", "write E0 1"}));
}

TEST(SessionWrite, CountsAboveTheirTablesSendAtMostTheTable)
{
    SessionBench s;
    PrimeRadio(s);
    *s.image = *FullImage(1);
    Codeplug& c = *s.image;
    SetCount(c.DigitalChannelCount, 200);
    SetCount(c.AnalogChannelCount, 17);
    SetCount(c.ScanListCount, 7);
    SetCount(c.ContactCount, 0xFFFFFFFF);
    SetCount(c.RxGroupCount, 40);
    for (std::size_t sc = 0; sc < 3; ++sc)
        c.ScanTable.record(sc)[39] = 0xFF;  // member count far above 16
    s.Write();

    ASSERT_EQ(s.state.TransferStatus, st::WriteDone);
    EXPECT_TRUE(s.radio().Violations().empty()) << s.radio().Violations().front();
    EXPECT_EQ(s.EventsStartingWith("write F4").size(), 16u);
    EXPECT_EQ(s.EventsStartingWith("write F5").size(), 16u);
    EXPECT_EQ(s.EventsStartingWith("write E1").size(), 3u);
    EXPECT_EQ(s.EventsStartingWith("write E4").size(), 64u);
    EXPECT_EQ(s.EventsStartingWith("write E5").size(), 32u);
    // All sixteen members swapped, nothing past them: the field numbers after the members
    // arrive as stamped, the dwell time swapped.
    const Wire& scan = s.radio().Records(0xE1)[0];
    EXPECT_EQ(Sub(scan, 42 + 3 * 15, 2), Be16(0x0200 + 15));
    EXPECT_EQ(scan[89], 3);
    EXPECT_EQ(scan[91], 4);
    EXPECT_EQ(Sub(scan, 92, 2), (Wire{0x05, 0xDC}));
    EXPECT_EQ(scan[94], 5);
    // The image keeps the counts it had (only the message count has a rule of its own).
    EXPECT_EQ(GetCount(c.DigitalChannelCount), 200u);
    EXPECT_EQ(GetCount(c.RxGroupCount), 40u);
    EXPECT_EQ(GetLE16(c.ScanTable.record(0), 42 + 3 * 15), 0x0200 + 15);
}

TEST(SessionWrite, RadioIdFromTheFieldTravelsMostSignificantByteFirst)
{
    struct Case {
        const char* field;
        std::uint32_t stored;
        Wire wire;
    };
    for (const Case& k : {Case{"1234567", 0x01234567, {0x01, 0x23, 0x45, 0x67}},
                          Case{"99999999", 0x16776415, {0x16, 0x77, 0x64, 0x15}},
                          Case{"", 0x00000001, {0x00, 0x00, 0x00, 0x01}}}) {
        SessionBench s;
        PrimeRadio(s);
        *s.image = *FullImage(1);
        session::SetRadioId(*s.image, session::ParseRadioIdText(k.field));
        s.Write();
        ASSERT_EQ(s.state.TransferStatus, st::WriteDone) << k.field;
        EXPECT_EQ(GetLE32(s.image->DmrSettings, 1), k.stored) << k.field;
        EXPECT_EQ(Sub(s.radio().Records(0xF2)[0], 1, 4), k.wire) << k.field;
    }
}

TEST(SessionWriteFailure, RadioFallingSilentLeavesStatus16AndTheImageInMemoryOrder)
{
    for (int cut : {0, 10, 40, 120}) {
        SessionBench s;
        PrimeRadio(s);
        *s.image = *FullImage(1);
        s.radio().faults().cutAfterRecords = cut;
        s.Write();
        EXPECT_EQ(s.state.TransferStatus, st::Failed) << cut;
        EXPECT_EQ(s.state.TransferBusy, 0) << cut;
        EXPECT_FALSE(s.line().HostOpen()) << cut;
        EXPECT_EQ(s.radio().WriteSessionsClosed(), 0) << cut;
        const Codeplug& c = *s.image;
        for (std::size_t r = 0; r < 16; ++r) {
            EXPECT_EQ(GetLE32(c.DigitalChannelTable.record(r), 54), DigitalRx(r)) << cut;
            EXPECT_EQ(GetLE32(c.AnalogChannelTable.record(r), 47), AnalogTx(r)) << cut;
        }
        EXPECT_EQ(GetLE32(c.ContactTable.record(5), 41), ContactId(5)) << cut;
        EXPECT_EQ(GetLE16(c.RadioSettings, 222), kLongPressMs) << cut;
        EXPECT_EQ(GetLE32(c.DmrSettings, 1), kRadioId) << cut;
    }
}

TEST(SessionWriteFailure, SilentRadio)
{
    SessionBench s;
    s.radio().faults().silent = true;
    *s.image = *FullImage(1);
    s.Write();
    EXPECT_EQ(s.state.TransferStatus, st::Failed);
    EXPECT_FALSE(s.line().HostOpen());
    EXPECT_EQ(s.state.WritePasswordPending, 0);
}

class SessionWritePassword : public ::testing::Test {
protected:
    void SetUp() override
    {
        PrimeRadio(s);
        s.radio().SetProgrammingPassword("00004321");
        *s.image = *FullImage(1);
    }
    SessionBench s;
};

TEST_F(SessionWritePassword, RetryWithTheRightPasswordWritesWithoutExtraA)
{
    s.Write();
    ASSERT_EQ(s.state.TransferStatus, st::PasswordWanted);
    EXPECT_EQ(s.state.WritePasswordPending, 1);
    EXPECT_TRUE(s.line().HostOpen());
    EXPECT_EQ(s.CountEvents("password rejected 0000000000000000"), 1u);
    EXPECT_TRUE(s.EventsStartingWith("begin write").empty());  // nothing written yet

    const std::size_t sent = s.radio().Received().size();
    s.state.PasswordEntry = session::MakePasswordEntry("4322");
    s.Write();
    EXPECT_EQ(s.state.TransferStatus, st::PasswordWanted);
    EXPECT_EQ(s.state.WritePasswordPending, 1);
    EXPECT_EQ(s.radio().Received().size(), sent);  // refused without an exchange

    s.state.PasswordEntry = session::MakePasswordEntry("4321");
    s.Write();
    ASSERT_EQ(s.state.TransferStatus, st::WriteDone);
    EXPECT_EQ(s.state.WritePasswordPending, 0);
    EXPECT_EQ(s.line().OpenCount(), 1);
    EXPECT_EQ(s.CountEvents("password accepted 3030303034333231"), 1u);
    EXPECT_EQ(s.state.PasswordRecord[1], 0x01);
    EXPECT_EQ(s.CountEvents("read DA 0"), 1u);
    EXPECT_EQ(s.CountEvents("close write session"), 1u);
    EXPECT_EQ(s.EventsStartingWith("write extra B").size(), 1u);
    EXPECT_TRUE(s.EventsStartingWith("write extra A").empty());
    EXPECT_TRUE(s.radio().Violations().empty()) << s.radio().Violations().front();
}

TEST_F(SessionWritePassword, TypedBeforeTheFirstAttemptGoesStraightThrough)
{
    s.state.PasswordEntry = session::MakePasswordEntry("4321");
    s.Write();
    ASSERT_EQ(s.state.TransferStatus, st::WriteDone);
    EXPECT_EQ(s.EventsStartingWith("write extra A").size(), 1u);  // first-attempt path
}
