#include "codeplug/Codeplug.h"

#include "codeplug/Records.h"

#include <tuple>

std::array<BlockView, 21> BlocksInFileOrder(Codeplug& c)
{
    return {{
        {"RadioSettings", c.RadioSettings},
        {"DmrSettings", c.DmrSettings},
        {"ContactTable", c.ContactTable.bytes},
        {"ContactCount", c.ContactCount},
        {"RxGroupTable", c.RxGroupTable.bytes},
        {"RxGroupCount", c.RxGroupCount},
        {"ScanTable", c.ScanTable.bytes},
        {"ZoneTable", c.ZoneTable.bytes},
        {"AnalogChannelTable", c.AnalogChannelTable.bytes},
        {"DigitalChannelTable", c.DigitalChannelTable.bytes},
        {"AnalogChannelCount", c.AnalogChannelCount},
        {"DigitalChannelCount", c.DigitalChannelCount},
        {"MessageCount", c.MessageCount},
        {"MessageTable", c.MessageTable.bytes},
        {"ScanListCount", c.ScanListCount},
        {"IdentityBlock", c.IdentityBlock},
        {"RecordE2Block", c.RecordE2Block},
        {"RadioInfoBlock", c.RadioInfoBlock},
        {"PasswordBlock", c.PasswordBlock},
        {"FunctionExtra", c.FunctionExtra},
        {"FileMarker", c.FileMarker},
    }};
}

std::uint32_t GetCount(const Block<4>& count) { return GetLE32(count, 0); }
void SetCount(Block<4>& count, std::uint32_t value) { PutLE32(count, 0, value); }

void RepairTreeCounts(Codeplug& c)
{
    if (c.DigitalChannelCount[0] == 0 || c.DigitalChannelCount[0] > c.DigitalChannelTable.kCapacity)
        c.DigitalChannelCount[0] = 1;
    if (c.AnalogChannelCount[0] == 0 || c.AnalogChannelCount[0] > c.AnalogChannelTable.kCapacity)
        c.AnalogChannelCount[0] = 1;
    const std::uint32_t scanLists = GetCount(c.ScanListCount);
    if (scanLists == 0 || scanLists > c.ScanTable.kCapacity)
        SetCount(c.ScanListCount, 1);
    if (GetCount(c.RxGroupCount) == 0)
        SetCount(c.RxGroupCount, 1);
}

void RepairFunctionExtra(Codeplug& c)
{
    const std::uint16_t value = GetLE16(c.FunctionExtra, FunctionExtraField::DigitalMicGain);
    if (value < FunctionExtraField::kDigitalMicGainMin || value > FunctionExtraField::kDigitalMicGainMax)
        PutLE16(c.FunctionExtra, FunctionExtraField::DigitalMicGain, FunctionExtraField::kDigitalMicGainRepaired);
}

namespace {

template <std::size_t N>
constexpr bool OffsetsFit(const std::array<std::size_t, N>& offsets, std::size_t recordBytes)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (offsets[i] >= recordBytes || (i > 0 && offsets[i] <= offsets[i - 1]))
            return false;
    }
    return true;
}

static_assert(OffsetsFit(kDigitalChannelFieldNumberOffsets, decltype(Codeplug::DigitalChannelTable)::kRecordBytes));
static_assert(OffsetsFit(kAnalogChannelFieldNumberOffsets, decltype(Codeplug::AnalogChannelTable)::kRecordBytes));
static_assert(OffsetsFit(kZoneFieldNumberOffsets, decltype(Codeplug::ZoneTable)::kRecordBytes));
static_assert(OffsetsFit(kScanListFieldNumberOffsets, decltype(Codeplug::ScanTable)::kRecordBytes));
static_assert(OffsetsFit(kRadioSettingsFieldNumberOffsets, std::tuple_size_v<decltype(Codeplug::RadioSettings)>));
static_assert(OffsetsFit(kContactFieldNumberOffsets, decltype(Codeplug::ContactTable)::kRecordBytes));
static_assert(OffsetsFit(kRxGroupFieldNumberOffsets, decltype(Codeplug::RxGroupTable)::kRecordBytes));
static_assert(OffsetsFit(kMessageFieldNumberOffsets, decltype(Codeplug::MessageTable)::kRecordBytes));

template <std::size_t RecordBytes, std::size_t Capacity, std::size_t N>
void StampTable(RecordTable<RecordBytes, Capacity>& table, const std::array<std::size_t, N>& offsets)
{
    for (std::size_t i = 0; i < Capacity; ++i)
        StampRecordFieldNumbers(table.record(i), offsets);
}

}  // namespace

void StampRecordFieldNumbers(std::span<std::uint8_t> record, std::span<const std::size_t> offsets)
{
    for (std::size_t n = 0; n < offsets.size(); ++n) {
        RequireRange(record.size(), offsets[n], 1);
        record[offsets[n]] = static_cast<std::uint8_t>(n);
    }
}

void StampFieldNumbers(Codeplug& c)
{
    StampTable(c.DigitalChannelTable, kDigitalChannelFieldNumberOffsets);
    StampTable(c.AnalogChannelTable, kAnalogChannelFieldNumberOffsets);
    StampTable(c.ZoneTable, kZoneFieldNumberOffsets);
    StampTable(c.ScanTable, kScanListFieldNumberOffsets);
    StampTable(c.ContactTable, kContactFieldNumberOffsets);
    StampTable(c.RxGroupTable, kRxGroupFieldNumberOffsets);
    StampRecordFieldNumbers(c.RadioSettings, kRadioSettingsFieldNumberOffsets);
}

void ClearForcedOffOptionBits(Codeplug& c)
{
    using namespace RadioSettingsField;
    c.RadioSettings[Options1] &= static_cast<std::uint8_t>(~kRemoteMonitor);
    c.RadioSettings[Options2] &= static_cast<std::uint8_t>(~kBluetoothMode);
    c.RadioSettings[Tones2] &=
        static_cast<std::uint8_t>(~(kMessageSentTone | kMessageFailedTone | kMessageReceivedTone));
}
