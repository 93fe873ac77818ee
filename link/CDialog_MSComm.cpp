#include "link/CDialog_MSComm.h"

#include <algorithm>
#include <cstdio>
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
    repeats_ = 0;
    tricklingReplies_ = 0;
    checkDelta_.reset();
    checkNoted_ = false;
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

std::size_t CDialog_MSComm::ReadCount(std::span<std::uint8_t> dest, std::size_t expected, int tries, bool fast,
                                      int extraMs)
{
    const auto echo = static_cast<std::size_t>(std::max<std::int32_t>(echoPending_, 0));
    echoPending_ = 0;
    lastArrived_ = 0;
    lastSpread_ = Clock::Duration::zero();
    // When the reply's first byte was seen: how long its bytes took to arrive, at least (less one
    // poll, as the first byte may have come just after the poll before).
    std::optional<Clock::Time> firstSeen;
    const Clock::Duration poll = fast ? kFastPoll : Clock::Duration(std::chrono::milliseconds(kPollMs));
    std::size_t seen = 0;
    Clock::Time changedAt{};
    auto waiting = [&]() {
        const std::size_t n = Waiting();
        if (n > echo && !firstSeen)
            firstSeen = clock_.Now();
        if (n != seen)
            seen = n, changedAt = clock_.Now();
        return n;
    };
    // A record reply that began and then fell silent is cut: it is asked for again at once
    // rather than after the rest of its time limit.
    auto stalled = [&]() { return cutStalled_ && firstSeen && clock_.Now() - changedAt >= kStalledReply; };
    auto complete = [&]() {
        if (firstSeen)
            lastSpread_ = std::max(Clock::Duration::zero(), clock_.Now() - *firstSeen - poll);
        const Bytes received = Fetch();
        if (received.size() > echo) {
            const std::size_t n = std::min(expected, received.size() - echo);
            CopyBounded(std::span(received).subspan(echo, n), dest);
            lastArrived_ = std::min(n, dest.size());
        }
        return expected;  // bytes beyond the expected ones are dropped
    };
    if (fast) {
        // The same time limit, but the reply counts the moment it is whole.
        const Clock::Time deadline =
            clock_.Now() + std::chrono::milliseconds(static_cast<long long>(std::max(tries, 0)) * kPollMs + extraMs);
        while (true) {
            if (waiting() >= echo + expected)
                return complete();
            if (clock_.Now() >= deadline || stalled())
                break;
            clock_.Sleep(kFastPoll);
        }
    } else {
        for (; tries > 0 && !stalled(); --tries) {
            if (waiting() >= echo + expected)
                return complete();
            clock_.SleepMs(kPollMs);
        }
    }
    if (Waiting() == 0)
        return 0;
    const Bytes received = Fetch();
    if (received.size() > echo) {
        CopyBounded(std::span(received).subspan(echo), dest);
        lastArrived_ = std::min(received.size() - echo, dest.size());
    }
    return received.size();
}

// ---------------------------------------------------------------- programming frames

std::size_t CDialog_MSComm::ProgrammingExchange(std::span<const std::uint8_t> request, std::span<std::uint8_t> reply,
                                                bool pauseFirst)
{
    std::fill(reply.begin(), reply.end(), 0);
    SendBytes(request);
    if (pauseFirst && !fastLink_)
        clock_.SleepMs(kRequestPauseMs);
    // The fast link polls at once; the pause it skips stays part of the time limit.
    const std::size_t count =
        ReadCount(reply, reply.size(), kTriesReply, fastLink_, pauseFirst && fastLink_ ? kRequestPauseMs : 0);
    JudgePace(reply.size());
    return count;
}

void CDialog_MSComm::JudgePace(std::size_t bytes)
{
    // Too few bytes to tell a pace from the poll interval; no session reply to compare with.
    if (longestReply_ == 0 || bytes < kPaceSampleBytes || lastArrived_ < bytes)
        return;
    const Clock::Duration perByte = lastSpread_ / static_cast<long long>(bytes - 1);
    if (perByte * static_cast<long long>(longestReply_ - 1) > std::chrono::milliseconds(kTriesReply * kPollMs))
        ++tricklingReplies_;
}

std::vector<std::uint8_t> CDialog_MSComm::SessionExchange(std::span<const std::uint8_t> request, std::size_t expected,
                                                          bool pauseFirst)
{
    Bytes reply(expected);
    ProgrammingExchange(request, reply, pauseFirst);
    reply.resize(lastArrived_);
    return reply;
}

namespace {

// A session reply lacking bytes that its operation looks at: cut (515) when its marker came,
// otherwise no answer or not a programming reply (513).
int Missing(std::span<const std::uint8_t> reply)
{
    return PrefixOk(reply) ? LinkResult::DamagedReply : LinkResult::BadReply;
}

}  // namespace

void CDialog_MSComm::Note(const std::string& text)
{
    if (noteSink_)
        noteSink_(text);
}

template <typename Judge>
int CDialog_MSComm::CheckedExchange(std::span<const std::uint8_t> request, std::size_t expected, Judge judge,
                                    std::vector<std::uint8_t>& accepted, frame::ReplyCheck& check)
{
    std::optional<Bytes> mismatched;  // the previous reply, when only its check byte was wrong
    for (int attempt = 0; attempt < kRecordAttempts; ++attempt) {
        Bytes reply(expected);
        cutStalled_ = true;
        const std::size_t count = ProgrammingExchange(request, reply, true);
        cutStalled_ = false;
        reply.resize(lastArrived_);
        if (reply.empty())
            return LinkResult::BadReply;  // a silent radio is not asked again
        check = judge(std::span<const std::uint8_t>(reply), count);
        bool accept = check.verdict == frame::Verdict::Good;
        if (check.verdict == frame::Verdict::CheckMismatch) {
            if (checkDelta_ == check.checkDelta) {
                accept = true;  // this radio's own rule, confirmed earlier in the session
            } else if (mismatched && *mismatched == reply) {
                // The same bytes twice: stable content, so not noise but a radio whose check
                // byte follows another rule.
                accept = true;
                checkDelta_ = check.checkDelta;
                --repeats_;  // the repeat proved the reply sound: it was not damaged
                if (!checkNoted_) {
                    checkNoted_ = true;
                    Note("the radio's check bytes do not follow the XOR rule; its replies are accepted because "
                         "repeated requests returned identical bytes");
                }
            } else {
                mismatched = reply;
            }
        } else {
            mismatched.reset();
        }
        if (accept) {
            accepted = std::move(reply);
            return LinkResult::Ok;
        }
        if (attempt + 1 < kRecordAttempts)
            NoteRepeat(request, reply, expected, check, attempt + 1);
    }
    return LinkResult::DamagedReply;
}

void CDialog_MSComm::NoteRepeat(std::span<const std::uint8_t> request, std::span<const std::uint8_t> reply,
                                std::size_t expected, const frame::ReplyCheck& check, int attempt)
{
    ++repeats_;
    if (!IsPortOpen())
        return;
    char what[96];
    if (reply.size() < expected && check.verdict == frame::Verdict::Damaged)
        std::snprintf(what, sizeof what, "cut short (%zu of %zu bytes)", reply.size(), expected);
    else
        std::snprintf(what, sizeof what, "%s", check.verdict == frame::Verdict::CheckMismatch
                                                   ? "its check byte does not match"
                                                   : "not the reply asked for");
    char line[192];
    std::snprintf(line, sizeof line, "repeat %d of %d for %s %02X %u: the reply was %s", attempt,
                  kRecordAttempts - 1, request[frame::kDirectionAt] == frame::kRead ? "read" : "write",
                  request[frame::kCodeAt], request[frame::kIndexAt], what);
    port_->Note(line);
}

int CDialog_MSComm::ReadRecord(std::uint8_t code, std::uint8_t index, std::span<std::uint8_t> dest)
{
    Bytes reply;
    frame::ReplyCheck check;
    const std::size_t length = dest.size();
    const int result = CheckedExchange(
        frame::ReadRecord(code, index), length + frame::kOverheadBytes,
        [&](std::span<const std::uint8_t> arrived, std::size_t) { return frame::JudgeRecordReply(arrived, code, index, length); },
        reply, check);
    if (result != LinkResult::Ok)
        return result;
    if (check.noRecord)
        return LinkResult::Negative;  // no record at this index: dest stays as it was
    if (reply.size() < frame::kPayloadAt + length)
        return LinkResult::DamagedReply;  // cannot be: an accepted record reply is whole
    std::copy_n(reply.begin() + frame::kPayloadAt, length, dest.begin());
    return LinkResult::Ok;
}

int CDialog_MSComm::WriteRecord(std::uint8_t code, std::uint8_t index, std::span<const std::uint8_t> src)
{
    if (src.size() > frame::kMaxPayload)
        return LinkResult::BadReply;  // cannot be framed; nothing is sent
    Bytes reply;
    frame::ReplyCheck check;
    return CheckedExchange(
        frame::WriteRecord(code, index, src), frame::kOverheadBytes,
        [](std::span<const std::uint8_t> arrived, std::size_t count) {
            // More than 11 bytes counted (an echo that was not expected) is no acknowledgement.
            return count <= 11 ? frame::JudgeWriteAck(arrived) : frame::ReplyCheck{};
        },
        reply, check);
}

int CDialog_MSComm::OpenReadSession()
{
    const Bytes reply = SessionExchange(frame::OpenReadSession(), 10);
    if (!PrefixOk(reply) || reply.size() <= frame::kIndexAt)
        return Missing(reply);
    switch (reply[frame::kIndexAt]) {
    case 0x00: return LinkResult::Ok;
    case 0x04: return LinkResult::Negative;  // password-protected
    default: return LinkResult::BadReply;
    }
}

int CDialog_MSComm::OpenWriteSession()
{
    if (const Bytes first = SessionExchange(frame::OpenWriteSessionStep1(), 12); !PrefixOk(first))
        return Missing(first);
    if (const Bytes second = SessionExchange(frame::OpenWriteSessionStep2(), 30, false); !PrefixOk(second))
        return Missing(second);
    const Bytes third = SessionExchange(frame::OpenWriteSessionStep3(), 10, false);
    if (!PrefixOk(third) || third.size() <= frame::kIndexAt)
        return Missing(third);
    switch (third[frame::kIndexAt]) {
    case 0x00: return LinkResult::Ok;
    case 0x05: return LinkResult::Negative;  // password-protected
    default: return LinkResult::BadReply;
    }
}

int CDialog_MSComm::SubmitPassword(std::span<const std::uint8_t, 10> passwordRecord)
{
    const Bytes reply = SessionExchange(frame::SubmitPassword(passwordRecord), 10);
    if (!PrefixOk(reply) || reply.size() <= frame::kIndexAt)
        return Missing(reply);
    if (reply[frame::kCodeAt] != frame::kAcknowledge)
        return LinkResult::BadReply;
    const std::uint8_t answer = reply[frame::kIndexAt];
    if (answer == 0x06 || answer == 0x07)
        return LinkResult::Negative;
    return answer;  // 0 accepted; other values are passed on as they are
}

int CDialog_MSComm::BeginWrite()
{
    const Bytes reply = SessionExchange(frame::BeginWrite(), 10);
    if (!PrefixOk(reply) || reply.size() <= frame::kCodeAt)
        return Missing(reply);
    const bool ok = reply[frame::kDirectionAt] == frame::kWrite && reply[frame::kCodeAt] == frame::kAcknowledge;
    return ok ? LinkResult::Ok : LinkResult::BadReply;
}

int CDialog_MSComm::ReadDeviceInfo(std::span<std::uint8_t, 30> dest)
{
    const Bytes reply = SessionExchange(frame::ReadDeviceInfo(), 32);
    if (!PrefixOk(reply))
        return Missing(reply);
    std::fill(dest.begin(), dest.end(), 0);
    CopyBounded(reply, dest);
    return LinkResult::Ok;
}

int CDialog_MSComm::ReadExtraA(std::span<std::uint8_t, 7> dest)
{
    constexpr std::size_t kFrom = 11;
    const Bytes reply = SessionExchange(frame::ReadExtraA(), 20);
    if (!PrefixOk(reply) || reply.size() < kFrom + dest.size())
        return Missing(reply);
    std::copy_n(reply.begin() + kFrom, dest.size(), dest.begin());
    return LinkResult::Ok;
}

int CDialog_MSComm::ReadExtraB(std::span<std::uint8_t, 3> dest)
{
    constexpr std::size_t kFrom = 22;
    const Bytes reply = SessionExchange(frame::ReadExtraB(), 50);
    if (!PrefixOk(reply) || reply.size() < kFrom + dest.size())
        return Missing(reply);
    std::copy_n(reply.begin() + kFrom, dest.size(), dest.begin());
    return LinkResult::Ok;
}

int CDialog_MSComm::WriteExtraB(std::span<const std::uint8_t, 2> value)
{
    const Bytes reply = SessionExchange(frame::WriteExtraB(value), 10);
    return PrefixOk(reply) ? LinkResult::Ok : Missing(reply);
}

int CDialog_MSComm::WriteExtraA(std::span<const std::uint8_t, 3> src)
{
    const Bytes reply = SessionExchange(frame::WriteExtraA(src), 10);
    return PrefixOk(reply) ? LinkResult::Ok : Missing(reply);
}

int CDialog_MSComm::CloseReadSession()
{
    static constexpr std::array<std::uint8_t, 8> kClosed = {0x84, 0xA9, 0x61, 0x00, 0x04, 0x0F, 0xFA, 0x00};
    const Bytes reply = SessionExchange(frame::CloseReadSession(), 10);
    if (reply.size() < kClosed.size())
        return Missing(reply);
    return std::equal(kClosed.begin(), kClosed.end(), reply.begin()) ? LinkResult::Ok : LinkResult::BadReply;
}

int CDialog_MSComm::CloseWriteSession()
{
    const Bytes reply = SessionExchange(frame::CloseWriteSession(), 10);
    if (!PrefixOk(reply) || reply.size() <= frame::kCodeAt)
        return Missing(reply);
    return reply[frame::kCodeAt] == frame::kAcknowledge ? LinkResult::Ok : LinkResult::BadReply;
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
