#pragma once
// Printers for a DescNode tree: indented "Label: value" lines for people, JSON for programs.
#include <string>
#include <string_view>

#include "forms/Describe.h"

// One "Label: value" line per field, nested fields indented by two spaces. Control characters
// inside values are shown as \xNN so that every field stays on its line.
std::string FormatText(const DescNode& root);

// The tree as a JSON document (objects keyed by id, arrays for lists), ending in a newline.
std::string FormatJson(const DescNode& root);

// A JSON string literal, quotes included: '"', '\\' and control characters escaped, valid UTF-8
// passed through, and each byte that is not part of valid UTF-8 replaced by U+FFFD.
std::string JsonQuote(std::string_view text);
