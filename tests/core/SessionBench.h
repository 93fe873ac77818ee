#pragma once
// Test support for the transfer sessions: the virtual radio on an in-memory line in virtual time,
// the link, a transfer state and a host image; and an image with every table full, a distinct
// byte pattern per block and known multi-byte values whose wire bytes the tests spell out.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "codeplug/CodeplugFile.h"
#include "link/Sessions.h"
#include "sim/VirtualRadio.h"

namespace session_test {

inline std::uint32_t DigitalRx(std::size_t r) { return 430012500u + 12500u * static_cast<std::uint32_t>(r); }
inline std::uint32_t AnalogTx(std::size_t r) { return 146037500u + 25000u * static_cast<std::uint32_t>(r); }
inline std::uint16_t DigitalKey(std::size_t r) { return static_cast<std::uint16_t>(0x1234 + r); }
inline std::uint32_t ContactId(std::size_t r) { return 0x01234500u + static_cast<std::uint32_t>(r); }
constexpr std::uint16_t kDwellMs = 1500;      // wire 05 DC
constexpr std::uint16_t kLongPressMs = 5000;  // wire 13 88
constexpr std::uint16_t kExtraValue = 0x0ABC;

inline void PutLE(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

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
        PutLE(c.DigitalChannelTable.record(r), 54, DigitalRx(r), 4);
        PutLE(c.DigitalChannelTable.record(r), 76, DigitalKey(r), 2);
        PutLE(c.AnalogChannelTable.record(r), 47, AnalogTx(r), 4);
    }
    for (std::size_t s = 0; s < 3; ++s) {
        auto scan = c.ScanTable.record(s);
        scan[39] = static_cast<std::uint8_t>(4 + s);  // members in use
        for (std::size_t m = 0; m < 16; ++m)
            PutLE(scan, 42 + 3 * m, static_cast<std::uint32_t>(0x0200 * (s + 1) + m), 2);
        PutLE(scan, 92, kDwellMs, 2);
    }
    for (std::size_t r = 0; r < 64; ++r) {
        PutLE(c.ContactTable.record(r), 41, ContactId(r), 4);
        for (std::size_t j = 0; j < 18; ++j)  // name: character, 00 pairs
            PutLE(c.ContactTable.record(r), 2 + 2 * j, 'A' + (r + j) % 26, 2);
    }
    for (std::size_t r = 0; r < 3; ++r)
        for (std::size_t j = 0; j < 40; ++j)
            PutLE(c.MessageTable.record(r), 3 + 2 * j, 'a' + (r + j) % 26, 2);
    PutLE(c.RadioSettings, 222, kLongPressMs, 2);
    PutLE(c.DmrSettings, 1, 0x01234567, 4);
    PutLE(c.IdentityBlock, 1, 0x0A0B0C0D, 4);
    PutLE(c.FunctionExtra, 3, kExtraValue, 2);
    c.PasswordBlock[1] = 0;  // not protected
    return image;
}

inline void SetListCounts(Codeplug& c, std::uint32_t digital, std::uint32_t analog, std::uint32_t scans,
                          std::uint32_t contacts, std::uint32_t groups, std::uint32_t messages)
{
    SetCount(c.DigitalChannelCount, digital);
    SetCount(c.AnalogChannelCount, analog);
    SetCount(c.ScanListCount, scans);
    SetCount(c.ContactCount, contacts);
    SetCount(c.RxGroupCount, groups);
    SetCount(c.MessageCount, messages);
}

struct SessionBench {
    RadioBench bench;
    CDialog_MSComm link{bench.PortFactory(), bench.clock};
    TransferState state;
    std::unique_ptr<Codeplug> image = std::make_unique<Codeplug>();
    SessionContext context{*image, link, state, [] { return session::Date{2024, 3, 7}; }};

    VirtualRadio& radio() { return bench.radio; }
    void Read() { ReadWorker(context); }
    void Write() { WriteWorker(context); }

    std::vector<std::string> EventsStartingWith(const std::string& prefix) const
    {
        std::vector<std::string> out;
        for (const std::string& e : bench.radio.EventTexts())
            if (e.rfind(prefix, 0) == 0)
                out.push_back(e);
        return out;
    }
    std::size_t CountEvents(const std::string& prefix) const { return EventsStartingWith(prefix).size(); }
};

inline std::vector<std::uint8_t> Bytes(Codeplug& c) { return CodeplugToBytes(c); }
inline std::vector<std::uint8_t> Slice(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t n)
{
    return {bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(at + n)};
}

}  // namespace session_test
