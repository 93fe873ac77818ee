// The channel editing rules without a window: tones both ways, add, delete with the zone and
// scan-list members that follow it, copy and the show-time repairs; zone and scan-list members,
// the scan-list add and delete, and the monitor channel rules. Offsets are the record layouts'
// own numbers, written out.
#include "tests/core/TestFiles.h"

#include "forms/channels/ChannelRules.h"
#include "forms/channels/MemberRules.h"
#include "forms/channels/MonitorRules.h"

namespace {

constexpr int D = 1, A = 2;  // member kinds: digital, analog

std::unique_ptr<Codeplug> Image(std::uint8_t digital, std::uint8_t analog, std::uint32_t scanLists = 3)
{
    auto c = std::make_unique<Codeplug>();
    SetCount(c->DigitalChannelCount, digital);
    SetCount(c->AnalogChannelCount, analog);
    SetCount(c->ScanListCount, scanLists);
    return c;
}

// Members as (kind, index) pairs; zone and scan records both keep the count at 39 and the
// three-byte members (kind, index LE16) from 41.
using Members = std::vector<std::pair<int, int>>;
void PutMembers(std::span<std::uint8_t> record, const Members& members, int count = -1)
{
    record[39] = static_cast<std::uint8_t>(count < 0 ? members.size() : count);
    for (std::size_t m = 0; m < members.size(); ++m) {
        record[41 + 3 * m] = static_cast<std::uint8_t>(members[m].first);
        PutLE16(record, 42 + 3 * m, static_cast<std::uint16_t>(members[m].second));
    }
}
Members GetMembers(std::span<const std::uint8_t> record)
{
    Members members;
    for (std::size_t m = 0; m < record[39] && m < 16; ++m)
        members.emplace_back(record[41 + 3 * m], GetLE16(record, 42 + 3 * m));
    return members;
}

}  // namespace

TEST(ChannelTones, ReceiveAndTransmitControlsBothWays)
{
    // type byte, index byte -> type list, CTCSS, DCS, inverted, enabled value list, tail
    const struct { std::uint8_t type, index; ToneControls shown; } receive[] = {
        {0x02, 9, {kToneNone, 0, 0, 0, kToneNone, 0}},
        {0x04, 9, {kToneNone, 0, 0, 0, kToneNone, 1}},
        {0x42, 2, {kToneCtcss, 1, 0, 0, kToneCtcss, 0}},
        {0x44, 1, {kToneCtcss, 0, 0, 0, kToneCtcss, 1}},  // 63.0 Hz, second tail choice
        {0xC2, 108, {kToneDcs, 0, 107, 0, kToneDcs, 0}},
        {0xE4, 2, {kToneDcsInverted, 0, 0, 1, kToneDcsInverted, 1}},
        {0xE4, 109, {kToneDcsInverted, 0, 0, -1, kToneDcsInverted, 1}},  // past the list: nothing chosen
        {0x46, 3, {kToneNone, 0, 0, 0, kToneNone, 0}},
    };
    for (const auto& r : receive)
        EXPECT_EQ(ShowReceiveTone(r.type, r.index), r.shown) << int(r.type) << " " << int(r.index);

    // DCS inverted 023 with the second tail choice, and the no-tone and no-type cases.
    EXPECT_EQ((std::vector{CommitReceiveTone({kToneDcsInverted, 0, 0, 1, kToneDcsInverted, 1}),
                           CommitReceiveTone({kToneDcs, 0, 3, 0, kToneDcs, 0}), CommitReceiveTone({kToneNone, 0, 0, 0, kToneNone, 1}),
                           CommitReceiveTone({-1, 0, 0, 0, kToneNone, 0})}),
              (std::vector<StoredTone>{{0xE4, 2}, {0xC2, 4}, {0x04, 0}, {0x02, 1}}));

    const struct { std::uint8_t type, index; ToneControls shown; } transmit[] = {
        {0x04, 5, {kToneNone, 0, 0, 0, kToneNone, 0}},
        {0x44, 51, {kToneCtcss, 50, 0, 0, kToneCtcss, 0}},
        {0xE4, 7, {kToneDcsInverted, 0, 0, 6, kToneDcsInverted, 0}},
        // Types the forms never write show what their bits say, so a commit stores a valid tone.
        {0x00, 0, {kToneNone, 0, 0, 0, kToneNone, 0}},
        {0x42, 4, {kToneCtcss, 3, 0, 0, kToneCtcss, 0}},
        {0xC0, 2, {kToneDcs, 0, 1, 0, kToneDcs, 0}},
    };
    for (const auto& r : transmit)
        EXPECT_EQ(ShowTransmitTone(r.type, r.index), r.shown) << int(r.type);
    EXPECT_EQ((std::vector{CommitTransmitTone(ShowTransmitTone(0x00, 0)), CommitTransmitTone({kToneDcs, 0, 12, 0, kToneDcs, 1}),
                           CommitTransmitTone({kToneNone, 4, 4, 4, kToneNone, 1}),
                           CommitTransmitTone({-1, 0, 0, 0, kToneNone, 0})}),
              (std::vector<StoredTone>{{0x04, 0}, {0xC4, 13}, {0x04, 0}, {0x04, 1}}));
}

TEST(ChannelTable, AddCopiesChannelOneUntilTheTableIsFull)
{
    auto c = Image(1, 15);
    auto first = c->AnalogChannelTable.record(0);
    first[1] = 2, first[2] = 'A';
    PutLE32(first, 42, 435012500);
    first[64] = 0x42, first[65] = 7;
    ASSERT_TRUE(AddChannel(*c, ChannelKind::Analog));
    const auto added = c->AnalogChannelTable.record(15);
    EXPECT_TRUE(std::equal(added.begin(), added.end(), first.begin()));
    EXPECT_TRUE(!AddChannel(*c, ChannelKind::Analog) && c->AnalogChannelCount[0] == 16);

    c->DigitalChannelCount[0] = 200;  // a count from outside the program
    EXPECT_FALSE(AddChannel(*c, ChannelKind::Digital) || DeleteChannel(*c, ChannelKind::Digital, 16));
    EXPECT_EQ(c->DigitalChannelCount[0], 200);
}

TEST(ChannelTable, DeleteMovesLaterChannelsDownAndZeroesTheTail)
{
    auto c = Image(5, 1);
    for (std::uint8_t r = 0; r < 16; ++r)
        std::fill_n(c->DigitalChannelTable.bytes.begin() + 82 * r, 82, static_cast<std::uint8_t>(r + 1));
    ASSERT_TRUE(DeleteChannel(*c, ChannelKind::Digital, 2));  // channel 3 of 5
    EXPECT_EQ(c->DigitalChannelCount[0], 4);
    std::vector<std::uint8_t> expected(16 * 82, 0);
    for (std::size_t r = 0; r < 4; ++r)
        std::fill_n(expected.begin() + 82 * r, 82, std::uint8_t(r < 2 ? r + 1 : r + 2));
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), c->DigitalChannelTable.bytes.begin()));
    EXPECT_EQ(std::pair(ChannelShownAfterDelete(*c, ChannelKind::Digital, 2), ChannelShownAfterDelete(*c, ChannelKind::Digital, 4)),
              std::pair(std::size_t{2}, std::size_t{3}));

    EXPECT_FALSE(DeleteChannel(*c, ChannelKind::Digital, 4));  // past the channels in use
    EXPECT_FALSE(DeleteChannel(*c, ChannelKind::Analog, 0));   // the last channel stays
    EXPECT_EQ(c->AnalogChannelCount[0], 1);
}

TEST(ChannelTable, ZoneAndScanMembersFollowADeletedChannel)
{
    auto c = Image(4, 5, 2);
    PutMembers(c->ZoneTable.record(0), {{A, 4}, {D, 2}, {A, 2}, {A, 0}, {A, 3}});
    PutMembers(c->ZoneTable.record(1), {{A, 2}, {D, 3}});
    PutMembers(c->ScanTable.record(0), {{A, 1}, {A, 2}, {A, 3}});
    PutMembers(c->ScanTable.record(2), {{A, 2}, {A, 4}}, 2);  // deleted list, kept in the table

    ASSERT_TRUE(DeleteChannel(*c, ChannelKind::Analog, 2));  // analog channel 3
    EXPECT_EQ((std::vector{GetMembers(c->ZoneTable.record(0)), GetMembers(c->ZoneTable.record(1)), GetMembers(c->ScanTable.record(0)),
                           GetMembers(c->ScanTable.record(2))}),
              (std::vector<Members>{{{A, 3}, {D, 2}, {A, 0}, {A, 2}}, {{D, 3}}, {{A, 1}, {A, 2}}, {{A, 3}}}));
    // The places a scan list no longer uses are zero.
    const auto scan = c->ScanTable.record(0);
    EXPECT_TRUE(std::all_of(scan.begin() + 47, scan.begin() + 89, [](std::uint8_t b) { return b == 0; }));

    ASSERT_TRUE(DeleteChannel(*c, ChannelKind::Digital, 0));
    EXPECT_EQ((std::vector{GetMembers(c->ZoneTable.record(0)), GetMembers(c->ZoneTable.record(1))}),
              (std::vector<Members>{{{A, 3}, {D, 1}, {A, 0}, {A, 2}}, {{D, 2}}}));
}

TEST(ChannelTable, MemberListsFromOutsideAreBoundedWhenRevalidated)
{
    auto c = Image(2, 3, 200);  // every count past its table
    Members full;
    for (int m = 0; m < 16; ++m)
        full.emplace_back(m % 2 == 0 ? D : A, m % 3);
    PutMembers(c->ZoneTable.record(0), full, 200);
    PutMembers(c->ScanTable.record(2), {{A, 0}, {7, 0}, {D, 0xFFFF}, {A, 2}, {D, 1}});
    RevalidateMemberLists(*c);
    // A count of 200 is read as the 16 places; channels past the tables and unknown kinds go.
    Members kept;
    for (auto m : full)
        if (m.second < (m.first == D ? 2 : 3))
            kept.push_back(m);
    EXPECT_EQ(GetMembers(c->ZoneTable.record(0)), kept);
    EXPECT_EQ(GetMembers(c->ScanTable.record(2)), (Members{{A, 0}, {A, 2}, {D, 1}}));
}

TEST(ChannelRecord, CopyKeyTextAndRepairsKeepOtherBits)
{
    auto c = Image(1, 1);
    auto analog = c->AnalogChannelTable.record(0);
    PutLE32(analog, 42, 438500000);
    analog[64] = 0xC2, analog[65] = 20, analog[73] = 0x44, analog[74] = 3;
    CopyReceiveToTransmit(*c, ChannelKind::Analog, 0);
    EXPECT_EQ((std::vector<int>{int(GetLE32(analog, 47)), analog[73], analog[74]}), (std::vector<int>{438500000, 0xC4, 20}));

    auto digital = c->DigitalChannelTable.record(0);
    PutLE32(digital, 59, 415000000);
    digital[42] = 0x0B, digital[41] = 0xE1;  // direct mode 3 with VOX; slot 2, encryption, auto scan
    EXPECT_FALSE(RepairDirectMode(digital) || RepairAutoScan(digital, ChannelKind::Digital));
    EXPECT_TRUE(RepairEncryptionKey(digital));
    EXPECT_EQ((std::vector<int>{digital[41], digital[42]}), (std::vector<int>{0xE0, 0x0C}));

    for (const auto& [text, key] : {std::pair<const char*, int>{"", 1}, {"0", 1}, {"65535", 65535}, {"99999", 65535},
                                    {" 42x", 42}, {"abc", 1}})
        EXPECT_EQ(EncryptionKeyFromText(text), key) << text;
}

TEST(ZoneMembers, AvailableListIsDigitalThenAnalogWithoutMembers)
{
    auto c = Image(16, 16);
    MemberList available = AvailableChannels(*c, {});
    ASSERT_EQ(available.size(), 32u);
    EXPECT_EQ((MemberList{available[0], available[15], available[16], available[31]}), (MemberList{{D, 0}, {D, 15}, {A, 0}, {A, 15}}));

    c = Image(2, 3);
    available = AvailableChannels(*c, {{A, 1}, {D, 0}, {D, 9}});
    EXPECT_EQ(available, (MemberList{{D, 1}, {A, 0}, {A, 2}}));

    PutLE32(c->AnalogChannelTable.record(2), 42, 435012500);
    PutLE32(c->AnalogChannelTable.record(2), 47, 0);
    const auto row = DescribeChannel(*c, {A, 2});
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(std::tuple(row->digital, row->channel, row->rxFrequency, row->txFrequency),
              std::tuple(false, std::string("CH03"), std::string("435.012500"), std::string("0.")));
    PutLE32(c->DigitalChannelTable.record(1), 59, 438500000);
    EXPECT_EQ(DescribeChannel(*c, {D, 1})->txFrequency, "438.500000");
    EXPECT_FALSE(DescribeChannel(*c, {A, 3}).has_value());
}

TEST(ZoneMembers, CountsAndIndexesFromOutsideAreBounded)
{
    auto c = Image(4, 200);  // an analog count past the table counts as the 16 records
    auto zone = c->ZoneTable.record(1);
    Members stored;
    for (int m = 0; m < 16; ++m)
        stored.emplace_back(m % 2 ? A : D, m);
    PutMembers(zone, stored, 200);
    EXPECT_EQ(ReadMembers(zone).size(), 16u);  // a count of 200 reads at most 16 members

    // Missing: digital 4 and above, an unknown kind, an index past any table.
    PutMembers(zone, {{D, 3}, {D, 4}, {0, 0}, {A, 15}, {3, 1}, {A, 0xFFFF}, {A, 16}, {D, 0}});
    EXPECT_TRUE(RevalidateMembers(*c, zone, MemberListKind::Zone));
    EXPECT_EQ(zone[39], 3);
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
    auto c = Image(16, 16);
    auto zone = c->ZoneTable.record(0);
    auto scan = c->ScanTable.record(0);
    const Members four{{D, 1}, {D, 2}, {A, 3}, {A, 0x0105}};
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
    // The last member stays; rows past the lists are none.
    EXPECT_EQ((std::vector{RemoveMember(members, 0), AddMember(members, available, 2), AddMember(members, available, -1),
                           AddMember(members, available, 1), AddMember(members, available, 0)}),
              (std::vector{MemberEdit::WouldBeEmpty, MemberEdit::NoSuchRow, MemberEdit::NoSuchRow, MemberEdit::Done,
                           MemberEdit::Done}));
    EXPECT_EQ(members, (MemberList{{D, 0}, {A, 0}, {D, 1}}));
    EXPECT_EQ((std::vector{RemoveMember(members, 3), RemoveMember(members, 1)}), (std::vector{MemberEdit::NoSuchRow, MemberEdit::Done}));
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
    auto c = Image(3, 3, 3);
    PutMembers(c->ScanTable.record(2), {{D, 1}, {A, 2}});
    c->ScanTable.record(2)[90] = 1;
    PutLE16(c->ScanTable.record(2), 92, 4500);
    // Channels: analog scan list at 60, auto scan bit 0 of 39; digital at 81, bit 0 of 41.
    c->AnalogChannelTable.record(0)[60] = 3, c->AnalogChannelTable.record(0)[39] = 0x0D;
    c->AnalogChannelTable.record(1)[60] = 2, c->AnalogChannelTable.record(1)[39] = 0x01;
    c->DigitalChannelTable.record(2)[81] = 3, c->DigitalChannelTable.record(2)[41] = 0x41;

    std::uint32_t current = 1;
    ASSERT_TRUE(DeleteScanList(*c, current));  // list 2 shown: list 3 goes, list 2 stays shown
    EXPECT_EQ(std::tuple(current, c->ScanListCount), std::tuple(1u, Block<4>{2, 0, 0, 0}));
    // Channels of list 3 turned off, their auto scan too; channel 2 names another list: untouched.
    EXPECT_EQ((std::vector<int>{c->AnalogChannelTable.record(0)[60], c->AnalogChannelTable.record(0)[39],
                                c->AnalogChannelTable.record(1)[60], c->AnalogChannelTable.record(1)[39],
                                c->DigitalChannelTable.record(2)[81], c->DigitalChannelTable.record(2)[41]}),
              (std::vector<int>{0, 0x0C, 2, 0x01, 0, 0x40}));

    ASSERT_TRUE(DeleteScanList(*c, current));  // list 2 shown and deleted: list 1 is shown
    EXPECT_EQ(current, 0u);
    EXPECT_FALSE(DeleteScanList(*c, current));  // the only list stays
    EXPECT_EQ(c->ScanListCount[0], 1);

    EXPECT_EQ((std::vector{AddScanList(*c, "Scan list %d"), AddScanList(*c, "Scan list %d"), AddScanList(*c, "Scan list %d")}),
              (std::vector{true, true, false}));
    EXPECT_EQ(c->ScanListCount[0], 3);
    const auto back = c->ScanTable.record(2);  // old members and settings under the default alias
    EXPECT_EQ((std::vector<int>{back[1], back[2], back[3], back[4], back[5], back[20], back[21], back[22], back[23]}),
              (std::vector<int>{22, 'S', 0, 'c', 0, ' ', 0, '3', 0}));
    EXPECT_EQ(std::tuple(GetMembers(back), back[90] + 0, GetLE16(back, 92)), std::tuple(Members{{D, 1}, {A, 2}}, 1, 4500));

    // Counts from a file: 0 is one list, 9 is the table's three.
    c->ScanListCount[0] = 0;
    EXPECT_TRUE(AddScanList(*c, "L%d"));
    EXPECT_EQ(c->ScanListCount[0], 2);
    c->ScanListCount[0] = 9;
    current = 8;
    EXPECT_TRUE(DeleteScanList(*c, current));
    EXPECT_EQ(std::tuple(c->ScanListCount[0] + 0, current), std::tuple(2, 1u));
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
    EXPECT_EQ(std::tuple(one->channel, one->secondKind, one->rxFrequency), std::tuple(std::string("CH02"), true, std::string("435.01250")));
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
    EXPECT_EQ((std::vector<int>{s.bytes[16], s.bytes[1], s.bytes[17], s.bytes[18], s.bytes[20], s.bytes[19]}),
              (std::vector<int>{1, 0xFF, 3, 4, 0x84, 2}));
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
