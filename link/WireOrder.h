#pragma once
// Block codes of the programming link and the byte order of each record on the wire.
//
// Multi-byte numbers inside records travel most significant byte first, while the codeplug
// image (and files) hold them least significant byte first. The conversion of one record is a
// set of byte swaps and reversals, so the same swap turns memory order into wire order and back;
// both directions are given for readability at the call sites. Every conversion stays inside the
// record it is given: a record of the wrong size is left alone (and reported false), and the
// scan-list member count (byte 39), which a damaged file may set up to 255, converts at most the
// 16 members a record holds.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace block_code {
inline constexpr std::uint8_t DigitalChannel = 0xF4;
inline constexpr std::uint8_t AnalogChannel = 0xF5;
inline constexpr std::uint8_t RadioInfo = 0xDA;
inline constexpr std::uint8_t Zone = 0xE0;
inline constexpr std::uint8_t Scan = 0xE1;
inline constexpr std::uint8_t RadioSettings = 0xF0;
inline constexpr std::uint8_t Password = 0xFC;
inline constexpr std::uint8_t Identity = 0xF1;
inline constexpr std::uint8_t RecordE2 = 0xE2;
inline constexpr std::uint8_t DmrSettings = 0xF2;
inline constexpr std::uint8_t Contact = 0xE4;
inline constexpr std::uint8_t RxGroup = 0xE5;
inline constexpr std::uint8_t Message = 0xE6;
}  // namespace block_code

// What travels under one block code: the record size and how many records (indexes 0..n-1).
struct BlockCodeInfo {
    std::uint8_t code;
    std::string_view block;   // name of the codeplug block
    std::size_t recordBytes;
    std::size_t maxRecords;
};
inline constexpr std::array<BlockCodeInfo, 13> kBlockCodes = {{
    {block_code::DigitalChannel, "DigitalChannelTable", 82, 16},
    {block_code::AnalogChannel, "AnalogChannelTable", 81, 16},
    {block_code::RadioInfo, "RadioInfoBlock", 30, 1},
    {block_code::Zone, "ZoneTable", 89, 2},
    {block_code::Scan, "ScanTable", 98, 3},
    {block_code::RadioSettings, "RadioSettings", 227, 1},
    {block_code::Password, "PasswordBlock", 30, 1},
    {block_code::Identity, "IdentityBlock", 23, 1},
    {block_code::RecordE2, "RecordE2Block", 45, 1},
    {block_code::DmrSettings, "DmrSettings", 27, 1},
    {block_code::Contact, "ContactTable", 45, 64},
    {block_code::RxGroup, "RxGroupTable", 57, 32},
    {block_code::Message, "MessageTable", 83, 3},
}};
std::optional<BlockCodeInfo> FindBlockCode(std::uint8_t code);

namespace wire_order {
inline constexpr std::size_t kScanMemberCountAt = 39;
inline constexpr std::size_t kScanMaxMembers = 16;

// Converts one record of the block with this code in place. False (record untouched) for an
// unknown code or a record whose size is not the code's record size. Codes without multi-byte
// fields (RadioInfo, Password, RxGroup, RecordE2) succeed without change.
bool ToWire(std::uint8_t code, std::span<std::uint8_t> record);
bool ToMemory(std::uint8_t code, std::span<std::uint8_t> record);
}  // namespace wire_order
