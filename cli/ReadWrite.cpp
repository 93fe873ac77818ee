// zr740 read / zr740 write: a whole codeplug from or to a radio on a serial port.
//
//   zr740 read  --port PORT -o FILE.VNTX [--password DIGITS] [--fast] [--no-backup] [--trace FILE]
//   zr740 write --port PORT FILE.VNTX [--radio-id ID] [--password DIGITS] [--fast] [--trace FILE]
//
// --fast: the fast link (CDialog_MSComm::SetFastLink), off by default.
//
// PORT is a device path or COMn (the device that COMn stands for beside the program). The read
// saves its file only after the whole read succeeded, and atomically, so a failed read never
// leaves a partial file. A progress bar is drawn on standard error when that is a terminal.
#include <unistd.h>

#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <atomic>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "core/ProgramDirectories.h"
#include "core/SystemSettings.h"
#include "cli/Verbs.h"
#include "core/Backups.h"
#include "codeplug/RadioInfo.h"
#include "codeplug/CodeplugFile.h"
#include "forms/channels/Encodings.h"
#include "link/CDialog_MSComm.h"
#include "link/Clock.h"
#include "link/PortNames.h"
#include "link/PortProbe.h"
#include "link/QtSerialPort.h"
#include "link/TraceSerialPort.h"
#include "link/Sessions.h"
#include "link/TransferState.h"

namespace cli {
namespace {

// Exit codes of the transfer verbs, after those of the file verbs (cli/Verbs.h).
enum TransferExit : int {
    kExitPortUnusable = 6,  // the port does not exist, is busy or may not be opened
    kExitNoAnswer = 7,      // the radio did not answer or answered wrongly
    kExitPassword = 8,      // the radio wants a password, or rejected the one given
    kExitSaveFailed = 9,    // the read worked but the file could not be written
};

struct TransferOptions {
    std::string port;
    std::string file;
    std::optional<std::string> password;
    std::optional<std::string> radioId;
    bool fast = false;
    bool noBackup = false;
    std::optional<std::string> trace;  // --trace FILE
};

bool AllDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<TransferOptions> ParseOptions(std::string_view verb, Args args, bool isRead)
{
    TransferOptions o;
    auto value = [&](std::size_t& i, std::string_view name) -> std::optional<std::string> {
        if (i + 1 >= args.size()) {
            PrintError(verb, std::string(name) + " needs a value");
            return std::nullopt;
        }
        return std::string(args[++i]);
    };
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        std::optional<std::string> v;
        if (!optionsEnded && a == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && a == "--port") {
            if (!(v = value(i, a)))
                return std::nullopt;
            o.port = *v;
        } else if (!optionsEnded && isRead && (a == "-o" || a == "--output")) {
            if (!(v = value(i, a)))
                return std::nullopt;
            o.file = *v;
        } else if (!optionsEnded && a == "--trace") {
            if (!(v = value(i, a)))
                return std::nullopt;
            o.trace = *v;
        } else if (!optionsEnded && isRead && a == "--no-backup") {
            o.noBackup = true;
        } else if (!optionsEnded && a == "--password") {
            if (!(v = value(i, a)))
                return std::nullopt;
            if (!AllDigits(*v) || v->size() > session::kPasswordChars) {
                PrintError(verb, "--password takes 1 to 8 digits");
                return std::nullopt;
            }
            o.password = *v;
        } else if (!optionsEnded && !isRead && a == "--radio-id") {
            if (!(v = value(i, a)))
                return std::nullopt;
            if (!AllDigits(*v) || v->size() > session::kRadioIdChars) {
                PrintError(verb, "--radio-id takes 1 to 8 digits (at most 16776415)");
                return std::nullopt;
            }
            o.radioId = *v;
        } else if (!optionsEnded && a == "--fast") {
            o.fast = true;
        } else if (!optionsEnded && a.size() > 1 && a.front() == '-') {
            PrintError(verb, "unknown option " + std::string(a));
            return std::nullopt;
        } else if (!isRead && o.file.empty()) {
            o.file = a;
        } else {
            PrintError(verb, "unexpected argument " + std::string(a));
            return std::nullopt;
        }
    }
    if (o.port.empty()) {
        PrintError(verb, "no port given: --port /dev/ttyUSB0 or --port COM3");
        return std::nullopt;
    }
    if (o.file.empty()) {
        PrintError(verb, isRead ? "no output file given: -o FILE.VNTX" : "no codeplug file given");
        return std::nullopt;
    }
    return o;
}

}  // namespace

ProgramDirectories ProgramFolders()
{
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return LocateProgramDirectories(error ? std::filesystem::current_path(error) : exe.parent_path(),
                                    UserConfigDirectory());
}

std::filesystem::path ProgramDirectory() { return ProgramFolders().program; }

// "COM3" (any case) names a port number; anything else is a device path.
std::optional<int> ComNumber(std::string_view port)
{
    if (port.size() < 4 || port.size() > 5)
        return std::nullopt;
    for (std::size_t i = 0; i < 3; ++i)
        if (std::toupper(static_cast<unsigned char>(port[i])) != "COM"[i])
            return std::nullopt;
    const std::string_view digits = port.substr(3);
    if (!AllDigits(digits))
        return std::nullopt;
    const int n = std::stoi(std::string(digits));
    if (n < kFirstComPort || n > kLastComPort)
        return std::nullopt;
    return n;
}

std::string PortProblem(const PortCheck& check)
{
    const std::string device = check.device.string();
    switch (check.state) {
    case PortState::Usable: return {};
    case PortState::Missing: return device + " does not exist: is the programming cable plugged in, and is it the right port?";
    case PortState::PermissionDenied: return "no permission to open " + device + " (is the user in the dialout group?)";
    case PortState::Busy: return device + " is in use by another program";
    case PortState::NotSerial:
        return device + (check.error == EISDIR ? " is a directory, not a serial port" : " is not a serial port");
    case PortState::Failed: break;
    }
    return "cannot open " + device + " (error " + std::to_string(check.error) + ")";
}

namespace {

// A bar on standard error, redrawn every 100 ms while the worker runs, from the exchanges done.
class ProgressBar {
public:
    ProgressBar(const char* what, const std::atomic<int>& done, int total)
        : what_(what), done_(done), total_(total), enabled_(isatty(STDERR_FILENO) == 1)
    {
        if (enabled_)
            thread_ = std::thread([this] { Loop(); });
    }
    ~ProgressBar() { Stop(false); }

    void Stop(bool complete)
    {
        if (!enabled_)
            return;
        {
            std::lock_guard lock(mutex_);
            if (stopped_)
                return;
            stopped_ = true;
        }
        wake_.notify_all();
        thread_.join();
        Draw(complete);
        std::fputc('\n', stderr);
    }

private:
    void Loop()
    {
        std::unique_lock lock(mutex_);
        while (!stopped_) {
            lock.unlock();
            Draw(false);
            lock.lock();
            wake_.wait_for(lock, std::chrono::milliseconds(100), [this] { return stopped_; });
        }
    }

    void Draw(bool complete) const
    {
        constexpr int kWidth = 40;
        const int done = complete ? total_ : std::min(done_.load(std::memory_order_relaxed), total_);
        const int filled = total_ > 0 ? done * kWidth / total_ : 0;
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
        std::fprintf(stderr, "\r%s [%.*s%.*s] %3d%%  %5.1f s", what_, filled,
                     "########################################", kWidth - filled,
                     "                                        ", total_ > 0 ? done * 100 / total_ : 0, seconds);
        std::fflush(stderr);
    }

    const char* what_;
    const std::atomic<int>& done_;
    const int total_;
    const bool enabled_;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopped_ = false;
    std::thread thread_;
};

// A session that succeeded only because damaged replies were asked for again says so.
void PrintRepeats(std::string_view verb, int repeats)
{
    if (repeats > 0)
        PrintError(verb, std::to_string(repeats) + (repeats == 1 ? " request was" : " requests were") +
                             " repeated because the reply arrived damaged: the cable or its connector may be poor");
}

// Opens the link on the resolved port, runs one session and explains a failure. `repeats`
// receives the requests the session repeated for damaged replies.
int RunSession(std::string_view verb, const TransferOptions& o, Codeplug& image, bool isRead, int& repeats)
{
    const std::filesystem::path programDirectory = ProgramDirectory();
    const auto com = ComNumber(o.port);
    const std::filesystem::path device = com ? ComDevicePath(programDirectory, *com) : std::filesystem::path(o.port);
    const std::string portName = com ? o.port + " (" + device.string() + ")" : device.string();

    const PortCheck check = ProbeDevice(device);
    if (!check.usable()) {
        PrintError(verb, PortProblem(check));
        return kExitPortUnusable;
    }

    // A Qt serial port wants an application object on its thread; the session runs right here.
    static int argc = 1;
    static char name[] = "zr740";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> qt;
    if (!QCoreApplication::instance())
        qt = std::make_unique<QCoreApplication>(argc, argv);

    SystemClock clock;
    SerialPortFactory ports = QtSerialPortFactory();
    if (o.trace) {
        std::string error;
        if (!(ports = TracingFactory(std::move(ports), *o.trace, clock, error))) {
            PrintError(verb, error);
            return kExitFailure;
        }
    }
    CDialog_MSComm link(std::move(ports), clock);
    link.SetDevice(device.string());
    link.SetFastLink(o.fast);
    link.SetNoteSink([verb](const std::string& note) { PrintError(verb, "note: " + note); });
    TransferState state;
    if (o.password)
        state.PasswordEntry = session::MakePasswordEntry(*o.password);
    std::atomic<int> exchanges{0};
    SessionContext context{image, link, state};
    context.exchanges = &exchanges;

    {
        ProgressBar bar(isRead ? "Reading" : "Writing", exchanges, isRead ? MaxReadExchanges() : MaxWriteExchanges());
        if (isRead) {
            state.TransferStatus = session::status::ReadRunning;
            ReadWorker(context);
        } else {
            state.TransferStatus = session::status::WriteRunning;
            WriteWorker(context);
        }
        const std::uint32_t status = state.TransferStatus;
        bar.Stop(status == session::status::ReadDone || status == session::status::WriteDone);
    }
    link.ClosePort();  // a session stopped for a password leaves it open
    repeats = state.Repeats;

    const std::uint32_t status = state.TransferStatus;
    if (status == session::status::ReadDone || status == session::status::WriteDone)
        return kExitOk;
    if (session::WantsPassword(status)) {
        PrintError(verb, o.password ? "the radio rejected the password; check --password"
                                    : "the radio is password-protected; give its password with --password");
        return kExitPassword;
    }
    if (status == session::status::Damaged) {
        PrintError(verb, "the radio's answers on " + portName +
                             " arrived damaged (cut short, mismatched or with wrong check bytes), also when asked "
                             "again (" + std::to_string(repeats) +
                             " repeats in all): check the programming cable, its connector and for interference nearby");
        return kExitNoAnswer;
    }
    if (status == session::status::TooSlow) {
        PrintError(verb, "the radio's answers on " + portName +
                             " come byte by byte, far slower than the cable carries them, too slowly for the transfer "
                             "to finish: check the programming cable and its connector");
        return kExitNoAnswer;
    }
    if (status == session::status::Failed) {
        PrintError(verb, "no valid answer from the radio on " + portName +
                             ": check the programming cable, the port and that the radio is switched on");
        return kExitNoAnswer;
    }
    PrintError(verb, "the radio refused the transfer (status " + std::to_string(status) + ")");
    return kExitFailure;
}

}  // namespace

int RunRead(Args args)
{
    constexpr std::string_view verb = "read";
    const auto o = ParseOptions(verb, args, true);
    if (!o)
        return kExitUsage;
    // Refuse an output place that cannot take the file before a long read, not after it.
    // A trial save shows a full disk, a file-size limit or a directory in the way as well.
    const std::filesystem::path out(o->file);
    if (const FileResult trial = CheckCodeplugFileWritable(out); !trial.ok()) {
        PrintError(verb, o->file + " cannot be written: " + trial.detail);
        return kExitSaveFailed;
    }

    // Records the radio does not return keep what the desktop program would hold at start:
    // the default codeplug beside the program (all zero without one).
    auto image = std::make_unique<Codeplug>();
    LoadCodeplugFile(*image, ProgramFolders().data / kDefaultCodeplugName);

    int repeats = 0;
    const int result = RunSession(verb, *o, *image, true, repeats);
    if (result != kExitOk)
        return result;
    // What the radio says about itself, as the radio-information dialog shows it.
    std::fprintf(stderr, "zr740 read: serial number %s, MCU firmware %s, DSP firmware %s, band %s\n",
                 PrintableRadioText(radio_info::SerialNumber(*image)).c_str(),
                 PrintableRadioText(radio_info::McuVersion(*image)).c_str(),
                 PrintableRadioText(radio_info::DspVersion(*image)).c_str(), radio_info::BandText(*image).c_str());
    PrintRepeats(verb, repeats);
    const FileResult saved = SaveCodeplugFile(*image, out);
    if (!saved.ok()) {
        PrintError(verb, "read done, but " + o->file + " cannot be written: " + saved.detail);
        // The radio's data are not thrown away: the backup is written whatever --no-backup says.
        const backups::Result backup = backups::Save(*image, backups::Directory());
        if (backup.ok)
            PrintError(verb, "the data read are kept in " + backup.path.string());
        else
            PrintError(verb, "no copy of the data read could be kept either: " + backup.error);
        return kExitSaveFailed;
    }
    std::fprintf(stderr, "zr740 read: saved %s\n", o->file.c_str());
    if (!o->noBackup) {
        // The backup never fails the read; a problem with it is only reported.
        const backups::Result backup = backups::Save(*image, backups::Directory());
        if (backup.ok)
            std::fprintf(stderr, "zr740 read: backup %s\n", backup.path.c_str());
        else
            PrintError(verb, "warning: no backup: " + backup.error);
    }
    return kExitOk;
}

int RunWrite(Args args)
{
    constexpr std::string_view verb = "write";
    const auto o = ParseOptions(verb, args, false);
    if (!o)
        return kExitUsage;
    auto image = std::make_unique<Codeplug>();
    const int loaded = LoadCodeplugForVerb(verb, o->file, *image);
    if (loaded != kExitOk)
        return loaded;
    // As the write dialog: the ID given (or the file's own, as the dialog shows it) read as
    // packed decimal digits and clamped to 1..16776415.
    const std::string idText = o->radioId ? *o->radioId : session::RadioIdFieldText(GetRadioId(*image), false);
    SetRadioId(*image, ParseBcdIdText(idText));

    int repeats = 0;
    const int result = RunSession(verb, *o, *image, false, repeats);
    if (result == kExitOk) {
        PrintRepeats(verb, repeats);
        std::fprintf(stderr, "zr740 write: done\n");
    }
    return result;
}

}  // namespace cli
