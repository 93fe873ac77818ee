// zr740sim: the virtual radio on a pseudo-terminal, paced at 38400 baud.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

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

bool WriteAll(int fd, const std::vector<std::uint8_t>& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) {
                usleep(100);
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
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
    if (!o.load.empty() && !radio.LoadFile(o.load)) {
        std::cerr << "zr740sim: cannot load " << o.load << "\n";
        return 1;
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

    struct sigaction sa{};
    sa.sa_handler = OnSignal;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);

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
    Clock::Time hostLineFree{};
    Clock::Time lingerUntil{};
    std::vector<std::uint8_t> buffer(4096);
    while (!g_stop) {
        // Sleep until input arrives or the next reply byte is due.
        timespec timeout{0, 200'000'000};
        if (!pending.empty()) {
            const auto wait = pending.front().at - clock.Now();
            const long long ns = o.instant ? 0 : std::max<long long>(0, wait.count());
            timeout = {static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
        }
        pollfd p{master, POLLIN, 0};
        const int ready = ppoll(&p, 1, &timeout, nullptr);
        if (ready < 0 && errno != EINTR) {
            std::perror("zr740sim: poll");
            break;
        }
        if (ready > 0 && (p.revents & POLLIN)) {
            const ssize_t n = read(master, buffer.data(), buffer.size());
            if (n > 0) {
                // The bytes came through the pseudo-terminal at once; on a cable each takes a
                // byte time, so they are handed to the radio at the times a cable would deliver them.
                Clock::Time t = std::max(clock.Now(), hostLineFree);
                for (ssize_t i = 0; i < n; ++i) {
                    t += o.instant ? Clock::Duration(0) : kLinkByteTime;
                    radio.HostByte(buffer[static_cast<std::size_t>(i)], t);
                }
                hostLineFree = t;
                for (const TimedByte& b : radio.TakeOutput())
                    pending.push_back(b);
            }
        }
        std::vector<std::uint8_t> due;
        const Clock::Time now = clock.Now();
        while (!pending.empty() && (o.instant || pending.front().at <= now)) {
            due.push_back(pending.front().value);
            pending.pop_front();
        }
        if (!due.empty() && !WriteAll(master, due)) {
            std::perror("zr740sim: write");
            break;
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
    close(keeper);
    close(master);
    return 0;
}
