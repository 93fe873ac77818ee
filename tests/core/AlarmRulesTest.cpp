// The emergency alarm tables without a window: the list of systems in use, add, delete and the
// steps, and each record's fields as the forms store and enable them.
#include "tests/core/TestFiles.h"

#include "forms/dmr/AlarmRules.h"

using namespace emergency;

namespace {

// The in-use bit: digital records byte 28 bit 1, analog records byte 0 bit 5.
struct Digital {
    using Table = DigitalAlarmTable;
    static constexpr std::size_t kFlagsAt = 28, kTagAt = 0;
    static constexpr std::uint8_t kInUseBit = 0x02;
};
struct Analog {
    using Table = AnalogAlarmTable;
    static constexpr std::size_t kFlagsAt = 0, kTagAt = 30;
    static constexpr std::uint8_t kInUseBit = 0x20;
};

template <typename Kind>
class AlarmList : public ::testing::Test {};
using Kinds = ::testing::Types<Digital, Analog>;
TYPED_TEST_SUITE(AlarmList, Kinds);

template <typename Kind>
std::unique_ptr<typename Kind::Table> WithSystems(std::size_t n)
{
    auto table = std::make_unique<typename Kind::Table>();
    for (std::size_t i = 0; i < n; ++i) {
        EXPECT_TRUE(AddSystem(*table));
        table->record(i)[Kind::kTagAt] = static_cast<std::uint8_t>(0x41 + i);  // 'A', 'B' ...
    }
    return table;
}

}  // namespace

TYPED_TEST(AlarmList, AddMarksTheFirstFreeRecordAndStopsAtThirtyTwo)
{
    using K = TypeParam;
    typename K::Table table;
    EXPECT_EQ(SystemsInUse(table), 0u);
    table.record(1)[K::kFlagsAt] = K::kInUseBit;  // in use, but after a gap: not part of the list
    table.record(0)[5] = 0x77;
    EXPECT_EQ(SystemsInUse(table), 0u);
    ASSERT_TRUE(AddSystem(table));
    EXPECT_EQ(std::tuple(table.record(0)[K::kFlagsAt], table.record(0)[5] + 0, SystemsInUse(table)),
              std::tuple(K::kInUseBit, 0x77, 2u));  // other bytes as they were
    for (int i = 2; i < 32; ++i)
        ASSERT_TRUE(AddSystem(table));
    const auto before = table.bytes;
    EXPECT_FALSE(AddSystem(table));
    EXPECT_EQ(table.bytes, before);
}

TYPED_TEST(AlarmList, DeletingSystemTwoOfFourMovesTheLaterOnesDown)
{
    using K = TypeParam;
    auto table = WithSystems<K>(4);
    EXPECT_EQ(DeleteSystem(*table, 1), 1u);
    EXPECT_EQ(SystemsInUse(*table), 3u);
    EXPECT_EQ((std::string{char(table->record(0)[K::kTagAt]), char(table->record(1)[K::kTagAt]),
                           char(table->record(2)[K::kTagAt])}),
              "ACD");
    EXPECT_EQ(table->record(3)[K::kFlagsAt] & K::kInUseBit, 0);

    EXPECT_EQ(DeleteSystem(*table, 2), 0u);  // the last one: its place is gone, back to the first
    EXPECT_EQ(SystemsInUse(*table), 2u);
}

TYPED_TEST(AlarmList, TheLastSystemAndAnEmptyListDeleteNothing)
{
    using K = TypeParam;
    // The only system, none, or an index outside the list: nothing is deleted.
    for (const auto& [systems, index] : {std::pair<std::size_t, std::size_t>{0, 0}, {1, 0}, {2, 7}}) {
        auto table = WithSystems<K>(systems);
        const auto before = table->bytes;
        EXPECT_EQ(DeleteSystem(*table, index), 0u);
        EXPECT_EQ(table->bytes, before) << systems;
    }
}

TEST(AlarmSteps, ButtonsStayInsideTheListAndTheTable)
{
    const struct { Step step; std::uint32_t current; std::size_t inUse; std::uint32_t expected; } cases[] = {
        {Step::First, 3, 4, 0}, {Step::Previous, 3, 4, 2}, {Step::Previous, 0, 4, 0}, {Step::Previous, 40, 0, 31},
        {Step::Next, 1, 4, 2},  {Step::Next, 3, 4, 3},     {Step::Next, 0, 0, 0},     {Step::Last, 0, 4, 3},
        {Step::Last, 2, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StepIndex(c.step, c.current, c.inUse), c.expected)
            << static_cast<int>(c.step) << " from " << c.current << " of " << c.inUse;
    EXPECT_EQ(RecordShown(40), 31u);
}

TEST(DigitalAlarmRecord, ListsStoreTheirValuesAndTheTypeEnablesTheRest)
{
    DigitalAlarmTable table;
    auto r = table.record(0);
    r[28] = 0x02;  // in use
    DigitalAlarmEntries e;
    e.type = 2, e.mode = 1, e.impoliteCount = 255, e.politeCount = 0;
    e.repeatCount = 0, e.hotMicDuration = 11, e.callInterval = 254, e.duration = 9;
    e.remoteAllowed = true;
    e.alias = "ALARM-ONE-TWO-THREE";  // 19 characters, 16 kept
    CommitDigital(r, e);
    EXPECT_EQ(std::string(r.begin(), r.begin() + 16), "ALARM-ONE-TWO-TH");
    const std::vector<std::uint8_t> fields = {r[16], r[17], r[20], r[21], r[22], r[23], r[25], r[27], r[28]};
    EXPECT_EQ(fields, (std::vector<std::uint8_t>{2, 1, 255, 0, 1, 12, 255, 10, 0x06}));
    const DigitalAlarmEntries shown = ShowDigital(r);
    EXPECT_EQ(std::tuple(shown.hotMicDuration, shown.alias, shown.remoteAllowed), std::tuple(11, std::string("ALARM-ONE-TWO-TH"), true));

    e.alias = "S1";
    e.remoteAllowed = false;
    CommitDigital(r, e);
    EXPECT_EQ(std::tuple(r[2] + 0, r[28] + 0), std::tuple(0, 0x02));  // the rest of the alias field cleared

    for (std::uint8_t type = 0; type <= 4; ++type) {
        r[16] = type;
        EXPECT_EQ(DigitalDetailsEnabled(r), type >= 2) << int(type);
    }
    const DigitalAlarmEntries zero = ShowDigital(DigitalAlarmTable().record(0));
    EXPECT_EQ(std::tuple(zero.repeatCount, zero.type), std::tuple(-1, 0));  // 0 is below the 1-based lists
}

TEST(AnalogAlarmRecord, ModesShareTheirBytesAndDecideWhatCanBeEdited)
{
    AnalogAlarmTable table;
    auto r = table.record(0);
    r[0] = 0x20 | 0x08;  // in use, background tone
    r[24] = 0xF0;
    AnalogAlarmEntries e;
    e.alarmMode = 2, e.toneRepeatMode = 2, e.voiceRepeatMode = 1, e.squelchMode = 2;
    e.localToneDuration = 0, e.toneRepeatCount = 4, e.voiceRepeatCount = 9, e.transmitDuration = 29;
    e.receiveDuration = 254;
    CommitAnalog(r, e);
    EXPECT_EQ((std::vector<int>{r[0], r[20], r[24], r[21], r[22], r[23], r[25], r[26]}),
              (std::vector<int>{0x20, 3 | (2 << 2) | (1 << 5), 0xF2, 1, 5, 10, 30, 255}));
    EXPECT_EQ(ShowAnalog(r).alarmMode, 2);
    EXPECT_FALSE(AnalogEnabling(r).voiceRepeatCount);  // voice repeat mode 1

    e.alarmMode = 1, e.toneRepeatMode = 1;
    CommitAnalog(r, e);
    AnalogAlarmEnabling on = AnalogEnabling(r);
    EXPECT_TRUE(on.localToneDuration && on.toneRepeatMode);
    EXPECT_FALSE(on.toneRepeatCount || on.voiceRepeatMode || on.voiceRepeatCount || on.squelchMode ||
                 on.transmitDuration || on.receiveDuration);

    e.alarmMode = 0;
    CommitAnalog(r, e);
    on = AnalogEnabling(r);
    EXPECT_FALSE(on.localToneDuration || on.toneRepeatMode);

    r[20] = 2 | (5 << 2);  // a mode 2 and a repeat mode no list holds
    e = ShowAnalog(r);
    EXPECT_EQ(std::tuple(e.alarmMode, e.toneRepeatMode), std::tuple(kLeaveSelection, -1));
    CommitAnalog(r, e);  // unselected mode lists leave their bits
    EXPECT_EQ(r[20], 2 | (5 << 2));
}
