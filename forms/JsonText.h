#pragma once
// The one parse of untrusted JSON text (a codeplug file to import). The text's nesting is
// measured before the parser sees it: a codeplug needs fewer than ten levels, and text nested
// thousands of levels deep would exhaust the stack of whatever walks the parsed document.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "forms/CodeplugJson.h"

inline constexpr std::size_t kMaxJsonDepth = 64;

// The deepest nesting of arrays and objects in the text (brackets inside strings do not count),
// counted no further than `limit + 1`.
std::size_t JsonNestingDepth(std::string_view text, std::size_t limit = kMaxJsonDepth);

// The document, or nullopt with `error` saying why not: nested deeper than kMaxJsonDepth, or
// the parser's message ("parse error at line 3, column 5: ...").
std::optional<JsonDocument> ParseJsonText(std::string_view text, std::string& error);
