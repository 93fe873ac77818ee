#pragma once
// The serial operations the protocol needs. One object is one opened (or openable) device; the
// link creates it through a factory on the thread that uses it and destroys it on close.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

// The programming cable's fixed line: 38400 baud, 8 data bits, no parity, 1 stop bit, raw bytes.
inline constexpr int kLinkBaudRate = 38400;
inline constexpr int kLinkBitsPerByte = 10;  // start + 8 data + stop

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Opens the device at 38400 8N1, binary (raw), no flow control. False when it cannot be opened.
    virtual bool Open(const std::string& device) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    // Received bytes not yet read.
    virtual std::size_t BytesWaiting() = 0;
    // Every waiting byte; removes them from the input buffer.
    virtual std::vector<std::uint8_t> ReadAll() = 0;
    // Queues the bytes for transmission; false when the port is not open or the write failed.
    virtual bool Write(std::span<const std::uint8_t> bytes) = 0;
    // A line about the exchange (a repeated request and why); a tracing port records it.
    virtual void Note(const std::string& /*text*/) {}
};

using SerialPortFactory = std::function<std::unique_ptr<SerialPort>()>;
