// zr740 read and zr740 write end to end: the real programs, zr740sim on a pseudo-terminal, real
// time. The tool is copied into a scratch program directory so that COMn there names the
// virtual radio.
#include <gtest/gtest.h>

#include <chrono>

#include "tests/core/SessionBench.h"
#include "tests/core/SessionPrograms.h"

using namespace session_test;

namespace {

class CliTransfer : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("zr740-cli-" + std::to_string(getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        fs::copy_file(kProgramDir / "zr740", dir / "zr740");
        tool = (dir / "zr740").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    // A small codeplug (short lists keep the real-time sessions short).
    fs::path SmallFile(const std::string& name, std::uint8_t seed)
    {
        auto image = FullImage(seed);
        SetListCounts(*image, 2, 1, 1, 2, 1, 1);
        const fs::path path = dir / name;
        EXPECT_TRUE(SaveCodeplugFile(*image, path).ok());
        return path;
    }

    fs::path dir;
    std::string tool;
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
    const fs::path source = SmallFile("source.VNTX", 1);
    const fs::path radioFile = dir / "radio.VNTX";
    Sim sim({"--load", source.string(), "--link-dir", dir.string(), "--com", "5", "--save-on-close",
             radioFile.string()});
    ASSERT_FALSE(sim.device().empty());
    ASSERT_TRUE(fs::is_symlink(dir / "COM5"));

    const auto start = std::chrono::steady_clock::now();
    const fs::path out = dir / "read.VNTX";
    const Finished read = RunProgram({tool, "read", "--port", "COM5", "-o", out.string()});
    ASSERT_EQ(read.exitCode, 0) << read.errors;
    auto got = Load(out);
    auto want = Load(source);
    EXPECT_EQ(GetCount(got->DigitalChannelCount), 2u);
    EXPECT_EQ(GetCount(got->ContactCount), 2u);
    EXPECT_EQ(Slice(Bytes(*got), 6734, 2 * 82), Slice(Bytes(*want), 6734, 2 * 82));  // digital channels
    EXPECT_EQ(Slice(Bytes(*got), 0, 254 + 2 * 45), Slice(Bytes(*want), 0, 254 + 2 * 45));  // settings, contacts
    EXPECT_EQ(got->FunctionExtra, want->FunctionExtra);

    // Write another image back with a radio ID of its own.
    const fs::path other = SmallFile("other.VNTX", 3);
    const Finished write = RunProgram({tool, "write", "--port", sim.device(), other.string(), "--radio-id", "7654321"});
    ASSERT_EQ(write.exitCode, 0) << write.errors;
    auto radio = Load(radioFile);  // what the radio held after the write session closed
    auto sent = Load(other);
    EXPECT_EQ(GetLE32(radio->DmrSettings, 1), 0x07654321u);
    EXPECT_EQ(Slice(Bytes(*radio), 6734 + 82 + 1, 37), Slice(Bytes(*sent), 6734 + 82 + 1, 37));  // name of channel 2
    EXPECT_EQ(GetCount(radio->ContactCount), 2u);
    EXPECT_EQ(radio->PasswordBlock[24], ',');  // stamped by the write with today's date
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(40));
}

TEST_F(CliTransfer, FailuresExplainThemselvesAndLeaveNoFile)
{
    const fs::path out = dir / "never.VNTX";

    const Finished noPort = RunProgram({tool, "read", "--port", (dir / "ttyNothing").string(), "-o", out.string()});
    EXPECT_EQ(noPort.exitCode, 6);
    EXPECT_NE(noPort.errors.find("does not exist"), std::string::npos) << noPort.errors;

    EXPECT_EQ(RunProgram({tool, "read", "-o", out.string()}).exitCode, 2);
    EXPECT_EQ(RunProgram({tool, "read", "--port", "COM1", "-o", out.string(), "--password", "12a"}).exitCode, 2);

    {
        Sim silent({"--silent"});
        const Finished r = RunProgram({tool, "read", "--port", silent.device(), "-o", out.string()});
        EXPECT_EQ(r.exitCode, 7);
        EXPECT_NE(r.errors.find("cable"), std::string::npos) << r.errors;
        EXPECT_NE(r.errors.find("switched on"), std::string::npos) << r.errors;
    }
    {
        const fs::path source = SmallFile("source.VNTX", 1);
        Sim locked({"--load", source.string(), "--password", "1234"});
        const Finished none = RunProgram({tool, "read", "--port", locked.device(), "-o", out.string()});
        EXPECT_EQ(none.exitCode, 8);
        EXPECT_NE(none.errors.find("--password"), std::string::npos) << none.errors;
        const Finished wrong = RunProgram({tool, "write", "--port", locked.device(), source.string(), "--password", "4321"});
        EXPECT_EQ(wrong.exitCode, 8);
        EXPECT_NE(wrong.errors.find("rejected"), std::string::npos) << wrong.errors;
    }
    {
        // The radio falls silent in the middle of the contacts: no file at all.
        const fs::path source = SmallFile("cut.VNTX", 1);
        Sim cut({"--load", source.string(), "--cut-after", "9"});
        const Finished r = RunProgram({tool, "read", "--port", cut.device(), "-o", out.string()});
        EXPECT_EQ(r.exitCode, 7);
    }
    EXPECT_FALSE(fs::exists(out));
}
