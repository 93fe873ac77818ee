// The two menu bars: every label in the language file in the bar's own language, and the Chinese
// bar reaching every command the English one reaches.
#include "tests/core/TestFiles.h"

#include "app/CommandTable.h"
#include "core/TextCatalogue.h"

TEST(MenuBars, EveryLabelIsInTheLanguageFileAndTheChineseBarReachesEveryDialog)
{
    TextCatalogue text;
    text.LoadFile(std::filesystem::path(ZR740_SOURCE_DIR) / "data" / "Txt.ini");
    const struct { bool english; int base; std::set<std::string> labels; } rows[] = {  // labels: some that must be there
        {true, 100000, {"Program(&E)", "Adjust value", "Password Set", "E&dit", "&Undo", "E&xit", "&Recent files"}},
        {false, 0, {"编程(&E)", "调整值", "密码设置", "声控(VOX)", "守候信道", "编辑(&D)", "撤销(&U)", "退出(&X)"}},
    };
    std::set<int> englishCommands;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.english ? "English bar" : "Chinese bar");
        std::set<std::string> labels;
        std::set<int> commands;
        for (const MenuItemDef& item : MenuBarFor(row.english)) {
            for (int key : {item.popup, item.subPopup, item.label}) {
                if (key == 0)
                    continue;
                const std::string label = text.GetTextAt("Menu", row.base, key);
                EXPECT_FALSE(label.empty()) << "key " << key;
                labels.insert(label);
            }
            if (item.command != 0)
                commands.insert(item.command);
        }
        for (const std::string& wanted : row.labels)
            EXPECT_TRUE(labels.count(wanted)) << wanted;
        for (const char* typo : {"Progrem(&E)", "Adjuest value"})
            EXPECT_FALSE(labels.count(typo)) << typo;
        if (row.english)
            englishCommands = commands;
        else
            EXPECT_TRUE(std::includes(commands.begin(), commands.end(), englishCommands.begin(), englishCommands.end()));
    }
}
