#pragma once
// Which device stands for "COMn" on Linux.
//
// If the program directory holds an entry named COMn (a symbolic link or a device node), that
// entry is the device: it points a port number at any cable (for example a /dev/serial/by-id/
// path) or at the virtual radio. Otherwise COM1-COM8 are /dev/ttyUSB0-7 (USB serial adapters),
// COM9-COM12 /dev/ttyACM0-3 (USB modem-class cables) and COM13-COM16 /dev/ttyS0-3.
#include <filesystem>
#include <string>

inline constexpr int kFirstComPort = 1;
inline constexpr int kLastComPort = 16;

// "COM3" - the name of an entry in the program directory.
std::string ComPortName(int n);
// "COM03" - the caption of the port dialog's buttons.
std::string ComPortCaption(int n);
// 0 becomes 1, values above 16 become 16.
int ClampPortNumber(int n);
// The device for COMn (n clamped), as described above.
std::filesystem::path ComDevicePath(const std::filesystem::path& programDirectory, int n);
// The fixed device of COMn, ignoring any entry in the program directory.
std::filesystem::path DefaultComDevice(int n);
