#pragma once
// Test support for the transfer sessions: a virtual radio on an in-memory line in virtual time,
// the link, a transfer state and a host image, plus images with every table full and with
// known multi-byte values whose wire bytes the tests spell out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "codeplug/Codeplug.h"
#include "codeplug/CodeplugFile.h"
#include "link/CDialog_MSComm.h"
#include "link/Sessions.h"
#include "link/TransferState.h"
#include "sim/VirtualRadio.h"

namespace session_test {

// Known values (memory order in the image; the wire carries them most significant byte first).
inline std::uint32_t DigitalRx(std::size_t r) { return 430012500u + 12500u * static_cast<std::uint32_t>(r); }
inline std::uint32_t DigitalTx(std::size_t r) { return 440025000u + 12500u * static_cast<std::uint32_t>(r); }
inline std::uint16_t DigitalKey(std::size_t r) { return static_cast<std::uint16_t>(0x1234 + r); }
inline std::uint32_t AnalogRx(std::size_t r) { return 145012500u + 25000u * static_cast<std::uint32_t>(r); }
inline std::uint32_t AnalogTx(std::size_t r) { return 146037500u + 25000u * static_cast<std::uint32_t>(r); }
inline std::uint32_t ContactId(std::size_t r) { return 0x01234500u + static_cast<std::uint32_t>(r); }
constexpr std::uint16_t kDwellMs = 1500;       // 05 DC
constexpr std::uint16_t kLongPressMs = 5000;   // 13 88
constexpr std::uint32_t kRadioId = 0x01234567;
constexpr std::uint32_t kIdentityNumber = 0x0A0B0C0D;
constexpr std::uint16_t kExtraValue = 0x0ABC;  // FunctionExtra bytes 3-4 (2748)

inline void PutLE(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Every byte of the image a recognisable pattern that differs per block and per position,
// all counts at their tables' capacity, and the known values above in place.
inline std::unique_ptr<Codeplug> FullImage(std::uint8_t seed = 1)
{
    auto image = std::make_unique<Codeplug>();
    Codeplug& c = *image;
    std::uint8_t blockNo = seed;
    for (BlockView block : BlocksInFileOrder(c)) {
        for (std::size_t i = 0; i < block.bytes.size(); ++i)
            block.bytes[i] = static_cast<std::uint8_t>(blockNo * 31 + i * 7 + (i >> 8));
        ++blockNo;
    }
    SetCount(c.DigitalChannelCount, 16);
    SetCount(c.AnalogChannelCount, 16);
    SetCount(c.ScanListCount, 3);
    SetCount(c.ContactCount, 64);
    SetCount(c.RxGroupCount, 32);
    SetCount(c.MessageCount, 3);
    for (std::size_t r = 0; r < 16; ++r) {
        auto d = c.DigitalChannelTable.record(r);
        PutLE(d, 54, DigitalRx(r), 4);
        PutLE(d, 59, DigitalTx(r), 4);
        PutLE(d, 76, DigitalKey(r), 2);
        auto a = c.AnalogChannelTable.record(r);
        PutLE(a, 42, AnalogRx(r), 4);
        PutLE(a, 47, AnalogTx(r), 4);
    }
    for (std::size_t z = 0; z < 2; ++z) {
        auto zone = c.ZoneTable.record(z);
        for (std::size_t m = 0; m < 16; ++m)
            PutLE(zone, 42 + 3 * m, static_cast<std::uint32_t>(0x0100 * (z + 1) + m), 2);
    }
    for (std::size_t s = 0; s < 3; ++s) {
        auto scan = c.ScanTable.record(s);
        scan[39] = static_cast<std::uint8_t>(4 + s);  // members in use
        for (std::size_t m = 0; m < 16; ++m)
            PutLE(scan, 42 + 3 * m, static_cast<std::uint32_t>(0x0200 * (s + 1) + m), 2);
        PutLE(scan, 92, kDwellMs, 2);
    }
    for (std::size_t r = 0; r < 64; ++r) {
        auto contact = c.ContactTable.record(r);
        PutLE(contact, 41, ContactId(r), 4);
        for (std::size_t j = 0; j < 18; ++j) {  // name: character, 00 pairs
            contact[2 + 2 * j] = static_cast<std::uint8_t>('A' + (r + j) % 26);
            contact[3 + 2 * j] = 0x00;
        }
    }
    for (std::size_t r = 0; r < 3; ++r) {
        auto message = c.MessageTable.record(r);
        for (std::size_t j = 0; j < 40; ++j) {
            message[3 + 2 * j] = static_cast<std::uint8_t>('a' + (r + j) % 26);
            message[4 + 2 * j] = 0x00;
        }
    }
    PutLE(c.RadioSettings, 222, kLongPressMs, 2);
    PutLE(c.DmrSettings, 1, kRadioId, 4);
    PutLE(c.IdentityBlock, 1, kIdentityNumber, 4);
    PutLE(c.FunctionExtra, 3, kExtraValue, 2);
    c.PasswordBlock[1] = 0;  // not protected
    return image;
}

// The virtual radio, the link and one host image, all in virtual time.
struct SessionBench {
    RadioBench bench;
    CDialog_MSComm link{bench.PortFactory(), bench.clock};
    TransferState state;
    std::unique_ptr<Codeplug> image = std::make_unique<Codeplug>();
    SessionContext context{*image, link, state, [] { return session::Date{2024, 3, 7}; }};

    VirtualRadio& radio() { return bench.radio; }
    MemoryLine& line() { return bench.line; }

    void Read()
    {
        state.TransferStatus = session::status::ReadRunning;
        ReadWorker(context);
    }
    void Write()
    {
        state.TransferStatus = session::status::WriteRunning;
        WriteWorker(context);
    }

    // Event texts of the radio that name record traffic and session steps.
    std::vector<std::string> Events() const { return bench.radio.EventTexts(); }
    // Texts of the events starting with prefix.
    std::vector<std::string> EventsStartingWith(const std::string& prefix) const
    {
        std::vector<std::string> out;
        for (const std::string& e : Events())
            if (e.rfind(prefix, 0) == 0)
                out.push_back(e);
        return out;
    }
    std::size_t CountEvents(const std::string& text) const
    {
        const auto all = Events();
        return static_cast<std::size_t>(std::count(all.begin(), all.end(), text));
    }
};

inline std::vector<std::uint8_t> Bytes(Codeplug& c) { return CodeplugToBytes(c); }

inline std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t n)
{
    return std::vector<std::uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                                     bytes.begin() + static_cast<std::ptrdiff_t>(at + n));
}

}  // namespace session_test
