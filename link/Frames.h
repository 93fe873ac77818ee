#pragma once
// The bytes the host sends to the radio. Two families share the cable:
//
// Programming frames (codeplug transfer):
//     84 A9 61 00 | L | direction | A | V | payload ... | 2F | check
//   L counts the bytes from the direction byte up to and including the terminator 2F, the check
//   byte is the XOR of every byte from L through the terminator. A is a block code, FF for the
//   session commands, 88 for the extended frames. Extended frames are sent exactly as the radio
//   expects them: marker, L, direction, 88, V and a fixed body, with no terminator or check byte.
//
// Service frames (radio password, adjustment values): an 8-byte command (an ASCII word such as
// "key", "dbg", "read", "writ" and its parameters) followed by its CRC-16/MODBUS, most
// significant byte first; data blocks carry the same CRC. Single control bytes do the handshake.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace frame {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::array<std::uint8_t, 4> kMarker = {0x84, 0xA9, 0x61, 0x00};
inline constexpr std::size_t kPrefixChecked = 3;  // replies are checked for 84 A9 61 only
inline constexpr std::size_t kHeaderBytes = 8;    // marker, L, direction, A, V
inline constexpr std::size_t kOverheadBytes = 10; // header + terminator + check
inline constexpr std::size_t kMaxPayload = 255 - 4;  // L = payload + 4 must fit in a byte

// Offsets inside a programming frame (requests and replies alike).
inline constexpr std::size_t kLengthAt = 4;
inline constexpr std::size_t kDirectionAt = 5;
inline constexpr std::size_t kCodeAt = 6;
inline constexpr std::size_t kIndexAt = 7;
inline constexpr std::size_t kPayloadAt = 8;

inline constexpr std::uint8_t kRead = 0x2F;        // direction: host reads
inline constexpr std::uint8_t kWrite = 0x0F;       // direction: host writes
inline constexpr std::uint8_t kTerminator = 0x2F;
inline constexpr std::uint8_t kSessionCode = 0xFF; // A of the session commands
inline constexpr std::uint8_t kExtendedCode = 0x88;// A of the extended frames
inline constexpr std::uint8_t kAcknowledge = 0xFA; // byte 6 of a reply: acknowledgement / no such record

// XOR of the bytes (the check byte is this over L .. terminator).
std::uint8_t XorOf(std::span<const std::uint8_t> bytes);

// A regular programming frame: marker, L = payload + 4, direction, A, V, payload, 2F, check.
// Throws std::length_error for a payload longer than kMaxPayload.
Bytes Programming(std::uint8_t direction, std::uint8_t code, std::uint8_t index,
                  std::span<const std::uint8_t> payload = {});

// An extended frame: marker, the given L, direction, 88, V, body; nothing appended.
Bytes Extended(std::uint8_t length, std::uint8_t direction, std::uint8_t v,
               std::span<const std::uint8_t> body);

// Record transfer (10 bytes / payload + 10 bytes).
Bytes ReadRecord(std::uint8_t code, std::uint8_t index);
Bytes WriteRecord(std::uint8_t code, std::uint8_t index, std::span<const std::uint8_t> record);

// The session commands, byte for byte as the radio expects them.
Bytes OpenReadSession();        // 13 bytes
Bytes OpenWriteSessionStep1();  // 10 bytes, extended
Bytes OpenWriteSessionStep2();  // 11 bytes, extended
Bytes OpenWriteSessionStep3();  // 14 bytes: a session command followed by one 00
Bytes SubmitPassword(std::span<const std::uint8_t, 10> passwordRecord);  // 20 bytes
Bytes BeginWrite();             // 12 bytes
Bytes ReadDeviceInfo();         // 11 bytes, extended
Bytes ReadExtraA();             // 11 bytes, extended
Bytes ReadExtraB();             // 11 bytes: a read of code F9 followed by one 00
Bytes WriteExtraB(std::span<const std::uint8_t, 2> value);   // 18 bytes, extended
Bytes WriteExtraA(std::span<const std::uint8_t, 3> source);  // 18 bytes, extended
Bytes CloseReadSession();       // 13 bytes
Bytes CloseWriteSession();      // 13 bytes

// ---- Judging what the radio sent back ----

// What a reply from the radio amounts to. A reply is judged only on the bytes that arrived.
enum class Verdict : std::uint8_t {
    Good,           // whole and consistent
    CheckMismatch,  // whole and consistent except for its check byte
    Damaged,        // cut, foreign, or not a frame at all
};

struct ReplyCheck {
    Verdict verdict = Verdict::Damaged;
    std::uint8_t checkDelta = 0;  // for CheckMismatch: the check byte received XOR the one computed
    // FA in place of the block code: the radio has no record there. Whatever rule its check
    // byte follows, an accepted reply with this mark ends the table.
    bool noRecord = false;
};

// A record-read reply: all length + 10 bytes (or a whole 10-byte "no such record" frame), the
// marker 84 A9 61, L = length + 4, the block code and index asked for, the terminator, and the
// check byte by the XOR rule. A "no such record" frame (byte 6 FA) may be short or full length;
// its L, terminator and check byte must agree with the bytes that arrived.
ReplyCheck JudgeRecordReply(std::span<const std::uint8_t> arrived, std::uint8_t code, std::uint8_t index,
                            std::size_t length);

// A write acknowledgement: exactly a 10-byte frame 84 A9 61 xx 04 xx FA xx 2F check.
ReplyCheck JudgeWriteAck(std::span<const std::uint8_t> arrived);

// ---- Service family ----

inline constexpr std::uint8_t kWake = 0x5A;
inline constexpr std::uint8_t kIdentify = 0xA5;
inline constexpr std::uint8_t kIdentifyAlt = 0xAA;
inline constexpr std::uint8_t kReady = 0x05;        // radio: awake; host: send the data
inline constexpr std::uint8_t kSendData = 0x05;
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::size_t kIdentifyReplyBytes = 18;
inline constexpr std::size_t kAckBytes = 4;         // 06, length (2 bytes, MSB first), one more
inline constexpr std::size_t kCommandBytes = 8;
inline constexpr std::size_t kCrcBytes = 2;
inline constexpr std::size_t kWriteChunk = 512;

// CRC-16/MODBUS: reflected polynomial A001, initial FFFF, no final XOR. "123456789" -> 4B37.
std::uint16_t Crc16(std::span<const std::uint8_t> bytes);
// The bytes followed by their CRC, most significant byte first.
Bytes WithCrc(std::span<const std::uint8_t> bytes);
// True when the last two bytes are the CRC (MSB first) of the bytes before them.
bool CrcMatches(std::span<const std::uint8_t> dataAndCrc);

// Command frames: 8 bytes + CRC.
Bytes KeyCommand(std::uint8_t sub, std::span<const std::uint8_t, 4> param);    // "key" sub param
Bytes DebugCommand(std::uint8_t sub, std::span<const std::uint8_t, 4> param);  // "dbg" sub param
Bytes ReadCommand(std::uint16_t address, std::uint16_t count);                 // "read" addr count
Bytes WriteCommand(std::uint16_t address, std::uint16_t count);                // "writ" addr count

inline constexpr std::uint8_t kKeyQuery = 0x81;
inline constexpr std::uint8_t kKeySet = 0x01;
inline constexpr std::uint8_t kDebugQuery = 0x93;
inline constexpr std::uint16_t kFixedWriteAddress = 0x00DB;

// The probe of a one-wire cable and the filler sequences of the service exchanges.
inline constexpr std::array<std::uint8_t, 5> kEchoProbe = {'V', 'A', 'N', 'T', 'I'};
inline constexpr std::array<std::uint8_t, 9> kProbeTail = {1, 2, 3, 4, 5, 6, 7, 8, 9};
inline constexpr std::array<std::uint8_t, 9> kIdentifyResync = {0, 1, 2, 3, 4, 5, 6, 7, 8};
inline constexpr std::array<std::uint8_t, 10> kIdentifyAltEnd = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                                                 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

}  // namespace frame
