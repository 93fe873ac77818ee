#pragma once
// A serial line held in memory, for tests: the host end is a SerialPort made by the line's
// factory, the far end a LineDevice (the virtual radio). Time is the line's Clock: a byte the
// device sends becomes readable at the host only when the clock reaches the byte's time, so a
// VirtualClock makes a whole exchange run in virtual time.
//
// Every byte the host writes takes one byte time (10 bits at 38400 baud) on the wire and is
// handed to the device with the time its last bit arrives.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "link/Clock.h"
#include "link/SerialPort.h"

struct TimedByte {
    std::uint8_t value = 0;
    Clock::Time at{};  // when the byte has fully arrived
};

// One byte time at 38400 baud, 10 bits a byte: about 260 microseconds.
inline constexpr Clock::Duration kLinkByteTime{1'000'000'000LL * kLinkBitsPerByte / kLinkBaudRate};

class LineDevice {
public:
    virtual ~LineDevice() = default;
    // One byte from the host, fully arrived at `at`.
    virtual void HostByte(std::uint8_t value, Clock::Time at) = 0;
    // Moves out what the device has produced for the host so far, each byte with the time it
    // has fully arrived at the host end (non-decreasing).
    virtual std::vector<TimedByte> TakeOutput() = 0;
};

class MemoryLine {
public:
    explicit MemoryLine(Clock& clock, LineDevice* device = nullptr);

    void Attach(LineDevice* device);

    // Makes host ends. Open succeeds while the line is present (see SetPresent), whatever the
    // device name; at most one host end is open at a time.
    SerialPortFactory PortFactory();

    // A missing cable: Open fails.
    void SetPresent(bool present);

    // Everything the host wrote since the line was made, in order.
    std::vector<std::uint8_t> HostWritten() const;
    void ClearHostWritten();
    // The device names the host ends were opened with, and how many opens/closes happened.
    std::vector<std::string> OpenedDevices() const;
    int OpenCount() const;
    int CloseCount() const;
    bool HostOpen() const;

    // Bytes readable at the host now / all bytes queued for the host (readable or not yet).
    std::size_t HostReadable() const;
    std::size_t HostQueued() const;

    // Puts bytes into the host's input directly (they are readable at `at`); for tests of the
    // host's handling of arbitrary input without a device.
    void InjectToHost(std::span<const std::uint8_t> bytes, Clock::Time at);

private:
    friend class MemoryPort;
    bool PortOpen(const std::string& device);
    void PortClose();
    std::size_t PortWaiting();
    std::vector<std::uint8_t> PortReadAll();
    bool PortWrite(std::span<const std::uint8_t> bytes);
    void PullDeviceOutput();  // with mutex_ held

    Clock& clock_;
    LineDevice* device_ = nullptr;
    mutable std::mutex mutex_;
    bool present_ = true;
    bool hostOpen_ = false;
    int opens_ = 0;
    int closes_ = 0;
    Clock::Time hostLineFree_{};  // when the host's transmitter has sent its last byte
    std::deque<TimedByte> toHost_;
    std::vector<std::uint8_t> hostWritten_;
    std::vector<std::string> openedDevices_;
};
