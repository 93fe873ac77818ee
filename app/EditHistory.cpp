#include "app/EditHistory.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <string_view>

#include "core/AppContext.h"
#include "forms/CodeplugDiff.h"
#include "forms/FieldSchema.h"

namespace {

template <typename T>
bool SameBytes(const T& a, const T& b)
{
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// The section of the "Edit" texts that names a codeplug section: a record of it (the pattern
// with its number) and the section as a whole. Blocks have no record pattern.
struct Target {
    std::string_view section;
    int record;  // 0: a block
    int whole;
};
constexpr Target kTargets[] = {
    {"digitalChannels", 20, 30}, {"analogChannels", 21, 31}, {"zones", 22, 32}, {"scanLists", 23, 33},
    {"contacts", 24, 34},        {"rxGroupLists", 25, 35},   {"messages", 26, 36},
    {"radioSettings", 0, 40},    {"functionExtra", 0, 40},    {"dmrSettings", 0, 41},
    {"identity", 0, 42},         {"recordE2", 0, 42},         {"radioInfo", 0, 42},
    {"fileMarker", 0, 42},       {"password", 0, 43},
};
constexpr int kDigitalAlarm = 27, kAnalogAlarm = 28, kDigitalAlarms = 37, kAnalogAlarms = 38;
constexpr int kVox = 44, kMonitor = 45;

const Target* TargetOf(std::string_view section)
{
    for (const Target& t : kTargets)
        if (t.section == section)
            return &t;
    return nullptr;
}

bool IsNameField(const FieldDef* field)
{
    return field != nullptr && (field->codec == Codec::Alias || field->codec == Codec::ContactName);
}

// A change of the codeplug. The table whose count moved by one names an add or a delete (the
// other sections changed only by following its renumbering); otherwise one record, one table
// or several places.
ChangeName NameCodeplugChange(const std::vector<CodeplugChange>& changes)
{
    std::vector<const CodeplugChange*> counts;
    for (const CodeplugChange& c : changes)
        if (c.kind == CodeplugChange::Kind::Count)
            counts.push_back(&c);
    if (counts.size() == 1) {
        const std::string_view section = counts.front()->section;
        const Target* target = TargetOf(section);
        bool added = false;
        std::size_t first = SIZE_MAX;  // the first record of the table that differs
        for (const CodeplugChange& c : changes) {
            if (c.section != section || c.kind == CodeplugChange::Kind::Count)
                continue;
            added = added || c.kind == CodeplugChange::Kind::Added;
            if (c.kind != CodeplugChange::Kind::Bytes || c.record < counts.front()->record)
                first = std::min(first, c.record);
        }
        if (target != nullptr && target->record != 0 && first != SIZE_MAX)
            return {added ? EditKey::Add : EditKey::Delete, target->record, first + 1, {}};
    }
    std::set<std::pair<std::string_view, std::size_t>> records;
    std::set<std::string_view> sections;
    bool onlyNames = true;
    for (const CodeplugChange& c : changes) {
        records.insert({c.section, c.record});
        sections.insert(c.section);
        onlyNames = onlyNames && c.kind == CodeplugChange::Kind::Field && IsNameField(c.field);
    }
    if (sections.size() != 1)
        return {};
    const Target* target = TargetOf(*sections.begin());
    if (target == nullptr)
        return {};
    if (records.size() == 1 && target->record != 0)
        return {onlyNames ? EditKey::Rename : EditKey::Change, target->record, records.begin()->second + 1, {}};
    return {EditKey::Change, target->whole, 0, {}};
}

// A change of one alarm table: a system added or deleted (the systems in use changed), one
// system changed, or the table.
template <typename Table>
ChangeName NameAlarmChange(const Table& before, const Table& after, int record, int whole)
{
    const std::size_t was = emergency::SystemsInUse(before), is = emergency::SystemsInUse(after);
    if (is == was + 1)
        return {EditKey::Add, record, is, {}};
    std::vector<std::size_t> differing;
    for (std::size_t i = 0; i < Table::kCapacity; ++i)
        if (!std::equal(before.record(i).begin(), before.record(i).end(), after.record(i).begin()))
            differing.push_back(i);
    if (is + 1 == was)
        return {EditKey::Delete, record, differing.empty() ? was : differing.front() + 1, {}};
    if (differing.size() == 1)
        return {EditKey::Change, record, differing.front() + 1, {}};
    return {EditKey::Change, whole, 0, {}};
}

}  // namespace

bool DocumentState::operator==(const DocumentState& other) const
{
    return SameBytes(codeplug, other.codeplug) && SameBytes(alarms, other.alarms) && SameBytes(monitor, other.monitor) &&
           vox == other.vox;
}

DocumentState CaptureDocument(const AppContext& context)
{
    return {context.codeplug, context.alarms, context.monitor, context.vox};
}

void RestoreDocument(AppContext& context, const DocumentState& state)
{
    context.codeplug = state.codeplug;
    context.alarms = state.alarms;
    context.monitor = state.monitor;
    context.vox = state.vox;
}

ChangeName NameChange(const DocumentState& before, const DocumentState& after)
{
    const bool codeplug = !SameBytes(before.codeplug, after.codeplug);
    const bool digital = !SameBytes(before.alarms.digital, after.alarms.digital);
    const bool analog = !SameBytes(before.alarms.analog, after.alarms.analog);
    const bool monitor = !SameBytes(before.monitor, after.monitor);
    const bool vox = !(before.vox == after.vox);
    if (codeplug + digital + analog + monitor + vox != 1)
        return {};
    if (codeplug)
        return NameCodeplugChange(DiffCodeplugChanges(before.codeplug, after.codeplug));
    if (digital)
        return NameAlarmChange(before.alarms.digital, after.alarms.digital, kDigitalAlarm, kDigitalAlarms);
    if (analog)
        return NameAlarmChange(before.alarms.analog, after.alarms.analog, kAnalogAlarm, kAnalogAlarms);
    return {EditKey::Change, monitor ? kMonitor : kVox, 0, {}};
}

std::string ChangeText(const ChangeName& name, const TextCatalogue& text)
{
    std::string target = name.verb == EditKey::Import ? name.file : "";
    if (name.target != 0) {
        target = text.GetText("Edit", name.target);
        if (name.number != 0)
            target = FormatNumbered(target, static_cast<int>(name.number));
    }
    std::string verb = text.GetText("Edit", name.verb);
    const std::size_t at = verb.find("%1");
    if (at != std::string::npos)
        verb.replace(at, 2, target);
    return verb;
}

void EditHistory::Reset(const DocumentState& state)
{
    current_ = state;
    undo_.clear();
    redo_.clear();
}

void EditHistory::Record(const DocumentState& state, ChangeName name)
{
    undo_.push_back({current_, std::move(name)});
    if (undo_.size() > kMaxSteps)
        undo_.pop_front();
    redo_.clear();
    current_ = state;
}

std::optional<DocumentState> EditHistory::Undo()
{
    if (undo_.empty())
        return std::nullopt;
    redo_.push_back({current_, undo_.back().name});
    current_ = std::move(undo_.back().state);
    undo_.pop_back();
    return current_;
}

std::optional<DocumentState> EditHistory::Redo()
{
    if (redo_.empty())
        return std::nullopt;
    undo_.push_back({current_, redo_.back().name});
    current_ = std::move(redo_.back().state);
    redo_.pop_back();
    return current_;
}
