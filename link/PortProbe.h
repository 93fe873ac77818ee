#pragma once
// Whether a port can be used: the device is opened for reading and writing and closed at once.
// It counts as usable only when nobody else holds it: open(O_RDWR | O_NOCTTY | O_NONBLOCK)
// must succeed (a terminal held in exclusive mode (TIOCEXCL) by another program, as Qt's serial
// port and most terminal programs hold it, refuses with EBUSY), the device must be a terminal,
// and no other program may hold an flock() on it (our own serial port takes one while open, so
// this holds even for root, whom the exclusive mode does not stop).
#include <filesystem>
#include <string>

enum class PortState {
    Usable,
    Missing,           // no such device (a dangling COMn link, or no hardware behind the node)
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
