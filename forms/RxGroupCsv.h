#pragma once
// Receive group lists as a CSV table.
#include <string>
#include <vector>

#include "codeplug/Codeplug.h"
#include "forms/Csv.h"

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

