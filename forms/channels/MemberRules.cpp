#include "forms/channels/MemberRules.h"

#include <algorithm>
#include <cstdio>

#include "core/TextCatalogue.h"
#include "codeplug/Bytes.h"
#include "codeplug/Codeplug.h"
#include "codeplug/Records.h"
#include "forms/channels/Encodings.h"

namespace {

// Zones and scan lists share the layout of the alias and the member entries.
static_assert(ZoneField::MemberCount == ScanListField::MemberCount);
static_assert(ZoneField::Members == ScanListField::Members);

std::size_t MemberOffset(std::size_t m) { return ScanListField::Member(m); }

}  // namespace

std::span<std::uint8_t> ZoneRecord(Codeplug& codeplug, std::uint32_t zone)
{
    return codeplug.ZoneTable.record(std::min<std::size_t>(zone, kZoneCount - 1));
}

std::span<std::uint8_t> ScanListRecord(Codeplug& codeplug, std::uint32_t list)
{
    return codeplug.ScanTable.record(std::min<std::size_t>(list, ScanListsInUse(codeplug) - 1));
}

MemberList ReadMembers(std::span<const std::uint8_t> record)
{
    const std::size_t count = std::min<std::size_t>(record[ScanListField::MemberCount], kMaxListMembers);
    MemberList members;
    members.reserve(count);
    for (std::size_t m = 0; m < count; ++m) {
        const std::size_t at = MemberOffset(m);
        members.push_back({record[at + ChannelRef::Kind], GetLE16(record, at + ChannelRef::Index)});
    }
    return members;
}

void WriteMembers(std::span<std::uint8_t> record, const MemberList& members, MemberListKind kind)
{
    if (kind == MemberListKind::ScanList)
        std::fill_n(record.begin() + MemberOffset(0), ChannelRef::kBytes * kMaxListMembers, 0);
    const std::size_t count = std::min(members.size(), kMaxListMembers);
    record[ScanListField::MemberCount] = 0;
    for (std::size_t m = 0; m < count; ++m) {
        const std::size_t at = MemberOffset(m);
        record[at + ChannelRef::Kind] = members[m].kind;
        PutLE16(record, at + ChannelRef::Index, members[m].index);
        ++record[ScanListField::MemberCount];
    }
}

std::size_t DigitalChannelsInUse(const Codeplug& codeplug)
{
    return UsedRecords(GetCount(codeplug.DigitalChannelCount), codeplug.DigitalChannelTable);
}

std::size_t AnalogChannelsInUse(const Codeplug& codeplug)
{
    return UsedRecords(GetCount(codeplug.AnalogChannelCount), codeplug.AnalogChannelTable);
}

bool ChannelExists(const Codeplug& codeplug, const ChannelMember& member)
{
    switch (member.kind) {
    case ChannelRef::kDigital: return member.index < DigitalChannelsInUse(codeplug);
    case ChannelRef::kAnalog: return member.index < AnalogChannelsInUse(codeplug);
    default: return false;
    }
}

MemberList AvailableChannels(const Codeplug& codeplug, const MemberList& members)
{
    MemberList available;
    const auto addKind = [&](std::uint8_t kind, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            const ChannelMember channel{kind, static_cast<std::uint16_t>(i)};
            if (std::find(members.begin(), members.end(), channel) == members.end())
                available.push_back(channel);
        }
    };
    addKind(ChannelRef::kDigital, DigitalChannelsInUse(codeplug));
    addKind(ChannelRef::kAnalog, AnalogChannelsInUse(codeplug));
    return available;
}

std::optional<ChannelRow> DescribeChannel(const Codeplug& codeplug, const ChannelMember& member)
{
    if (!ChannelExists(codeplug, member))
        return std::nullopt;
    ChannelRow row;
    row.digital = member.kind == ChannelRef::kDigital;
    char name[16];
    std::snprintf(name, sizeof name, "CH%02d", member.index + 1);
    row.channel = name;
    std::uint32_t rx = 0, tx = 0;
    if (row.digital) {
        const auto record = codeplug.DigitalChannelTable.record(member.index);
        rx = GetLE32(record, DigitalChannelField::RxFrequency);
        tx = GetLE32(record, DigitalChannelField::TxFrequency);
    } else {
        const auto record = codeplug.AnalogChannelTable.record(member.index);
        rx = GetLE32(record, AnalogChannelField::RxFrequency);
        tx = GetLE32(record, AnalogChannelField::TxFrequency);
    }
    row.rxFrequency = FrequencyToText(rx);
    row.txFrequency = FrequencyToText(tx);
    return row;
}

MemberEdit AddMember(MemberList& members, const MemberList& available, int row)
{
    if (members.size() >= kMaxListMembers)
        return MemberEdit::ListFull;
    if (row < 0 || static_cast<std::size_t>(row) >= available.size())
        return MemberEdit::NoSuchRow;
    members.push_back(available[static_cast<std::size_t>(row)]);
    return MemberEdit::Done;
}

MemberEdit RemoveMember(MemberList& members, int row)
{
    if (members.size() < 2)
        return MemberEdit::WouldBeEmpty;
    if (row < 0 || static_cast<std::size_t>(row) >= members.size())
        return MemberEdit::NoSuchRow;
    members.erase(members.begin() + row);
    return MemberEdit::Done;
}

bool RevalidateMembers(const Codeplug& codeplug, std::span<std::uint8_t> record, MemberListKind kind)
{
    MemberList members = ReadMembers(record);
    const std::size_t before = members.size();
    std::erase_if(members, [&](const ChannelMember& m) { return !ChannelExists(codeplug, m); });
    if (members.size() == before && record[ScanListField::MemberCount] <= kMaxListMembers)
        return false;
    WriteMembers(record, members, kind);
    return true;
}

std::uint32_t ScanListsInUse(const Codeplug& codeplug)
{
    const std::uint32_t count = GetCount(codeplug.ScanListCount);
    return std::clamp<std::uint32_t>(count, 1, kMaxScanLists);
}

int DwellChoiceOf(std::uint16_t milliseconds)
{
    return std::min(milliseconds / ScanListField::kDwellStep, ScanListField::kDwellMax / ScanListField::kDwellStep);
}

std::uint16_t DwellOfChoice(int choice)
{
    const int last = ScanListField::kDwellMax / ScanListField::kDwellStep;
    return static_cast<std::uint16_t>(std::clamp(choice, 0, last) * ScanListField::kDwellStep);
}

bool AddScanList(Codeplug& codeplug, const std::string& aliasPattern)
{
    // A count outside 1 … 3 (from a file) counts as the lists the tree shows for it.
    const std::uint32_t count = GetCount(codeplug.ScanListCount) == 0 ? 1 : GetCount(codeplug.ScanListCount);
    if (count >= kMaxScanLists)
        return false;
    const std::uint32_t added = count + 1;
    SetCount(codeplug.ScanListCount, added);
    auto record = codeplug.ScanTable.record(added - 1);
    const std::string alias = CutToChars(TrimBlanks(FormatNumbered(aliasPattern, static_cast<int>(added))),
                                         AliasField::kMaxChars);
    record[ScanListField::AliasLength] = EncodeAlias(alias, record.subspan(ScanListField::Alias, AliasField::kBytes));
    return true;
}

namespace {

template <typename Table>
void ClearScanListReferences(Table& table, std::size_t inUse, std::size_t scanListField, std::size_t flagsField,
                             std::uint8_t autoScanBit, std::uint8_t list)
{
    for (std::size_t r = 0; r < inUse; ++r) {
        auto record = table.record(r);
        if (record[scanListField] == list) {
            record[scanListField] = 0;
            record[flagsField] &= static_cast<std::uint8_t>(~autoScanBit);
        }
    }
}

}  // namespace

bool DeleteScanList(Codeplug& codeplug, std::uint32_t& current)
{
    const std::uint32_t count = ScanListsInUse(codeplug);
    if (count <= 1)
        return false;
    const std::uint32_t remaining = count - 1;
    SetCount(codeplug.ScanListCount, remaining);
    const auto removed = static_cast<std::uint8_t>(remaining + 1);
    ClearScanListReferences(codeplug.AnalogChannelTable, AnalogChannelsInUse(codeplug), AnalogChannelField::ScanList,
                            AnalogChannelField::Flags, AnalogChannelField::kFlagAutoScan, removed);
    ClearScanListReferences(codeplug.DigitalChannelTable, DigitalChannelsInUse(codeplug),
                            DigitalChannelField::ScanList, DigitalChannelField::Flags1,
                            DigitalChannelField::kFlagAutoScan, removed);
    if (current >= remaining)
        current = remaining - 1;
    return true;
}

std::string FixedMemberText(MemberText text, UiLanguage language)
{
    const bool english = language == UiLanguage::English;
    switch (text) {
    case MemberText::Caption: return english ? "Prompt" : "提示";
    case MemberText::ZoneFull: return english ? "The zone is full!" : "信道组已满！";
    case MemberText::ZoneEmpty: return english ? "A zone cannot be empty!" : "信道组不能为空！";
    case MemberText::ScanFull: return english ? "The scan list is full!" : "扫描信道已满！";
    case MemberText::ScanEmpty: return english ? "A scan list cannot be empty!" : "扫描信道不能为空！";
    case MemberText::DigitalChannel: return english ? "Digital" : "数字信道";
    case MemberText::AnalogChannel: return english ? "Analog" : "模拟信道";
    case MemberText::ColumnNumber: return english ? "No." : "序号";
    case MemberText::ColumnMember: return english ? "No." : "信道";
    case MemberText::ColumnKind: return english ? "Type" : "信道类型";
    case MemberText::ColumnChannel: return english ? "Channel" : "信道号";
    case MemberText::ColumnRx: return english ? "RX frequency" : "接收频率";
    case MemberText::ColumnTx: return english ? "TX frequency" : "发射频率";
    case MemberText::ZoneAdd: return english ? "Add >>" : "增加>>";
    case MemberText::ZoneRemove: return english ? "<< Remove" : "<<移除";
    case MemberText::Alias: return english ? "Alias" : "别名";
    case MemberText::ZoneAvailable: return english ? "Available channels" : "可选信道";
    case MemberText::ZoneMembers: return english ? "Zone members" : "信道组成员";
    }
    return {};
}
