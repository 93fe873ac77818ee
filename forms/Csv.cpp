#include "forms/Csv.h"

#include <algorithm>

#include "forms/CodeplugRules.h"
#include "forms/Sections.h"
#include "forms/channels/Encodings.h"

namespace {
constexpr std::string_view kBom = "\xEF\xBB\xBF";
}  // namespace

std::string CsvProblem::Text() const
{
    std::string where;
    if (row != 0)
        where = "row " + std::to_string(row);
    if (column != 0)
        where += ", column " + std::to_string(column) + (header.empty() ? "" : " (" + header + ")");
    return where.empty() ? reason : where + ": " + reason;
}

std::optional<CsvRows> ParseCsv(std::string_view text, CsvProblem& problem, const CsvDialect& dialect)
{
    if (text.substr(0, kBom.size()) == kBom)
        text.remove_prefix(kBom.size());
    CsvRows rows;
    std::vector<std::string> row;
    std::string cell;
    bool quoted = false;      // inside a quoted cell
    bool wasQuoted = false;   // the current cell was quoted and has closed
    bool rowStarted = false;
    const auto endCell = [&] {
        row.push_back(std::move(cell));
        cell.clear();
        wasQuoted = false;
    };
    const auto endRow = [&] {
        endCell();
        rows.push_back(std::move(row));
        row.clear();
        rowStarted = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (quoted) {
            if (ch != '"') {
                cell += ch;
            } else if (i + 1 < text.size() && text[i + 1] == '"') {
                cell += '"';
                ++i;
            } else {
                quoted = false;
                wasQuoted = true;
            }
            continue;
        }
        if (dialect.commentLines && !rowStarted && ch == '#') {
            while (i + 1 < text.size() && text[i + 1] != '\n' && text[i + 1] != '\r')
                ++i;
            if (i + 2 < text.size() && text[i + 1] == '\r' && text[i + 2] == '\n')
                ++i;
            ++i;  // the line end
            continue;
        }
        rowStarted = true;
        if (ch == dialect.separator) {
            endCell();
        } else if (ch == '\n' || ch == '\r') {
            if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            endRow();
        } else if (ch == '"') {
            if (!cell.empty() || wasQuoted) {
                problem = {rows.size() + 1, row.size() + 1, {}, "a quote inside a cell that does not start with one"};
                return std::nullopt;
            }
            quoted = true;
        } else if (wasQuoted) {
            problem = {rows.size() + 1, row.size() + 1, {}, "text after the closing quote of a cell"};
            return std::nullopt;
        } else {
            cell += ch;
        }
    }
    if (quoted) {
        problem = {rows.size() + 1, row.size() + 1, {}, "a quoted cell is not closed"};
        return std::nullopt;
    }
    if (rowStarted || !cell.empty() || !row.empty())
        endRow();
    return rows;
}

char GuessCsvSeparator(std::string_view text)
{
    if (text.substr(0, kBom.size()) == kBom)
        text.remove_prefix(kBom.size());
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (TrimBlanks(line).empty() || line.front() == '#')
            continue;
        std::size_t commas = 0, semicolons = 0;
        bool quoted = false;
        for (const char ch : line) {
            quoted = ch == '"' ? !quoted : quoted;
            commas += !quoted && ch == ',';
            semicolons += !quoted && ch == ';';
        }
        return semicolons > commas ? ';' : ',';
    }
    return ',';
}

std::string FormatCsv(const CsvRows& rows)
{
    std::string out(kBom);
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            const std::string& cell = row[i];
            if (i != 0)
                out += ',';
            const bool quote = cell.find_first_of(",\"\r\n") != std::string::npos ||
                               (!cell.empty() && (cell.front() == ' ' || cell.back() == ' '));
            if (!quote) {
                out += cell;
                continue;
            }
            out += '"';
            for (const char ch : cell)
                out += ch == '"' ? std::string("\"\"") : std::string(1, ch);
            out += '"';
        }
        out += "\r\n";
    }
    return out;
}

CsvProblem MissingNumberColumn(std::string_view table)
{
    return {1, 0, {},
            "the table has no \"No.\" column: it ties each row to its record, so that what refers to the record "
            "(zones, scan lists, receive group lists, one-touch calls, channels' contacts and lists) follows it. "
            "Export the " + std::string(table) + " table again and keep that column (blank for a new record)"};
}

std::vector<CsvProblem> TableRuleProblems(const Codeplug& before, Codeplug& work, std::string_view section,
                                          const std::vector<bool>& touched,
                                          const std::function<std::size_t(const RuleFinding&)>& columnOf)
{
    for (std::size_t n = 0; n < touched.size(); ++n) {
        if (touched[n])
            NormaliseRecord(work, section, n);
    }
    std::vector<RuleFinding> old = FindRuleProblems(before);
    const auto existed = [&](const RuleFinding& f) {
        return std::any_of(old.begin(), old.end(), [&](const RuleFinding& o) {
            return o.error && o.section == f.section && o.record == f.record && o.field == f.field && o.what == f.what;
        });
    };
    std::vector<CsvProblem> problems;
    for (const RuleFinding& f : FindRuleProblems(work)) {
        if (!f.error)
            continue;
        if (f.section == section) {
            const bool row = f.record != RuleFinding::kWholeTable;
            problems.push_back({row ? f.record + 2 : 0, row ? columnOf(f) : 0, {}, f.what});
        } else if (!existed(f)) {
            for (const Section& s : Sections(work)) {
                if (s.id == f.section)
                    problems.push_back({0, 0, {}, (f.record == RuleFinding::kWholeTable ? std::string(s.label)
                                                                                         : s.recordLabel(f.record)) +
                                                      ": " + f.what});
            }
        }
    }
    return problems;
}

std::string CsvHeaderKey(std::string_view text)
{
    std::string out = TrimBlanks(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return out;
}

bool RepeatsEarlierHeader(const std::vector<std::string>& header, std::size_t col)
{
    const std::string key = CsvHeaderKey(header.at(col));
    for (std::size_t other = 0; other < col; ++other)
        if (CsvHeaderKey(header[other]) == key)
            return true;
    return false;
}
