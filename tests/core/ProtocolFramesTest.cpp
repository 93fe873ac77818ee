// The host's frames, byte for byte against hex written out here by hand.
#include "tests/core/TestFiles.h"

#include "link/Frames.h"

TEST(ProtocolFrames, EveryFrameByteForByte)
{
    const std::uint8_t extraB[2] = {0x08, 0x00}, extraA[3] = {0x11, 0x22, 0x33};
    const std::uint8_t password[10] = {0x03, 0x00, '1', '2', '3', '4', '5', '6', '7', '8'};
    const std::uint8_t record[3] = {0x10, 0x20, 0x30};
    const std::uint8_t zero[4] = {}, keySet[4] = {0x00, 0xFF, 0xFF, 0xFF}, group[4] = {0x1D, 0x06, 0, 0};
    const std::pair<std::vector<std::uint8_t>, const char*> rows[] = {
        {frame::OpenReadSession(), "84 A9 61 00 07 0F FF 00 00 00 00 2F D8"},
        {frame::OpenWriteSessionStep1(), "84 A9 61 00 04 0F 88 F3 28 00"},
        {frame::OpenWriteSessionStep2(), "84 A9 61 00 05 2F 88 F4 F0 00 00"},
        {frame::OpenWriteSessionStep3(), "84 A9 61 00 07 0F FF 00 00 04 00 2F DC 00"},
        {frame::BeginWrite(), "84 A9 61 00 06 0F FF 00 04 04 2F D9"},
        {frame::ReadDeviceInfo(), "84 A9 61 00 05 2F 88 F4 FC 00 00"},
        {frame::ReadExtraA(), "84 A9 61 00 05 2F 88 F4 F7 00 1D"},
        {frame::ReadExtraB(), "84 A9 61 00 04 2F F9 00 2F FD 00"},
        {frame::CloseReadSession(), "84 A9 61 00 07 0F FF 00 00 00 01 2F D9"},
        {frame::CloseWriteSession(), "84 A9 61 00 07 0F FF 00 00 04 01 2F DD"},
        {frame::WriteExtraB(extraB), "84 A9 61 00 07 0F 88 F4 F9 00 04 08 00 00 00 00 00 00"},
        {frame::WriteExtraA(extraA), "84 A9 61 00 0C 0F 88 F4 F7 00 1D 11 22 33 FF FF FF FF"},
        {frame::SubmitPassword(password), "84 A9 61 00 0E 0F FF 00 03 00 31 32 33 34 35 36 37 38 2F DA"},
        {frame::ReadRecord(0xE4, 3), "84 A9 61 00 04 2F E4 03 2F E3"},  // 04 ^ E4 ^ 03 = E3
        {frame::WriteRecord(0xF2, 0, record), "84 A9 61 00 07 0F F2 00 10 20 30 2F D5"},
        {frame::KeyCommand(0x81, zero), "6B 65 79 81 00 00 00 00 21 05"},
        {frame::KeyCommand(0x01, keySet), "6B 65 79 01 00 FF FF FF 7F 35"},
        {frame::DebugCommand(0x93, group), "64 62 67 93 1D 06 00 00 71 6E"},
        {frame::ReadCommand(0x0300, 8), "72 65 61 64 03 00 00 08 CB 8B"},
        {frame::WriteCommand(0x00DB, 16), "77 72 69 74 00 DB 00 10 0B 9C"},
    };
    for (const auto& [frame, hex] : rows)
        EXPECT_EQ(frame, Hex(hex)) << hex;
}

TEST(ProtocolFrames, LargestRecordFitsAndTooLongThrows)
{
    const auto f = frame::WriteRecord(0xF0, 0, std::vector<std::uint8_t>(227, 0));
    ASSERT_EQ(f.size(), 237u);
    EXPECT_EQ(f[4], 0xE7);
    EXPECT_EQ(f[236], 0xE7 ^ 0x0F ^ 0xF0 ^ 0x2F);
    EXPECT_THROW(frame::WriteRecord(0xF0, 0, std::vector<std::uint8_t>(252, 0)), std::length_error);
}

TEST(ProtocolFrames, CrcIsModbusSentMostSignificantByteFirst)
{
    const std::string digits = "123456789";
    auto framed = frame::WithCrc(std::vector<std::uint8_t>(digits.begin(), digits.end()));
    EXPECT_EQ(std::vector<std::uint8_t>(framed.begin() + 9, framed.end()), Hex("4B 37"));
    EXPECT_TRUE(frame::CrcMatches(framed));
    framed[3] ^= 0x01;
    EXPECT_FALSE(frame::CrcMatches(framed));
    EXPECT_FALSE(frame::CrcMatches(std::vector<std::uint8_t>{0x4B}));
}
