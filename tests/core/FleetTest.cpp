// Programming a fleet: IDs across ports with radios that fail mid-write, stopping a run while a
// write is under way, and the fast link against the virtual radio. Every port is a virtual radio
// with the fleet switches on an in-memory line in virtual time, on a thread of its own.
#include "tests/core/TestFiles.h"

#include <mutex>
#include <thread>

#include "link/Fleet.h"
#include "tests/core/SessionBench.h"

using namespace session_test;
using namespace std::chrono_literals;
namespace st = session::status;

namespace {

// The radio ID as the radio holds it: DmrSettings bytes 1-4, most significant byte first.
Wire HeldId(const VirtualRadio& radio) { return Slice(radio.Records(0xF2).at(0), 1, 4); }

std::unique_ptr<Codeplug> SmallImage()
{
    auto image = FullImage(3);
    SetListCounts(*image, 2, 2, 1, 4, 2, 1);
    return image;
}

// One port: a virtual radio with the fleet switches and its own link and clock; `heldAtClose`
// is what each radio holds when its write session closes, by serial number.
struct FleetPort {
    RadioBench bench;
    CDialog_MSComm link{bench.PortFactory(), bench.clock};
    std::map<std::string, Wire> heldAtClose;
    FleetPort(const Codeplug& stock, std::uint32_t firstSerial, int cutAfter = -1)
    {
        bench.radio.LoadCodeplug(stock);
        bench.radio.faults().cutAfterRecords = cutAfter;
        bench.radio.SetFleet({true, 3s, 2s, 0, firstSerial});
        bench.radio.onWriteSessionClosed = [this] {
            heldAtClose["SIM00000" + std::to_string(bench.radio.SerialNumber())] = HeldId(bench.radio);
        };
    }
};

struct Collected {
    std::mutex mutex;
    std::vector<fleet::RadioReport> reports;
    auto Sink()
    {
        return [this](const fleet::RadioReport& r) {
            std::lock_guard lock(mutex);
            reports.push_back(r);
        };
    }
    std::size_t Count()
    {
        std::lock_guard lock(mutex);
        return reports.size();
    }
};

// Every port on a thread of its own; the ports before `later` begin only once `first` reports
// have come (so the failing radios fail before the pool runs dry, whatever the threads' pace).
void RunPorts(fleet::FleetRun& run, std::vector<std::unique_ptr<FleetPort>>& ports, Collected& got,
              std::size_t later, std::size_t first)
{
    std::vector<std::thread> threads;
    auto start = [&](std::size_t i) {
        threads.emplace_back([&, i] { run.RunPort("P" + std::to_string(i), ports[i]->link); });
    };
    for (std::size_t i = later; i < ports.size(); ++i)
        start(i);
    while (got.Count() < first)
        std::this_thread::sleep_for(1ms);
    for (std::size_t i = 0; i < later; ++i)
        start(i);
    for (auto& t : threads)
        t.join();
}

// Virtual time that does something once it passes a moment in the middle of a write.
class HookClock final : public Clock {
public:
    HookClock(VirtualClock& time, Clock::Time at) : time_(time), at_(at) {}
    Time Now() const override { return time_.Now(); }
    void Sleep(Duration d) override
    {
        time_.Sleep(d);
        if (hook && Now() >= at_)
            std::exchange(hook, nullptr)();
    }
    std::function<void()> hook;

private:
    VirtualClock& time_;
    Clock::Time at_;
};

}  // namespace

TEST(FleetIds, PackingListsAndPool)
{
    for (const auto& [id, packed] : {std::pair{1234567u, 0x01234567u}, {16776415u, 0x16776415u}, {9u, 0x9u}})
        EXPECT_EQ(fleet::PackId(id), packed);

    std::string error;
    EXPECT_EQ(fleet::ParseIdList("# dealer list\n1001, 1003;1002\n\n  16776415 # last\n", error),
              (std::vector<std::uint32_t>{1001, 1003, 1002, 16776415}));
    for (const char* bad : {"1001\n1001", "0", "16776416", "12a", "", "# nothing\n", "1234567890"}) {
        error.clear();
        EXPECT_TRUE(!fleet::ParseIdList(bad, error) && !error.empty()) << bad;
    }

    // A given-back ID comes first; the sequence ends at the largest ID.
    auto pool = fleet::IdPool::Sequence(16776413), list = fleet::IdPool::List({7, 5});
    std::vector<std::optional<std::uint32_t>> taken{pool.Take(), pool.Take()};
    pool.GiveBack(16776413);
    for (auto* p : {&pool, &pool, &pool, &list, &list, &list})
        taken.push_back(p->Take());
    EXPECT_EQ(taken, (std::vector<std::optional<std::uint32_t>>{16776413, 16776414, 16776413, 16776415, std::nullopt,
                                                                 7, 5, std::nullopt}));
}

TEST(FleetRun, IdsStayUniqueAcrossPortsWhenRadiosFailMidWrite)
{
    const auto stock = SmallImage();
    std::vector<std::unique_ptr<FleetPort>> ports;
    ports.push_back(std::make_unique<FleetPort>(*stock, 100));
    ports.push_back(std::make_unique<FleetPort>(*stock, 200));
    ports.push_back(std::make_unique<FleetPort>(*stock, 300, 5));   // silent before the radio ID's record
    ports.push_back(std::make_unique<FleetPort>(*stock, 400, 20));  // silent after it went out

    auto ids = fleet::IdPool::Sequence(1000001);
    Collected got;
    fleet::FleetOptions options;
    options.count = 6;
    fleet::FleetRun run(*stock, ids, options, got.Sink());
    RunPorts(run, ports, got, 2, 2);

    EXPECT_EQ(run.Written(), 6);
    EXPECT_EQ(run.Failed(), 2);
    ASSERT_EQ(got.reports.size(), 8u);
    // Six written radios, each holding the ID reported for its serial number, and the ID the
    // late-failing radio may hold: 1000001..1000007 with no gap; the early failure's ID went on.
    std::vector<std::uint32_t> seen;
    for (const auto& r : got.reports) {
        if (r.port == "P2")
            EXPECT_EQ(std::pair(r.fate, r.status), std::pair(fleet::IdFate::Returned, std::uint32_t{st::Failed}));
        else if (r.port == "P3")
            EXPECT_EQ(std::pair(r.fate, r.serial), std::pair(fleet::IdFate::Spent, std::string("SIM00000400")));
        else {
            ASSERT_TRUE(r.ok()) << r.port;
            const auto& held = ports[r.port == "P0" ? 0 : 1]->heldAtClose;
            ASSERT_TRUE(held.count(r.serial)) << r.port << " " << r.serial;
            const std::uint32_t packed = fleet::PackId(r.id);
            EXPECT_EQ(held.at(r.serial), (Wire{std::uint8_t(packed >> 24), std::uint8_t(packed >> 16),
                                               std::uint8_t(packed >> 8), std::uint8_t(packed)}));
        }
        if (r.port != "P2")
            seen.push_back(r.id);
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{1000001, 1000002, 1000003, 1000004, 1000005, 1000006, 1000007}));
    EXPECT_TRUE(ports[0]->bench.radio.Violations().empty() && ports[1]->bench.radio.Violations().empty());
}

TEST(FleetRun, StopDuringAWriteFinishesAndReportsItAndBeginsNoOther)
{
    const auto stock = SmallImage();
    RadioBench bench;
    bench.radio.LoadCodeplug(*stock);
    bench.radio.SetFleet({true, 0s, 100ms, 0, 1});
    // The write begins after the first look (about 0.3 s); Ctrl+C 2 s into it.
    HookClock clock(bench.clock, 2300ms);
    CDialog_MSComm link(bench.PortFactory(), clock);
    auto ids = fleet::IdPool::Sequence(42);
    Collected got;
    fleet::FleetRun run(*stock, ids, {}, got.Sink());
    clock.hook = [&] { run.Stop(); };
    run.RunPort("P0", link);

    ASSERT_EQ(got.reports.size(), 1u);
    EXPECT_EQ(std::pair(got.reports[0].status, got.reports[0].id), std::pair(std::uint32_t{st::WriteDone}, 42u));
    EXPECT_GT(got.reports[0].seconds, 2.0);
    EXPECT_EQ(bench.radio.RadiosWritten(), 1);
    EXPECT_EQ(HeldId(bench.radio), (Wire{0x00, 0x00, 0x00, 0x42}));
    EXPECT_FALSE(link.IsPortOpen());
}

// Two radios wanted, one under way on P0 when P1 runs (stopped a minute on): P1 writes only
// the one still wanted.
TEST(FleetRun, RadiosUnderWayCountTowardsTheNumberWanted)
{
    const auto stock = SmallImage();
    RadioBench bench[2];
    std::unique_ptr<HookClock> clock[2];
    std::unique_ptr<CDialog_MSComm> link[2];
    for (int p = 0; p < 2; ++p) {
        bench[p].radio.LoadCodeplug(*stock);
        bench[p].radio.SetFleet({true, 0s, 2s, 0, 1});
        clock[p] = std::make_unique<HookClock>(bench[p].clock, p == 0 ? 2300ms : 60s);
        link[p] = std::make_unique<CDialog_MSComm>(bench[p].PortFactory(), *clock[p]);
    }
    auto ids = fleet::IdPool::Sequence(42);
    Collected got;
    fleet::FleetOptions options;
    options.count = 2;
    fleet::FleetRun run(*stock, ids, options, got.Sink());
    clock[0]->hook = [&] { run.RunPort("P1", *link[1]); };
    clock[1]->hook = [&] { run.Stop(); };
    run.RunPort("P0", *link[0]);
    EXPECT_EQ(std::pair(bench[0].radio.RadiosWritten(), bench[1].radio.RadiosWritten()), std::pair(1, 1));
    EXPECT_EQ(run.Written(), 2);
}

TEST(FleetLog, CsvLinesQuoteWhatNeedsIt)
{
    const fleet::RadioReport r{"COM1", "A,\"B\"", 1000001, 33.25, st::Damaged, fleet::IdFate::Spent};
    EXPECT_EQ(fleet::CsvLine(r, "2026-01-02 03:04:05"),
              "2026-01-02 03:04:05,COM1,\"A,\"\"B\"\"\",1000001,33.2,failed: damaged replies,spent");
}

TEST(FastLink, SameResultsAsThePacedLinkAndFarLessTime)
{
    const struct {
        const char* name;
        void (*fault)(RadioFaults&);
        std::uint32_t status;
    } cases[] = {
        {"sound", [](RadioFaults&) {}, st::WriteDone},
        {"slow replies", [](RadioFaults& f) { f.extraDelay = 900ms; }, st::WriteDone},
        {"cut replies", [](RadioFaults& f) { f.recordCut = 12; }, st::Damaged},
        {"falls silent", [](RadioFaults& f) { f.cutAfterRecords = 4; }, st::Failed},
        {"silent", [](RadioFaults& f) { f.silent = true; }, st::Failed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Clock::Duration elapsed[2]{};
        Wire held[2];
        for (const bool fast : {false, true}) {
            SessionBench s;
            s.radio().LoadCodeplug(*FullImage(5));
            c.fault(s.radio().faults());
            *s.image = *FullImage(1);
            s.link.SetFastLink(fast);
            s.Write();
            EXPECT_EQ(s.state.TransferStatus, c.status) << fast;
            EXPECT_TRUE(s.radio().Violations().empty());
            elapsed[fast] = s.bench.clock.Elapsed();
            held[fast] = HeldId(s.radio());
        }
        EXPECT_EQ(held[0], held[1]);
        if (std::string(c.name) == "sound") {
            EXPECT_LT(elapsed[1] * 3, elapsed[0]);
        }
        // The time limit of a silent radio stays: the paced 200 ms + 20 polls of 90 ms.
        for (const auto t : elapsed)
            EXPECT_TRUE(std::string(c.name) != "silent" || (t >= 2000ms && t < 2010ms)) << t.count();
    }
}

TEST(FastLink, KeepsThePauseBeforeAnalogRecordsAndAnswersAtWireSpeed)
{
    SessionBench s;
    s.radio().LoadCodeplug(*FullImage(5));
    *s.image = *FullImage(1);
    SetListCounts(*s.image, 0, 16, 0, 0, 0, 1);
    s.link.SetFastLink(true);
    s.Write();
    ASSERT_EQ(s.state.TransferStatus, st::WriteDone);
    // Sixteen analog records: 16 pauses of 100 ms, plus the bytes on the wire (some 40 ms for
    // each record) - well under the paced link's 200 ms wait per request.
    const auto t = s.bench.clock.Elapsed();
    EXPECT_TRUE(t >= 1600ms && t < 1600ms + 30 * 60ms) << t.count();
}
