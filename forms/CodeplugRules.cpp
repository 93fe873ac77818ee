#include "forms/CodeplugRules.h"

#include <map>
#include <memory>

#include "codeplug/Bytes.h"
#include "codeplug/ProgrammingPassword.h"
#include "codeplug/Records.h"
#include "forms/channels/ChannelRules.h"
#include "forms/dmr/ContactRules.h"
#include "forms/dmr/RxGroupRules.h"

namespace {

const Section& Find(const std::vector<Section>& sections, std::string_view id)
{
    for (const Section& s : sections) {
        if (s.id == id)
            return s;
    }
    throw std::logic_error("no section " + std::string(id));
}

// The findings of record i, with `normalised` the same codeplug after NormaliseCodeplug.
void AddRecordFindings(const Codeplug& c, const Codeplug& normalised, const Section& s, std::size_t i,
                       std::vector<RuleFinding>& out)
{
    const FieldContext ctx = ContextOf(c);
    const auto r = s.record(i);
    const auto n = Find(Sections(normalised), s.id).record(i);
    for (const FieldDef& f : s.schema->fields) {
        const std::string label(f.label);
        if (const std::string problem = FieldProblem(f, r, ctx); !problem.empty()) {
            out.push_back({true, s.id, i, f.id, label + ": " + problem});
            continue;
        }
        if (f.codec == Codec::Frequency && GetLE32(r, f.offset) == 0)
            out.push_back({false, s.id, i, f.id, label + " is not set"});
        const FieldValue stored = ReadField(f, r);
        const FieldValue kept = ReadField(f, n);
        if (stored != kept)
            out.push_back({true, s.id, i, f.id,
                           label + " is " + ValueText(stored) + ", but with the other settings the forms store " +
                               ValueText(kept)});
    }
}

void AddTableFindings(const Codeplug& c, const Section& s, std::vector<RuleFinding>& out)
{
    if (s.table && s.storedCount() > s.capacity)
        out.push_back({true, s.id, RuleFinding::kWholeTable, {},
                       "count " + std::to_string(s.storedCount()) + " is above the table of " +
                           std::to_string(s.capacity)});
    if ((s.id == "analogChannels" || s.id == "digitalChannels") && s.storedCount() == 0)
        out.push_back({true, s.id, RuleFinding::kWholeTable, {}, "no channel in use"});
    if (s.id == "contacts") {
        std::map<std::pair<std::uint8_t, std::uint32_t>, std::size_t> ids;
        std::size_t allCall = s.capacity;
        for (std::size_t i = 0; i < s.used(); ++i) {
            const std::uint8_t type = contacts::CallType(c, i);
            if (type == ContactField::kAllCall) {
                if (allCall < s.capacity)
                    out.push_back({true, s.id, i, "callType",
                                   "a second all call (contact " + std::to_string(allCall + 1) + " is one)"});
                else
                    allCall = i;
                continue;
            }
            const auto [it, fresh] = ids.emplace(std::make_pair(type, contacts::Id(c, i)), i);
            if (!fresh)
                out.push_back({true, s.id, i, "id",
                               "the same ID " + contacts::IdText(c, i) + " as contact " + std::to_string(it->second + 1)});
        }
    }
    if (s.id == "zones" || s.id == "scanLists" || s.id == "rxGroupLists") {
        const FieldDef& members = *FindField(*s.schema, "members");
        for (std::size_t i = 0; i < s.used(); ++i) {
            if (s.record(i)[members.aux] == 0)
                out.push_back({false, s.id, i, "members", "has no members"});
        }
    }
}

}  // namespace

void NormaliseRecord(Codeplug& c, std::string_view section, std::size_t record)
{
    if (section == "analogChannels")
        NormaliseChannel(c.AnalogChannelTable.record(record), ChannelKind::Analog);
    else if (section == "digitalChannels")
        NormaliseChannel(c.DigitalChannelTable.record(record), ChannelKind::Digital);
    else if (section == "contacts")
        contacts::Normalise(c, record);
    else if (section == "rxGroupLists")
        rxgroups::CleanMembers(c, record);
    else if (section == "password")
        ShowProgrammingPassword(c);
    else if (section == "radioSettings")
        ClearForcedOffOptionBits(c);
}

void NormaliseCodeplug(Codeplug& c)
{
    for (const Section& s : Sections(c)) {
        for (std::size_t i = 0; i < s.used(); ++i)
            NormaliseRecord(c, s.id, i);
    }
}

std::vector<RuleFinding> RecordFindings(const Codeplug& c, const Section& s, std::size_t record)
{
    auto normalised = std::make_unique<Codeplug>(c);
    NormaliseRecord(*normalised, s.id, record);
    std::vector<RuleFinding> out;
    AddRecordFindings(c, *normalised, s, record, out);
    return out;
}

std::vector<RuleFinding> FindRuleProblems(const Codeplug& c)
{
    auto normalised = std::make_unique<Codeplug>(c);
    NormaliseCodeplug(*normalised);
    std::vector<RuleFinding> out;
    for (const Section& s : Sections(c)) {
        AddTableFindings(c, s, out);
        for (std::size_t i = 0; i < s.used(); ++i)
            AddRecordFindings(c, *normalised, s, i, out);
    }
    return out;
}
