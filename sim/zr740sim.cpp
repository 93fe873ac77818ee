// zr740sim: the virtual radio on a pseudo-terminal, paced at 38400 baud.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "codeplug/CodeplugFile.h"
#include "link/Clock.h"
#include "link/MemoryPort.h"
#include "sim/SimOptions.h"
#include "sim/VirtualRadio.h"

namespace {

volatile sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

bool MakeRaw(int fd)
{
    termios t{};
    if (tcgetattr(fd, &t) != 0)
        return false;
    cfmakeraw(&t);
    cfsetispeed(&t, B38400);
    cfsetospeed(&t, B38400);
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

// Writes what the line takes now without waiting; returns how many bytes went, or -1 on an error.
ssize_t WriteSome(int fd, const std::vector<std::uint8_t>& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN)
                break;
            return -1;
        }
        done += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(done);
}

// Host bytes that come faster than the cable could carry them (a flood through the
// pseudo-terminal) are not queued behind each other for ever: the radio sees them at most this
// far behind the clock.
constexpr Clock::Duration kMaxHostLag = std::chrono::milliseconds(100);
// Bytes waiting for the host beyond this are dropped, oldest first.
constexpr std::size_t kMaxPending = 1 << 16;

}  // namespace

int main(int argc, char** argv)
{
    IgnoreFileSizeSignal();
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const auto parsed = ParseSimOptions(args, error);
    if (!parsed) {
        std::cerr << "zr740sim: " << error << "\n\n" << SimUsage();
        return 2;
    }
    const SimOptions& o = *parsed;
    if (o.help) {
        std::cout << SimUsage();
        return 0;
    }

    VirtualRadio radio(o.setup);
    radio.faults() = o.faults;
    if (!o.load.empty()) {
        auto image = std::make_unique<Codeplug>();
        const FileResult loaded = LoadCodeplugFile(*image, o.load);
        if (!loaded.loaded()) {
            std::cerr << "zr740sim: cannot load " << o.load << ": " << DescribeFileProblem(loaded) << "\n";
            return 1;
        }
        if (loaded.status == FileStatus::WrongMarker)
            std::cerr << "zr740sim: warning: " << o.load << ": " << DescribeFileProblem(loaded) << "\n";
        radio.LoadCodeplug(*image);
    }
    if (!o.load.empty()) {
        const std::filesystem::path memory = o.load + ".service";
        if (std::filesystem::exists(memory) && !radio.LoadServiceMemory(memory)) {
            std::cerr << "zr740sim: cannot load " << memory.string() << "\n";
            return 1;
        }
    }
    if (o.password)
        radio.SetProgrammingPassword(*o.password);
    if (o.servicePassword)
        radio.SetServicePassword(*o.servicePassword);
    if (o.fleet.enabled)
        radio.SetFleet(o.fleet);  // after the load: every radio of the fleet starts with it

    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::perror("zr740sim: pseudo-terminal");
        return 1;
    }
    const char* slaveName = ptsname(master);
    if (!slaveName) {
        std::perror("zr740sim: ptsname");
        return 1;
    }
    const std::string device = slaveName;
    // Keep one descriptor of the terminal side open ourselves, so the line stays up (no hang-up
    // on our side) while programs open and close the port.
    const int keeper = open(device.c_str(), O_RDWR | O_NOCTTY);
    if (keeper < 0 || !MakeRaw(keeper)) {
        std::perror("zr740sim: terminal side");
        return 1;
    }
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

    std::filesystem::path link;
    if (!o.linkDir.empty()) {
        link = std::filesystem::path(o.linkDir) / ("COM" + std::to_string(o.com));
        std::error_code ec;
        const auto status = std::filesystem::symlink_status(link, ec);
        if (std::filesystem::exists(status)) {
            if (!std::filesystem::is_symlink(status)) {
                std::cerr << "zr740sim: " << link << " exists and is not a link; not replaced\n";
                return 1;
            }
            std::filesystem::remove(link, ec);
        }
        std::filesystem::create_symlink(device, link, ec);
        if (ec) {
            std::cerr << "zr740sim: cannot create " << link << ": " << ec.message() << "\n";
            return 1;
        }
    }

    std::cout << device << std::endl;
    if (!link.empty())
        std::cerr << "zr740sim: " << link.string() << " -> " << device << "\n";

    // The stop signals are held back except while waiting in ppoll, so one that comes between
    // the loop's check and the wait still ends the wait at once.
    sigset_t stopSignals, waitMask;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    sigprocmask(SIG_BLOCK, &stopSignals, &waitMask);
    struct sigaction sa{};
    sa.sa_handler = OnSignal;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);

    // Every close of the terminal side by a host (our own descriptor stays open) is seen here.
    const int closes = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (closes >= 0 && inotify_add_watch(closes, device.c_str(), IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) < 0) {
        close(closes);
        std::cerr << "zr740sim: cannot watch " << device << " for closes\n";
    }

    auto saveMemory = [&]() {
        if (!o.saveOnClose.empty() && !radio.SaveServiceMemory(o.saveOnClose + ".service"))
            std::cerr << "zr740sim: cannot save " << o.saveOnClose << ".service\n";
    };
    auto save = [&]() {
        if (!o.saveOnClose.empty() && !radio.SaveFile(o.saveOnClose))
            std::cerr << "zr740sim: cannot save " << o.saveOnClose << "\n";
        saveMemory();
    };
    radio.onServiceWrite = saveMemory;
    bool writeClosed = false;
    radio.onWriteSessionClosed = [&]() {
        save();
        writeClosed = true;
    };
    SystemClock clock;
    if (o.verbose)
        radio.onEvent = [&](const RadioEvent& e) {
            std::fprintf(stderr, "%10.3f ms  %s\n", std::chrono::duration<double, std::milli>(e.at).count(),
                         e.text.c_str());
        };

    std::deque<TimedByte> pending;  // bytes for the host, each due at its time
    bool lineFull = false;          // the host does not take what is due
    Clock::Time hostLineFree{};
    Clock::Time lingerUntil{};
    std::vector<std::uint8_t> buffer(4096);
    while (!g_stop) {
        // Sleep until input arrives or the next reply byte is due (or the line takes bytes again).
        timespec timeout{0, 200'000'000};
        if (!pending.empty() && !lineFull) {
            const auto wait = pending.front().at - clock.Now();
            const long long ns = o.instant ? 0 : std::max<long long>(0, wait.count());
            timeout = {static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
        }
        pollfd p[2] = {{master, static_cast<short>(POLLIN | (lineFull ? POLLOUT : 0)), 0}, {closes, POLLIN, 0}};
        const int ready = ppoll(p, closes >= 0 ? 2 : 1, &timeout, &waitMask);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            std::perror("zr740sim: poll");
            break;
        }
        if ((p[0].revents & (POLLHUP | POLLERR | POLLNVAL)) && !(p[0].revents & POLLIN)) {
            std::cerr << "zr740sim: the line is gone\n";
            break;
        }
        if (closes >= 0 && (p[1].revents & POLLIN)) {
            char events[4096];
            while (read(closes, events, sizeof events) > 0) {
            }
            // The host closed the port: nothing queued for it is sent any more, and what it left
            // unread is dropped (the next opener's bytes would be stale).
            pending.clear();
            lineFull = false;
            tcflush(keeper, TCIFLUSH);
            if (o.verbose)
                std::fprintf(stderr, "zr740sim: the host closed the port\n");
        }
        if (p[0].revents & POLLIN) {
            const ssize_t n = read(master, buffer.data(), buffer.size());
            if (n > 0) {
                // The bytes came through the pseudo-terminal at once; on a cable each takes a
                // byte time, so they are handed to the radio at the times a cable would deliver them.
                const Clock::Time now = clock.Now();
                Clock::Time t = std::min(std::max(now, hostLineFree), now + kMaxHostLag);
                for (ssize_t i = 0; i < n; ++i) {
                    t += o.instant ? Clock::Duration(0) : kLinkByteTime;
                    radio.HostByte(buffer[static_cast<std::size_t>(i)], t);
                }
                hostLineFree = t;
                for (const TimedByte& b : radio.TakeOutput())
                    pending.push_back(b);
                while (pending.size() > kMaxPending)
                    pending.pop_front();
            }
        }
        std::vector<std::uint8_t> due;
        const Clock::Time now = clock.Now();
        for (std::size_t i = 0; i < pending.size() && (o.instant || pending[i].at <= now); ++i)
            due.push_back(pending[i].value);
        if (!due.empty()) {
            const ssize_t sent = WriteSome(master, due);
            if (sent < 0) {
                std::perror("zr740sim: write");
                break;
            }
            pending.erase(pending.begin(), pending.begin() + sent);
            lineFull = static_cast<std::size_t>(sent) < due.size();
        } else {
            lineFull = false;
        }
        if (writeClosed && o.exitAfterWrite && pending.empty()) {
            // Closing the terminal hangs it up and drops unread input at the other end: give the
            // host time to collect the last reply first.
            if (lingerUntil == Clock::Time{})
                lingerUntil = clock.Now() + std::chrono::milliseconds(1500);
            else if (clock.Now() >= lingerUntil)
                break;
        }
    }

    save();
    if (!link.empty()) {
        std::error_code ec;
        if (std::filesystem::is_symlink(link, ec) && std::filesystem::read_symlink(link, ec) == device)
            std::filesystem::remove(link, ec);
    }
    if (closes >= 0)
        close(closes);
    close(keeper);
    close(master);
    return 0;
}
