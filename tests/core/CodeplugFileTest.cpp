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

TEST(CodeplugFile, BlocksLieAtTheirFileOffsets)
{
    struct Expected {
        const char* name;
        std::size_t offset;
        std::size_t length;
    };
    const Expected table[] = {
        {"RadioSettings", 0, 227},        {"DmrSettings", 227, 27},          {"ContactTable", 254, 2880},
        {"ContactCount", 3134, 4},        {"RxGroupTable", 3138, 1824},      {"RxGroupCount", 4962, 4},
        {"ScanTable", 4966, 294},         {"ZoneTable", 5260, 178},          {"AnalogChannelTable", 5438, 1296},
        {"DigitalChannelTable", 6734, 1312}, {"AnalogChannelCount", 8046, 1}, {"DigitalChannelCount", 8047, 1},
        {"MessageCount", 8048, 4},        {"MessageTable", 8052, 249},       {"ScanListCount", 8301, 4},
        {"IdentityBlock", 8305, 23},      {"RecordE2Block", 8328, 2880},     {"RadioInfoBlock", 11208, 30},
        {"PasswordBlock", 11238, 30},     {"FunctionExtra", 11268, 7},       {"FileMarker", 11275, 4},
    };
    // Each block's first byte in a loaded image comes from the file offset of the table.
    auto bytes = ValidFile(7);
    for (const Expected& e : table)
        bytes[e.offset] = static_cast<std::uint8_t>(e.length);
    Codeplug cp;
    CodeplugFromBytes(cp, bytes);
    const auto blocks = BlocksInFileOrder(cp);
    ASSERT_EQ(blocks.size(), std::size(table));
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        EXPECT_EQ(blocks[i].name, table[i].name);
        EXPECT_EQ(blocks[i].bytes.size(), table[i].length) << table[i].name;
        EXPECT_EQ(blocks[i].bytes[0], static_cast<std::uint8_t>(table[i].length)) << table[i].name;
    }
}

TEST(CodeplugFile, DigitalMicGainIsRepairedOnLoadOutside298To4000)
{
    TempDir dir;
    const std::pair<std::uint16_t, std::uint16_t> cases[] = {
        {297, 2048}, {298, 298}, {4000, 4000}, {4001, 2048}, {0, 2048}, {0xFFFF, 2048}, {2048, 2048}};
    for (const auto& [stored, loaded] : cases) {
        auto bytes = ValidFile(8);
        PutLE16(bytes, 11268 + FunctionExtraField::DigitalMicGain, stored);
        WriteFile(dir.path / "gain.VNTX", bytes);
        Codeplug cp;
        ASSERT_TRUE(LoadCodeplugFile(cp, dir.path / "gain.VNTX").ok());
        EXPECT_EQ(GetLE16(cp.FunctionExtra, FunctionExtraField::DigitalMicGain), loaded) << stored;
    }
}

TEST(CodeplugFile, ForeignMarkerStillLoadsEveryBlock)
{
    TempDir dir;
    auto bytes = ValidFile(9);
    PutLE32(bytes, 11275, 0);
    WriteFile(dir.path / "foreign.VNTX", bytes);
    Codeplug cp;
    const FileResult result = LoadCodeplugFile(cp, dir.path / "foreign.VNTX");
    EXPECT_EQ(result.status, FileStatus::WrongMarker);
    EXPECT_TRUE(result.loaded());
    EXPECT_EQ(CodeplugToBytes(cp), bytes);
}

TEST(CodeplugFile, OversizedFileContributesItsFirstCodeplugOnly)
{
    TempDir dir;
    auto bytes = ValidFile(10);
    const auto tail = RandomBytes(9000, 11);
    auto file = bytes;
    file.insert(file.end(), tail.begin(), tail.end());
    WriteFile(dir.path / "big.VNTX", file);
    Codeplug cp;
    EXPECT_EQ(LoadCodeplugFile(cp, dir.path / "big.VNTX").status, FileStatus::Ok);
    EXPECT_EQ(CodeplugToBytes(cp), bytes);
}

TEST(CodeplugFile, MissingFileLeavesTheImage)
{
    TempDir dir;
    Codeplug cp;
    cp.DmrSettings[3] = 0x77;
    const auto before = CodeplugToBytes(cp);
    EXPECT_EQ(LoadCodeplugFile(cp, dir.path / "none.VNTX").status, FileStatus::OpenFailed);
    EXPECT_EQ(LoadCodeplugFile(cp, dir.path).status, FileStatus::OpenFailed);  // a directory
    EXPECT_EQ(CodeplugToBytes(cp), before);
}
