#include "tests/core/TestFiles.h"

TEST(Codeplug, RecordAccessStopsAtTheTable)
{
    Codeplug cp;
    EXPECT_NO_THROW(cp.ContactTable.record(63));
    EXPECT_THROW(cp.ContactTable.record(64), std::out_of_range);
    EXPECT_THROW(cp.ZoneTable.record(2), std::out_of_range);
    EXPECT_EQ(cp.AnalogChannelTable.record(3).data(), cp.AnalogChannelTable.bytes.data() + 3 * 81);
    EXPECT_THROW(GetLE32(cp.FunctionExtra, 4), std::out_of_range);

    // Counts above the table are kept, but a loop visits the table only.
    SetCount(cp.ContactCount, 200);
    EXPECT_EQ((std::vector<std::size_t>{GetCount(cp.ContactCount), UsedRecords(GetCount(cp.ContactCount), cp.ContactTable),
                                        UsedRecords(9, cp.ScanTable), UsedRecords(2, cp.ScanTable)}),
              (std::vector<std::size_t>{200, 64, 3, 2}));
}

TEST(Codeplug, FieldNumbersAreStampedInEveryRecord)
{
    Codeplug cp;
    cp.DigitalChannelTable.bytes.fill(0xEE);
    StampFieldNumbers(cp);
    for (std::size_t i = 0; i < 16; ++i) {  // digital bytes 0, 38, 75, 80, 81 (data after the last number); analog 72
        const auto d = cp.DigitalChannelTable.record(i);
        const std::array<int, 6> got{d[0], d[38], d[75], d[80], d[81], cp.AnalogChannelTable.record(i)[72]};
        EXPECT_EQ(got, (std::array<int, 6>{0, 1, 13, 15, 0xEE, 11})) << i;
    }
    EXPECT_EQ((std::vector<int>{cp.ContactTable.record(63)[40], cp.RxGroupTable.record(31)[38], cp.ScanTable.record(2)[96],
                                cp.ZoneTable.record(1)[40], cp.RadioSettings[224], cp.RadioSettings[137]}),
              (std::vector<int>{2, 1, 6, 2, 32, 14}));
    // Messages are stamped as they are sent, not here.
    EXPECT_EQ(cp.MessageTable.record(0)[2], 0);
}
