// Byte order of records on the wire: which bytes move, per block (expected moves written by hand).
#include "tests/core/TestFiles.h"

#include <numeric>

#include "link/WireOrder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Offsets = std::vector<std::size_t>;

Bytes Numbered(std::size_t n)
{
    Bytes r(n);
    std::iota(r.begin(), r.end(), std::uint8_t{0});
    return r;
}

Offsets Every(std::size_t first, std::size_t step, std::size_t count, Offsets more = {})
{
    for (std::size_t j = 0; j < count; ++j)
        more.push_back(first + step * j);
    return more;
}

// ToWire reverses 4 bytes at each of `reversed`, swaps 2 at each of `swapped`, moves nothing else,
// and ToMemory restores the record.
void ExpectMoves(std::uint8_t code, Bytes record, const Offsets& reversed, const Offsets& swapped)
{
    Bytes expected = record;
    for (std::size_t at : reversed)
        std::reverse(expected.begin() + at, expected.begin() + at + 4);
    for (std::size_t at : swapped)
        std::swap(expected[at], expected[at + 1]);
    const Bytes before = record;
    ASSERT_TRUE(wire_order::ToWire(code, record)) << std::hex << int(code);
    EXPECT_EQ(record, expected) << std::hex << int(code);
    ASSERT_TRUE(wire_order::ToMemory(code, record));
    EXPECT_EQ(record, before) << "converting back must restore the record";
}

}  // namespace

TEST(LinkWireOrder, MovesPerBlock)
{
    const struct { std::uint8_t code; std::size_t size; Offsets reversed, swapped; } rows[] = {
        {0xF4, 82, {54, 59}, {76}},       {0xF5, 81, {42, 47}, {}},           {0xF0, 227, {}, {222}},
        {0xF1, 23, {1}, {}},              {0xF2, 27, {1}, {}},                {0xE0, 89, {}, Every(42, 3, 16)},
        {0xE4, 45, {41}, Every(2, 2, 18)}, {0xE6, 83, {}, Every(3, 2, 40)},   {0xDA, 30, {}, {}},
        {0xFC, 30, {}, {}},               {0xE5, 57, {}, {}},                 {0xE2, 45, {}, {}},
    };
    for (const auto& r : rows)
        ExpectMoves(r.code, Numbered(r.size), r.reversed, r.swapped);
}

TEST(LinkWireOrder, ScanListSwapsOnlyItsCountedMembersAtMostSixteen)
{
    // Byte 39 counts the members; a damaged count never reaches past the 16 a record holds.
    for (const auto& [count, members] : std::vector<std::pair<std::uint8_t, std::size_t>>{
             {0, 0}, {3, 3}, {16, 16}, {17, 16}, {19, 16}, {255, 16}}) {
        auto record = Numbered(98);
        record[39] = count;
        ExpectMoves(0xE1, record, {}, Every(42, 3, members, {92}));
    }
}

TEST(LinkWireOrder, WrongSizeOrUnknownCodeLeavesTheRecordAlone)
{
    auto record = Numbered(81);  // an analog record handed in as digital
    EXPECT_FALSE(wire_order::ToWire(0xF4, record));
    EXPECT_FALSE(wire_order::ToWire(0x12, record));
    EXPECT_FALSE(wire_order::ToMemory(0xF9, record));
    EXPECT_EQ(record, Numbered(81));
}
