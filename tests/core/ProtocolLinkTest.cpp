// The link object against the virtual radio (and, for replies no sane radio sends, against a
// scripted far end), all in virtual time.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <numeric>
#include <vector>

#include "link/CDialog_MSComm.h"
#include "link/Frames.h"
#include "link/MemoryPort.h"
#include "link/WireOrder.h"
#include "sim/VirtualRadio.h"

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes Filled(std::size_t n, std::uint8_t first)
{
    Bytes b(n);
    std::iota(b.begin(), b.end(), first);
    return b;
}

std::vector<Bytes> Records(std::size_t count, std::size_t size)
{
    std::vector<Bytes> list;
    for (std::size_t i = 0; i < count; ++i)
        list.push_back(Filled(size, static_cast<std::uint8_t>(0x10 * (i + 1))));
    return list;
}

std::size_t CountOf(const Bytes& bytes, std::uint8_t value)
{
    return static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), value));
}

// A far end that answers each block the host writes with the next scripted reply.
class ScriptedDevice final : public LineDevice {
public:
    std::deque<Bytes> replies;
    void HostByte(std::uint8_t, Clock::Time at) override
    {
        lastAt_ = at;
        got_ = true;
    }
    std::vector<TimedByte> TakeOutput() override
    {
        std::vector<TimedByte> out;
        if (!got_)
            return out;
        got_ = false;
        if (replies.empty())
            return out;
        for (std::uint8_t b : replies.front())
            out.push_back({b, lastAt_ + 1ms});
        replies.pop_front();
        return out;
    }

private:
    Clock::Time lastAt_{};
    bool got_ = false;
};

class LinkOnRadio : public ::testing::Test {
protected:
    void SetUp() override
    {
        link.SetDevice("virtual");
        ASSERT_TRUE(link.OpenPort());
    }
    Clock::Duration Elapsed() const { return bench.clock.Now(); }

    RadioBench bench;
    CDialog_MSComm link{bench.PortFactory(), bench.clock};
};

class LinkOnScript : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(link.OpenPort()); }

    VirtualClock clock;
    ScriptedDevice device;
    MemoryLine line{clock, &device};
    CDialog_MSComm link{line.PortFactory(), clock};
};

}  // namespace

// ------------------------------------------------------------------ ReadReply and the port

TEST_F(LinkOnScript, ReadReplyDropsSurplusBytes)
{
    line.InjectToHost(Filled(15, 1), clock.Now());
    Bytes dest(10, 0xCC);
    EXPECT_EQ(link.ReadReply(dest, 10, 20), 10);
    EXPECT_EQ(dest, Filled(10, 1));
    EXPECT_EQ(line.HostReadable(), 0u) << "the surplus goes with the rest of the buffer";
    EXPECT_EQ(clock.Now(), 0ns) << "a complete reply is taken at the first poll";
}

TEST_F(LinkOnScript, ReadReplyWithEchoNeedsEchoPlusReply)
{
    link.SetEchoMode(1);
    link.SendBytes(Filled(10, 0xA0));
    EXPECT_EQ(link.EchoPending(), 10);
    Bytes arrived = Filled(10, 0xA0);  // the echo
    const Bytes reply = Filled(10, 0x30);
    arrived.insert(arrived.end(), reply.begin(), reply.end() - 1);  // one reply byte short: 19
    line.InjectToHost(arrived, clock.Now());
    Bytes dest(10, 0);
    EXPECT_EQ(link.ReadReply(dest, 10, 3), 19) << "not enough for step 1: the raw count comes back";
    EXPECT_TRUE(std::equal(reply.begin(), reply.end() - 1, dest.begin())) << "copied from after the echo";
    EXPECT_EQ(link.EchoPending(), 0);
    EXPECT_EQ(clock.Now(), 270ms);

    link.SendBytes(Filled(10, 0xA0));
    arrived = Filled(10, 0xA0);
    arrived.insert(arrived.end(), reply.begin(), reply.end());
    line.InjectToHost(arrived, clock.Now());
    std::fill(dest.begin(), dest.end(), 0);
    EXPECT_EQ(link.ReadReply(dest, 10, 3), 10);
    EXPECT_EQ(dest, reply);
}

TEST_F(LinkOnScript, ReadReplyAfterTheTries)
{
    Bytes dest(10, 0xCC);
    EXPECT_EQ(link.ReadReply(dest, 10, 5), 0) << "nothing arrived";
    EXPECT_EQ(clock.Now(), 450ms);
    EXPECT_EQ(dest, Bytes(10, 0xCC));

    line.InjectToHost(Bytes{1, 2, 3, 4}, clock.Now());
    EXPECT_EQ(link.ReadReply(dest, 10, 20), 4);
    EXPECT_EQ(clock.Now(), 450ms + 1800ms);
    EXPECT_EQ(Bytes(dest.begin(), dest.begin() + 5), (Bytes{1, 2, 3, 4, 0xCC}));

    // More bytes than the destination holds after the tries: copied only as far as it goes.
    line.InjectToHost(Filled(30, 0), clock.Now());
    Bytes small(10, 0);
    EXPECT_EQ(link.ReadReply(small, 40, 1), 30);
    EXPECT_EQ(small, Filled(10, 0));
}

TEST_F(LinkOnScript, SendBytesDiscardsWaitingInput)
{
    line.InjectToHost(Bytes{9, 9, 9}, clock.Now());
    EXPECT_EQ(link.SendBytes(Bytes{1, 2}), 2u);
    Bytes dest(3, 0);
    EXPECT_EQ(link.ReadReply(dest, 3, 1), 0);
    EXPECT_EQ(line.HostWritten(), (Bytes{1, 2}));
}

TEST_F(LinkOnScript, OpenPortReopensAndDiscardsPendingInput)
{
    line.InjectToHost(Bytes{7, 7}, clock.Now());
    ASSERT_TRUE(link.OpenPort());
    EXPECT_EQ(line.OpenCount(), 2);
    EXPECT_EQ(line.CloseCount(), 1);
    EXPECT_EQ(line.HostReadable(), 0u);
    link.ClosePort();
    EXPECT_FALSE(link.IsPortOpen());
    EXPECT_FALSE(line.HostOpen());

    line.SetPresent(false);
    EXPECT_FALSE(link.OpenPort());
    EXPECT_FALSE(link.IsPortOpen());
    EXPECT_EQ(link.OpenReadSession(), LinkResult::BadReply) << "a port that did not open acts as a silent radio";
}

// ------------------------------------------------------------------ replies no radio should send

TEST_F(LinkOnScript, CloseReadSessionWantsTheExactAcknowledgement)
{
    device.replies = {{0x84, 0xA9, 0x61, 0x00, 0x04, 0x0F, 0xFA, 0x00, 0x2F, 0xDE}};
    EXPECT_EQ(link.CloseReadSession(), LinkResult::Ok);
    device.replies = {{0x84, 0xA9, 0x61, 0x01, 0x04, 0x0F, 0xFA, 0x00, 0x2F, 0xDE}};
    EXPECT_EQ(link.CloseReadSession(), LinkResult::BadReply) << "byte 3 counts here";
    device.replies = {{0x84, 0xA9, 0x61, 0x00, 0x04, 0x0F, 0xFA, 0x01, 0x2F, 0xDE}};
    EXPECT_EQ(link.CloseReadSession(), LinkResult::BadReply);
    // Close write only needs the prefix and FA.
    device.replies = {{0x84, 0xA9, 0x61, 0x77, 0x00, 0x00, 0xFA, 0x09, 0x00, 0x00}};
    EXPECT_EQ(link.CloseWriteSession(), LinkResult::Ok);
}

TEST_F(LinkOnScript, SessionAnswerBytes)
{
    auto reply = [](std::uint8_t b5, std::uint8_t b6, std::uint8_t b7) {
        return Bytes{0x84, 0xA9, 0x61, 0x00, 0x04, b5, b6, b7, 0x2F, 0x00};
    };
    device.replies = {reply(0x0F, 0xFA, 0x09)};
    EXPECT_EQ(link.OpenReadSession(), LinkResult::BadReply);
    device.replies = {reply(0x0F, 0xFA, 0x05)};
    EXPECT_EQ(link.OpenReadSession(), LinkResult::BadReply) << "05 means protected only for a write";
    device.replies = {reply(0x2F, 0xFA, 0x00)};
    EXPECT_EQ(link.BeginWrite(), LinkResult::BadReply) << "byte 5 must be 0F";
    device.replies = {reply(0x0F, 0xFB, 0x00)};
    EXPECT_EQ(link.SubmitPassword(std::array<std::uint8_t, 10>{3}), LinkResult::BadReply);
    device.replies = {reply(0x0F, 0xFA, 0x07)};
    EXPECT_EQ(link.SubmitPassword(std::array<std::uint8_t, 10>{3, 1}), LinkResult::Negative);
    device.replies = {Bytes(12, 0x84), reply(0, 0, 0)};
    EXPECT_EQ(link.OpenWriteSession(), LinkResult::BadReply) << "wrong prefix in step 1 ends it";
}

TEST_F(LinkOnScript, ServiceDataChecks)
{
    auto withCrc = [](Bytes b) { return frame::WithCrc(b); };
    // ServiceRead: wake, ack with length 4, data with a broken CRC -> 288.
    auto data = withCrc({1, 2, 3, 4});
    data.back() ^= 0xFF;
    device.replies = {{0x05}, {0x06, 0x00, 0x04, 0x00}, data};
    Bytes dest(4, 0xCC);
    EXPECT_EQ(link.ServiceRead(0x0100, 4, dest), LinkResult::ServiceCrcError);
    // The same with a good CRC.
    device.replies = {{0x05}, {0x06, 0x00, 0x04, 0x00}, withCrc({1, 2, 3, 4})};
    EXPECT_EQ(link.ServiceRead(0x0100, 4, dest), LinkResult::Ok);
    EXPECT_EQ(dest, (Bytes{1, 2, 3, 4}));

    // DebugQuery: CRC mismatch -> 514, and the first four bytes of dest were cleared.
    data = withCrc({9, 9, 9, 9, 9});
    data[0] ^= 1;
    device.replies = {{0x05}, {0x06, 0x00, 0x05, 0x00}, data};
    Bytes locator(5, 0xCC);
    const std::uint8_t group[4] = {0x1D, 0x06, 0, 0};
    EXPECT_EQ(link.DebugQuery(group, locator), LinkResult::ServiceDataError);
    EXPECT_EQ(locator, (Bytes{0, 0, 0, 0, 0xCC}));

    // KeyQuery: fewer bytes than announced -> 514.
    Bytes identify(18, 0);
    identify[0] = 0x05;
    device.replies = {identify, {0x06, 0x00, 0x10, 0x00}, Bytes(10, 0x41)};
    Bytes answer(16, 0);
    const std::uint8_t zero[4] = {};
    EXPECT_EQ(link.KeyQuery(zero, answer), LinkResult::ServiceDataError);

    // ServiceWrite: the second chunk is not acknowledged -> 1.
    device.replies = {{0x05}, {0x06, 0, 0, 0}, {0x06, 0, 0, 0}, {0x15, 0, 0, 0}};
    EXPECT_EQ(link.ServiceWrite(0x0200, Bytes(600, 0x55)), LinkResult::Negative);

    // An announced length beyond the caller's buffer is read completely and copied as far as it fits.
    device.replies = {{0x05}, {0x06, 0x01, 0x00, 0x00}, withCrc(Filled(256, 0))};
    Bytes tiny(4, 0);
    EXPECT_EQ(link.ServiceRead(0x0000, 4, tiny), LinkResult::Ok);
    EXPECT_EQ(tiny, (Bytes{0, 1, 2, 3}));
}

// ------------------------------------------------------------------ programming frames on the radio

TEST_F(LinkOnRadio, RecordsUntilTheEndOfAList)
{
    bench.radio.SetRecords(0xF4, Records(5, 82));
    ASSERT_EQ(link.OpenReadSession(), LinkResult::Ok);
    for (std::uint8_t i = 0; i < 5; ++i) {
        Bytes dest(82, 0);
        ASSERT_EQ(link.ReadRecord(0xF4, i, dest), LinkResult::Ok);
        EXPECT_EQ(dest, bench.radio.Records(0xF4)[i]);
    }
    Bytes untouched(82, 0xCC);
    EXPECT_EQ(link.ReadRecord(0xF4, 5, untouched), LinkResult::Negative);
    EXPECT_EQ(untouched, Bytes(82, 0xCC));
    EXPECT_EQ(link.CloseReadSession(), LinkResult::Ok);
    EXPECT_TRUE(bench.radio.Violations().empty()) << bench.radio.Violations().front();
}

TEST_F(LinkOnRadio, ShortEndOfListIsStillTheEnd)
{
    bench.radio.faults().shortEndOfList = true;
    ASSERT_EQ(link.OpenReadSession(), LinkResult::Ok);
    const auto before = Elapsed();
    Bytes dest(45, 0xCC);
    EXPECT_EQ(link.ReadRecord(0xE4, 0, dest), LinkResult::Negative);
    EXPECT_EQ(dest, Bytes(45, 0xCC));
    EXPECT_EQ(Elapsed() - before, 200ms + 20 * 90ms) << "a 10-byte answer only ends after the tries";
}

TEST_F(LinkOnRadio, ShortRecordReplyReadsAsZeros)
{
    bench.radio.SetRecords(0xF2, {Bytes(27, 0x5A)});
    ASSERT_EQ(link.OpenReadSession(), LinkResult::Ok);
    bench.radio.faults().shortReply = 8 + 5;
    Bytes dest(27, 0xCC);
    EXPECT_EQ(link.ReadRecord(0xF2, 0, dest), LinkResult::Ok);
    Bytes expected(27, 0);
    std::fill_n(expected.begin(), 5, 0x5A);
    EXPECT_EQ(dest, expected);
}

TEST_F(LinkOnRadio, SilentOrWrongRadioGives513)
{
    bench.radio.faults().wrongPrefix = true;
    EXPECT_EQ(link.OpenReadSession(), LinkResult::BadReply);
    bench.radio.faults().wrongPrefix = false;
    ASSERT_EQ(link.OpenReadSession(), LinkResult::Ok);
    bench.radio.faults().garbageBefore = 3;
    Bytes dest(30, 0);
    EXPECT_EQ(link.ReadRecord(0xDA, 0, dest), LinkResult::BadReply);
    bench.radio.faults().garbageBefore = 0;
    bench.radio.faults().silent = true;
    const auto before = Elapsed();
    EXPECT_EQ(link.ReadRecord(0xDA, 0, dest), LinkResult::BadReply);
    EXPECT_EQ(Elapsed() - before, 200ms + 20 * 90ms);
    EXPECT_EQ(link.CloseReadSession(), LinkResult::BadReply);
    bench.radio.faults().silent = false;
    bench.radio.faults().extraDelay = 2s;  // slower than 20 polls
    EXPECT_EQ(link.ReadRecord(0xDA, 0, dest), LinkResult::BadReply);
}

TEST_F(LinkOnRadio, ReplyCutAfterRecords)
{
    bench.radio.SetRecords(0xE4, Records(10, 45));
    bench.radio.faults().cutAfterRecords = 3;
    ASSERT_EQ(link.OpenReadSession(), LinkResult::Ok);
    Bytes dest(45);
    for (std::uint8_t i = 0; i < 3; ++i)
        EXPECT_EQ(link.ReadRecord(0xE4, i, dest), LinkResult::Ok);
    EXPECT_EQ(link.ReadRecord(0xE4, 3, dest), LinkResult::BadReply);
    EXPECT_EQ(link.CloseReadSession(), LinkResult::BadReply);
}

TEST_F(LinkOnRadio, OpenWriteSessionPausesOnlyBeforeItsFirstStep)
{
    EXPECT_EQ(link.OpenWriteSession(), LinkResult::Ok);
    // Step 1: 200 ms pause, reply ready; steps 2 and 3 poll at once and wait one poll each.
    EXPECT_EQ(Elapsed(), 200ms + 90ms + 90ms);
    const auto sent = bench.radio.EventTexts();
    EXPECT_EQ(sent, (std::vector<std::string>{"prepare write", "write target query", "open write session"}));
}

TEST_F(LinkOnRadio, PasswordFlow)
{
    bench.radio.SetProgrammingPassword("12345678");
    EXPECT_EQ(link.OpenReadSession(), LinkResult::Negative);
    std::array<std::uint8_t, 30> copy{};
    ASSERT_EQ(link.ReadRecord(0xFC, 0, copy), LinkResult::Ok) << "the password record may be read while locked";
    EXPECT_EQ(std::string(copy.begin() + 11, copy.begin() + 19), "12345678");
    Bytes dest(82);
    EXPECT_EQ(link.ReadRecord(0xF4, 0, dest), LinkResult::BadReply) << "nothing else before the password";

    std::array<std::uint8_t, 10> record = {0x03, 0x00, '0', '0', '0', '0', '0', '0', '0', '0'};
    EXPECT_EQ(link.SubmitPassword(record), LinkResult::Negative);
    std::copy_n(copy.begin() + 11, 8, record.begin() + 2);
    EXPECT_EQ(link.SubmitPassword(record), LinkResult::Ok);
    EXPECT_EQ(link.ReadRecord(0xF4, 0, dest), LinkResult::Ok);

    EXPECT_EQ(link.OpenWriteSession(), LinkResult::Negative);
    bench.radio.faults().passwordAnswer = 0x02;
    record[1] = 0x01;
    EXPECT_EQ(link.SubmitPassword(record), 2) << "other answer bytes are passed on";
}

TEST_F(LinkOnRadio, WriteThenReadBack)
{
    ASSERT_EQ(link.OpenWriteSession(), LinkResult::Ok);
    ASSERT_EQ(link.BeginWrite(), LinkResult::Ok);
    const auto channels = Records(2, 82);
    for (std::uint8_t i = 0; i < 2; ++i)
        ASSERT_EQ(link.WriteRecord(0xF4, i, channels[i]), LinkResult::Ok);
    const std::array<std::uint8_t, 2> gain = {0x0B, 0xB8};
    ASSERT_EQ(link.WriteExtraB(gain), LinkResult::Ok);
    const std::array<std::uint8_t, 3> extra = {7, 8, 9};
    ASSERT_EQ(link.WriteExtraA(extra), LinkResult::Ok);
    ASSERT_EQ(link.CloseWriteSession(), LinkResult::Ok);
    EXPECT_EQ(bench.radio.Records(0xF4), channels) << "the list is exactly what was written";
    EXPECT_EQ(bench.radio.ExtraB(), 0x0BB8);
    EXPECT_EQ(bench.radio.WriteSessionsClosed(), 1);

    ASSERT_EQ(link.OpenReadSession(), LinkResult::Ok);
    std::array<std::uint8_t, 7> a{};
    ASSERT_EQ(link.ReadExtraA(a), LinkResult::Ok);
    EXPECT_EQ(a[0], 7);
    EXPECT_EQ(a[2], 9);
    std::array<std::uint8_t, 3> b{};
    ASSERT_EQ(link.ReadExtraB(b), LinkResult::Ok);
    EXPECT_EQ(b[1], 0x0B);
    EXPECT_EQ(b[2], 0xB8);
    std::array<std::uint8_t, 30> info{};
    EXPECT_EQ(link.ReadDeviceInfo(info), LinkResult::Ok);
    EXPECT_EQ(link.CloseReadSession(), LinkResult::Ok);
    EXPECT_TRUE(bench.radio.Violations().empty()) << bench.radio.Violations().front();
}

TEST_F(LinkOnRadio, WriteRecordRefusals)
{
    ASSERT_EQ(link.OpenWriteSession(), LinkResult::Ok);
    ASSERT_EQ(link.BeginWrite(), LinkResult::Ok);
    const auto before = bench.radio.Received().size();
    EXPECT_EQ(link.WriteRecord(0xF0, 0, Bytes(252, 0)), LinkResult::BadReply);
    EXPECT_EQ(bench.radio.Received().size(), before) << "a record too long to frame is not sent";

    EXPECT_EQ(link.WriteRecord(0xF4, 0, Bytes(81, 0)), LinkResult::BadReply) << "the radio ignores a wrong size";
    EXPECT_EQ(bench.radio.Violations().size(), 1u);
}

TEST_F(LinkOnRadio, WriteAcknowledgementMayNotCountMoreThanEleven)
{
    bench.radio.setup().echo = true;
    link.SetEchoMode(1);
    ASSERT_EQ(link.OpenWriteSession(), LinkResult::Ok);
    ASSERT_EQ(link.BeginWrite(), LinkResult::Ok);
    EXPECT_EQ(link.WriteRecord(0xF2, 0, Bytes(27, 1)), LinkResult::Ok);
    bench.radio.faults().shortReply = 9;  // echo (37) + 9 bytes arrive: the count is 46
    EXPECT_EQ(link.WriteRecord(0xF2, 0, Bytes(27, 1)), LinkResult::BadReply);
}

TEST_F(LinkOnRadio, GarbageNeverCrashes)
{
    bench.radio.SetRecords(0xE4, Records(3, 45));
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        bench.radio.faults() = {};
        bench.radio.faults().garbageOnly = seed % 2 == 0;
        bench.radio.faults().garbageBefore = seed % 3;
        bench.radio.faults().shortReply = seed % 4 == 0 ? static_cast<int>(seed) : -1;
        bench.radio.faults().garbageSeed = seed * 7919;
        const std::vector<int> known = {0, 1, 2, 256, 288, 513, 514, 1024};
        auto ok = [&](int r) { return std::find(known.begin(), known.end(), r) != known.end() || r < 256; };
        Bytes dest(45);
        EXPECT_TRUE(ok(link.OpenReadSession()));
        EXPECT_TRUE(ok(link.ReadRecord(0xE4, 0, dest)));
        EXPECT_TRUE(ok(link.OpenWriteSession()));
        std::array<std::uint8_t, 18> id{};
        EXPECT_TRUE(ok(link.IdentifyEx(id)));
        Bytes mem(64);
        EXPECT_TRUE(ok(link.ServiceRead(0x0300, 64, mem)));
        EXPECT_TRUE(ok(link.KeyQuery(std::array<std::uint8_t, 4>{}, mem)));
    }
}

TEST_F(LinkOnRadio, WholeConfigurationInVirtualTime)
{
    // Every list full: 16 + 16 + 2 + 3 + 64 + 32 + 3 records and the single records.
    bench.radio.SetRecords(0xF4, Records(16, 82));
    bench.radio.SetRecords(0xF5, Records(16, 81));
    bench.radio.SetRecords(0xE1, Records(3, 98));
    bench.radio.SetRecords(0xE4, Records(64, 45));
    bench.radio.SetRecords(0xE5, Records(32, 57));
    bench.radio.SetRecords(0xE6, Records(3, 83));
    const auto wallStart = std::chrono::steady_clock::now();
    ASSERT_EQ(link.OpenReadSession(), LinkResult::Ok);
    int records = 0;
    for (const auto& info : kBlockCodes) {
        for (std::size_t i = 0; i < info.maxRecords; ++i) {
            Bytes dest(info.recordBytes);
            const int r = link.ReadRecord(info.code, static_cast<std::uint8_t>(i), dest);
            ASSERT_NE(r, LinkResult::BadReply) << std::hex << int(info.code) << " " << i;
            if (r == LinkResult::Negative)
                break;
            EXPECT_EQ(dest, bench.radio.Records(info.code)[i]);
            ++records;
        }
    }
    EXPECT_EQ(link.CloseReadSession(), LinkResult::Ok);
    EXPECT_EQ(records, 16 + 16 + 1 + 2 + 3 + 1 + 1 + 1 + 1 + 1 + 64 + 32 + 3);
    EXPECT_GT(Elapsed(), records * 200ms) << "virtual time covers every pause";
    EXPECT_LT(std::chrono::steady_clock::now() - wallStart, 20s) << "but the wall clock does not";
    EXPECT_TRUE(bench.radio.Violations().empty());
}

// ------------------------------------------------------------------ service frames on the radio

TEST_F(LinkOnRadio, WakeAndIdentifyRetries)
{
    EXPECT_EQ(link.Wake(), LinkResult::Ok);
    EXPECT_EQ(bench.radio.Received(), Bytes{0x5A});

    bench.radio.faults().silent = true;
    bench.radio.ClearHistory();
    const auto before = Elapsed();
    EXPECT_EQ(link.Wake(), LinkResult::NoAnswer);
    EXPECT_EQ(bench.radio.Received(), Bytes(4, 0x5A));
    EXPECT_EQ(Elapsed() - before, 4 * 20 * 90ms);

    bench.radio.ClearHistory();
    EXPECT_EQ(link.Identify(), LinkResult::NoAnswer);
    EXPECT_EQ(bench.radio.Received(), Bytes(3, 0xA5));

    bench.radio.ClearHistory();
    std::array<std::uint8_t, 18> out{};
    EXPECT_EQ(link.IdentifyEx(out), LinkResult::NoAnswer);
    const Bytes& sent = bench.radio.Received();
    EXPECT_EQ(CountOf(sent, 0xA5), 4u);
    EXPECT_EQ(sent.size(), 4u * (1 + 9)) << "each failed try is followed by 00 01 .. 08";
    EXPECT_EQ(Bytes(sent.begin() + 1, sent.begin() + 10), (Bytes{0, 1, 2, 3, 4, 5, 6, 7, 8}));

    bench.radio.ClearHistory();
    EXPECT_EQ(link.IdentifyAlt(out), LinkResult::NoAnswer);
    Bytes expected(4, 0xAA);
    expected.insert(expected.end(), 10, 0xFF);
    EXPECT_EQ(bench.radio.Received(), expected);
}

TEST_F(LinkOnRadio, IdentifyStateBytes)
{
    for (const auto& [state, result] : std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {2, 2}, {3, 3}, {7, 7}}) {
        bench.radio.setup().identifyState = static_cast<std::uint8_t>(state);
        EXPECT_EQ(link.Identify(), result) << state;
    }
}

TEST_F(LinkOnRadio, IdentifyExComplementsTheAnswer)
{
    bench.radio.setup().identifyState = 2;
    std::array<std::uint8_t, 18> out{};
    EXPECT_EQ(link.IdentifyEx(out), 2);
    EXPECT_EQ(out[0], 0x05);
    EXPECT_EQ(out[1], 0x02);
    for (std::size_t i = 2; i < 18; ++i)
        EXPECT_EQ(out[i], static_cast<std::uint8_t>(~bench.radio.setup().identifyData[i - 2])) << i;

    bench.radio.ClearHistory();
    out = {};
    EXPECT_EQ(link.IdentifyAlt(out), LinkResult::Ok);
    EXPECT_EQ(out[1], 0x02);
    Bytes expected = {0xAA};
    expected.insert(expected.end(), 10, 0xFF);
    EXPECT_EQ(bench.radio.Received(), expected);
}

TEST_F(LinkOnRadio, EchoProbeAndExchangesOverAOneWireCable)
{
    link.ProbeEcho();
    EXPECT_EQ(link.EchoMode(), 0);

    bench.radio.setup().echo = true;
    link.ProbeEcho();
    EXPECT_EQ(link.EchoMode(), 1);
    EXPECT_EQ(link.Wake(), LinkResult::Ok) << "the echoed 5A is skipped";
    bench.radio.SetRecords(0xF4, Records(1, 82));
    ASSERT_EQ(link.OpenReadSession(), LinkResult::Ok);
    Bytes dest(82);
    EXPECT_EQ(link.ReadRecord(0xF4, 0, dest), LinkResult::Ok);
    EXPECT_EQ(dest, bench.radio.Records(0xF4)[0]);
    EXPECT_EQ(link.ReadRecord(0xF4, 1, dest), LinkResult::Negative);
    EXPECT_EQ(link.EchoPending(), 0);
}

TEST_F(LinkOnRadio, KeyAndDebugQueries)
{
    std::array<std::uint8_t, 16> answer{};
    EXPECT_EQ(link.KeyQuery(std::array<std::uint8_t, 4>{'Z', 'R', '-', '7'}, answer), LinkResult::Ok);
    EXPECT_EQ(answer, bench.radio.setup().keyAnswer);
    EXPECT_EQ(link.KeySet(std::array<std::uint8_t, 4>{0x00, 0xFF, 0xFF, 0xFF}), LinkResult::Ok);
    EXPECT_EQ(bench.radio.EventTexts().back(), "key set 00FFFFFF");

    bench.radio.setup().identifyState = 2;
    EXPECT_EQ(link.KeyQuery(std::array<std::uint8_t, 4>{}, answer), 2) << "a non-zero identify ends the query";
    EXPECT_EQ(link.KeySet(std::array<std::uint8_t, 4>{}), LinkResult::Ok) << "state 2 is fine for a key set";
    bench.radio.setup().identifyState = 3;
    EXPECT_EQ(link.KeySet(std::array<std::uint8_t, 4>{}), 3);

    std::array<std::uint8_t, 5> locator{};
    ASSERT_EQ(link.DebugQuery(std::array<std::uint8_t, 4>{0x1D, 0x34, 0, 0}, locator), LinkResult::Ok);
    const auto group = bench.radio.setup().groups.at(0x34);
    EXPECT_EQ(locator[0] | locator[1] << 8, group.address);
    EXPECT_EQ(locator[2] | locator[3] << 8, group.size);
    EXPECT_EQ(locator[4], group.count);
    EXPECT_EQ(link.DebugQuery(std::array<std::uint8_t, 4>{0x1D, 0x77, 0, 0}, locator), LinkResult::Negative);
}

TEST_F(LinkOnRadio, ServiceReadAndWriteChunks)
{
    auto memory = bench.radio.ServiceMemory();
    std::iota(memory.begin() + 0x300, memory.begin() + 0x308, std::uint8_t{40});
    Bytes dest(8);
    ASSERT_EQ(link.ServiceRead(0x0300, 8, dest), LinkResult::Ok);
    EXPECT_EQ(dest, Filled(8, 40));
    bench.radio.ClearHistory();
    EXPECT_EQ(link.ServiceRead(0x0300, 0, dest), LinkResult::NoAnswer);
    EXPECT_TRUE(bench.radio.Received().empty());

    for (const auto& [count, chunks] : std::vector<std::pair<std::size_t, std::vector<std::string>>>{
             {512, {"write chunk 512"}},
             {1000, {"write chunk 512", "write chunk 488"}},
             {1024, {"write chunk 512", "write chunk 512"}}}) {
        bench.radio.ClearHistory();
        const Bytes data = Filled(count, static_cast<std::uint8_t>(count));
        ASSERT_EQ(link.ServiceWrite(0x1000, data), LinkResult::Ok) << count;
        std::vector<std::string> seen;
        for (const auto& e : bench.radio.EventTexts())
            if (e.rfind("write chunk", 0) == 0)
                seen.push_back(e);
        EXPECT_EQ(seen, chunks) << count;
        EXPECT_TRUE(std::equal(data.begin(), data.end(), memory.begin() + 0x1000)) << count;
        // wake, the 10-byte command, then every chunk with its 2 CRC bytes
        EXPECT_EQ(bench.radio.Received().size(), 1 + 10 + count + 2 * chunks.size()) << count;
    }
    EXPECT_TRUE(bench.radio.Violations().empty());
}

TEST_F(LinkOnRadio, RadioPasswordSetCheckAndClear)
{
    // No password yet (state 0): write it at 00DB without a wake, then the key command.
    std::array<std::uint8_t, 18> id{};
    ASSERT_EQ(link.IdentifyEx(id), 0);
    Bytes block(32, 0);
    std::copy_n("4711", 4, block.begin());
    bench.radio.ClearHistory();
    ASSERT_EQ(link.ServiceWriteFixed(std::span(block).first(16)), LinkResult::Ok);
    EXPECT_EQ(bench.radio.EventTexts().front(), "writ 00DB 16") << "no wake before the fixed write";
    ASSERT_EQ(link.KeySet(std::array<std::uint8_t, 4>{0x00, 0xFF, 0xFF, 0xFF}), LinkResult::Ok);
    EXPECT_EQ(bench.radio.ServicePassword(), "4711");

    ASSERT_EQ(link.IdentifyEx(id), 2);
    const auto before = Elapsed();
    EXPECT_EQ(link.SendPair(std::span<const std::uint8_t, 16>(block.data(), 16)), LinkResult::Ok);
    EXPECT_GE(Elapsed() - before, 100ms);
    Bytes wrong(16, 0);
    std::copy_n("4712", 4, wrong.begin());
    ASSERT_EQ(link.IdentifyEx(id), 2);
    EXPECT_EQ(link.SendPair(std::span<const std::uint8_t, 16>(wrong.data(), 16)), LinkResult::PasswordError);

    ASSERT_EQ(link.ServiceWriteFixed(Bytes(32, 0xFF)), LinkResult::Ok);
    EXPECT_EQ(bench.radio.ServicePassword(), "");
    EXPECT_EQ(link.Identify(), 0);
}
