#include "link/PortNames.h"

#include <cstdio>
#include <system_error>

std::string ComPortName(int n) { return "COM" + std::to_string(ClampPortNumber(n)); }

std::string ComPortCaption(int n)
{
    char text[8];
    std::snprintf(text, sizeof text, "COM%02d", ClampPortNumber(n));
    return text;
}

int ClampPortNumber(int n)
{
    if (n < kFirstComPort)
        return kFirstComPort;
    return n > kLastComPort ? kLastComPort : n;
}

std::filesystem::path DefaultComDevice(int n)
{
    n = ClampPortNumber(n);
    if (n <= 8)
        return "/dev/ttyUSB" + std::to_string(n - 1);
    if (n <= 12)
        return "/dev/ttyACM" + std::to_string(n - 9);
    return "/dev/ttyS" + std::to_string(n - 13);
}

std::filesystem::path ComDevicePath(const std::filesystem::path& programDirectory, int n)
{
    if (!programDirectory.empty()) {
        const std::filesystem::path entry = programDirectory / ComPortName(n);
        std::error_code error;
        // symlink_status: a link counts even when its target is missing (then the port is absent).
        if (std::filesystem::exists(std::filesystem::symlink_status(entry, error)))
            return entry;
    }
    return DefaultComDevice(n);
}
