#include "forms/channels/ChannelRules.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "codeplug/Records.h"
#include "forms/channels/Encodings.h"

namespace {

namespace AF = AnalogChannelField;
namespace DF = DigitalChannelField;

std::uint8_t RefKind(ChannelKind kind) { return kind == ChannelKind::Digital ? ChannelRef::kDigital : ChannelRef::kAnalog; }

struct Member {
    std::uint8_t kind;
    std::uint16_t index;
    bool operator==(const Member&) const = default;
};

// A member list of a zone or scan-list record: the count byte and up to 16 three-byte entries.
struct MemberList {
    std::span<std::uint8_t> record;
    std::size_t countAt;
    std::size_t firstAt;
    std::size_t places;
    bool zeroFreedPlaces;  // scan lists keep the places past the count zero

    std::size_t MemberPlace(std::size_t m) const { return firstAt + ChannelRef::kBytes * m; }

    std::vector<Member> Read() const
    {
        std::vector<Member> members;
        const std::size_t count = std::min<std::size_t>(record[countAt], places);
        for (std::size_t m = 0; m < count; ++m) {
            const std::size_t at = MemberPlace(m);
            members.push_back({record[at + ChannelRef::Kind], GetLE16(record, at + ChannelRef::Index)});
        }
        return members;
    }

    void Write(const std::vector<Member>& members) const
    {
        const std::size_t previous = std::min<std::size_t>(record[countAt], places);
        for (std::size_t m = 0; m < members.size(); ++m) {
            const std::size_t at = MemberPlace(m);
            record[at + ChannelRef::Kind] = members[m].kind;
            PutLE16(record, at + ChannelRef::Index, members[m].index);
        }
        const std::size_t clearTo = zeroFreedPlaces ? places : previous;
        for (std::size_t m = members.size(); m < clearTo; ++m)
            std::fill_n(record.begin() + static_cast<std::ptrdiff_t>(MemberPlace(m)), ChannelRef::kBytes, 0);
        record[countAt] = static_cast<std::uint8_t>(members.size());
    }
};

MemberList ZoneMembers(Codeplug& codeplug, std::size_t zone)
{
    return {codeplug.ZoneTable.record(zone), ZoneField::MemberCount, ZoneField::Members, ZoneField::kMaxMembers, false};
}

MemberList ScanMembers(Codeplug& codeplug, std::size_t list)
{
    return {codeplug.ScanTable.record(list), ScanListField::MemberCount, ScanListField::Members,
            ScanListField::kMaxMembers, true};
}

// Every member list of the image, in use or not (a scan list that was deleted keeps its record
// and comes back with it).
std::vector<MemberList> AllMemberLists(Codeplug& codeplug)
{
    std::vector<MemberList> lists;
    for (std::size_t s = 0; s < codeplug.ScanTable.kCapacity; ++s)
        lists.push_back(ScanMembers(codeplug, s));
    for (std::size_t z = 0; z < codeplug.ZoneTable.kCapacity; ++z)
        lists.push_back(ZoneMembers(codeplug, z));
    return lists;
}

void FollowDeletedChannel(Codeplug& codeplug, ChannelKind kind, std::size_t deleted)
{
    const std::uint8_t refKind = RefKind(kind);
    for (const MemberList& list : AllMemberLists(codeplug)) {
        const std::vector<Member> before = list.Read();
        std::vector<Member> after;
        for (Member m : before) {
            if (m.kind == refKind && m.index == deleted)
                continue;
            if (m.kind == refKind && m.index > deleted)
                --m.index;
            after.push_back(m);
        }
        if (after != before)
            list.Write(after);
    }
}

template <typename Table>
std::span<std::uint8_t> TableBytes(Table& table)
{
    return std::span<std::uint8_t>(table.bytes.data(), table.bytes.size());
}

std::span<std::uint8_t> ChannelTableBytes(Codeplug& codeplug, ChannelKind kind)
{
    return kind == ChannelKind::Digital ? TableBytes(codeplug.DigitalChannelTable) : TableBytes(codeplug.AnalogChannelTable);
}

std::size_t ChannelRecordBytes(ChannelKind kind)
{
    return kind == ChannelKind::Digital ? decltype(Codeplug::DigitalChannelTable)::kRecordBytes
                                        : decltype(Codeplug::AnalogChannelTable)::kRecordBytes;
}

Block<1>& CountBlock(Codeplug& codeplug, ChannelKind kind)
{
    return kind == ChannelKind::Digital ? codeplug.DigitalChannelCount : codeplug.AnalogChannelCount;
}

bool ChannelExists(const Codeplug& codeplug, Member m)
{
    if (m.kind == ChannelRef::kDigital)
        return m.index < ChannelCount(codeplug, ChannelKind::Digital);
    if (m.kind == ChannelRef::kAnalog)
        return m.index < ChannelCount(codeplug, ChannelKind::Analog);
    return false;
}

std::size_t ScanListAt(ChannelKind kind) { return kind == ChannelKind::Digital ? DF::ScanList : AF::ScanList; }
std::size_t AutoScanFlags(ChannelKind kind) { return kind == ChannelKind::Digital ? DF::Flags1 : AF::Flags; }

// Leading blanks skipped, then decimal digits up to the first other character; saturates.
std::uint32_t LeadingNumber(std::string_view text, bool* anyDigit)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    std::uint32_t value = 0;
    *anyDigit = false;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        *anyDigit = true;
        value = std::min<std::uint32_t>(value * 10 + static_cast<std::uint32_t>(text[i] - '0'), 1000000);
    }
    return value;
}

// A stored 1-based tone index as a position of a list of `entries`: -1 when it names no entry.
int ListPosition(std::uint8_t toneIndex, std::size_t entries)
{
    return toneIndex >= 1 && toneIndex <= entries ? toneIndex - 1 : -1;
}

std::uint8_t IndexOfPosition(int position) { return static_cast<std::uint8_t>(position < 0 ? 0 : position + 1); }

int ValuePositionFor(const ToneControls& c)
{
    switch (c.type) {
    case kToneCtcss: return c.ctcss;
    case kToneDcs: return c.dcs;
    case kToneDcsInverted: return c.inverted;
    default: return -1;
    }
}

}  // namespace

std::size_t ChannelCount(const Codeplug& codeplug, ChannelKind kind)
{
    const std::uint32_t count =
        GetCount(kind == ChannelKind::Digital ? codeplug.DigitalChannelCount : codeplug.AnalogChannelCount);
    return std::min<std::size_t>(count, kMaxChannels);
}

std::span<std::uint8_t> ChannelRecord(Codeplug& codeplug, ChannelKind kind, std::size_t index)
{
    if (kind == ChannelKind::Digital)
        return codeplug.DigitalChannelTable.record(index);
    return codeplug.AnalogChannelTable.record(index);
}

std::size_t BoundedChannelIndex(std::uint32_t index) { return std::min<std::size_t>(index, kMaxChannels - 1); }

bool AddChannel(Codeplug& codeplug, ChannelKind kind)
{
    const std::uint32_t stored = GetCount(CountBlock(codeplug, kind));
    if (stored >= kMaxChannels)
        return false;
    const std::span<std::uint8_t> first = ChannelRecord(codeplug, kind, 0);
    const std::span<std::uint8_t> added = ChannelRecord(codeplug, kind, stored);
    std::copy(first.begin(), first.end(), added.begin());
    SetCount(CountBlock(codeplug, kind), stored + 1);
    RevalidateMemberLists(codeplug);
    return true;
}

bool DeleteChannel(Codeplug& codeplug, ChannelKind kind, std::size_t index)
{
    const std::size_t count = ChannelCount(codeplug, kind);
    if (count <= 1 || index >= count)
        return false;
    const std::span<std::uint8_t> table = ChannelTableBytes(codeplug, kind);
    const std::size_t recordBytes = ChannelRecordBytes(kind);
    const auto at = [&](std::size_t record) { return table.begin() + static_cast<std::ptrdiff_t>(record * recordBytes); };
    std::copy(at(index + 1), at(count), at(index));
    std::fill(at(count - 1), table.end(), 0);
    SetCount(CountBlock(codeplug, kind), static_cast<std::uint32_t>(count - 1));
    FollowDeletedChannel(codeplug, kind, index);
    RevalidateMemberLists(codeplug);
    return true;
}

std::size_t ChannelShownAfterDelete(const Codeplug& codeplug, ChannelKind kind, std::size_t deleted)
{
    const std::size_t count = ChannelCount(codeplug, kind);
    return count == 0 ? 0 : std::min(deleted, count - 1);
}

void RevalidateMemberLists(Codeplug& codeplug)
{
    std::vector<MemberList> lists;
    const std::size_t scanLists = UsedRecords(GetCount(codeplug.ScanListCount), codeplug.ScanTable);
    for (std::size_t s = 0; s < scanLists; ++s)
        lists.push_back(ScanMembers(codeplug, s));
    for (std::size_t z = 0; z < codeplug.ZoneTable.kCapacity; ++z)
        lists.push_back(ZoneMembers(codeplug, z));
    for (const MemberList& list : lists) {
        std::vector<Member> kept = list.Read();
        const std::size_t read = kept.size();
        std::erase_if(kept, [&](Member m) { return !ChannelExists(codeplug, m); });
        if (kept.size() != read || list.record[list.countAt] != read)
            list.Write(kept);
    }
}

void CopyReceiveToTransmit(Codeplug& codeplug, ChannelKind kind, std::size_t index)
{
    const std::span<std::uint8_t> r = ChannelRecord(codeplug, kind, index);
    if (kind == ChannelKind::Analog) {
        PutLE32(r, AF::TxFrequency, GetLE32(r, AF::RxFrequency));
        r[AF::TxToneIndex] = r[AF::RxToneIndex];
        r[AF::TxToneType] = TxToneTypeFromRx(r[AF::RxToneType]);
    } else {
        PutLE32(r, DF::TxFrequency, GetLE32(r, DF::RxFrequency));
        r[DF::TxColourCode] = r[DF::RxColourCode];
    }
    NormaliseChannel(r, kind);  // equal frequencies now: the "differ" bit goes, as the next show has it
}

bool RepairAutoScan(std::span<std::uint8_t> record, ChannelKind kind)
{
    if (record[ScanListAt(kind)] != 0)
        return true;
    static_assert(AF::kFlagAutoScan == DF::kFlagAutoScan);
    record[AutoScanFlags(kind)] &= static_cast<std::uint8_t>(~AF::kFlagAutoScan);
    return false;
}

bool RepairDirectMode(std::span<std::uint8_t> record)
{
    std::uint8_t& flags = record[DF::Flags2];
    if (GetLE32(record, DF::RxFrequency) == GetLE32(record, DF::TxFrequency)) {
        flags &= static_cast<std::uint8_t>(~DF::kFlagFrequenciesDiffer);
        return true;
    }
    flags |= DF::kFlagFrequenciesDiffer;
    flags &= static_cast<std::uint8_t>(~DF::kDirectModeMask);
    return false;
}

bool RepairEncryptionKey(std::span<std::uint8_t> record)
{
    if ((record[DF::Flags1] & DF::kFlagEncryption) != 0) {
        if (GetLE16(record, DF::EncryptionKey) == 0)
            PutLE16(record, DF::EncryptionKey, 1);  // the lowest key, as the key box stores "0"
        return true;
    }
    PutLE16(record, DF::EncryptionKey, 0);
    return false;
}

void NormaliseChannel(std::span<std::uint8_t> record, ChannelKind kind)
{
    RepairAutoScan(record, kind);
    if (kind == ChannelKind::Digital) {
        RepairDirectMode(record);
        RepairEncryptionKey(record);
    }
}

std::uint16_t EncryptionKeyFromText(std::string_view text)
{
    bool anyDigit = false;
    const std::uint32_t value = LeadingNumber(text, &anyDigit);
    if (!anyDigit || value == 0)
        return 1;
    return static_cast<std::uint16_t>(std::min<std::uint32_t>(value, 65535));
}

std::uint32_t FrequencyFromBoxText(std::string_view text, std::uint8_t frequencyRange)
{
    return TextToFrequency(NormaliseFrequencyText(text, frequencyRange));
}

ToneControls ShowReceiveTone(std::uint8_t toneType, std::uint8_t toneIndex)
{
    ToneControls c;
    switch (toneType) {
    case 0x04: c.tail = 1; break;
    case 0x42:
    case 0x44:
        c.type = c.enabledList = kToneCtcss;
        c.ctcss = ListPosition(toneIndex, CtcssList.size());
        break;
    case 0xC2:
    case 0xC4:
        c.type = c.enabledList = kToneDcs;
        c.dcs = ListPosition(toneIndex, DcsList.size());
        break;
    case 0xE2:
    case 0xE4:
        c.type = c.enabledList = kToneDcsInverted;
        c.inverted = ListPosition(toneIndex, DcsList.size());
        break;
    default: return c;  // 0x02 and anything unknown: no tone, first tail choice
    }
    if (toneType != 0x04)
        c.tail = UsesSecondTail(toneType) ? 1 : 0;
    return c;
}

ToneControls ShowTransmitTone(std::uint8_t toneType, std::uint8_t toneIndex)
{
    // A type the forms never write shows what its bits mean, so that committing the form for
    // another field stores a valid tone (0x00 is no tone) and never a CTCSS tone without a value.
    if (toneType != 0x04 && toneType != 0x44 && toneType != 0xC4 && toneType != 0xE4)
        toneType = ToneTypeFor(ToneKindOf(toneType), true);
    ToneControls c;
    switch (toneType) {
    case 0x04: break;
    case 0x44:
        c.type = c.enabledList = kToneCtcss;
        c.ctcss = ListPosition(toneIndex, CtcssList.size());
        break;
    case 0xC4:
        c.type = c.enabledList = kToneDcs;
        c.dcs = ListPosition(toneIndex, DcsList.size());
        break;
    case 0xE4:
        c.type = c.enabledList = kToneDcsInverted;
        c.inverted = ListPosition(toneIndex, DcsList.size());
        break;
    default:  // a type the forms never write: shown as CTCSS, nothing to choose until a type is picked
        c.type = kToneCtcss;
        c.ctcss = ListPosition(toneIndex, CtcssList.size());
        break;
    }
    return c;
}

StoredTone CommitReceiveTone(const ToneControls& c)
{
    const bool second = c.tail == 1;
    if (c.type < kToneNone || c.type > kToneDcsInverted)
        return {static_cast<std::uint8_t>(second ? 0x04 : 0x02), 1};
    if (c.type == kToneNone)
        return {static_cast<std::uint8_t>(second ? 0x04 : 0x02), 0};
    static constexpr std::uint8_t kFirst[] = {0x02, 0x42, 0xC2, 0xE2};
    static constexpr std::uint8_t kSecond[] = {0x04, 0x44, 0xC4, 0xE4};
    return {(second ? kSecond : kFirst)[c.type], IndexOfPosition(ValuePositionFor(c))};
}

StoredTone CommitTransmitTone(const ToneControls& c)
{
    if (c.type < kToneNone || c.type > kToneDcsInverted)
        return {0x04, 1};
    if (c.type == kToneNone)
        return {0x04, 0};
    static constexpr std::uint8_t kTypes[] = {0x04, 0x44, 0xC4, 0xE4};
    return {kTypes[c.type], IndexOfPosition(ValuePositionFor(c))};
}

int ChoicePosition(std::uint32_t stored, int entries)
{
    return entries > 0 && stored < static_cast<std::uint32_t>(entries) ? static_cast<int>(stored) : -1;
}

std::size_t ContactListSize(const Codeplug& codeplug)
{
    return UsedRecords(GetCount(codeplug.ContactCount), codeplug.ContactTable);
}

std::string ContactListName(const Codeplug& codeplug, std::size_t contact)
{
    const auto record = codeplug.ContactTable.record(contact);
    return DecodeContactName(record.subspan(ContactField::Name, AliasField::kBytes));
}
