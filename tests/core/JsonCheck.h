#pragma once
// A strict JSON syntax check for the tests: true when the whole text is one JSON value.
#include <cctype>
#include <string_view>

class JsonCheck {
public:
    static bool Valid(std::string_view text)
    {
        JsonCheck c{text};
        return c.Value(0) && c.Skip() == text.size();
    }

private:
    explicit JsonCheck(std::string_view text) : s(text) {}
    std::string_view s;
    std::size_t p = 0;

    std::size_t Skip()
    {
        while (p < s.size() && (s[p] == ' ' || s[p] == '\n' || s[p] == '\r' || s[p] == '\t'))
            ++p;
        return p;
    }
    bool Eat(char c) { return Skip() < s.size() && s[p] == c && ++p; }
    bool Hex() { return p < s.size() && std::isxdigit(static_cast<unsigned char>(s[p++])); }
    bool String()
    {
        if (!Eat('"'))
            return false;
        while (p < s.size()) {
            const auto c = static_cast<unsigned char>(s[p++]);
            if (c == '"')
                return true;
            if (c < 0x20)
                return false;
            if (c == '\\') {
                const char e = p < s.size() ? s[p++] : '\0';
                if (e == 'u' ? !(Hex() && Hex() && Hex() && Hex()) : std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos)
                    return false;
            }
        }
        return false;
    }
    bool Value(int depth)
    {
        if (depth > 64 || Skip() >= s.size())
            return false;
        const char c = s[p];
        if (c == '{' || c == '[') {
            const char close = c == '{' ? '}' : ']';
            ++p;
            if (Eat(close))
                return true;
            do {
                if ((c == '{' && !(String() && Eat(':'))) || !Value(depth + 1))
                    return false;
            } while (Eat(','));
            return Eat(close);
        }
        if (c == '"')
            return String();
        for (const std::string_view word : {"true", "false", "null"}) {
            if (s.substr(p, word.size()) == word)
                return (p += word.size(), true);
        }
        const std::size_t start = p += (c == '-');
        while (p < s.size() && std::isdigit(static_cast<unsigned char>(s[p])))
            ++p;
        return p > start;
    }
};
