// zr740 fleet: one codeplug written to radio after radio on one or more ports at once.
//
//   zr740 fleet --port PORT [--port PORT ...] FILE.VNTX (--first-id ID | --ids FILE)
//               [--count N] [--log FILE.csv] [--password DIGITS] [--fast]
//
// Each port waits for a radio to answer, writes it with the next free DMR ID, reports it (port,
// serial number, ID, time, result) on standard output and in the CSV log, waits until the radio
// is unplugged and goes on. It stops after N written radios or on Ctrl+C (SIGINT, SIGTERM): the
// writes under way finish and are reported first. See link/Fleet.h for how IDs are given out.
#include <signal.h>

#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <memory>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/Verbs.h"
#include "codeplug/CodeplugFile.h"
#include "link/CDialog_MSComm.h"
#include "link/Clock.h"
#include "link/Fleet.h"
#include "link/PortNames.h"
#include "link/QtSerialPort.h"

namespace cli {
namespace {

constexpr std::string_view kVerb = "fleet";
constexpr const char* kDefaultLog = "zr740-fleet.csv";

volatile sig_atomic_t g_interrupted = 0;
void OnInterrupt(int) { g_interrupted = 1; }

struct FleetPortName {
    std::string shown;   // as given, with the device for COMn
    std::string device;
};

struct FleetArgs {
    std::vector<std::string> ports;
    std::string file;
    std::optional<std::uint32_t> firstId;
    std::string idsFile;
    int count = 0;
    std::string log = kDefaultLog;
    std::optional<std::string> password;
    bool fast = false;
};

bool Digits(std::string_view text, std::size_t maxChars)
{
    return !text.empty() && text.size() <= maxChars &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<FleetArgs> Parse(Args args)
{
    FleetArgs o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size()) {
                PrintError(kVerb, std::string(a) + " needs a value");
                return std::nullopt;
            }
            return std::string(args[++i]);
        };
        std::optional<std::string> v;
        if (a == "--port" || a == "--first-id" || a == "--ids" || a == "--count" || a == "--log" ||
            a == "--password") {
            if (!(v = value()))
                return std::nullopt;
        }
        if (a == "--port") {
            o.ports.push_back(*v);
        } else if (a == "--first-id") {
            if (!Digits(*v, 8) || std::stoul(*v) < 1 || std::stoul(*v) > fleet::kMaxRadioId) {
                PrintError(kVerb, "--first-id takes an ID from 1 to 16776415");
                return std::nullopt;
            }
            o.firstId = static_cast<std::uint32_t>(std::stoul(*v));
        } else if (a == "--ids") {
            o.idsFile = *v;
        } else if (a == "--count") {
            if (!Digits(*v, 6) || std::stoi(*v) < 1) {
                PrintError(kVerb, "--count takes a number of radios from 1 to 999999");
                return std::nullopt;
            }
            o.count = std::stoi(*v);
        } else if (a == "--log") {
            o.log = *v;
        } else if (a == "--password") {
            if (!Digits(*v, session::kPasswordChars)) {
                PrintError(kVerb, "--password takes 1 to 8 digits");
                return std::nullopt;
            }
            o.password = *v;
        } else if (a == "--fast") {
            o.fast = true;
        } else if (a.size() > 1 && a.front() == '-') {
            PrintError(kVerb, "unknown option " + std::string(a));
            return std::nullopt;
        } else if (o.file.empty()) {
            o.file = a;
        } else {
            PrintError(kVerb, "unexpected argument " + std::string(a));
            return std::nullopt;
        }
    }
    if (o.ports.empty()) {
        PrintError(kVerb, "no port given: --port COM1 [--port COM2 ...]");
        return std::nullopt;
    }
    if (o.file.empty()) {
        PrintError(kVerb, "no codeplug file given");
        return std::nullopt;
    }
    if (o.firstId.has_value() == !o.idsFile.empty()) {
        PrintError(kVerb, "give either --first-id ID or --ids FILE");
        return std::nullopt;
    }
    return o;
}

std::string LocalTimeText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

}  // namespace

int RunFleet(Args args)
{
    const auto o = Parse(args);
    if (!o)
        return kExitUsage;

    auto image = std::make_unique<Codeplug>();
    if (const int loaded = LoadCodeplugForVerb(kVerb, o->file, *image); loaded != kExitOk)
        return loaded;

    std::optional<fleet::IdPool> ids;
    if (o->firstId) {
        ids.emplace(fleet::IdPool::Sequence(*o->firstId));
    } else {
        std::ifstream in(o->idsFile, std::ios::binary);
        if (!in) {
            PrintError(kVerb, "cannot open " + o->idsFile);
            return kExitOpenFailed;
        }
        std::ostringstream text;
        text << in.rdbuf();
        std::string error;
        auto list = fleet::ParseIdList(text.str(), error);
        if (!list) {
            PrintError(kVerb, o->idsFile + ": " + error);
            return kExitUsage;
        }
        ids.emplace(fleet::IdPool::List(std::move(*list)));
    }

    // Every port must be usable before the first radio is written, and none given twice.
    const std::filesystem::path programDirectory = ProgramDirectory();
    std::vector<FleetPortName> ports;
    std::set<std::string> devices;
    for (const std::string& port : o->ports) {
        const auto com = ComNumber(port);
        const std::filesystem::path device = com ? ComDevicePath(programDirectory, *com) : std::filesystem::path(port);
        const PortCheck check = ProbeDevice(device);
        if (!check.usable()) {
            PrintError(kVerb, PortProblem(check));
            return 6;  // as read and write: the port cannot be used
        }
        std::error_code ec;
        const auto real = std::filesystem::weakly_canonical(device, ec);
        if (!devices.insert((ec ? device : real).string()).second) {
            PrintError(kVerb, port + " is given twice");
            return kExitUsage;
        }
        ports.push_back({port, device.string()});
    }

    // The log is tried (created, with its header when new) before any radio is touched, so no
    // write goes unlogged. Lines are added through the one safe save, each report saving the
    // file's contents and the new line beside it and renaming over it: a full disk or a kill
    // leaves the log as it was, never a half line. A report is one radio, seconds apart, so the
    // cost of saving the whole file each time does not show.
    std::string unsaved;  // lines not yet in the log (a save failed); tried again with the next
    auto appendLog = [&](const std::string& line) {
        unsaved += line + "\n";
        const FileResult saved =
            AppendFileContents(o->log, std::span(reinterpret_cast<const std::uint8_t*>(unsaved.data()), unsaved.size()));
        if (saved.ok())
            unsaved.clear();
        return saved;
    };
    std::error_code ec;
    const bool fresh = !std::filesystem::exists(o->log, ec) || std::filesystem::file_size(o->log, ec) == 0;
    if (const FileResult tried = fresh ? appendLog(fleet::CsvHeader()) : AppendFileContents(o->log, {}); !tried.ok()) {
        PrintError(kVerb, "cannot write the log " + o->log + ": " + tried.detail);
        return kExitFailure;
    }

    static int argc = 1;
    static char name[] = "zr740";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> qt;
    if (!QCoreApplication::instance())
        qt = std::make_unique<QCoreApplication>(argc, argv);

    fleet::FleetOptions options;
    options.count = o->count;
    options.fastLink = o->fast;
    if (o->password)
        options.password = session::MakePasswordEntry(*o->password);

    std::vector<std::uint32_t> spent;
    auto report = [&](const fleet::RadioReport& r) {
        const std::string when = LocalTimeText();
        if (const FileResult saved = appendLog(fleet::CsvLine(r, when)); !saved.ok())
            PrintError(kVerb, "warning: cannot write the log " + o->log + " (" + saved.detail +
                                  "); its lines are kept and tried again with the next radio");
        std::printf("%s  %-12s %-14s ID %-8u %6.1f s  %s%s\n", when.c_str(), r.port.c_str(),
                    r.serial.empty() ? "(no serial)" : r.serial.c_str(), r.id, r.seconds,
                    fleet::ResultText(r.status).c_str(),
                    r.fate == fleet::IdFate::Spent      ? " (the radio may hold the ID: it is not given again)"
                    : r.fate == fleet::IdFate::Returned ? " (the ID goes to the next radio)"
                                                        : "");
        std::fflush(stdout);
        if (r.fate == fleet::IdFate::Spent)
            spent.push_back(r.id);
    };
    fleet::FleetRun run(*image, *ids, options, report,
                        [](const std::string& message) { PrintError(kVerb, message); });

    struct sigaction sa{};
    sa.sa_handler = OnInterrupt;
    struct sigaction oldInt{}, oldTerm{};
    sigaction(SIGINT, &sa, &oldInt);
    sigaction(SIGTERM, &sa, &oldTerm);

    std::printf("zr740 fleet: %zu port(s); waiting for radios%s (Ctrl+C stops)\n", ports.size(),
                o->count > 0 ? (", " + std::to_string(o->count) + " to write").c_str() : "");
    std::fflush(stdout);
    // One QThread a port: a Qt serial port wants the event dispatcher of a thread Qt started,
    // and each port is created, used and closed on its own thread (the link creates it there).
    std::atomic<int> running{static_cast<int>(ports.size())};
    std::vector<std::unique_ptr<QThread>> threads;
    for (const FleetPortName& port : ports) {
        threads.emplace_back(QThread::create([&run, &running, port] {
            SystemClock clock;
            CDialog_MSComm link(QtSerialPortFactory(), clock);
            link.SetDevice(port.device);
            run.RunPort(port.shown, link);
            --running;
        }));
        threads.back()->start();
    }
    bool told = false;
    while (running > 0) {
        if (g_interrupted && !told) {
            told = true;
            run.Stop();
            std::fprintf(stderr, "zr740 fleet: stopping; finishing the writes under way\n");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    for (const auto& t : threads)
        t->wait();
    sigaction(SIGINT, &oldInt, nullptr);
    sigaction(SIGTERM, &oldTerm, nullptr);
    if (!unsaved.empty())
        PrintError(kVerb, "the log " + o->log + " lacks the last " +
                              std::to_string(std::count(unsaved.begin(), unsaved.end(), '\n')) +
                              " line(s): they are shown above");

    std::printf("zr740 fleet: %d written, %d failed; log %s\n", run.Written(), run.Failed(), o->log.c_str());
    if (!spent.empty()) {
        std::string list;
        for (const std::uint32_t id : spent)
            list += (list.empty() ? "" : ", ") + std::to_string(id);
        std::printf("zr740 fleet: IDs held back (failed radios that may hold them): %s\n", list.c_str());
    }
    return run.Failed() > 0 ? kExitFailure : kExitOk;
}

}  // namespace cli
