#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "app/AppContext.h"
#include "app/SystemSettings.h"
#include "app/TextCatalogue.h"

namespace fs = std::filesystem;

namespace {

struct ScratchDir {
    fs::path path = fs::temp_directory_path() / ("zr740-settings-" + std::to_string(std::random_device{}()));
    ScratchDir() { fs::create_directories(path); }
    ~ScratchDir() { fs::remove_all(path); }
};

void Write(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string Read(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

TEST(SystemSettingsFile, ShortFileFillsItsBytesAndGrowsOnSave)
{
    ScratchDir dir;
    const std::string ten = "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A";
    Write(dir.path / "Sys.dat", ten);
    SystemSettings settings;
    ASSERT_TRUE(settings.Load(dir.path / "Sys.dat"));
    for (std::size_t i = 0; i < 10; ++i)
        EXPECT_EQ(settings.bytes[i], i + 1);
    for (std::size_t i = 10; i < SystemSettings::kBytes; ++i)
        ASSERT_EQ(settings.bytes[i], 0) << i;

    settings.bytes[SystemSettings::PortNumber] = 3;
    ASSERT_TRUE(settings.Save(dir.path / "Sys.dat"));
    const std::string saved = Read(dir.path / "Sys.dat");
    ASSERT_EQ(saved.size(), 1024u);
    EXPECT_EQ(saved.substr(0, 10), ten);
    EXPECT_EQ(saved[33], 3);
}

TEST(SystemSettingsFile, LongFileIsReadToTheRecordAndReplacedWhole)
{
    ScratchDir dir;
    std::string big(2000, '\x5A');
    big[1023] = '\x11';
    big[1024] = '\x22';
    Write(dir.path / "Sys.dat", big);
    SystemSettings settings;
    ASSERT_TRUE(settings.Load(dir.path / "Sys.dat"));
    EXPECT_EQ(settings.bytes[1023], 0x11);
    ASSERT_TRUE(settings.Save(dir.path / "Sys.dat"));
    EXPECT_EQ(Read(dir.path / "Sys.dat"), big.substr(0, 1024));
}

TEST(SystemSettingsFile, MissingFileLeavesTheBuffer)
{
    ScratchDir dir;
    std::vector<std::uint8_t> buffer(8, 0x33);
    EXPECT_FALSE(ReadWholeFile(dir.path / "none", buffer));
    EXPECT_EQ(buffer, std::vector<std::uint8_t>(8, 0x33));
    EXPECT_FALSE(WriteWholeFile(dir.path / "no-folder" / "x", buffer));
}

TEST(SystemSettingsFile, SavedPasswordRules)
{
    SystemSettings s;
    auto field = [&](std::size_t i) -> std::uint8_t& { return s.bytes[SystemSettings::SavedPassword + i]; };
    for (std::size_t i = 0; i < 16; ++i)
        field(i) = 0xFF;
    EXPECT_EQ(s.savedPassword(), "");
    field(0) = 0;
    EXPECT_EQ(s.savedPassword(), "");  // first byte zero: none, whatever follows
    field(0) = '1';
    field(1) = '2';
    field(2) = 0;
    EXPECT_EQ(s.savedPassword(), "12");

    s.setSavedPassword("12345678");
    EXPECT_EQ(s.savedPassword(), "123456");
    EXPECT_EQ(field(6), 0);
    EXPECT_EQ(field(15), 0);
    s.setSavedPassword("");
    EXPECT_EQ(field(0), 0xFF);
    EXPECT_EQ(field(15), 0xFF);
}

TEST(SystemSettingsFile, LanguageFixesKeyBaseAndTitle)
{
    EXPECT_EQ(TextKeyBaseFor(LanguageFromSetting(0)), 0);
    EXPECT_EQ(TextKeyBaseFor(LanguageFromSetting(1)), 100000);
    EXPECT_EQ(TextKeyBaseFor(LanguageFromSetting(2)), 800000);
    EXPECT_EQ(TextKeyBaseFor(LanguageFromSetting(255)), 800000);
    EXPECT_EQ(MainTitleFor(LanguageFromSetting(2)), "ZR-74[0 NV]");
    EXPECT_FALSE(UsesEnglishMenus(LanguageFromSetting(2)));
    EXPECT_TRUE(UsesEnglishMenus(LanguageFromSetting(1)));
}

TEST(TextCatalogue, KeyNamesCarryTheBaseAndSixDigits)
{
    EXPECT_EQ(TextCatalogue::KeyName(0, 9), "000009");
    EXPECT_EQ(TextCatalogue::KeyName(100000, 0), "100000");
    EXPECT_EQ(TextCatalogue::KeyName(100000, 391), "100391");
    EXPECT_EQ(TextCatalogue::KeyName(800000, 9), "800009");
}

TEST(TextCatalogue, LookupMatchesWithoutCaseAndTakesTheRestOfTheLine)
{
    TextCatalogue text;
    text.LoadText("\xEF\xBB\xBF; comment\r\n[ch_str]\r\n000001= a=b ; \"c\" \\n\r\n100001=English\r\n"
                  "[Pub]\nABC001=letters\n000010=first\n000010=second\n");
    EXPECT_EQ(text.GetText("CH_Str", 1), "a=b ; \"c\" \\n");
    EXPECT_EQ(text.GetText("PUB", 10), "first");
    text.SetKeyBase(100000);
    EXPECT_EQ(text.GetText("ch_STR", 1), "English");
    EXPECT_EQ(text.GetText("Pub", 10), "");  // only the Chinese key exists
}

TEST(TextCatalogue, LongValuesAreCutAt259Characters)
{
    TextCatalogue text;
    std::string ascii(300, 'x');
    std::string chinese;
    for (int i = 0; i < 300; ++i)
        chinese += "中";
    text.LoadText("[S]\n000001=" + ascii + "\n000002=" + chinese + "\n");
    EXPECT_EQ(text.GetText("S", 1), std::string(259, 'x'));
    const std::string cut = text.GetText("S", 2);
    EXPECT_EQ(cut.size(), 259u * 3);  // whole characters, never a split one
    EXPECT_EQ(cut.substr(cut.size() - 3), "中");
}

TEST(TextCatalogue, MissesGiveEmptyTextAndAreRecorded)
{
    TextCatalogue text;
    EXPECT_FALSE(text.LoadFile("/nonexistent/Txt.ini"));
    EXPECT_EQ(text.GetText("Pub", 10), "");
    text.LoadText("[Pub]\n000010=Prompt\n");
    text.SetRecordMisses(true);
    EXPECT_EQ(text.GetText("Pub", 10), "Prompt");
    EXPECT_EQ(text.GetText("Pub", 11), "");
    EXPECT_EQ(text.GetText("Nope", 10), "");
    const std::set<std::pair<std::string, int>> expected = {{"Pub", 11}, {"Nope", 10}};
    EXPECT_EQ(text.Misses(), expected);
}

TEST(TextCatalogue, StagedLanguageFileServesEverySectionThisProgramOwns)
{
    AppContext app;
    app.Start(ZR740_PROGRAM_DIR);
    app.text.SetKeyBase(100000);
    EXPECT_EQ(app.text.GetText("RW_Str", 9).empty(), false);
    EXPECT_EQ(app.text.GetText("Tree", 0), "ZR-740");
    // Tree labels must end in their number for the tree clicks to find the record.
    EXPECT_EQ(FormatNumbered(app.text.GetText("Tree", 30), 5).back(), '5');
    const std::string group = FormatNumbered(app.text.GetText("Tree", 11), 12);
    EXPECT_EQ(group.substr(group.size() - 2), "12");
    for (int key = 1; key <= 13; ++key) {
        if (key != 10) {
            EXPECT_FALSE(app.text.GetText("DMR_Set", key).empty()) << key;
        }
    }
}
