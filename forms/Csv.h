#pragma once
// CSV as RFC 4180 has it, and the steps every table import shares: the header's columns, the
// "No." column that ties a row to its record, and the last check of the imported codeplug through
// the codeplug rules.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/Codeplug.h"

using CsvRows = std::vector<std::vector<std::string>>;

struct CsvProblem {
    std::size_t row = 0;     // 1-based, the header is row 1; 0 for the file as a whole
    std::size_t column = 0;  // 1-based; 0 for the row as a whole
    std::string header;      // the column's header, when known
    std::string reason;
    std::string Text() const;
};

// How a file from elsewhere separates its cells and what it leaves out of its rows.
struct CsvDialect {
    char separator = ',';
    bool commentLines = false;  // a row that starts with '#' is skipped
};

// RFC 4180: cells separated by commas (or the dialect's separator), rows by CRLF or LF, quoted
// cells may hold separators, quotes ("") and line breaks. A leading UTF-8 byte-order mark is
// skipped. nullopt and the problem for a quote out of place.
std::optional<CsvRows> ParseCsv(std::string_view text, CsvProblem& problem, const CsvDialect& dialect = {});
// The separator of a file that starts with its header: ';' when the first line that is neither
// blank nor a '#' line holds more semicolons than commas outside quotes, else ','.
char GuessCsvSeparator(std::string_view text);
// Cells quoted where needed, CRLF line ends, after a UTF-8 byte-order mark.
std::string FormatCsv(const CsvRows& rows);

// Shared by the table readers: a header cell as compared (blanks trimmed, lower case), and
// whether column `col` repeats an earlier header.
std::string CsvHeaderKey(std::string_view text);
bool RepeatsEarlierHeader(const std::vector<std::string>& header, std::size_t col);

// The "No." column that ties each row to its record; a table without it is refused.
inline constexpr std::string_view kCsvNumberHeader = "No.";
CsvProblem MissingNumberColumn(std::string_view table);

// The last step of a table import into `work` (a copy of `before`): the records of `touched`
// rows (0-based, new or edited) get their dependent fields as the forms set them, then every error
// the codeplug rules find in the imported table is a problem of its row, in the column
// `columnOf` gives for the finding (0: the row as a whole), and so is every error in another
// part of the codeplug that `before` did not have.
struct RuleFinding;
std::vector<CsvProblem> TableRuleProblems(const Codeplug& before, Codeplug& work, std::string_view section,
                                          const std::vector<bool>& touched,
                                          const std::function<std::size_t(const RuleFinding&)>& columnOf);
