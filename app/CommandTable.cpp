#include "app/CommandTable.h"

namespace {

constexpr bool kChineseBarOnly = true;

// Keys of section "Menu": the popups, then the items.
enum Popup : int {
    File = 1, Edit = 2, Model = 3, Function = 4, Dmr = 5, Set = 6, Language = 7, Program = 8, View = 9,
    Window = 10, Help = 11, Recent = 12, Export = 13,
};

// The text-message and emergency-alarm items, Set › Language, File › Import / Export / Print /
// Recent files / Exit, the Edit menu and Window › Close window are our additions: the original
// command set gives these forms no way in, the language could only be changed in Sys.dat and the
// codeplug could not be taken to a spreadsheet or on paper. The Chinese bar also reaches every
// dialog the English one does (VOX, monitor channels, password set, adjustment values); only the
// programming-password form's item is the Chinese bar's alone.
constexpr MenuItemDef kMenu[] = {
    {File, 0, 20, Cmd::FileNew, "Ctrl+N"},
    {File, 0, 21, Cmd::FileOpen, "Ctrl+O"},
    {File, 0, 22, Cmd::FileSave, "Ctrl+S"},
    {File, 0, 23, Cmd::FileSaveAs, nullptr},
    {File, 0, 12, Cmd::RecentFiles, nullptr},
    {File, 0, 0, 0, nullptr},
    {File, 0, 24, Cmd::FileImport, nullptr},
    {File, Export, 25, Cmd::FileExport, nullptr},
    {File, Export, 26, Cmd::FileExportPdf, nullptr},
    {File, 0, 27, Cmd::FilePrint, "Ctrl+P"},
    {File, 0, 0, 0, nullptr},
    {File, 0, 28, Cmd::FileExit, "Ctrl+Q"},
    {Edit, 0, 29, Cmd::EditUndo, "Ctrl+Z"},
    {Edit, 0, 30, Cmd::EditRedo, "Ctrl+Shift+Z; Ctrl+Y"},
    {Model, 0, 33, Cmd::RadioInfo, nullptr},
    {Function, 0, 34, Cmd::GeneralFunctions, nullptr},
    {Function, 0, 35, Cmd::Keys, nullptr},
    {Function, 0, 36, Cmd::Vox, nullptr},
    {Function, 0, 37, Cmd::MonitorCh, nullptr},
    {Function, 0, 38, Cmd::Channel, nullptr},
    {Function, Dmr, 39, Cmd::DmrBasic, nullptr},
    {Function, Dmr, 40, Cmd::DmrContact, nullptr},
    {Function, Dmr, 41, Cmd::DmrRxGrpList, nullptr},
    {Function, 0, 0, 0, nullptr},
    {Function, 0, 42, Cmd::TextMessage, nullptr},
    {Function, 0, 43, Cmd::DigitalEmergAlarm, nullptr},
    {Function, 0, 44, Cmd::AnalogEmergAlarm, nullptr},
    {Set, 0, 45, Cmd::SetPort, nullptr},
    {Set, 0, 48, Cmd::ProgrammingPassword, nullptr, kChineseBarOnly},
    {Set, 0, 46, Cmd::PasswordSet, nullptr},
    {Set, 0, 47, Cmd::AdjustValue, nullptr},
    {Set, 0, 0, 0, nullptr},
    {Set, Language, 49, Cmd::LanguageChinese, nullptr},
    {Set, Language, 50, Cmd::LanguageEnglish, nullptr},
    {Program, 0, 51, Cmd::Read, "Ctrl+R"},
    {Program, 0, 52, Cmd::Write, "Ctrl+W"},
    {View, 0, 53, Cmd::ViewToolbar, nullptr},
    {View, 0, 54, Cmd::ViewStatusBar, nullptr},
    {View, 0, 55, Cmd::ViewNavigation, nullptr},
    {Window, 0, 56, Cmd::WindowTile, nullptr},
    {Window, 0, 57, Cmd::WindowArrange, nullptr},
    {Window, 0, 58, Cmd::FileClose, "Ctrl+F4"},
    {Help, 0, 59, Cmd::About, nullptr},
    {Help, 0, 60, Cmd::Help, nullptr},
};

constexpr MenuItemDef kShortcutOnly[] = {
    {0, 0, 0, Cmd::Nothing, "Ctrl+T"},
};

}  // namespace

std::vector<MenuItemDef> MenuBarFor(bool english)
{
    std::vector<MenuItemDef> bar;
    for (const MenuItemDef& item : kMenu)
        if (!english || !item.chineseBarOnly)
            bar.push_back(item);
    return bar;
}

int MenuKeyBase(bool english) { return english ? 100000 : 0; }

std::span<const MenuItemDef> ShortcutOnlyCommands() { return kShortcutOnly; }
