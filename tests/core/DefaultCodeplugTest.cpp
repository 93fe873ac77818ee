#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "codeplug/CodeplugFile.h"
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

bool SurvivesTheNormaliser(std::uint32_t hz, std::uint8_t range)
{
    const std::string text = FrequencyToText(hz);
    return NormaliseFrequencyText(text, range) == text && TextToFrequency(text) == hz;
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
    const std::uint8_t range = cp.RadioSettings[RadioSettingsField::FrequencyRange];
    EXPECT_EQ(range, 4);
    const std::uint32_t analog = GetCount(cp.AnalogChannelCount), digital = GetCount(cp.DigitalChannelCount);
    const std::uint32_t contacts = GetCount(cp.ContactCount), scans = GetCount(cp.ScanListCount), groups = GetCount(cp.RxGroupCount);
    ASSERT_TRUE(analog >= 3 && analog <= 16 && digital >= 3 && digital <= 16 && contacts >= 3 && contacts <= 64);
    ASSERT_TRUE(scans <= 3 && groups <= 32 && GetCount(cp.MessageCount) >= 1);

    std::set<std::uint8_t> toneKinds;
    for (std::size_t i = 0; i < analog; ++i) {
        const auto r = cp.AnalogChannelTable.record(i);
        EXPECT_TRUE(SurvivesTheNormaliser(GetLE32(r, AnalogChannelField::RxFrequency), range)) << i;
        EXPECT_TRUE(SurvivesTheNormaliser(GetLE32(r, AnalogChannelField::TxFrequency), range)) << i;
        EXPECT_TRUE(ToneText(r[AnalogChannelField::RxToneType], r[AnalogChannelField::RxToneIndex])) << i;
        EXPECT_TRUE(ToneText(r[AnalogChannelField::TxToneType], r[AnalogChannelField::TxToneIndex])) << i;
        EXPECT_EQ(r[AnalogChannelField::TxToneType] & 0x0F, 0x04) << i;
        EXPECT_LE(r[AnalogChannelField::ScanList], scans);
        toneKinds.insert(static_cast<std::uint8_t>(ToneKindOf(r[AnalogChannelField::RxToneType])));
        EXPECT_FALSE(DecodeAlias(r[AnalogChannelField::AliasLength], r.subspan(AnalogChannelField::Alias, 36)).empty());
    }
    EXPECT_EQ(toneKinds.size(), 4u);  // none, CTCSS, DCS and inverted DCS all appear

    for (std::size_t i = 0; i < digital; ++i) {
        const auto r = cp.DigitalChannelTable.record(i);
        const std::uint32_t rx = GetLE32(r, DigitalChannelField::RxFrequency);
        const std::uint32_t tx = GetLE32(r, DigitalChannelField::TxFrequency);
        EXPECT_TRUE(SurvivesTheNormaliser(rx, range) && SurvivesTheNormaliser(tx, range)) << i;
        EXPECT_EQ((r[DigitalChannelField::Flags2] & DigitalChannelField::kFlagFrequenciesDiffer) != 0, rx != tx) << i;
        EXPECT_LE(r[DigitalChannelField::RxColourCode], 15);
        EXPECT_LT(r[DigitalChannelField::TxContact], contacts);
        EXPECT_LE(r[DigitalChannelField::RxGroupList], groups);
        EXPECT_LE(r[DigitalChannelField::ScanList], scans);
    }

    auto expectMembers = [&](std::span<const std::uint8_t> record, std::size_t count, std::size_t (*member)(std::size_t)) {
        EXPECT_GE(count, 1u);
        for (std::size_t m = 0; m < count; ++m) {
            const std::uint8_t kind = record[member(m)];
            const std::uint16_t index = GetLE16(record, member(m) + 1);
            ASSERT_TRUE(kind == ChannelRef::kDigital || kind == ChannelRef::kAnalog);
            EXPECT_LT(index, kind == ChannelRef::kDigital ? digital : analog);
        }
    };
    for (std::size_t z = 0; z < 2; ++z)
        expectMembers(cp.ZoneTable.record(z), cp.ZoneTable.record(z)[ZoneField::MemberCount], ZoneField::Member);
    for (std::size_t s = 0; s < scans; ++s)
        expectMembers(cp.ScanTable.record(s), cp.ScanTable.record(s)[ScanListField::MemberCount], ScanListField::Member);

    std::set<std::pair<std::uint8_t, std::uint32_t>> ids;
    int allCalls = 0;
    for (std::size_t i = 0; i < contacts; ++i) {
        const auto r = cp.ContactTable.record(i);
        const std::uint8_t type = r[ContactField::CallType];
        allCalls += type == ContactField::kAllCall;
        EXPECT_TRUE(ids.insert({type, GetLE32(r, ContactField::Id)}).second) << "duplicate ID, contact " << i;
    }
    EXPECT_EQ(allCalls, 1);
    for (std::size_t g = 0; g < groups; ++g) {
        const auto r = cp.RxGroupTable.record(g);
        for (std::size_t m = 0; m < r[RxGroupField::MemberCount]; ++m) {
            const std::uint8_t contact = r[RxGroupField::Members + m];
            ASSERT_LT(contact, contacts);
            EXPECT_EQ(cp.ContactTable.record(contact)[ContactField::CallType], ContactField::kGroupCall);
        }
    }

    const std::uint16_t gain = GetLE16(cp.FunctionExtra, FunctionExtraField::DigitalMicGain);
    EXPECT_TRUE(gain >= 298 && gain <= 3798 && (gain - 298) % 250 == 0) << gain;
    EXPECT_TRUE(cp.FunctionExtra[FunctionExtraField::AnalogMicGain] >= 40 && cp.FunctionExtra[FunctionExtraField::AnalogMicGain] <= 55);
    EXPECT_EQ(GetLE32(cp.FileMarker, 0), 740u);

    EXPECT_EQ(cp.DigitalChannelTable.record(15)[80], 15);  // field numbers stamped
    EXPECT_EQ(cp.ContactTable.record(63)[40], 2);
    EXPECT_EQ(cp.RadioSettings[224], 32);
    for (std::size_t i = 0; i < GetCount(cp.MessageCount); ++i)
        EXPECT_EQ(cp.MessageTable.record(i)[MessageField::FieldMarker], 1);
}
