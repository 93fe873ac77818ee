// COMn on Linux: a COMn entry in the program directory wins, otherwise the fixed device ranges.
#include "tests/core/TestFiles.h"

#include "link/PortNames.h"

namespace fs = std::filesystem;

TEST(LinkPortNames, FixedDevicesClampingAndTheProgramDirectoryEntryThatWins)
{
    for (const auto& [n, device] : std::vector<std::pair<int, std::string>>{
             {1, "/dev/ttyUSB0"}, {8, "/dev/ttyUSB7"}, {9, "/dev/ttyACM0"}, {12, "/dev/ttyACM3"},
             {13, "/dev/ttyS0"}, {16, "/dev/ttyS3"}, {0, "/dev/ttyUSB0"}, {200, "/dev/ttyS3"}})
        EXPECT_EQ(DefaultComDevice(n), device) << n;
    EXPECT_EQ((std::vector{ComPortName(3), ComPortCaption(3), ComPortCaption(16)}),
              (std::vector<std::string>{"COM3", "COM03", "COM16"}));
    for (const auto& [in, out] : std::vector<std::pair<int, int>>{{0, 1}, {-4, 1}, {16, 16}, {20, 16}})
        EXPECT_EQ(ClampPortNumber(in), out) << in;
    const testfiles::TempDir dir;
    fs::create_symlink("/dev/null", dir / "COM3");
    fs::create_symlink(dir / "nowhere", dir / "COM4");  // dangling: still this port's device
    testfiles::WriteText(dir / "COM05", "x");           // not the name of any port
    EXPECT_EQ((std::vector{ComDevicePath(dir.path, 3), ComDevicePath(dir.path, 4), ComDevicePath(dir.path, 5),
                           ComDevicePath(dir.path, 13), ComDevicePath({}, 3)}),
              (std::vector<fs::path>{dir / "COM3", dir / "COM4", "/dev/ttyUSB4", "/dev/ttyS0", "/dev/ttyUSB2"}));
}
