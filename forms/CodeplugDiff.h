#pragma once
// The differences between two codeplugs in words: one line per differing field
// ("Digital channel 3: receive frequency 438.500000 → 439.112500 MHz"), records added or removed
// with the counts, and bytes no field names by their file offsets.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/Codeplug.h"

struct FieldDef;

// One difference, as the diff finds it; `text` is its line.
struct CodeplugChange {
    enum class Kind { Count, Added, Removed, Field, Bytes };
    Kind kind = Kind::Field;
    std::string_view section;        // the section's id: "digitalChannels"
    // The 0-based record; for Count the records `a` uses, for bytes past both counts the first
    // record past them.
    std::size_t record = 0;
    const FieldDef* field = nullptr;  // Field only
    std::string text;
};

std::vector<CodeplugChange> DiffCodeplugChanges(const Codeplug& a, const Codeplug& b);
std::vector<std::string> DiffCodeplugs(const Codeplug& a, const Codeplug& b);
