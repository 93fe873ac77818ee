#pragma once
// What the whole program shares: the program directory and the files beside it, the settings,
// the texts and the one Codeplug. The desktop program owns one instance for its lifetime;
// tests and the command-line tool make their own.
#include <filesystem>
#include <string>

#include "core/SystemSettings.h"
#include "core/TextCatalogue.h"
#include "codeplug/Codeplug.h"
#include "codeplug/RunMemory.h"

struct AppContext {
    // Sys.dat and COMn port links: beside the program, or for an installed program the user's
    // configuration folder (ProgramDirectories.h).
    std::filesystem::path programDirectory;
    // Txt.ini, Default.VNTX and the manual: the program directory unless given apart.
    std::filesystem::path dataDirectory;
    SystemSettings settings;
    UiLanguage language = UiLanguage::Chinese;  // fixed for the run
    TextCatalogue text;
    Codeplug codeplug;
    std::filesystem::path currentFilePath;
    emergency::AlarmTables alarms;  // the emergency alarm systems: for this run only, never saved or sent
    // The monitor channel settings: kept for the run only, never saved or sent.
    MonitorMemory monitor;
    VoxSettings vox;  // the VOX form's settings: for this run only, never saved or sent

    std::filesystem::path SettingsPath() const { return programDirectory / kSettingsFileName; }
    std::filesystem::path DataDirectory() const { return dataDirectory.empty() ? programDirectory : dataDirectory; }
    std::filesystem::path LanguagePath() const { return DataDirectory() / kLanguageFileName; }
    std::filesystem::path DefaultCodeplugPath() const { return DataDirectory() / kDefaultCodeplugName; }
    std::filesystem::path HelpPath() const { return DataDirectory() / kHelpFileName; }

    // Start-up steps that need no window: read Sys.dat, fix the language and its key base,
    // load the texts. The Codeplug stays zero until the main window loads the default file.
    // `data` is where the language file and the default codeplug are; empty: `directory`.
    void Start(const std::filesystem::path& directory, const std::filesystem::path& data = {});

    // What is wrong with the files read at start, for a message when the window opens: a
    // language file that is missing or cannot be read, named with its path. "" when all is well.
    std::string StartupProblem() const;

    // Writes the whole settings record back to Sys.dat.
    bool SaveSettings() const { return settings.Save(SettingsPath()); }
};
