#include "forms/JsonText.h"

#include <algorithm>

std::size_t JsonNestingDepth(std::string_view text, std::size_t limit)
{
    std::size_t depth = 0;
    std::size_t deepest = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;  // the escaped character, a quote included
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
            if (deepest > limit)
                break;
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return deepest;
}

std::optional<JsonDocument> ParseJsonText(std::string_view text, std::string& error)
{
    if (JsonNestingDepth(text) > kMaxJsonDepth) {
        error = "arrays and objects are nested more than " + std::to_string(kMaxJsonDepth) +
                " levels deep (a codeplug needs fewer than 10)";
        return std::nullopt;
    }
    try {
        return JsonDocument::parse(text);
    } catch (const nlohmann::json::exception& failure) {
        // "[json.exception.parse_error.101] parse error at line 3, column 5: ..." less its tag.
        error = failure.what();
        if (const auto at = error.find("] "); at != std::string::npos)
            error.erase(0, at + 2);
        return std::nullopt;
    }
}
