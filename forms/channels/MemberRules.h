#pragma once
// The channel lists of zones and scan lists: members, the channels still available to them, the
// member limits, and the adding and deleting of whole scan lists.
//
// A member names a channel by kind (digital or analog) and 0-based record index. Counts and
// indexes come from files and radios, so everything here is bounded: a member count above 16
// yields 16 members, and a member whose kind is unknown or whose index is at or past the count
// of its table is a missing channel, never a read past the table.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/SystemSettings.h"

struct Codeplug;

struct ChannelMember {
    std::uint8_t kind = 0;    // ChannelRef::kDigital or ChannelRef::kAnalog
    std::uint16_t index = 0;  // 0-based record of that kind's table
    bool operator==(const ChannelMember&) const = default;
};
using MemberList = std::vector<ChannelMember>;

enum class MemberListKind { Zone, ScanList };

inline constexpr std::size_t kMaxListMembers = 16;
inline constexpr std::size_t kZoneCount = 2;
inline constexpr std::uint32_t kMaxScanLists = 3;

// ---- Records ----

// The zone or scan-list record a form edits; the index is bounded to the table.
std::span<std::uint8_t> ZoneRecord(Codeplug& codeplug, std::uint32_t zone);
std::span<std::uint8_t> ScanListRecord(Codeplug& codeplug, std::uint32_t list);

// The first member-count entries (at most 16) of a record.
MemberList ReadMembers(std::span<const std::uint8_t> record);

// Writes the count and the entries in order. A scan list first clears all 48 member bytes;
// a zone leaves the entries past the new count as they were.
void WriteMembers(std::span<std::uint8_t> record, const MemberList& members, MemberListKind kind);

// ---- Channels ----

// The number of channels of each table in use, bounded to the table.
std::size_t DigitalChannelsInUse(const Codeplug& codeplug);
std::size_t AnalogChannelsInUse(const Codeplug& codeplug);

bool ChannelExists(const Codeplug& codeplug, const ChannelMember& member);

// Every digital channel, then every analog channel, that is not a member, in table order.
MemberList AvailableChannels(const Codeplug& codeplug, const MemberList& members);

// What a grid row shows of a channel: "CH%02d" of index + 1 and the two frequencies as text.
struct ChannelRow {
    bool digital = false;
    std::string channel;
    std::string rxFrequency;
    std::string txFrequency;
};
// nullopt for a missing channel.
std::optional<ChannelRow> DescribeChannel(const Codeplug& codeplug, const ChannelMember& member);

// ---- Editing the working list ----

enum class MemberEdit {
    Done,
    ListFull,       // already 16 members: nothing added
    WouldBeEmpty,   // a list keeps at least one member: nothing removed
    NoSuchRow,      // the selected row holds no channel: nothing changes
};

// Appends available[row] (0-based). A full list is refused before anything else.
MemberEdit AddMember(MemberList& members, const MemberList& available, int row);
// Removes members[row] (0-based); the later members move up.
MemberEdit RemoveMember(MemberList& members, int row);

// Drops members that name a missing channel (others keep their order) and writes the rest back
// when anything was dropped or the stored count was out of range. True when the record changed.
bool RevalidateMembers(const Codeplug& codeplug, std::span<std::uint8_t> record, MemberListKind kind);

// ---- Scan lists ----

// The scan-list count bounded to 1 … 3.
std::uint32_t ScanListsInUse(const Codeplug& codeplug);

// The dwell-time choice (0 … 20, steps of 500 ms) a stored value shows, and the value a choice stores.
int DwellChoiceOf(std::uint16_t milliseconds);
std::uint16_t DwellOfChoice(int choice);

// Adds a list at the end: the count goes up and the new last record gets the alias
// `aliasPattern` formatted with the new count ("%d"); its other bytes stay, so a list deleted
// earlier comes back with its members and settings. False when 3 lists exist.
bool AddScanList(Codeplug& codeplug, const std::string& aliasPattern);

// Removes the last list, whichever is shown: the count goes down, its record stays in the table,
// every channel in use that named it gets scan list off (and auto scan, which needs a list,
// cleared), and `current` moves to the last remaining list when it no longer names one.
// False when only 1 list exists.
bool DeleteScanList(Codeplug& codeplug, std::uint32_t& current);

// ---- Fixed texts of the zone and scan-list forms ----

enum class MemberText {
    Caption,          // message box caption
    ZoneFull,         // "信道组已满！"
    ZoneEmpty,        // "信道组不能为空！"
    ScanFull,         // "扫描信道已满！"
    ScanEmpty,        // "扫描信道不能为空！"
    DigitalChannel,   // "数字信道"
    AnalogChannel,    // "模拟信道"
    ColumnNumber,     // "序号"
    ColumnMember,     // "信道"
    ColumnKind,       // "信道类型"
    ColumnChannel,    // "信道号"
    ColumnRx,         // "接收频率"
    ColumnTx,         // "发射频率"
    ZoneAdd,          // "增加>>"
    ZoneRemove,       // "<<移除"
    Alias,
    ZoneAvailable,
    ZoneMembers,
};

// The text in the run's language: the Chinese texts are the program's own; English runs get
// their English equivalents (other languages the Chinese).
std::string FixedMemberText(MemberText text, UiLanguage language);
