#pragma once
// The tables people plan in spreadsheets, as CSV (RFC 4180, UTF-8 with or without a byte-order
// mark): analog channels, digital channels, contacts and receive group lists. The header names each column in words,
// the cells hold the texts the forms show, and the "No." column ties a row to the record it came
// from, so that rows can be reordered, dropped or added (a blank "No." is a new record).
//
// Import replaces the whole table and is all or nothing: a record whose row is gone is deleted
// as the form's delete would (zone and scan-list members, receive-group members, transmit
// contacts and one-touch calls follow); any bad cell is reported by row, column and reason and
// the codeplug is left untouched.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/Codeplug.h"

enum class CsvTable { AnalogChannels, DigitalChannels, Contacts, RxGroups };

// "analog", "digital", "contacts", "rxgroups" (and the longer "analog-channels",
// "digital-channels", "rx-groups", "receive-groups").
std::optional<CsvTable> CsvTableByName(std::string_view name);
std::string_view CsvTableName(CsvTable table);

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

std::string ExportCsv(const Codeplug& codeplug, CsvTable table);
std::vector<CsvProblem> ImportCsv(std::string_view text, CsvTable table, Codeplug& codeplug);

// Receive group lists, one row a list: "No.", "Group list name", then "Member 1" … "Member 16",
// each member cell holding the "No." of a group-call contact in the contacts table.
//
// One member a cell, rather than all of them in one cell, so that a spreadsheet's own tools
// (fill, sort, a lookup against the contacts sheet) work on each member and a refused member is
// reported by its exact row and column. Members name contacts by number because contact names
// may repeat; the contacts CSV shows the same number in its "No." column.
//
// Import replaces every list: 1-32 rows of at most 16 members, each an existing group-call
// contact named once. A list whose row is gone is deleted as the form deletes one: digital
// channels that named it turn their list off and channels naming a later list follow it to its
// new number. A kept list whose member cells are unchanged keeps its member bytes exactly.
std::string ExportRxGroupCsv(const Codeplug& codeplug);
std::vector<CsvProblem> ImportRxGroupCsv(const CsvRows& rows, Codeplug& codeplug);

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
