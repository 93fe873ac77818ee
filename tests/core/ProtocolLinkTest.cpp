// The link object against the virtual radio (and, for replies no sane radio sends, against a
// scripted far end), all in virtual time.
#include "tests/core/TestFiles.h"

#include <deque>
#include <numeric>

#include "link/CDialog_MSComm.h"
#include "link/Frames.h"
#include "link/MemoryPort.h"
#include "sim/VirtualRadio.h"

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using Pw = std::array<std::uint8_t, 10>;
using Four = std::array<std::uint8_t, 4>;

namespace {

Bytes Filled(std::size_t n, std::uint8_t first)
{
    Bytes b(n);
    std::iota(b.begin(), b.end(), first);
    return b;
}

// A far end that answers each block the host writes with the next scripted reply.
class ScriptedDevice final : public LineDevice {
public:
    std::deque<Bytes> replies;
    void HostByte(std::uint8_t, Clock::Time at) override { lastAt_ = at, got_ = true; }
    std::vector<TimedByte> TakeOutput() override
    {
        std::vector<TimedByte> out;
        if (!std::exchange(got_, false) || replies.empty())
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
    void SetUp() override { link.SetDevice("virtual"); ASSERT_TRUE(link.OpenPort()); }
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

TEST_F(LinkOnScript, ReadReplyWithEchoNeedsEchoPlusReply)
{
    link.SetEchoMode(1);
    const Bytes reply = Filled(10, 0x30);
    for (std::size_t got : {9u, 10u}) {
        link.SendBytes(Filled(10, 0xA0));
        EXPECT_EQ(link.EchoPending(), 10);
        Bytes arrived = Filled(10, 0xA0);  // the echo
        arrived.insert(arrived.end(), reply.begin(), reply.begin() + got);
        line.InjectToHost(arrived, clock.Now());
        Bytes dest(10, 0);
        EXPECT_EQ(link.ReadReply(dest, 10, 3), got == 9 ? 19 : 10) << "19 bytes: the raw count comes back";
        EXPECT_TRUE(std::equal(reply.begin(), reply.begin() + got, dest.begin())) << "copied from after the echo";
        EXPECT_EQ(link.EchoPending(), 0);
        if (got == 9) {
            EXPECT_EQ(clock.Now(), 270ms);
        }
    }
}

TEST_F(LinkOnScript, ReadReplySurplusAndAfterTheTries)
{
    line.InjectToHost(Filled(15, 1), clock.Now());
    Bytes dest(10, 0xCC);
    EXPECT_EQ(link.ReadReply(dest, 10, 20), 10);
    EXPECT_EQ(dest, Filled(10, 1));
    // The surplus goes with the rest of the buffer; a complete reply is taken at the first poll.
    EXPECT_EQ(std::tuple(line.HostReadable(), clock.Now()), std::tuple(0u, Clock::Time{}));

    dest.assign(10, 0xCC);
    EXPECT_EQ(link.ReadReply(dest, 10, 5), 0) << "nothing arrived";
    EXPECT_EQ(std::tuple(clock.Now(), dest), std::tuple(Clock::Time{450ms}, Bytes(10, 0xCC)));

    line.InjectToHost(Bytes{1, 2, 3, 4}, clock.Now());
    EXPECT_EQ(link.ReadReply(dest, 10, 20), 4);
    EXPECT_EQ(std::tuple(clock.Now(), Bytes(dest.begin(), dest.begin() + 5)),
              std::tuple(Clock::Time{450ms + 1800ms}, Bytes{1, 2, 3, 4, 0xCC}));
}

// ------------------------------------------------------------------ replies no radio should send

// Session answers: every byte that matters is judged, and only on the bytes that arrived.
TEST_F(LinkOnScript, SessionAnswerBytes)
{
    auto reply = [](std::uint8_t b3, std::uint8_t b5, std::uint8_t b6, std::uint8_t b7) {
        return Bytes{0x84, 0xA9, 0x61, b3, 0x04, b5, b6, b7, 0x2F, 0xDE};
    };
    const Bytes closed = reply(0, 0x0F, 0xFA, 0);
    auto cut = [&](std::size_t n) { return Bytes(closed.begin(), closed.begin() + static_cast<std::ptrdiff_t>(n)); };
    const std::function<int()> openRead = [this] { return link.OpenReadSession(); },
                               closeRead = [this] { return link.CloseReadSession(); },
                               password = [this] { return link.SubmitPassword(Pw{3, 1}); },
                               openWrite = [this] { return link.OpenWriteSession(); },
                               begin = [this] { return link.BeginWrite(); };
    const struct {
        std::function<int()> call;
        std::deque<Bytes> replies;
        int expected;
    } rows[] = {
        {closeRead, {closed}, LinkResult::Ok},
        {closeRead, {reply(1, 0x0F, 0xFA, 0)}, LinkResult::BadReply},
        {closeRead, {reply(0, 0x0F, 0xFA, 1)}, LinkResult::BadReply},
        {[this] { return link.CloseWriteSession(); }, {reply(0x77, 0, 0xFA, 9)}, LinkResult::Ok},
        {openRead, {reply(0, 0x0F, 0xFA, 9)}, LinkResult::BadReply},
        {openRead, {reply(0, 0x0F, 0xFA, 5)}, LinkResult::BadReply},
        {begin, {reply(0, 0x2F, 0xFA, 0)}, LinkResult::BadReply},
        {password, {reply(0, 0x0F, 0xFB, 0)}, LinkResult::BadReply},
        {password, {reply(0, 0x0F, 0xFA, 7)}, LinkResult::Negative},
        {password, {reply(0, 0x0F, 0xFA, 2)}, 2},  // passed on as is
        {openWrite, {Bytes(12, 0x84), reply(0, 0, 0, 0)}, LinkResult::BadReply},
        // Byte 7 (00: open) never arrived: the zeros of the buffer do not count.
        {openRead, {cut(7)}, LinkResult::DamagedReply},
        {openRead, {cut(8)}, LinkResult::Ok},
        {closeRead, {cut(7)}, LinkResult::DamagedReply},
        {password, {cut(7)}, LinkResult::DamagedReply},
        {[this] { return link.CloseWriteSession(); }, {cut(6)}, LinkResult::DamagedReply},
        {begin, {cut(2)}, LinkResult::BadReply},
        {openWrite, {Bytes{0x84, 0xA9, 0x61}, Bytes{0x84, 0xA9, 0x61}, cut(7)}, LinkResult::DamagedReply},
        // Bytes 14-17 of the extra values did not arrive.
        {[this] { std::array<std::uint8_t, 7> extraA{}; return link.ReadExtraA(extraA); },
         {Bytes{0x84, 0xA9, 0x61, 0x00, 0x0E, 0x2F, 0x88, 0xF4, 0xF7, 0x00, 0x1D, 1, 2, 3}}, LinkResult::DamagedReply},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        device.replies = rows[i].replies;
        EXPECT_EQ(rows[i].call(), rows[i].expected) << "row " << i;
    }
}

TEST_F(LinkOnScript, RecordRepliesMustBeWholeConsistentAndChecked)
{
    // Read of code F2 record 0 with a 3-byte payload 01 02 03; XOR check F5.
    const Bytes good = {0x84, 0xA9, 0x61, 0x00, 0x07, 0x2F, 0xF2, 0x00, 0x01, 0x02, 0x03, 0x2F, 0xF5};
    auto with = [&](std::size_t at, std::uint8_t value) {
        Bytes b = good;
        b[at] = value;
        return b;
    };
    const Bytes noRecord = {0x84, 0xA9, 0x61, 0x00, 0x04, 0x2F, 0xFA, 0x00, 0x2F, 0xFE};
    const struct { const char* what; std::deque<Bytes> replies; int expected; std::size_t exchanges; } rows[] = {
        {"whole and consistent", {good}, LinkResult::Ok, 1},
        {"cut, then whole", {Bytes(good.begin(), good.end() - 1), good}, LinkResult::Ok, 2},
        {"another code each time", {with(6, 0xF4), with(6, 0xF4), with(6, 0xF4)}, LinkResult::DamagedReply, 3},
        {"another index each time", {with(7, 1), with(7, 1), with(7, 1)}, LinkResult::DamagedReply, 3},
        {"no terminator", {with(11, 0x2E), with(11, 0x2E), with(11, 0x2E)}, LinkResult::DamagedReply, 3},
        {"length byte wrong", {with(4, 0x08), with(4, 0x08), with(4, 0x08)}, LinkResult::DamagedReply, 3},
        {"check wrong differently each time", {with(12, 0x00), with(12, 0x01), with(12, 0x02)}, LinkResult::DamagedReply, 3},
        {"check wrong the same way twice", {with(12, 0xB9), with(12, 0xB9)}, LinkResult::Ok, 2},
        {"no record, 10 bytes", {noRecord}, LinkResult::Negative, 1},
        {"no record with a wrong check byte, then whole",
         {Bytes{0x84, 0xA9, 0x61, 0x00, 0x04, 0x2F, 0xFA, 0x00, 0x2F, 0x00}, noRecord}, LinkResult::Negative, 2},
        // Check byte from the marker on (B2): accepted as the radio's own rule, still no record.
        {"no record under the radio's own check rule",
         {Bytes{0x84, 0xA9, 0x61, 0x00, 0x04, 0x2F, 0xFA, 0x00, 0x2F, 0xB2},
          Bytes{0x84, 0xA9, 0x61, 0x00, 0x04, 0x2F, 0xFA, 0x00, 0x2F, 0xB2}},
         LinkResult::Negative, 2},
    };
    for (const auto& row : rows) {
        ASSERT_TRUE(link.OpenPort());  // a fresh session: nothing learnt about the check bytes
        device.replies = row.replies;
        line.ClearHostWritten();
        Bytes dest(3, 0xCC);
        EXPECT_EQ(link.ReadRecord(0xF2, 0, dest), row.expected) << row.what;
        EXPECT_EQ(line.HostWritten().size(), row.exchanges * 10) << row.what;
        EXPECT_EQ(dest, row.expected == LinkResult::Ok ? (Bytes{1, 2, 3}) : Bytes(3, 0xCC)) << row.what;
    }
}

TEST_F(LinkOnScript, OwnCheckRuleIsLearntOnceAndOnlyForItsOwnDifference)
{
    std::vector<std::string> notes;
    link.SetNoteSink([&](const std::string& n) { notes.push_back(n); });
    // The same reply with the check byte taken from the marker on (B9 instead of F5).
    const Bytes own = {0x84, 0xA9, 0x61, 0x00, 0x07, 0x2F, 0xF2, 0x00, 0x01, 0x02, 0x03, 0x2F, 0xB9};
    Bytes dest(3), other = own;
    other.back() = 0x00;  // off by another amount: noise, not the radio's rule
    // Learnt on a repeat; then taken at once; noise is still asked again.
    for (const auto& [replies, exchanges] : {std::pair<std::deque<Bytes>, std::size_t>{{own, own}, 2},
                                             {{own}, 1}, {{other, Bytes(other.begin(), other.end() - 2), own}, 3}}) {
        device.replies = replies;
        line.ClearHostWritten();
        EXPECT_EQ(link.ReadRecord(0xF2, 0, dest), LinkResult::Ok) << exchanges;
        EXPECT_EQ(line.HostWritten().size(), exchanges * 10);
    }
    EXPECT_EQ(notes.size(), 1u);

    // Acknowledgements of writes follow the same rule: 84 A9 61 00 04 0F FA 03 2F, check DD (own: 91).
    const Bytes ack = {0x84, 0xA9, 0x61, 0x00, 0x04, 0x0F, 0xFA, 0x03, 0x2F, 0xDD};
    Bytes ownAck = ack;
    ownAck.back() = 0x91;
    device.replies = {ownAck};
    EXPECT_EQ(link.WriteRecord(0xF2, 3, Bytes(3, 1)), LinkResult::Ok);
    device.replies = {Bytes(ack.begin(), ack.begin() + 7), Bytes{0xFA}, Bytes(ack.begin(), ack.end() - 1)};
    EXPECT_EQ(link.WriteRecord(0xF2, 3, Bytes(3, 1)), LinkResult::DamagedReply);
    ASSERT_TRUE(link.OpenPort());
    device.replies = {ownAck, ack};
    EXPECT_EQ(link.WriteRecord(0xF2, 3, Bytes(3, 1)), LinkResult::Ok) << "a new session learns afresh";
    EXPECT_EQ(notes.size(), 1u);
}

TEST_F(LinkOnScript, ServiceDataChecks)
{
    auto withCrc = [](Bytes b) { return frame::WithCrc(b); };
    auto data = withCrc({1, 2, 3, 4});
    data.back() ^= 0xFF;
    device.replies = {{0x05}, {0x06, 0x00, 0x04, 0x00}, data};
    Bytes dest(4, 0xCC);
    EXPECT_EQ(link.ServiceRead(0x0100, 4, dest), LinkResult::ServiceCrcError);
    device.replies = {{0x05}, {0x06, 0x00, 0x04, 0x00}, withCrc({1, 2, 3, 4})};
    EXPECT_EQ(link.ServiceRead(0x0100, 4, dest), LinkResult::Ok);
    EXPECT_EQ(dest, (Bytes{1, 2, 3, 4}));

    data = withCrc({9, 9, 9, 9, 9});
    data[0] ^= 1;
    device.replies = {{0x05}, {0x06, 0x00, 0x05, 0x00}, data};
    Bytes locator(5, 0xCC);
    EXPECT_EQ(link.DebugQuery(Four{0x1D, 0x06, 0, 0}, locator), LinkResult::ServiceDataError);
    EXPECT_EQ(locator, (Bytes{0, 0, 0, 0, 0xCC})) << "the first four bytes are cleared";

    device.replies = {{0x05}, {0x06, 0, 0, 0}, {0x06, 0, 0, 0}, {0x15, 0, 0, 0}};  // 2nd chunk refused
    EXPECT_EQ(link.ServiceWrite(0x0200, Bytes(600, 0x55)), LinkResult::Negative);
}

// ------------------------------------------------------------------ programming frames on the radio

TEST_F(LinkOnRadio, ShortEndOfListAndCutRecordReply)
{
    bench.radio.SetRecords(0xF2, {Bytes(27, 0x5A)});
    ASSERT_EQ(link.OpenReadSession(), LinkResult::Ok);
    Bytes untouched(45, 0xCC);
    EXPECT_EQ(link.ReadRecord(0xE4, 0, untouched), LinkResult::Negative);  // FA leaves the destination alone
    bench.radio.faults().shortEndOfList = true;
    const auto before = Elapsed();
    EXPECT_EQ(link.ReadRecord(0xE4, 0, untouched), LinkResult::Negative);
    EXPECT_EQ(untouched, Bytes(45, 0xCC));
    EXPECT_EQ(Elapsed() - before, 200ms + 4 * 90ms) << "a 10-byte answer ends once silent for 300 ms";

    bench.radio.faults().shortReply = 8 + 5;
    Bytes dest(27, 0xCC);
    const auto cutFrom = Elapsed();
    EXPECT_EQ(link.ReadRecord(0xF2, 0, dest), LinkResult::DamagedReply);
    EXPECT_EQ(dest, Bytes(27, 0xCC)) << "nothing of a cut reply is taken";
    EXPECT_EQ(Elapsed() - cutFrom, 3 * (200ms + 4 * 90ms)) << "asked three times in all, none waited for in full";
}

TEST_F(LinkOnRadio, SilentWrongOrCutRadioGives513)
{
    bench.radio.faults().wrongPrefix = true;
    EXPECT_EQ(link.OpenReadSession(), LinkResult::BadReply);
    bench.radio.faults().wrongPrefix = false;
    ASSERT_EQ(link.OpenReadSession(), LinkResult::Ok);
    bench.radio.faults().garbageBefore = 3;
    Bytes dest(30, 0);
    EXPECT_EQ(link.ReadRecord(0xDA, 0, dest), LinkResult::DamagedReply);
    bench.radio.faults().garbageBefore = 0;
    bench.radio.faults().silent = true;
    const auto before = Elapsed();
    EXPECT_EQ(link.ReadRecord(0xDA, 0, dest), LinkResult::BadReply);
    EXPECT_EQ(Elapsed() - before, 200ms + 20 * 90ms);
}

TEST_F(LinkOnRadio, WriteRecordRefusalsAndOneWireEcho)
{
    ASSERT_EQ(link.OpenWriteSession(), LinkResult::Ok);
    ASSERT_EQ(link.BeginWrite(), LinkResult::Ok);
    const auto before = bench.radio.Received().size();
    EXPECT_EQ(link.WriteRecord(0xF0, 0, Bytes(252, 0)), LinkResult::BadReply);
    EXPECT_EQ(bench.radio.Received().size(), before) << "a record too long to frame is not sent";

    link.ProbeEcho();
    const int plain = link.EchoMode();
    bench.radio.setup().echo = true;
    link.ProbeEcho();
    EXPECT_EQ(std::tuple(plain, link.EchoMode()), std::tuple(0, 1));
    EXPECT_EQ(link.WriteRecord(0xF2, 0, Bytes(27, 1)), LinkResult::Ok);
    EXPECT_EQ(link.Wake(), LinkResult::Ok) << "the echoed 5A is skipped";
    bench.radio.faults().shortReply = 9;  // echo (37) + 9 bytes: a cut acknowledgement
    EXPECT_EQ(link.WriteRecord(0xF2, 0, Bytes(27, 1)), LinkResult::DamagedReply);
}

TEST_F(LinkOnRadio, GarbageNeverCrashes)
{
    bench.radio.SetRecords(0xE4, {Bytes(45, 1), Bytes(45, 2), Bytes(45, 3)});
    auto ok = [](int r) { return r <= 256 || r == 288 || r == 513 || r == 514 || r == 515 || r == 1024; };
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        bench.radio.faults() = {};
        bench.radio.faults().garbageOnly = seed % 2 == 0;
        bench.radio.faults().garbageBefore = seed % 3;
        bench.radio.faults().shortReply = seed % 4 == 0 ? static_cast<int>(seed) : -1;
        bench.radio.faults().garbageSeed = seed * 7919;
        Bytes dest(45), mem(64);
        std::array<std::uint8_t, 18> id{};
        for (const int result : {link.OpenReadSession(), link.ReadRecord(0xE4, 0, dest), link.OpenWriteSession(),
                                 link.IdentifyEx(id), link.ServiceRead(0x0300, 64, mem), link.KeyQuery(Four{}, mem)})
            EXPECT_TRUE(ok(result)) << seed;
    }
}

// ------------------------------------------------------------------ service frames on the radio

TEST_F(LinkOnRadio, WakeAndIdentifyRetries)
{
    bench.radio.faults().silent = true;
    EXPECT_EQ(link.Wake(), LinkResult::NoAnswer);
    EXPECT_EQ(std::tuple(bench.radio.Received(), Elapsed()), std::tuple(Bytes(4, 0x5A), Clock::Time{4 * 20 * 90ms}));

    bench.radio.ClearHistory();
    EXPECT_EQ(link.Identify(), LinkResult::NoAnswer);
    EXPECT_EQ(bench.radio.Received(), Bytes(3, 0xA5));

    bench.radio.ClearHistory();
    std::array<std::uint8_t, 18> out{};
    EXPECT_EQ(link.IdentifyEx(out), LinkResult::NoAnswer);
    Bytes expected;  // each failed try is followed by 00 01 .. 08
    for (int i = 0; i < 4; ++i)
        expected.insert(expected.end(), {0xA5, 0, 1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(bench.radio.Received(), expected);
}

TEST_F(LinkOnRadio, IdentifyStateAndComplement)
{
    for (const auto& [state, result] : std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {2, 2}, {3, 3}, {7, 7}}) {
        bench.radio.setup().identifyState = static_cast<std::uint8_t>(state);
        EXPECT_EQ(link.Identify(), result) << state;
    }
    bench.radio.setup().identifyState = 2;
    std::array<std::uint8_t, 18> out{};
    EXPECT_EQ(link.IdentifyEx(out), 2);
    // "ZR-740NV" 00 00 00 00 01 00 00 00, each byte complemented
    EXPECT_EQ(out, (std::array<std::uint8_t, 18>{0x05, 0x02, 0xA5, 0xAD, 0xD2, 0xC8, 0xCB, 0xCF, 0xB1, 0xA9,
                                                 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF}));
}

TEST_F(LinkOnRadio, ServiceReadAndWriteChunks)
{
    auto memory = bench.radio.ServiceMemory();
    Bytes dest(8);
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
            if (e.starts_with("write chunk"))
                seen.push_back(e);
        EXPECT_EQ(seen, chunks) << count;
        EXPECT_TRUE(std::equal(data.begin(), data.end(), memory.begin() + 0x1000)) << count;
        EXPECT_EQ(bench.radio.Received().size(), 1 + 10 + count + 2 * chunks.size()) << "wake, command, chunks + CRC";
    }
}

// The key, debug and password frames and their answers are ServiceExchange's (the radio password,
// the adjustment values); here, what their frames do not show.
TEST_F(LinkOnRadio, KeyCommandsEndOnAnIdentifyStateAndTheFixedWriteWakesNothing)
{
    std::array<std::uint8_t, 16> answer{};
    bench.radio.setup().identifyState = 2;
    const int query = link.KeyQuery(Four{}, answer);
    bench.radio.setup().identifyState = 3;
    EXPECT_EQ(std::tuple(query, link.KeySet(Four{})), std::tuple(2, 3));
    bench.radio.setup().identifyState.reset();
    std::array<std::uint8_t, 18> id{};
    ASSERT_EQ(link.IdentifyEx(id), 0);
    bench.radio.ClearHistory();
    ASSERT_EQ(link.ServiceWriteFixed(Bytes(16, 0)), LinkResult::Ok);
    EXPECT_EQ(bench.radio.EventTexts().front(), "writ 00DB 16") << "no wake before the fixed write";
}
