#include "link/WireOrder.h"

#include <algorithm>
#include <utility>

std::optional<BlockCodeInfo> FindBlockCode(std::uint8_t code)
{
    for (const BlockCodeInfo& info : kBlockCodes)
        if (info.code == code)
            return info;
    return std::nullopt;
}

namespace wire_order {
namespace {

void Swap2(std::span<std::uint8_t> r, std::size_t at) { std::swap(r[at], r[at + 1]); }
void Reverse4(std::span<std::uint8_t> r, std::size_t at) { std::reverse(r.begin() + at, r.begin() + at + 4); }

// Zone and scan-list members: kind byte, then a 16-bit channel index, 3 bytes a member from 41.
void SwapMembers(std::span<std::uint8_t> r, std::size_t members)
{
    for (std::size_t j = 0; j < members; ++j)
        Swap2(r, 42 + 3 * j);
}

bool Convert(std::uint8_t code, std::span<std::uint8_t> r)
{
    const auto info = FindBlockCode(code);
    if (!info || r.size() != info->recordBytes)
        return false;
    switch (code) {
    case block_code::DigitalChannel:
        Reverse4(r, 54);
        Reverse4(r, 59);
        Swap2(r, 76);
        break;
    case block_code::AnalogChannel:
        Reverse4(r, 42);
        Reverse4(r, 47);
        break;
    case block_code::Zone:
        SwapMembers(r, 16);
        break;
    case block_code::Scan:
        SwapMembers(r, std::min<std::size_t>(r[kScanMemberCountAt], kScanMaxMembers));
        Swap2(r, 92);
        break;
    case block_code::RadioSettings:
        Swap2(r, 222);
        break;
    case block_code::Identity:
    case block_code::DmrSettings:
        Reverse4(r, 1);
        break;
    case block_code::Contact:
        Reverse4(r, 41);
        for (std::size_t j = 0; j < 18; ++j)
            Swap2(r, 2 + 2 * j);
        break;
    case block_code::Message:
        for (std::size_t j = 0; j < 40; ++j)
            Swap2(r, 3 + 2 * j);
        break;
    default:  // RadioInfo, Password, RxGroup, RecordE2: single bytes only
        break;
    }
    return true;
}

}  // namespace

bool ToWire(std::uint8_t code, std::span<std::uint8_t> record) { return Convert(code, record); }
bool ToMemory(std::uint8_t code, std::span<std::uint8_t> record) { return Convert(code, record); }

}  // namespace wire_order
