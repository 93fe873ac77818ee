#pragma once
// The link object: it alone owns the serial port, and every exchange with the radio goes
// through its blocking primitives. (The name is kept from the hidden window that hosted the
// serial control; here it is a plain class without any window.)
//
// All primitives write, sleep for fixed intervals on the Clock given at construction, poll the
// receive buffer and return a numeric result code (LinkResult). They are not reentrant: one
// thread at a time. The port object is created by the factory in OpenPort, on the calling
// thread, and destroyed in ClosePort, so a Qt port lives on the thread that uses it.
//
// Replies are untrusted: every length, count and index taken from a reply is bounded before it
// is used, and a missing reply never blocks longer than the tries of its read allow.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "link/Clock.h"
#include "link/Frames.h"
#include "link/SerialPort.h"

namespace LinkResult {
inline constexpr int Ok = 0;                  // success
inline constexpr int Negative = 1;            // no such record, password-protected, rejected, no acknowledgement
inline constexpr int NoAnswer = 0x100;        // 256: no answer to wake or identify (also: service count 0)
inline constexpr int ServiceCrcError = 0x120; // 288: CRC mismatch (or short data) of a service "read"
inline constexpr int BadReply = 0x201;        // 513: programming reply missing, short, wrong prefix or not acknowledged
inline constexpr int ServiceDataError = 0x202;// 514: service data short or with a CRC mismatch
inline constexpr int PasswordError = 0x400;   // 1024: password required or rejected; service pair not acknowledged
// 515: replies came, but cut short, foreign or failing their check byte, also when asked again:
// the cable, its connector or interference spoils them.
inline constexpr int DamagedReply = 0x203;
// 516: the replies trickle in byte by byte, too slowly for the session to finish (TooSlow()).
inline constexpr int TooSlow = 0x204;
}  // namespace LinkResult

class CDialog_MSComm {
public:
    // Poll interval of ReadReply, pause after a programming request, pause ending SendPair.
    static constexpr int kPollMs = 90;
    static constexpr int kRequestPauseMs = 200;
    static constexpr int kPairPauseMs = 100;
    // The tries of the reads used by the operations.
    static constexpr int kTriesShort = 5;
    static constexpr int kTriesReply = 20;
    static constexpr int kTriesData = 50;
    static constexpr int kTriesAck = 80;
    // A record reply or write acknowledgement that fails its checks is asked for again, up to
    // two more times. Only a record whose replies stay damaged fails the session: a record that
    // came whole on a repeat costs nothing, so a noisy cable slows a session but does not fail
    // it, while a broken one fails at the first record, within three reply times (about 6 s).
    static constexpr int kRecordAttempts = 3;
    // A record reply whose bytes stop coming for this long after it began is taken as cut (at
    // 38400 baud the rest would follow within milliseconds), and asked for again at once.
    static constexpr Clock::Duration kStalledReply = std::chrono::milliseconds(300);

    CDialog_MSComm(SerialPortFactory factory, Clock& clock);
    ~CDialog_MSComm();
    CDialog_MSComm(const CDialog_MSComm&) = delete;
    CDialog_MSComm& operator=(const CDialog_MSComm&) = delete;

    Clock& clock() { return clock_; }

    // ---- Fast link (off by default) ----
    // For the programming frames of the read and write sessions (the service frames keep their
    // pacing): instead of the fixed waits before polling, a reply is polled at once, every kFastPoll, and
    // completes as soon as the expected length has arrived. The time limits for a radio that
    // stays silent or answers short are the same as without it (the tries times 90 ms, plus the
    // 200 ms pause after a programming request), and so are all checks of the replies. Pauses a
    // radio needs (the one before each analog channel record of a write) stay.
    static constexpr Clock::Duration kFastPoll = std::chrono::milliseconds(1);
    void SetFastLink(bool on) { fastLink_ = on; }
    bool FastLink() const { return fastLink_; }

    // ---- Port ----
    // The device the next OpenPort opens (see PortNames.h for COMn -> device).
    void SetDevice(std::string device) { device_ = std::move(device); }
    const std::string& Device() const { return device_; }
    // Closes an open port, creates a port object, opens the device at 38400 8N1 raw, then reads
    // once and discards whatever is waiting. False when the device could not be opened (the
    // primitives then behave as with a silent radio).
    bool OpenPort();
    // Closes and destroys the port if it is open.
    void ClosePort();
    bool IsPortOpen() const;

    // Receives the session's notes (once per opening of the port at most for each kind), such as
    // a radio whose check bytes follow another rule. May be empty.
    void SetNoteSink(std::function<void(const std::string&)> sink) { noteSink_ = std::move(sink); }
    // Requests repeated because their reply arrived damaged, since the port was opened. Each
    // repeat is also noted on the port (a trace shows it with the reason).
    int Repeats() const { return repeats_; }

    // A radio (or cable) that hands over its replies byte by byte with long gaps: each reply may
    // still make its time limit, but the session's longest reply cannot, so the session would
    // fail there after minutes of slow progress. The session names its longest reply (bytes);
    // from a complete reply the link takes the pace of its bytes (from the first to the last,
    // less one poll), and TooSlow() turns true once kTricklingReplies replies have come at a pace
    // at which the longest one would not arrive within a reply's time limit. A radio that is
    // slow to start a reply but then sends it whole is not affected. 0 (the default) judges none.
    static constexpr int kTricklingReplies = 3;
    static constexpr std::size_t kPaceSampleBytes = 16;
    void SetLongestReply(std::size_t bytes) { longestReply_ = bytes; }
    bool TooSlow() const { return tricklingReplies_ >= kTricklingReplies; }

    // ---- Echo of a one-wire cable ----
    std::uint8_t EchoMode() const { return echoMode_; }
    void SetEchoMode(std::uint8_t mode) { echoMode_ = mode ? 1 : 0; }  // normally set by ProbeEcho only
    std::int32_t EchoPending() const { return echoPending_; }

    // ---- Low-level primitives ----
    // Discards waiting input, writes the bytes as one block; in echo mode adds n to EchoPending.
    std::size_t SendBytes(std::span<const std::uint8_t> data);
    // The same for exactly 5 bytes, then EchoPending = 0 (used by the echo probe).
    void SendFixed5(std::span<const std::uint8_t, 5> data);
    // Polling read of `expected` reply bytes after skipping EchoPending echo bytes; `tries`
    // polls 90 ms apart. Returns `expected` when enough arrived (extra bytes are dropped),
    // otherwise the raw count that arrived (echo included, at most 65535) with what arrived
    // after the echo copied to the start of dest, as far as dest holds. EchoPending becomes 0.
    // dest must hold at least `expected` bytes (a smaller dest is filled only as far as it goes).
    std::uint16_t ReadReply(std::span<std::uint8_t> dest, std::size_t expected, int tries);

    // ---- Programming frames (read and write sessions) ----
    // Session replies are judged on the bytes that arrived, never on the zeros of the buffer: a
    // reply too short for the bytes an operation looks at gives 515 when its marker came, 513
    // otherwise.
    //
    // dest.size() is the record length. The reply counts only when it arrived whole and
    // consistent (see frame::JudgeRecordReply); otherwise it is asked for again, up to two more
    // times. A check byte that differs from the XOR rule is accepted when a repeated request
    // returns exactly the same bytes (a radio with its own rule; noted once), and from then on
    // when it differs by the same amount. A reply accepted either way is then judged alike: FA
    // in place of the block code is "no such record". 0 data copied; 1 no such record (dest
    // untouched); 513 nothing came; 515 the replies stayed damaged.
    int ReadRecord(std::uint8_t code, std::uint8_t index, std::span<std::uint8_t> dest);
    // src.size() is the record length (at most 251). The acknowledgement is judged as the reply of
    // ReadRecord (frame::JudgeWriteAck), with the same repeats. 0; 513; 515.
    int WriteRecord(std::uint8_t code, std::uint8_t index, std::span<const std::uint8_t> src);
    int OpenReadSession();   // 0 open; 1 password-protected; 513
    int OpenWriteSession();  // 0 open; 1 password-protected; 513
    // passwordRecord: 03, 00 read / 01 write, 8 password characters.
    // 0 accepted; 1 rejected; 513; any other answer byte is returned as it is.
    int SubmitPassword(std::span<const std::uint8_t, 10> passwordRecord);
    int BeginWrite();                                       // 0; 513
    int ReadDeviceInfo(std::span<std::uint8_t, 30> dest);   // 0; 513 - the first 30 reply bytes
    int ReadExtraA(std::span<std::uint8_t, 7> dest);        // 0; 513 - reply bytes 11..17
    int ReadExtraB(std::span<std::uint8_t, 3> dest);        // 0; 513 - reply bytes 22, 23, 24
    int WriteExtraB(std::span<const std::uint8_t, 2> value);// 0; 513 - most significant byte first
    int WriteExtraA(std::span<const std::uint8_t, 3> src);  // 0; 513
    int CloseReadSession();   // 0 only for an exact 84 A9 61 00 04 0F FA 00; else 513
    int CloseWriteSession();  // 0; 513

    // ---- Service frames (password dialog, adjustment values) ----
    // Sends "VANTI": EchoMode = 1 when it comes straight back; then the 9-byte tail.
    void ProbeEcho();
    int Wake();  // 0, or 256 after 4 tries
    // The state byte of the radio (00 and 01 give 0), or 256 after 3 tries.
    int Identify();
    // out: 05, state byte, complement of reply bytes 2..17. Returns the state byte or 256 after 4 tries.
    int IdentifyEx(std::span<std::uint8_t, 18> out);
    // As IdentifyEx with the AA byte, then always the 10-byte FF ending. Returns 0 when an
    // answer was received (out filled), else 256 (out untouched): the password dialog must tell
    // a silent radio from a state byte.
    int IdentifyAlt(std::span<std::uint8_t, 18> out);
    // 0 with the announced length, or 1.
    int WaitAck(std::uint16_t& length);
    // Identify (a non-zero result is returned), "key" 81 param, ack, 05, then the announced
    // length of answer bytes (no CRC) into dest, as far as dest holds. 0; 1; 514 when short.
    // `answered`, when given, receives how many answer bytes arrived (at most the announced length).
    int KeyQuery(std::span<const std::uint8_t, 4> param, std::span<std::uint8_t> dest,
                 std::size_t* answered = nullptr);
    // Identify (results other than 0 and 2 are returned), "key" 01 param. 0 acknowledged, else 1.
    int KeySet(std::span<const std::uint8_t, 4> param);
    // Wake, "dbg" 93 param, ack, 05, length + CRC. 0 with the data in dest (as far as it holds);
    // 514 on a CRC mismatch or short data (the first four bytes of dest are cleared first).
    int DebugQuery(std::span<const std::uint8_t, 4> param, std::span<std::uint8_t> dest);
    // Identify (no answer ends it), "dbg" sub param, ack; for sub >= 80: 05 and the data with
    // its CRC into dest. Returns 0 when the exchange ran, else the failing code (callers may
    // ignore it).
    int DebugCommand(std::uint8_t sub, std::span<const std::uint8_t, 4> param, std::span<std::uint8_t> dest);
    // Wake, "read" address count, ack, 05, data + CRC (50 tries). 0 with the data in dest;
    // 288 on CRC mismatch or short data; 256 for a count of 0; failures of Wake / WaitAck.
    int ServiceRead(std::uint16_t address, std::uint16_t count, std::span<std::uint8_t> dest);
    // Wake, "writ" address count, ack, then chunks of 512 bytes (the last one shorter), each
    // with its CRC and acknowledged by 06. The count is data.size() (1..65535; 0 gives 256).
    // 0; 1 when a chunk (or the command) is not acknowledged.
    int ServiceWrite(std::uint16_t address, std::span<const std::uint8_t> data);
    // ServiceWrite to address 00 DB without the Wake.
    int ServiceWriteFixed(std::span<const std::uint8_t> data);
    // The two halves of a 16-byte record, each with its CRC. 0 when the second is acknowledged; else 1024.
    int SendPair(std::span<const std::uint8_t, 16> record);

private:
    // fast: poll every kFastPoll up to the same limit, plus extraMs (a pause that was skipped).
    std::size_t ReadCount(std::span<std::uint8_t> dest, std::size_t expected, int tries, bool fast = false,
                          int extraMs = 0);
    std::size_t ProgrammingExchange(std::span<const std::uint8_t> request, std::span<std::uint8_t> reply,
                                    bool pauseFirst);
    // A session reply: the exchange, then the reply cut to the bytes that arrived.
    std::vector<std::uint8_t> SessionExchange(std::span<const std::uint8_t> request, std::size_t expected,
                                              bool pauseFirst = true);
    // The exchange of ReadRecord / WriteRecord with its repeats; the accepted reply and its
    // check in `accepted` and `check`.
    template <typename Judge>
    int CheckedExchange(std::span<const std::uint8_t> request, std::size_t expected, Judge judge,
                        std::vector<std::uint8_t>& accepted, frame::ReplyCheck& check);
    void JudgePace(std::size_t bytes);
    void NoteRepeat(std::span<const std::uint8_t> request, std::span<const std::uint8_t> reply, std::size_t expected,
                    const frame::ReplyCheck& check, int attempt);
    void Note(const std::string& text);
    bool ReadData(std::uint16_t length, int tries, std::span<std::uint8_t> dest);
    int IdentifyLoop(std::uint8_t request, int attempts, bool resync, std::span<std::uint8_t, 18> reply);
    int ServiceWriteBody(std::uint16_t address, std::span<const std::uint8_t> data, bool wake);
    std::size_t Waiting();
    std::vector<std::uint8_t> Fetch();

    SerialPortFactory factory_;
    Clock& clock_;
    std::unique_ptr<SerialPort> port_;
    std::string device_;
    bool fastLink_ = false;
    std::uint8_t echoMode_ = 0;
    std::int32_t echoPending_ = 0;
    std::size_t lastArrived_ = 0;  // reply bytes (after the echo) that the last read received
    Clock::Duration lastSpread_{};  // how long the last complete reply's bytes took, at least
    std::size_t longestReply_ = 0;
    bool cutStalled_ = false;  // the read under way is a record exchange (see kStalledReply)

    // Per opening of the port.
    int repeats_ = 0;
    int tricklingReplies_ = 0;
    std::optional<std::uint8_t> checkDelta_;  // a radio's own check-byte rule, once confirmed
    bool checkNoted_ = false;
    std::function<void(const std::string&)> noteSink_;
};
