#pragma once
// Sys.dat beside the program: a 1024-byte record. Only a few bytes have a meaning to us; every
// other byte is carried unchanged from the file read at start-up to every file written later.
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

// Reads min(buffer size, file length) bytes into the start of the buffer. False, with the
// buffer untouched, when the file is missing or unreadable.
bool ReadWholeFile(const std::filesystem::path& path, std::span<std::uint8_t> buffer);
// Creates or empties the file and writes the bytes; false when that failed.
bool WriteWholeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

struct SystemSettings {
    static constexpr std::size_t kBytes = 1024;
    static constexpr std::size_t PortConfigured = 16;
    static constexpr std::size_t Language = 32;
    static constexpr std::size_t PortNumber = 33;
    static constexpr std::size_t SavedPassword = 48;
    static constexpr std::size_t kSavedPasswordBytes = 16;
    static constexpr std::size_t kSavedPasswordMaxChars = 6;
    // 1 when the transfer dialog's fast link box is ticked; anything else leaves it off.
    static constexpr std::size_t FastLink = 64;

    std::array<std::uint8_t, kBytes> bytes{};

    bool Load(const std::filesystem::path& path) { return ReadWholeFile(path, bytes); }
    bool Save(const std::filesystem::path& path) const { return WriteWholeFile(path, bytes); }

    std::uint8_t language() const { return bytes[Language]; }
    std::uint8_t portNumber() const { return bytes[PortNumber]; }
    bool fastLink() const { return bytes[FastLink] == 1; }
    void setFastLink(bool on) { bytes[FastLink] = on ? 1 : 0; }

    // Empty when the 16 bytes are all FF or the first byte is 0; otherwise the ASCII
    // characters up to the first zero byte.
    std::string savedPassword() const;
    // Stores the characters (cut to 6) followed by zeros, or 16 bytes FF for an empty text.
    void setSavedPassword(const std::string& password);
};

// The fixed language choice of a run.
enum class UiLanguage { Chinese, English, Other };
UiLanguage LanguageFromSetting(std::uint8_t value);
int TextKeyBaseFor(UiLanguage language);      // 0, 100000, 800000
std::string MainTitleFor(UiLanguage language);  // UTF-8
bool UsesEnglishMenus(UiLanguage language);     // only language 1 installs the English menu bar

// The identity the radio must report before adjustment values may be exchanged: "ZR-740" and six zeros.
constexpr std::array<std::uint8_t, 12> ModelIdentity = {'Z', 'R', '-', '7', '4', '0', 0, 0, 0, 0, 0, 0};

// Names of the files kept beside the program.
inline constexpr const char* kSettingsFileName = "Sys.dat";
inline constexpr const char* kLanguageFileName = "Txt.ini";
inline constexpr const char* kDefaultCodeplugName = "Default.VNTX";
inline constexpr const char* kHelpFileName = "Vantic.chm";
