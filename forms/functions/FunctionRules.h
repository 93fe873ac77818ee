#pragma once
// The general functions form without its window: where each control keeps its value in
// RadioSettings and FunctionExtra, the repairs and forced-off bits applied every time the form
// shows, and the entries and captions of its controls.
//
// A list position is the 0-based index of the entry; -1 means no selection, which is what a
// stored value outside its list shows. Committing a list without a selection keeps the stored
// value.
#include <array>
#include <cstddef>
#include <string>
#include <vector>

struct Codeplug;
class TextCatalogue;

inline constexpr char kFunTextSection[] = "OPT";

// The lists of the form, in the order the form lays them out; the last three have no visible
// control and are written back with the value the last display gave them.
enum class FunList : std::size_t {
    MenuLanguage,
    PowerSaveLevel,
    PowerSaveEntryTime,
    LowBatteryInterval,
    PowerOnZone,
    VoxLevel,
    RemoteAlarmResend,
    RemoteAlarmInterval,
    AnalogMicGain,
    DigitalMicGain,
    MessageMode,
    SerialDebugMode,
    TxModulationGain,
};
inline constexpr std::size_t kFunListCount = 13;
inline constexpr std::size_t kFunVisibleListCount = 10;

// The check boxes, in the order the form lays them out.
enum class FunFlag : std::size_t {
    RemoteAlarmAllowed,
    WiredPtt,
    RadioMute,
    TxInhibitTone,
    DigitalCallTone,
    AnalogCallTone,
    PowerOnTone,
    LowBatteryTone,
    KeyTone,
    ChannelSwitchTone,
    TxLamp,
    RxLamp,
    ScanLamp,
    ChannelSwitchLamp,
    PowerOnLamp,
    CallHangLamp,
};
inline constexpr std::size_t kFunFlagCount = 16;

// What the controls of the form hold.
struct FunctionValues {
    std::array<int, kFunListCount> lists{};
    std::array<bool, kFunFlagCount> flags{};
    std::string alias;  // UTF-8

    int& operator[](FunList list) { return lists[static_cast<std::size_t>(list)]; }
    int operator[](FunList list) const { return lists[static_cast<std::size_t>(list)]; }
    bool& operator[](FunFlag flag) { return flags[static_cast<std::size_t>(flag)]; }
    bool operator[](FunFlag flag) const { return flags[static_cast<std::size_t>(flag)]; }
    bool operator==(const FunctionValues&) const = default;
};

// The values the controls show for the image as it is, without changing it.
FunctionValues ReadFunctions(const Codeplug& codeplug);

// What the form does each time it shows: clears the forced-off option bits, repairs the two
// microphone gains (RepairMicGainsForDisplay) and reads the values.
FunctionValues ShowFunctions(Codeplug& codeplug);

// The analog gain (FunctionExtra byte 2) outside 40..55 becomes 40; the digital gain
// (FunctionExtra bytes 3-4) outside 298..3798 becomes 298. A digital gain between two steps is
// kept and shows the step below it.
void RepairMicGainsForDisplay(Codeplug& codeplug);

// Writes every value into its byte or bit, leaving the other bits of shared bytes alone. A
// list without a selection, or with a position past its entries, keeps its stored value. The
// alias is trimmed and encoded into its 36-byte field when it fits (StoreAlias), else kept.
void CommitFunctions(Codeplug& codeplug, const FunctionValues& values);

// The entries of a list, in list order.
std::vector<std::string> FunListEntries(FunList list, const TextCatalogue& text);
int FunListSize(FunList list);

// A control's caption as the form is built, and the key in section OPT of the text that
// replaces it when the form is initialised (0: the built-in caption stays).
struct FunCaption {
    const char* builtIn;
    int key;
};
FunCaption CaptionOf(FunList list);
FunCaption CaptionOf(FunFlag flag);
inline constexpr FunCaption kAliasCaption{"本机别名", 99};
