#include "tests/core/TestFiles.h"
#include <signal.h>
#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {

class CodeplugFile : public ::testing::Test {
protected:
    fs::path Write(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        testfiles::WriteText(dir / name, std::string(bytes.begin(), bytes.end()));
        return dir / name;
    }
    std::vector<std::uint8_t> Read(const fs::path& path)
    {
        const std::string text = testfiles::ReadText(path);
        return {text.begin(), text.end()};
    }

    const testfiles::TempDir temp;
    const fs::path dir = temp.path;
};

// Random bytes with an in-range microphone gain and the 740 marker: loads without repair or warning.
std::vector<std::uint8_t> ValidFile(unsigned seed, std::uint16_t gain = 1000)
{
    std::mt19937 rng(seed);
    std::vector<std::uint8_t> bytes(kCodeplugFileBytes);
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(rng());
    PutLE16(bytes, 11268 + 3, gain);  // digital microphone gain
    PutLE32(bytes, 11275, 740);
    return bytes;
}

}  // namespace

TEST_F(CodeplugFile, ShortFileIsRefusedWholeForeignMarkerWarnsOversizedGivesItsFirstCodeplugAndSavesItBack)
{
    const struct { std::size_t size; std::uint32_t marker; FileStatus status; } rows[] = {
        {0, 740, FileStatus::ShortFile},     {100, 740, FileStatus::ShortFile}, {11278, 740, FileStatus::ShortFile},
        {11279, 0, FileStatus::WrongMarker}, {20279, 740, FileStatus::Ok},
    };
    for (const auto& r : rows) {
        Codeplug cp;
        cp.RadioSettings[5] = 0x55;
        const auto before = CodeplugToBytes(cp);
        auto bytes = ValidFile(2);
        PutLE32(bytes, 11275, r.marker);
        const auto image = bytes;
        bytes.resize(r.size, 0x5A);
        EXPECT_EQ(LoadCodeplugFile(cp, Write("f.VNTX", bytes)).status, r.status) << r.size;
        EXPECT_EQ(CodeplugToBytes(cp), r.size < 11279 ? before : image) << r.size;
    }
    Codeplug loaded;  // the last file's first codeplug, saved byte for byte
    ASSERT_TRUE(LoadCodeplugFile(loaded, dir / "f.VNTX").ok());
    ASSERT_TRUE(SaveCodeplugFile(loaded, dir / "b.VNTX").ok());
    const auto saved = Read(dir / "b.VNTX"), read = Read(dir / "f.VNTX");
    EXPECT_EQ(saved, std::vector<std::uint8_t>(read.begin(), read.begin() + 11279));
    Codeplug cp;
    cp.DmrSettings[3] = 0x77;
    EXPECT_EQ((std::vector{LoadCodeplugFile(cp, dir / "none.VNTX").status, LoadCodeplugFile(cp, dir).status}),  // a directory
              (std::vector{FileStatus::OpenFailed, FileStatus::OpenFailed}));
    EXPECT_EQ(cp.DmrSettings[3], 0x77);
}

TEST_F(CodeplugFile, SaveWritesExactlyOneCodeplugAndAFailedSaveLeavesTheOldFileAlone)
{
    Codeplug cp;
    ASSERT_TRUE(SaveCodeplugFile(cp, Write("old.VNTX", std::vector<std::uint8_t>(20000, 0x5A))).ok());
    EXPECT_TRUE(fs::file_size(dir / "old.VNTX") == 11279u && !fs::exists(dir / "old.VNTX.saving"));
    EXPECT_EQ(SaveCodeplugFile(cp, dir / "missing-folder" / "x.VNTX").status, FileStatus::WriteFailed);
    {
        const std::vector<std::uint8_t> old(20000, 0x5A), other(7, 0x11);
        const fs::path target = Write("old.VNTX", old);
        const fs::path foreign = Write("old.VNTX.saving", other);  // someone else's file of that name
        // A short write: the child may write no more than 5000 bytes into any file.
        const pid_t child = fork();
        if (child == 0) {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{5000, 5000};
            setrlimit(RLIMIT_FSIZE, &limit);
            Codeplug cp;
            const FileResult result = SaveCodeplugFile(cp, target);
            _exit(result.status == FileStatus::WriteFailed && !result.detail.empty() ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the save reports its failure";
        EXPECT_EQ(Read(target), old) << "the old file is intact";
        std::size_t files = 0;
        for (const auto& entry : fs::directory_iterator(dir))
            files += entry.is_regular_file();
        EXPECT_EQ(files, 2u) << "no temporary file is left behind";

        Codeplug cp;
        ASSERT_TRUE(SaveCodeplugFile(cp, target).ok());
        EXPECT_EQ(std::tuple(fs::file_size(target), fs::file_size(foreign)), std::tuple(11279u, other.size()))
            << "an existing *.saving file is never reused";
    }
}

TEST_F(CodeplugFile, SaveThroughASymbolicLinkKeepsTheLink)
{
    fs::create_directories(dir / "real");
    const fs::path real = Write("real/held.VNTX", std::vector<std::uint8_t>(100, 1));
    fs::create_symlink(fs::path("real") / "held.VNTX", dir / "link.VNTX");
    const fs::perms ownerOnly = fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(real, ownerOnly);
    Codeplug cp;
    cp.RadioSettings[5] = 0x77;
    ASSERT_TRUE(SaveCodeplugFile(cp, dir / "link.VNTX").ok());
    EXPECT_TRUE(fs::is_symlink(dir / "link.VNTX"));
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all, ownerOnly) << "the new file keeps the old one's permissions";
    Codeplug back;
    EXPECT_TRUE(LoadCodeplugFile(back, dir / "link.VNTX").ok());
    EXPECT_EQ(back.RadioSettings[5], 0x77);
    // The trial save changes nothing; a directory in the way is refused by it.
    EXPECT_TRUE(CheckCodeplugFileWritable(dir / "link.VNTX").ok() && CheckCodeplugFileWritable(dir / "new.VNTX").ok());
    EXPECT_TRUE(fs::file_size(real) == 11279u && !fs::exists(dir / "new.VNTX"));
    EXPECT_EQ(CheckCodeplugFileWritable(dir / "real").status, FileStatus::WriteFailed);
}

// Logs and traces grow by the same safe replacement: the old contents and the new lines.
TEST_F(CodeplugFile, AppendingSavesTheOldContentsAndTheNewThroughLinks)
{
    fs::create_directories(dir / "real" / "folder");
    Write("real/log.txt", {'a', 'b'});
    fs::create_symlink(fs::path("real") / "log.txt", dir / "link.txt");
    const struct { const char* name; fs::path path; FileStatus status; fs::path holder; std::string after; } rows[] = {
        {"absent", dir / "new.txt", FileStatus::Ok, dir / "new.txt", "cd"},
        {"existing, through a link", dir / "link.txt", FileStatus::Ok, dir / "real" / "log.txt", "abcd"},
        {"a folder", dir / "real" / "folder", FileStatus::WriteFailed, {}, {}},
    };
    for (const auto& r : rows) {
        const std::vector<std::uint8_t> more = {'c', 'd'};
        EXPECT_EQ(AppendFileContents(r.path, more).status, r.status) << r.name;
        if (!r.holder.empty()) {
            EXPECT_EQ(testfiles::ReadText(r.holder), r.after) << r.name;
        }
    }
    EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
}

TEST_F(CodeplugFile, BlocksLieAtTheirFileOffsets)
{
    const struct { const char* name; std::size_t offset, length; } table[] = {
        {"RadioSettings", 0, 227},        {"DmrSettings", 227, 27},          {"ContactTable", 254, 2880},
        {"ContactCount", 3134, 4},        {"RxGroupTable", 3138, 1824},      {"RxGroupCount", 4962, 4},
        {"ScanTable", 4966, 294},         {"ZoneTable", 5260, 178},          {"AnalogChannelTable", 5438, 1296},
        {"DigitalChannelTable", 6734, 1312}, {"AnalogChannelCount", 8046, 1}, {"DigitalChannelCount", 8047, 1},
        {"MessageCount", 8048, 4},        {"MessageTable", 8052, 249},       {"ScanListCount", 8301, 4},
        {"IdentityBlock", 8305, 23},      {"RecordE2Block", 8328, 2880},     {"RadioInfoBlock", 11208, 30},
        {"PasswordBlock", 11238, 30},     {"FunctionExtra", 11268, 7},       {"FileMarker", 11275, 4},
    };
    auto bytes = ValidFile(7);
    for (const auto& e : table)
        bytes[e.offset] = static_cast<std::uint8_t>(e.length);
    Codeplug cp;
    CodeplugFromBytes(cp, bytes);
    const auto blocks = BlocksInFileOrder(cp);
    ASSERT_EQ(blocks.size(), std::size(table));
    for (std::size_t i = 0; i < blocks.size(); ++i)
        EXPECT_EQ(std::tuple(std::string(blocks[i].name), blocks[i].bytes.size(), blocks[i].bytes[0]),
                  std::tuple(std::string(table[i].name), table[i].length, static_cast<std::uint8_t>(table[i].length)));
}

TEST_F(CodeplugFile, DigitalMicGainIsRepairedOnLoadOutside298To4000)
{
    const std::pair<std::uint16_t, std::uint16_t> cases[] = {
        {297, 2048}, {298, 298}, {4000, 4000}, {4001, 2048}, {0, 2048}, {0xFFFF, 2048}};
    for (const auto& [stored, loaded] : cases) {
        Codeplug cp;
        ASSERT_TRUE(LoadCodeplugFile(cp, Write("gain.VNTX", ValidFile(8, stored))).ok());
        EXPECT_EQ(GetLE16(cp.FunctionExtra, 3), loaded) << stored;
    }
}

TEST_F(CodeplugFile, EveryWriteIsOnTheDiskBeforeItTakesTheTargetsPlace)
{
    static std::vector<std::string> steps;
    saveStepObserver = [](std::string_view step) { steps.emplace_back(step); };
    const std::vector<std::uint8_t> text{'a', 'b'};
    Codeplug cp;
    const struct { std::function<FileResult()> write; std::vector<std::string> steps; } rows[] = {
        {[&] { return SaveCodeplugFile(cp, dir / "a.VNTX"); }, {"sync", "rename"}},
        {[&] { return ReplaceFileContents(dir / "a.json", text); }, {"sync", "rename"}},
        {[&] { return CheckCodeplugFileWritable(dir / "b.VNTX"); }, {"sync"}},
    };
    for (const auto& row : rows) {
        steps.clear();
        EXPECT_TRUE(row.write().ok());
        EXPECT_EQ(steps, row.steps);
    }
    saveStepObserver = nullptr;
}
