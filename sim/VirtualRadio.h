#pragma once
// A virtual ZR-740 radio, written from the radio's side of the cable: it parses the bytes it
// receives as the radio would (its own frame parser, its own table of block codes and record
// sizes, its own CRC) and answers them. It keeps its configuration in wire order, as records
// per block code, and records what it received so tests can inspect what a host sent.
//
// Time: every byte it receives carries the time it arrived; a reply is produced at once with
// the time each of its bytes will have arrived at the host (turnaround, then one byte time per
// byte at 38400 baud, plus the fault delays). Transports deliver the bytes at those times: the
// in-memory line (link/MemoryPort.h) against a Clock, the zr740sim program on a pseudo-terminal.
//
// Wiring a test (everything in virtual time, a whole session runs in milliseconds):
//
//     RadioBench bench;                                  // VirtualClock + VirtualRadio + MemoryLine
//     bench.radio.LoadCodeplug(someCodeplug);            // or LoadFile("x.VNTX")
//     CDialog_MSComm link(bench.PortFactory(), bench.clock);
//     link.OpenPort();
//     ... run a session ...
//     Codeplug received; bench.radio.SaveCodeplug(received);   // what the radio now holds
//     bench.radio.Received();                            // every raw byte the host sent
//     bench.radio.Violations();                          // protocol errors the radio saw (expect empty)
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/Codeplug.h"
#include "link/Clock.h"
#include "link/MemoryPort.h"

// Ways to misbehave. All off by default.
struct RadioFaults {
    bool silent = false;              // answer nothing at all (echo of a one-wire cable still comes)
    bool wrongPrefix = false;         // programming replies begin 84 A9 60 instead of 84 A9 61
    int shortReply = -1;              // >= 0: every reply is cut to this many bytes
    int cutAfterRecords = -1;         // >= 0: after this many record replies (reads and writes), fall silent
    std::size_t garbageBefore = 0;    // this many pseudo-random bytes precede every reply
    bool garbageOnly = false;         // every reply is replaced by pseudo-random bytes of the same length
    std::uint32_t garbageSeed = 1;
    Clock::Duration extraDelay{0};    // slow replies: added to the turnaround
    Clock::Duration byteGap{0};       // slow pacing: added after every byte of a reply
    std::optional<std::uint8_t> passwordAnswer;  // replaces the answer byte to a submitted password
    bool shortEndOfList = false;      // "no such record" answered with 10 bytes instead of a full-length reply

    // Damaged record replies (replies to record reads, and for recordCut and badCheck also the
    // acknowledgements of record writes), as a worn cable spoils them:
    int recordCut = -1;               // >= 0: cut to this many bytes
    bool badCheck = false;            // a wrong check byte, wrong by another amount every time
    bool foreignRecord = false;       // a whole, consistent reply for another block code and index
    bool garbagePayload = false;      // the payload replaced by pseudo-random bytes behind the correct header
    // > 1: the damages above spoil only every n-th record reply (a noisy cable rather than a
    // broken one); the others, repeats included, come whole.
    int damageEvery = 1;
    // A radio whose check byte follows its own rule: the XOR of every byte from the marker
    // through the terminator (the usual rule starts at the length byte). Applies to every
    // programming reply; the same request always gets the same bytes.
    bool ownCheckRule = false;
};

struct RadioSetup {
    bool echo = false;  // one-wire cable: every byte the host sends comes straight back
    Clock::Duration turnaround = std::chrono::milliseconds(2);
    // A partly received frame is dropped after this much silence on the line.
    Clock::Duration frameTimeout = std::chrono::milliseconds(50);
    // Answer to the "key" query: the model identity (12 bytes) and 4 firmware bytes (01 00: version
    // 0100, new enough for the adjustment values).
    std::array<std::uint8_t, 16> keyAnswer = {'Z', 'R', '-', '7', '4', '0', 0, 0, 0, 0, 0, 0, 0x01, 0x00, 0x00, 0x00};
    // How many of those bytes the radio announces and sends (fewer: a radio that leaves out firmware bytes).
    std::size_t keyAnswerBytes = 16;
    // Bytes 2..17 of the identify answer.
    std::array<std::uint8_t, 16> identifyData = {'Z', 'R', '-', '7', '4', '0', 'N', 'V', 0, 0, 0, 0, 0x01, 0x00, 0x00, 0x00};
    // State byte of the identify answer; by default 0 without a service password, 2 with one.
    std::optional<std::uint8_t> identifyState;
    // Where the "dbg" 93 query locates each adjustment group: parameter byte 1 -> (address, element size, count).
    struct Group { std::uint16_t address; std::uint16_t size; std::uint8_t count; };
    std::map<std::uint8_t, Group> groups = {
        {0x06, {0x0300, 1, 8}}, {0x04, {0x0310, 1, 8}}, {0x34, {0x0320, 2, 8}},
        {0x35, {0x0340, 2, 8}}, {0x19, {0x0360, 1, 10}},
    };
};

// A fleet of radios on one cable, one after another: the radio is "plugged in" appearAfter after
// the start (silent before), "unplugged" once a write session has closed (silent for absentFor
// after its last reply), and then comes back as the next radio: the configuration it started
// with and the next serial number. After `radios` written radios (0: no limit) it stays away.
struct FleetSwitches {
    bool enabled = false;
    Clock::Duration appearAfter{0};
    Clock::Duration absentFor = std::chrono::seconds(1);
    int radios = 0;
    std::uint32_t firstSerial = 1;
};

struct RadioEvent {
    Clock::Time at{};
    std::string text;  // e.g. "read F4 3", "write E4 0", "open write session", "wake", "writ 00DB 16"
};

class VirtualRadio final : public LineDevice {
public:
    static constexpr std::size_t kServiceMemoryBytes = 0x10000;
    static constexpr std::uint16_t kServicePasswordAddress = 0x00DB;
    static constexpr std::size_t kServicePasswordBytes = 32;
    // Bounds of what the radio keeps, whatever it is sent: the received-byte record and the
    // event and violation logs keep their newest entries; a reply is dropped while the
    // transmitter is already busy this far ahead of the request (a flood builds no backlog).
    static constexpr std::size_t kMaxReceivedRecord = 1 << 20;
    static constexpr std::size_t kMaxEvents = 100000;
    static constexpr std::size_t kMaxViolations = 10000;
    static constexpr Clock::Duration kMaxTransmitBacklog = std::chrono::seconds(5);

    VirtualRadio();
    explicit VirtualRadio(RadioSetup setup);

    RadioSetup& setup() { return setup_; }
    RadioFaults& faults() { return faults_; }

    // ---- Fleet ----
    // Switches the fleet behaviour on (see FleetSwitches); the configuration held now is what
    // every radio of the fleet starts with.
    void SetFleet(const FleetSwitches& fleet);
    // Whether a radio is on the cable at `at`; the serial number of the current one (also in
    // the radio's information record, as "SIM" and eight digits).
    bool Present(Clock::Time at) const;
    std::uint32_t SerialNumber() const { return serial_; }
    int RadiosWritten() const { return radiosWritten_; }

    // ---- Configuration, in wire order ----
    // The records held under a block code (index = position). Unknown codes hold nothing.
    const std::vector<std::vector<std::uint8_t>>& Records(std::uint8_t code) const;
    void SetRecords(std::uint8_t code, std::vector<std::vector<std::uint8_t>> records);
    // Loads an image: records converted to wire order; lists as long as the image's counts
    // (clamped to the radio's capacity), zones always 2, single records always present, the
    // extended values from FunctionExtra.
    void LoadCodeplug(const Codeplug& image);
    // Writes what the radio holds into an image (memory order), counts from the list lengths.
    // Blocks the radio does not hold are left as they are in `image`.
    void SaveCodeplug(Codeplug& image) const;
    bool LoadFile(const std::filesystem::path& path);  // a *.VNTX file
    bool SaveFile(const std::filesystem::path& path) const;

    // Programming password (PasswordBlock: byte 1 switch 80, bytes 2-9 and 11-18 the password,
    // right-aligned behind "0" characters when shorter than 8). An empty text switches it off.
    // The radio asks for a password while its password record has the switch on.
    void SetProgrammingPassword(std::string_view upToEightCharacters);
    bool PasswordProtected() const;

    // Values of the extended frames: FunctionExtra bytes 0-6 as read by ReadExtraA, and the
    // 16-bit value of ReadExtraB / WriteExtraB.
    std::array<std::uint8_t, 7> ExtraA() const { return extraA_; }
    void SetExtraA(const std::array<std::uint8_t, 7>& bytes) { extraA_ = bytes; }
    std::uint16_t ExtraB() const { return extraB_; }
    void SetExtraB(std::uint16_t value) { extraB_ = value; }

    // Service memory addressed by "read" / "writ"; the service password at 00DB (32 bytes,
    // unset when its first byte is 00 or FF).
    std::span<std::uint8_t> ServiceMemory() { return serviceMemory_; }
    std::span<const std::uint8_t> ServiceMemory() const { return serviceMemory_; }
    void SetServicePassword(std::string_view password);  // empty: none
    std::string ServicePassword() const;
    // The service memory as a file of its own (kServiceMemoryBytes raw bytes). Loading a file of
    // another length fails and leaves the memory as it was.
    bool LoadServiceMemory(const std::filesystem::path& path);
    bool SaveServiceMemory(const std::filesystem::path& path) const;

    // ---- What happened ----
    const std::vector<std::uint8_t>& Received() const { return received_; }
    const std::vector<RadioEvent>& Events() const { return events_; }
    std::vector<std::string> EventTexts() const;
    // Requests the radio could not accept: bad check byte, unknown frame, record access
    // outside a session, wrong record size, bad CRC ... (the radio stays silent on them).
    const std::vector<std::string>& Violations() const { return violations_; }
    int WriteSessionsClosed() const { return writeSessionsClosed_; }
    int ReadSessionsClosed() const { return readSessionsClosed_; }
    void ClearHistory();

    // Called after every accepted "close write session" (the program saves its file there).
    std::function<void()> onWriteSessionClosed;
    // Called after every completed "writ" (the program saves its service memory there).
    std::function<void()> onServiceWrite;
    // Called for every event as it happens (the program's --verbose log).
    std::function<void(const RadioEvent&)> onEvent;

    // ---- LineDevice ----
    void HostByte(std::uint8_t value, Clock::Time at) override;
    std::vector<TimedByte> TakeOutput() override;

    // Time the radio's transmitter is busy until (the last queued reply byte's arrival).
    Clock::Time TransmitterFreeAt() const { return txFree_; }

private:
    enum class Session { None, Read, Write };
    enum class Mode { Idle, Programming, Command, WriteData };

    void Event(Clock::Time at, std::string text);
    void Violation(Clock::Time at, std::string text);
    void Reply(std::vector<std::uint8_t> bytes, Clock::Time after, bool programming);
    // The reply to a record read (read = true) or record write, with the record-reply damages.
    void RecordReply(std::vector<std::uint8_t> bytes, Clock::Time after, bool read);
    void Transmit(std::vector<std::uint8_t> bytes, Clock::Time after, bool programming);
    void ApplyOwnCheckRule(std::vector<std::uint8_t>& frame) const;
    std::uint8_t NextGarbage();
    void HandleProgrammingFrame(Clock::Time at);
    void HandleSessionCommand(std::span<const std::uint8_t> frame, Clock::Time at);
    void HandleExtended(std::span<const std::uint8_t> frame, Clock::Time at);
    void HandleRecordRead(std::uint8_t code, std::uint8_t index, Clock::Time at);
    void HandleRecordWrite(std::uint8_t code, std::uint8_t index, std::span<const std::uint8_t> data, Clock::Time at);
    void HandleCommandFrame(Clock::Time at);
    void HandlePairHalf(std::span<const std::uint8_t> frame, Clock::Time at);
    void HandleWriteChunk(Clock::Time at);
    void HandleControl(std::uint8_t value, Clock::Time at);
    void HostByteIdle(std::uint8_t value, Clock::Time at);
    std::uint8_t StateByte() const;
    std::vector<std::uint8_t> Ack(std::uint16_t length) const;
    std::vector<std::uint8_t> Nak() const;

    RadioSetup setup_;
    RadioFaults faults_;
    std::map<std::uint8_t, std::vector<std::vector<std::uint8_t>>> records_;
    std::array<std::uint8_t, 7> extraA_{};
    std::uint16_t extraB_ = 2048;
    std::vector<std::uint8_t> serviceMemory_;

    // Receiver
    Mode mode_ = Mode::Idle;
    std::vector<std::uint8_t> frame_;
    bool wordFrame_ = false;  // the command frame began with a command word's first letter
    std::size_t frameWanted_ = 0;
    Clock::Time lastByteAt_{};
    bool identified_ = false;
    std::vector<std::uint8_t> pendingData_;  // sent on the host's 05
    bool dataPending_ = false;
    std::vector<std::uint8_t> pairFirst_;
    bool pairAccepted_ = false;  // the stored password was sent since the last wake
    // "writ" in progress
    std::uint16_t writeAddress_ = 0;
    std::size_t writeRemaining_ = 0;
    std::vector<std::uint8_t> writeCollected_;

    // Programming session
    Session session_ = Session::None;
    bool unlocked_ = false;
    bool writing_ = false;  // BeginWrite accepted
    std::map<std::uint8_t, bool> rewritten_;  // codes whose list this write session has restarted
    int recordReplies_ = 0;
    bool cut_ = false;  // fell silent after cutAfterRecords

    // Transmitter
    Clock::Time txFree_{};
    std::vector<TimedByte> output_;
    std::uint32_t garbageState_ = 1;
    bool garbageSeeded_ = false;
    std::uint32_t damagedReplies_ = 0;
    std::uint64_t recordRepliesSent_ = 0;

    // Fleet
    void FleetByte(Clock::Time at);
    void StampSerial();
    FleetSwitches fleet_;
    std::map<std::uint8_t, std::vector<std::vector<std::uint8_t>>> fleetStock_;
    std::uint32_t serial_ = 0;
    int radiosWritten_ = 0;
    bool unplugged_ = false;
    Clock::Time backAt_{};

    std::vector<std::uint8_t> received_;
    std::vector<RadioEvent> events_;
    std::vector<std::string> violations_;
    int writeSessionsClosed_ = 0;
    int readSessionsClosed_ = 0;
};

// A virtual clock, a virtual radio and an in-memory line between them.
struct RadioBench {
    VirtualClock clock;
    VirtualRadio radio;
    MemoryLine line{clock, &radio};

    SerialPortFactory PortFactory() { return line.PortFactory(); }
};
