#pragma once
// The rules a codeplug must keep whatever edits it — a form, an import or a verb — written once:
//
// - the fields that follow others (NormaliseRecord): auto scan needs a scan list, a digital
//   channel's direct mode and "frequencies differ" bit follow its frequencies and its key follows
//   encryption, an all-call contact holds the all-call ID, a receive group list holds only group
//   calls, the password copies follow the password, the options the radio must receive off are off;
// - every field's valid values (FieldProblem of the field schema), references included;
// - the rules across a table: one all call, no two contacts of a call type with one ID; empty
//   zones, scan lists and receive group lists are worth a warning.
//
// The forms apply the normalisation as they show and commit a record, the imports apply it to
// every record they write and refuse what the findings call an error, and the check reports the
// findings. A codeplug the forms could have produced has no error.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/Codeplug.h"
#include "forms/Sections.h"

struct RuleFinding {
    static constexpr std::size_t kWholeTable = static_cast<std::size_t>(-1);
    bool error = true;           // false: a warning
    std::string_view section;    // Section id: "digitalChannels"
    std::size_t record = 0;      // 0-based record of a table, 0 for a block, kWholeTable for the table
    std::string_view field;      // field id; empty for the record or the table as a whole
    std::string what;            // the finding in words, in English
};

// Sets the dependent fields of record `record` of `section`, as the forms do.
void NormaliseRecord(Codeplug& codeplug, std::string_view section, std::size_t record);
// NormaliseRecord for every record in use.
void NormaliseCodeplug(Codeplug& codeplug);

// Every finding about the records in use, the counts and the tables, in file order.
std::vector<RuleFinding> FindRuleProblems(const Codeplug& codeplug);
// The findings about one record: its fields' valid values and its dependent fields.
std::vector<RuleFinding> RecordFindings(const Codeplug& codeplug, const Section& section, std::size_t record);
