#pragma once
// File › Recent files: the codeplug files last opened or saved, newest first, kept as one path a
// line (UTF-8) in RecentFiles.txt beside Sys.dat (the user's configuration folder when installed).
#include <cstddef>
#include <filesystem>
#include <vector>

inline constexpr const char* kRecentFilesName = "RecentFiles.txt";

class RecentFiles {
public:
    static constexpr std::size_t kMax = 8;

    // Reads the list; a missing or unreadable file gives an empty list. Only the first kMax
    // usable lines count; blank lines, lines too long to be a path and repeats are left out.
    void Load(const std::filesystem::path& file);
    // Writes the list through the safe save; false when it could not be written.
    bool Save(const std::filesystem::path& file) const;

    // `path` (made absolute) goes to the front; a repeat leaves its old place; the oldest beyond
    // kMax fall off.
    void Add(const std::filesystem::path& path);
    void Remove(const std::filesystem::path& path);

    const std::vector<std::filesystem::path>& Paths() const { return paths_; }
    // The folder of the newest entry; empty without one.
    std::filesystem::path LastFolder() const;

private:
    std::vector<std::filesystem::path> paths_;
};
