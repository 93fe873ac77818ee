#pragma once
// Command ids of the main window and the two menu bars as data. The main window builds its menu
// bar from MenuBarFor, its labels from section "Menu" of the language file, and keeps each
// command's id on its menu action.
#include <span>
#include <vector>

namespace Cmd {
inline constexpr int FileNew = 57600;
inline constexpr int FileOpen = 57601;
inline constexpr int FileSave = 57603;
inline constexpr int FileSaveAs = 57604;
inline constexpr int FileClose = 57602;        // closes the active form's window
inline constexpr int FilePrint = 57607;        // the channel sheet, printed after a preview
inline constexpr int EditUndo = 57643;
inline constexpr int EditRedo = 57644;
inline constexpr int FileExit = 57665;
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
inline constexpr int FileExportPdf = 32923;    // the channel sheet as a PDF file
inline constexpr int RecentFiles = 32924;      // File › Recent files: a submenu the window fills
}  // namespace Cmd

// Keys of section "Menu" the main window uses besides the items' own.
namespace MenuKey {
inline constexpr int UndoNamed = 31, RedoNamed = 32;  // "&Undo: %1"
inline constexpr int NoRecentFiles = 61;
}  // namespace MenuKey

// One menu item: the popup it sits in, an optional sub-popup, its label and shortcut, each label
// a key of section "Menu". A label key of 0 is a separator. Items of one popup are listed
// together in menu order.
struct MenuItemDef {
    int popup;
    int subPopup;  // 0: directly in the popup
    int label;     // 0: separator
    int command;
    const char* shortcut;  // nullptr: none; otherwise in QKeySequence's portable notation, several
                           // separated by "; "
    bool chineseBarOnly = false;
};

// The English menu bar when `english`, the Chinese one otherwise.
std::vector<MenuItemDef> MenuBarFor(bool english);
// The key base of a menu bar's labels: each bar has its labels in its own language whatever the
// run's language (a run in a third language shows the Chinese bar).
int MenuKeyBase(bool english);

// Commands that have a key but no menu item in either bar.
std::span<const MenuItemDef> ShortcutOnlyCommands();
