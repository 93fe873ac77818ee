#include "core/TextCatalogue.h"

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

std::string Lower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

std::string_view Trim(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Cuts UTF-8 text after max characters (code points), never inside a character.
std::string CutChars(const std::string& text, std::size_t max)
{
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (chars == max)
                return text.substr(0, i);
            ++chars;
        }
    }
    return text;
}

}  // namespace

bool TextCatalogue::LoadFile(const std::filesystem::path& path)
{
    sections_.clear();
    loadError_.clear();
    std::error_code kind;
    if (std::filesystem::is_directory(path, kind)) {
        loadError_ = std::generic_category().message(EISDIR);
        return false;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        loadError_ = std::generic_category().message(errno != 0 ? errno : ENOENT);
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) {
        loadError_ = std::generic_category().message(errno != 0 ? errno : EIO);
        return false;
    }
    LoadText(content.str());
    return true;
}

void TextCatalogue::LoadText(std::string_view content)
{
    sections_.clear();
    if (content.substr(0, 3) == "\xEF\xBB\xBF")
        content.remove_prefix(3);
    std::map<std::string, std::string>* current = nullptr;
    while (!content.empty()) {
        const std::size_t end = content.find('\n');
        std::string_view line = content.substr(0, end);
        content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);

        const std::string_view trimmed = Trim(line);
        if (trimmed.empty() || trimmed.front() == ';')
            continue;
        if (trimmed.front() == '[') {
            const std::size_t close = trimmed.find(']');
            current = close == std::string_view::npos
                          ? nullptr
                          : &sections_[Lower(Trim(trimmed.substr(1, close - 1)))];
            continue;
        }
        const std::size_t equals = line.find('=');
        if (current == nullptr || equals == std::string_view::npos)
            continue;
        const std::string name = Lower(Trim(line.substr(0, equals)));
        // The value is the rest of the line, leading blanks after '=' aside; the first
        // occurrence of a name wins, as with the platform's profile functions.
        current->emplace(name, std::string(Trim(line.substr(equals + 1))));
    }
}

std::string TextCatalogue::KeyName(int base, int key)
{
    char name[32];
    std::snprintf(name, sizeof name, "%06d", base + key);
    return name;
}

std::string TextCatalogue::GetText(std::string_view section, int key) const
{
    const auto s = sections_.find(Lower(section));
    if (s != sections_.end()) {
        const auto v = s->second.find(KeyName(keyBase_, key));
        if (v != s->second.end())
            return CutChars(v->second, kMaxChars);
        if (fallbackBase_ >= 0 && fallbackBase_ != keyBase_) {
            const auto f = s->second.find(KeyName(fallbackBase_, key));
            if (f != s->second.end())
                return CutChars(f->second, kMaxChars);
        }
    }
    if (recordMisses_)
        misses_.emplace(std::string(section), key);
    return {};
}

std::string TextCatalogue::GetTextAt(std::string_view section, int keyBase, int key) const
{
    const auto s = sections_.find(Lower(section));
    if (s != sections_.end())
        if (const auto v = s->second.find(KeyName(keyBase, key)); v != s->second.end())
            return CutChars(v->second, kMaxChars);
    if (recordMisses_)
        misses_.emplace(std::string(section), key);
    return {};
}

std::string FormatNumbered(const std::string& pattern, int number)
{
    // Only the first %d (with optional zero-padding width) is replaced; anything else stays literal,
    // so a malformed pattern from the language file cannot reach printf.
    const std::size_t percent = pattern.find('%');
    if (percent == std::string::npos)
        return pattern;
    std::size_t i = percent + 1;
    std::string format = "%";
    while (i < pattern.size() && (std::isdigit(static_cast<unsigned char>(pattern[i])) != 0) && format.size() < 4)
        format += pattern[i++];
    if (i >= pattern.size() || pattern[i] != 'd')
        return pattern;
    format += 'd';
    char digits[48];
    std::snprintf(digits, sizeof digits, format.c_str(), number);
    return pattern.substr(0, percent) + digits + pattern.substr(i + 1);
}
