#pragma once
// A strict JSON syntax check for the tests: true when the whole text is one JSON value.
#include <cctype>
#include <string_view>

class JsonCheck {
public:
    static bool Valid(std::string_view text)
    {
        JsonCheck check(text);
        return check.Value(0) && (check.SkipBlanks(), check.pos_ == text.size());
    }

private:
    explicit JsonCheck(std::string_view text) : text_(text) {}

    void SkipBlanks()
    {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\n' || text_[pos_] == '\r' || text_[pos_] == '\t'))
            ++pos_;
    }
    bool Eat(char c)
    {
        SkipBlanks();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    bool Literal(std::string_view word)
    {
        if (text_.substr(pos_, word.size()) != word)
            return false;
        pos_ += word.size();
        return true;
    }
    bool String()
    {
        if (!Eat('"'))
            return false;
        while (pos_ < text_.size()) {
            const auto c = static_cast<unsigned char>(text_[pos_++]);
            if (c == '"')
                return true;
            if (c < 0x20)
                return false;
            if (c == '\\') {
                if (pos_ >= text_.size())
                    return false;
                const char e = text_[pos_++];
                if (e == 'u') {
                    for (int i = 0; i < 4; ++i) {
                        if (pos_ >= text_.size() || !std::isxdigit(static_cast<unsigned char>(text_[pos_++])))
                            return false;
                    }
                } else if (std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos) {
                    return false;
                }
            }
        }
        return false;
    }
    bool Number()
    {
        const std::size_t start = pos_;
        if (pos_ < text_.size() && text_[pos_] == '-')
            ++pos_;
        while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_])))
            ++pos_;
        return pos_ > start && std::isdigit(static_cast<unsigned char>(text_[pos_ - 1]));
    }
    bool Value(int depth)
    {
        if (depth > 64)
            return false;
        SkipBlanks();
        if (pos_ >= text_.size())
            return false;
        const char c = text_[pos_];
        if (c == '{' || c == '[') {
            const char close = c == '{' ? '}' : ']';
            ++pos_;
            if (Eat(close))
                return true;
            do {
                if (c == '{' && !(String() && Eat(':')))
                    return false;
                if (!Value(depth + 1))
                    return false;
            } while (Eat(','));
            return Eat(close);
        }
        if (c == '"')
            return String();
        if (c == 't')
            return Literal("true");
        if (c == 'f')
            return Literal("false");
        if (c == 'n')
            return Literal("null");
        return Number();
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};
