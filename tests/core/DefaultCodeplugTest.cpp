#include "tests/core/TestFiles.h"

#include "forms/Describe.h"
#include "forms/DescribeFormat.h"
#include "forms/channels/Encodings.h"

namespace fs = std::filesystem;

TEST(DefaultCodeplug, CommittedFileIsWhatTheGeneratorWritesLoadsWithoutWarningAndFlagsNothing)
{
    const testfiles::TempDir temp;
    Codeplug cp;
    BuildDefaultCodeplug(cp);
    // The description flags bad references, tones, IDs and counts: the starter file has none.
    const std::string text = FormatText(DescribeCodeplug(cp));
    for (const char* flag : {"invalid", "not in use", "outside the table", "unknown kind", "not a decimal ID", "Warning"})
        EXPECT_EQ(text.find(flag), std::string::npos) << flag;
    ASSERT_TRUE(SaveCodeplugFile(cp, temp / "Default.VNTX").ok());
    const auto regenerated = testfiles::ReadText(temp / "Default.VNTX");
    const auto committed = testfiles::ReadText(testfiles::kDefaultFile);
    EXPECT_EQ(regenerated, committed) << "data/Default.VNTX is out of date: run make_default_vntx data/Default.VNTX";
    // The staged copy beside the program loads without a warning.
    ASSERT_EQ(LoadCodeplugFile(cp, fs::path(ZR740_PROGRAM_DIR) / "Default.VNTX").status, FileStatus::Ok);
    EXPECT_EQ(CodeplugToBytes(cp), std::vector<std::uint8_t>(committed.begin(), committed.end()));
    {
        Codeplug cp;
        BuildDefaultCodeplug(cp);
        const std::uint8_t band = cp.RadioSettings[RadioSettingsField::FrequencyRange];
        const auto check = [&](std::span<const std::uint8_t> record, std::size_t offset) {
            const std::string text = FrequencyToText(GetLE32(record, offset));
            EXPECT_EQ(NormaliseFrequencyText(text, band), text);
        };
        for (std::size_t i = 0; i < GetCount(cp.AnalogChannelCount); ++i)
            for (std::size_t offset : {AnalogChannelField::RxFrequency, AnalogChannelField::TxFrequency})
                check(cp.AnalogChannelTable.record(i), offset);
        for (std::size_t i = 0; i < GetCount(cp.DigitalChannelCount); ++i)
            for (std::size_t offset : {DigitalChannelField::RxFrequency, DigitalChannelField::TxFrequency})
                check(cp.DigitalChannelTable.record(i), offset);
    }
}
