// A backup of every read: the file beside the user's data, and only the newest kept.
#include "tests/core/TestFiles.h"

#include "core/Backups.h"

namespace fs = std::filesystem;

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
    const testfiles::TempDir temp;
    const fs::path dir = temp / "backups";
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
}

TEST(Backups, PruningOnceKeepsExactlyTheNewest)
{
    const testfiles::TempDir temp;
    const fs::path dir = temp / "backups";
    const struct { int backups; std::size_t keep, removed; const char* oldestLeft; } rows[] = {
        {4, 3, 1, "20261207-000001-A.VNTX"},
        {3, 3, 0, "20261207-000000-A.VNTX"},
        {5, 1, 4, "20261207-000004-A.VNTX"},
    };
    for (const auto& row : rows) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        std::ofstream(dir / "notes.txt") << "not a backup";
        for (int i = 0; i < row.backups; ++i)
            std::ofstream(dir / ("20261207-00000" + std::to_string(i) + "-A.VNTX")) << i;
        EXPECT_EQ(backups::Prune(dir, row.keep), row.removed) << row.backups;
        const auto left = Listed(dir);
        ASSERT_EQ(left.size(), row.keep + 1) << row.backups;
        EXPECT_EQ(left[0].string(), row.oldestLeft);
    }
}
