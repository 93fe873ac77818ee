// Receive group lists as CSV: one row a list, one member a cell (see RxGroupCsv.h for why).
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>

#include "codeplug/Records.h"
#include "forms/CodeplugRules.h"
#include "forms/RxGroupCsv.h"
#include "forms/Sections.h"
#include "forms/FieldSchema.h"
#include "forms/channels/Encodings.h"
#include "forms/dmr/ContactRules.h"
#include "forms/dmr/RxGroupRules.h"

namespace {

namespace G = RxGroupField;

constexpr std::string_view kNumberHeader = "No.";
constexpr std::string_view kMemberHeader = "Member ";

const FieldDef& NameField() { return *FindField(RxGroupSchema(), "name"); }

std::string MemberHeader(std::size_t m) { return std::string(kMemberHeader) + std::to_string(m + 1); }

// A whole decimal number of the cell, or nullopt.
std::optional<std::size_t> Number(const std::string& cell)
{
    std::size_t n = 0;
    const auto [end, ec] = std::from_chars(cell.data(), cell.data() + cell.size(), n);
    if (ec != std::errc() || end != cell.data() + cell.size() || cell.empty())
        return std::nullopt;
    return n;
}

// The stored members of a list as the numbers its cells show (count bounded to 16).
std::vector<std::string> StoredMembers(std::span<const std::uint8_t> r)
{
    std::vector<std::string> cells;
    const std::size_t count = std::min<std::size_t>(r[G::MemberCount], G::kMaxMembers);
    for (std::size_t m = 0; m < count; ++m)
        cells.push_back(std::to_string(r[G::Members + m] + 1));
    return cells;
}

// What the header says: where the number and name are and which member each column holds.
struct Columns {
    std::optional<std::size_t> number, name;
    std::vector<std::size_t> members;  // column indexes in member order
};

}  // namespace

std::string ExportRxGroupCsv(const Codeplug& codeplug)
{
    CsvRows rows;
    std::vector<std::string> header{std::string(kNumberHeader), std::string(NameField().label)};
    for (std::size_t m = 0; m < G::kMaxMembers; ++m)
        header.push_back(MemberHeader(m));
    rows.push_back(std::move(header));
    for (std::size_t list = 0; list < rxgroups::Count(codeplug); ++list) {
        const auto r = codeplug.RxGroupTable.record(list);
        std::vector<std::string> row{std::to_string(list + 1), ValueText(ReadField(NameField(), r))};
        std::vector<std::string> members = StoredMembers(r);
        members.resize(G::kMaxMembers);
        row.insert(row.end(), members.begin(), members.end());
        rows.push_back(std::move(row));
    }
    return FormatCsv(rows);
}

std::vector<CsvProblem> ImportRxGroupCsv(const CsvRows& rows, Codeplug& target)
{
    if (rows.empty())
        return {{0, 0, {}, "the file has no header row"}};
    std::vector<CsvProblem> problems;
    const std::vector<std::string>& header = rows.front();

    // The header: "No.", the name and "Member n" columns, each at most once, in any order.
    Columns columns;
    std::vector<std::optional<std::size_t>> memberOf(header.size());
    for (std::size_t col = 0; col < header.size(); ++col) {
        const std::string name = CsvHeaderKey(header[col]);
        if (RepeatsEarlierHeader(header, col)) {
            problems.push_back({1, col + 1, header[col], "the column appears twice"});
        } else if (name == CsvHeaderKey(kNumberHeader)) {
            columns.number = col;
        } else if (name == CsvHeaderKey(NameField().label) || name == CsvHeaderKey(NameField().id)) {
            columns.name = col;
        } else if (const std::string prefix = CsvHeaderKey(kMemberHeader); name.rfind(prefix, 0) == 0) {
            const auto m = Number(TrimBlanks(name.substr(prefix.size())));
            if (!m || *m < 1 || *m > G::kMaxMembers)
                problems.push_back({1, col + 1, header[col], "a list holds members 1-16"});
            else
                memberOf[col] = *m - 1;
        } else {
            problems.push_back({1, col + 1, header[col], "not a column of the receive group list table"});
        }
    }
    for (std::size_t m = 0; m < G::kMaxMembers; ++m) {
        for (std::size_t col = 0; col < header.size(); ++col) {
            if (memberOf[col] == m)
                columns.members.push_back(col);
        }
    }
    if (!columns.number)
        problems.push_back(MissingNumberColumn("receive group list"));
    const std::size_t lists = rows.size() - 1;
    if (lists < 1 || lists > rxgroups::kMaxLists)
        problems.push_back({0, 0, {}, std::to_string(lists) + " rows; the receive group list table holds 1-32"});
    if (!problems.empty())
        return problems;

    auto work = std::make_unique<Codeplug>(target);
    Codeplug& c = *work;
    const std::size_t oldCount = rxgroups::Count(c);
    std::vector<std::vector<std::uint8_t>> old;
    for (std::size_t list = 0; list < oldCount; ++list) {
        const auto r = c.RxGroupTable.record(list);
        old.emplace_back(r.begin(), r.end());
    }
    std::vector<int> map(oldCount, -1);  // where each old list went; -1: its row is gone
    std::vector<std::vector<std::uint8_t>> built;
    std::vector<bool> touched(lists, false);
    std::vector<std::vector<std::size_t>> memberColumns(lists);  // per row, the column of each member
    const FieldContext ctx = ContextOf(c);
    for (std::size_t n = 0; n < lists; ++n) {
        const std::vector<std::string>& row = rows[n + 1];
        const std::size_t rowNo = n + 2;
        const auto cell = [&](std::size_t col) { return col < row.size() ? TrimBlanks(row[col]) : std::string(); };
        if (row.size() > header.size())
            problems.push_back({rowNo, header.size() + 1, {}, "more cells than the header has columns"});

        std::optional<std::size_t> from;
        if (!cell(*columns.number).empty()) {
            const std::string text = cell(*columns.number);
            const auto number = Number(text);
            if (!number || *number < 1 || *number > oldCount) {
                problems.push_back({rowNo, *columns.number + 1, header[*columns.number],
                                    "\"" + text + "\" is not a list of the table (1-" + std::to_string(oldCount) +
                                        ", or blank for a new one)"});
            } else if (map[*number - 1] >= 0) {
                problems.push_back({rowNo, *columns.number + 1, header[*columns.number], "list " + text + " is listed twice"});
            } else {
                from = *number - 1;
                map[*number - 1] = static_cast<int>(n);
            }
        }
        // A new list starts as a copy of list 1, as the form's new list does.
        std::vector<std::uint8_t> r(RxGroupSchema().bytes, 0);
        if (from)
            r = old[*from];
        else if (oldCount > 0)
            r = old[0];

        if (columns.name) {
            const FieldDef& f = NameField();
            const std::string& text = *columns.name < row.size() ? row[*columns.name] : std::string();
            if (!(from && text == ValueText(ReadField(f, r)))) {
                touched[n] = true;
                if (const std::string error = WriteField(f, r, ValueFromText(f, text), ctx); !error.empty())
                    problems.push_back({rowNo, *columns.name + 1, header[*columns.name], error});
            }
        }

        if (!columns.members.empty()) {
            std::vector<std::string> cells;
            std::vector<std::size_t> at;
            for (const std::size_t col : columns.members) {
                if (!cell(col).empty()) {
                    cells.push_back(cell(col));
                    at.push_back(col);
                }
            }
            memberColumns[n] = at;
            // A kept list whose members read as before keeps its bytes, whatever they hold.
            if (!(from && cells == StoredMembers(r))) {
                touched[n] = true;
                std::vector<std::uint8_t> members;
                for (std::size_t k = 0; k < cells.size(); ++k) {
                    const std::size_t col = at[k];
                    const auto problem = [&](std::string reason) {
                        problems.push_back({rowNo, col + 1, header[col], std::move(reason)});
                    };
                    const auto number = Number(cells[k]);
                    if (!number || *number < 1) {
                        problem("\"" + cells[k] + "\" is not a contact number");
                        continue;
                    }
                    if (const std::string e = GroupMemberProblem(c, *number - 1); !e.empty()) {
                        problem(e);
                        continue;
                    }
                    const auto contact = static_cast<std::uint8_t>(*number - 1);
                    if (std::find(members.begin(), members.end(), contact) != members.end()) {
                        problem("contact " + cells[k] + " is a member twice");
                        continue;
                    }
                    members.push_back(contact);
                }
                std::fill_n(r.begin() + G::Members, G::kMaxMembers, 0);
                std::copy(members.begin(), members.end(), r.begin() + G::Members);
                r[G::MemberCount] = static_cast<std::uint8_t>(members.size());
            }
        }
        touched[n] = touched[n] || !from;
        built.push_back(std::move(r));
    }
    if (!problems.empty())
        return problems;

    // Digital channels follow their list: to its new number, or off when its row is gone.
    // A number past the old table (the check's business) is left as it is.
    const std::size_t channels = UsedRecords(GetCount(c.DigitalChannelCount), c.DigitalChannelTable);
    for (std::size_t i = 0; i < channels; ++i) {
        std::uint8_t& ref = c.DigitalChannelTable.record(i)[DigitalChannelField::RxGroupList];
        if (ref >= 1 && ref <= oldCount)
            ref = static_cast<std::uint8_t>(map[ref - 1] + 1);
    }
    // Lists that were in use and are no longer become zero, as after the form's delete.
    for (std::size_t list = 0; list < std::max(oldCount, built.size()); ++list) {
        auto r = c.RxGroupTable.record(list);
        std::fill(r.begin(), r.end(), 0);
        if (list < built.size())
            std::copy(built[list].begin(), built[list].end(), r.begin());
    }
    SetCount(c.RxGroupCount, static_cast<std::uint32_t>(built.size()));
    problems = TableRuleProblems(target, c, "rxGroupLists", touched, [&](const RuleFinding& f) -> std::size_t {
        if (f.field == "name" && columns.name)
            return *columns.name + 1;
        std::size_t member = 0;  // "member 3: ..." names the third member of the row
        if (f.field == "members" && std::sscanf(f.what.c_str(), "Members: member %zu", &member) == 1 &&
            f.record < memberColumns.size() && member >= 1 && member <= memberColumns[f.record].size())
            return memberColumns[f.record][member - 1] + 1;
        return 0;
    });
    for (CsvProblem& p : problems) {
        if (p.column != 0)
            p.header = header[p.column - 1];
    }
    if (!problems.empty())
        return problems;
    target = c;
    return {};
}
