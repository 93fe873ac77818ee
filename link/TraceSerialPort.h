#pragma once
// A protocol trace for bug reports: a serial port that passes everything to the real one and
// writes every byte sent and received to a text file, one line per frame written and per chunk
// read, each with its time since the port was opened, and a line for every request the link
// repeated (and why):
//   0.000312 TX 02 52 ...
//   0.004871 RX 06
//   0.412000 NOTE repeat 1 of 2 for read F4 3: the reply was cut short (18 of 92 bytes)
#include <memory>
#include <mutex>
#include <string>

#include "link/Clock.h"
#include "link/SerialPort.h"

// The trace file. Lines are appended to the file through the one safe save (the file's contents
// and the new lines, written beside it and renamed over it), never by writing into the file in
// place: a full disk or a killed program leaves the trace as it was, and a link planted beside it
// is never followed. To keep that cheap the lines are gathered and saved when the port closes,
// at most a second after they were written, and when the file object goes.
class TraceFile {
public:
    TraceFile(std::string path, const Clock& clock) : path_(std::move(path)), clock_(clock) {}
    ~TraceFile() { Save(); }
    // Creates the file (or checks that it can be appended to): "" when it can, else why not.
    std::string Check();
    void Add(const std::string& line);
    void Save();

private:
    static constexpr Clock::Duration kSaveEvery = std::chrono::seconds(1);
    const std::string path_;
    const Clock& clock_;
    std::mutex mutex_;
    std::string pending_;
    Clock::Time savedAt_{};
};

class TraceSerialPort : public SerialPort {
public:
    // `out` is shared by the ports one factory makes (one per session); `clock` outlives them.
    TraceSerialPort(std::unique_ptr<SerialPort> port, std::shared_ptr<TraceFile> out, const Clock& clock);

    bool Open(const std::string& device) override;
    void Close() override;
    bool IsOpen() const override { return port_->IsOpen(); }
    std::size_t BytesWaiting() override { return port_->BytesWaiting(); }
    std::vector<std::uint8_t> ReadAll() override;
    bool Write(std::span<const std::uint8_t> bytes) override;
    void Note(const std::string& text) override { Line("NOTE", {}, text); }

private:
    void Line(const char* what, std::span<const std::uint8_t> bytes, const std::string& note = {});

    std::unique_ptr<SerialPort> port_;
    std::shared_ptr<TraceFile> out_;
    const Clock& clock_;
    Clock::Time start_{};
};

// Wraps a factory so that every port it makes is traced into `path` (appended). Empty when
// the file cannot be written; `error` then says why.
SerialPortFactory TracingFactory(SerialPortFactory inner, const std::string& path, const Clock& clock, std::string& error);
