#include "link/TraceSerialPort.h"

#include <cerrno>
#include <cstring>

TraceSerialPort::TraceSerialPort(std::unique_ptr<SerialPort> port, std::shared_ptr<std::FILE> out, const Clock& clock)
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
    std::fwrite(line.data(), 1, line.size(), out_.get());
    std::fflush(out_.get());
}

SerialPortFactory TracingFactory(SerialPortFactory inner, const std::string& path, const Clock& clock, std::string& error)
{
    std::FILE* file = std::fopen(path.c_str(), "a");
    if (file == nullptr) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return {};
    }
    std::shared_ptr<std::FILE> out(file, [](std::FILE* f) { std::fclose(f); });
    return [inner = std::move(inner), out, &clock] {
        return std::unique_ptr<SerialPort>(std::make_unique<TraceSerialPort>(inner(), out, clock));
    };
}
