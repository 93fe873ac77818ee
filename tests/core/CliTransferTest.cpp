// zr740 read and zr740 write end to end: the real programs, zr740sim on a pseudo-terminal, real
// time. The tool is copied into a scratch program directory so that COMn there names the sim.
#include <gtest/gtest.h>

#include "tests/core/SessionBench.h"
#include "tests/core/SessionPrograms.h"

using namespace session_test;

namespace {

class CliTransfer : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::remove_all(dir);
        fs::create_directories(dir);
        fs::copy_file(kProgramDir / "zr740", tool);
    }
    void TearDown() override { fs::remove_all(dir); }

    // A small codeplug (short lists keep the real-time sessions short).
    fs::path SmallFile(const std::string& name, std::uint8_t seed)
    {
        auto image = FullImage(seed);
        SetListCounts(*image, 2, 1, 1, 2, 1, 1);
        EXPECT_TRUE(SaveCodeplugFile(*image, dir / name).ok());
        return dir / name;
    }
    Finished Run(std::vector<std::string> args)
    {
        args.insert(args.begin(), tool.string());
        return RunProgram(args);
    }

    const fs::path dir = fs::temp_directory_path() / ("zr740-cli-" + std::to_string(getpid()) + "-" +
                                                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
    const fs::path tool = dir / "zr740";
};

std::unique_ptr<Codeplug> Load(const fs::path& path)
{
    auto image = std::make_unique<Codeplug>();
    EXPECT_TRUE(LoadCodeplugFile(*image, path).ok()) << path;
    return image;
}

}  // namespace

TEST_F(CliTransfer, ReadThenWriteThroughComPortOfTheProgramDirectory)
{
    const fs::path source = SmallFile("source.VNTX", 1), out = dir / "read.VNTX", radioFile = dir / "radio.VNTX";
    Sim sim({"--load", source.string(), "--link-dir", dir.string(), "--com", "5", "--save-on-close", radioFile.string()});
    ASSERT_TRUE(fs::is_symlink(dir / "COM5"));
    const Finished read = Run({"read", "--port", "COM5", "-o", out.string()});
    ASSERT_EQ(read.exitCode, 0) << read.errors;
    auto got = Load(out), want = Load(source);
    EXPECT_EQ(GetCount(got->DigitalChannelCount), 2u);
    EXPECT_EQ(Slice(Bytes(*got), 6734, 2 * 82), Slice(Bytes(*want), 6734, 2 * 82));  // digital channels
    EXPECT_EQ(Slice(Bytes(*got), 0, 254 + 2 * 45), Slice(Bytes(*want), 0, 254 + 2 * 45));  // settings, contacts
    EXPECT_EQ(got->FunctionExtra, want->FunctionExtra);

    const fs::path other = SmallFile("other.VNTX", 3);  // written back with a radio ID of its own
    const Finished write = Run({"write", "--port", sim.device(), other.string(), "--radio-id", "7654321"});
    ASSERT_EQ(write.exitCode, 0) << write.errors;
    auto radio = Load(radioFile), sent = Load(other);  // what the radio held after the write session
    EXPECT_EQ(GetLE32(radio->DmrSettings, 1), 0x07654321u);
    EXPECT_EQ(Slice(Bytes(*radio), 6734 + 82 + 1, 37), Slice(Bytes(*sent), 6734 + 82 + 1, 37));  // name of channel 2
    EXPECT_EQ(radio->PasswordBlock[24], ',');  // stamped with today's date
}

TEST_F(CliTransfer, FailuresExplainThemselvesAndLeaveNoFile)
{
    const std::string out = (dir / "never.VNTX").string(), source = SmallFile("source.VNTX", 1).string();
    EXPECT_EQ(Run({"read", "--port", (dir / "ttyNothing").string(), "-o", out}).exitCode, 6);
    {
        Sim silent({"--silent"});
        const Finished r = Run({"read", "--port", silent.device(), "-o", out});
        EXPECT_EQ(r.exitCode, 7);
        EXPECT_NE(r.errors.find("cable"), std::string::npos) << r.errors;
    }
    {
        Sim locked({"--load", source, "--password", "1234"});
        const Finished none = Run({"read", "--port", locked.device(), "-o", out});
        EXPECT_EQ(none.exitCode, 8);
        EXPECT_NE(none.errors.find("--password"), std::string::npos) << none.errors;
        EXPECT_EQ(Run({"write", "--port", locked.device(), source, "--password", "4321"}).exitCode, 8);
    }
    Sim cut({"--load", source, "--cut-after", "9"});  // falls silent in the contacts
    EXPECT_EQ(Run({"read", "--port", cut.device(), "-o", out}).exitCode, 7);
    EXPECT_FALSE(fs::exists(out));
}
