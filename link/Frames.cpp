#include "link/Frames.h"

#include <stdexcept>

namespace frame {

std::uint8_t XorOf(std::span<const std::uint8_t> bytes)
{
    std::uint8_t x = 0;
    for (std::uint8_t b : bytes)
        x ^= b;
    return x;
}

namespace {
bool MarkerArrived(std::span<const std::uint8_t> f)
{
    return f.size() >= kPrefixChecked && f[0] == kMarker[0] && f[1] == kMarker[1] && f[2] == kMarker[2];
}

// The frame fills exactly the bytes that arrived: L, terminator and check byte agree with them.
ReplyCheck JudgeFrameEnd(std::span<const std::uint8_t> f)
{
    if (f.size() < kOverheadBytes || f[kLengthAt] != f.size() - 6 || f[f.size() - 2] != kTerminator)
        return {Verdict::Damaged};
    const std::uint8_t computed = XorOf(f.subspan(kLengthAt, f.size() - 1 - kLengthAt));
    if (f.back() != computed)
        return {Verdict::CheckMismatch, static_cast<std::uint8_t>(f.back() ^ computed)};
    return {Verdict::Good};
}
}  // namespace

ReplyCheck JudgeRecordReply(std::span<const std::uint8_t> f, std::uint8_t code, std::uint8_t index,
                            std::size_t length)
{
    if (!MarkerArrived(f) || f.size() <= kCodeAt)
        return {Verdict::Damaged};
    if (f[kCodeAt] == kAcknowledge) {
        ReplyCheck end = JudgeFrameEnd(f);
        end.noRecord = end.verdict != Verdict::Damaged;
        return end;
    }
    if (f.size() != length + kOverheadBytes || f[kCodeAt] != code || f[kIndexAt] != index)
        return {Verdict::Damaged};
    return JudgeFrameEnd(f);
}

ReplyCheck JudgeWriteAck(std::span<const std::uint8_t> f)
{
    if (!MarkerArrived(f) || f.size() != kOverheadBytes || f[kCodeAt] != kAcknowledge)
        return {Verdict::Damaged};
    return JudgeFrameEnd(f);
}

Bytes Programming(std::uint8_t direction, std::uint8_t code, std::uint8_t index,
                  std::span<const std::uint8_t> payload)
{
    if (payload.size() > kMaxPayload)
        throw std::length_error("programming frame payload too long");
    Bytes f(kMarker.begin(), kMarker.end());
    f.push_back(static_cast<std::uint8_t>(payload.size() + 4));  // direction, A, V, payload, terminator
    f.push_back(direction);
    f.push_back(code);
    f.push_back(index);
    f.insert(f.end(), payload.begin(), payload.end());
    f.push_back(kTerminator);
    f.push_back(XorOf(std::span(f).subspan(kLengthAt)));
    return f;
}

Bytes Extended(std::uint8_t length, std::uint8_t direction, std::uint8_t v, std::span<const std::uint8_t> body)
{
    Bytes f(kMarker.begin(), kMarker.end());
    f.push_back(length);
    f.push_back(direction);
    f.push_back(kExtendedCode);
    f.push_back(v);
    f.insert(f.end(), body.begin(), body.end());
    return f;
}

Bytes ReadRecord(std::uint8_t code, std::uint8_t index) { return Programming(kRead, code, index); }

Bytes WriteRecord(std::uint8_t code, std::uint8_t index, std::span<const std::uint8_t> record)
{
    return Programming(kWrite, code, index, record);
}

namespace {
// Session commands: direction "write", A = FF, V = 00 and a short payload.
Bytes Session(std::initializer_list<std::uint8_t> payload)
{
    const Bytes p(payload);
    return Programming(kWrite, kSessionCode, 0x00, p);
}
Bytes Body(std::initializer_list<std::uint8_t> bytes) { return Bytes(bytes); }
// Sub-commands of the extended frames, sent after V = F4.
constexpr std::uint8_t kExtendedTarget = 0xF4;
constexpr std::uint8_t kExtendedOpen = 0xF3;
}  // namespace

Bytes OpenReadSession() { return Session({0x00, 0x00, 0x00}); }

Bytes OpenWriteSessionStep1() { return Extended(0x04, kWrite, kExtendedOpen, Body({0x28, 0x00})); }

Bytes OpenWriteSessionStep2() { return Extended(0x05, kRead, kExtendedTarget, Body({0xF0, 0x00, 0x00})); }

Bytes OpenWriteSessionStep3()
{
    Bytes f = Session({0x00, 0x04, 0x00});
    f.push_back(0x00);  // the radio expects one more byte after this command
    return f;
}

Bytes SubmitPassword(std::span<const std::uint8_t, 10> passwordRecord)
{
    return Programming(kWrite, kSessionCode, 0x00, passwordRecord);
}

Bytes BeginWrite() { return Session({0x04, 0x04}); }

Bytes ReadDeviceInfo() { return Extended(0x05, kRead, kExtendedTarget, Body({0xFC, 0x00, 0x00})); }

Bytes ReadExtraA() { return Extended(0x05, kRead, kExtendedTarget, Body({0xF7, 0x00, 0x1D})); }

Bytes ReadExtraB()
{
    Bytes f = ReadRecord(0xF9, 0x00);
    f.push_back(0x00);  // as with OpenWriteSessionStep3
    return f;
}

Bytes WriteExtraB(std::span<const std::uint8_t, 2> value)
{
    Bytes body = {0xF9, 0x00, 0x04, value[0], value[1], 0x00, 0x00, 0x00, 0x00, 0x00};
    return Extended(0x07, kWrite, kExtendedTarget, body);
}

Bytes WriteExtraA(std::span<const std::uint8_t, 3> source)
{
    Bytes body = {0xF7, 0x00, 0x1D, source[0], source[1], source[2], 0xFF, 0xFF, 0xFF, 0xFF};
    return Extended(0x0C, kWrite, kExtendedTarget, body);
}

Bytes CloseReadSession() { return Session({0x00, 0x00, 0x01}); }

Bytes CloseWriteSession() { return Session({0x00, 0x04, 0x01}); }

// ---- Service family ----

std::uint16_t Crc16(std::span<const std::uint8_t> bytes)
{
    std::uint16_t crc = 0xFFFF;
    for (std::uint8_t b : bytes) {
        crc ^= b;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : static_cast<std::uint16_t>(crc >> 1);
    }
    return crc;
}

Bytes WithCrc(std::span<const std::uint8_t> bytes)
{
    Bytes f(bytes.begin(), bytes.end());
    const std::uint16_t crc = Crc16(bytes);
    f.push_back(static_cast<std::uint8_t>(crc >> 8));
    f.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    return f;
}

bool CrcMatches(std::span<const std::uint8_t> dataAndCrc)
{
    if (dataAndCrc.size() < kCrcBytes)
        return false;
    const std::size_t n = dataAndCrc.size() - kCrcBytes;
    const std::uint16_t crc = Crc16(dataAndCrc.first(n));
    return dataAndCrc[n] == (crc >> 8) && dataAndCrc[n + 1] == (crc & 0xFF);
}

namespace {
Bytes Command(std::array<std::uint8_t, kCommandBytes> command) { return WithCrc(command); }
}  // namespace

Bytes KeyCommand(std::uint8_t sub, std::span<const std::uint8_t, 4> p)
{
    return Command({'k', 'e', 'y', sub, p[0], p[1], p[2], p[3]});
}

Bytes DebugCommand(std::uint8_t sub, std::span<const std::uint8_t, 4> p)
{
    return Command({'d', 'b', 'g', sub, p[0], p[1], p[2], p[3]});
}

namespace {
Bytes AddressCommand(std::array<std::uint8_t, 4> word, std::uint16_t address, std::uint16_t count)
{
    return Command({word[0], word[1], word[2], word[3], static_cast<std::uint8_t>(address >> 8),
                    static_cast<std::uint8_t>(address & 0xFF), static_cast<std::uint8_t>(count >> 8),
                    static_cast<std::uint8_t>(count & 0xFF)});
}
}  // namespace

Bytes ReadCommand(std::uint16_t address, std::uint16_t count) { return AddressCommand({'r', 'e', 'a', 'd'}, address, count); }

Bytes WriteCommand(std::uint16_t address, std::uint16_t count) { return AddressCommand({'w', 'r', 'i', 't'}, address, count); }

}  // namespace frame
