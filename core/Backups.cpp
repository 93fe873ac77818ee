#include "core/Backups.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "codeplug/CodeplugFile.h"
#include "codeplug/Records.h"

namespace fs = std::filesystem;

namespace backups {
namespace {

constexpr std::size_t kStampChars = 15;  // "20261207-033512"

// A backup's name: the date and time stamp, '-', and the rest ending in .VNTX.
bool IsBackupName(const std::string& name)
{
    if (name.size() < kStampChars + 6 || name.substr(name.size() - 5) != ".VNTX" || name[8] != '-' ||
        name[kStampChars] != '-')
        return false;
    for (std::size_t i = 0; i < kStampChars; ++i) {
        if (i != 8 && !std::isdigit(static_cast<unsigned char>(name[i])))
            return false;
    }
    return true;
}

}  // namespace

fs::path Directory()
{
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && fs::path(xdg).is_absolute())
        return fs::path(xdg) / "zr740" / "backups";
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0')
        return fs::path(home) / ".local" / "share" / "zr740" / "backups";
    return {};
}

std::string SerialForFileName(const Codeplug& codeplug)
{
    std::string serial;
    for (std::size_t i = RadioInfoField::SerialNumber; i < codeplug.RadioInfoBlock.size(); ++i) {
        const char c = static_cast<char>(codeplug.RadioInfoBlock[i]);
        if (c == '\0')
            break;
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_')
            serial += c;
    }
    return serial.empty() ? "unknown" : serial;
}

std::string FileName(const Codeplug& codeplug, std::chrono::system_clock::time_point when)
{
    const std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&t, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return std::string(stamp) + "-" + SerialForFileName(codeplug) + ".VNTX";
}

Result Save(const Codeplug& codeplug, const fs::path& directory, std::chrono::system_clock::time_point when,
            std::size_t keep)
{
    Result result;
    if (directory.empty()) {
        result.error = "no data directory (neither XDG_DATA_HOME nor HOME is set)";
        return result;
    }
    std::error_code error;
    fs::create_directories(directory, error);
    if (error) {
        result.error = "cannot create " + directory.string() + ": " + error.message();
        return result;
    }
    const std::string name = FileName(codeplug, when);
    fs::path path = directory / name;
    for (int n = 2; fs::exists(path, error); ++n)
        path = directory / (name.substr(0, name.size() - 5) + "-" + std::to_string(n) + ".VNTX");
    auto copy = std::make_unique<Codeplug>(codeplug);
    const FileResult saved = WriteCodeplugFile(*copy, path);
    if (!saved.ok()) {
        result.error = "cannot write " + path.string() + ": " + saved.detail;
        return result;
    }
    Prune(directory, keep);
    result.ok = true;
    result.path = path;
    return result;
}

std::size_t Prune(const fs::path& directory, std::size_t keep)
{
    std::vector<fs::path> found;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(directory, error)) {
        if (entry.is_regular_file(error) && IsBackupName(entry.path().filename().string()))
            found.push_back(entry.path());
    }
    if (found.size() <= keep)
        return 0;
    std::sort(found.begin(), found.end());
    std::size_t removed = 0;
    for (std::size_t i = 0; i + keep < found.size(); ++i)
        removed += fs::remove(found[i], error) ? 1 : 0;
    return removed;
}

}  // namespace backups
