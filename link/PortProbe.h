#pragma once
// Whether a port can be used: the device is opened for reading and writing, exclusively, and
// closed at once. Exclusive means: open(O_RDWR | O_NOCTTY | O_NONBLOCK) succeeds (a port held
// with TIOCEXCL by another program, as Qt's serial port and most terminal programs do, refuses
// it with EBUSY), the device is a terminal (TIOCEXCL is accepted; it is released again at once)
// and no other program holds an flock() on it.
#include <filesystem>
#include <string>

enum class PortState {
    Usable,
    Missing,           // no such device (or a dangling COMn link)
    PermissionDenied,  // the user may not open it (not in the dialout group)
    Busy,              // another program holds it
    NotSerial,         // exists but is not a terminal device
    Failed,            // any other error
};

struct PortCheck {
    PortState state = PortState::Missing;
    std::filesystem::path device;
    int error = 0;  // errno of the failing call
    bool usable() const { return state == PortState::Usable; }
};

PortCheck ProbeDevice(const std::filesystem::path& device);
PortCheck ProbePort(const std::filesystem::path& programDirectory, int n);
// TestPort(n) of the transfer and password dialogs.
bool TestPort(const std::filesystem::path& programDirectory, int n);
