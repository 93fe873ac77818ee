#include "link/TraceSerialPort.h"

#include <cstdio>

#include "codeplug/CodeplugFile.h"

namespace {
std::span<const std::uint8_t> AsBytes(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}
}  // namespace

std::string TraceFile::Check()
{
    const FileResult result = AppendFileContents(path_, {});
    return result.ok() ? std::string() : result.detail;
}

void TraceFile::Add(const std::string& line)
{
    bool due = false;
    {
        std::lock_guard lock(mutex_);
        pending_ += line;
        due = clock_.Now() - savedAt_ >= kSaveEvery;
    }
    if (due)
        Save();
}

void TraceFile::Save()
{
    std::lock_guard lock(mutex_);
    savedAt_ = clock_.Now();
    if (pending_.empty())
        return;
    // A trace that cannot be saved just now keeps its lines for the next try.
    if (AppendFileContents(path_, AsBytes(pending_)).ok())
        pending_.clear();
}

TraceSerialPort::TraceSerialPort(std::unique_ptr<SerialPort> port, std::shared_ptr<TraceFile> out, const Clock& clock)
    : port_(std::move(port)), out_(std::move(out)), clock_(clock), start_(clock.Now())
{
}

bool TraceSerialPort::Open(const std::string& device)
{
    start_ = clock_.Now();
    const bool opened = port_->Open(device);
    Line("OPEN", {}, device + (opened ? "" : " (failed)"));
    return opened;
}

void TraceSerialPort::Close()
{
    if (port_->IsOpen())
        Line("CLOSE", {});
    port_->Close();
    out_->Save();
}

std::vector<std::uint8_t> TraceSerialPort::ReadAll()
{
    std::vector<std::uint8_t> bytes = port_->ReadAll();
    if (!bytes.empty())
        Line("RX", bytes);
    return bytes;
}

bool TraceSerialPort::Write(std::span<const std::uint8_t> bytes)
{
    const bool ok = port_->Write(bytes);
    Line("TX", bytes, ok ? "" : "(write failed)");
    return ok;
}

void TraceSerialPort::Line(const char* what, std::span<const std::uint8_t> bytes, const std::string& note)
{
    const double seconds = std::chrono::duration<double>(clock_.Now() - start_).count();
    std::string line;
    char head[48];
    std::snprintf(head, sizeof head, "%.6f %s", seconds, what);
    line = head;
    for (const std::uint8_t b : bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", b);
        line += hex;
    }
    if (!note.empty())
        line += " " + note;
    line += '\n';
    out_->Add(line);
}

SerialPortFactory TracingFactory(SerialPortFactory inner, const std::string& path, const Clock& clock, std::string& error)
{
    auto out = std::make_shared<TraceFile>(path, clock);
    if (const std::string problem = out->Check(); !problem.empty()) {
        error = "cannot write " + path + ": " + problem;
        return {};
    }
    return [inner = std::move(inner), out, &clock] {
        return std::unique_ptr<SerialPort>(std::make_unique<TraceSerialPort>(inner(), out, clock));
    };
}
