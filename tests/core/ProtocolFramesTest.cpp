// The host's frames, byte for byte against the protocol tables (hex written out here by hand).
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "link/Frames.h"

namespace {

std::vector<std::uint8_t> Hex(const std::string& text)
{
    std::vector<std::uint8_t> out;
    std::istringstream in(text);
    std::string byte;
    while (in >> byte)
        out.push_back(static_cast<std::uint8_t>(std::stoul(byte, nullptr, 16)));
    return out;
}

}  // namespace

TEST(ProtocolFrames, SessionCommandsMatchTheTableByteForByte)
{
    EXPECT_EQ(frame::OpenReadSession(), Hex("84 A9 61 00 07 0F FF 00 00 00 00 2F D8"));
    EXPECT_EQ(frame::OpenWriteSessionStep1(), Hex("84 A9 61 00 04 0F 88 F3 28 00"));
    EXPECT_EQ(frame::OpenWriteSessionStep2(), Hex("84 A9 61 00 05 2F 88 F4 F0 00 00"));
    EXPECT_EQ(frame::OpenWriteSessionStep3(), Hex("84 A9 61 00 07 0F FF 00 00 04 00 2F DC 00"));
    EXPECT_EQ(frame::BeginWrite(), Hex("84 A9 61 00 06 0F FF 00 04 04 2F D9"));
    EXPECT_EQ(frame::ReadDeviceInfo(), Hex("84 A9 61 00 05 2F 88 F4 FC 00 00"));
    EXPECT_EQ(frame::ReadExtraA(), Hex("84 A9 61 00 05 2F 88 F4 F7 00 1D"));
    EXPECT_EQ(frame::ReadExtraB(), Hex("84 A9 61 00 04 2F F9 00 2F FD 00"));
    EXPECT_EQ(frame::CloseReadSession(), Hex("84 A9 61 00 07 0F FF 00 00 00 01 2F D9"));
    EXPECT_EQ(frame::CloseWriteSession(), Hex("84 A9 61 00 07 0F FF 00 00 04 01 2F DD"));
}

TEST(ProtocolFrames, ExtendedWritesCarryTheirValuesAndFillers)
{
    const std::uint8_t value[2] = {0x08, 0x00};
    EXPECT_EQ(frame::WriteExtraB(value), Hex("84 A9 61 00 07 0F 88 F4 F9 00 04 08 00 00 00 00 00 00"));
    const std::uint8_t source[3] = {0x11, 0x22, 0x33};
    EXPECT_EQ(frame::WriteExtraA(source), Hex("84 A9 61 00 0C 0F 88 F4 F7 00 1D 11 22 33 FF FF FF FF"));
}

TEST(ProtocolFrames, PasswordFrameWrapsTheTenByteRecord)
{
    const std::uint8_t record[10] = {0x03, 0x00, '1', '2', '3', '4', '5', '6', '7', '8'};
    // 0E ^ 0F ^ FF ^ 00 ^ 03 ^ 00 ^ '1'..'8' ^ 2F = DA
    EXPECT_EQ(frame::SubmitPassword(record),
              Hex("84 A9 61 00 0E 0F FF 00 03 00 31 32 33 34 35 36 37 38 2F DA"));
}

TEST(ProtocolFrames, RecordReadAndWriteFrames)
{
    // Read of record 3 of code E4: check byte 04 ^ E4 ^ 03 = E3.
    EXPECT_EQ(frame::ReadRecord(0xE4, 3), Hex("84 A9 61 00 04 2F E4 03 2F E3"));
    EXPECT_EQ(frame::ReadRecord(0xF4, 0), Hex("84 A9 61 00 04 2F F4 00 2F F0"));

    const std::vector<std::uint8_t> record = {0x10, 0x20, 0x30};
    // L = 3 + 4 = 07; check 07 ^ 0F ^ F2 ^ 00 ^ 10 ^ 20 ^ 30 ^ 2F = D5
    EXPECT_EQ(frame::WriteRecord(0xF2, 0, record), Hex("84 A9 61 00 07 0F F2 00 10 20 30 2F D5"));

    // The largest record (RadioSettings, 227 bytes) still fits the length byte.
    const std::vector<std::uint8_t> big(227, 0);
    const auto f = frame::WriteRecord(0xF0, 0, big);
    ASSERT_EQ(f.size(), 237u);
    EXPECT_EQ(f[4], 227 + 4);
    EXPECT_EQ(f[235], 0x2F);
    EXPECT_EQ(f[236], (227 + 4) ^ 0x0F ^ 0xF0 ^ 0x2F);
    EXPECT_THROW(frame::WriteRecord(0xF0, 0, std::vector<std::uint8_t>(252, 0)), std::length_error);
}

TEST(ProtocolFrames, CrcIsModbusSentMostSignificantByteFirst)
{
    const std::string digits = "123456789";
    const std::vector<std::uint8_t> d(digits.begin(), digits.end());
    EXPECT_EQ(frame::Crc16(d), 0x4B37);
    const auto framed = frame::WithCrc(d);
    ASSERT_EQ(framed.size(), 11u);
    EXPECT_EQ(framed[9], 0x4B);
    EXPECT_EQ(framed[10], 0x37);
    EXPECT_TRUE(frame::CrcMatches(framed));
    auto broken = framed;
    broken[3] ^= 0x01;
    EXPECT_FALSE(frame::CrcMatches(broken));
    EXPECT_FALSE(frame::CrcMatches(std::vector<std::uint8_t>{0x4B}));
}

TEST(ProtocolFrames, ServiceCommandFrames)
{
    const std::uint8_t zero[4] = {0, 0, 0, 0};
    EXPECT_EQ(frame::KeyCommand(0x81, zero), Hex("6B 65 79 81 00 00 00 00 21 05"));
    const std::uint8_t keySet[4] = {0x00, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(frame::KeyCommand(0x01, keySet), Hex("6B 65 79 01 00 FF FF FF 7F 35"));
    const std::uint8_t group[4] = {0x1D, 0x06, 0x00, 0x00};
    EXPECT_EQ(frame::DebugCommand(0x93, group), Hex("64 62 67 93 1D 06 00 00 71 6E"));
    EXPECT_EQ(frame::ReadCommand(0x0300, 8), Hex("72 65 61 64 03 00 00 08 CB 8B"));
    EXPECT_EQ(frame::WriteCommand(0x00DB, 16), Hex("77 72 69 74 00 DB 00 10 0B 9C"));
}
