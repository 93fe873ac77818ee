#include "forms/foreign/ImportPlan.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <memory>

#include "codeplug/Records.h"
#include "forms/CodeplugCheck.h"
#include "forms/CodeplugRules.h"
#include "forms/Sections.h"
#include "forms/channels/ChannelRules.h"
#include "forms/channels/Encodings.h"
#include "forms/channels/MemberRules.h"
#include "forms/dmr/ContactRules.h"
#include "forms/dmr/RxGroupRules.h"
#include "forms/foreign/ForeignValues.h"

namespace {

// The order rows are fitted in: what a list names comes before the list.
constexpr PlanKind kFitOrder[] = {PlanKind::RadioId,       PlanKind::Contact,        PlanKind::RxGroup,
                                  PlanKind::AnalogChannel, PlanKind::DigitalChannel, PlanKind::Zone,
                                  PlanKind::ScanList};
// The order records are stored in: scan lists before the channels that name them (their members
// are written last, once every channel is in place).
constexpr PlanKind kStoreOrder[] = {PlanKind::RadioId,       PlanKind::Contact,        PlanKind::RxGroup,
                                    PlanKind::ScanList,      PlanKind::AnalogChannel,  PlanKind::DigitalChannel,
                                    PlanKind::Zone};

struct KindInfo {
    const RecordSchema& schema;
    std::string_view section;  // the Section id of its table
    std::size_t capacity;
    const char* plural;  // "analog channels", for "the radio holds 16 analog channels"
};

KindInfo Info(PlanKind kind)
{
    switch (kind) {
    case PlanKind::RadioId: return {DmrSettingsSchema(), "dmrSettings", 1, "DMR radio ID"};
    case PlanKind::Contact: return {ContactSchema(), "contacts", contacts::kMaxContacts, "contacts"};
    case PlanKind::RxGroup: return {RxGroupSchema(), "rxGroupLists", rxgroups::kMaxLists, "receive group lists"};
    case PlanKind::ScanList: return {ScanListSchema(), "scanLists", kMaxScanLists, "scan lists"};
    case PlanKind::AnalogChannel: return {AnalogChannelSchema(), "analogChannels", kMaxChannels, "analog channels"};
    case PlanKind::DigitalChannel: return {DigitalChannelSchema(), "digitalChannels", kMaxChannels, "digital channels"};
    case PlanKind::Zone: return {ZoneSchema(), "zones", kZoneCount, "zones"};
    }
    return {ZoneSchema(), "zones", 0, ""};
}

bool IsChannel(PlanKind kind) { return kind == PlanKind::AnalogChannel || kind == PlanKind::DigitalChannel; }
bool IsList(PlanKind kind) { return kind == PlanKind::RxGroup || kind == PlanKind::ScanList || kind == PlanKind::Zone; }
ChannelKind ChannelKindOf(PlanKind kind)
{
    return kind == PlanKind::DigitalChannel ? ChannelKind::Digital : ChannelKind::Analog;
}

// Records of a kind the codeplug already has (what an append goes after).
std::size_t InUse(const Codeplug& c, PlanKind kind)
{
    switch (kind) {
    case PlanKind::Contact: return contacts::Count(c);
    case PlanKind::RxGroup: return rxgroups::Count(c);
    case PlanKind::ScanList: return ScanListsInUse(c);
    case PlanKind::AnalogChannel: return ChannelCount(c, ChannelKind::Analog);
    case PlanKind::DigitalChannel: return ChannelCount(c, ChannelKind::Digital);
    case PlanKind::RadioId:
    case PlanKind::Zone: return 0;  // written in place
    }
    return 0;
}

std::string ContactKeyOf(std::uint8_t callType, std::uint32_t packedId)
{
    return std::to_string(callType) + ":" + std::to_string(callType == ContactField::kAllCall ? 0 : packedId);
}

// Writes every value of the row into `record`; "" or the first refusal, as "field: reason".
std::string WriteValues(const PlanRow& row, std::span<std::uint8_t> record, const FieldContext& ctx,
                        std::vector<std::string>* notes)
{
    const RecordSchema& schema = Info(row.kind).schema;
    const FrequencyBand band = BandForRange(ctx.frequencyRange);
    for (const auto& [id, value] : row.values.items()) {
        const FieldDef* field = FindField(schema, id);
        if (field == nullptr)
            return id + ": not a field of a " + std::string(PlanKindLabel(row.kind));
        const std::string label(field->label);
        if (field->codec == Codec::Frequency && value.is_string()) {
            const auto hertz = ParseHertz(value.get<std::string>());
            if (hertz && (*hertz < band.lower || *hertz > band.upper))
                return label + ": " + MegahertzText(*hertz) + " MHz is outside the band " + FrequencyToText(band.lower) +
                       "-" + FrequencyToText(band.upper) + " MHz";
        }
        if (const std::string error = WriteField(*field, record, value, ctx); !error.empty())
            return label + ": " + error;
        if (notes != nullptr && field->codec == Codec::Frequency) {
            const FieldValue stored = ReadField(*field, record);
            if (stored != value)
                notes->push_back(label + ": " + value.get<std::string>() + " MHz stored as " + stored.get<std::string>() +
                                 " MHz (the channel raster)");
        }
    }
    return {};
}

// What FitPlan learns about where each row's records go, kept for ApplyPlan.
struct Fit {
    std::vector<RowFate> fates;
    std::map<std::string, std::size_t> contactAt;   // key -> 0-based contact
    std::map<std::string, std::size_t> groupAt;     // key -> 0-based receive group list
    std::map<std::string, std::size_t> scanAt;      // key -> 0-based scan list
    std::map<std::string, ChannelMember> channelAt; // key -> channel
};

Fit FitRows(const ImportPlan& plan, const std::vector<bool>& chosen, ImportMode mode, const Codeplug& codeplug)
{
    Fit fit;
    fit.fates.resize(plan.rows.size());
    const FieldContext ctx = ContextOf(codeplug);
    std::map<PlanKind, std::size_t> used;
    for (const PlanKind kind : kFitOrder)
        used[kind] = mode == ImportMode::Append ? InUse(codeplug, kind) : 0;

    // Contacts already in the list (append) or stored before (both) are not stored twice.
    std::map<std::string, std::size_t> contactIds;
    if (mode == ImportMode::Append) {
        for (std::size_t n = 0; n < contacts::Count(codeplug); ++n)
            contactIds.emplace(ContactKeyOf(contacts::CallType(codeplug, n), contacts::Id(codeplug, n)), n);
    }
    const auto memberStored = [&](const PlanRow& row) {
        for (const std::string& key : row.members) {
            const bool found = row.kind == PlanKind::RxGroup ? fit.contactAt.count(key) != 0
                                                             : fit.channelAt.count(key) != 0;
            if (found)
                return true;
        }
        return false;
    };

    for (const PlanKind kind : kFitOrder) {
        const KindInfo info = Info(kind);
        for (std::size_t i = 0; i < plan.rows.size(); ++i) {
            const PlanRow& row = plan.rows[i];
            if (row.kind != kind)
                continue;
            RowFate& fate = fit.fates[i];
            fate.refused = !row.problem.empty();
            fate.reason = row.problem;
            std::vector<std::uint8_t> scratch(info.schema.bytes, 0);
            if (!fate.refused) {
                fate.reason = WriteValues(row, scratch, ctx, &fate.notes);
                fate.refused = !fate.reason.empty();
            }
            if (fate.refused || i >= chosen.size() || !chosen[i]) {
                fate.reason = fate.refused ? fate.reason : "not chosen";
                fate.notes.clear();
                continue;
            }
            if (kind == PlanKind::Contact) {
                const std::string id = ContactKeyOf(scratch[ContactField::CallType], GetLE32(scratch, ContactField::Id));
                if (const auto same = contactIds.find(id); same != contactIds.end()) {
                    fate.reason = scratch[ContactField::CallType] == ContactField::kAllCall
                                      ? "the radio holds one all call: contact " + std::to_string(same->second + 1) + " is used"
                                      : "the same call and ID as contact " + std::to_string(same->second + 1) + ", which is used";
                    fit.contactAt[row.key] = same->second;
                    continue;
                }
            }
            if (IsList(kind) && !memberStored(row)) {
                fate.reason = "none of its members is imported";
                continue;
            }
            if (used[kind] >= info.capacity) {
                fate.reason = kind == PlanKind::RadioId ? "the radio holds one DMR radio ID"
                                                        : "over capacity: the radio holds " + std::to_string(info.capacity) +
                                                              " " + info.plural;
                continue;
            }
            fate.stored = true;
            fate.index = used[kind]++;
            switch (kind) {
            case PlanKind::Contact:
                fit.contactAt[row.key] = fate.index;
                contactIds.emplace(
                    ContactKeyOf(scratch[ContactField::CallType], GetLE32(scratch, ContactField::Id)), fate.index);
                break;
            case PlanKind::RxGroup: fit.groupAt[row.key] = fate.index; break;
            case PlanKind::ScanList: fit.scanAt[row.key] = fate.index; break;
            case PlanKind::AnalogChannel:
            case PlanKind::DigitalChannel:
                fit.channelAt[row.key] = {kind == PlanKind::DigitalChannel ? ChannelRef::kDigital : ChannelRef::kAnalog,
                                          static_cast<std::uint16_t>(fate.index)};
                break;
            case PlanKind::RadioId:
            case PlanKind::Zone: break;
            }
        }
    }
    return fit;
}

std::string ListName(PlanKind kind, std::size_t index)
{
    return std::string(PlanKindLabel(kind)) + " " + std::to_string(index + 1);
}

// The channel members a zone or scan list names, each once, in order; notes for the others.
MemberList ResolveChannels(const PlanRow& row, const Fit& fit, MemberList members, std::vector<std::string>& notes)
{
    for (const std::string& key : row.members) {
        const auto found = fit.channelAt.find(key);
        if (found == fit.channelAt.end()) {
            notes.push_back("member " + key + " is not imported");
            continue;
        }
        if (std::find(members.begin(), members.end(), found->second) != members.end())
            continue;
        if (members.size() >= kMaxListMembers) {
            notes.push_back("member " + key + " left out: a list holds " + std::to_string(kMaxListMembers) + " channels");
            continue;
        }
        members.push_back(found->second);
    }
    return members;
}

// Clears the tables the stored rows replace, through the delete rules. Channels keep their last
// record (a table is never empty); it goes once the first new channel is in. Receive group and
// scan list 1 stay as places to overwrite, and channels stop naming them.
void ClearForReplace(Codeplug& c, PlanKind kind)
{
    switch (kind) {
    case PlanKind::Contact:
        while (contacts::Count(c) > 0)
            contacts::Delete(c, contacts::Count(c) - 1);
        break;
    case PlanKind::RxGroup:
        while (rxgroups::DeleteLastList(c)) {
        }
        for (std::size_t i = 0; i < ChannelCount(c, ChannelKind::Digital); ++i) {
            std::uint8_t& list = c.DigitalChannelTable.record(i)[DigitalChannelField::RxGroupList];
            list = list == 1 ? 0 : list;
        }
        break;
    case PlanKind::ScanList: {
        std::uint32_t current = 0;
        while (DeleteScanList(c, current)) {
        }
        for (const ChannelKind k : {ChannelKind::Analog, ChannelKind::Digital}) {
            for (std::size_t i = 0; i < ChannelCount(c, k); ++i) {
                auto record = ChannelRecord(c, k, i);
                const std::size_t at = k == ChannelKind::Analog ? AnalogChannelField::ScanList : DigitalChannelField::ScanList;
                if (record[at] == 1) {
                    record[at] = 0;
                    NormaliseChannel(record, k);
                }
            }
        }
        break;
    }
    case PlanKind::AnalogChannel:
    case PlanKind::DigitalChannel:
        while (ChannelCount(c, ChannelKindOf(kind)) > 1)
            DeleteChannel(c, ChannelKindOf(kind), ChannelCount(c, ChannelKindOf(kind)) - 1);
        break;
    case PlanKind::RadioId:
    case PlanKind::Zone: break;
    }
}

class Applier {
public:
    Applier(const ImportPlan& plan, ImportMode mode, Fit& fit, Codeplug& work, std::vector<std::string>& notes)
        : plan_(plan), mode_(mode), fit_(fit), c_(work), notes_(notes), ctx_(ContextOf(work))
    {
    }

    // "" or why the import cannot be completed.
    std::string Run()
    {
        // Every new channel starts as a copy of channel 1 as the codeplug had it, as an added
        // channel does, so that fields the file does not give are the same for all.
        for (const ChannelKind kind : {ChannelKind::Analog, ChannelKind::Digital}) {
            const auto first = ChannelRecord(c_, kind, 0);
            templates_[kind == ChannelKind::Digital].assign(first.begin(), first.end());
        }
        for (const PlanKind kind : kStoreOrder) {
            const bool brought = std::any_of(plan_.rows.begin(), plan_.rows.end(), [&](const PlanRow& row) {
                return row.kind == kind && fit_.fates[static_cast<std::size_t>(&row - plan_.rows.data())].stored;
            });
            if (brought && mode_ == ImportMode::Replace)
                ClearForReplace(c_, kind);
            const std::size_t oldChannels = IsChannel(kind) ? ChannelCount(c_, ChannelKindOf(kind)) : 0;
            bool oldLastLeft = mode_ == ImportMode::Replace && oldChannels >= 1;
            for (std::size_t i = 0; i < plan_.rows.size(); ++i) {
                if (plan_.rows[i].kind != kind || !fit_.fates[i].stored)
                    continue;
                std::string error = Store(plan_.rows[i], fit_.fates[i]);
                // Zones and scan lists are judged once their members are in.
                if (error.empty() && kind != PlanKind::Zone && kind != PlanKind::ScanList)
                    error = Settle(kind, StoredIndex(kind, fit_.fates[i]));
                if (!error.empty())
                    return "row " + std::to_string(plan_.rows[i].number) + ": " + error;
                if (IsChannel(kind) && oldLastLeft) {
                    DeleteChannel(c_, ChannelKindOf(kind), 0);
                    oldLastLeft = false;
                }
            }
        }
        // Lists name channels, so their members are written once every channel is in place.
        for (std::size_t i = 0; i < plan_.rows.size(); ++i) {
            const PlanRow& row = plan_.rows[i];
            RowFate& fate = fit_.fates[i];
            if (!fate.stored || (row.kind != PlanKind::Zone && row.kind != PlanKind::ScanList))
                continue;
            const bool zone = row.kind == PlanKind::Zone;
            auto record = zone ? ZoneRecord(c_, static_cast<std::uint32_t>(fate.index))
                               : ScanListRecord(c_, static_cast<std::uint32_t>(fate.index));
            const MemberList kept = zone && mode_ == ImportMode::Append ? ReadMembers(record) : MemberList{};
            WriteMembers(record, ResolveChannels(row, fit_, kept, fate.notes),
                         zone ? MemberListKind::Zone : MemberListKind::ScanList);
            if (std::string error = Settle(row.kind, fate.index); !error.empty())
                return "row " + std::to_string(row.number) + ": " + error;
        }
        JoinFirstScanList();
        RevalidateMemberLists(c_);
        return {};
    }

private:
    const ImportPlan& plan_;
    ImportMode mode_;
    Fit& fit_;
    Codeplug& c_;
    std::vector<std::string>& notes_;
    FieldContext ctx_;
    std::vector<std::uint8_t> templates_[2];  // analog, digital

    // Where a stored record is now: channels and contacts were added at the end of their table.
    std::size_t StoredIndex(PlanKind kind, const RowFate& fate) const
    {
        if (kind == PlanKind::Contact)
            return contacts::Count(c_) - 1;
        if (IsChannel(kind))
            return ChannelCount(c_, ChannelKindOf(kind)) - 1;
        return fate.index;
    }

    // The dependent fields of a stored record set as the forms set them, then the record judged
    // by the rules every edit keeps: "" or its first error.
    std::string Settle(PlanKind kind, std::size_t index)
    {
        const std::string_view section = Info(kind).section;
        NormaliseRecord(c_, section, index);
        for (const Section& s : Sections(c_)) {
            if (s.id != section)
                continue;
            for (const RuleFinding& finding : RecordFindings(c_, s, index)) {
                if (finding.error)
                    return finding.what;
            }
        }
        return {};
    }

    std::string Store(const PlanRow& row, RowFate& fate)
    {
        std::span<std::uint8_t> record;
        switch (row.kind) {
        case PlanKind::RadioId: record = c_.DmrSettings; break;
        case PlanKind::Contact:
            if (!contacts::Add(c_, row.name))
                return "the contact list is full";
            record = c_.ContactTable.record(contacts::Count(c_) - 1);
            break;
        case PlanKind::RxGroup:
            if (!(mode_ == ImportMode::Replace && fate.index == 0) && !rxgroups::NewList(c_))
                return "the receive group lists are full";
            record = c_.RxGroupTable.record(fate.index);
            break;
        case PlanKind::ScanList:
            if (fate.index >= ScanListsInUse(c_) && !AddScanList(c_, "%d"))
                return "the scan lists are full";
            record = ScanListRecord(c_, static_cast<std::uint32_t>(fate.index));
            break;
        case PlanKind::AnalogChannel:
        case PlanKind::DigitalChannel:
            if (!AddChannel(c_, ChannelKindOf(row.kind)))
                return "the channel table is full";
            record = ChannelRecord(c_, ChannelKindOf(row.kind), ChannelCount(c_, ChannelKindOf(row.kind)) - 1);
            std::copy(templates_[row.kind == PlanKind::DigitalChannel].begin(),
                      templates_[row.kind == PlanKind::DigitalChannel].end(), record.begin());
            break;
        case PlanKind::Zone:
            // An append adds the zone's channels to the radio's zone and keeps its name.
            if (mode_ == ImportMode::Append)
                return {};
            record = ZoneRecord(c_, static_cast<std::uint32_t>(fate.index));
            break;
        }
        if (std::string error = WriteValues(row, record, ctx_, nullptr); !error.empty())
            return error;
        if (row.kind == PlanKind::RxGroup)
            return StoreGroupMembers(row, record, fate);
        if (IsChannel(row.kind))
            return StoreChannelLinks(row, record, fate);
        return {};
    }

    std::string StoreGroupMembers(const PlanRow& row, std::span<std::uint8_t> record, RowFate& fate)
    {
        FieldValue members = FieldValue::array();
        for (const std::string& key : row.members) {
            const auto found = fit_.contactAt.find(key);
            if (found == fit_.contactAt.end()) {
                fate.notes.push_back("member " + key + " is not imported");
            } else if (contacts::CallType(c_, found->second) != ContactField::kGroupCall) {
                fate.notes.push_back("member " + key + " left out: only group calls can be members");
            } else if (std::find(members.begin(), members.end(), found->second + 1) != members.end()) {
                continue;
            } else if (members.size() >= rxgroups::kMaxMembers) {
                fate.notes.push_back("member " + key + " left out: a list holds 16 contacts");
            } else {
                members.push_back(found->second + 1);
            }
        }
        return WriteField(*FindField(RxGroupSchema(), "members"), record, members, ctx_);
    }

    std::string StoreChannelLinks(const PlanRow& row, std::span<std::uint8_t> record, RowFate& fate)
    {
        const bool digital = row.kind == PlanKind::DigitalChannel;
        const RecordSchema& schema = Info(row.kind).schema;
        const auto link = [&](const char* field, const std::string& key, const std::map<std::string, std::size_t>& at,
                              const char* what, FieldValue none) -> std::string {
            FieldValue value = none;
            if (!key.empty()) {
                if (const auto found = at.find(key); found != at.end())
                    value = found->second + 1;
                else
                    fate.notes.push_back(std::string(what) + " " + key + " is not imported: " + ValueText(none));
            }
            return WriteField(*FindField(schema, field), record, value, ctx_);
        };
        std::string error;
        if (digital) {
            error = link("txContact", row.contact, fit_.contactAt, "transmit contact", "None");
            if (error.empty())
                error = link("rxGroupList", row.rxGroupList, fit_.groupAt, "receive group list", "Off");
        }
        if (error.empty() && row.joinsFirstScanList)
            error = WriteField(*FindField(schema, "scanList"), record, 1, ctx_);
        else if (error.empty())
            error = link("scanList", row.scanList, fit_.scanAt, "scan list", "Off");
        return error;
    }

    void JoinFirstScanList()
    {
        auto list = ScanListRecord(c_, 0);
        MemberList members = ReadMembers(list);
        const std::size_t before = members.size();
        for (std::size_t i = 0; i < plan_.rows.size(); ++i) {
            const PlanRow& row = plan_.rows[i];
            if (!fit_.fates[i].stored || !row.joinsFirstScanList)
                continue;
            const ChannelMember member = fit_.channelAt.at(row.key);
            if (std::find(members.begin(), members.end(), member) != members.end())
                continue;
            if (members.size() >= kMaxListMembers) {
                fit_.fates[i].notes.push_back("scan list 1 is full: the channel is not one of its members");
                continue;
            }
            members.push_back(member);
        }
        if (members.size() != before)
            WriteMembers(list, members, MemberListKind::ScanList);
    }
};

}  // namespace

std::string_view PlanKindLabel(PlanKind kind)
{
    switch (kind) {
    case PlanKind::RadioId: return "DMR radio ID";
    case PlanKind::Contact: return "Contact";
    case PlanKind::RxGroup: return "Receive group list";
    case PlanKind::ScanList: return "Scan list";
    case PlanKind::AnalogChannel: return "Analog channel";
    case PlanKind::DigitalChannel: return "Digital channel";
    case PlanKind::Zone: return "Zone";
    }
    return {};
}

std::string RowFate::Place(PlanKind kind) const
{
    return kind == PlanKind::RadioId ? std::string(PlanKindLabel(kind)) : ListName(kind, index);
}

std::vector<RowFate> FitPlan(const ImportPlan& plan, const std::vector<bool>& chosen, ImportMode mode,
                             const Codeplug& codeplug)
{
    return FitRows(plan, chosen, mode, codeplug).fates;
}

std::vector<bool> FittingRows(const ImportPlan& plan, ImportMode mode, const Codeplug& codeplug)
{
    const std::vector<RowFate> fates = FitPlan(plan, std::vector<bool>(plan.rows.size(), true), mode, codeplug);
    std::vector<bool> fitting;
    for (const RowFate& fate : fates)
        fitting.push_back(fate.stored);
    return fitting;
}

std::size_t ImportResult::Stored() const
{
    return static_cast<std::size_t>(std::count_if(fates.begin(), fates.end(), [](const RowFate& f) { return f.stored; }));
}

ImportResult ApplyPlan(const ImportPlan& plan, const std::vector<bool>& chosen, ImportMode mode, Codeplug& codeplug)
{
    ImportResult result;
    Fit fit = FitRows(plan, chosen, mode, codeplug);
    result.notes = plan.notes;
    auto work = std::make_unique<Codeplug>(codeplug);
    if (std::none_of(fit.fates.begin(), fit.fates.end(), [](const RowFate& f) { return f.stored; })) {
        result.fates = std::move(fit.fates);
        result.problems.push_back("no row can be stored");
        return result;
    }
    const std::string error = Applier(plan, mode, fit, *work, result.notes).Run();
    result.fates = std::move(fit.fates);
    if (!error.empty()) {
        result.problems.push_back(error);
        return result;
    }
    // Lists whose channels all went (a replace) are said so: the zone form would not leave one empty.
    for (std::uint32_t n = 0; n < kZoneCount + ScanListsInUse(*work); ++n) {
        const bool zone = n < kZoneCount;
        const std::uint32_t index = zone ? n : n - static_cast<std::uint32_t>(kZoneCount);
        const auto before = zone ? ZoneRecord(codeplug, index) : ScanListRecord(codeplug, index);
        const auto after = zone ? ZoneRecord(*work, index) : ScanListRecord(*work, index);
        if (ReadMembers(after).empty() && !ReadMembers(before).empty())
            result.notes.push_back(ListName(zone ? PlanKind::Zone : PlanKind::ScanList, index) + " (" +
                                   ValueText(ReadField(*FindField(zone ? ZoneSchema() : ScanListSchema(), "alias"), after)) +
                                   ") has no channels left");
    }
    // The gate a write passes: no error the codeplug did not have before.
    std::vector<std::string> before;
    for (const CheckFinding& f : CheckCodeplug(codeplug))
        before.push_back(f.Text());
    for (const CheckFinding& f : CheckCodeplug(*work)) {
        if (f.error && std::find(before.begin(), before.end(), f.Text()) == before.end())
            result.problems.push_back(f.Text());
    }
    if (result.problems.empty())
        codeplug = *work;
    return result;
}

std::vector<std::string> ReportLines(const ImportPlan& plan, const std::vector<RowFate>& fates,
                                     const std::vector<bool>& chosen)
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < plan.rows.size() && i < fates.size(); ++i) {
        const PlanRow& row = plan.rows[i];
        const RowFate& fate = fates[i];
        std::string line = "row " + std::to_string(row.number) + " (" + row.name + "): ";
        line += fate.stored ? fate.Place(row.kind) : "not stored: " + fate.reason;
        std::vector<std::string> notes = row.notes;
        if (i < chosen.size() && chosen[i])
            notes.insert(notes.end(), fate.notes.begin(), fate.notes.end());
        for (const std::string& note : notes)
            line += "; " + note;
        lines.push_back(std::move(line));
    }
    return lines;
}

bool RowNumbers::Contains(std::size_t number) const
{
    return std::any_of(ranges.begin(), ranges.end(),
                       [&](const auto& range) { return number >= range.first && number <= range.second; });
}

std::optional<RowNumbers> ParseRowNumbers(std::string_view text, std::string& error)
{
    RowNumbers numbers;
    std::size_t start = 0;
    const auto number = [](std::string_view digits, std::size_t& out) {
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), out);
        return ec == std::errc() && end == digits.data() + digits.size();
    };
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string part = TrimBlanks(text.substr(start, comma - start));
        start = comma + 1;
        const std::size_t dash = part.find('-');
        std::size_t from = 0, to = 0;
        const bool ok = dash == std::string::npos
                            ? number(part, from) && number(part, to)
                            : number(TrimBlanks(part.substr(0, dash)), from) && number(TrimBlanks(part.substr(dash + 1)), to);
        if (!ok || to < from) {
            error = "\"" + part + "\" is not a row number or a range such as 71-78";
            return std::nullopt;
        }
        numbers.ranges.emplace_back(from, to);
    }
    return numbers;
}

std::vector<bool> ChooseRows(const ImportPlan& plan, const RowNumbers& numbers)
{
    std::vector<bool> chosen;
    for (const PlanRow& row : plan.rows)
        chosen.push_back(numbers.Contains(row.number));
    return chosen;
}
