// Where the program finds its data and keeps its settings: beside the executable, or installed.
#include "tests/core/TestFiles.h"

#include <cstdlib>
#include <optional>

#include "core/ProgramDirectories.h"

namespace fs = std::filesystem;

namespace {

class EnvVar {
public:
    EnvVar(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~EnvVar() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

}  // namespace

TEST(ProgramDirectories, BesideTheExecutableOrInstalled)
{
    const struct {
        const char* name;
        const char* languageFile;  // relative to the tree; null for none
        bool writable;
        bool withConfig;
        const char* program;  // "exe" or "config"
        const char* data;     // "exe" or "share"
    } cases[] = {
        {"build folder", "usr/bin/Txt.ini", true, true, "exe", "exe"},
        {"read-only unpacked folder", "usr/bin/Txt.ini", false, true, "config", "exe"},
        {"installed, run by root", "usr/share/zr740cps/Txt.ini", true, true, "config", "share"},
        {"installed", "usr/share/zr740cps/Txt.ini", false, true, "config", "share"},
        {"no data anywhere", nullptr, true, true, "exe", "exe"},
        {"read-only, no home", "usr/bin/Txt.ini", false, false, "exe", "exe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const testfiles::TempDir tree;
        const fs::path exe = tree / "usr" / "bin";
        fs::create_directories(exe);
        if (c.languageFile) {
            fs::create_directories((tree / c.languageFile).parent_path());
            testfiles::WriteText(tree / c.languageFile, "[Pub]\n");
        }
        const fs::path config = c.withConfig ? tree / "home" / ".config" / "zr740cps" : fs::path();
        const ProgramDirectories found =
            LocateProgramDirectories(exe, config, [&](const fs::path& dir) { return dir == exe ? c.writable : true; });
        const auto where = [&](std::string_view name) {
            return name == "exe" ? exe : name == "config" ? config : (tree / "usr/share/zr740cps");
        };
        EXPECT_EQ(found.program, where(c.program));
        EXPECT_EQ(found.data.lexically_normal(), where(c.data).lexically_normal());
        if (found.program == config) {
            EXPECT_TRUE(fs::is_directory(config));
        }
    }
}

TEST(ProgramDirectories, UserConfigFolderFromXdgOrHome)
{
    {
        EnvVar xdg("XDG_CONFIG_HOME", "/x/cfg");
        EnvVar home("HOME", "/home/u");
        EXPECT_EQ(UserConfigDirectory(), fs::path("/x/cfg/zr740cps"));
    }
    {
        EnvVar xdg("XDG_CONFIG_HOME", "relative");  // not absolute: ignored
        EnvVar home("HOME", "/home/u");
        EXPECT_EQ(UserConfigDirectory(), fs::path("/home/u/.config/zr740cps"));
    }
    EnvVar xdg("XDG_CONFIG_HOME", nullptr);
    EnvVar home("HOME", nullptr);
    EXPECT_TRUE(UserConfigDirectory().empty());
}
