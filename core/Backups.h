#pragma once
// A backup of every read: the image as read is saved as backups/<date>-<time>-<serial>.VNTX
// under the user's data directory ($XDG_DATA_HOME/zr740, by default ~/.local/share/zr740), and
// only the newest 200 are kept. The desktop program and `zr740 read` both save one.
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string>

#include "codeplug/Codeplug.h"

namespace backups {

inline constexpr std::size_t kKept = 200;

// $XDG_DATA_HOME/zr740/backups when XDG_DATA_HOME is an absolute path, else
// $HOME/.local/share/zr740/backups; empty when neither is known.
std::filesystem::path Directory();

// The serial number of the radio information block as a part of a file name: characters other
// than letters, digits, '-' and '_' left out; "unknown" when none is left.
std::string SerialForFileName(const Codeplug& codeplug);

// "20261207-033512-SN0001.VNTX": local date and time, and SerialForFileName.
std::string FileName(const Codeplug& codeplug, std::chrono::system_clock::time_point when);

struct Result {
    bool ok = false;
    std::filesystem::path path;  // the backup written
    std::string error;           // why not, when !ok
};

// Writes the image (exactly as it is) into `directory`, creating it, then removes the oldest
// backups beyond `keep`. A name already taken gets "-2", "-3" ... before the extension.
Result Save(const Codeplug& codeplug, const std::filesystem::path& directory,
            std::chrono::system_clock::time_point when = std::chrono::system_clock::now(), std::size_t keep = kKept);

// Removes the oldest backups (by name, which sorts by time) until at most `keep` remain; other
// files in the directory are left alone. Returns how many were removed.
std::size_t Prune(const std::filesystem::path& directory, std::size_t keep = kKept);

}  // namespace backups
