#pragma once
// A protocol trace for bug reports: a serial port that passes everything to the real one and
// writes every byte sent and received to a text file, one line per frame written and per chunk
// read, each with its time since the port was opened:
//   0.000312 TX 02 52 ...
//   0.004871 RX 06
#include <cstdio>
#include <memory>
#include <string>

#include "link/Clock.h"
#include "link/SerialPort.h"

class TraceSerialPort : public SerialPort {
public:
    // `out` is shared by the ports one factory makes (one per session); `clock` outlives them.
    TraceSerialPort(std::unique_ptr<SerialPort> port, std::shared_ptr<std::FILE> out, const Clock& clock);

    bool Open(const std::string& device) override;
    void Close() override;
    bool IsOpen() const override { return port_->IsOpen(); }
    std::size_t BytesWaiting() override { return port_->BytesWaiting(); }
    std::vector<std::uint8_t> ReadAll() override;
    bool Write(std::span<const std::uint8_t> bytes) override;

private:
    void Line(const char* what, std::span<const std::uint8_t> bytes, const std::string& note = {});

    std::unique_ptr<SerialPort> port_;
    std::shared_ptr<std::FILE> out_;
    const Clock& clock_;
    Clock::Time start_{};
};

// Wraps a factory so that every port it makes is traced into `path` (appended). Empty when
// the file cannot be opened; `error` then says why.
SerialPortFactory TracingFactory(SerialPortFactory inner, const std::string& path, const Clock& clock, std::string& error);
