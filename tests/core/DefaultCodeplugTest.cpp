#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "codeplug/CodeplugFile.h"
#include "codeplug/Describe.h"
#include "codeplug/DescribeFormat.h"
#include "codeplug/Records.h"
#include "data/DefaultCodeplug.h"
#include "forms/channels/Encodings.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

TEST(DefaultCodeplug, CommittedFileIsWhatTheGeneratorWritesAndLoadsWithoutWarning)
{
    const fs::path temp = fs::temp_directory_path() / ("zr740-default-" + std::to_string(std::random_device{}()) + ".VNTX");
    Codeplug cp;
    BuildDefaultCodeplug(cp);
    ASSERT_TRUE(SaveCodeplugFile(cp, temp).ok());
    const auto regenerated = ReadAll(temp);
    fs::remove(temp);
    const auto committed = ReadAll(fs::path(ZR740_SOURCE_DIR) / "data" / "Default.VNTX");
    EXPECT_EQ(regenerated, committed) << "data/Default.VNTX is out of date: run make_default_vntx data/Default.VNTX";
    // The staged copy beside the program loads without a warning.
    ASSERT_EQ(LoadCodeplugFile(cp, fs::path(ZR740_PROGRAM_DIR) / "Default.VNTX").status, FileStatus::Ok);
    EXPECT_EQ(CodeplugToBytes(cp), committed);
}

TEST(DefaultCodeplug, IsAConsistentStarterConfiguration)
{
    Codeplug cp;
    BuildDefaultCodeplug(cp);
    // The description flags bad references, tones, IDs and counts: the starter file has none.
    const std::string text = FormatText(DescribeCodeplug(cp));
    for (const char* flag : {"invalid", "not in use", "outside the table", "unknown kind", "not a decimal ID", "Warning"})
        EXPECT_EQ(text.find(flag), std::string::npos) << flag;

    const std::uint8_t range = cp.RadioSettings[RadioSettingsField::FrequencyRange];
    EXPECT_EQ(range, 4);
    auto onRaster = [&](std::span<const std::uint8_t> r, std::size_t at) {
        const std::string shown = FrequencyToText(GetLE32(r, at));
        return NormaliseFrequencyText(shown, range) == shown && TextToFrequency(shown) == GetLE32(r, at);
    };
    std::set<std::uint8_t> toneKinds;
    for (std::size_t i = 0; i < GetCount(cp.AnalogChannelCount); ++i) {
        const auto r = cp.AnalogChannelTable.record(i);
        EXPECT_TRUE(onRaster(r, AnalogChannelField::RxFrequency) && onRaster(r, AnalogChannelField::TxFrequency)) << i;
        EXPECT_EQ(r[AnalogChannelField::TxToneType] & 0x0F, 0x04) << i;
        toneKinds.insert(static_cast<std::uint8_t>(ToneKindOf(r[AnalogChannelField::RxToneType])));
    }
    EXPECT_EQ(toneKinds.size(), 4u);  // none, CTCSS, DCS and inverted DCS all appear
    for (std::size_t i = 0; i < GetCount(cp.DigitalChannelCount); ++i) {
        const auto r = cp.DigitalChannelTable.record(i);
        EXPECT_TRUE(onRaster(r, DigitalChannelField::RxFrequency) && onRaster(r, DigitalChannelField::TxFrequency)) << i;
        const bool differ = GetLE32(r, DigitalChannelField::RxFrequency) != GetLE32(r, DigitalChannelField::TxFrequency);
        EXPECT_EQ((r[DigitalChannelField::Flags2] & DigitalChannelField::kFlagFrequenciesDiffer) != 0, differ) << i;
        EXPECT_LE(r[DigitalChannelField::RxColourCode], 15);
    }

    std::set<std::pair<std::uint8_t, std::uint32_t>> ids;
    int allCalls = 0;
    for (std::size_t i = 0; i < GetCount(cp.ContactCount); ++i) {
        const auto r = cp.ContactTable.record(i);
        allCalls += r[ContactField::CallType] == ContactField::kAllCall;
        EXPECT_TRUE(ids.insert({r[ContactField::CallType], GetLE32(r, ContactField::Id)}).second) << "duplicate ID, contact " << i;
    }
    EXPECT_EQ(allCalls, 1);
    for (std::size_t g = 0; g < GetCount(cp.RxGroupCount); ++g) {
        const auto r = cp.RxGroupTable.record(g);
        for (std::size_t m = 0; m < r[RxGroupField::MemberCount]; ++m)
            EXPECT_EQ(cp.ContactTable.record(r[RxGroupField::Members + m])[ContactField::CallType], ContactField::kGroupCall);
    }

    const std::uint16_t gain = GetLE16(cp.FunctionExtra, FunctionExtraField::DigitalMicGain);
    EXPECT_TRUE(gain >= 298 && gain <= 3798 && (gain - 298) % 250 == 0) << gain;
    EXPECT_EQ(cp.DigitalChannelTable.record(15)[80], 15);  // field numbers stamped
    EXPECT_EQ(cp.RadioSettings[224], 32);
    for (std::size_t i = 0; i < GetCount(cp.MessageCount); ++i)
        EXPECT_EQ(cp.MessageTable.record(i)[MessageField::FieldMarker], 1);
}
