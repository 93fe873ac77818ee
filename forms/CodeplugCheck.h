#pragma once
// The problems a write would carry to a radio: counts outside their tables, members and channel
// references naming records that do not exist, duplicate contact IDs or more than one all call,
// frequencies outside the band, names that do not fit and fields no valid value describes.
#include <string>
#include <vector>

#include "codeplug/Codeplug.h"

struct CheckFinding {
    bool error = true;  // false: a warning
    std::string where;  // "Zone 1", "Contacts"
    std::string what;
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
