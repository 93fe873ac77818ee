// The channel editing rules without a window: tones both ways, add, delete with the zone and
// scan-list members that follow it, copy and the show-time repairs. Offsets are the record
// layouts' own numbers, written out.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "codeplug/Bytes.h"
#include "forms/channels/ChannelRules.h"

namespace {

std::unique_ptr<Codeplug> Image(std::uint8_t digital, std::uint8_t analog, std::uint32_t scanLists = 3)
{
    auto c = std::make_unique<Codeplug>();
    SetCount(c->DigitalChannelCount, digital);
    SetCount(c->AnalogChannelCount, analog);
    SetCount(c->ScanListCount, scanLists);
    return c;
}

// Members as (kind, index) pairs; zone and scan records both keep the count at 39 and the
// three-byte members from 41.
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
    EXPECT_EQ(CommitReceiveTone({kToneDcsInverted, 0, 0, 1, kToneDcsInverted, 1}), (StoredTone{0xE4, 2}));
    EXPECT_EQ(CommitReceiveTone({kToneDcs, 0, 3, 0, kToneDcs, 0}), (StoredTone{0xC2, 4}));
    EXPECT_EQ(CommitReceiveTone({kToneNone, 0, 0, 0, kToneNone, 1}), (StoredTone{0x04, 0}));
    EXPECT_EQ(CommitReceiveTone({-1, 0, 0, 0, kToneNone, 0}), (StoredTone{0x02, 1}));

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
    EXPECT_EQ(CommitTransmitTone(ShowTransmitTone(0x00, 0)), (StoredTone{0x04, 0}));
    EXPECT_EQ(CommitTransmitTone({kToneDcs, 0, 12, 0, kToneDcs, 1}), (StoredTone{0xC4, 13}));
    EXPECT_EQ(CommitTransmitTone({kToneNone, 4, 4, 4, kToneNone, 1}), (StoredTone{0x04, 0}));
    EXPECT_EQ(CommitTransmitTone({-1, 0, 0, 0, kToneNone, 0}), (StoredTone{0x04, 1}));
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
    EXPECT_FALSE(AddChannel(*c, ChannelKind::Analog));
    EXPECT_EQ(c->AnalogChannelCount[0], 16);

    c->DigitalChannelCount[0] = 200;  // a count from outside the program
    EXPECT_FALSE(AddChannel(*c, ChannelKind::Digital));
    EXPECT_FALSE(DeleteChannel(*c, ChannelKind::Digital, 16));
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
    constexpr int D = 1, A = 2;
    PutMembers(c->ZoneTable.record(0), {{A, 4}, {D, 2}, {A, 2}, {A, 0}, {A, 3}});
    PutMembers(c->ZoneTable.record(1), {{A, 2}, {D, 3}});
    PutMembers(c->ScanTable.record(0), {{A, 1}, {A, 2}, {A, 3}});
    PutMembers(c->ScanTable.record(2), {{A, 2}, {A, 4}}, 2);  // deleted list, kept in the table

    ASSERT_TRUE(DeleteChannel(*c, ChannelKind::Analog, 2));  // analog channel 3
    EXPECT_EQ(GetMembers(c->ZoneTable.record(0)), (Members{{A, 3}, {D, 2}, {A, 0}, {A, 2}}));
    EXPECT_EQ(GetMembers(c->ZoneTable.record(1)), (Members{{D, 3}}));
    EXPECT_EQ(GetMembers(c->ScanTable.record(0)), (Members{{A, 1}, {A, 2}}));
    EXPECT_EQ(GetMembers(c->ScanTable.record(2)), (Members{{A, 3}}));
    // The places a scan list no longer uses are zero.
    const auto scan = c->ScanTable.record(0);
    EXPECT_TRUE(std::all_of(scan.begin() + 47, scan.begin() + 89, [](std::uint8_t b) { return b == 0; }));

    ASSERT_TRUE(DeleteChannel(*c, ChannelKind::Digital, 0));
    EXPECT_EQ(GetMembers(c->ZoneTable.record(0)), (Members{{A, 3}, {D, 1}, {A, 0}, {A, 2}}));
    EXPECT_EQ(GetMembers(c->ZoneTable.record(1)), (Members{{D, 2}}));
}

TEST(ChannelTable, MemberListsFromOutsideAreBoundedWhenRevalidated)
{
    auto c = Image(2, 3, 200);  // every count past its table
    constexpr int D = 1, A = 2;
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
    EXPECT_FALSE(RepairDirectMode(digital));
    EXPECT_FALSE(RepairAutoScan(digital, ChannelKind::Digital));
    EXPECT_TRUE(RepairEncryptionKey(digital));
    EXPECT_EQ((std::vector<int>{digital[41], digital[42]}), (std::vector<int>{0xE0, 0x0C}));

    for (const auto& [text, key] : {std::pair<const char*, int>{"", 1}, {"0", 1}, {"65535", 65535}, {"99999", 65535},
                                    {" 42x", 42}, {"abc", 1}})
        EXPECT_EQ(EncryptionKeyFromText(text), key) << text;
}
