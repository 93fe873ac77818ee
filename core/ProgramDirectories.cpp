#include "core/ProgramDirectories.h"

#include <cstdlib>
#include <system_error>

#include <unistd.h>

#include "core/SystemSettings.h"

namespace fs = std::filesystem;

namespace {

bool Exists(const fs::path& path)
{
    std::error_code ignored;
    return fs::exists(path, ignored);
}

bool FolderWritable(const fs::path& folder) { return ::access(folder.c_str(), W_OK) == 0; }

}  // namespace

fs::path InstalledDataDirectory(const fs::path& executableDirectory)
{
    return (executableDirectory / ".." / "share" / "zr740cps").lexically_normal();
}

fs::path UserConfigDirectory()
{
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config == '/')
        return fs::path(config) / "zr740cps";
    if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/')
        return fs::path(home) / ".config" / "zr740cps";
    return {};
}

ProgramDirectories LocateProgramDirectories(const fs::path& executableDirectory, const fs::path& configDirectory,
                                            const std::function<bool(const fs::path&)>& writable)
{
    ProgramDirectories found{executableDirectory, executableDirectory};
    const fs::path installed = InstalledDataDirectory(executableDirectory);
    const bool besideExecutable = Exists(executableDirectory / kLanguageFileName);
    if (!besideExecutable && Exists(installed / kLanguageFileName))
        found.data = installed;

    // An installed program, or one in a folder the user cannot write, keeps its settings with
    // the user; a folder that cannot be made leaves them beside the program (never saved).
    const bool canWrite = writable ? writable(executableDirectory) : FolderWritable(executableDirectory);
    if ((found.data != executableDirectory || !canWrite) && !configDirectory.empty()) {
        std::error_code ignored;
        fs::create_directories(configDirectory, ignored);
        if (fs::is_directory(configDirectory, ignored))
            found.program = configDirectory;
    }
    return found;
}
