#pragma once
// The problems a write would carry to a radio: whatever the codeplug rules find (CodeplugRules.h)
// — counts outside their tables, values no form would store or show, references to records that
// do not exist, names that do not fit, duplicate contact IDs, a second all call — as errors, and
// empty lists as warnings.
#include <string>
#include <vector>

#include "codeplug/Codeplug.h"

struct CheckFinding {
    bool error = true;  // false: a warning
    std::string where;  // "Zone 1", "Contacts"
    std::string what;
    // The record it names, so a window can open it: the section id ("zones"), the 0-based record
    // and the field id (empty for the record or table as a whole).
    std::string_view section;
    std::size_t record = 0;
    std::string_view field;
    std::string Text() const { return (error ? "error: " : "warning: ") + where + ": " + what; }
};

std::vector<CheckFinding> CheckCodeplug(const Codeplug& codeplug);

inline std::size_t CountErrors(const std::vector<CheckFinding>& findings)
{
    std::size_t n = 0;
    for (const CheckFinding& f : findings)
        n += f.error ? 1 : 0;
    return n;
}
