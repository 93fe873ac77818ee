// File › Recent files as a list: newest first, eight at most, read back from whatever the file holds.
#include "tests/core/TestFiles.h"

#include "app/RecentFiles.h"

namespace fs = std::filesystem;

TEST(RecentFiles, NewestFirstRepeatsMoveUpAndTheOldestFallOff)
{
    RecentFiles recent;
    for (int i = 1; i <= 10; ++i)
        recent.Add("/data/fleet/radio" + std::to_string(i) + ".VNTX");
    recent.Add("/data/fleet/./radio5.VNTX");  // the same file, written another way
    ASSERT_EQ(recent.Paths().size(), 8u);
    EXPECT_EQ((std::vector{recent.Paths()[0], recent.Paths()[1], recent.Paths()[7], recent.LastFolder()}),
              (std::vector<fs::path>{"/data/fleet/radio5.VNTX", "/data/fleet/radio10.VNTX", "/data/fleet/radio3.VNTX", "/data/fleet"}));
    recent.Add("bad\nname.VNTX");  // could not be kept one a line
    EXPECT_EQ(recent.Paths()[0], fs::path("/data/fleet/radio5.VNTX"));
}

TEST(RecentFiles, ReadsBackWhatItWroteAndSurvivesAnyFile)
{
    const testfiles::TempDir dir;
    RecentFiles written;
    written.Add("/a/一号.VNTX");
    written.Add("/b/two.VNTX");
    ASSERT_TRUE(written.Save(dir / "RecentFiles.txt"));
    RecentFiles read;
    read.Load(dir / "RecentFiles.txt");
    EXPECT_EQ(read.Paths(), written.Paths());

    const struct { const char* what; std::string content; std::size_t paths; } rows[] = {
        {"missing", "", 0},
        {"blank lines and repeats", "\n/x.VNTX\r\n\n/x.VNTX\n/y.VNTX", 2},
        {"a line too long for a path", std::string(5000, 'a') + "\n/z.VNTX\n", 1},
        {"binary", std::string("\0\xFF\xFE/q\n", 6), 0},
        {"more than eight", "/0\n/1\n/2\n/3\n/4\n/5\n/6\n/7\n/8\n/9\n", 8},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const fs::path file = dir / "list.txt";
        fs::remove(file);
        if (!row.content.empty())
            std::ofstream(file, std::ios::binary) << row.content;
        read.Load(file);
        EXPECT_EQ(read.Paths().size(), row.paths);
    }
}
