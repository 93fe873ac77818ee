#include "tests/core/TestFiles.h"

#include "core/AppContext.h"
#include "core/SystemSettings.h"
#include "core/TextCatalogue.h"

namespace fs = std::filesystem;

TEST(SystemSettingsFile, ShortFileFillsLongFileIsCutBothSaveOneRecordAndTheSavedPassword)
{
    const testfiles::TempDir dir;
    const fs::path file = dir / "Sys.dat";
    auto saved = [&](const std::string& bytes) {  // loads the bytes, changes the port, saves
        testfiles::WriteText(file, bytes);
        SystemSettings settings;
        EXPECT_TRUE(settings.Load(file));
        settings.bytes[SystemSettings::PortNumber] = 3;
        EXPECT_TRUE(settings.Save(file));
        return testfiles::ReadText(file);
    };
    const std::string ten = "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A";
    std::string expected = ten + std::string(1014, '\0');
    expected[33] = 3;
    EXPECT_EQ(saved(ten), expected);
    std::string big(2000, '\x5A');
    big[1023] = '\x11';
    expected = big.substr(0, 1024);
    expected[33] = 3;
    EXPECT_EQ(saved(big), expected);

    std::vector<std::uint8_t> buffer(8, 0x33);
    EXPECT_FALSE(ReadWholeFile(dir / "none", buffer));
    EXPECT_EQ(buffer, std::vector<std::uint8_t>(8, 0x33));
    EXPECT_FALSE(WriteWholeFile(dir / "no-folder" / "x", buffer));
    {
        SystemSettings s;
        std::uint8_t* field = &s.bytes[SystemSettings::SavedPassword];
        std::fill(field, field + 16, 0xFF);
        std::vector<std::string> shown = {s.savedPassword()};
        field[0] = 0;  // first byte zero: none, whatever follows
        shown.push_back(s.savedPassword());
        std::copy_n("12", 3, field);
        shown.push_back(s.savedPassword());
        EXPECT_EQ(shown, (std::vector<std::string>{"", "", "12"}));

        s.setSavedPassword("12345678");
        EXPECT_EQ(std::tuple(s.savedPassword(), field[15] + 0), std::tuple(std::string("123456"), 0));
        s.setSavedPassword("");
        EXPECT_EQ(std::tuple(field[0] + 0, field[15] + 0), std::tuple(0xFF, 0xFF));
    }
}

TEST(TextCatalogue, LookupIgnoresCaseCutsLongValuesAndRecordsMisses)
{
    TextCatalogue text;
    EXPECT_FALSE(text.LoadFile("/nonexistent/Txt.ini"));
    EXPECT_EQ(text.GetText("Pub", 10), "");
    std::string chinese;
    for (int i = 0; i < 300; ++i)
        chinese += "中";
    text.LoadText("\xEF\xBB\xBF; comment\r\n[ch_str]\r\n000001= a=b ; \"c\" \\n\r\n100001=English\r\n"
                  "[Pub]\nABC001=letters\n000010=first\n000010=second\n"
                  "[S]\n000001=" + std::string(300, 'x') + "\n000002=" + chinese + "\n");
    text.SetRecordMisses(true);
    EXPECT_EQ(text.GetText("CH_Str", 1), "a=b ; \"c\" \\n");
    EXPECT_EQ(text.GetText("PUB", 10), "first");
    EXPECT_EQ(text.GetText("S", 1), std::string(259, 'x'));
    const std::string cut = text.GetText("S", 2);
    EXPECT_EQ(cut.size(), 259u * 3);  // whole characters, never a split one
    EXPECT_EQ(cut.substr(cut.size() - 3), "中");
    EXPECT_EQ(text.GetText("Pub", 11), "");
    EXPECT_EQ(text.GetText("Nope", 10), "");
    EXPECT_EQ(text.Misses(), (std::set<std::pair<std::string, int>>{{"Pub", 11}, {"Nope", 10}}));
    text.SetKeyBase(100000);
    EXPECT_EQ(text.GetText("ch_STR", 1), "English");
    EXPECT_EQ(text.GetText("Pub", 10), "");  // only the Chinese key exists
}

TEST(TextCatalogue, ThirdLanguageFallsBackToEnglishAndALostFileIsExplained)
{
    const testfiles::TempDir temp;
    const fs::path dir = temp.path;
    std::vector<std::uint8_t> settings(1024, 0);
    settings[32] = 2;  // a third language
    WriteWholeFile(dir / "Sys.dat", settings);
    testfiles::WriteText(dir / "Txt.ini", "[Tree]\n000001=中\n100001=Channels\n800002=Troisieme\n100002=Zones\n");
    AppContext app;
    app.Start(dir);
    EXPECT_EQ(app.text.GetText("Tree", 1), "Channels") << "no text of its own: the English one";
    EXPECT_EQ(app.text.GetText("Tree", 2), "Troisieme") << "its own text first";
    EXPECT_EQ(app.text.GetText("Tree", 3), "");
    EXPECT_EQ(app.StartupProblem(), "");

    settings[32] = 1;
    WriteWholeFile(dir / "Sys.dat", settings);
    AppContext english;
    english.Start(dir);
    EXPECT_EQ(english.text.GetText("Tree", 2), "Zones") << "English never shows another language";
    fs::remove(dir / "Txt.ini");
    AppContext lost;
    lost.Start(dir);
    EXPECT_NE(lost.StartupProblem().find((dir / "Txt.ini").string()), std::string::npos);
    EXPECT_NE(lost.StartupProblem().find("No such file"), std::string::npos);
}

TEST(TextCatalogue, StagedLanguageFileServesEverySectionThisProgramOwns)
{
    AppContext app;
    app.Start(ZR740_PROGRAM_DIR);
    app.text.SetKeyBase(100000);
    EXPECT_FALSE(app.text.GetText("RW_Str", 9).empty());
    EXPECT_EQ(app.text.GetText("Tree", 0), "ZR-740");
    // Tree labels must end in their number for the tree clicks to find the record.
    EXPECT_EQ(FormatNumbered(app.text.GetText("Tree", 30), 5).back(), '5');
    EXPECT_TRUE(FormatNumbered(app.text.GetText("Tree", 11), 12).ends_with("12"));
    for (int key = 1; key <= 13; ++key)
        EXPECT_TRUE(key == 10 || !app.text.GetText("DMR_Set", key).empty()) << key;
}
