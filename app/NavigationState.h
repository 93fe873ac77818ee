#pragma once
// The editing forms the main window can open, and what the application remembers between
// navigation and the forms: each indexed form's current record and window title, the label of
// the tree item last clicked and the four expansion flags.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

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
