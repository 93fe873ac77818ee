// Every file the programs write goes through the one safe save: traps set around the target
// and a file-size limit, against the real zr740 and zr740sim (run by /bin/sh,
// so a row may set `ulimit -f`, in blocks of 512 bytes).
#include "tests/core/TestFiles.h"
#include <signal.h>
#include <sys/stat.h>

#include <future>

namespace fs = std::filesystem;

namespace {

const fs::path kPrograms = ZR740_PROGRAM_DIR;
const fs::path kDefault = testfiles::kDefaultFile;
using testfiles::ReadText;
using testfiles::WriteText;

using testfiles::Ran;

// The command run by /bin/sh in `dir`: its standard error, standard output dropped.
Ran Shell(const fs::path& dir, const std::string& command)
{
    return testfiles::Shell("cd '" + dir.string() + "' && { " + command + " ; } 2>&1 >/dev/null");
}

// A process id that no process has now (a child that has ended and been waited for).
pid_t DeadPid()
{
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

std::size_t Temporaries(const fs::path& dir)
{
    std::size_t n = 0;
    for (const auto& entry : fs::directory_iterator(dir))
        n += entry.path().filename().string().ends_with(".saving") && !fs::is_symlink(entry.symlink_status());
    return n;
}

}  // namespace

TEST(FileTraps, OutputsAreWrittenSafelyWhateverLiesAroundThem)
{
    const std::string zr740 = "'" + (kPrograms / "zr740").string() + "'";
    const std::string exportJson = zr740 + " export '" + kDefault.string() + "' -o out.json";
    const std::string dead = std::to_string(DeadPid()), alive = std::to_string(getpid());
    const struct {
        const char* name;
        std::function<void(const fs::path&)> plant;
        std::string command;
        int exitCode;
        std::function<void(const fs::path&, const Ran&)> check;
    } rows[] = {
        {"a link planted at the old temporary name",
         [](const fs::path& d) {
             WriteText(d / "victim.txt", "victim");
             fs::create_symlink("victim.txt", d / "out.json.saving");
         },
         exportJson, 0,
         [](const fs::path& d, const Ran&) {
             EXPECT_EQ(ReadText(d / "victim.txt"), "victim");
             EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(d / "out.json")));
             EXPECT_EQ(ReadText(d / "out.json").substr(0, 1), "{");
         }},
        {"a file-size limit",
         [](const fs::path& d) { WriteText(d / "out.json", "old"); },
         "ulimit -f 16; " + exportJson, 1,
         [](const fs::path& d, const Ran& ran) {
             EXPECT_NE(ran.out.find("cannot write out.json: File too large"), std::string::npos) << ran.out;
             EXPECT_EQ(ReadText(d / "out.json"), "old");
             EXPECT_EQ(Temporaries(d), 0u);
         }},
        {"temporaries of a killed save",
         [&](const fs::path& d) {
             for (const std::string& name : {"out.json." + dead + ".0.saving", "out.json." + alive + ".1.saving",
                                            std::string("out.json.notes.saving"), "other.json." + dead + ".0.saving"})
                 WriteText(d / name, "left");
         },
         exportJson, 0,
         [&](const fs::path& d, const Ran&) {
             EXPECT_FALSE(fs::exists(d / ("out.json." + dead + ".0.saving"))) << "its process is gone";
             EXPECT_TRUE(fs::exists(d / ("out.json." + alive + ".1.saving"))) << "its process may still be saving";
             EXPECT_TRUE(fs::exists(d / "out.json.notes.saving")) << "not a name of ours";
             EXPECT_TRUE(fs::exists(d / ("other.json." + dead + ".0.saving"))) << "another target's";
         }},
        {"the simulator saving at exit past the file-size limit",
         [](const fs::path& d) { WriteText(d / "radio.VNTX", "old"); },
         "ulimit -f 16; '" + (kPrograms / "zr740sim").string() + "' --load '" + kDefault.string() +
             "' --save-on-close radio.VNTX & sleep 0.5; kill $!; wait $!",
         0,
         [](const fs::path& d, const Ran& ran) {
             EXPECT_NE(ran.out.find("cannot save radio.VNTX"), std::string::npos) << ran.out;
             EXPECT_EQ(ReadText(d / "radio.VNTX"), "old");
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const testfiles::TempDir temp;
        const fs::path dir = temp.path;
        row.plant(dir);
        const Ran ran = Shell(dir, row.command);
        EXPECT_EQ(ran.exitCode, row.exitCode) << ran.out;
        row.check(dir, ran);
    }
}

// A device or a pipe cannot be replaced: its bytes go into it, and it stays what it was.
TEST(FileTraps, APipeAsTheTargetIsWrittenIntoNotReplaced)
{
    const testfiles::TempDir temp;
    const fs::path dir = temp.path;
    ASSERT_EQ(mkfifo((dir / "out.csv").c_str(), 0600), 0);
    auto reader = std::async(std::launch::async, [&] { return ReadText(dir / "out.csv"); });
    const Ran ran = Shell(dir, "'" + (kPrograms / "zr740").string() + "' export '" + kDefault.string() +
                                   "' --table analog -o out.csv");
    EXPECT_EQ(ran.exitCode, 0) << ran.out;
    EXPECT_EQ(reader.get().substr(0, 6), "\xEF\xBB\xBFNo.");
    EXPECT_TRUE(fs::is_fifo(dir / "out.csv"));
}

// The desktop program ignores the file-size signal from its start, as the two tools do (their
// saves are shown failing above), so a save past the limit fails with a message instead.
TEST(FileTraps, TheDesktopProgramIgnoresTheFileSizeSignal)
{
    const std::string program = (kPrograms / "zr740cps").string();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        freopen("/dev/null", "w", stderr);
        execl(program.c_str(), program.c_str(), nullptr);
        _exit(127);
    }
    ASSERT_GT(pid, 0);
    bool ignored = false;
    for (int i = 0; i < 500 && !ignored; ++i) {
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("SigIgn:", 0) == 0)
                ignored = (std::stoull(line.substr(7), nullptr, 16) >> (SIGXFSZ - 1) & 1) != 0;
        usleep(20000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    EXPECT_TRUE(ignored);
}
