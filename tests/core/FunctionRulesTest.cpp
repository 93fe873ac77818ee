// The general functions form's rules on a bare image: which byte and bit each control edits,
// the gain repairs and the forced-off bits of a display, the alias field.
#include "tests/core/TestFiles.h"

#include "core/TextCatalogue.h"
#include "forms/functions/FunctionRules.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// An image whose gains are valid, so that a display changes nothing by repairing.
std::unique_ptr<Codeplug> ValidImage()
{
    auto c = std::make_unique<Codeplug>();
    c->FunctionExtra[2] = 40;
    PutLE16(c->FunctionExtra, 3, 298);
    return c;
}

// Show, then commit what was shown with one change made by `edit`.
template <typename Edit>
void ShowEditCommit(Codeplug& c, Edit edit)
{
    FunctionValues values = ShowFunctions(c);
    edit(values);
    CommitFunctions(c, values);
}

}  // namespace

// Gains outside their range are repaired on display; a digital gain between two steps shows the
// step below and is stored as that step at the next commit.
TEST(FunctionRules, MicGainsShownRepairedAndStored)
{
    // shown: the list position ("1" is position 0)
    struct Case { FunList list; std::uint16_t stored; int shown; std::uint16_t afterShow, afterCommit; };
    const Case cases[] = {
        {FunList::DigitalMicGain, 2048, 7, 2048, 2048}, {FunList::DigitalMicGain, 3900, 0, 298, 298},
        {FunList::DigitalMicGain, 300, 0, 300, 298},    {FunList::DigitalMicGain, 297, 0, 298, 298},
        {FunList::DigitalMicGain, 3798, 14, 3798, 3798}, {FunList::DigitalMicGain, 3799, 0, 298, 298},
        {FunList::DigitalMicGain, 548, 1, 548, 548},    {FunList::AnalogMicGain, 39, 0, 40, 40},
        {FunList::AnalogMicGain, 56, 0, 40, 40},        {FunList::AnalogMicGain, 54, 14, 54, 54},
        {FunList::AnalogMicGain, 55, -1, 55, 55},  // passes the repair, past the 15 entries: kept
    };
    for (const Case& k : cases) {
        auto c = ValidImage();
        const bool digital = k.list == FunList::DigitalMicGain;
        auto stored = [&] { return digital ? GetLE16(c->FunctionExtra, 3) : c->FunctionExtra[2]; };
        digital ? PutLE16(c->FunctionExtra, 3, k.stored) : void(c->FunctionExtra[2] = static_cast<std::uint8_t>(k.stored));
        const FunctionValues shown = ShowFunctions(*c);
        EXPECT_EQ(shown[k.list], k.shown) << k.stored;
        EXPECT_EQ(stored(), k.afterShow) << k.stored;
        CommitFunctions(*c, shown);
        EXPECT_EQ(stored(), k.afterCommit) << k.stored;
    }
    auto c = ValidImage();
    ShowEditCommit(*c, [](FunctionValues& v) { v[FunList::DigitalMicGain] = 14, v[FunList::AnalogMicGain] = 3; });
    EXPECT_EQ(c->FunctionExtra, (std::array<std::uint8_t, 7>{0, 0, 43, 0xD6, 0x0E, 0, 0}));
}

TEST(FunctionRules, DisplayClearsTheForcedOffBitsAndCommitKeepsTheBitsNoControlOwns)
{
    auto c = ValidImage();
    c->RadioSettings.fill(0xFF);
    c->RadioSettings[90] = 0;  // an empty alias
    std::fill(c->RadioSettings.begin() + 91, c->RadioSettings.begin() + 127, 0);
    Codeplug before = *c;

    FunctionValues values = ShowFunctions(*c);
    before.RadioSettings[87] = 0xFB, before.RadioSettings[88] = 0xFE, before.RadioSettings[193] = 0xF1;
    EXPECT_EQ(c->RadioSettings, before.RadioSettings);  // the forced-off bits and nothing else

    // Every check box cleared and the menu language set to its first entry: bits 1, 4, 5 and the
    // message mode (7) of byte 87, bit 2 of 192, bits 4-7 of 193 and bits 5 and 7 of 199 stay.
    values.flags.fill(false);
    values[FunList::MenuLanguage] = 0;
    CommitFunctions(*c, values);
    before.RadioSettings[87] = 0xB2, before.RadioSettings[192] = 0x04, before.RadioSettings[193] = 0xF0,
    before.RadioSettings[199] = 0xA0;
    EXPECT_EQ(c->RadioSettings, before.RadioSettings);
}

TEST(FunctionRules, EachCheckBoxOwnsOneBit)
{
    struct Case { FunFlag flag; std::size_t offset; std::uint8_t mask; };
    const Case cases[] = {
        {FunFlag::RemoteAlarmAllowed, 87, 0x08}, {FunFlag::WiredPtt, 87, 0x40},       {FunFlag::TxInhibitTone, 192, 0x80},
        {FunFlag::DigitalCallTone, 192, 0x02},   {FunFlag::PowerOnTone, 192, 0x20},   {FunFlag::LowBatteryTone, 193, 0x01},
        {FunFlag::KeyTone, 192, 0x10},           {FunFlag::ChannelSwitchTone, 192, 0x40},
        {FunFlag::AnalogCallTone, 192, 0x08},    {FunFlag::RxLamp, 199, 0x02},        {FunFlag::ScanLamp, 199, 0x04},
        {FunFlag::ChannelSwitchLamp, 199, 0x08}, {FunFlag::TxLamp, 199, 0x01},        {FunFlag::PowerOnLamp, 199, 0x10},
        {FunFlag::CallHangLamp, 199, 0x40},      {FunFlag::RadioMute, 192, 0x01},
    };
    ASSERT_EQ(std::size(cases), kFunFlagCount);
    for (const Case& k : cases) {
        Codeplug c;  // gains out of range: committing without a display leaves them alone
        FunctionValues values = ReadFunctions(c);
        values[k.flag] = true;
        CommitFunctions(c, values);
        Codeplug expected;
        expected.RadioSettings[k.offset] = k.mask;
        EXPECT_EQ(c.RadioSettings, expected.RadioSettings) << k.offset << " " << int(k.mask);
        EXPECT_EQ(c.FunctionExtra, expected.FunctionExtra);
        EXPECT_TRUE(ReadFunctions(c)[k.flag]);
    }
}

TEST(FunctionRules, ListsStoreTheirPositionAndShowTheirEntries)
{
    TextCatalogue text;
    text.LoadText("[OPT]\n000070=off\n000071=zh\n000072=en\n[Tree]\n000034=Zone 1\n000035=Zone 2\n");
    struct Case { FunList list; int position; const char* entry; std::size_t offset; std::uint8_t stored; };
    const Case cases[] = {
        {FunList::MenuLanguage, 1, "en", 87, 0x01},        {FunList::PowerSaveLevel, 0, "off", 128, 0},
        {FunList::PowerSaveLevel, 3, "1/4", 128, 3},       {FunList::PowerSaveEntryTime, 10, "10", 130, 10},
        {FunList::LowBatteryInterval, 255, "255", 195, 255}, {FunList::PowerOnZone, 1, "Zone 2", 204, 1},
        {FunList::VoxLevel, 4, "5", 132, 4},               {FunList::RemoteAlarmResend, 2, "6", 134, 2},
        {FunList::RemoteAlarmResend, 4, "12", 134, 4},     {FunList::RemoteAlarmInterval, 29, "30", 197, 29},
    };
    for (const Case& k : cases) {
        const std::vector<std::string> entries = FunListEntries(k.list, text);
        ASSERT_EQ(static_cast<int>(entries.size()), FunListSize(k.list));
        EXPECT_EQ(entries.at(static_cast<std::size_t>(k.position)), k.entry);
        auto c = ValidImage();
        ShowEditCommit(*c, [&](FunctionValues& v) { v[k.list] = k.position; });
        EXPECT_EQ(c->RadioSettings[k.offset], k.stored) << k.entry;
        EXPECT_EQ(ReadFunctions(*c)[k.list], k.position) << k.entry;
    }
}

// Out-of-range values show no selection and are kept; so are the settings without a control.
TEST(FunctionRules, ValuesOutsideTheirListsAndHiddenSettingsAreKept)
{
    auto c = ValidImage();
    const std::pair<std::size_t, std::uint8_t> kept[] = {{128, 4}, {130, 11}, {204, 2}, {132, 5}, {197, 255}, {136, 2}, {87, 0x80}};
    for (const auto& [offset, value] : kept)
        c->RadioSettings[offset] = value;
    c->FunctionExtra = {0xA1, 16, 40, 0x2A, 0x01, 0xA5, 0xA6};
    FunctionValues values = ShowFunctions(*c);
    for (FunList list : {FunList::PowerSaveLevel, FunList::PowerSaveEntryTime, FunList::PowerOnZone, FunList::VoxLevel,
                         FunList::RemoteAlarmInterval, FunList::SerialDebugMode, FunList::TxModulationGain})
        EXPECT_EQ(values[list], -1) << static_cast<int>(list);
    values[FunFlag::KeyTone] = true;
    CommitFunctions(*c, values);
    for (const auto& [offset, value] : kept)
        EXPECT_EQ(c->RadioSettings[offset], value) << offset;
    EXPECT_EQ(c->FunctionExtra, (std::array<std::uint8_t, 7>{0xA1, 16, 40, 0x2A, 0x01, 0xA5, 0xA6}));
    EXPECT_EQ(c->RadioSettings[192], 0x10);

    c->RadioSettings[136] = 1;
    c->FunctionExtra[1] = 9;
    ShowEditCommit(*c, [](FunctionValues& v) { v[FunList::PowerSaveLevel] = 2; });
    EXPECT_EQ(c->RadioSettings[128], 2);
    EXPECT_EQ(c->RadioSettings[136], 1);
    EXPECT_EQ(c->FunctionExtra[1], 9);
}

TEST(FunctionRules, AliasIsTrimmedCutToEighteenCharactersAndEncoded)
{
    auto field = [](const Codeplug& c) { return Bytes(c.RadioSettings.begin() + 91, c.RadioSettings.begin() + 127); };
    auto c = ValidImage();
    std::fill(c->RadioSettings.begin() + 90, c->RadioSettings.begin() + 127, 0x33);
    c->RadioSettings[127] = 0x77;  // the next field's number
    auto padded = [](Bytes bytes) { return bytes.resize(36), bytes; };
    Bytes eighteen;
    for (char ch = 'A'; ch <= 'R'; ++ch)
        eighteen.insert(eighteen.end(), {static_cast<std::uint8_t>(ch), 0});
    const struct { const char* typed; std::uint8_t length; Bytes field; const char* shown; } rows[] = {
        {"  AB  ", 4, padded({'A', 0, 'B'}), "AB"},
        {"ABCDEFGHIJKLMNOPQRST", 4, padded({'A', 0, 'B'}), "AB"},  // 20 do not fit: nothing changes
        {"ABCDEFGHIJKLMNOPQR", 36, eighteen, "ABCDEFGHIJKLMNOPQR"},
        {"对讲机", 6, padded({0xB6, 0xD4, 0xBD, 0xB2, 0xBB, 0xFA}), "对讲机"},
    };
    for (const auto& row : rows) {
        ShowEditCommit(*c, [&](FunctionValues& v) { v.alias = row.typed; });
        EXPECT_EQ(std::tuple(c->RadioSettings[90], field(*c), ReadFunctions(*c).alias),
                  std::tuple(row.length, row.field, std::string(row.shown))) << row.typed;
    }
    EXPECT_EQ(c->RadioSettings[127], 0x77);
}
