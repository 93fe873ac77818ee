#pragma once
// Texts of the user interface, looked up by section and key number in Txt.ini (UTF-8).
// All languages share one file: the key name is TextKeyBase + key written with at least six
// digits. Section and key names match without regard to case; a value is the rest of its line.
//
// The reader is our own: the common INI libraries cut long lines or interpret quotes,
// semicolons and backslashes inside values, and a value here is taken exactly as written.
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>

class TextCatalogue {
public:
    static constexpr std::size_t kMaxChars = 259;

    // Reads the whole file once; a missing file leaves the catalogue empty (every text "") and
    // LoadError() says why.
    bool LoadFile(const std::filesystem::path& path);
    const std::string& LoadError() const { return loadError_; }
    void LoadText(std::string_view content);

    void SetKeyBase(int base) { keyBase_ = base; }
    int KeyBase() const { return keyBase_; }
    // A second key base tried when the first finds no text (-1: none).
    void SetFallbackKeyBase(int base) { fallbackBase_ = base; }

    // The text, cut to 259 characters; "" for a missing file, section or key. Never fails.
    std::string GetText(std::string_view section, int key) const;
    // The same with a key base of its own instead of the run's (the Chinese menu bar of a run in
    // another language), no fallback.
    std::string GetTextAt(std::string_view section, int keyBase, int key) const;

    // With recording on, every lookup that finds nothing is remembered (section, key).
    void SetRecordMisses(bool on) { recordMisses_ = on; }
    const std::set<std::pair<std::string, int>>& Misses() const { return misses_; }
    void ClearMisses() { misses_.clear(); }

    static std::string KeyName(int base, int key);

private:
    std::map<std::string, std::map<std::string, std::string>> sections_;  // lower-case names
    int keyBase_ = 0;
    int fallbackBase_ = -1;
    std::string loadError_;
    bool recordMisses_ = false;
    mutable std::set<std::pair<std::string, int>> misses_;
};

// Formats a catalogue pattern holding one "%d" (tree labels such as "Channel %02d").
std::string FormatNumbered(const std::string& pattern, int number);
