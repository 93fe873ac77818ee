// Programming a fleet: IDs across ports with radios that fail mid-write, stopping a run while a
// write is under way, and the fast link against the virtual radio. Every port is a virtual radio
// with the fleet switches on an in-memory line in virtual time, on a thread of its own.
#include "tests/core/TestFiles.h"

#include <map>
#include <mutex>
#include <thread>

#include "link/Fleet.h"
#include "tests/core/SessionBench.h"

using namespace session_test;
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

// One port: a virtual radio with the fleet switches and its own link and clock.
struct FleetPort {
    RadioBench bench;
    CDialog_MSComm link{bench.PortFactory(), bench.clock};
    explicit FleetPort(const Codeplug& stock, int radios, std::uint32_t firstSerial, int cutAfter = -1)
    {
        bench.radio.LoadCodeplug(stock);
        bench.radio.faults().cutAfterRecords = cutAfter;
        FleetSwitches f;
        f.enabled = true, f.appearAfter = std::chrono::seconds(3), f.absentFor = std::chrono::seconds(2);
        f.radios = radios, f.firstSerial = firstSerial;
        bench.radio.SetFleet(f);
        // What each radio of this port holds when its write session closes, by serial number.
        bench.radio.onWriteSessionClosed = [this] {
            heldAtClose["SIM00000" + std::to_string(bench.radio.SerialNumber())] = HeldId(bench.radio);
        };
    }
    std::map<std::string, Wire> heldAtClose;
};

struct Collected {
    std::mutex mutex;
    std::vector<fleet::RadioReport> reports;
    void Add(const fleet::RadioReport& r)
    {
        std::lock_guard lock(mutex);
        reports.push_back(r);
    }
};

// Runs every port on a thread of its own; the ports from `later` on begin only once `first`
// reports have come (so the failing radios fail before the pool runs dry, whatever the threads'
// pace).
void RunPorts(fleet::FleetRun& run, std::vector<std::unique_ptr<FleetPort>>& ports, Collected& got,
              std::size_t later = 0, std::size_t first = 0)
{
    std::vector<std::thread> threads;
    auto start = [&](std::size_t i) {
        threads.emplace_back([&, i] { run.RunPort("P" + std::to_string(i), ports[i]->link); });
    };
    for (std::size_t i = later; i < ports.size(); ++i)
        start(i);
    while (true) {
        {
            std::lock_guard lock(got.mutex);
            if (got.reports.size() >= first)
                break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    for (std::size_t i = 0; i < later; ++i)
        start(i);
    for (auto& t : threads)
        t.join();
}

}  // namespace

TEST(FleetIds, PackingListsAndPool)
{
    EXPECT_EQ((std::vector{fleet::PackId(1234567), fleet::PackId(16776415), fleet::PackId(9)}),
              (std::vector<std::uint32_t>{0x01234567, 0x16776415, 0x9}));

    std::string error;
    const auto ids = fleet::ParseIdList("# dealer list\n1001, 1003;1002\n\n  16776415 # last\n", error);
    ASSERT_TRUE(ids) << error;
    EXPECT_EQ(*ids, (std::vector<std::uint32_t>{1001, 1003, 1002, 16776415}));
    for (const char* bad : {"1001\n1001", "0", "16776416", "12a", "", "# nothing\n", "1234567890"}) {
        error.clear();
        EXPECT_TRUE(!fleet::ParseIdList(bad, error) && !error.empty()) << bad;
    }

    // A given-back ID comes first; the sequence ends at the largest ID.
    auto pool = fleet::IdPool::Sequence(16776413);
    std::vector<std::optional<std::uint32_t>> taken = {pool.Take(), pool.Take()};
    pool.GiveBack(16776413);
    for (int i = 0; i < 3; ++i)
        taken.push_back(pool.Take());
    EXPECT_EQ(taken, (std::vector<std::optional<std::uint32_t>>{16776413, 16776414, 16776413, 16776415, std::nullopt}));
    auto list = fleet::IdPool::List({7, 5});
    taken = {list.Take(), list.Take(), list.Take()};
    EXPECT_EQ(taken, (std::vector<std::optional<std::uint32_t>>{7, 5, std::nullopt}));
}

TEST(FleetRun, IdsStayUniqueAcrossPortsWhenRadiosFailMidWrite)
{
    const auto stock = SmallImage();
    std::vector<std::unique_ptr<FleetPort>> ports;
    ports.push_back(std::make_unique<FleetPort>(*stock, 0, 100));
    ports.push_back(std::make_unique<FleetPort>(*stock, 0, 200));
    // Falls silent after 5 record replies: before the record with the radio ID.
    ports.push_back(std::make_unique<FleetPort>(*stock, 0, 300, 5));
    // Falls silent after 20 record replies: the record with the radio ID has gone out.
    ports.push_back(std::make_unique<FleetPort>(*stock, 0, 400, 20));

    auto ids = fleet::IdPool::Sequence(1000001);
    Collected got;
    fleet::FleetOptions options;
    options.count = 6;
    fleet::FleetRun run(*stock, ids, options, [&](const fleet::RadioReport& r) { got.Add(r); });
    RunPorts(run, ports, got, 2, 2);

    EXPECT_EQ(std::tuple(run.Written(), run.Failed()), std::tuple(6, 2));
    ASSERT_EQ(got.reports.size(), 8u);
    std::map<std::uint32_t, fleet::IdFate> fates;
    std::vector<std::uint32_t> assigned;
    for (const auto& r : got.reports) {
        if (r.fate == fleet::IdFate::Assigned)
            assigned.push_back(r.id);
        if (r.port == "P2")
            EXPECT_TRUE(r.fate == fleet::IdFate::Returned && r.status == st::Failed);
        if (r.port == "P3")
            EXPECT_TRUE(r.fate == fleet::IdFate::Spent && r.serial == "SIM00000400");
        fates[r.id] = r.fate;
    }
    // Six written radios and one ID a failed radio may hold: 1000001..1000007 with no other gap;
    // the ID of the radio that failed early went to a later radio.
    std::sort(assigned.begin(), assigned.end());
    ASSERT_EQ(assigned.size(), 6u);
    EXPECT_EQ(std::adjacent_find(assigned.begin(), assigned.end()), assigned.end());
    std::vector<std::uint32_t> all = assigned;
    for (const auto& [id, fate] : fates)
        if (fate == fleet::IdFate::Spent)
            all.push_back(id);
    std::sort(all.begin(), all.end());
    EXPECT_EQ(all, (std::vector<std::uint32_t>{1000001, 1000002, 1000003, 1000004, 1000005, 1000006, 1000007}));

    // Every written radio holds the ID reported for its serial number.
    std::size_t checked = 0;
    for (const auto& r : got.reports) {
        if (!r.ok())
            continue;
        const auto& held = ports[r.port == "P0" ? 0 : 1]->heldAtClose;
        ASSERT_TRUE(held.count(r.serial)) << r.port << " " << r.serial;
        const std::uint32_t packed = fleet::PackId(r.id);
        EXPECT_EQ(held.at(r.serial), (Wire{std::uint8_t(packed >> 24), std::uint8_t(packed >> 16),
                                           std::uint8_t(packed >> 8), std::uint8_t(packed)}));
        ++checked;
    }
    EXPECT_EQ(checked, 6u);
    for (std::size_t p : {0u, 1u})
        EXPECT_TRUE(ports[p]->bench.radio.Violations().empty());
}

namespace {
// Virtual time that ends the run once it passes a moment: Ctrl+C in the middle of a write.
class InterruptingClock final : public Clock {
public:
    InterruptingClock(VirtualClock& time, Clock::Time at) : time_(time), at_(at) {}
    Time Now() const override { return time_.Now(); }
    void Sleep(Duration d) override
    {
        time_.Sleep(d);
        if (run && Now() >= at_)
            run->Stop();
    }
    fleet::FleetRun* run = nullptr;

private:
    VirtualClock& time_;
    Clock::Time at_;
};
}  // namespace

TEST(FleetRun, StopDuringAWriteFinishesAndReportsItAndBeginsNoOther)
{
    const auto stock = SmallImage();
    RadioBench bench;
    bench.radio.LoadCodeplug(*stock);
    FleetSwitches f;
    f.enabled = true, f.absentFor = std::chrono::milliseconds(100);
    bench.radio.SetFleet(f);
    // The write begins after the first look (about 0.3 s); stop 2 s into it.
    InterruptingClock clock(bench.clock, std::chrono::milliseconds(2300));
    CDialog_MSComm link(bench.PortFactory(), clock);

    auto ids = fleet::IdPool::Sequence(42);
    Collected got;
    fleet::FleetRun run(*stock, ids, {}, [&](const fleet::RadioReport& r) { got.Add(r); });
    clock.run = &run;
    run.RunPort("P0", link);

    ASSERT_EQ(got.reports.size(), 1u);
    EXPECT_EQ(std::tuple(got.reports[0].status, got.reports[0].id, bench.radio.RadiosWritten(), HeldId(bench.radio)),
              std::tuple(st::WriteDone, 42u, 1, Wire{0x00, 0x00, 0x00, 0x42}));
    EXPECT_TRUE(got.reports[0].seconds > 2.0 && !link.IsPortOpen());
}

TEST(FleetLog, CsvLinesQuoteWhatNeedsIt)
{
    fleet::RadioReport r;
    r.port = "COM1", r.serial = "A,\"B\"", r.id = 1000001, r.seconds = 33.25;
    r.status = st::Damaged, r.fate = fleet::IdFate::Spent;
    EXPECT_EQ(fleet::CsvLine(r, "2026-01-02 03:04:05"),
              "2026-01-02 03:04:05,COM1,\"A,\"\"B\"\"\",1000001,33.2,failed: damaged replies,spent");
}

// ---------------------------------------------------------------- fast link

namespace {
struct LinkCase {
    const char* name;
    void (*fault)(RadioFaults&);
    std::uint32_t status;
};
}  // namespace

TEST(FastLink, SameResultsAsThePacedLinkAndFarLessTime)
{
    const LinkCase cases[] = {
        {"sound", [](RadioFaults&) {}, st::WriteDone},
        {"slow replies", [](RadioFaults& f) { f.extraDelay = std::chrono::milliseconds(900); }, st::WriteDone},
        {"cut replies", [](RadioFaults& f) { f.recordCut = 12; }, st::Damaged},
        {"falls silent", [](RadioFaults& f) { f.cutAfterRecords = 4; }, st::Failed},
        {"silent", [](RadioFaults& f) { f.silent = true; }, st::Failed},
    };
    for (const LinkCase& c : cases) {
        Clock::Duration elapsed[2]{};
        Wire held[2];
        for (const bool fast : {false, true}) {
            SessionBench s;
            s.radio().LoadCodeplug(*FullImage(5));
            c.fault(s.radio().faults());
            *s.image = *FullImage(1);
            s.link.SetFastLink(fast);
            s.Write();
            EXPECT_EQ(s.state.TransferStatus, c.status) << c.name << (fast ? " fast" : " paced");
            EXPECT_TRUE(s.radio().Violations().empty()) << c.name;
            elapsed[fast] = s.bench.clock.Elapsed();
            held[fast] = HeldId(s.radio());
        }
        EXPECT_EQ(held[0], held[1]) << c.name;
        if (std::string(c.name) == "sound") {
            EXPECT_LT(elapsed[1] * 3, elapsed[0]) << c.name;
        }
        if (std::string(c.name) == "silent") {
            // The time limit of a silent radio stays: the paced 200 ms + 20 polls of 90 ms.
            for (const auto t : elapsed) {
                EXPECT_GE(t, std::chrono::milliseconds(2000));
                EXPECT_LT(t, std::chrono::milliseconds(2010));
            }
        }
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
    EXPECT_GE(t, std::chrono::milliseconds(1600));
    EXPECT_LT(t, std::chrono::milliseconds(1600 + 30 * 60));
}
