// COMn on Linux: a COMn entry in the program directory wins, otherwise the fixed device ranges.
#include "tests/core/TestFiles.h"

#include <unistd.h>

#include "link/PortNames.h"

namespace fs = std::filesystem;

TEST(LinkPortNames, FixedDevicesClampingAndTheProgramDirectoryEntryThatWins)
{
    for (const auto& [n, device] : std::vector<std::pair<int, std::string>>{
             {1, "/dev/ttyUSB0"}, {8, "/dev/ttyUSB7"}, {9, "/dev/ttyACM0"}, {12, "/dev/ttyACM3"},
             {13, "/dev/ttyS0"}, {16, "/dev/ttyS3"}, {0, "/dev/ttyUSB0"}, {200, "/dev/ttyS3"}})
        EXPECT_EQ(DefaultComDevice(n), device) << n;
    EXPECT_EQ(ComPortName(3), "COM3");
    EXPECT_EQ(ComPortCaption(3), "COM03");
    EXPECT_EQ(ComPortCaption(16), "COM16");
    for (const auto& [in, out] : std::vector<std::pair<int, int>>{{0, 1}, {-4, 1}, {16, 16}, {20, 16}})
        EXPECT_EQ(ClampPortNumber(in), out) << in;
    {
        const fs::path dir = fs::temp_directory_path() / ("zr740-ports-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        fs::create_symlink("/dev/null", dir / "COM3");
        fs::create_symlink(dir / "nowhere", dir / "COM4");  // dangling: still this port's device
        std::ofstream(dir / "COM05").put('x');              // not the name of any port
        EXPECT_EQ(ComDevicePath(dir, 3), dir / "COM3");
        EXPECT_EQ(ComDevicePath(dir, 4), dir / "COM4");
        EXPECT_EQ(ComDevicePath(dir, 5), "/dev/ttyUSB4");
        EXPECT_EQ(ComDevicePath(dir, 13), "/dev/ttyS0");
        EXPECT_EQ(ComDevicePath({}, 3), "/dev/ttyUSB2");
        fs::remove_all(dir);
    }
}
