// The real serial path: a COMn link to a pseudo-terminal, opened through Qt's serial port, and
// the zr740sim program answering on it at 38400 baud.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>

#include <chrono>
#include <thread>

#include "link/PortNames.h"
#include "link/PortProbe.h"
#include "link/QtSerialPort.h"
#include "tests/core/SessionPrograms.h"

namespace fs = std::filesystem;

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using Steady = std::chrono::steady_clock;

namespace {

// Reads from fd until `want` bytes came or the time is up.
Bytes ReadFor(int fd, std::size_t want, std::chrono::milliseconds limit)
{
    Bytes got;
    const auto end = Steady::now() + limit;
    while (got.size() < want && Steady::now() < end) {
        pollfd p{fd, POLLIN, 0};
        std::uint8_t buf[256];
        const ssize_t n = poll(&p, 1, 10) > 0 ? read(fd, buf, std::min(sizeof buf, want - got.size())) : 0;
        if (n > 0)
            got.insert(got.end(), buf, buf + n);
    }
    return got;
}

}  // namespace

TEST(PortSerial, ComLinkToAPseudoTerminalThroughQtSerialPort)
{
    const testfiles::TempDir temp;
    const fs::path dir = temp.path;
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
    fs::create_symlink(ptsname(master), dir / "COM5");
    EXPECT_TRUE(TestPort(dir, 5));

    QtSerialPort port;
    ASSERT_TRUE(port.Open(ComDevicePath(dir, 5).string())) << port.ErrorText();
    termios t{};
    ASSERT_EQ(tcgetattr(master, &t), 0);
    EXPECT_EQ(cfgetospeed(&t), B38400);
    EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | CSTOPB), static_cast<tcflag_t>(CS8)) << "8N1";
    EXPECT_EQ(ProbePort(dir, 5).state, PortState::Busy) << "our own open port is not offered again";

    const Bytes request = {0x84, 0xA9, 0x0A, 0x0D, 0x00, 0xFF, 0x11, 0x13};  // no byte may be translated
    ASSERT_TRUE(port.Write(request));
    EXPECT_EQ(ReadFor(master, request.size(), 2000ms), request);
    const Bytes reply = {0x05, 0x0D, 0x0A, 0x03, 0x1C, 0x7F};
    ASSERT_EQ(write(master, reply.data(), reply.size()), static_cast<ssize_t>(reply.size()));
    for (int i = 0; i < 200 && port.BytesWaiting() < reply.size(); ++i)
        std::this_thread::sleep_for(5ms);
    EXPECT_EQ(port.ReadAll(), reply);
    port.Close();
    EXPECT_TRUE(TestPort(dir, 5)) << "free again after closing";
    close(master);
}

TEST(PortSerial, SessionAgainstZr740simAt38400Baud)
{
    const testfiles::TempDir temp;
    const fs::path dir = temp.path;
    {
        session_test::Sim sim({"--link-dir", dir.string(), "--com", "4", "--password", "2468"});
        ASSERT_EQ(fs::read_symlink(dir / "COM4"), sim.device()) << sim.device();
        // Password 2468 is stored right-aligned (00002468); after it, a 237-byte reply takes 236 byte
        // times (10 bits at 38400 baud) from first to last byte.
        const int fd = open(sim.device().c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(fd, 0);
        termios t{};
        tcgetattr(fd, &t);
        cfmakeraw(&t);
        tcsetattr(fd, TCSANOW, &t);
        auto exchange = [fd](const Bytes& request, std::size_t replyBytes) {
            EXPECT_EQ(write(fd, request.data(), request.size()), static_cast<ssize_t>(request.size()));
            return ReadFor(fd, replyBytes, 2000ms);
        };
        EXPECT_EQ(exchange({0x84, 0xA9, 0x61, 0x00, 0x07, 0x0F, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x2F, 0xD8}, 10),
                  (Bytes{0x84, 0xA9, 0x61, 0x00, 0x04, 0x0F, 0xFA, 0x04, 0x2F, 0xDA})) << "the radio wants its password";
        exchange({0x84, 0xA9, 0x61, 0x00, 0x0E, 0x0F, 0xFF, 0x00, 0x03, 0x00, '0', '0', '0', '0', '2', '4', '6',
                  '8', 0x2F, 0xDA}, 10);
        // Two spans that scheduling delays can only move one way: from the request to the last byte
        // (a late reader only lengthens it) must hold at least the 236 paced byte times, 61.5 ms; from
        // the first byte seen to the last (a late reader only shortens it) must stay well under
        // a radio at half the rate (123 ms).
        const Bytes request = {0x84, 0xA9, 0x61, 0x00, 0x04, 0x2F, 0xF0, 0x00, 0x2F, 0xF4};
        const auto sent = Steady::now();
        EXPECT_EQ(write(fd, request.data(), request.size()), static_cast<ssize_t>(request.size()));
        const Bytes first = ReadFor(fd, 1, 2000ms);
        const auto firstSeen = Steady::now();
        const Bytes rest = ReadFor(fd, 237 - first.size(), 2000ms);
        const auto lastSeen = Steady::now();
        close(fd);
        ASSERT_EQ(first.size() + rest.size(), 237u);
        const auto ms = [](auto span) { return std::chrono::duration<double, std::milli>(span).count(); };
        EXPECT_GT(ms(lastSeen - sent), 58.0) << "an unpaced radio answers at once";
        EXPECT_LT(ms(lastSeen - firstSeen), 110.0) << "a radio at half the rate takes 123 ms";
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "COM4"))) << "the link goes with the program";
}
