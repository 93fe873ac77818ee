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
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/Codeplug.h"
#include "forms/Csv.h"

enum class CsvTable { AnalogChannels, DigitalChannels, Contacts, RxGroups };

// "analog", "digital", "contacts", "rxgroups" (and the longer "analog-channels",
// "digital-channels", "rx-groups", "receive-groups").
std::optional<CsvTable> CsvTableByName(std::string_view name);
std::string_view CsvTableName(CsvTable table);

std::string ExportCsv(const Codeplug& codeplug, CsvTable table);
std::vector<CsvProblem> ImportCsv(std::string_view text, CsvTable table, Codeplug& codeplug);

