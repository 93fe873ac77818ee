#include "link/MemoryPort.h"

#include <algorithm>

// The host end of a MemoryLine.
class MemoryPort final : public SerialPort {
public:
    explicit MemoryPort(MemoryLine& line) : line_(line) {}
    ~MemoryPort() override { Close(); }

    bool Open(const std::string& device) override
    {
        if (open_)
            return true;
        open_ = line_.PortOpen(device);
        return open_;
    }
    void Close() override
    {
        if (open_)
            line_.PortClose();
        open_ = false;
    }
    bool IsOpen() const override { return open_; }
    std::size_t BytesWaiting() override { return open_ ? line_.PortWaiting() : 0; }
    std::vector<std::uint8_t> ReadAll() override
    {
        return open_ ? line_.PortReadAll() : std::vector<std::uint8_t>{};
    }
    bool Write(std::span<const std::uint8_t> bytes) override { return open_ && line_.PortWrite(bytes); }

private:
    MemoryLine& line_;
    bool open_ = false;
};

MemoryLine::MemoryLine(Clock& clock, LineDevice* device) : clock_(clock), device_(device) {}

void MemoryLine::Attach(LineDevice* device)
{
    std::lock_guard lock(mutex_);
    device_ = device;
}

SerialPortFactory MemoryLine::PortFactory()
{
    return [this]() -> std::unique_ptr<SerialPort> { return std::make_unique<MemoryPort>(*this); };
}

void MemoryLine::SetPresent(bool present)
{
    std::lock_guard lock(mutex_);
    present_ = present;
}

std::vector<std::uint8_t> MemoryLine::HostWritten() const
{
    std::lock_guard lock(mutex_);
    return hostWritten_;
}

void MemoryLine::ClearHostWritten()
{
    std::lock_guard lock(mutex_);
    hostWritten_.clear();
}

std::vector<std::string> MemoryLine::OpenedDevices() const
{
    std::lock_guard lock(mutex_);
    return openedDevices_;
}

int MemoryLine::OpenCount() const
{
    std::lock_guard lock(mutex_);
    return opens_;
}

int MemoryLine::CloseCount() const
{
    std::lock_guard lock(mutex_);
    return closes_;
}

bool MemoryLine::HostOpen() const
{
    std::lock_guard lock(mutex_);
    return hostOpen_;
}

std::size_t MemoryLine::HostReadable() const
{
    std::lock_guard lock(mutex_);
    const Clock::Time now = clock_.Now();
    return static_cast<std::size_t>(
        std::count_if(toHost_.begin(), toHost_.end(), [now](const TimedByte& b) { return b.at <= now; }));
}

std::size_t MemoryLine::HostQueued() const
{
    std::lock_guard lock(mutex_);
    return toHost_.size();
}

void MemoryLine::InjectToHost(std::span<const std::uint8_t> bytes, Clock::Time at)
{
    std::lock_guard lock(mutex_);
    for (std::uint8_t b : bytes)
        toHost_.push_back({b, at});
}

bool MemoryLine::PortOpen(const std::string& device)
{
    std::lock_guard lock(mutex_);
    if (!present_ || hostOpen_)
        return false;
    hostOpen_ = true;
    ++opens_;
    openedDevices_.push_back(device);
    return true;
}

void MemoryLine::PortClose()
{
    std::lock_guard lock(mutex_);
    hostOpen_ = false;
    ++closes_;
}

void MemoryLine::PullDeviceOutput()
{
    if (!device_)
        return;
    std::vector<TimedByte> out = device_->TakeOutput();
    for (const TimedByte& b : out)
        toHost_.push_back(b);
    // Bytes from the device and injected bytes may interleave; keep the queue in time order.
    if (!out.empty())
        std::stable_sort(toHost_.begin(), toHost_.end(),
                         [](const TimedByte& a, const TimedByte& b) { return a.at < b.at; });
}

std::size_t MemoryLine::PortWaiting()
{
    std::lock_guard lock(mutex_);
    PullDeviceOutput();
    const Clock::Time now = clock_.Now();
    std::size_t n = 0;
    for (const TimedByte& b : toHost_) {
        if (b.at > now)
            break;
        ++n;
    }
    return n;
}

std::vector<std::uint8_t> MemoryLine::PortReadAll()
{
    std::lock_guard lock(mutex_);
    PullDeviceOutput();
    const Clock::Time now = clock_.Now();
    std::vector<std::uint8_t> out;
    while (!toHost_.empty() && toHost_.front().at <= now) {
        out.push_back(toHost_.front().value);
        toHost_.pop_front();
    }
    return out;
}

bool MemoryLine::PortWrite(std::span<const std::uint8_t> bytes)
{
    std::lock_guard lock(mutex_);
    Clock::Time t = std::max(clock_.Now(), hostLineFree_);
    for (std::uint8_t b : bytes) {
        t += kLinkByteTime;
        hostWritten_.push_back(b);
        if (device_)
            device_->HostByte(b, t);
    }
    hostLineFree_ = t;
    PullDeviceOutput();
    return true;
}
