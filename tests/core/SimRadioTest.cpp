// The virtual radio seen from the cable: requests written out by hand from the protocol tables,
// replies checked against what the tables promise (not against the host's code).
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "codeplug/Codeplug.h"
#include "sim/SimOptions.h"
#include "sim/VirtualRadio.h"

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes Hex(const std::string& text)
{
    Bytes out;
    std::istringstream in(text);
    std::string byte;
    while (in >> byte)
        out.push_back(static_cast<std::uint8_t>(std::stoul(byte, nullptr, 16)));
    return out;
}

constexpr Clock::Duration kByte{260416};  // 10 bits at 38400 baud

// Feeds the bytes as a cable would (one byte time each, from `start`) and returns the reply.
struct Cable {
    explicit Cable(VirtualRadio& r) : radio(r) {}
    VirtualRadio& radio;
    Clock::Time now{};
    std::vector<TimedByte> last;

    Bytes Send(const Bytes& request, Clock::Duration pauseBefore = 1s)
    {
        now += pauseBefore;
        for (std::uint8_t b : request) {
            now += kByte;
            radio.HostByte(b, now);
        }
        last = radio.TakeOutput();
        Bytes reply;
        for (const auto& t : last)
            reply.push_back(t.value);
        return reply;
    }
};

std::uint8_t Xor(const Bytes& f, std::size_t from, std::size_t to)
{
    std::uint8_t x = 0;
    for (std::size_t i = from; i < to; ++i)
        x ^= f[i];
    return x;
}

}  // namespace

TEST(SimRadio, SessionCommandsFromTheTable)
{
    VirtualRadio radio;
    Cable cable(radio);
    const Bytes open = cable.Send(Hex("84 A9 61 00 07 0F FF 00 00 00 00 2F D8"));
    ASSERT_EQ(open.size(), 10u);
    EXPECT_EQ(Bytes(open.begin(), open.begin() + 3), Hex("84 A9 61"));
    EXPECT_EQ(open[7], 0x00) << "open";
    EXPECT_EQ(open[9], Xor(open, 4, 9)) << "the radio's own check byte is right";
    EXPECT_EQ(cable.Send(Hex("84 A9 61 00 07 0F FF 00 00 00 01 2F D9")),
              Hex("84 A9 61 00 04 0F FA 00 2F DE"));

    radio.SetProgrammingPassword("87654321");
    EXPECT_EQ(cable.Send(Hex("84 A9 61 00 07 0F FF 00 00 00 00 2F D8"))[7], 0x04) << "protected read";
    EXPECT_EQ(cable.Send(Hex("84 A9 61 00 04 0F 88 F3 28 00")).size(), 12u);
    EXPECT_EQ(cable.Send(Hex("84 A9 61 00 05 2F 88 F4 F0 00 00")).size(), 30u);
    EXPECT_EQ(cable.Send(Hex("84 A9 61 00 07 0F FF 00 00 04 00 2F DC 00"))[7], 0x05) << "protected write";
    // 0E ^ 0F ^ FF ^ 03 ^ 01 ^ '8'..'1' ^ 2F = DB
    const Bytes accepted = cable.Send(Hex("84 A9 61 00 0E 0F FF 00 03 01 38 37 36 35 34 33 32 31 2F DB"));
    ASSERT_EQ(accepted.size(), 10u);
    EXPECT_EQ(accepted[6], 0xFA);
    EXPECT_EQ(accepted[7], 0x00);
    const Bytes begin = cable.Send(Hex("84 A9 61 00 06 0F FF 00 04 04 2F D9"));
    EXPECT_EQ(begin[5], 0x0F);
    EXPECT_EQ(begin[6], 0xFA);
    EXPECT_EQ(cable.Send(Hex("84 A9 61 00 07 0F FF 00 00 04 01 2F DD"))[6], 0xFA);
    EXPECT_EQ(radio.WriteSessionsClosed(), 1);
    EXPECT_TRUE(radio.Violations().empty());
}

TEST(SimRadio, WrongPasswordAndBadFramesGetNoAccess)
{
    VirtualRadio radio;
    radio.SetProgrammingPassword("1");
    Cable cable(radio);
    cable.Send(Hex("84 A9 61 00 07 0F FF 00 00 00 00 2F D8"));
    // The stored password is right-aligned: "00000001".
    EXPECT_EQ(Bytes(radio.Records(0xFC)[0].begin() + 11, radio.Records(0xFC)[0].begin() + 19),
              Hex("30 30 30 30 30 30 30 31"));
    // 0E ^ 0F ^ FF ^ 03 ^ 00 ^ 8 x '0' ^ 2F = D2
    const Bytes rejected = cable.Send(Hex("84 A9 61 00 0E 0F FF 00 03 00 30 30 30 30 30 30 30 30 2F D2"));
    EXPECT_EQ(rejected[7], 0x06);
    EXPECT_TRUE(cable.Send(Hex("84 A9 61 00 04 2F F4 00 2F F0")).empty()) << "still locked";
    // Wrong check byte: silence.
    EXPECT_TRUE(cable.Send(Hex("84 A9 61 00 0E 0F FF 00 03 00 30 30 30 30 30 30 30 31 2F D2")).empty());
    EXPECT_EQ(radio.Violations().size(), 2u);
}

TEST(SimRadio, RecordReadsAndEndOfList)
{
    VirtualRadio radio;
    std::vector<Bytes> contacts;
    for (int i = 0; i < 4; ++i)
        contacts.push_back(Bytes(45, static_cast<std::uint8_t>(i + 1)));
    radio.SetRecords(0xE4, contacts);
    Cable cable(radio);
    cable.Send(Hex("84 A9 61 00 07 0F FF 00 00 00 00 2F D8"));
    const Bytes r = cable.Send(Hex("84 A9 61 00 04 2F E4 03 2F E3"));
    ASSERT_EQ(r.size(), 45u + 10);
    EXPECT_EQ(Bytes(r.begin(), r.begin() + 8), Hex("84 A9 61 00 31 2F E4 03"));
    EXPECT_EQ(Bytes(r.begin() + 8, r.begin() + 53), contacts[3]);
    EXPECT_EQ(r[53], 0x2F);
    EXPECT_EQ(r[54], Xor(r, 4, 54));

    // Index 4 is past the end: byte 6 FA; the reply has the full length unless told otherwise.
    const Bytes end = cable.Send(Hex("84 A9 61 00 04 2F E4 04 2F E4"));
    ASSERT_EQ(end.size(), 55u);
    EXPECT_EQ(end[6], 0xFA);
    radio.faults().shortEndOfList = true;
    EXPECT_EQ(cable.Send(Hex("84 A9 61 00 04 2F E4 04 2F E4")).size(), 10u);

    // The extended reads: ReadExtraA answers 20 bytes with the values at 11..17, ReadExtraB 50
    // bytes with the 16-bit value (most significant first) at 23..24.
    radio.SetExtraA({1, 2, 3, 4, 5, 6, 7});
    radio.SetExtraB(0x0BB8);
    const Bytes a = cable.Send(Hex("84 A9 61 00 05 2F 88 F4 F7 00 1D"));
    ASSERT_EQ(a.size(), 20u);
    EXPECT_EQ(Bytes(a.begin() + 11, a.begin() + 18), Hex("01 02 03 04 05 06 07"));
    const Bytes b = cable.Send(Hex("84 A9 61 00 04 2F F9 00 2F FD 00"));
    ASSERT_EQ(b.size(), 50u);
    EXPECT_EQ(b[23], 0x0B);
    EXPECT_EQ(b[24], 0xB8);
    EXPECT_EQ(cable.Send(Hex("84 A9 61 00 05 2F 88 F4 FC 00 00")).size(), 32u);
    EXPECT_TRUE(radio.Violations().empty());
}

TEST(SimRadio, WriteSessionReplacesLists)
{
    VirtualRadio radio;
    radio.SetRecords(0xF2, {Bytes(27, 0xEE)});
    Cable cable(radio);
    cable.Send(Hex("84 A9 61 00 04 0F 88 F3 28 00"));
    cable.Send(Hex("84 A9 61 00 05 2F 88 F4 F0 00 00"));
    cable.Send(Hex("84 A9 61 00 07 0F FF 00 00 04 00 2F DC 00"));
    cable.Send(Hex("84 A9 61 00 06 0F FF 00 04 04 2F D9"));
    // DmrSettings (27 bytes): L = 1F.
    Bytes write = Hex("84 A9 61 00 1F 0F F2 00");
    for (int i = 0; i < 27; ++i)
        write.push_back(static_cast<std::uint8_t>(i));
    write.push_back(0x2F);
    write.push_back(Xor(write, 4, write.size()));
    const Bytes ack = cable.Send(write);
    ASSERT_EQ(ack.size(), 10u);
    EXPECT_EQ(ack[6], 0xFA);
    EXPECT_EQ(radio.Records(0xF2)[0][26], 26);
    // WriteExtraB: the two value bytes, then five filler bytes the radio ignores.
    EXPECT_EQ(cable.Send(Hex("84 A9 61 00 07 0F 88 F4 F9 00 04 0F A0 00 00 00 00 00"))[6], 0xFA);
    EXPECT_EQ(radio.ExtraB(), 0x0FA0);
    EXPECT_EQ(cable.Send(Hex("84 A9 61 00 0C 0F 88 F4 F7 00 1D 11 22 33 FF FF FF FF"))[6], 0xFA);
    EXPECT_EQ(radio.ExtraA()[2], 0x33);
    cable.Send(Hex("84 A9 61 00 07 0F FF 00 00 04 01 2F DD"));
    EXPECT_TRUE(radio.Violations().empty()) << radio.Violations().front();

    // A record write outside a write session is ignored.
    EXPECT_TRUE(cable.Send(write).empty());
    EXPECT_EQ(radio.Violations().size(), 1u);
}

TEST(SimRadio, ReplyTiming)
{
    VirtualRadio radio;
    radio.setup().turnaround = 5ms;
    Cable cable(radio);
    cable.Send(Hex("84 A9 61 00 07 0F FF 00 00 00 00 2F D8"));
    ASSERT_EQ(cable.last.size(), 10u);
    const Clock::Time requestEnd = cable.now;
    EXPECT_EQ(cable.last[0].at, requestEnd + 5ms + kByte);
    for (std::size_t i = 1; i < cable.last.size(); ++i)
        EXPECT_EQ(cable.last[i].at - cable.last[i - 1].at, kByte);

    radio.faults().extraDelay = 3s;
    radio.faults().byteGap = 1ms;
    cable.Send(Hex("84 A9 61 00 07 0F FF 00 00 00 01 2F D9"));
    EXPECT_EQ(cable.last[0].at, cable.now + 5ms + 3s + kByte);
    EXPECT_EQ(cable.last[1].at - cable.last[0].at, kByte + 1ms);
}

TEST(SimRadio, ServiceHandshake)
{
    VirtualRadio radio;
    Cable cable(radio);
    EXPECT_EQ(cable.Send({0x5A}), Bytes{0x05});
    const Bytes id = cable.Send({0xA5});
    ASSERT_EQ(id.size(), 18u);
    EXPECT_EQ(id[0], 0x05);
    EXPECT_EQ(id[1], 0x00) << "no radio password";
    radio.SetServicePassword("123456");
    EXPECT_EQ(cable.Send({0xAA})[1], 0x02);

    // "read" 0300, 8 bytes (CRC CB 8B): ack with the length, then 05 -> data + CRC.
    auto mem = radio.ServiceMemory();
    for (int i = 0; i < 8; ++i)
        mem[0x300 + i] = static_cast<std::uint8_t>(i + 1);
    EXPECT_EQ(cable.Send({0x5A}), Bytes{0x05});
    EXPECT_EQ(cable.Send(Hex("72 65 61 64 03 00 00 08 CB 8B")), Hex("06 00 08 00"));
    // CRC-16/MODBUS of 01..08 is 1B 2E... checked by the framing rule: last two bytes MSB first.
    const Bytes data = cable.Send({0x05});
    ASSERT_EQ(data.size(), 10u);
    EXPECT_EQ(Bytes(data.begin(), data.begin() + 8), Hex("01 02 03 04 05 06 07 08"));

    // "writ" 00DB, 16 bytes (CRC 0B 9C), one chunk with its CRC.
    EXPECT_EQ(cable.Send(Hex("77 72 69 74 00 DB 00 10 0B 9C")), Hex("06 00 00 00"));
    Bytes chunk = {'9', '8', '7', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    chunk.push_back(0);
    chunk.push_back(0);  // a wrong CRC first
    EXPECT_EQ(cable.Send(chunk)[0], 0x15);
    EXPECT_EQ(radio.ServicePassword(), "123456");
    EXPECT_FALSE(radio.Violations().empty());

    // A command with a wrong CRC is ignored.
    EXPECT_TRUE(cable.Send(Hex("72 65 61 64 03 00 00 08 CB 8C")).empty());
}

TEST(SimRadio, OneWireEchoAndFaults)
{
    VirtualRadio radio;
    radio.setup().echo = true;
    Cable cable(radio);
    const Bytes probe = cable.Send({'V', 'A', 'N', 'T', 'I'});
    EXPECT_EQ(probe, (Bytes{'V', 'A', 'N', 'T', 'I'})) << "the probe is echoed and not answered";
    const Bytes both = cable.Send({0x5A});
    EXPECT_EQ(both, (Bytes{0x5A, 0x05}));

    radio.setup().echo = false;
    radio.faults().wrongPrefix = true;
    EXPECT_EQ(cable.Send(Hex("84 A9 61 00 07 0F FF 00 00 00 00 2F D8"))[2], 0x60);
    radio.faults().wrongPrefix = false;
    radio.faults().shortReply = 4;
    EXPECT_EQ(cable.Send(Hex("84 A9 61 00 07 0F FF 00 00 00 00 2F D8")), Hex("84 A9 61 00"));
    radio.faults().shortReply = -1;
    radio.faults().garbageBefore = 2;
    EXPECT_EQ(cable.Send(Hex("84 A9 61 00 07 0F FF 00 00 00 00 2F D8")).size(), 12u);
    radio.faults().garbageBefore = 0;
    radio.faults().silent = true;
    EXPECT_TRUE(cable.Send({0x5A}).empty());
}

TEST(SimRadio, ResynchronisesAfterNoise)
{
    VirtualRadio radio;
    Cable cable(radio);
    // A frame broken off halfway is dropped after a silence, and the next request is answered.
    EXPECT_TRUE(cable.Send(Hex("84 A9 61 00 07 0F FF")).empty());
    EXPECT_EQ(cable.Send(Hex("84 A9 61 00 07 0F FF 00 00 00 00 2F D8")).size(), 10u);
    // Filler bytes (the echo probe's tail, a resync sequence, zeros) are not requests.
    EXPECT_TRUE(cable.Send(Hex("01 02 03 04 05 06 07 08 09 00 00 00")).empty());
    // Random noise must never crash or stall the radio.
    std::uint32_t x = 12345;
    for (int round = 0; round < 200; ++round) {
        Bytes noise;
        for (int i = 0; i < 64; ++i) {
            x = x * 1664525u + 1013904223u;
            noise.push_back(static_cast<std::uint8_t>(x >> 24));
        }
        cable.Send(noise, 1ms);
    }
    cable.Send({}, 1s);
    EXPECT_EQ(cable.Send({0x5A}).back(), 0x05);
}

TEST(SimRadio, CodeplugRoundTrip)
{
    auto image = std::make_unique<Codeplug>();
    image->DigitalChannelCount[0] = 3;
    image->AnalogChannelCount[0] = 40;  // a damaged count: the radio takes what fits
    SetCount(image->ContactCount, 2);
    SetCount(image->ScanListCount, 1);
    SetCount(image->RxGroupCount, 1);
    SetCount(image->MessageCount, 3);
    auto rec = image->DigitalChannelTable.record(2);
    rec[54] = 0xA0;  // 438.5 MHz, little-endian in the image
    rec[55] = 0xFA;
    rec[56] = 0x22;
    rec[57] = 0x1A;
    image->FunctionExtra = {1, 2, 3, 0xB8, 0x0B, 6, 7};
    image->RecordE2Block[44] = 0x44;
    image->RecordE2Block[45] = 0x45;  // beyond the exchanged record

    VirtualRadio radio;
    radio.LoadCodeplug(*image);
    ASSERT_EQ(radio.Records(0xF4).size(), 3u);
    EXPECT_EQ(radio.Records(0xF5).size(), 16u);
    EXPECT_EQ(radio.Records(0xE0).size(), 2u);
    EXPECT_EQ(Bytes(radio.Records(0xF4)[2].begin() + 54, radio.Records(0xF4)[2].begin() + 58), Hex("1A 22 FA A0"))
        << "held in wire order";
    EXPECT_EQ(radio.ExtraB(), 0x0BB8);

    auto back = std::make_unique<Codeplug>();
    radio.SaveCodeplug(*back);
    EXPECT_EQ(back->DigitalChannelTable.bytes, image->DigitalChannelTable.bytes);
    EXPECT_EQ(back->DigitalChannelCount[0], 3);
    EXPECT_EQ(back->AnalogChannelCount[0], 16);
    EXPECT_EQ(GetCount(back->ContactCount), 2u);
    EXPECT_EQ(GetCount(back->MessageCount), 3u);
    EXPECT_EQ(back->FunctionExtra, image->FunctionExtra);
    EXPECT_EQ(back->RecordE2Block[44], 0x44);
    EXPECT_EQ(back->RecordE2Block[45], 0x00);
}

TEST(SimOptions, SwitchesAndErrors)
{
    std::string error;
    const std::vector<std::string> args = {"--link-dir", "/tmp/x", "--com", "3", "--echo", "--cut-after", "5",
                                           "--password", "1234", "--slow", "2500", "--password-answer", "0x02"};
    const auto o = ParseSimOptions(args, error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->linkDir, "/tmp/x");
    EXPECT_EQ(o->com, 3);
    EXPECT_TRUE(o->setup.echo);
    EXPECT_EQ(o->faults.cutAfterRecords, 5);
    EXPECT_EQ(o->password, "1234");
    EXPECT_EQ(o->faults.extraDelay, 2500ms);
    EXPECT_EQ(o->faults.passwordAnswer, 2);

    for (const auto& bad : std::vector<std::vector<std::string>>{
             {"--com", "17", "--link-dir", "/tmp"}, {"--com", "2"}, {"--short-reply"}, {"--bogus"},
             {"--password", "123456789"}, {"--identify-state", "x"}}) {
        error.clear();
        EXPECT_FALSE(ParseSimOptions(bad, error)) << bad.front();
        EXPECT_FALSE(error.empty());
    }
    EXPECT_NE(SimUsage().find("--save-on-close"), std::string::npos);
}
