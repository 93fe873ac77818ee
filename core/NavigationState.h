#pragma once
// The editing forms the main window can open, and what the application remembers between
// navigation and the forms: each indexed form's current record and window title, the label of
// the tree item last clicked and the four expansion flags.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Keys of section "Tree".
namespace TreeKey {
inline constexpr int Root = 0;
inline constexpr int RadioInfo = 1;
inline constexpr int Functions = 2;
inline constexpr int Keys = 3;
inline constexpr int GeneralFunctions = 4;
inline constexpr int Dmr = 7;
inline constexpr int DmrBasic = 8;
inline constexpr int Contacts = 9;
inline constexpr int RxGroupLists = 10;
inline constexpr int RxGroupItem = 11;      // pattern with the list number
inline constexpr int ScanLists = 17;
inline constexpr int ScanListItem = 18;     // pattern with the list number
inline constexpr int DigitalChannels = 28;
inline constexpr int AnalogChannels = 29;
inline constexpr int DigitalChannelItem = 30;
inline constexpr int AnalogChannelItem = 31;
inline constexpr int Zones = 33;
inline constexpr int Zone1 = 34;
inline constexpr int Zone2 = 35;
inline constexpr int ProgrammingPassword = 36;
}  // namespace TreeKey

enum class FormKind {
    Fun,                // general functions
    Key,                // programmable keys
    Vox,
    MonitorCh,
    Dmr,                // DMR basic settings
    DmrContact,
    DmrRxGrpList,
    DigitalChannel,
    AnalogChannel,
    Zone,
    Scan,
    PasswordEC,         // programming password settings
    Message,            // text messages
    DigitalEmergAlarm,
    AnalogEmergAlarm,
};
inline constexpr std::size_t kFormKindCount = 15;

// Where the window title of a form comes from when the main window opens it.
enum class TitleRule {
    SetByForm,    // the form sets its own title
    Fixed,        // a fixed text (FormInfo::fixedTitle)
    ItemLabel,    // the label of the tree item that chose the record
    LabelBuffer,  // the label of the tree item last clicked
};

struct FormInfo {
    FormKind kind;
    const char* className;
    int command;             // 0: no command of its own
    int width;               // child window size in pixels
    int height;
    bool reinitOnReopen;     // indexed forms show the newly chosen record when raised again
    TitleRule title;
    const char* fixedTitle;  // for TitleRule::Fixed
};

const FormInfo& FormInfoOf(FormKind kind);
std::optional<FormKind> FormForCommand(int command);

struct ExpansionFlags {
    bool digitalChannels = false;
    bool analogChannels = false;
    bool scanLists = false;
    bool rxGroupLists = false;
    void Clear() { *this = {}; }
};

struct NavigationState {
    std::array<std::uint32_t, kFormKindCount> currentIndex{};  // 0-based record per form
    std::array<std::string, kFormKindCount> titles;            // see Title()
    std::string labelBuffer;                                  // label of the tree item last clicked
    ExpansionFlags expansion;

    std::uint32_t& Index(FormKind kind) { return currentIndex[static_cast<std::size_t>(kind)]; }
    std::uint32_t Index(FormKind kind) const { return currentIndex[static_cast<std::size_t>(kind)]; }

    // The two channel forms share one title string.
    std::string& Title(FormKind kind) { return titles[TitleSlot(kind)]; }
    const std::string& Title(FormKind kind) const { return titles[TitleSlot(kind)]; }

    // The title the main window gives the form's window; nullopt when the form sets its own.
    std::optional<std::string> WindowTitleFor(FormKind kind) const;

private:
    static std::size_t TitleSlot(FormKind kind)
    {
        return static_cast<std::size_t>(kind == FormKind::AnalogChannel ? FormKind::DigitalChannel : kind);
    }
};
