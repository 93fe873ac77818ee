// Zone and scan-list members, the scan-list add and delete, and the monitor channel rules,
// checked on the bytes of the records without a window.
#include "tests/core/TestFiles.h"

#include "codeplug/Bytes.h"
#include "codeplug/Codeplug.h"
#include "forms/channels/MemberRules.h"
#include "forms/channels/MonitorRules.h"

namespace {

constexpr std::uint8_t D = 1, A = 2;  // member kinds: digital, analog

// Record layout of zones and scan lists: count at 39, member m at 41 + 3m (kind, index LE16).
void PutMembers(std::span<std::uint8_t> record, const std::vector<ChannelMember>& members, int count = -1)
{
    record[39] = static_cast<std::uint8_t>(count < 0 ? members.size() : count);
    for (std::size_t m = 0; m < members.size(); ++m) {
        record[41 + 3 * m] = members[m].kind;
        record[42 + 3 * m] = static_cast<std::uint8_t>(members[m].index);
        record[43 + 3 * m] = static_cast<std::uint8_t>(members[m].index >> 8);
    }
}

std::unique_ptr<Codeplug> WithChannels(std::uint8_t digital, std::uint8_t analog, std::uint32_t scanLists = 3)
{
    auto c = std::make_unique<Codeplug>();
    c->DigitalChannelCount[0] = digital;
    c->AnalogChannelCount[0] = analog;
    c->ScanListCount = {static_cast<std::uint8_t>(scanLists), 0, 0, 0};
    return c;
}

}  // namespace

TEST(ZoneMembers, AvailableListIsDigitalThenAnalogWithoutMembers)
{
    auto c = WithChannels(16, 16);
    MemberList available = AvailableChannels(*c, {});
    ASSERT_EQ(available.size(), 32u);
    EXPECT_EQ(available[0], (ChannelMember{D, 0}));
    EXPECT_EQ(available[15], (ChannelMember{D, 15}));
    EXPECT_EQ(available[16], (ChannelMember{A, 0}));
    EXPECT_EQ(available[31], (ChannelMember{A, 15}));

    c = WithChannels(2, 3);
    available = AvailableChannels(*c, {{A, 1}, {D, 0}, {D, 9}});
    EXPECT_EQ(available, (MemberList{{D, 1}, {A, 0}, {A, 2}}));

    PutLE32(c->AnalogChannelTable.record(2), 42, 435012500);
    PutLE32(c->AnalogChannelTable.record(2), 47, 0);
    const auto row = DescribeChannel(*c, {A, 2});
    ASSERT_TRUE(row.has_value());
    EXPECT_FALSE(row->digital);
    EXPECT_EQ(row->channel, "CH03");
    EXPECT_EQ(row->rxFrequency, "435.012500");
    EXPECT_EQ(row->txFrequency, "0.");
    PutLE32(c->DigitalChannelTable.record(1), 59, 438500000);
    EXPECT_EQ(DescribeChannel(*c, {D, 1})->txFrequency, "438.500000");
    EXPECT_FALSE(DescribeChannel(*c, {A, 3}).has_value());
}

TEST(ZoneMembers, CountsAndIndexesFromOutsideAreBounded)
{
    auto c = WithChannels(4, 200);  // an analog count past the table counts as the 16 records
    auto zone = c->ZoneTable.record(1);
    std::vector<ChannelMember> stored;
    for (std::uint16_t m = 0; m < 16; ++m)
        stored.push_back({static_cast<std::uint8_t>(m % 2 ? A : D), m});
    PutMembers(zone, stored, 200);
    EXPECT_EQ(ReadMembers(zone).size(), 16u);  // a count of 200 reads at most 16 members

    // Missing: digital 4 and above, an unknown kind, an index past any table.
    PutMembers(zone, {{D, 3}, {D, 4}, {0, 0}, {A, 15}, {3, 1}, {A, 0xFFFF}, {A, 16}, {D, 0}});
    EXPECT_TRUE(RevalidateMembers(*c, zone, MemberListKind::Zone));
    EXPECT_EQ(zone[39], 3);
    EXPECT_EQ(ReadMembers(zone), (MemberList{{D, 3}, {A, 15}, {D, 0}}));
    EXPECT_EQ(std::vector<int>(zone.begin() + 41, zone.begin() + 50), (std::vector<int>{1, 3, 0, 2, 15, 0, 1, 0, 0}));
    EXPECT_FALSE(RevalidateMembers(*c, zone, MemberListKind::Zone));  // nothing more to drop

    // Random records never throw and always leave at most 16 existing members.
    std::mt19937 rng(9);
    for (int round = 0; round < 300; ++round) {
        auto r = c->ScanTable.record(static_cast<std::size_t>(round % 3));
        for (auto& b : r)
            b = static_cast<std::uint8_t>(rng());
        c->DigitalChannelCount[0] = static_cast<std::uint8_t>(rng());
        c->AnalogChannelCount[0] = static_cast<std::uint8_t>(rng() % 3);
        RevalidateMembers(*c, r, MemberListKind::ScanList);
        ASSERT_LE(r[39], 16);
        for (const ChannelMember& m : ReadMembers(r))
            ASSERT_TRUE(ChannelExists(*c, m));
    }
}

TEST(ZoneMembers, WritingAScanListClearsTheTailAZoneKeepsIt)
{
    auto c = WithChannels(16, 16);
    auto zone = c->ZoneTable.record(0);
    auto scan = c->ScanTable.record(0);
    const std::vector<ChannelMember> four{{D, 1}, {D, 2}, {A, 3}, {A, 0x0105}};
    PutMembers(zone, four);
    PutMembers(scan, four);
    scan[89] = 3, scan[90] = 1;
    WriteMembers(zone, {{A, 7}}, MemberListKind::Zone);
    WriteMembers(scan, {{A, 7}}, MemberListKind::ScanList);
    EXPECT_EQ(zone[39], 1);
    EXPECT_EQ(scan[39], 1);
    for (std::span<std::uint8_t> record : {std::span<std::uint8_t>(zone), std::span<std::uint8_t>(scan)})
        EXPECT_EQ(std::vector<int>(record.begin() + 41, record.begin() + 44), (std::vector<int>{2, 7, 0}));
    EXPECT_EQ(std::vector<int>(zone.begin() + 50, zone.begin() + 53), (std::vector<int>{2, 5, 1}));  // member 3 kept
    for (std::size_t i = 44; i < 89; ++i)
        ASSERT_EQ(scan[i], 0) << i;
    EXPECT_EQ(scan[89], 3);  // the settings after the members stay
    EXPECT_EQ(scan[90], 1);
}

TEST(ZoneMembers, AddAndRemoveKeepTheLimits)
{
    MemberList members{{D, 0}};
    const MemberList available{{D, 1}, {A, 0}};
    EXPECT_EQ(RemoveMember(members, 0), MemberEdit::WouldBeEmpty);  // the last member stays
    EXPECT_EQ(AddMember(members, available, 2), MemberEdit::NoSuchRow);
    EXPECT_EQ(AddMember(members, available, -1), MemberEdit::NoSuchRow);
    EXPECT_EQ(AddMember(members, available, 1), MemberEdit::Done);
    EXPECT_EQ(AddMember(members, available, 0), MemberEdit::Done);
    EXPECT_EQ(members, (MemberList{{D, 0}, {A, 0}, {D, 1}}));
    EXPECT_EQ(RemoveMember(members, 3), MemberEdit::NoSuchRow);
    EXPECT_EQ(RemoveMember(members, 1), MemberEdit::Done);
    EXPECT_EQ(members, (MemberList{{D, 0}, {D, 1}}));

    MemberList full(16, ChannelMember{D, 0});
    EXPECT_EQ(AddMember(full, available, 0), MemberEdit::ListFull);
    EXPECT_EQ(AddMember(full, {}, 0), MemberEdit::ListFull);  // full is told before an empty list
    EXPECT_EQ(full.size(), 16u);
}

TEST(ScanLists, DwellTimeChoicesAndStoredValues)
{
    const struct { std::uint16_t stored; int choice; } shown[] = {{0, 0}, {2500, 5}, {2600, 5}, {10000, 20}, {60000, 20}};
    for (const auto& s : shown)
        EXPECT_EQ(DwellChoiceOf(s.stored), s.choice) << s.stored;
    const struct { int choice; std::uint16_t stored; } stored[] = {{0, 0}, {5, 2500}, {20, 10000}, {21, 10000}};
    for (const auto& s : stored)
        EXPECT_EQ(DwellOfChoice(s.choice), s.stored) << s.choice;
}

TEST(ScanLists, DeleteRemovesTheLastListAndTurnsItsChannelsOffAddBringsItBack)
{
    auto c = WithChannels(3, 3, 3);
    PutMembers(c->ScanTable.record(2), {{D, 1}, {A, 2}});
    c->ScanTable.record(2)[90] = 1;
    PutLE16(c->ScanTable.record(2), 92, 4500);
    // Channels: analog scan list at 60, auto scan bit 0 of 39; digital at 81, bit 0 of 41.
    c->AnalogChannelTable.record(0)[60] = 3, c->AnalogChannelTable.record(0)[39] = 0x0D;
    c->AnalogChannelTable.record(1)[60] = 2, c->AnalogChannelTable.record(1)[39] = 0x01;
    c->DigitalChannelTable.record(2)[81] = 3, c->DigitalChannelTable.record(2)[41] = 0x41;

    std::uint32_t current = 1;
    ASSERT_TRUE(DeleteScanList(*c, current));  // list 2 shown: list 3 goes, list 2 stays shown
    EXPECT_EQ(current, 1u);
    EXPECT_EQ(c->ScanListCount, (Block<4>{2, 0, 0, 0}));
    EXPECT_EQ(c->AnalogChannelTable.record(0)[60], 0);
    EXPECT_EQ(c->AnalogChannelTable.record(0)[39], 0x0C);
    EXPECT_EQ(c->AnalogChannelTable.record(1)[60], 2);  // another list: untouched
    EXPECT_EQ(c->AnalogChannelTable.record(1)[39], 0x01);
    EXPECT_EQ(c->DigitalChannelTable.record(2)[81], 0);
    EXPECT_EQ(c->DigitalChannelTable.record(2)[41], 0x40);

    ASSERT_TRUE(DeleteScanList(*c, current));  // list 2 shown and deleted: list 1 is shown
    EXPECT_EQ(current, 0u);
    EXPECT_FALSE(DeleteScanList(*c, current));  // the only list stays
    EXPECT_EQ(c->ScanListCount[0], 1);

    ASSERT_TRUE(AddScanList(*c, "Scan list %d"));
    ASSERT_TRUE(AddScanList(*c, "Scan list %d"));
    EXPECT_FALSE(AddScanList(*c, "Scan list %d"));
    EXPECT_EQ(c->ScanListCount[0], 3);
    const auto back = c->ScanTable.record(2);  // old members and settings under the default alias
    EXPECT_EQ(back[1], 22);
    EXPECT_EQ(std::vector<int>(back.begin() + 2, back.begin() + 6), (std::vector<int>{'S', 0, 'c', 0}));
    EXPECT_EQ(std::vector<int>(back.begin() + 20, back.begin() + 24), (std::vector<int>{' ', 0, '3', 0}));
    EXPECT_EQ(ReadMembers(back), (MemberList{{D, 1}, {A, 2}}));
    EXPECT_EQ(back[90], 1);
    EXPECT_EQ(GetLE16(back, 92), 4500);

    // Counts from a file: 0 is one list, 9 is the table's three.
    c->ScanListCount[0] = 0;
    EXPECT_TRUE(AddScanList(*c, "L%d"));
    EXPECT_EQ(c->ScanListCount[0], 2);
    c->ScanListCount[0] = 9;
    current = 8;
    EXPECT_TRUE(DeleteScanList(*c, current));
    EXPECT_EQ(c->ScanListCount[0], 2);
    EXPECT_EQ(current, 1u);
}

TEST(MonitorChannels, CandidatesAndRows)
{
    MonitorCandidateTable table;
    // Receive value at 0 and transmit value at 4, in 10 Hz; kind in bits 4-6 of byte 46.
    const struct { std::size_t record; std::uint32_t rx, tx; std::uint8_t kind; } rows[] = {
        {1, 43501250, 43501250, 0x10}, {3, 13600000, 43500000, 0}, {4, 13600001, 51199999, 0x30},
        {6, 40000000, 51200000, 0}, {9, 46000000, 45000000, 0x1F}};
    for (const auto& r : rows) {
        PutLE32(table.record(r.record), 0, r.rx);
        PutLE32(table.record(r.record), 4, r.tx);
        table.record(r.record)[46] = r.kind;
    }
    EXPECT_EQ(MonitorCandidates(table, {}), (MonitorMembers{1, 4, 9}));
    EXPECT_EQ(MonitorCandidates(table, {9, 1}), (MonitorMembers{4}));
    EXPECT_TRUE(MonitorCandidates(MonitorCandidateTable{}, {}).empty());  // the table the program has

    const auto one = DescribeMonitorChannel(table, 1);
    ASSERT_TRUE(one.has_value());
    EXPECT_EQ(one->channel, "CH02");
    EXPECT_TRUE(one->secondKind);
    EXPECT_EQ(one->rxFrequency, "435.01250");
    EXPECT_FALSE(DescribeMonitorChannel(table, 4)->secondKind);
    EXPECT_TRUE(DescribeMonitorChannel(table, 9)->secondKind);  // only bits 4-6 count
    EXPECT_FALSE(DescribeMonitorChannel(table, 16).has_value());
}

TEST(MonitorChannels, MembersLimitsCommitAndTheStandbyReply)
{
    MonitorMembers members;
    EXPECT_EQ(RemoveMonitorMember(members, 0), MemberEdit::WouldBeEmpty);
    EXPECT_EQ(AddMonitorMember(members, {4, 7}, 2), MemberEdit::NoSuchRow);
    EXPECT_EQ(AddMonitorMember(members, {4, 7}, 1), MemberEdit::Done);
    EXPECT_EQ(RemoveMonitorMember(members, 0), MemberEdit::Done);  // unlike a zone, down to none
    MonitorMembers full(16, 0);
    EXPECT_EQ(AddMonitorMember(full, {4}, 0), MemberEdit::ListFull);

    MonitorSettings s;
    s.bytes[20] = 0x84;
    s.bytes[19] = 7;
    MonitorControls controls{3, 4, true, {"OFF", "CH03", "CH08"}, 2};
    CommitMonitor(s, {2, 7}, controls);
    const std::array<std::uint8_t, 21> expected{2,    7,    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                                0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 2,    3,    4,    7,    0x85};
    EXPECT_EQ(s.bytes, expected);
    EXPECT_EQ(StandbyReplyChoiceOf(s, {2, 7}), 2);

    controls = {-1, -1, false, {"OFF", "CH03"}, 1};  // nothing selected keeps the bytes
    CommitMonitor(s, {2}, controls);
    EXPECT_EQ(s.bytes[16], 1);
    EXPECT_EQ(s.bytes[1], 0xFF);
    EXPECT_EQ(s.bytes[17], 3);
    EXPECT_EQ(s.bytes[18], 4);
    EXPECT_EQ(s.bytes[20], 0x84);
    EXPECT_EQ(s.bytes[19], 2);
    s.bytes[16] = 200;  // a count past 16 reads 16 members
    EXPECT_EQ(ReadMonitorMembers(s).size(), 16u);
    {
        // The standby reply channel is read back from the chosen entry's last two characters.
        const std::vector<std::string> choices{"OFF", "CH01", "CH16", "CH17", "CH00", "X 5"};
        const MonitorMembers members{0, 15, 4};
        const struct { int selected; std::uint8_t stored; } rows[] = {
            {0, 0xFF}, {-1, 0xFF}, {1, 0}, {2, 15}, {3, 15}, {4, 0}, {5, 4}, {6, 0xFF}};
        for (const auto& r : rows)
            EXPECT_EQ(StandbyReplyOfChoice(choices, r.selected, members), r.stored) << r.selected;
        EXPECT_EQ(StandbyReplyOfChoice({"CH02"}, 0, {1}), 0xFF);  // fewer than 2 entries
        EXPECT_EQ(StandbyReplyOfChoice(choices, 2, {0, 4}), 0xFF);  // 15 is no member
        EXPECT_EQ(StandbyReplyChoices({}), (std::vector<std::string>{"OFF"}));
        EXPECT_EQ(StandbyReplyChoices({0, 11}), (std::vector<std::string>{"OFF", "CH01", "CH12"}));

        // The chosen member is removed: the next commit resets the choice to off.
        MonitorSettings s;
        MonitorMembers working{3, 5};
        CommitMonitor(s, working, {0, 0, false, StandbyReplyChoices(working), 2});
        EXPECT_EQ(s.bytes[19], 5);
        ASSERT_EQ(RemoveMonitorMember(working, 1), MemberEdit::Done);
        CommitMonitor(s, working, {0, 0, false, {"OFF", "CH04", "CH06"}, 2});
        EXPECT_EQ(s.bytes[19], 0xFF);
        EXPECT_EQ(StandbyReplyChoiceOf(s, working), 0);
    }
}
