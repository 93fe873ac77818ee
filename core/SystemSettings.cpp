#include "core/SystemSettings.h"

#include <algorithm>
#include <fstream>

#include "codeplug/CodeplugFile.h"

bool ReadWholeFile(const std::filesystem::path& path, std::span<std::uint8_t> buffer)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::array<char, SystemSettings::kBytes> chunk{};
    std::size_t total = 0;
    // Read into a scratch copy first so a failing read leaves the buffer as it was.
    std::string data;
    while (total < buffer.size() && in) {
        const std::size_t want = std::min(chunk.size(), buffer.size() - total);
        in.read(chunk.data(), static_cast<std::streamsize>(want));
        const auto got = static_cast<std::size_t>(in.gcount());
        data.append(chunk.data(), got);
        total += got;
    }
    if (in.bad())
        return false;
    std::copy(data.begin(), data.end(), buffer.begin());
    return true;
}

bool WriteWholeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    return ReplaceFileContents(path, bytes).ok();
}

std::string SystemSettings::savedPassword() const
{
    const auto first = bytes.begin() + SavedPassword;
    const auto last = first + kSavedPasswordBytes;
    if (std::all_of(first, last, [](std::uint8_t b) { return b == 0xFF; }))
        return {};
    return std::string(first, std::find(first, last, std::uint8_t{0}));
}

void SystemSettings::setSavedPassword(const std::string& password)
{
    const auto first = bytes.begin() + SavedPassword;
    if (password.empty()) {
        std::fill_n(first, kSavedPasswordBytes, std::uint8_t{0xFF});
        return;
    }
    std::fill_n(first, kSavedPasswordBytes, std::uint8_t{0});
    std::copy_n(password.begin(), std::min(password.size(), kSavedPasswordMaxChars), first);
}

UiLanguage LanguageFromSetting(std::uint8_t value)
{
    if (value == 0)
        return UiLanguage::Chinese;
    return value == 1 ? UiLanguage::English : UiLanguage::Other;
}

int TextKeyBaseFor(UiLanguage language)
{
    switch (language) {
    case UiLanguage::Chinese: return 0;
    case UiLanguage::English: return 100000;
    case UiLanguage::Other: break;
    }
    return 800000;
}

std::string MainTitleFor(UiLanguage language)
{
    return language == UiLanguage::Chinese ? "ZR-74[0 NV系列] 客户版编程软件" : "ZR-74[0 NV]";
}

bool UsesEnglishMenus(UiLanguage language) { return language == UiLanguage::English; }
