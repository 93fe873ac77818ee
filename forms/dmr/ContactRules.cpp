#include "forms/dmr/ContactRules.h"

#include <algorithm>
#include <vector>

#include "codeplug/Bytes.h"
#include "codeplug/Records.h"
#include "forms/channels/Encodings.h"
#include "forms/dmr/BcdId.h"

namespace contacts {

namespace F = ContactField;

namespace {

bool Listed(const Codeplug& codeplug, std::size_t contact) { return contact < Count(codeplug); }

void SetId(Codeplug& codeplug, std::size_t contact, std::uint32_t id)
{
    PutLE32(codeplug.ContactTable.record(contact), F::Id, id);
}

// A reference to contact `ref` after contact `deleted` of a list of `oldCount` left.
enum class RefFate { Keep, MoveDown, Deleted };
RefFate FateOf(std::size_t ref, std::size_t deleted, std::size_t oldCount)
{
    if (ref == deleted)
        return RefFate::Deleted;
    if (ref > deleted && ref < oldCount)
        return RefFate::MoveDown;
    return RefFate::Keep;  // an earlier contact, or no contact of the list at all
}

void FollowInChannels(Codeplug& codeplug, std::size_t deleted, std::size_t oldCount)
{
    const std::size_t channels = UsedRecords(GetCount(codeplug.DigitalChannelCount), codeplug.DigitalChannelTable);
    for (std::size_t i = 0; i < channels; ++i) {
        std::uint8_t& ref = codeplug.DigitalChannelTable.record(i)[DigitalChannelField::TxContact];
        switch (FateOf(ref, deleted, oldCount)) {
        case RefFate::Deleted: ref = 0; break;
        case RefFate::MoveDown: --ref; break;
        case RefFate::Keep: break;
        }
    }
}

void FollowInRxGroups(Codeplug& codeplug, std::size_t deleted, std::size_t oldCount)
{
    namespace G = RxGroupField;
    const std::size_t lists = UsedRecords(GetCount(codeplug.RxGroupCount), codeplug.RxGroupTable);
    for (std::size_t i = 0; i < lists; ++i) {
        auto list = codeplug.RxGroupTable.record(i);
        const std::size_t members = std::min<std::size_t>(list[G::MemberCount], G::kMaxMembers);
        std::vector<std::uint8_t> kept;
        for (std::size_t m = 0; m < members; ++m) {
            const std::uint8_t ref = list[G::Members + m];
            switch (FateOf(ref, deleted, oldCount)) {
            case RefFate::Deleted: break;
            case RefFate::MoveDown: kept.push_back(static_cast<std::uint8_t>(ref - 1)); break;
            case RefFate::Keep: kept.push_back(ref); break;
            }
        }
        if (kept.size() == members) {  // nothing removed: the count and unused bytes stay as stored
            std::copy(kept.begin(), kept.end(), list.begin() + G::Members);
            continue;
        }
        std::fill_n(list.begin() + G::Members, G::kMaxMembers, 0);
        std::copy(kept.begin(), kept.end(), list.begin() + G::Members);
        list[G::MemberCount] = static_cast<std::uint8_t>(kept.size());
    }
}

void FollowInOneTouch(Codeplug& codeplug, std::size_t deleted, std::size_t oldCount)
{
    namespace R = RadioSettingsField;
    for (std::size_t k = 0; k < R::kOneTouchEntries; ++k) {
        std::uint8_t& kind = codeplug.RadioSettings[R::OneTouchKind(k)];
        std::uint8_t& ref = codeplug.RadioSettings[R::OneTouchContact(k)];
        switch (FateOf(ref, deleted, oldCount)) {
        case RefFate::Deleted:
            kind = R::kOneTouchNone;
            ref = 0;
            break;
        case RefFate::MoveDown: --ref; break;
        case RefFate::Keep: break;
        }
    }
}

}  // namespace

std::size_t Count(const Codeplug& codeplug) { return UsedRecords(GetCount(codeplug.ContactCount), codeplug.ContactTable); }

std::uint8_t CallType(const Codeplug& codeplug, std::size_t contact)
{
    return codeplug.ContactTable.record(contact)[F::CallType];
}

std::uint32_t Id(const Codeplug& codeplug, std::size_t contact)
{
    return GetLE32(codeplug.ContactTable.record(contact), F::Id);
}

std::string Name(const Codeplug& codeplug, std::size_t contact)
{
    return DecodeContactName(codeplug.ContactTable.record(contact).subspan(F::Name, AliasField::kBytes));
}

std::string IdText(const Codeplug& codeplug, std::size_t contact)
{
    if (CallType(codeplug, contact) == F::kAllCall)
        return F::kAllCallIdText;
    return BcdIdToText(Id(codeplug, contact));
}

void RepairForShow(Codeplug& codeplug)
{
    for (std::size_t n = 0; n < Count(codeplug); ++n) {
        if (CallType(codeplug, n) == F::kAllCall)
            SetId(codeplug, n, F::kAllCallId);
        else if (Id(codeplug, n) >= kFirstReservedId)
            SetId(codeplug, n, kLargestShownId);
    }
}

std::uint32_t FreeSmallId(const Codeplug& codeplug)
{
    for (std::uint32_t candidate = 0x1; candidate <= 0x63; ++candidate) {
        if (!IsValidBcdId(candidate))
            continue;
        bool taken = false;
        for (std::size_t n = 0; n < codeplug.ContactTable.kCapacity && !taken; ++n)
            taken = Id(codeplug, n) == candidate;
        if (!taken)
            return candidate;
    }
    return 0x64;
}

bool CommitName(Codeplug& codeplug, std::size_t contact, std::string_view text)
{
    if (!Listed(codeplug, contact))
        return false;
    auto record = codeplug.ContactTable.record(contact);
    const std::string typed = CutToChars(text, kNameChars);
    record[F::NameLength] = EncodeContactName(typed, record.subspan(F::Name, AliasField::kBytes));
    return true;
}

CallTypeResult CommitCallType(Codeplug& codeplug, std::size_t contact, std::uint8_t callType)
{
    if (!Listed(codeplug, contact) || callType > F::kAllCall)
        return CallTypeResult::Refused;
    if (callType == F::kAllCall) {
        for (std::size_t n = 0; n < Count(codeplug); ++n)
            if (CallType(codeplug, n) == F::kAllCall)
                return CallTypeResult::AllCallExists;
    }
    codeplug.ContactTable.record(contact)[F::CallType] = callType;
    SetId(codeplug, contact, callType == F::kAllCall ? F::kAllCallId : FreeSmallId(codeplug));
    return CallTypeResult::Changed;
}

IdResult CommitId(Codeplug& codeplug, std::size_t contact, std::string_view text)
{
    if (!Listed(codeplug, contact) || CallType(codeplug, contact) == F::kAllCall)
        return IdResult::Refused;
    const std::uint32_t id = ParseBcdIdText(text.substr(0, kIdChars));
    SetId(codeplug, contact, id);
    const std::uint8_t type = CallType(codeplug, contact);
    for (std::size_t n = 0; n < Count(codeplug); ++n)
        if (n != contact && CallType(codeplug, n) == type && Id(codeplug, n) == id)
            return IdResult::Duplicate;
    return IdResult::Stored;
}

bool Add(Codeplug& codeplug, std::string_view name)
{
    const std::size_t n = Count(codeplug);
    if (n >= kMaxContacts)
        return false;
    auto record = codeplug.ContactTable.record(n);
    record[F::NameLength] = EncodeContactName(name, record.subspan(F::Name, AliasField::kBytes));
    record[F::CallType] = F::kGroupCall;
    SetId(codeplug, n, FreeSmallId(codeplug));
    SetCount(codeplug.ContactCount, static_cast<std::uint32_t>(n + 1));
    return true;
}

bool Delete(Codeplug& codeplug, std::size_t contact)
{
    const std::size_t oldCount = Count(codeplug);
    if (contact >= oldCount)
        return false;
    auto& bytes = codeplug.ContactTable.bytes;
    constexpr std::size_t kRecord = decltype(codeplug.ContactTable)::kRecordBytes;
    std::copy(bytes.begin() + static_cast<std::ptrdiff_t>((contact + 1) * kRecord),
              bytes.begin() + static_cast<std::ptrdiff_t>(oldCount * kRecord),
              bytes.begin() + static_cast<std::ptrdiff_t>(contact * kRecord));
    SetCount(codeplug.ContactCount, static_cast<std::uint32_t>(oldCount - 1));
    FollowInChannels(codeplug, contact, oldCount);
    FollowInRxGroups(codeplug, contact, oldCount);
    FollowInOneTouch(codeplug, contact, oldCount);
    return true;
}

}  // namespace contacts
