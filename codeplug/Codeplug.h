#pragma once
// The in-memory image of the radio's configuration: twenty fixed-size blocks and the file
// trailer, laid out exactly in file order so that offsets and sizes can be checked at compile time.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string_view>

#include "codeplug/Bytes.h"

template <std::size_t N>
using Block = std::array<std::uint8_t, N>;

// A table block: Capacity records of RecordBytes each, all always present in memory.
template <std::size_t RecordBytes, std::size_t Capacity>
struct RecordTable {
    static constexpr std::size_t kRecordBytes = RecordBytes;
    static constexpr std::size_t kCapacity = Capacity;
    static constexpr std::size_t kBytes = RecordBytes * Capacity;

    std::array<std::uint8_t, kBytes> bytes{};

    // Throws std::out_of_range for an index at or past the capacity.
    std::span<std::uint8_t, RecordBytes> record(std::size_t index)
    {
        Check(index);
        return std::span<std::uint8_t, RecordBytes>(bytes.data() + index * RecordBytes, RecordBytes);
    }
    std::span<const std::uint8_t, RecordBytes> record(std::size_t index) const
    {
        Check(index);
        return std::span<const std::uint8_t, RecordBytes>(bytes.data() + index * RecordBytes, RecordBytes);
    }

private:
    static void Check(std::size_t index)
    {
        if (index >= Capacity)
            throw std::out_of_range("record index outside its table");
    }
};

constexpr std::size_t kCodeplugFileBytes = 11279;
constexpr std::int32_t kFileMarkerValue = 740;

struct Codeplug {
    Block<227> RadioSettings{};
    Block<27> DmrSettings{};
    RecordTable<45, 64> ContactTable;
    Block<4> ContactCount{};
    RecordTable<57, 32> RxGroupTable;
    Block<4> RxGroupCount{};
    RecordTable<98, 3> ScanTable;
    RecordTable<89, 2> ZoneTable;
    RecordTable<81, 16> AnalogChannelTable;
    RecordTable<82, 16> DigitalChannelTable;
    Block<1> AnalogChannelCount{};
    Block<1> DigitalChannelCount{};
    Block<4> MessageCount{};
    RecordTable<83, 3> MessageTable;
    Block<4> ScanListCount{};
    Block<23> IdentityBlock{};
    Block<2880> RecordE2Block{};
    Block<30> RadioInfoBlock{};
    Block<30> PasswordBlock{};
    Block<7> FunctionExtra{};
    Block<4> FileMarker{};
};

static_assert(sizeof(Codeplug) == kCodeplugFileBytes, "the image must be exactly the file's 11279 bytes");
static_assert(offsetof(Codeplug, DmrSettings) == 227);
static_assert(offsetof(Codeplug, ContactTable) == 254);
static_assert(offsetof(Codeplug, ContactCount) == 3134);
static_assert(offsetof(Codeplug, RxGroupTable) == 3138);
static_assert(offsetof(Codeplug, RxGroupCount) == 4962);
static_assert(offsetof(Codeplug, ScanTable) == 4966);
static_assert(offsetof(Codeplug, ZoneTable) == 5260);
static_assert(offsetof(Codeplug, AnalogChannelTable) == 5438);
static_assert(offsetof(Codeplug, DigitalChannelTable) == 6734);
static_assert(offsetof(Codeplug, AnalogChannelCount) == 8046);
static_assert(offsetof(Codeplug, DigitalChannelCount) == 8047);
static_assert(offsetof(Codeplug, MessageCount) == 8048);
static_assert(offsetof(Codeplug, MessageTable) == 8052);
static_assert(offsetof(Codeplug, ScanListCount) == 8301);
static_assert(offsetof(Codeplug, IdentityBlock) == 8305);
static_assert(offsetof(Codeplug, RecordE2Block) == 8328);
static_assert(offsetof(Codeplug, RadioInfoBlock) == 11208);
static_assert(offsetof(Codeplug, PasswordBlock) == 11238);
static_assert(offsetof(Codeplug, FunctionExtra) == 11268);
static_assert(offsetof(Codeplug, FileMarker) == 11275);

// One block seen as bytes, with its name; BlocksInFileOrder lists all 21.
struct BlockView {
    std::string_view name;
    std::span<std::uint8_t> bytes;
};
std::array<BlockView, 21> BlocksInFileOrder(Codeplug& codeplug);

// Counts. The 32-bit counts are little-endian; the channel counts are single bytes.
std::uint32_t GetCount(const Block<4>& count);
void SetCount(Block<4>& count, std::uint32_t value);
inline std::uint32_t GetCount(const Block<1>& count) { return count[0]; }
inline void SetCount(Block<1>& count, std::uint32_t value) { count[0] = static_cast<std::uint8_t>(value); }

// How many records of a table a loop may visit: a count read from a file or a radio may
// exceed the table, but no code may run past the table because of it.
template <std::size_t RecordBytes, std::size_t Capacity>
constexpr std::size_t UsedRecords(std::uint32_t count, const RecordTable<RecordBytes, Capacity>&)
{
    return count < Capacity ? count : Capacity;
}

// The repairs the navigation tree applies before listing records: channel counts of 0 or
// above 16 and a scan-list count of 0 or above 3 become 1; a receive-group count of 0 becomes 1.
void RepairTreeCounts(Codeplug& codeplug);

// The 16-bit value in FunctionExtra bytes 3-4 is kept within 298..4000; other values become 2048.
void RepairFunctionExtra(Codeplug& codeplug);

// Writes byte offsets[n] = n into one record (the record marker is field number 0).
void StampRecordFieldNumbers(std::span<std::uint8_t> record, std::span<const std::size_t> offsets);

// What the write session does to the image before it sends anything: the field-number bytes of
// every record of the channel, zone, scan-list, contact and receive-group tables and of
// RadioSettings (all records, not only the counted ones). Message records are stamped only as
// they are sent, so they are left to StampRecordFieldNumbers.
void StampFieldNumbers(Codeplug& codeplug);

// Clears the five option bits of RadioSettings the radio must receive as 0: byte 87 bit 2,
// byte 88 bit 0 and byte 193 bits 1-3.
void ClearForcedOffOptionBits(Codeplug& codeplug);
