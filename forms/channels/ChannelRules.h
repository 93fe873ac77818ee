#pragma once
// The editing rules of the analog and digital channel forms, as plain functions over the
// Codeplug: adding, deleting and copying channels, the show-time repairs of a record, the tone
// controls in both directions and the member lists of zones and scan lists that follow a channel
// delete. The forms call these; nothing here knows a window.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "codeplug/Codeplug.h"

enum class ChannelKind { Digital, Analog };

inline constexpr std::size_t kMaxChannels = 16;

// The number lists of the channel forms, from 0: squelch levels, transmit-inhibit recovery
// seconds and colour codes. The field schema takes its ranges from the same constants.
inline constexpr int kSquelchLevels = 6;
inline constexpr int kRecoveryChoices = 11;
inline constexpr int kColourCodes = 16;

// The stored channel count, bounded to the table (a count read from a file may be anything).
std::size_t ChannelCount(const Codeplug& codeplug, ChannelKind kind);

// A record of either table.
std::span<std::uint8_t> ChannelRecord(Codeplug& codeplug, ChannelKind kind, std::size_t index);

// A form's current index made safe to address a record: at most the last record of the table.
std::size_t BoundedChannelIndex(std::uint32_t index);

// Appends a copy of channel 1 (record 0) and re-validates the zones and scan lists. False, and
// nothing changed, when the table is already full.
bool AddChannel(Codeplug& codeplug, ChannelKind kind);

// Removes channel `index`: later records move down one place, the count drops by one and every
// byte from the record at the new count to the end of the table becomes zero. Zone and scan-list
// members naming the removed channel are dropped and those naming a later channel of the same
// kind are renumbered down by one, so every list keeps the same channels; then the lists are
// re-validated. False, and nothing changed, when only one channel is left or `index` is not a
// channel in use.
bool DeleteChannel(Codeplug& codeplug, ChannelKind kind, std::size_t index);

// The channel a form shows after channel `deleted` went: the same place, or the new last
// channel when the last one was deleted.
std::size_t ChannelShownAfterDelete(const Codeplug& codeplug, ChannelKind kind, std::size_t deleted);

// Drops from each scan list in use and from both zones every member that names no existing
// channel (an unknown kind, or an index at or past the count of its table). Member counts above
// the 16 places of a record are read as 16. The kept members stay in order.
void RevalidateMemberLists(Codeplug& codeplug);

// Copy (receive to transmit). Analog: frequency, tone index and the transmit form of the receive
// tone type. Digital: frequency and colour code. The fields that follow them follow (NormaliseChannel).
void CopyReceiveToTransmit(Codeplug& codeplug, ChannelKind kind, std::size_t index);

// ---- Show-time repairs (written into the record, as the form shows it) ----

// With no scan list chosen the auto-scan bit is cleared. True when the auto-scan box is enabled.
bool RepairAutoScan(std::span<std::uint8_t> record, ChannelKind kind);

// Digital: equal frequencies clear the differ bit and allow direct mode; unequal ones set the
// bit and force direct mode back to its first choice. True when the direct-mode list is enabled.
bool RepairDirectMode(std::span<std::uint8_t> record);

// Digital: with encryption off the key is 0, with it on at least 1. True when the key box is enabled.
bool RepairEncryptionKey(std::span<std::uint8_t> record);

// The three repairs above that apply to the kind: the fields of a channel that follow others.
void NormaliseChannel(std::span<std::uint8_t> record, ChannelKind kind);

// The key box text as a stored key: leading blanks skipped, digits read up to the first other
// character; 0 or no digits give 1, values above 65535 give 65535.
std::uint16_t EncryptionKeyFromText(std::string_view text);

// The frequency box text as stored hertz, through the normaliser of the band byte.
std::uint32_t FrequencyFromBoxText(std::string_view text, std::uint8_t frequencyRange);

// ---- Tone controls ----

// Positions of the tone type list: none, CTCSS, DCS normal, DCS inverted.
enum TonePosition : int { kToneNone = 0, kToneCtcss = 1, kToneDcs = 2, kToneDcsInverted = 3 };

// What the tone controls show for one side: the type list, the three value lists (-1: nothing
// selected), which value list is enabled (kToneNone: none of them), and for the receive side
// the tail-elimination choice (0 first, 1 second).
struct ToneControls {
    int type = kToneNone;
    int ctcss = 0;
    int dcs = 0;
    int inverted = 0;
    int enabledList = kToneNone;
    int tail = 0;
    bool operator==(const ToneControls&) const = default;
};

ToneControls ShowReceiveTone(std::uint8_t toneType, std::uint8_t toneIndex);
// A transmit type other than the four the forms write shows as the tone its bits describe.
ToneControls ShowTransmitTone(std::uint8_t toneType, std::uint8_t toneIndex);

struct StoredTone {
    std::uint8_t type;
    std::uint8_t index;
    bool operator==(const StoredTone&) const = default;
};

// The bytes the controls give. `controls.type` -1 means no type chosen; a value list at -1
// gives index 0. The receive side uses `controls.tail`; the transmit side ignores it.
StoredTone CommitReceiveTone(const ToneControls& controls);
StoredTone CommitTransmitTone(const ToneControls& controls);

// A stored choice as a list position: the value when it is below `entries`, else -1 (nothing
// selected), so a byte from outside never picks an entry it does not name.
int ChoicePosition(std::uint32_t stored, int entries);

// The transmit contact list: the names of contacts 0 ... count - 1.
std::size_t ContactListSize(const Codeplug& codeplug);
std::string ContactListName(const Codeplug& codeplug, std::size_t contact);
