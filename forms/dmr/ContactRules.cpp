#include "forms/dmr/ContactRules.h"

#include <algorithm>
#include <vector>

#include "codeplug/Bytes.h"
#include "codeplug/Records.h"
#include "forms/channels/Encodings.h"
#include "codeplug/BcdId.h"

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

// Channels naming the deleted contact fall back to the first contact, or to none when no contact
// is left (what the channel form stores with an empty contact list).
void FollowInChannels(Codeplug& codeplug, std::size_t deleted, std::size_t oldCount)
{
    const std::size_t channels = UsedRecords(GetCount(codeplug.DigitalChannelCount), codeplug.DigitalChannelTable);
    for (std::size_t i = 0; i < channels; ++i) {
        std::uint8_t& ref = codeplug.DigitalChannelTable.record(i)[DigitalChannelField::TxContact];
        switch (FateOf(ref, deleted, oldCount)) {
        case RefFate::Deleted: ref = oldCount > 1 ? 0 : kNoContact; break;
        case RefFate::MoveDown: --ref; break;
        case RefFate::Keep: break;
        }
    }
}

// Receive-group members of contact `changed` leave their lists (it was deleted, or it is no
// longer a group call); with a delete, members naming later contacts move down one place.
void FollowInRxGroups(Codeplug& codeplug, std::size_t changed, std::size_t oldCount, bool deleted = true)
{
    namespace G = RxGroupField;
    const std::size_t lists = UsedRecords(GetCount(codeplug.RxGroupCount), codeplug.RxGroupTable);
    for (std::size_t i = 0; i < lists; ++i) {
        auto list = codeplug.RxGroupTable.record(i);
        const std::size_t members = std::min<std::size_t>(list[G::MemberCount], G::kMaxMembers);
        std::vector<std::uint8_t> kept;
        for (std::size_t m = 0; m < members; ++m) {
            const std::uint8_t ref = list[G::Members + m];
            const RefFate fate = FateOf(ref, changed, oldCount);
            switch (deleted || fate == RefFate::Deleted ? fate : RefFate::Keep) {
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

// One-touch entries naming contact `changed` become "no call" (it was deleted, or it became an
// all call, which a one-touch entry cannot name); with a delete, later contacts move down.
void FollowInOneTouch(Codeplug& codeplug, std::size_t changed, std::size_t oldCount, bool deleted = true)
{
    namespace R = RadioSettingsField;
    for (std::size_t k = 0; k < R::kOneTouchEntries; ++k) {
        std::uint8_t& kind = codeplug.RadioSettings[R::OneTouchKind(k)];
        std::uint8_t& ref = codeplug.RadioSettings[R::OneTouchContact(k)];
        if (kind != R::kOneTouchCall && !deleted)
            continue;
        const RefFate fate = FateOf(ref, changed, oldCount);
        switch (deleted || fate == RefFate::Deleted ? fate : RefFate::Keep) {
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

void Normalise(Codeplug& codeplug, std::size_t contact)
{
    if (CallType(codeplug, contact) == F::kAllCall)
        SetId(codeplug, contact, F::kAllCallId);
    else if (Id(codeplug, contact) >= kFirstReservedId)
        SetId(codeplug, contact, kMaxBcdId);
}

void RepairForShow(Codeplug& codeplug)
{
    for (std::size_t n = 0; n < Count(codeplug); ++n)
        Normalise(codeplug, n);
}

std::optional<std::size_t> FindDuplicateId(const Codeplug& codeplug, std::size_t contact, std::uint32_t id)
{
    const std::uint8_t type = CallType(codeplug, contact);
    for (std::size_t n = 0; n < Count(codeplug); ++n)
        if (n != contact && CallType(codeplug, n) == type && type != F::kAllCall && Id(codeplug, n) == id)
            return n;
    return std::nullopt;
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
    if (!NameProblem(text, kNameChars, AliasField::kBytes).empty())
        return false;
    auto record = codeplug.ContactTable.record(contact);
    record[F::NameLength] = EncodeContactName(text, record.subspan(F::Name, AliasField::kBytes));
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
    // What lists may no longer hold it leave it at once, so no write ever carries it.
    if (callType != F::kGroupCall)
        FollowInRxGroups(codeplug, contact, Count(codeplug), false);
    if (callType == F::kAllCall)
        FollowInOneTouch(codeplug, contact, Count(codeplug), false);
    return CallTypeResult::Changed;
}

IdResult CommitId(Codeplug& codeplug, std::size_t contact, std::string_view text)
{
    if (!Listed(codeplug, contact) || CallType(codeplug, contact) == F::kAllCall)
        return IdResult::Refused;
    const std::uint32_t id = ParseBcdIdText(text.substr(0, kIdChars));
    if (FindDuplicateId(codeplug, contact, id))
        return IdResult::Duplicate;  // the contact keeps the ID it had
    SetId(codeplug, contact, id);
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
    // Channels that could name no contact so far name the first one, as their form then shows.
    const std::size_t channels = UsedRecords(GetCount(codeplug.DigitalChannelCount), codeplug.DigitalChannelTable);
    for (std::size_t i = 0; i < channels && n == 0; ++i) {
        std::uint8_t& ref = codeplug.DigitalChannelTable.record(i)[DigitalChannelField::TxContact];
        if (ref == kNoContact)
            ref = 0;
    }
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
