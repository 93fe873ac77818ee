// The virtual radio seen from the cable: requests and replies written out here by hand.
#include "tests/core/TestFiles.h"

#include <sstream>

#include "codeplug/Codeplug.h"
#include "sim/SimOptions.h"
#include "sim/VirtualRadio.h"
#include "tests/core/HexBytes.h"

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

namespace {

constexpr Clock::Duration kByte{260416};  // 10 bits at 38400 baud
const std::string kOpenRead = "84 A9 61 00 07 0F FF 00 00 00 00 2F D8";
const std::string kAck = "84 A9 61 00 04 0F FA 00 2F DE";

// Feeds the bytes as a cable would (one byte time each, after a pause) and returns the reply.
struct Cable {
    VirtualRadio& radio;
    Clock::Time now{};
    std::vector<TimedByte> last;

    Bytes Send(const Bytes& request, Clock::Duration pauseBefore = 1s)
    {
        now += pauseBefore;
        for (std::uint8_t b : request)
            radio.HostByte(b, now += kByte);
        last = radio.TakeOutput();
        Bytes reply;
        for (const auto& t : last)
            reply.push_back(t.value);
        return reply;
    }
    Bytes SendHex(const std::string& hex) { return Send(Hex(hex)); }
};

}  // namespace

TEST(SimRadio, SessionsAndPasswordFlow)
{
    VirtualRadio radio;
    Cable cable{radio, {}, {}};
    EXPECT_EQ(cable.SendHex(kOpenRead), Hex(kAck));
    EXPECT_EQ(cable.SendHex("84 A9 61 00 07 0F FF 00 00 00 01 2F D9"), Hex(kAck));

    radio.SetProgrammingPassword("87654321");
    EXPECT_EQ(cable.SendHex(kOpenRead), Hex("84 A9 61 00 04 0F FA 04 2F DA")) << "protected read";
    EXPECT_EQ(cable.SendHex("84 A9 61 00 04 0F 88 F3 28 00").size(), 12u);
    EXPECT_EQ(cable.SendHex("84 A9 61 00 05 2F 88 F4 F0 00 00").size(), 30u);
    EXPECT_EQ(cable.SendHex("84 A9 61 00 07 0F FF 00 00 04 00 2F DC 00"), Hex("84 A9 61 00 04 0F FA 05 2F DB"))
        << "protected write";
    // Wrong password: refused (07 for a write), and records stay locked; a wrong check byte gets silence.
    EXPECT_EQ(cable.SendHex("84 A9 61 00 0E 0F FF 00 03 01 30 30 30 30 30 30 30 30 2F D3"),
              Hex("84 A9 61 00 04 0F FA 07 2F D9"));
    EXPECT_TRUE(cable.SendHex("84 A9 61 00 04 2F F4 00 2F F0").empty()) << "still locked";
    EXPECT_TRUE(cable.SendHex("84 A9 61 00 0E 0F FF 00 03 01 38 37 36 35 34 33 32 31 2F DC").empty());
    EXPECT_EQ(radio.Violations().size(), 2u);
    // 0E ^ 0F ^ FF ^ 03 ^ 01 ^ '8'..'1' ^ 2F = DB
    EXPECT_EQ(cable.SendHex("84 A9 61 00 0E 0F FF 00 03 01 38 37 36 35 34 33 32 31 2F DB"), Hex(kAck));
    EXPECT_EQ(cable.SendHex("84 A9 61 00 06 0F FF 00 04 04 2F D9"), Hex(kAck));
    EXPECT_EQ(cable.SendHex("84 A9 61 00 07 0F FF 00 00 04 01 2F DD")[6], 0xFA);
    EXPECT_EQ(radio.WriteSessionsClosed(), 1);
}

TEST(SimRadio, RecordReadsEndOfListAndExtendedReads)
{
    VirtualRadio radio;
    radio.SetRecords(0xE4, {Bytes(45, 1), Bytes(45, 2), Bytes(45, 3), Bytes(45, 4)});
    Cable cable{radio, {}, {}};
    cable.SendHex(kOpenRead);
    Bytes expected = Hex("84 A9 61 00 31 2F E4 03");  // 31 ^ 2F ^ E4 ^ 03 ^ (45 x 04) ^ 2F = D2
    expected.insert(expected.end(), 45, 0x04);
    expected.insert(expected.end(), {0x2F, 0xD2});
    EXPECT_EQ(cable.SendHex("84 A9 61 00 04 2F E4 03 2F E3"), expected);

    const Bytes end = cable.SendHex("84 A9 61 00 04 2F E4 04 2F E4");  // past the end: FA, full length
    EXPECT_EQ(std::tuple(end.size(), end.at(6)), std::tuple(55u, 0xFA));
    radio.faults().shortEndOfList = true;
    EXPECT_EQ(cable.SendHex("84 A9 61 00 04 2F E4 04 2F E4").size(), 10u);

    // ReadExtraA: 20 bytes, the values at 11..17; ReadExtraB: 50 bytes, the value MSB first at 23..24.
    radio.SetExtraA({1, 2, 3, 4, 5, 6, 7});
    radio.SetExtraB(0x0BB8);
    const Bytes a = cable.SendHex("84 A9 61 00 05 2F 88 F4 F7 00 1D");
    ASSERT_EQ(a.size(), 20u);
    const Bytes b = cable.SendHex("84 A9 61 00 04 2F F9 00 2F FD 00");
    ASSERT_EQ(b.size(), 50u);
    EXPECT_EQ(std::tuple(Bytes(a.begin() + 11, a.begin() + 18), Bytes(b.begin() + 23, b.begin() + 25)),
              std::tuple(Hex("01 02 03 04 05 06 07"), Hex("0B B8")));
    EXPECT_TRUE(radio.Violations().empty());
}

TEST(SimRadio, WriteSessionReplacesLists)
{
    VirtualRadio radio;
    radio.SetRecords(0xF2, {Bytes(27, 0xEE)});
    Cable cable{radio, {}, {}};
    for (const char* step : {"84 A9 61 00 04 0F 88 F3 28 00", "84 A9 61 00 05 2F 88 F4 F0 00 00",
                             "84 A9 61 00 07 0F FF 00 00 04 00 2F DC 00", "84 A9 61 00 06 0F FF 00 04 04 2F D9"})
        cable.SendHex(step);
    // DmrSettings (27 bytes 00..1A): L = 1F; 1F ^ 0F ^ F2 ^ 00 ^ (00 ^ .. ^ 1A) ^ 2F = D6
    Bytes write = Hex("84 A9 61 00 1F 0F F2 00");
    for (int i = 0; i < 27; ++i)
        write.push_back(static_cast<std::uint8_t>(i));
    write.insert(write.end(), {0x2F, 0xD6});
    // WriteExtraB: the two value bytes, then filler bytes the radio ignores.
    EXPECT_EQ((Bytes{cable.Send(write).at(6), cable.SendHex("84 A9 61 00 07 0F 88 F4 F9 00 04 0F A0 00 00 00 00 00").at(6),
                     cable.SendHex("84 A9 61 00 0C 0F 88 F4 F7 00 1D 11 22 33 FF FF FF FF").at(6)}),
              Bytes(3, 0xFA));
    EXPECT_EQ(std::tuple(radio.Records(0xF2)[0][26] + 0, radio.ExtraB(), radio.ExtraA()[2] + 0), std::tuple(26, 0x0FA0, 0x33));
    cable.SendHex("84 A9 61 00 07 0F FF 00 00 04 01 2F DD");
    EXPECT_TRUE(radio.Violations().empty()) << radio.Violations().front();
    EXPECT_TRUE(cable.Send(write).empty()) << "a record write outside a write session is ignored";
    EXPECT_EQ(radio.Violations().size(), 1u);
}

TEST(SimRadio, ServiceHandshake)
{
    VirtualRadio radio;
    Cable cable{radio, {}, {}};
    EXPECT_EQ(cable.Send({0x5A}), Bytes{0x05});
    EXPECT_EQ(cable.Send({0xA5}), Hex("05 00 5A 52 2D 37 34 30 4E 56 00 00 00 00 01 00 00 00")) << "no password";
    radio.SetServicePassword("123456");
    EXPECT_EQ(cable.Send({0xAA})[1], 0x02);

    auto mem = radio.ServiceMemory();
    for (int i = 0; i < 8; ++i)
        mem[0x300 + i] = static_cast<std::uint8_t>(i + 1);
    EXPECT_EQ(cable.Send({0x5A}), Bytes{0x05});
    EXPECT_EQ(cable.SendHex("72 65 61 64 03 00 00 08 CB 8B"), Hex("06 00 08 00"));
    const Bytes data = cable.Send({0x05});
    ASSERT_EQ(data.size(), 10u);
    EXPECT_EQ(Bytes(data.begin(), data.begin() + 8), Hex("01 02 03 04 05 06 07 08"));

    EXPECT_EQ(cable.SendHex("77 72 69 74 00 DB 00 10 0B 9C"), Hex("15 00 00 00"))
        << "the password store stays shut until the old password is given";
    EXPECT_EQ(cable.SendHex("77 72 69 74 03 00 00 10 74 EC"), Hex("06 00 00 00"));
    const std::string badCrc = "39 38 37 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";
    EXPECT_EQ(cable.SendHex(badCrc), Hex("15 00 00 00")) << "a chunk with a wrong CRC is refused";
    EXPECT_EQ(std::tuple(mem[0x300] + 0, radio.ServicePassword()), std::tuple(0x01, std::string("123456")));
    EXPECT_FALSE(radio.Violations().empty());
    EXPECT_TRUE(cable.SendHex("72 65 61 64 03 00 00 08 CB 8C").empty()) << "a command with a wrong CRC";
}

TEST(SimRadio, BrokenFramesAndNoise)
{
    VirtualRadio radio;
    Cable cable{radio, {}, {}};
    // A frame broken off halfway is dropped after a silence; filler bytes are not requests.
    EXPECT_TRUE(cable.SendHex("84 A9 61 00 07 0F FF").empty());
    EXPECT_EQ(cable.SendHex(kOpenRead), Hex(kAck));
    EXPECT_TRUE(cable.SendHex("01 02 03 04 05 06 07 08 09 00 00 00").empty());
    std::uint32_t x = 12345;  // random noise must never crash or stall the radio
    for (int round = 0; round < 200; ++round) {
        Bytes noise;
        for (int i = 0; i < 64; ++i)
            noise.push_back(static_cast<std::uint8_t>((x = x * 1664525u + 1013904223u) >> 24));
        cable.Send(noise, 1ms);
    }
    cable.Send({}, 1s);
    EXPECT_EQ(cable.Send({0x5A}).back(), 0x05);
}

TEST(SimRadio, NoiseLettersBeforeAFrameAndFloodsStayBounded)
{
    VirtualRadio radio;
    Cable cable{radio, {}, {}};
    // "r" and "k" could begin a command word; followed by a frame they are noise and skipped.
    EXPECT_EQ(cable.Send(Hex("72 6B " + kOpenRead)), Hex(kAck));

    // A flood of wake bytes faster than any radio answers: the replies stop piling up, and the
    // records of what arrived keep a bounded size.
    Clock::Time t = cable.now + 1s;
    for (std::size_t i = 0; i < 100'000; ++i)
        radio.HostByte(0x5A, t += 1us);
    EXPECT_LE(radio.TransmitterFreeAt() - t, 6s);
    EXPECT_LT(radio.TakeOutput().size(), (6s + 100ms) / kByte);
    for (std::size_t i = 0; i < 1'200'000; ++i)
        radio.HostByte(0x00, t += 1us);
    EXPECT_TRUE(radio.Received().size() <= std::size_t{1} << 20 && radio.Events().size() <= 100000u &&
                radio.Violations().size() <= 10000u);
    cable.now = radio.TransmitterFreeAt();
    EXPECT_EQ(cable.SendHex(kOpenRead), Hex(kAck)) << "answers again once it has caught up";
}

TEST(SimRadio, DamagedRecordReplies)
{
    VirtualRadio radio;
    radio.SetRecords(0xF2, {Hex("01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 12 13 14 15 16 17 18 19 1A 1B")});
    Cable cable{radio, {}, {}};
    cable.SendHex(kOpenRead);
    const std::string readF2 = "84 A9 61 00 04 2F F2 00 2F F6";
    const Bytes whole = cable.SendHex(readF2);
    ASSERT_EQ(whole.size(), 37u);
    EXPECT_EQ(std::tuple(Bytes(whole.begin(), whole.begin() + 8), Bytes(whole.end() - 2, whole.end())),
              std::tuple(Hex("84 A9 61 00 1F 2F F2 00"), Hex("2F ED")));

    radio.faults().recordCut = 18;
    EXPECT_EQ(cable.SendHex(readF2), Bytes(whole.begin(), whole.begin() + 18));
    radio.faults() = {};
    radio.faults().foreignRecord = true;
    const Bytes foreign = cable.SendHex(readF2);
    EXPECT_EQ(Bytes(foreign.begin(), foreign.begin() + 8), Hex("84 A9 61 00 1F 2F F4 01"));
    EXPECT_EQ(foreign.back(), 0xEA) << "consistent in itself: the check byte fits the foreign header";
    radio.faults() = {};
    radio.faults().badCheck = true;
    const Bytes bad1 = cable.SendHex(readF2), bad2 = cable.SendHex(readF2);
    EXPECT_TRUE(bad1.back() != 0xED && bad1.back() != bad2.back()) << "wrong by another amount every time";
    EXPECT_EQ(Bytes(bad1.begin(), bad1.end() - 1), Bytes(whole.begin(), whole.end() - 1));
    radio.faults() = {};
    radio.faults().garbagePayload = true;
    const Bytes garbage = cable.SendHex(readF2);
    EXPECT_NE(garbage, whole);
    EXPECT_EQ(std::tuple(Bytes(garbage.begin(), garbage.begin() + 8), Bytes(garbage.end() - 2, garbage.end())),
              std::tuple(Bytes(whole.begin(), whole.begin() + 8), Hex("2F ED")));
    radio.faults() = {};
    radio.faults().ownCheckRule = true;
    const Bytes own = cable.SendHex(readF2);
    EXPECT_EQ(own.back(), 0xED ^ 0x84 ^ 0xA9 ^ 0x61) << "the XOR from the marker on";
    EXPECT_EQ(cable.SendHex(readF2), own) << "the same every time";
}

TEST(SimOptions, SwitchesAndErrors)
{
    std::string error;
    const std::vector<std::string> args = {"--link-dir", "/tmp/x", "--com", "3", "--echo", "--cut-after", "5",
                                           "--password", "1234", "--slow", "2500", "--password-answer", "0x02"};
    const auto o = ParseSimOptions(args, error);
    ASSERT_TRUE(o) << error;
    EXPECT_TRUE(o->linkDir == "/tmp/x" && o->com == 3 && o->setup.echo && o->faults.cutAfterRecords == 5);
    EXPECT_TRUE(o->password == "1234" && o->faults.extraDelay == 2500ms && o->faults.passwordAnswer == 2);
    const std::vector<std::string> damage = {"--cut-record", "18", "--bad-check", "--foreign-record",
                                             "--garbage-payload", "--own-check-rule"};
    const auto d = ParseSimOptions(damage, error);
    ASSERT_TRUE(d) << error;
    EXPECT_TRUE(d->faults.recordCut == 18 && d->faults.badCheck && d->faults.foreignRecord &&
                d->faults.garbagePayload && d->faults.ownCheckRule);
    for (const auto& bad : std::vector<std::vector<std::string>>{
             {"--com", "17", "--link-dir", "/tmp"}, {"--com", "2"}, {"--short-reply"}, {"--bogus"},
             {"--password", "123456789"}, {"--identify-state", "x"}, {"--cut-record", "-1"}}) {
        error.clear();
        EXPECT_TRUE(!ParseSimOptions(bad, error) && !error.empty()) << bad.front();
    }
}
