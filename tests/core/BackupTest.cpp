// A backup of every read: the file beside the user's data, and only the newest kept.
#include <gtest/gtest.h>

#include <fstream>

#include "app/Backups.h"
#include "codeplug/CodeplugFile.h"
#include "tests/core/SessionBench.h"
#include "tests/core/SessionPrograms.h"

using namespace session_test;

namespace {

std::vector<fs::path> Listed(const fs::path& dir)
{
    std::vector<fs::path> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(Backups, NamedByTimeAndSerialAndTheOldestGo)
{
    const fs::path dir = fs::temp_directory_path() / ("zr740-backups-" + std::to_string(getpid()));
    fs::remove_all(dir);
    auto image = std::make_unique<Codeplug>();
    const char serial[] = "SN/07 42";
    std::copy(serial, serial + sizeof serial - 1, image->RadioInfoBlock.begin() + 2);
    const auto at = [](int seconds) { return std::chrono::system_clock::from_time_t(1796600000 + seconds); };
    const std::string name = backups::FileName(*image, at(0));
    EXPECT_EQ(name.substr(15), "-SN0742.VNTX");
    EXPECT_EQ(name[8], '-');

    fs::create_directories(dir);
    std::ofstream(dir / "notes.txt") << "not a backup";
    for (int s = 0; s < 5; ++s) {
        image->RadioSettings[0] = static_cast<std::uint8_t>(s);
        const backups::Result saved = backups::Save(*image, dir, at(s * 60), 3);
        ASSERT_TRUE(saved.ok) << saved.error;
    }
    const auto kept = Listed(dir);
    ASSERT_EQ(kept.size(), 4u);  // three backups and the note
    EXPECT_EQ(kept[0].string(), backups::FileName(*image, at(120)));
    EXPECT_EQ(kept[3].string(), "notes.txt");
    auto newest = std::make_unique<Codeplug>();
    LoadCodeplugFile(*newest, dir / kept[2]);
    EXPECT_EQ(newest->RadioSettings[0], 4);
    // Two reads in the same second keep both.
    EXPECT_NE(backups::Save(*image, dir, at(240), 10).path, backups::Save(*image, dir, at(240), 10).path);
    EXPECT_FALSE(backups::Save(*image, dir / "notes.txt" / "x", at(0)).ok);
    fs::remove_all(dir);
}

TEST(Backups, EveryReadOfTheToolLeavesOneUnlessToldNot)
{
    const fs::path dir = fs::temp_directory_path() / ("zr740-read-backup-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    auto image = FullImage(5);
    SetListCounts(*image, 1, 1, 1, 1, 1, 1);
    ASSERT_TRUE(SaveCodeplugFile(*image, dir / "radio.VNTX").ok());
    Sim sim({"--load", (dir / "radio.VNTX").string()});
    const std::string data = "XDG_DATA_HOME=" + (dir / "data").string();
    const std::string tool = (kProgramDir / "zr740").string();
    const Finished read = RunProgram({"env", data, tool, "read", "--port", sim.device(), "-o", (dir / "out.VNTX").string()});
    ASSERT_EQ(read.exitCode, 0) << read.errors;
    const fs::path backupDir = dir / "data" / "zr740" / "backups";
    ASSERT_EQ(Listed(backupDir).size(), 1u);
    std::ifstream a(dir / "out.VNTX", std::ios::binary), b(backupDir / Listed(backupDir)[0], std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(a), {}), std::string(std::istreambuf_iterator<char>(b), {}));
    const Finished quiet =
        RunProgram({"env", data, tool, "read", "--no-backup", "--port", sim.device(), "-o", (dir / "out2.VNTX").string()});
    ASSERT_EQ(quiet.exitCode, 0) << quiet.errors;
    EXPECT_EQ(Listed(backupDir).size(), 1u);
    fs::remove_all(dir);
}

TEST(ProtocolTrace, EveryByteOfAReadIsWrittenOneLineEach)
{
    const fs::path dir = fs::temp_directory_path() / ("zr740-trace-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    auto image = FullImage(7);
    SetListCounts(*image, 1, 1, 1, 1, 1, 1);
    ASSERT_TRUE(SaveCodeplugFile(*image, dir / "radio.VNTX").ok());
    Sim sim({"--load", (dir / "radio.VNTX").string()});
    const Finished read = RunProgram({(kProgramDir / "zr740").string(), "read", "--no-backup", "--trace",
                                      (dir / "trace.txt").string(), "--port", sim.device(), "-o", (dir / "out.VNTX").string()});
    ASSERT_EQ(read.exitCode, 0) << read.errors;
    std::ifstream in(dir / "trace.txt");
    std::size_t sent = 0, received = 0, lines = 0;
    double last = -1;
    for (std::string line; std::getline(in, line); ++lines) {
        double seconds = 0;
        char what[8] = {};
        ASSERT_EQ(std::sscanf(line.c_str(), "%lf %7s", &seconds, what), 2) << line;
        EXPECT_GE(seconds, last) << line;
        last = seconds;
        const std::string kind = what;
        const std::size_t bytes = kind == "TX" || kind == "RX" ? (line.size() - line.find(kind) - 2) / 3 : 0;
        (kind == "TX" ? sent : received) += bytes;
        if (kind == "TX" || kind == "RX") {
            EXPECT_EQ((line.size() - line.find(kind) - 2) % 3, 0u) << line;
        }
    }
    EXPECT_GT(lines, 10u);
    EXPECT_GT(received, 1000u);  // the blocks and the records in use the radio returned
    EXPECT_GT(sent, 0u);
    EXPECT_EQ(RunProgram({(kProgramDir / "zr740").string(), "read", "--trace", (dir / "none" / "t.txt").string(),
                          "--port", sim.device(), "-o", (dir / "out2.VNTX").string()}).exitCode, 1);
    fs::remove_all(dir);
}
