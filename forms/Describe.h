#pragma once
// A readable account of a Codeplug: every field decoded to what a user reads (frequencies as
// MHz text, tones as "67.0" / "D023N", aliases as text, DMR IDs as their decimal digits, flags by
// name), as a neutral tree that the text and JSON printers (DescribeFormat.h) lay out.
//
// Any image is accepted, including random bytes: counts above their tables are reported as
// stored, but only the records inside the table are listed.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/Codeplug.h"

struct DescNode {
    enum class Kind { Object, Array, Text, Number, Flag };

    Kind kind = Kind::Object;
    std::string id;     // key for machine use (camelCase); unused for array items
    std::string label;  // what a reader sees
    std::string text;   // Text: the value; Number: its decimal digits
    bool flag = false;
    std::vector<DescNode> children;
    // Text layout only: a note shown after the label of an object or list; a field left out
    // (its content is in the note); a list whose items stand directly under its parent.
    std::string note;
    bool hiddenInText = false;
    bool flatInText = false;

    static DescNode Object(std::string id, std::string label);
    static DescNode Array(std::string id, std::string label);

    // Appenders; each returns *this so that fields can be chained.
    DescNode& AddText(std::string id, std::string label, std::string value);
    DescNode& AddNumber(std::string id, std::string label, std::int64_t value);
    DescNode& AddFlag(std::string id, std::string label, bool value);
    DescNode& Add(DescNode child);

    // Marks the last child added as hidden in text output.
    DescNode& HideLastInText();

    // The child with this id, or nullptr.
    const DescNode* Find(std::string_view childId) const;
};

// Every block, record by record.
DescNode DescribeCodeplug(const Codeplug& codeplug);

// The overview: marker, counts, radio ID, band and the names of channels, zones and lists.
DescNode DescribeSummary(const Codeplug& codeplug);

// Helpers shared with the forms and tests.
// A BcdId as its decimal digits ("%X" of the value); non-decimal nibbles are marked.
std::string BcdIdText(std::uint32_t value);
