#include "forms/functions/FunctionRules.h"

#include <span>

#include "core/TextCatalogue.h"
#include "codeplug/Codeplug.h"
#include "codeplug/Records.h"
#include "forms/channels/Encodings.h"

namespace {

namespace R = RadioSettingsField;
namespace X = FunctionExtraField;

// How a list keeps its position.
enum class Store {
    SettingsByte,  // a RadioSettings byte holds the position
    SettingsBit,   // a RadioSettings bit holds the position of a two-entry list
    ExtraByte,     // a FunctionExtra byte holds the position
    AnalogGain,    // FunctionExtra byte 2 = 40 + position
    DigitalGain,   // FunctionExtra bytes 3-4 = 298 + 250 * position
};

struct ListSpec {
    FunCaption caption;
    Store store;
    std::size_t offset;
    std::uint8_t mask;  // SettingsBit only
    int entries;
};

// In FunList order; the lists without a visible control have no caption.
constexpr std::array<ListSpec, kFunListCount> kLists = {{
    {{"系统语言", 1}, Store::SettingsBit, R::Options1, R::kMenuLanguage, 2},
    {{"省电等级", 9}, Store::SettingsByte, R::PowerSaveLevel, 0, 4},
    {{"省电进入时间[秒]", 10}, Store::SettingsByte, R::PowerSaveEntryTime, 0, 11},
    {{"低电报警间隔时间[秒]", 96}, Store::SettingsByte, R::LowBatteryInterval, 0, 256},
    {{"指定开机区域", 80}, Store::SettingsByte, R::PowerOnZone, 0, 2},
    {{"声控等级", 83}, Store::SettingsByte, R::VoxLevel, 0, 5},
    {{"远程报警重发次数", 82}, Store::SettingsByte, R::RemoteAlarmResend, 0, 5},
    {{"远程报警间隔时间[秒]", 97}, Store::SettingsByte, R::RemoteAlarmInterval, 0, 255},
    {{"模拟麦克风增益", 110}, Store::AnalogGain, X::AnalogMicGain, 0, 15},
    {{"数字麦克风增益", 111}, Store::DigitalGain, X::DigitalMicGain, 0, 15},
    {{"", 0}, Store::SettingsBit, R::Options1, R::kMessageMode, 2},
    {{"", 0}, Store::SettingsByte, R::SerialDebugMode, 0, 2},
    {{"", 0}, Store::ExtraByte, X::TxModulationGain, 0, 16},
}};

struct FlagSpec {
    FunCaption caption;
    std::size_t offset;
    std::uint8_t mask;
};

// In FunFlag order.
constexpr std::array<FlagSpec, kFunFlagCount> kFlags = {{
    {{"远程报警允许", 92}, R::Options1, R::kRemoteAlarmAllowed},
    {{"线控PTT", 93}, R::Options1, R::kWiredPtt},
    {{"对讲机静音开", 17}, R::Tones1, R::kRadioMute},
    {{"禁发提示音", 98}, R::Tones1, R::kTxInhibitTone},
    {{"数字呼叫提示音", 76}, R::Tones1, R::kDigitalCallTone},
    {{"模拟呼叫提示音", 90}, R::Tones1, R::kAnalogCallTone},
    {{"开机提示音", 18}, R::Tones1, R::kPowerOnTone},
    {{"低电报警提示音", 4}, R::Tones2, R::kLowBatteryTone},
    {{"按键功能提示音", 3}, R::Tones1, R::kKeyTone},
    {{"信道切换提示音", 14}, R::Tones1, R::kChannelSwitchTone},
    {{"发射指示灯", 85}, R::Lamps, R::kTxLamp},
    {{"接收指示灯", 84}, R::Lamps, R::kRxLamp},
    {{"扫描状态指示灯", 86}, R::Lamps, R::kScanLamp},
    {{"信道切换指示灯", 88}, R::Lamps, R::kChannelSwitchLamp},
    {{"开机指示灯", 87}, R::Lamps, R::kPowerOnLamp},
    {{"呼叫挂起指示灯", 89}, R::Lamps, R::kCallHangLamp},
}};

const ListSpec& SpecOf(FunList list) { return kLists.at(static_cast<std::size_t>(list)); }

int ReadPosition(const Codeplug& c, const ListSpec& field)
{
    int position = -1;
    switch (field.store) {
    case Store::SettingsByte: position = c.RadioSettings.at(field.offset); break;
    case Store::SettingsBit: position = (c.RadioSettings.at(field.offset) & field.mask) != 0 ? 1 : 0; break;
    case Store::ExtraByte: position = c.FunctionExtra.at(field.offset); break;
    case Store::AnalogGain: position = c.FunctionExtra.at(field.offset) - X::kAnalogMicGainMin; break;
    case Store::DigitalGain: {
        const int value = GetLE16(c.FunctionExtra, field.offset);
        position = value >= X::kDigitalMicGainMin ? (value - X::kDigitalMicGainMin) / X::kDigitalMicGainStep : -1;
        break;
    }
    }
    return position >= 0 && position < field.entries ? position : -1;
}

void WritePosition(Codeplug& c, const ListSpec& field, int position)
{
    if (position < 0 || position >= field.entries)
        return;  // no selection: the stored value stays
    const auto byte = static_cast<std::uint8_t>(position);
    switch (field.store) {
    case Store::SettingsByte: c.RadioSettings.at(field.offset) = byte; break;
    case Store::SettingsBit: {
        std::uint8_t& bits = c.RadioSettings.at(field.offset);
        bits = static_cast<std::uint8_t>(position != 0 ? bits | field.mask : bits & ~field.mask);
        break;
    }
    case Store::ExtraByte: c.FunctionExtra.at(field.offset) = byte; break;
    case Store::AnalogGain: c.FunctionExtra.at(field.offset) = static_cast<std::uint8_t>(X::kAnalogMicGainMin + position); break;
    case Store::DigitalGain:
        PutLE16(c.FunctionExtra, field.offset,
                static_cast<std::uint16_t>(X::kDigitalMicGainMin + X::kDigitalMicGainStep * position));
        break;
    }
}

std::span<std::uint8_t> RadioAliasBytes(Codeplug& c)
{
    return std::span<std::uint8_t>(c.RadioSettings).subspan(R::RadioAlias, AliasField::kBytes);
}

std::vector<std::string> Numbers(int first, int step, int count)
{
    std::vector<std::string> entries;
    for (int i = 0; i < count; ++i)
        entries.push_back(std::to_string(first + step * i));
    return entries;
}

}  // namespace

FunctionValues ReadFunctions(const Codeplug& c)
{
    FunctionValues values;
    for (std::size_t i = 0; i < kFunListCount; ++i)
        values.lists[i] = ReadPosition(c, kLists[i]);
    for (std::size_t i = 0; i < kFunFlagCount; ++i)
        values.flags[i] = (c.RadioSettings.at(kFlags[i].offset) & kFlags[i].mask) != 0;
    values.alias = DecodeAlias(c.RadioSettings[R::RadioAliasLength],
                               std::span<const std::uint8_t>(c.RadioSettings).subspan(R::RadioAlias, AliasField::kBytes));
    return values;
}

void RepairMicGainsForDisplay(Codeplug& c)
{
    std::uint8_t& analog = c.FunctionExtra[X::AnalogMicGain];
    if (analog < X::kAnalogMicGainMin || analog > X::kAnalogMicGainMax)
        analog = X::kAnalogMicGainMin;
    const std::uint16_t digital = GetLE16(c.FunctionExtra, X::DigitalMicGain);
    if (digital < X::kDigitalMicGainMin || digital > X::kDigitalMicGainListMax)
        PutLE16(c.FunctionExtra, X::DigitalMicGain, X::kDigitalMicGainMin);
}

FunctionValues ShowFunctions(Codeplug& c)
{
    ClearForcedOffOptionBits(c);
    RepairMicGainsForDisplay(c);
    return ReadFunctions(c);
}

void CommitFunctions(Codeplug& c, const FunctionValues& values)
{
    for (std::size_t i = 0; i < kFunListCount; ++i)
        WritePosition(c, kLists[i], values.lists[i]);
    for (std::size_t i = 0; i < kFunFlagCount; ++i) {
        std::uint8_t& bits = c.RadioSettings.at(kFlags[i].offset);
        bits = static_cast<std::uint8_t>(values.flags[i] ? bits | kFlags[i].mask : bits & ~kFlags[i].mask);
    }
    StoreAlias(values.alias, AliasField::kMaxChars, c.RadioSettings[R::RadioAliasLength], RadioAliasBytes(c));
}

int FunListSize(FunList list) { return SpecOf(list).entries; }

std::vector<std::string> FunListEntries(FunList list, const TextCatalogue& text)
{
    switch (list) {
    case FunList::MenuLanguage: return {text.GetText(kFunTextSection, 71), text.GetText(kFunTextSection, 72)};
    case FunList::PowerSaveLevel: return {text.GetText(kFunTextSection, 70), "1/1", "1/2", "1/4"};
    case FunList::PowerSaveEntryTime: return Numbers(0, 1, 11);
    case FunList::LowBatteryInterval: return Numbers(0, 1, 256);
    case FunList::PowerOnZone: return {text.GetText("Tree", 34), text.GetText("Tree", 35)};
    case FunList::VoxLevel: return Numbers(1, 1, 5);
    case FunList::RemoteAlarmResend: return Numbers(0, 3, 5);
    case FunList::RemoteAlarmInterval: return Numbers(1, 1, 255);
    case FunList::AnalogMicGain:
    case FunList::DigitalMicGain: return Numbers(1, 1, 15);
    case FunList::MessageMode: return {text.GetText(kFunTextSection, 56), text.GetText(kFunTextSection, 57)};
    case FunList::SerialDebugMode: return {text.GetText(kFunTextSection, 77), text.GetText(kFunTextSection, 78)};
    case FunList::TxModulationGain: return Numbers(0, 1, 16);
    }
    return {};
}

FunCaption CaptionOf(FunList list) { return SpecOf(list).caption; }

FunCaption CaptionOf(FunFlag flag) { return kFlags.at(static_cast<std::size_t>(flag)).caption; }
