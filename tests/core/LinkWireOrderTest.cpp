// Byte order of records on the wire: which bytes move, per block, as the conversion table says.
#include <gtest/gtest.h>

#include <map>
#include <numeric>
#include <utility>
#include <vector>

#include "link/WireOrder.h"

namespace {

std::vector<std::uint8_t> Numbered(std::size_t n)
{
    std::vector<std::uint8_t> r(n);
    std::iota(r.begin(), r.end(), std::uint8_t{0});
    return r;
}

// Expected moves written from the conversion table: destination offset -> source offset.
using Moves = std::map<std::size_t, std::size_t>;
void Reverse4(Moves& m, std::size_t at)
{
    for (std::size_t i = 0; i < 4; ++i)
        m[at + i] = at + 3 - i;
}
void Swap(Moves& m, std::size_t a)
{
    m[a] = a + 1;
    m[a + 1] = a;
}

void ExpectMoves(std::uint8_t code, std::size_t size, const Moves& moves, std::vector<std::uint8_t> record = {})
{
    if (record.empty())
        record = Numbered(size);
    const auto before = record;
    ASSERT_TRUE(wire_order::ToWire(code, record));
    for (std::size_t i = 0; i < size; ++i) {
        const auto it = moves.find(i);
        const std::size_t from = it == moves.end() ? i : it->second;
        EXPECT_EQ(record[i], before[from]) << "code " << std::hex << int(code) << " offset " << std::dec << i;
    }
    ASSERT_TRUE(wire_order::ToMemory(code, record));
    EXPECT_EQ(record, before) << "converting back must restore the record";
}

}  // namespace

TEST(LinkWireOrder, ChannelsIdentityAndSettings)
{
    Moves digital;
    Reverse4(digital, 54);
    Reverse4(digital, 59);
    Swap(digital, 76);
    ExpectMoves(0xF4, 82, digital);

    Moves analog;
    Reverse4(analog, 42);
    Reverse4(analog, 47);
    ExpectMoves(0xF5, 81, analog);

    Moves settings;
    Swap(settings, 222);
    ExpectMoves(0xF0, 227, settings);

    Moves id;
    Reverse4(id, 1);
    ExpectMoves(0xF1, 23, id);
    ExpectMoves(0xF2, 27, id);
}

TEST(LinkWireOrder, ZonesContactsMessages)
{
    Moves zone;
    for (std::size_t j = 0; j < 16; ++j)
        Swap(zone, 42 + 3 * j);
    ExpectMoves(0xE0, 89, zone);

    Moves contact;
    Reverse4(contact, 41);
    for (std::size_t j = 0; j < 18; ++j)
        Swap(contact, 2 + 2 * j);
    ExpectMoves(0xE4, 45, contact);

    Moves message;
    for (std::size_t j = 0; j < 40; ++j)
        Swap(message, 3 + 2 * j);
    ExpectMoves(0xE6, 83, message);
}

TEST(LinkWireOrder, BlocksWithoutNumbersStayAsTheyAre)
{
    ExpectMoves(0xDA, 30, {});
    ExpectMoves(0xFC, 30, {});
    ExpectMoves(0xE5, 57, {});
    ExpectMoves(0xE2, 45, {});
}

TEST(LinkWireOrder, ScanListSwapsOnlyItsCountedMembers)
{
    auto record = Numbered(98);
    record[39] = 3;
    Moves three;
    for (std::size_t j = 0; j < 3; ++j)
        Swap(three, 42 + 3 * j);
    Swap(three, 92);
    ExpectMoves(0xE1, 98, three, record);

    record[39] = 0;
    Moves none;
    Swap(none, 92);
    ExpectMoves(0xE1, 98, none, record);
}

TEST(LinkWireOrder, DamagedScanCountNeverReachesPastTheMembers)
{
    // A damaged file may hold 255 in the member count: only the 16 members a record holds are
    // converted, and the settings after them (89..97) move only where the table says (92/93).
    for (std::uint8_t count : {std::uint8_t{16}, std::uint8_t{17}, std::uint8_t{19}, std::uint8_t{255}}) {
        auto record = Numbered(98);
        record[39] = count;
        Moves sixteen;
        for (std::size_t j = 0; j < 16; ++j)
            Swap(sixteen, 42 + 3 * j);
        Swap(sixteen, 92);
        ExpectMoves(0xE1, 98, sixteen, record);
    }
}

TEST(LinkWireOrder, WrongSizeOrUnknownCodeLeavesTheRecordAlone)
{
    auto shortRecord = Numbered(81);  // an analog record handed in as digital
    const auto before = shortRecord;
    EXPECT_FALSE(wire_order::ToWire(0xF4, shortRecord));
    EXPECT_EQ(shortRecord, before);
    auto any = Numbered(30);
    EXPECT_FALSE(wire_order::ToWire(0x12, any));
    EXPECT_FALSE(wire_order::ToMemory(0xF9, any));
    EXPECT_EQ(any, Numbered(30));
}

TEST(LinkWireOrder, FrequencyTravelsMostSignificantByteFirst)
{
    // 438.500 MHz = 0x1A22FAA0 at bytes 54..57 of a digital channel, little-endian in memory.
    std::vector<std::uint8_t> record(82, 0);
    record[54] = 0xA0;
    record[55] = 0xFA;
    record[56] = 0x22;
    record[57] = 0x1A;
    ASSERT_TRUE(wire_order::ToWire(0xF4, record));
    EXPECT_EQ((std::vector<std::uint8_t>(record.begin() + 54, record.begin() + 58)),
              (std::vector<std::uint8_t>{0x1A, 0x22, 0xFA, 0xA0}));
}

TEST(LinkWireOrder, BlockCodeTableGivesSizesAndIndexes)
{
    const std::vector<std::pair<std::uint8_t, std::pair<std::size_t, std::size_t>>> expected = {
        {0xF4, {82, 16}}, {0xF5, {81, 16}}, {0xDA, {30, 1}},  {0xE0, {89, 2}},  {0xE1, {98, 3}},
        {0xF0, {227, 1}}, {0xFC, {30, 1}},  {0xF1, {23, 1}},  {0xE2, {45, 1}},  {0xF2, {27, 1}},
        {0xE4, {45, 64}}, {0xE5, {57, 32}}, {0xE6, {83, 3}},
    };
    for (const auto& [code, shape] : expected) {
        const auto info = FindBlockCode(code);
        ASSERT_TRUE(info) << std::hex << int(code);
        EXPECT_EQ(info->recordBytes, shape.first);
        EXPECT_EQ(info->maxRecords, shape.second);
    }
    EXPECT_FALSE(FindBlockCode(0x88));
    EXPECT_FALSE(FindBlockCode(0xFF));
}
