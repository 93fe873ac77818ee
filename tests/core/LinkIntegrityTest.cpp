// Damaged replies against whole sessions, in virtual time: a radio (or cable) that spoils its
// replies must never become a successful read or write, and must fail in seconds.
#include <functional>
#include <string>

#include "tests/core/SessionBench.h"

using namespace session_test;
using namespace std::chrono_literals;
namespace st = session::status;

namespace {

struct Damage {
    const char* name;
    std::function<void(RadioFaults&)> set;
};

// Each way a worn cable spoils the replies of a radio.
const Damage kDamages[] = {
    {"record replies cut after 18 bytes", [](RadioFaults& f) { f.recordCut = 18; }},
    {"record replies with a wrong check byte", [](RadioFaults& f) { f.badCheck = true; }},
    {"another block's code and index", [](RadioFaults& f) { f.foreignRecord = true; }},
    {"random payload behind a correct header", [](RadioFaults& f) { f.garbagePayload = true; }},
    {"every reply cut to 7 bytes", [](RadioFaults& f) { f.shortReply = 7; }},
};

struct Noted : SessionBench {
    std::vector<std::string> notes;
    Noted()
    {
        link.SetNoteSink([this](const std::string& n) { notes.push_back(n); });
    }
};

}  // namespace

TEST(LinkIntegrity, DamagedRepliesFailTheReadInSecondsAndChangeNothing)
{
    for (const Damage& damage : kDamages) {
        SessionBench s;
        s.radio().LoadCodeplug(*FullImage(1));
        *s.image = *FullImage(9);
        damage.set(s.radio().faults());
        s.Read();
        EXPECT_EQ(s.state.TransferStatus, st::Damaged) << damage.name;
        EXPECT_LT(s.bench.clock.Now(), 10s) << damage.name;
        EXPECT_EQ(Bytes(*s.image), Bytes(*FullImage(9))) << damage.name << ": the image is untouched";
        EXPECT_FALSE(s.bench.line.HostOpen()) << damage.name;
        EXPECT_EQ(s.radio().ReadSessionsClosed(), 0) << damage.name;
    }
}

TEST(LinkIntegrity, SilentRadioFailsAsBeforeInAboutTwoSeconds)
{
    SessionBench s;
    s.radio().faults().silent = true;
    s.Read();
    EXPECT_EQ(s.state.TransferStatus, st::Failed);
    EXPECT_EQ(s.bench.clock.Now(), 200ms + 20 * 90ms) << "asked once, never again";
}

TEST(LinkIntegrity, RadioFallingSilentMidReadIsNotAskedAgain)
{
    SessionBench s;
    s.radio().LoadCodeplug(*FullImage(1));
    s.radio().faults().cutAfterRecords = 3;
    s.Read();
    EXPECT_EQ(s.state.TransferStatus, st::Failed);
    EXPECT_EQ(s.CountEvents("read F4"), 4u) << "records 0-2 answered, 3 asked once";
}

TEST(LinkIntegrity, OccasionalDamageIsRepairedByAskingAgain)
{
    // One cut reply in the middle of the channels: asked again, the read completes and is exact.
    SessionBench s;
    auto source = FullImage(1);
    SetListCounts(*source, 4, 2, 1, 3, 1, 1);
    s.radio().LoadCodeplug(*source);
    int reads = 0;
    s.radio().onEvent = [&](const RadioEvent& e) {
        if (e.text.rfind("read F4", 0) == 0)
            s.radio().faults().recordCut = ++reads == 2 ? 30 : -1;
    };
    s.Read();
    ASSERT_EQ(s.state.TransferStatus, st::ReadDone);
    EXPECT_EQ(s.CountEvents("read F4 1"), 2u) << "the cut reply was asked for again";
    EXPECT_EQ(s.CountEvents("read F4 2"), 1u);
    EXPECT_EQ(Slice(Bytes(*s.image), 6734, 4 * 82), Slice(Bytes(*source), 6734, 4 * 82));
}

TEST(LinkIntegrity, RadioWithItsOwnCheckRuleReadsAndWritesExactlyAndIsNotedOnce)
{
    Noted s;
    auto source = FullImage(1);
    s.radio().LoadCodeplug(*source);
    s.radio().faults().ownCheckRule = true;
    s.Read();
    ASSERT_EQ(s.state.TransferStatus, st::ReadDone);
    for (auto [at, n] : {std::pair<std::size_t, std::size_t>{0, 8305 + 23 + 45}, {11208, 67}})
        EXPECT_EQ(Slice(Bytes(*s.image), at, n), Slice(Bytes(*source), at, n)) << at;
    ASSERT_EQ(s.notes.size(), 1u);
    EXPECT_NE(s.notes[0].find("check byte"), std::string::npos);
    EXPECT_EQ(s.CountEvents("read F4 0"), 2u) << "the first odd check byte is confirmed by a repeat";
    EXPECT_EQ(s.CountEvents("read F4 2"), 1u) << "later replies of the same rule are taken at once";

    auto other = FullImage(4);
    SetListCounts(*other, 3, 2, 1, 2, 1, 1);
    *s.image = *other;
    s.notes.clear();
    s.Write();
    ASSERT_EQ(s.state.TransferStatus, st::WriteDone);
    EXPECT_EQ(s.notes.size(), 1u) << "once per session";
    Codeplug held;
    s.radio().SaveCodeplug(held);
    EXPECT_EQ(Slice(Bytes(held), 6734, 3 * 82), Slice(Bytes(*s.image), 6734, 3 * 82));
}

TEST(LinkIntegrity, DamagedAcknowledgementsFailTheWrite)
{
    const Damage acks[] = {
        {"acknowledgements of 7 bytes", [](RadioFaults& f) { f.recordCut = 7; }},
        {"acknowledgements with a wrong check byte", [](RadioFaults& f) { f.badCheck = true; }},
    };
    for (const Damage& damage : acks) {
        SessionBench s;
        *s.image = *FullImage(2);
        s.radio().onEvent = [&](const RadioEvent& e) {
            if (e.text == "begin write")  // the radio's information block was read back whole
                damage.set(s.radio().faults());
        };
        s.Write();
        EXPECT_EQ(s.state.TransferStatus, st::Damaged) << damage.name;
        EXPECT_LT(s.bench.clock.Now(), 10s) << damage.name;
        EXPECT_EQ(s.radio().WriteSessionsClosed(), 0) << damage.name;
        EXPECT_EQ(s.CountEvents("write F4 0"), 3u) << damage.name << ": asked twice more, then given up";
    }
}

TEST(LinkIntegrity, AnalogRecordsWaitOneTenthOfASecondMore)
{
    SessionBench s;
    auto image = FullImage(3);
    SetListCounts(*image, 3, 3, 0, 0, 0, 1);
    *s.image = *image;
    s.Write();
    ASSERT_EQ(s.state.TransferStatus, st::WriteDone);
    auto at = [&](const std::string& text) {
        for (const RadioEvent& e : s.radio().Events())
            if (e.text == text)
                return e.at;
        ADD_FAILURE() << text;
        return Clock::Time{};
    };
    // Digital and analog records differ by one byte on the wire (82 and 81): the rest of the
    // difference between their spacing is the pause before each analog record.
    const auto digitalGap = at("write F4 2") - at("write F4 1");
    const auto analogGap = at("write F5 2") - at("write F5 1");
    const Clock::Duration oneByte{260416};
    EXPECT_EQ(analogGap - digitalGap, 100ms);
    EXPECT_EQ(at("write F5 0") - at("write F4 2"), digitalGap + 100ms - oneByte);
}
