#include "forms/dmr/RxGroupRules.h"

#include <algorithm>

#include "codeplug/Records.h"
#include "forms/channels/Encodings.h"
#include "forms/dmr/ContactRules.h"

namespace rxgroups {

namespace G = RxGroupField;

namespace {

std::size_t MemberCount(const Codeplug& codeplug, std::size_t list)
{
    return std::min<std::size_t>(codeplug.RxGroupTable.record(list)[G::MemberCount], kMaxMembers);
}

void WriteMembers(Codeplug& codeplug, std::size_t list, const std::vector<std::uint8_t>& members)
{
    auto record = codeplug.RxGroupTable.record(list);
    std::fill_n(record.begin() + G::Members, kMaxMembers, 0);
    std::copy(members.begin(), members.end(), record.begin() + G::Members);
    record[G::MemberCount] = static_cast<std::uint8_t>(members.size());
}

std::vector<std::uint8_t> Members(const Codeplug& codeplug, std::size_t list)
{
    const auto record = codeplug.RxGroupTable.record(list);
    return {record.begin() + G::Members, record.begin() + static_cast<std::ptrdiff_t>(G::Members + MemberCount(codeplug, list))};
}

}  // namespace

std::size_t Count(const Codeplug& codeplug) { return UsedRecords(GetCount(codeplug.RxGroupCount), codeplug.RxGroupTable); }

std::size_t Bounded(std::uint32_t current) { return std::min<std::size_t>(current, kMaxLists - 1); }

std::string Name(const Codeplug& codeplug, std::size_t list)
{
    const auto record = codeplug.RxGroupTable.record(list);
    return DecodeAlias(record[G::NameLength], record.subspan(G::Name, AliasField::kBytes));
}

bool CommitName(Codeplug& codeplug, std::size_t list, std::string_view text)
{
    auto record = codeplug.RxGroupTable.record(list);
    return StoreAlias(text, kNameChars, record[G::NameLength], record.subspan(G::Name, AliasField::kBytes));
}

std::vector<std::uint8_t> CleanMembers(Codeplug& codeplug, std::size_t list)
{
    std::vector<std::uint8_t> kept;
    for (std::uint8_t contact : Members(codeplug, list)) {
        const bool inTable = contact < codeplug.ContactTable.kCapacity;
        if (inTable && contacts::CallType(codeplug, contact) == ContactField::kGroupCall)
            kept.push_back(contact);
    }
    WriteMembers(codeplug, list, kept);
    return kept;
}

std::vector<std::uint8_t> AvailableContacts(const Codeplug& codeplug, std::size_t list)
{
    const std::vector<std::uint8_t> members = Members(codeplug, list);
    std::vector<std::uint8_t> available;
    for (std::size_t n = 0; n < contacts::Count(codeplug); ++n) {
        const auto contact = static_cast<std::uint8_t>(n);
        if (contacts::CallType(codeplug, n) == ContactField::kGroupCall &&
            std::find(members.begin(), members.end(), contact) == members.end())
            available.push_back(contact);
    }
    return available;
}

bool AddMember(Codeplug& codeplug, std::size_t list, std::uint8_t contact)
{
    std::vector<std::uint8_t> members = Members(codeplug, list);
    if (members.size() >= kMaxMembers)
        return false;
    members.push_back(contact);
    WriteMembers(codeplug, list, members);
    return true;
}

RemoveResult RemoveMember(Codeplug& codeplug, std::size_t list, std::size_t position)
{
    std::vector<std::uint8_t> members = Members(codeplug, list);
    if (members.size() <= 1)
        return RemoveResult::LastMember;
    if (position >= members.size())
        return RemoveResult::NoSelection;
    members.erase(members.begin() + static_cast<std::ptrdiff_t>(position));
    WriteMembers(codeplug, list, members);
    return RemoveResult::Removed;
}

bool NewList(Codeplug& codeplug)
{
    const std::size_t count = Count(codeplug);
    if (count >= kMaxLists)
        return false;
    const auto first = codeplug.RxGroupTable.record(0);
    std::copy(first.begin(), first.end(), codeplug.RxGroupTable.record(count).begin());
    SetCount(codeplug.RxGroupCount, static_cast<std::uint32_t>(count + 1));
    return true;
}

bool DeleteLastList(Codeplug& codeplug)
{
    const std::size_t count = Count(codeplug);
    if (count <= 1)
        return false;
    auto last = codeplug.RxGroupTable.record(count - 1);
    std::fill(last.begin(), last.end(), 0);
    SetCount(codeplug.RxGroupCount, static_cast<std::uint32_t>(count - 1));
    const std::size_t channels = UsedRecords(GetCount(codeplug.DigitalChannelCount), codeplug.DigitalChannelTable);
    for (std::size_t i = 0; i < channels; ++i) {
        std::uint8_t& ref = codeplug.DigitalChannelTable.record(i)[DigitalChannelField::RxGroupList];
        if (ref == count)  // lists are numbered from 1 in a channel
            ref = 0;
    }
    return true;
}

}  // namespace rxgroups
