#include "forms/foreign/DmrUserCsv.h"

#include <algorithm>
#include <optional>

#include "codeplug/Records.h"
#include "forms/Csv.h"
#include "forms/channels/Encodings.h"
#include "codeplug/BcdId.h"
#include "forms/foreign/ForeignValues.h"

namespace {

// The first column whose loose name is one of `names`.
std::optional<std::size_t> FindColumn(const std::vector<std::string>& header, std::initializer_list<std::string_view> names)
{
    for (const std::string_view name : names) {
        for (std::size_t c = 0; c < header.size(); ++c) {
            if (LooseKey(header[c]) == name)
                return c;
        }
    }
    return std::nullopt;
}

}  // namespace

ImportPlan ReadDmrUserCsv(std::string_view text)
{
    ImportPlan plan;
    plan.format = "DMR user list";
    CsvProblem problem;
    const auto parsed = ParseCsv(text, problem, {GuessCsvSeparator(text), true});
    if (!parsed) {
        plan.error = "not a CSV file: " + problem.Text();
        return plan;
    }
    std::vector<const std::vector<std::string>*> rows;
    for (const auto& row : *parsed) {
        if (std::any_of(row.begin(), row.end(), [](const std::string& cell) { return !TrimBlanks(cell).empty(); }))
            rows.push_back(&row);
    }
    const std::vector<std::string> header = rows.empty() ? std::vector<std::string>{} : *rows.front();
    const auto id = FindColumn(header, {"radioid", "dmrid", "id"});
    if (!id) {
        plan.error = "not a DMR user list: the header has no Radio ID column";
        return plan;
    }
    const auto callsign = FindColumn(header, {"callsign", "call"});
    const auto name = FindColumn(header, {"name", "firstname"});
    const auto surname = FindColumn(header, {"lastname", "surname"});
    const auto city = FindColumn(header, {"city"});
    const auto country = FindColumn(header, {"country"});
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const std::vector<std::string>& cells = *rows[r];
        const auto cell = [&](std::optional<std::size_t> column) {
            return column && *column < cells.size() ? TrimBlanks(cells[*column]) : std::string();
        };
        PlanRow row;
        row.kind = PlanKind::Contact;
        row.number = r;
        const std::string fullName = TrimBlanks(cell(name) + " " + cell(surname));
        row.name = FitName(cell(callsign).empty() ? fullName : cell(callsign), AliasField::kMaxContactChars, row.notes);
        for (const std::string& part : {fullName, cell(city), cell(country)})
            row.details += part.empty() ? "" : (row.details.empty() ? "" : ", ") + part;
        const std::string number = cell(id);
        std::uint32_t value = 0;
        const bool digits = !number.empty() && number.size() <= 8 &&
                            std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (digits)
            value = static_cast<std::uint32_t>(std::stoul(number));
        if (!digits || value < 1 || value > *UnpackBcdId(kMaxBcdId)) {
            row.problem = "ID \"" + number + "\" is not a DMR ID (1-16776415)";
            plan.rows.push_back(std::move(row));
            continue;
        }
        if (row.name.empty())
            row.name = number;
        row.details = "ID " + number + (row.details.empty() ? "" : ", " + row.details);
        row.values["name"] = row.name;
        row.values["callType"] = "Private call";
        row.values["id"] = value;
        plan.rows.push_back(std::move(row));
    }
    return plan;
}
