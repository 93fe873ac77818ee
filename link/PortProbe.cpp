#include "link/PortProbe.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "link/PortNames.h"

PortCheck ProbeDevice(const std::filesystem::path& device)
{
    PortCheck check;
    check.device = device;
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        check.error = errno;
        switch (errno) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
        case ENOTDIR:
        case ELOOP:
        case EIO:  // a serial node without hardware behind it
            check.state = PortState::Missing;
            break;
        case EACCES:
        case EPERM:
            check.state = PortState::PermissionDenied;
            break;
        case EBUSY:
            check.state = PortState::Busy;
            break;
        case EISDIR:
            check.state = PortState::NotSerial;
            break;
        default:
            check.state = PortState::Failed;
        }
        return check;
    }
    check.state = PortState::Usable;
    if (!::isatty(fd)) {
        check.error = errno;
        check.state = PortState::NotSerial;
    } else if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        check.error = errno;
        check.state = errno == EWOULDBLOCK ? PortState::Busy : PortState::Failed;
    } else {
        ::flock(fd, LOCK_UN);
    }
    ::close(fd);
    return check;
}

PortCheck ProbePort(const std::filesystem::path& programDirectory, int n)
{
    return ProbeDevice(ComDevicePath(programDirectory, n));
}

bool TestPort(const std::filesystem::path& programDirectory, int n) { return ProbePort(programDirectory, n).usable(); }
