#include "app/CommandTable.h"

namespace {

// The text-message and emergency-alarm items, Set › Language and File › Import / Export are our
// additions: the original command set gives these forms no way in, the language could only be
// changed in Sys.dat and the codeplug could not be taken to a spreadsheet.
constexpr MenuItemDef kEnglish[] = {
    {"File(&F)", nullptr, "&New", Cmd::FileNew, "Ctrl+N"},
    {"File(&F)", nullptr, "&Open...", Cmd::FileOpen, "Ctrl+O"},
    {"File(&F)", nullptr, "&Save", Cmd::FileSave, "Ctrl+S"},
    {"File(&F)", nullptr, "Save &As...", Cmd::FileSaveAs, nullptr},
    {"File(&F)", nullptr, nullptr, 0, nullptr},
    {"File(&F)", nullptr, "&Import...", Cmd::FileImport, nullptr},
    {"File(&F)", nullptr, "E&xport...", Cmd::FileExport, nullptr},
    {"Model", nullptr, "RadioInfo", Cmd::RadioInfo, nullptr},
    {"Function", nullptr, "Other functions", Cmd::GeneralFunctions, nullptr},
    {"Function", nullptr, "Key", Cmd::Keys, nullptr},
    {"Function", nullptr, "VOX", Cmd::Vox, nullptr},
    {"Function", nullptr, "Monitor CH", Cmd::MonitorCh, nullptr},
    {"Function", nullptr, "CH", Cmd::Channel, nullptr},
    {"Function", "DMR", "Basic function", Cmd::DmrBasic, nullptr},
    {"Function", "DMR", "Contact", Cmd::DmrContact, nullptr},
    {"Function", "DMR", "RxGrpList", Cmd::DmrRxGrpList, nullptr},
    {"Function", nullptr, nullptr, 0, nullptr},
    {"Function", nullptr, "Text messages", Cmd::TextMessage, nullptr},
    {"Function", nullptr, "Digital emergency alarm", Cmd::DigitalEmergAlarm, nullptr},
    {"Function", nullptr, "Analog emergency alarm", Cmd::AnalogEmergAlarm, nullptr},
    {"Set", nullptr, "Set Port", Cmd::SetPort, nullptr},
    {"Set", nullptr, "Password Set", Cmd::PasswordSet, nullptr},
    {"Set", nullptr, "Adjuest value", Cmd::AdjustValue, nullptr},
    {"Set", nullptr, nullptr, 0, nullptr},
    {"Set", "Language", "中文", Cmd::LanguageChinese, nullptr},
    {"Set", "Language", "English", Cmd::LanguageEnglish, nullptr},
    {"Progrem(&E)", nullptr, "&Read", Cmd::Read, "Ctrl+R"},
    {"Progrem(&E)", nullptr, "&Write", Cmd::Write, "Ctrl+W"},
    {"&View", nullptr, "&Toolbar", Cmd::ViewToolbar, nullptr},
    {"&View", nullptr, "&Status Bar", Cmd::ViewStatusBar, nullptr},
    {"&View", nullptr, "&Navigation bar", Cmd::ViewNavigation, nullptr},
    {"&Window", nullptr, "&Tile", Cmd::WindowTile, nullptr},
    {"&Window", nullptr, "&Arrange Icons", Cmd::WindowArrange, nullptr},
    {"&Help", nullptr, "&About Vantic...", Cmd::About, nullptr},
    {"&Help", nullptr, "Help", Cmd::Help, nullptr},
};

constexpr MenuItemDef kChinese[] = {
    {"文件(&F)", nullptr, "&新建", Cmd::FileNew, "Ctrl+N"},
    {"文件(&F)", nullptr, "&打开...", Cmd::FileOpen, "Ctrl+O"},
    {"文件(&F)", nullptr, "&保存", Cmd::FileSave, "Ctrl+S"},
    {"文件(&F)", nullptr, "另存为 &As...", Cmd::FileSaveAs, nullptr},
    {"文件(&F)", nullptr, nullptr, 0, nullptr},
    {"文件(&F)", nullptr, "导入(&I)...", Cmd::FileImport, nullptr},
    {"文件(&F)", nullptr, "导出(&X)...", Cmd::FileExport, nullptr},
    {"机型", nullptr, "机型信息", Cmd::RadioInfo, nullptr},
    {"功能", nullptr, "基本参数", Cmd::GeneralFunctions, nullptr},
    {"功能", nullptr, "功能键", Cmd::Keys, nullptr},
    {"功能", nullptr, "信道", Cmd::Channel, nullptr},
    {"功能", "DMR", "基本功能", Cmd::DmrBasic, nullptr},
    {"功能", "DMR", "联系人", Cmd::DmrContact, nullptr},
    {"功能", "DMR", "接收列表", Cmd::DmrRxGrpList, nullptr},
    {"功能", nullptr, nullptr, 0, nullptr},
    {"功能", nullptr, "短信", Cmd::TextMessage, nullptr},
    {"功能", nullptr, "数字紧急报警", Cmd::DigitalEmergAlarm, nullptr},
    {"功能", nullptr, "模拟紧急报警", Cmd::AnalogEmergAlarm, nullptr},
    {"设置", nullptr, "设置端口", Cmd::SetPort, nullptr},
    {"设置", nullptr, "写频加密", Cmd::ProgrammingPassword, nullptr},
    {"设置", nullptr, nullptr, 0, nullptr},
    {"设置", "语言", "中文", Cmd::LanguageChinese, nullptr},
    {"设置", "语言", "English", Cmd::LanguageEnglish, nullptr},
    {"编程(&E)", nullptr, "&读取对讲机", Cmd::Read, "Ctrl+R"},
    {"编程(&E)", nullptr, "&写入对讲机", Cmd::Write, "Ctrl+W"},
    {"查看", nullptr, "工具栏", Cmd::ViewToolbar, nullptr},
    {"查看", nullptr, "状态栏", Cmd::ViewStatusBar, nullptr},
    {"查看", nullptr, "导航栏", Cmd::ViewNavigation, nullptr},
    {"窗口(&W)", nullptr, "平铺", Cmd::WindowTile, nullptr},
    {"窗口(&W)", nullptr, "排列图标", Cmd::WindowArrange, nullptr},
    {"帮助", nullptr, "&About Vantic...", Cmd::About, nullptr},
    {"帮助", nullptr, "帮助", Cmd::Help, nullptr},
};

constexpr MenuItemDef kShortcutOnly[] = {
    {nullptr, nullptr, nullptr, Cmd::Nothing, "Ctrl+T"},
};

}  // namespace

std::span<const MenuItemDef> MenuBarFor(bool english)
{
    if (english)
        return kEnglish;
    return kChinese;
}

std::span<const MenuItemDef> ShortcutOnlyCommands() { return kShortcutOnly; }
