// The virtual radio seen from the cable: requests and replies written out here by hand.
#include "tests/core/TestFiles.h"

#include "sim/SimOptions.h"
#include "sim/VirtualRadio.h"

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

class SimRadio : public ::testing::Test {
protected:
    VirtualRadio radio;
    Cable cable{radio, {}, {}};
};

}  // namespace

// Sessions and passwords as the link asks for them are the session tests'; here, what the link
// never sends: a wrong password, a record asked for while locked, a wrong check byte.
TEST_F(SimRadio, WrongPasswordsAndCheckBytesAreRefused)
{
    radio.SetProgrammingPassword("87654321");
    EXPECT_EQ(cable.SendHex(kOpenRead), Hex("84 A9 61 00 04 0F FA 04 2F DA")) << "protected read";
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
}

// The records themselves reach the radio in the session tests, through frames spelled out in the
// link's own tests; here, a record write outside a write session.
TEST_F(SimRadio, RecordWriteOutsideAWriteSessionIsIgnored)
{
    radio.SetRecords(0xF2, {Bytes(27, 0xEE)});
    // DmrSettings (27 bytes 00..1A): L = 1F; 1F ^ 0F ^ F2 ^ 00 ^ (00 ^ .. ^ 1A) ^ 2F = D6
    Bytes write = Hex("84 A9 61 00 1F 0F F2 00");
    for (int i = 0; i < 27; ++i)
        write.push_back(static_cast<std::uint8_t>(i));
    write.insert(write.end(), {0x2F, 0xD6});
    EXPECT_TRUE(cable.Send(write).empty());
    EXPECT_EQ(std::tuple(radio.Records(0xF2)[0][26] + 0, radio.Violations().size()), std::tuple(0xEE, std::size_t{1}));
}

// The service exchanges the link makes are ServiceExchange's; here, what it never sends.
TEST_F(SimRadio, ServiceFramesWithWrongCrcsAndThePasswordStoreStayShut)
{
    radio.SetServicePassword("123456");
    auto mem = radio.ServiceMemory();
    mem[0x300] = 0x01;
    EXPECT_EQ(cable.Send({0x5A}), Bytes{0x05});
    EXPECT_EQ(cable.SendHex("77 72 69 74 00 DB 00 10 0B 9C"), Hex("15 00 00 00"))
        << "the password store stays shut until the old password is given";
    EXPECT_EQ(cable.SendHex("77 72 69 74 03 00 00 10 74 EC"), Hex("06 00 00 00"));
    const std::string badCrc = "39 38 37 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";
    EXPECT_EQ(cable.SendHex(badCrc), Hex("15 00 00 00")) << "a chunk with a wrong CRC is refused";
    EXPECT_EQ(std::tuple(mem[0x300] + 0, radio.ServicePassword(), radio.Violations().empty()),
              std::tuple(0x01, std::string("123456"), false));
    EXPECT_TRUE(cable.SendHex("72 65 61 64 03 00 00 08 CB 8C").empty()) << "a command with a wrong CRC";
}

TEST_F(SimRadio, BrokenFramesNoiseAndFloodsStayBounded)
{
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
    EXPECT_LE(radio.Received().size(), std::size_t{1} << 20);
    EXPECT_LE(radio.Events().size(), 100000u);
    EXPECT_LE(radio.Violations().size(), 10000u);
    cable.now = radio.TransmitterFreeAt();
    EXPECT_EQ(cable.SendHex(kOpenRead), Hex(kAck)) << "answers again once it has caught up";
}

TEST_F(SimRadio, DamagedRecordReplies)
{
    const std::string payload = "01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 12 13 14 15 16 17 18 19 1A 1B";
    radio.SetRecords(0xF2, {Hex(payload)});
    cable.SendHex(kOpenRead);
    const Bytes whole = Hex("84 A9 61 00 1F 2F F2 00 " + payload + " 2F ED");
    auto read = [&](void (*fault)(RadioFaults&)) {
        radio.faults() = {};
        fault(radio.faults());
        return cable.SendHex("84 A9 61 00 04 2F F2 00 2F F6");
    };
    EXPECT_EQ(read([](RadioFaults&) {}), whole);
    EXPECT_EQ(read([](RadioFaults& f) { f.recordCut = 18; }), Bytes(whole.begin(), whole.begin() + 18));
    // Consistent in itself: the check byte fits the foreign header.
    EXPECT_EQ(read([](RadioFaults& f) { f.foreignRecord = true; }), Hex("84 A9 61 00 1F 2F F4 01 " + payload + " 2F EA"));
    // The XOR from the marker on (ED ^ 84 ^ A9 ^ 61), the same every time.
    for (int twice = 0; twice < 2; ++twice)
        EXPECT_EQ(read([](RadioFaults& f) { f.ownCheckRule = true; }), Hex("84 A9 61 00 1F 2F F2 00 " + payload + " 2F A1"));
    const Bytes bad1 = read([](RadioFaults& f) { f.badCheck = true; }), bad2 = cable.SendHex("84 A9 61 00 04 2F F2 00 2F F6");
    EXPECT_NE(bad1.back(), 0xED);
    EXPECT_NE(bad1.back(), bad2.back()) << "wrong by another amount every time";
    EXPECT_EQ(Bytes(bad1.begin(), bad1.end() - 1), Bytes(whole.begin(), whole.end() - 1));
    const Bytes garbage = read([](RadioFaults& f) { f.garbagePayload = true; });
    EXPECT_NE(garbage, whole);
    EXPECT_EQ(Bytes(garbage.begin(), garbage.begin() + 8), Bytes(whole.begin(), whole.begin() + 8));
    EXPECT_EQ(Bytes(garbage.end() - 2, garbage.end()), Hex("2F ED"));
}

TEST(SimOptions, SwitchesAndErrors)
{
    std::string error;
    const auto o = ParseSimOptions(std::vector<std::string>{"--link-dir", "/tmp/x", "--com", "3", "--echo", "--cut-after", "5", "--password", "1234",
                                                            "--slow", "2500", "--password-answer", "0x02", "--cut-record",
                                                            "18", "--bad-check", "--foreign-record", "--garbage-payload",
                                                            "--own-check-rule", "--foreign-identity", "--old-firmware",
                                                            "--service-password", "5678"},
                                   error);
    ASSERT_TRUE(o) << error;
    EXPECT_TRUE(o->linkDir == "/tmp/x" && o->com == 3 && o->setup.echo && o->faults.cutAfterRecords == 5);
    EXPECT_TRUE(o->password == "1234" && o->servicePassword == "5678" && o->faults.extraDelay == 2500ms &&
                o->faults.passwordAnswer == 2);
    EXPECT_TRUE(o->faults.recordCut == 18 && o->faults.badCheck && o->faults.foreignRecord &&
                o->faults.garbagePayload && o->faults.ownCheckRule);
    // The key answer names another model and firmware 0030.
    EXPECT_EQ(std::string(o->setup.keyAnswer.begin(), o->setup.keyAnswer.begin() + 14), std::string("ZR-730\0\0\0\0\0\0\0" "0", 14));
    for (const auto& bad : std::vector<std::vector<std::string>>{
             {"--com", "17", "--link-dir", "/tmp"}, {"--com", "2"}, {"--short-reply"}, {"--bogus"},
             {"--password", "123456789"}, {"--identify-state", "x"}, {"--cut-record", "-1"}}) {
        error.clear();
        EXPECT_TRUE(!ParseSimOptions(bad, error) && !error.empty()) << bad.front();
    }
}
