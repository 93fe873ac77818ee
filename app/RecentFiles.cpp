#include "app/RecentFiles.h"

#include <algorithm>
#include <fstream>
#include <string>

#include "codeplug/CodeplugFile.h"

namespace {
constexpr std::size_t kMaxLineChars = 4096;  // longer than any path a file system takes
constexpr std::size_t kMaxFileBytes = 64 * 1024;
}  // namespace

void RecentFiles::Load(const std::filesystem::path& file)
{
    paths_.clear();
    std::ifstream in(file, std::ios::binary);
    std::string line;
    std::size_t read = 0;
    while (paths_.size() < kMax && read < kMaxFileBytes && std::getline(in, line)) {
        read += line.size() + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line.size() > kMaxLineChars || line.find('\0') != std::string::npos)
            continue;
        const std::filesystem::path path(line);
        if (std::find(paths_.begin(), paths_.end(), path) == paths_.end())
            paths_.push_back(path);
    }
}

bool RecentFiles::Save(const std::filesystem::path& file) const
{
    std::string text;
    for (const std::filesystem::path& path : paths_)
        text += path.string() + "\n";
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    return ReplaceFileContents(file, std::span(bytes, text.size())).ok();
}

void RecentFiles::Add(const std::filesystem::path& path)
{
    if (path.empty() || path.string().find('\n') != std::string::npos)
        return;  // one path a line
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error)
        absolute = path;
    Remove(absolute);
    paths_.insert(paths_.begin(), absolute.lexically_normal());
    if (paths_.size() > kMax)
        paths_.resize(kMax);
}

void RecentFiles::Remove(const std::filesystem::path& path)
{
    std::erase(paths_, path.lexically_normal());
}

std::filesystem::path RecentFiles::LastFolder() const
{
    return paths_.empty() ? std::filesystem::path() : paths_.front().parent_path();
}
