#pragma once
// Test support for the transfer sessions: the virtual radio on an in-memory line in virtual time,
// and an image with every table full, a distinct byte pattern per block and known multi-byte
// values (record r ends its value in byte r) whose wire bytes the tests spell out.
#include "tests/core/TestFiles.h"
#include "link/Sessions.h"
#include "sim/VirtualRadio.h"

namespace session_test {

using Wire = std::vector<std::uint8_t>;

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
    SetListCounts(c, 16, 16, 3, 64, 32, 3);
    for (std::uint8_t r = 0; r < 16; ++r) {
        PutLE32(c.DigitalChannelTable.record(r), 54, 0x19A28000u + r);  // receive frequency
        PutLE16(c.DigitalChannelTable.record(r), 76, static_cast<std::uint16_t>(0x1200 + r));  // key
        PutLE32(c.AnalogChannelTable.record(r), 47, 0x01460300u + r);  // transmit frequency
    }
    for (std::uint8_t s = 0; s < 3; ++s) {
        auto scan = c.ScanTable.record(s);
        scan[39] = static_cast<std::uint8_t>(4 + s);  // members in use
        for (std::uint8_t m = 0; m < 16; ++m)  // member m of list s: channel (s + 1) * 0x200 + m
            PutLE16(scan, 42 + 3 * m, static_cast<std::uint16_t>(0x0200 * (s + 1) + m));
        PutLE16(scan, 92, 1500);  // dwell time
    }
    for (std::uint8_t r = 0; r < 64; ++r) {
        PutLE32(c.ContactTable.record(r), 41, 0x01234500u + r);
        for (std::size_t j = 0; j < 18; ++j)  // name: character, 00 pairs
            PutLE16(c.ContactTable.record(r), 2 + 2 * j, static_cast<std::uint16_t>('A' + (r + j) % 26));
    }
    for (std::size_t r = 0; r < 3; ++r)
        for (std::size_t j = 0; j < 40; ++j)
            PutLE16(c.MessageTable.record(r), 3 + 2 * j, static_cast<std::uint16_t>('a' + (r + j) % 26));
    PutLE16(c.RadioSettings, 222, 5000);  // long-press time
    PutLE32(c.DmrSettings, 1, 0x01234567);
    PutLE32(c.IdentityBlock, 1, 0x0A0B0C0D);
    c.FunctionExtra[0] = 0x12, c.FunctionExtra[1] = 0x34, c.FunctionExtra[2] = 0x56;
    PutLE16(c.FunctionExtra, 3, 0x0ABC);
    c.PasswordBlock[1] = 0;  // not protected
    return image;
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
    std::size_t CountEvents(const std::string& prefix) const
    {
        const auto events = bench.radio.EventTexts();
        return std::count_if(events.begin(), events.end(), [&](const std::string& e) { return e.rfind(prefix, 0) == 0; });
    }
};

// Writes `image` to the bench's radio, then reads the radio back into the bench's image;
// `written` receives the image as the write left it (stamped).
inline ::testing::AssertionResult WriteThenReadBack(SessionBench& s, const Codeplug& image, Codeplug* written = nullptr)
{
    *s.image = image;
    s.Write();
    if (s.state.TransferStatus != session::status::WriteDone)
        return ::testing::AssertionFailure() << "write ended with status " << s.state.TransferStatus;
    if (written != nullptr)
        *written = *s.image;
    *s.image = Codeplug{};
    s.Read();
    if (s.state.TransferStatus != session::status::ReadDone)
        return ::testing::AssertionFailure() << "read ended with status " << s.state.TransferStatus;
    return ::testing::AssertionSuccess();
}

inline Wire Bytes(Codeplug& c) { return CodeplugToBytes(c); }
inline Wire Slice(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t n)
{
    return {bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(at + n)};
}

}  // namespace session_test
