#include "app/FileCommands.h"

#include <algorithm>
#include <ctime>

#include "core/Backups.h"

std::string TitleWithName(const std::string& baseTitle, const std::string& name)
{
    if (name.empty())
        return baseTitle;
    return baseTitle + "[" + name + "]";
}

bool SaveNeedsName(const std::filesystem::path& currentFile, const std::filesystem::path& programDirectory)
{
    return currentFile.empty() || currentFile.native() == (programDirectory / kDefaultCodeplugName).native();
}

std::string ProposedReadFileName(const Codeplug& codeplug, std::chrono::system_clock::time_point when)
{
    const std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&t, &local);
    char date[16];
    std::strftime(date, sizeof date, "%Y%m%d", &local);
    return backups::SerialForFileName(codeplug) + "-" + date + ".VNTX";
}

namespace {

std::string Trimmed(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return std::string(text);
}

}  // namespace

std::vector<std::pair<std::string, std::string>> ParseFileFilter(std::string_view filter)
{
    std::vector<std::string> parts;
    while (!filter.empty()) {
        const std::size_t bar = filter.find('|');
        parts.emplace_back(filter.substr(0, bar));
        if (bar == std::string_view::npos)
            break;
        filter.remove_prefix(bar + 1);
    }
    std::vector<std::pair<std::string, std::string>> pairs;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string patterns = parts[i + 1];
        std::replace(patterns.begin(), patterns.end(), ';', ' ');
        patterns = Trimmed(patterns);
        // "||" ends the list: an empty description and pattern.
        if (parts[i].empty() && patterns.empty())
            break;
        if (patterns.empty())
            continue;
        pairs.emplace_back(Trimmed(parts[i]), patterns);
    }
    return pairs;
}

std::vector<std::string> FileDialogFilters(std::string_view filter)
{
    std::vector<std::string> out;
    for (const auto& [description, patterns] : ParseFileFilter(filter)) {
        const std::string suffix = "(" + patterns + ")";
        const bool hasSuffix = description.size() >= suffix.size() &&
                               description.compare(description.size() - suffix.size(), suffix.size(), suffix) == 0;
        if (hasSuffix)
            out.push_back(description);
        else if (description.empty())
            out.push_back(suffix);
        else
            out.push_back(description + " " + suffix);
    }
    return out;
}

std::string FileErrorMessage(UiLanguage language, FileStatus status, const std::filesystem::path& file,
                             const std::string& detail)
{
    const bool chinese = language == UiLanguage::Chinese;
    std::string text;
    if (status == FileStatus::WriteFailed)
        text = chinese ? "无法写入文件 " : "The file could not be written: ";
    else
        text = chinese ? "无法打开文件 " : "The file could not be opened: ";
    text += file.string();
    if (!detail.empty())
        text += "\n" + detail;
    return text;
}
