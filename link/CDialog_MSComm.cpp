#include "link/CDialog_MSComm.h"

#include <algorithm>
#include <limits>

#include "link/Frames.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

bool PrefixOk(std::span<const std::uint8_t> reply)
{
    return reply.size() >= frame::kPrefixChecked &&
           std::equal(frame::kMarker.begin(), frame::kMarker.begin() + frame::kPrefixChecked, reply.begin());
}

// Copies as much of `from` as fits into `to`.
void CopyBounded(std::span<const std::uint8_t> from, std::span<std::uint8_t> to)
{
    std::copy_n(from.begin(), std::min(from.size(), to.size()), to.begin());
}

constexpr std::size_t kMaxCount = std::numeric_limits<std::uint16_t>::max();

}  // namespace

CDialog_MSComm::CDialog_MSComm(SerialPortFactory factory, Clock& clock)
    : factory_(std::move(factory)), clock_(clock)
{
}

CDialog_MSComm::~CDialog_MSComm() { ClosePort(); }

// ---------------------------------------------------------------- port

bool CDialog_MSComm::OpenPort()
{
    ClosePort();
    if (!factory_)
        return false;
    port_ = factory_();
    if (!port_)
        return false;
    if (!port_->Open(device_)) {
        port_.reset();
        return false;
    }
    port_->ReadAll();  // whatever was waiting belongs to nobody
    return true;
}

void CDialog_MSComm::ClosePort()
{
    if (port_) {
        if (port_->IsOpen())
            port_->Close();
        port_.reset();
    }
}

bool CDialog_MSComm::IsPortOpen() const { return port_ && port_->IsOpen(); }

std::size_t CDialog_MSComm::Waiting()
{
    if (!IsPortOpen())
        return 0;
    return std::min(port_->BytesWaiting(), kMaxCount);  // the count is a 16-bit number
}

std::vector<std::uint8_t> CDialog_MSComm::Fetch()
{
    if (!IsPortOpen())
        return {};
    return port_->ReadAll();
}

// ---------------------------------------------------------------- primitives

std::size_t CDialog_MSComm::SendBytes(std::span<const std::uint8_t> data)
{
    if (!IsPortOpen())
        return 0;
    port_->ReadAll();
    if (!port_->Write(data))
        return 0;
    if (echoMode_ == 1) {
        const auto room = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max() - echoPending_);
        echoPending_ += static_cast<std::int32_t>(std::min(data.size(), room));
    }
    return data.size();
}

void CDialog_MSComm::SendFixed5(std::span<const std::uint8_t, 5> data)
{
    if (IsPortOpen()) {
        port_->ReadAll();
        port_->Write(data);
    }
    echoPending_ = 0;
}

std::uint16_t CDialog_MSComm::ReadReply(std::span<std::uint8_t> dest, std::size_t expected, int tries)
{
    return static_cast<std::uint16_t>(std::min(ReadCount(dest, expected, tries), kMaxCount));
}

std::size_t CDialog_MSComm::ReadCount(std::span<std::uint8_t> dest, std::size_t expected, int tries)
{
    const auto echo = static_cast<std::size_t>(std::max<std::int32_t>(echoPending_, 0));
    echoPending_ = 0;
    for (; tries > 0; --tries) {
        if (Waiting() >= echo + expected) {
            const Bytes received = Fetch();
            if (received.size() > echo) {
                const std::size_t n = std::min(expected, received.size() - echo);
                CopyBounded(std::span(received).subspan(echo, n), dest);
            }
            return expected;  // bytes beyond the expected ones are dropped
        }
        clock_.SleepMs(kPollMs);
    }
    if (Waiting() == 0)
        return 0;
    const Bytes received = Fetch();
    if (received.size() > echo)
        CopyBounded(std::span(received).subspan(echo), dest);
    return received.size();
}

// ---------------------------------------------------------------- programming frames

std::size_t CDialog_MSComm::ProgrammingExchange(std::span<const std::uint8_t> request, std::span<std::uint8_t> reply,
                                                bool pauseFirst)
{
    std::fill(reply.begin(), reply.end(), 0);
    SendBytes(request);
    if (pauseFirst)
        clock_.SleepMs(kRequestPauseMs);
    return ReadCount(reply, reply.size(), kTriesReply);
}

int CDialog_MSComm::ReadRecord(std::uint8_t code, std::uint8_t index, std::span<std::uint8_t> dest)
{
    Bytes reply(dest.size() + frame::kOverheadBytes);
    ProgrammingExchange(frame::ReadRecord(code, index), reply, true);
    if (!PrefixOk(reply))
        return LinkResult::BadReply;
    if (reply[frame::kCodeAt] == frame::kAcknowledge)
        return LinkResult::Negative;  // no record at this index: dest stays as it was
    std::copy_n(reply.begin() + frame::kPayloadAt, dest.size(), dest.begin());
    return LinkResult::Ok;
}

int CDialog_MSComm::WriteRecord(std::uint8_t code, std::uint8_t index, std::span<const std::uint8_t> src)
{
    if (src.size() > frame::kMaxPayload)
        return LinkResult::BadReply;  // cannot be framed; nothing is sent
    Bytes reply(10);
    const std::size_t count = ProgrammingExchange(frame::WriteRecord(code, index, src), reply, true);
    const bool ok = PrefixOk(reply) && reply[frame::kCodeAt] == frame::kAcknowledge && count <= 11;
    return ok ? LinkResult::Ok : LinkResult::BadReply;
}

int CDialog_MSComm::OpenReadSession()
{
    Bytes reply(10);
    ProgrammingExchange(frame::OpenReadSession(), reply, true);
    if (!PrefixOk(reply))
        return LinkResult::BadReply;
    switch (reply[frame::kIndexAt]) {
    case 0x00: return LinkResult::Ok;
    case 0x04: return LinkResult::Negative;  // password-protected
    default: return LinkResult::BadReply;
    }
}

int CDialog_MSComm::OpenWriteSession()
{
    Bytes first(12);
    ProgrammingExchange(frame::OpenWriteSessionStep1(), first, true);
    if (!PrefixOk(first))
        return LinkResult::BadReply;
    Bytes second(30);
    ProgrammingExchange(frame::OpenWriteSessionStep2(), second, false);
    if (!PrefixOk(second))
        return LinkResult::BadReply;
    Bytes third(10);
    ProgrammingExchange(frame::OpenWriteSessionStep3(), third, false);
    if (!PrefixOk(third))
        return LinkResult::BadReply;
    switch (third[frame::kIndexAt]) {
    case 0x00: return LinkResult::Ok;
    case 0x05: return LinkResult::Negative;  // password-protected
    default: return LinkResult::BadReply;
    }
}

int CDialog_MSComm::SubmitPassword(std::span<const std::uint8_t, 10> passwordRecord)
{
    Bytes reply(10);
    ProgrammingExchange(frame::SubmitPassword(passwordRecord), reply, true);
    if (!PrefixOk(reply) || reply[frame::kCodeAt] != frame::kAcknowledge)
        return LinkResult::BadReply;
    const std::uint8_t answer = reply[frame::kIndexAt];
    if (answer == 0x06 || answer == 0x07)
        return LinkResult::Negative;
    return answer;  // 0 accepted; other values are passed on as they are
}

int CDialog_MSComm::BeginWrite()
{
    Bytes reply(10);
    ProgrammingExchange(frame::BeginWrite(), reply, true);
    const bool ok = PrefixOk(reply) && reply[frame::kDirectionAt] == frame::kWrite &&
                    reply[frame::kCodeAt] == frame::kAcknowledge;
    return ok ? LinkResult::Ok : LinkResult::BadReply;
}

int CDialog_MSComm::ReadDeviceInfo(std::span<std::uint8_t, 30> dest)
{
    Bytes reply(32);
    ProgrammingExchange(frame::ReadDeviceInfo(), reply, true);
    if (!PrefixOk(reply))
        return LinkResult::BadReply;
    std::copy_n(reply.begin(), dest.size(), dest.begin());
    return LinkResult::Ok;
}

int CDialog_MSComm::ReadExtraA(std::span<std::uint8_t, 7> dest)
{
    Bytes reply(20);
    ProgrammingExchange(frame::ReadExtraA(), reply, true);
    if (!PrefixOk(reply))
        return LinkResult::BadReply;
    std::copy_n(reply.begin() + 11, 7, dest.begin());
    return LinkResult::Ok;
}

int CDialog_MSComm::ReadExtraB(std::span<std::uint8_t, 3> dest)
{
    Bytes reply(50);
    ProgrammingExchange(frame::ReadExtraB(), reply, true);
    if (!PrefixOk(reply))
        return LinkResult::BadReply;
    std::copy_n(reply.begin() + 22, 3, dest.begin());
    return LinkResult::Ok;
}

int CDialog_MSComm::WriteExtraB(std::span<const std::uint8_t, 2> value)
{
    Bytes reply(10);
    ProgrammingExchange(frame::WriteExtraB(value), reply, true);
    return PrefixOk(reply) ? LinkResult::Ok : LinkResult::BadReply;
}

int CDialog_MSComm::WriteExtraA(std::span<const std::uint8_t, 3> src)
{
    Bytes reply(10);
    ProgrammingExchange(frame::WriteExtraA(src), reply, true);
    return PrefixOk(reply) ? LinkResult::Ok : LinkResult::BadReply;
}

int CDialog_MSComm::CloseReadSession()
{
    static constexpr std::array<std::uint8_t, 8> kClosed = {0x84, 0xA9, 0x61, 0x00, 0x04, 0x0F, 0xFA, 0x00};
    Bytes reply(10);
    ProgrammingExchange(frame::CloseReadSession(), reply, true);
    return std::equal(kClosed.begin(), kClosed.end(), reply.begin()) ? LinkResult::Ok : LinkResult::BadReply;
}

int CDialog_MSComm::CloseWriteSession()
{
    Bytes reply(10);
    ProgrammingExchange(frame::CloseWriteSession(), reply, true);
    const bool ok = PrefixOk(reply) && reply[frame::kCodeAt] == frame::kAcknowledge;
    return ok ? LinkResult::Ok : LinkResult::BadReply;
}

// ---------------------------------------------------------------- service frames

namespace {
Bytes One(std::uint8_t b) { return Bytes{b}; }
}  // namespace

void CDialog_MSComm::ProbeEcho()
{
    SendFixed5(frame::kEchoProbe);
    std::array<std::uint8_t, 5> back{};
    const std::size_t n = ReadCount(back, back.size(), kTriesReply);
    echoMode_ = (n >= back.size() && back == frame::kEchoProbe) ? 1 : 0;
    SendBytes(frame::kProbeTail);
    std::array<std::uint8_t, 9> discard{};
    ReadCount(discard, discard.size(), kTriesShort);
}

int CDialog_MSComm::Wake()
{
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::array<std::uint8_t, 1> reply{};
        SendBytes(One(frame::kWake));
        const std::size_t n = ReadCount(reply, 1, kTriesReply);
        if (n >= 1 && reply[0] == frame::kReady)
            return LinkResult::Ok;
    }
    return LinkResult::NoAnswer;
}

int CDialog_MSComm::Identify()
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::array<std::uint8_t, frame::kIdentifyReplyBytes> reply{};
        SendBytes(One(frame::kIdentify));
        const std::size_t n = ReadCount(reply, reply.size(), kTriesReply);
        if (n >= reply.size() && reply[0] == frame::kReady)
            return reply[1] <= 1 ? LinkResult::Ok : reply[1];
    }
    return LinkResult::NoAnswer;
}

int CDialog_MSComm::IdentifyLoop(std::uint8_t request, int attempts, bool resync, std::span<std::uint8_t, 18> out)
{
    for (int attempt = 0; attempt < attempts; ++attempt) {
        std::array<std::uint8_t, frame::kIdentifyReplyBytes> reply{};
        SendBytes(One(request));
        const std::size_t n = ReadCount(reply, reply.size(), kTriesReply);
        if (n >= reply.size() && reply[0] == frame::kReady) {
            out[0] = frame::kReady;
            out[1] = reply[1];
            for (std::size_t i = 2; i < reply.size(); ++i)
                out[i] = static_cast<std::uint8_t>(~reply[i]);
            return reply[1];
        }
        if (resync) {
            SendBytes(frame::kIdentifyResync);
            std::array<std::uint8_t, 9> discard{};
            ReadCount(discard, discard.size(), kTriesReply);
        }
    }
    return LinkResult::NoAnswer;
}

int CDialog_MSComm::IdentifyEx(std::span<std::uint8_t, 18> out)
{
    return IdentifyLoop(frame::kIdentify, 4, true, out);
}

int CDialog_MSComm::IdentifyAlt(std::span<std::uint8_t, 18> out)
{
    const int state = IdentifyLoop(frame::kIdentifyAlt, 4, false, out);
    SendBytes(frame::kIdentifyAltEnd);
    std::array<std::uint8_t, 4> discard{};
    ReadCount(discard, discard.size(), kTriesReply);
    return state == LinkResult::NoAnswer ? LinkResult::NoAnswer : LinkResult::Ok;
}

int CDialog_MSComm::WaitAck(std::uint16_t& length)
{
    std::array<std::uint8_t, frame::kAckBytes> reply{};
    const std::size_t n = ReadCount(reply, reply.size(), kTriesAck);
    if (n < reply.size() || reply[0] != frame::kAck)
        return LinkResult::Negative;
    length = static_cast<std::uint16_t>(reply[1] << 8 | reply[2]);
    return LinkResult::Ok;
}

int CDialog_MSComm::KeyQuery(std::span<const std::uint8_t, 4> param, std::span<std::uint8_t> dest,
                             std::size_t* answered)
{
    if (answered)
        *answered = 0;
    if (const int state = Identify(); state != LinkResult::Ok)
        return state;
    SendBytes(frame::KeyCommand(frame::kKeyQuery, param));
    std::uint16_t length = 0;
    if (WaitAck(length) != LinkResult::Ok)
        return LinkResult::Negative;
    SendBytes(One(frame::kSendData));
    Bytes data(length);
    const std::size_t n = ReadCount(data, data.size(), kTriesReply);
    CopyBounded(std::span(data).first(std::min<std::size_t>(n, length)), dest);
    if (answered)
        *answered = std::min<std::size_t>(n, length);
    return n < length ? LinkResult::ServiceDataError : LinkResult::Ok;
}

int CDialog_MSComm::KeySet(std::span<const std::uint8_t, 4> param)
{
    if (const int state = Identify(); state != LinkResult::Ok && state != 2)
        return state;
    SendBytes(frame::KeyCommand(frame::kKeySet, param));
    std::array<std::uint8_t, frame::kAckBytes> reply{};
    const std::size_t n = ReadCount(reply, reply.size(), kTriesAck);
    return (n >= reply.size() && reply[0] == frame::kAck) ? LinkResult::Ok : LinkResult::Negative;
}

// Reads `length` data bytes and their CRC after the host's 05. False when short or the CRC differs.
bool CDialog_MSComm::ReadData(std::uint16_t length, int tries, std::span<std::uint8_t> dest)
{
    SendBytes(One(frame::kSendData));
    Bytes data(static_cast<std::size_t>(length) + frame::kCrcBytes);
    const std::size_t n = ReadCount(data, data.size(), tries);
    if (n < data.size() || !frame::CrcMatches(data))
        return false;
    CopyBounded(std::span(data).first(length), dest);
    return true;
}

namespace {
void ClearFirstFour(std::span<std::uint8_t> dest) { std::fill_n(dest.begin(), std::min<std::size_t>(4, dest.size()), 0); }
}  // namespace

int CDialog_MSComm::DebugQuery(std::span<const std::uint8_t, 4> param, std::span<std::uint8_t> dest)
{
    if (const int r = Wake(); r != LinkResult::Ok)
        return r;
    SendBytes(frame::DebugCommand(frame::kDebugQuery, param));
    std::uint16_t length = 0;
    if (WaitAck(length) != LinkResult::Ok)
        return LinkResult::Negative;
    ClearFirstFour(dest);
    return ReadData(length, kTriesReply, dest) ? LinkResult::Ok : LinkResult::ServiceDataError;
}

int CDialog_MSComm::DebugCommand(std::uint8_t sub, std::span<const std::uint8_t, 4> param, std::span<std::uint8_t> dest)
{
    if (Identify() == LinkResult::NoAnswer)
        return LinkResult::NoAnswer;
    SendBytes(frame::DebugCommand(sub, param));
    std::uint16_t length = 0;
    if (WaitAck(length) != LinkResult::Ok)
        return LinkResult::Negative;
    if (sub < 0x80)
        return LinkResult::Ok;
    ClearFirstFour(dest);
    return ReadData(length, kTriesReply, dest) ? LinkResult::Ok : LinkResult::ServiceDataError;
}

int CDialog_MSComm::ServiceRead(std::uint16_t address, std::uint16_t count, std::span<std::uint8_t> dest)
{
    if (count == 0)
        return LinkResult::NoAnswer;
    if (const int r = Wake(); r != LinkResult::Ok)
        return r;
    SendBytes(frame::ReadCommand(address, count));
    std::uint16_t length = 0;
    if (WaitAck(length) != LinkResult::Ok)
        return LinkResult::Negative;
    return ReadData(length, kTriesData, dest.first(std::min<std::size_t>(dest.size(), count)))
               ? LinkResult::Ok
               : LinkResult::ServiceCrcError;
}

int CDialog_MSComm::ServiceWriteBody(std::uint16_t address, std::span<const std::uint8_t> data, bool wake)
{
    if (data.empty() || data.size() > kMaxCount)
        return LinkResult::NoAnswer;
    if (wake) {
        if (const int r = Wake(); r != LinkResult::Ok)
            return r;
    }
    SendBytes(frame::WriteCommand(address, static_cast<std::uint16_t>(data.size())));
    std::uint16_t length = 0;
    if (WaitAck(length) != LinkResult::Ok)
        return LinkResult::Negative;
    for (std::size_t offset = 0; offset < data.size(); offset += frame::kWriteChunk) {
        const std::size_t n = std::min(frame::kWriteChunk, data.size() - offset);
        SendBytes(frame::WithCrc(data.subspan(offset, n)));
        std::array<std::uint8_t, frame::kAckBytes> reply{};
        const std::size_t got = ReadCount(reply, reply.size(), kTriesAck);
        if (got < reply.size() || reply[0] != frame::kAck)
            return LinkResult::Negative;
    }
    return LinkResult::Ok;
}

int CDialog_MSComm::ServiceWrite(std::uint16_t address, std::span<const std::uint8_t> data)
{
    return ServiceWriteBody(address, data, true);
}

int CDialog_MSComm::ServiceWriteFixed(std::span<const std::uint8_t> data)
{
    return ServiceWriteBody(frame::kFixedWriteAddress, data, false);
}

int CDialog_MSComm::SendPair(std::span<const std::uint8_t, 16> record)
{
    std::array<std::uint8_t, frame::kAckBytes> reply{};
    SendBytes(frame::WithCrc(record.first(8)));
    ReadCount(reply, reply.size(), kTriesReply);
    reply.fill(0);
    SendBytes(frame::WithCrc(record.last(8)));
    const std::size_t n = ReadCount(reply, reply.size(), kTriesReply);
    clock_.SleepMs(kPairPauseMs);
    return (n >= reply.size() && reply[0] == frame::kAck) ? LinkResult::Ok : LinkResult::PasswordError;
}
