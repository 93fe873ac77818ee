#pragma once
// Command ids of the main window and the two built-in menu bars as data. The main window builds
// its menu bar from MenuBarFor and keeps each command's id on its menu action.
#include <span>

namespace Cmd {
inline constexpr int FileNew = 57600;
inline constexpr int FileOpen = 57601;
inline constexpr int FileSave = 57603;
inline constexpr int FileSaveAs = 57604;
inline constexpr int FilePrint = 57607;        // toolbar only, no handler: shown disabled
inline constexpr int RadioInfo = 32823;
inline constexpr int GeneralFunctions = 32791;
inline constexpr int Keys = 32793;
inline constexpr int Vox = 32854;
inline constexpr int MonitorCh = 32857;
inline constexpr int Channel = 32834;          // the digital channel form
inline constexpr int DmrBasic = 32824;
inline constexpr int DmrContact = 32825;
inline constexpr int DmrRxGrpList = 32827;
inline constexpr int SetPort = 32772;
inline constexpr int PasswordSet = 32843;
inline constexpr int AdjustValue = 32861;
inline constexpr int ProgrammingPassword = 32868;
inline constexpr int Read = 32776;
inline constexpr int Write = 32779;
inline constexpr int ViewToolbar = 59392;
inline constexpr int ViewStatusBar = 59393;
inline constexpr int ViewNavigation = 32817;
inline constexpr int WindowTile = 57651;
inline constexpr int WindowArrange = 57649;
inline constexpr int About = 57664;
inline constexpr int Help = 32851;
inline constexpr int AnalogChannel = 32864;
inline constexpr int TextMessage = 32866;
inline constexpr int Nothing = 32819;          // Ctrl+T, reserved
// Ids of our own for commands that have no id of the original command set.
inline constexpr int DigitalEmergAlarm = 32901;
inline constexpr int AnalogEmergAlarm = 32902;
inline constexpr int LanguageChinese = 32911;
inline constexpr int LanguageEnglish = 32912;
inline constexpr int FileImport = 32921;       // a table (CSV) or the whole codeplug (JSON) from a file
inline constexpr int FileExport = 32922;
}  // namespace Cmd

// One menu item: the popup it sits in, an optional sub-popup, its label and shortcut.
// A null label is a separator. Items of one popup are listed together in menu order.
struct MenuItemDef {
    const char* popup;
    const char* subPopup;  // nullptr: directly in the popup
    const char* label;     // nullptr: separator
    int command;
    const char* shortcut;  // nullptr: none; otherwise in QKeySequence's portable notation
};

// The English menu bar when `english`, the Chinese one otherwise.
std::span<const MenuItemDef> MenuBarFor(bool english);

// Commands that have a key but no menu item in either bar.
std::span<const MenuItemDef> ShortcutOnlyCommands();
