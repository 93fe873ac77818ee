#include "forms/CsvTables.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "codeplug/Records.h"
#include "forms/CodeplugRules.h"
#include "forms/RxGroupCsv.h"
#include "forms/Sections.h"
#include "forms/channels/ChannelRules.h"
#include "forms/channels/Encodings.h"
#include "forms/dmr/ContactRules.h"

namespace {

constexpr std::string_view kNumberHeader = kCsvNumberHeader;

struct TableInfo {
    std::string_view section;
    std::size_t minRows;
};

TableInfo Info(CsvTable t)
{
    switch (t) {
    case CsvTable::AnalogChannels: return {"analogChannels", 1};
    case CsvTable::DigitalChannels: return {"digitalChannels", 1};
    case CsvTable::Contacts: return {"contacts", 0};
    case CsvTable::RxGroups: return {"rxGroupLists", 1};
    }
    return {"contacts", 0};
}

Section FindSection(Codeplug& c, std::string_view id)
{
    for (const Section& s : Sections(c)) {
        if (s.id == id)
            return s;
    }
    throw std::logic_error("no section");
}


// Where each old record went: its new index, or -1 when its row is gone.
using Mapping = std::vector<int>;

// Zone and scan-list members of one channel kind follow the mapping; members of removed channels
// are dropped and the kept ones stay in order.
void RemapChannelMembers(Codeplug& c, std::uint8_t kind, const Mapping& map)
{
    std::vector<std::span<std::uint8_t>> lists;
    for (std::size_t z = 0; z < c.ZoneTable.kCapacity; ++z)
        lists.push_back(c.ZoneTable.record(z));
    for (std::size_t s = 0; s < UsedRecords(GetCount(c.ScanListCount), c.ScanTable); ++s)
        lists.push_back(c.ScanTable.record(s));
    static_assert(ZoneField::MemberCount == ScanListField::MemberCount && ZoneField::Members == ScanListField::Members);
    for (const auto r : lists) {
        const std::size_t count = std::min<std::size_t>(r[ZoneField::MemberCount], ZoneField::kMaxMembers);
        std::vector<std::pair<std::uint8_t, std::uint16_t>> kept;
        bool changed = false;
        for (std::size_t m = 0; m < count; ++m) {
            const std::size_t at = ZoneField::Member(m);
            std::uint8_t k = r[at + ChannelRef::Kind];
            std::uint16_t index = GetLE16(r, at + ChannelRef::Index);
            if (k == kind) {
                changed = changed || index >= map.size() || map[index] != index;
                if (index >= map.size() || map[index] < 0)
                    continue;
                index = static_cast<std::uint16_t>(map[index]);
            }
            kept.emplace_back(k, index);
        }
        if (!changed)
            continue;  // the list as it was, entries past its count included
        std::fill(r.begin() + ZoneField::Members, r.begin() + ZoneField::Member(ZoneField::kMaxMembers), 0);
        for (std::size_t m = 0; m < kept.size(); ++m) {
            r[ZoneField::Member(m) + ChannelRef::Kind] = kept[m].first;
            PutLE16(r, ZoneField::Member(m) + ChannelRef::Index, kept[m].second);
        }
        r[ZoneField::MemberCount] = static_cast<std::uint8_t>(kept.size());
    }
}

// Transmit contacts, receive-group members and one-touch calls follow the mapping (records that
// only move; removals go through the contact delete rule first).
void RemapContactReferences(Codeplug& c, const Mapping& map)
{
    // A reference past the old table (the check's business) is left as it is.
    const auto mapped = [&](std::uint8_t index) { return index < map.size() ? map[index] : static_cast<int>(index); };
    for (std::size_t i = 0; i < c.DigitalChannelTable.kCapacity; ++i) {
        auto r = c.DigitalChannelTable.record(i);
        const std::uint8_t old = r[DigitalChannelField::TxContact];
        if (old != 0xFF)
            r[DigitalChannelField::TxContact] = static_cast<std::uint8_t>(std::max(mapped(old), 0));
    }
    for (std::size_t g = 0; g < UsedRecords(GetCount(c.RxGroupCount), c.RxGroupTable); ++g) {
        auto r = c.RxGroupTable.record(g);
        const std::size_t count = std::min<std::size_t>(r[RxGroupField::MemberCount], RxGroupField::kMaxMembers);
        std::vector<std::uint8_t> kept;
        for (std::size_t m = 0; m < count; ++m) {
            const int to = mapped(r[RxGroupField::Members + m]);
            if (to >= 0)
                kept.push_back(static_cast<std::uint8_t>(to));
        }
        std::fill_n(r.begin() + RxGroupField::Members, RxGroupField::kMaxMembers, 0);
        std::copy(kept.begin(), kept.end(), r.begin() + RxGroupField::Members);
        r[RxGroupField::MemberCount] = static_cast<std::uint8_t>(kept.size());
    }
    namespace F = RadioSettingsField;
    for (std::size_t k = 0; k < F::kOneTouchEntries; ++k) {
        if (c.RadioSettings[F::OneTouchKind(k)] != F::kOneTouchCall)
            continue;
        const int to = mapped(c.RadioSettings[F::OneTouchContact(k)]);
        if (to < 0) {
            c.RadioSettings[F::OneTouchKind(k)] = F::kOneTouchNone;
            c.RadioSettings[F::OneTouchContact(k)] = 0;
        } else {
            c.RadioSettings[F::OneTouchContact(k)] = static_cast<std::uint8_t>(to);
        }
    }
}

}  // namespace

std::optional<CsvTable> CsvTableByName(std::string_view name)
{
    const std::string n = CsvHeaderKey(name);
    if (n == "analog" || n == "analog-channels")
        return CsvTable::AnalogChannels;
    if (n == "digital" || n == "digital-channels")
        return CsvTable::DigitalChannels;
    if (n == "contacts")
        return CsvTable::Contacts;
    if (n == "rxgroups" || n == "rx-groups" || n == "receive-groups")
        return CsvTable::RxGroups;
    return std::nullopt;
}

std::string_view CsvTableName(CsvTable table)
{
    switch (table) {
    case CsvTable::AnalogChannels: return "analog";
    case CsvTable::DigitalChannels: return "digital";
    case CsvTable::Contacts: return "contacts";
    case CsvTable::RxGroups: return "rxgroups";
    }
    return {};
}

std::string ExportCsv(const Codeplug& codeplug, CsvTable table)
{
    if (table == CsvTable::RxGroups)
        return ExportRxGroupCsv(codeplug);
    const Section s = FindSection(const_cast<Codeplug&>(codeplug), Info(table).section);
    CsvRows rows;
    std::vector<std::string> header{std::string(kNumberHeader)};
    for (const FieldDef& f : s.schema->fields)
        header.emplace_back(f.label);
    rows.push_back(std::move(header));
    for (std::size_t i = 0; i < s.used(); ++i) {
        std::vector<std::string> row{std::to_string(i + 1)};
        for (const FieldDef& f : s.schema->fields)
            row.push_back(ValueText(ReadField(f, s.record(i))));
        rows.push_back(std::move(row));
    }
    return FormatCsv(rows);
}

std::vector<CsvProblem> ImportCsv(std::string_view text, CsvTable table, Codeplug& target)
{
    CsvProblem syntax;
    const auto parsed = ParseCsv(text, syntax);
    if (!parsed)
        return {syntax};
    CsvRows rows = *parsed;
    // Blank lines (a spreadsheet's trailing rows) are not records.
    std::erase_if(rows, [](const std::vector<std::string>& row) {
        return std::all_of(row.begin(), row.end(), [](const std::string& cell) { return TrimBlanks(cell).empty(); });
    });
    if (rows.empty())
        return {{0, 0, {}, "the file has no header row"}};
    if (table == CsvTable::RxGroups)
        return ImportRxGroupCsv(rows, target);

    auto work = std::make_unique<Codeplug>(target);
    const TableInfo info = Info(table);
    const Section s = FindSection(*work, info.section);
    const RecordSchema& schema = *s.schema;
    std::vector<CsvProblem> problems;

    // The header: "No." and field labels (or JSON names), each at most once.
    const std::vector<std::string>& header = rows.front();
    std::vector<const FieldDef*> columns(header.size(), nullptr);
    std::optional<std::size_t> numberColumn;
    for (std::size_t col = 0; col < header.size(); ++col) {
        const std::string name = CsvHeaderKey(header[col]);
        if (RepeatsEarlierHeader(header, col)) {
            problems.push_back({1, col + 1, header[col], "the column appears twice"});
            continue;
        }
        if (name == CsvHeaderKey(kNumberHeader)) {
            numberColumn = col;
            continue;
        }
        for (const FieldDef& f : schema.fields) {
            if (CsvHeaderKey(f.label) == name || CsvHeaderKey(f.id) == name)
                columns[col] = &f;
        }
        if (columns[col] == nullptr)
            problems.push_back({1, col + 1, header[col], "not a column of the " + std::string(s.label) + " table"});
    }
    if (!numberColumn)
        problems.push_back(MissingNumberColumn(s.label));
    const std::size_t records = rows.size() - 1;
    if (records < info.minRows || records > s.capacity)
        problems.push_back({0, 0, {}, std::to_string(records) + " rows; the " + std::string(s.label) + " table holds " +
                                          std::to_string(info.minRows) + "-" + std::to_string(s.capacity)});
    if (!problems.empty())
        return problems;

    // Each row: the record it came from (blank "No.": a new one) and its cells written over it.
    const std::size_t oldCount = s.used();
    std::vector<std::uint8_t> old(s.bytes.begin(), s.bytes.end());
    const auto oldRecord = [&](std::size_t i) {
        return std::span<const std::uint8_t>(old).subspan(i * schema.bytes, schema.bytes);
    };
    std::vector<std::vector<std::uint8_t>> built;
    std::vector<bool> touched(records, false);
    Mapping map(oldCount, -1);
    const FieldContext ctx = ContextOf(*work);
    for (std::size_t n = 0; n < records; ++n) {
        const std::vector<std::string>& row = rows[n + 1];
        const std::size_t rowNo = n + 2;
        std::optional<std::size_t> from;
        if (*numberColumn < row.size() && !TrimBlanks(row[*numberColumn]).empty()) {
            const std::string cell = TrimBlanks(row[*numberColumn]);
            std::size_t number = 0;
            const auto [end, ec] = std::from_chars(cell.data(), cell.data() + cell.size(), number);
            if (ec != std::errc() || end != cell.data() + cell.size() || number < 1 || number > oldCount) {
                problems.push_back({rowNo, *numberColumn + 1, header[*numberColumn],
                                    "\"" + cell + "\" is not a record of the table (1-" + std::to_string(oldCount) +
                                        ", or blank for a new one)"});
            } else if (map[number - 1] >= 0) {
                problems.push_back({rowNo, *numberColumn + 1, header[*numberColumn],
                                    "record " + cell + " is listed twice"});
            } else {
                from = number - 1;
                map[number - 1] = static_cast<int>(n);
            }
        }
        // A new channel starts as a copy of channel 1, as the form's add does; a new contact empty.
        std::vector<std::uint8_t> r(schema.bytes, 0);
        if (from)
            std::copy(oldRecord(*from).begin(), oldRecord(*from).end(), r.begin());
        else if (table != CsvTable::Contacts && oldCount > 0)
            std::copy(oldRecord(0).begin(), oldRecord(0).end(), r.begin());
        if (row.size() > header.size())
            problems.push_back({rowNo, header.size() + 1, {}, "more cells than the header has columns"});
        for (std::size_t col = 0; col < header.size() && col < row.size(); ++col) {
            const FieldDef* f = columns[col];
            if (f == nullptr)
                continue;
            // An unchanged cell of a kept record keeps its bytes exactly.
            if (from && row[col] == ValueText(ReadField(*f, r)))
                continue;
            touched[n] = true;
            const std::string error = WriteField(*f, r, ValueFromText(*f, row[col]), ctx);
            if (!error.empty())
                problems.push_back({rowNo, col + 1, header[col], error});
        }
        touched[n] = touched[n] || !from;
        built.push_back(std::move(r));
    }
    if (!problems.empty())
        return problems;

    // Records whose rows are gone go through the delete rules, highest first, so that every
    // reference follows as a delete in the form would; the kept records then move to their rows.
    const std::uint8_t kind = table == CsvTable::AnalogChannels ? ChannelRef::kAnalog : ChannelRef::kDigital;
    for (std::size_t i = oldCount; i-- > 0;) {
        if (map[i] >= 0)
            continue;
        if (table == CsvTable::Contacts) {
            contacts::Delete(*work, i);
        } else if (!DeleteChannel(*work, table == CsvTable::AnalogChannels ? ChannelKind::Analog : ChannelKind::Digital, i)) {
            Mapping last(i + 1, 0);  // the delete keeps one channel; its members go all the same
            last[i] = -1;
            RemapChannelMembers(*work, kind, last);
        }
    }
    Mapping moved;
    for (const int to : map) {
        if (to >= 0)
            moved.push_back(to);
    }
    if (table == CsvTable::Contacts)
        RemapContactReferences(*work, moved);
    else
        RemapChannelMembers(*work, kind, moved);

    // Records that were in use and are no longer become zero, as after a delete; records past
    // both counts are left as they were.
    const std::size_t cleared = std::max(oldCount, built.size());
    std::fill(s.bytes.begin(), s.bytes.begin() + static_cast<std::ptrdiff_t>(cleared * schema.bytes), 0);
    for (std::size_t n = 0; n < built.size(); ++n)
        std::copy(built[n].begin(), built[n].end(), s.record(n).begin());
    s.setCount(static_cast<std::uint32_t>(built.size()));
    if (table != CsvTable::Contacts)
        RevalidateMemberLists(*work);
    problems = TableRuleProblems(target, *work, info.section, touched, [&](const RuleFinding& f) {
        for (std::size_t col = 0; col < header.size(); ++col) {
            if (columns[col] != nullptr && columns[col]->id == f.field)
                return col + 1;
        }
        return std::size_t{0};
    });
    for (CsvProblem& p : problems) {
        if (p.column != 0)
            p.header = header[p.column - 1];
    }
    if (!problems.empty())
        return problems;
    target = *work;
    return {};
}

