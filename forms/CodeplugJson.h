#pragma once
// The whole codeplug as a JSON document people can read, keep in version control and edit.
//
// Each block and table record lists its named fields in the units people read; the bits no field
// names are kept under "kept" (offset: hex, non-zero runs only), a field whose bytes no valid value
// describes is kept under "exact" as well, and the records past a table's count under "unused".
// Import gives back exactly the exported image; a hand-edited value is written with the encoding
// the forms use. Import is all or nothing: any problem leaves the target untouched.
#include <string>
#include <vector>

#include "codeplug/Codeplug.h"
#include "forms/FieldSchema.h"

using JsonDocument = nlohmann::ordered_json;

JsonDocument ExportJson(const Codeplug& codeplug);

struct JsonProblem {
    std::string path;  // JSON pointer: "/analogChannels/records/2/rxFrequency"
    std::string reason;
};

// Builds the image the document describes into `codeplug`; on any problem `codeplug` is unchanged
// and every problem found is returned.
std::vector<JsonProblem> ImportJson(const JsonDocument& document, Codeplug& codeplug);

// Bytes as lowercase hex pairs, and back (blanks between pairs allowed); false on bad hex.
std::string HexText(std::span<const std::uint8_t> bytes);
bool ParseHex(std::string_view text, std::vector<std::uint8_t>& bytes);
