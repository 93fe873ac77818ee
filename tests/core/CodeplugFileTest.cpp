#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "codeplug/CodeplugFile.h"
#include "codeplug/Records.h"

namespace fs = std::filesystem;

namespace {

struct TempDir {
    fs::path path = fs::temp_directory_path() / ("zr740-test-" + std::to_string(std::random_device{}()));
    TempDir() { fs::create_directories(path); }
    ~TempDir() { fs::remove_all(path); }
};

std::vector<std::uint8_t> RandomBytes(std::size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<std::uint8_t> out(n);
    for (auto& b : out)
        b = static_cast<std::uint8_t>(rng());
    return out;
}

void WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

std::vector<std::uint8_t> ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::uint8_t> ValidFile(unsigned seed)
{
    auto bytes = RandomBytes(kCodeplugFileBytes, seed);
    PutLE16(bytes, 11268 + FunctionExtraField::DigitalMicGain, 1000);
    PutLE32(bytes, 11275, 740);
    return bytes;
}

}  // namespace

TEST(CodeplugFile, RoundTripIsByteForByte)
{
    TempDir dir;
    const auto original = ValidFile(1);
    WriteFile(dir.path / "a.VNTX", original);
    Codeplug cp;
    ASSERT_TRUE(LoadCodeplugFile(cp, dir.path / "a.VNTX").ok());
    ASSERT_TRUE(SaveCodeplugFile(cp, dir.path / "b.VNTX").ok());
    EXPECT_EQ(ReadFile(dir.path / "b.VNTX"), original);
}

TEST(CodeplugFile, ShortFileIsRefusedWhole)
{
    TempDir dir;
    Codeplug cp;
    cp.RadioSettings[5] = 0x55;
    const auto before = CodeplugToBytes(cp);
    for (std::size_t size : {std::size_t{0}, std::size_t{100}, kCodeplugFileBytes - 1}) {
        auto bytes = ValidFile(2);
        bytes.resize(size);
        WriteFile(dir.path / "short.VNTX", bytes);
        EXPECT_EQ(LoadCodeplugFile(cp, dir.path / "short.VNTX").status, FileStatus::ShortFile) << size;
        EXPECT_EQ(CodeplugToBytes(cp), before) << size;
    }
}

TEST(CodeplugFile, SaveReplacesALongerFileWithExactlyOneCodeplug)
{
    TempDir dir;
    WriteFile(dir.path / "old.VNTX", RandomBytes(20000, 3));
    Codeplug cp;
    ASSERT_TRUE(SaveCodeplugFile(cp, dir.path / "old.VNTX").ok());
    EXPECT_EQ(fs::file_size(dir.path / "old.VNTX"), kCodeplugFileBytes);
    EXPECT_FALSE(fs::exists(dir.path / "old.VNTX.saving"));
}

TEST(CodeplugFile, FailedSaveLeavesThePreviousFile)
{
    TempDir dir;
    Codeplug cp;
    EXPECT_EQ(SaveCodeplugFile(cp, dir.path / "missing-folder" / "x.VNTX").status, FileStatus::WriteFailed);
}
