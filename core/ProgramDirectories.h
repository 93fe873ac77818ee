#pragma once
// Where the program's files are. Run from its build or unpacked folder, everything lies beside
// the executable, as it always has. Installed (the executable in PREFIX/bin, its data in
// PREFIX/share/zr740cps, a folder the user cannot write), the language file, the default
// codeplug and the manual come from the installed data, while Sys.dat and any COMn port links
// live in the user's configuration folder ($XDG_CONFIG_HOME/zr740cps, or ~/.config/zr740cps).
#include <filesystem>
#include <functional>

struct ProgramDirectories {
    std::filesystem::path program;  // Sys.dat and COMn links
    std::filesystem::path data;     // Txt.ini, Default.VNTX, the manual
};

// The installed data folder of an executable folder: EXE_DIR/../share/zr740cps.
std::filesystem::path InstalledDataDirectory(const std::filesystem::path& executableDirectory);

// The user's configuration folder of the program, from XDG_CONFIG_HOME or HOME; empty when
// neither is set.
std::filesystem::path UserConfigDirectory();

// `writable` tells whether a folder may be written (the real test when not given).
ProgramDirectories LocateProgramDirectories(const std::filesystem::path& executableDirectory,
                                            const std::filesystem::path& configDirectory,
                                            const std::function<bool(const std::filesystem::path&)>& writable = {});
