// The virtual radio. Everything here is written from the radio's side: its own table of block
// codes, its own frame parser and its own CRC, so that a mistake in the host's frame builder
// cannot be mirrored here and pass unnoticed. Only the byte-order conversion of records
// (link/WireOrder), which must be the same on both sides, and the codeplug file code are shared.
#include "sim/VirtualRadio.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "codeplug/CodeplugFile.h"
#include "link/WireOrder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// What the radio stores under each block code: record size and how many records fit.
struct RadioBlock {
    std::uint8_t code;
    std::size_t bytes;
    std::size_t capacity;
};
constexpr RadioBlock kRadioBlocks[] = {
    {0xF4, 82, 16}, {0xF5, 81, 16}, {0xDA, 30, 1},  {0xE0, 89, 2},  {0xE1, 98, 3},
    {0xF0, 227, 1}, {0xFC, 30, 1},  {0xF1, 23, 1},  {0xE2, 45, 1},  {0xF2, 27, 1},
    {0xE4, 45, 64}, {0xE5, 57, 32}, {0xE6, 83, 3},
};
const RadioBlock* FindBlock(std::uint8_t code)
{
    for (const RadioBlock& b : kRadioBlocks)
        if (b.code == code)
            return &b;
    return nullptr;
}

// The radio's own CRC-16 (MODBUS), table driven.
struct CrcTable {
    std::uint16_t entry[256];
    constexpr CrcTable() : entry{}
    {
        for (unsigned i = 0; i < 256; ++i) {
            unsigned c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1u) ? (c >> 1) ^ 0xA001u : c >> 1;
            entry[i] = static_cast<std::uint16_t>(c);
        }
    }
};
constexpr CrcTable kCrcTable;
std::uint16_t RadioCrc(std::span<const std::uint8_t> data)
{
    std::uint16_t crc = 0xFFFF;
    for (std::uint8_t b : data)
        crc = static_cast<std::uint16_t>((crc >> 8) ^ kCrcTable.entry[(crc ^ b) & 0xFF]);
    return crc;
}
void AppendCrc(Bytes& data)
{
    const std::uint16_t crc = RadioCrc(data);
    data.push_back(static_cast<std::uint8_t>(crc >> 8));
    data.push_back(static_cast<std::uint8_t>(crc));
}
bool CrcOk(std::span<const std::uint8_t> dataAndCrc)
{
    if (dataAndCrc.size() < 2)
        return false;
    const std::size_t n = dataAndCrc.size() - 2;
    const std::uint16_t crc = RadioCrc(dataAndCrc.first(n));
    return dataAndCrc[n] == static_cast<std::uint8_t>(crc >> 8) && dataAndCrc[n + 1] == static_cast<std::uint8_t>(crc);
}

constexpr std::uint8_t kToRadio = 0x0F;    // direction byte of a host write
constexpr std::uint8_t kFromRadio = 0x2F;  // direction byte of a host read
constexpr std::uint8_t kEnd = 0x2F;
constexpr std::uint8_t kDone = 0xFA;       // acknowledgement / no record
constexpr std::uint8_t kNak = 0x15;
constexpr std::size_t kWriteChunk = 512;
constexpr Clock::Duration kWriteDataTimeout = std::chrono::seconds(10);
constexpr Clock::Duration kServiceIdleTimeout = std::chrono::seconds(1);
constexpr Clock::Duration kByteTime{1'000'000'000LL * 10 / 38400};

std::string Hex(std::span<const std::uint8_t> bytes)
{
    std::string s;
    char b[4];
    for (std::uint8_t v : bytes) {
        std::snprintf(b, sizeof b, "%02X", v);
        s += b;
    }
    return s;
}
std::string Hex2(std::uint8_t v) { return Hex(std::span(&v, 1)); }
std::string Hex4(std::uint16_t v)
{
    const std::uint8_t b[2] = {static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
    return Hex(b);
}

bool IsWordStart(std::uint8_t b) { return b == 'k' || b == 'd' || b == 'r' || b == 'w'; }
bool IsControl(std::uint8_t b) { return b == 0x5A || b == 0xA5 || b == 0xAA || b == 0x05; }

// True while the bytes so far can still begin one of the command words.
bool WordSoFar(std::span<const std::uint8_t> f)
{
    static constexpr std::string_view kWords[] = {"key", "dbg", "read", "writ"};
    for (const std::string_view w : kWords) {
        const std::size_t n = std::min(f.size(), w.size());
        if (std::equal(f.begin(), f.begin() + static_cast<std::ptrdiff_t>(n), w.begin()))
            return true;
    }
    return false;
}

}  // namespace

// ------------------------------------------------------------------ configuration

VirtualRadio::VirtualRadio() : VirtualRadio(RadioSetup{}) {}

VirtualRadio::VirtualRadio(RadioSetup setup) : setup_(std::move(setup)), serviceMemory_(kServiceMemoryBytes, 0xFF)
{
    // A radio fresh from the factory: every single record present and empty, one channel of
    // each kind, two zones, one scan list, one receive group list, one message, no contacts.
    for (const RadioBlock& b : kRadioBlocks) {
        std::size_t n = 1;
        if (b.code == 0xE0)
            n = 2;
        if (b.code == 0xE4)
            n = 0;
        records_[b.code] = std::vector<Bytes>(n, Bytes(b.bytes, 0));
    }
    extraA_ = {0, 0, 0, 0x00, 0x08, 0, 0};
    extraB_ = 2048;
}

const std::vector<std::vector<std::uint8_t>>& VirtualRadio::Records(std::uint8_t code) const
{
    static const std::vector<Bytes> kNone;
    const auto it = records_.find(code);
    return it == records_.end() ? kNone : it->second;
}

void VirtualRadio::SetRecords(std::uint8_t code, std::vector<std::vector<std::uint8_t>> records)
{
    const RadioBlock* b = FindBlock(code);
    if (!b)
        return;
    if (records.size() > b->capacity)
        records.resize(b->capacity);
    for (Bytes& r : records)
        r.resize(b->bytes, 0);
    records_[code] = std::move(records);
}

namespace {
template <std::size_t R, std::size_t C>
std::vector<Bytes> TableToWire(std::uint8_t code, const RecordTable<R, C>& table, std::size_t count)
{
    std::vector<Bytes> out;
    for (std::size_t i = 0; i < std::min(count, C); ++i) {
        const auto rec = table.record(i);
        Bytes r(rec.begin(), rec.end());
        wire_order::ToWire(code, r);
        out.push_back(std::move(r));
    }
    return out;
}
std::vector<Bytes> SingleToWire(std::uint8_t code, std::span<const std::uint8_t> bytes)
{
    Bytes r(bytes.begin(), bytes.end());
    wire_order::ToWire(code, r);
    return {r};
}
template <std::size_t R, std::size_t C>
std::size_t WireToTable(std::uint8_t code, const std::vector<Bytes>& records, RecordTable<R, C>& table)
{
    std::size_t n = 0;
    for (; n < std::min(records.size(), C); ++n) {
        Bytes r = records[n];
        r.resize(R, 0);
        wire_order::ToMemory(code, r);
        std::copy(r.begin(), r.end(), table.record(n).begin());
    }
    return n;
}
void WireToSingle(std::uint8_t code, const std::vector<Bytes>& records, std::span<std::uint8_t> dest)
{
    if (records.empty())
        return;
    Bytes r = records[0];
    r.resize(dest.size(), 0);
    wire_order::ToMemory(code, r);
    std::copy(r.begin(), r.end(), dest.begin());
}
}  // namespace

void VirtualRadio::LoadCodeplug(const Codeplug& c)
{
    records_[0xF4] = TableToWire(0xF4, c.DigitalChannelTable, GetCount(c.DigitalChannelCount));
    records_[0xF5] = TableToWire(0xF5, c.AnalogChannelTable, GetCount(c.AnalogChannelCount));
    records_[0xDA] = SingleToWire(0xDA, c.RadioInfoBlock);
    records_[0xE0] = TableToWire(0xE0, c.ZoneTable, 2);
    records_[0xE1] = TableToWire(0xE1, c.ScanTable, GetCount(c.ScanListCount));
    records_[0xF0] = SingleToWire(0xF0, c.RadioSettings);
    records_[0xFC] = SingleToWire(0xFC, c.PasswordBlock);
    records_[0xF1] = SingleToWire(0xF1, c.IdentityBlock);
    records_[0xE2] = SingleToWire(0xE2, std::span(c.RecordE2Block).first(45));
    records_[0xF2] = SingleToWire(0xF2, c.DmrSettings);
    records_[0xE4] = TableToWire(0xE4, c.ContactTable, GetCount(c.ContactCount));
    records_[0xE5] = TableToWire(0xE5, c.RxGroupTable, GetCount(c.RxGroupCount));
    records_[0xE6] = TableToWire(0xE6, c.MessageTable, GetCount(c.MessageCount));
    std::copy(c.FunctionExtra.begin(), c.FunctionExtra.end(), extraA_.begin());
    extraB_ = static_cast<std::uint16_t>(c.FunctionExtra[3] | c.FunctionExtra[4] << 8);
}

void VirtualRadio::SaveCodeplug(Codeplug& c) const
{
    c.DigitalChannelCount[0] = static_cast<std::uint8_t>(WireToTable(0xF4, Records(0xF4), c.DigitalChannelTable));
    c.AnalogChannelCount[0] = static_cast<std::uint8_t>(WireToTable(0xF5, Records(0xF5), c.AnalogChannelTable));
    WireToSingle(0xDA, Records(0xDA), c.RadioInfoBlock);
    WireToTable(0xE0, Records(0xE0), c.ZoneTable);
    SetCount(c.ScanListCount, static_cast<std::uint32_t>(WireToTable(0xE1, Records(0xE1), c.ScanTable)));
    WireToSingle(0xF0, Records(0xF0), c.RadioSettings);
    WireToSingle(0xFC, Records(0xFC), c.PasswordBlock);
    WireToSingle(0xF1, Records(0xF1), c.IdentityBlock);
    WireToSingle(0xE2, Records(0xE2), std::span(c.RecordE2Block).first(45));
    WireToSingle(0xF2, Records(0xF2), c.DmrSettings);
    SetCount(c.ContactCount, static_cast<std::uint32_t>(WireToTable(0xE4, Records(0xE4), c.ContactTable)));
    SetCount(c.RxGroupCount, static_cast<std::uint32_t>(WireToTable(0xE5, Records(0xE5), c.RxGroupTable)));
    SetCount(c.MessageCount, static_cast<std::uint32_t>(WireToTable(0xE6, Records(0xE6), c.MessageTable)));
    std::copy(extraA_.begin(), extraA_.end(), c.FunctionExtra.begin());
    c.FunctionExtra[3] = static_cast<std::uint8_t>(extraB_);
    c.FunctionExtra[4] = static_cast<std::uint8_t>(extraB_ >> 8);
}

bool VirtualRadio::LoadFile(const std::filesystem::path& path)
{
    auto image = std::make_unique<Codeplug>();
    if (!LoadCodeplugFile(*image, path).loaded())
        return false;
    LoadCodeplug(*image);
    return true;
}

bool VirtualRadio::SaveFile(const std::filesystem::path& path) const
{
    auto image = std::make_unique<Codeplug>();
    SaveCodeplug(*image);
    return SaveCodeplugFile(*image, path).ok();
}

void VirtualRadio::SetProgrammingPassword(std::string_view password)
{
    auto& list = records_[0xFC];
    if (list.empty())
        list.push_back(Bytes(30, 0));
    Bytes& r = list[0];
    r.resize(30, 0);
    const bool on = !password.empty();
    r[1] = on ? 0x80 : 0x00;
    r[10] = r[1];
    // Right-aligned behind "0" characters, as the programming software forms a password.
    const std::size_t pad = 8 - std::min<std::size_t>(password.size(), 8);
    for (std::size_t i = 0; i < 8; ++i) {
        const std::uint8_t ch = i < pad ? '0' : static_cast<std::uint8_t>(password[i - pad]);
        r[2 + i] = ch;
        r[11 + i] = ch;
    }
}

bool VirtualRadio::PasswordProtected() const
{
    const auto& list = Records(0xFC);
    return !list.empty() && list[0].size() > 1 && (list[0][1] & 0x80) != 0;
}

void VirtualRadio::SetServicePassword(std::string_view password)
{
    std::fill_n(serviceMemory_.begin() + kServicePasswordAddress, kServicePasswordBytes,
                password.empty() ? 0xFF : 0x00);
    std::copy_n(password.begin(), std::min(password.size(), kServicePasswordBytes),
                serviceMemory_.begin() + kServicePasswordAddress);
}

std::string VirtualRadio::ServicePassword() const
{
    const auto first = serviceMemory_.begin() + kServicePasswordAddress;
    if (*first == 0x00 || *first == 0xFF)
        return {};
    const auto last = std::find_if(first, first + kServicePasswordBytes, [](std::uint8_t b) { return b == 0 || b == 0xFF; });
    return std::string(first, last);
}

bool VirtualRadio::LoadServiceMemory(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() != kServiceMemoryBytes)
        return false;
    serviceMemory_ = std::move(bytes);
    return true;
}

bool VirtualRadio::SaveServiceMemory(const std::filesystem::path& path) const
{
    return ReplaceFileContents(path, serviceMemory_).ok();
}

std::vector<std::string> VirtualRadio::EventTexts() const
{
    std::vector<std::string> out;
    for (const RadioEvent& e : events_)
        out.push_back(e.text);
    return out;
}

// ------------------------------------------------------------------ fleet

namespace {
constexpr std::uint8_t kRadioInfoCode = 0xDA;
constexpr std::size_t kRadioInfoBytes = 30;
constexpr std::size_t kSerialAt = 2;  // NUL-terminated text to the end of the record
}  // namespace

void VirtualRadio::SetFleet(const FleetSwitches& fleet)
{
    fleet_ = fleet;
    serial_ = fleet.firstSerial;
    radiosWritten_ = 0;
    unplugged_ = false;
    fleetStock_ = records_;
    StampSerial();
}

void VirtualRadio::StampSerial()
{
    auto& info = records_[kRadioInfoCode];
    if (info.empty())
        info.emplace_back(kRadioInfoBytes, 0);
    Bytes& record = info[0];
    record.resize(std::max(record.size(), kRadioInfoBytes), 0);
    char text[16];
    std::snprintf(text, sizeof text, "SIM%08u", static_cast<unsigned>(serial_ % 100000000u));
    std::fill(record.begin() + kSerialAt, record.end(), 0);
    for (std::size_t i = 0; text[i] != 0 && kSerialAt + i + 1 < record.size(); ++i)
        record[kSerialAt + i] = static_cast<std::uint8_t>(text[i]);
}

bool VirtualRadio::Present(Clock::Time at) const
{
    if (!fleet_.enabled)
        return true;
    if (at < fleet_.appearAfter)
        return false;
    if (!unplugged_)
        return true;
    if (fleet_.radios > 0 && radiosWritten_ >= fleet_.radios)
        return false;
    return at >= backAt_;
}

// A byte while the fleet is on: the next radio takes the place of an unplugged one.
void VirtualRadio::FleetByte(Clock::Time at)
{
    if (!unplugged_ || !Present(at))
        return;
    unplugged_ = false;
    records_ = fleetStock_;
    ++serial_;
    StampSerial();
    session_ = Session::None;
    unlocked_ = false;
    writing_ = false;
    rewritten_.clear();
    mode_ = Mode::Idle;
    frame_.clear();
    identified_ = false;
    dataPending_ = false;
    cut_ = false;
    recordReplies_ = 0;
    Event(at, "radio plugged in: serial " + std::to_string(serial_));
}

void VirtualRadio::ClearHistory()
{
    received_.clear();
    events_.clear();
    violations_.clear();
}

namespace {
// Keeps the newest entries: past the limit the oldest half goes.
template <typename T>
void Bound(std::vector<T>& log, std::size_t limit)
{
    if (log.size() >= limit)
        log.erase(log.begin(), log.begin() + static_cast<std::ptrdiff_t>(limit / 2));
}
}  // namespace

void VirtualRadio::Event(Clock::Time at, std::string text)
{
    Bound(events_, kMaxEvents);
    events_.push_back({at, std::move(text)});
    if (onEvent)
        onEvent(events_.back());
}

void VirtualRadio::Violation(Clock::Time at, std::string text)
{
    Event(at, "violation: " + text);
    Bound(violations_, kMaxViolations);
    violations_.push_back(std::move(text));
}

// ------------------------------------------------------------------ transmitter

std::vector<TimedByte> VirtualRadio::TakeOutput()
{
    std::vector<TimedByte> out;
    out.swap(output_);
    std::stable_sort(out.begin(), out.end(), [](const TimedByte& a, const TimedByte& b) { return a.at < b.at; });
    return out;
}

std::uint8_t VirtualRadio::NextGarbage()
{
    if (!garbageSeeded_) {
        garbageState_ = faults_.garbageSeed;
        garbageSeeded_ = true;
    }
    std::uint32_t x = garbageState_ ? garbageState_ : 1;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    garbageState_ = x;
    return static_cast<std::uint8_t>(x >> 11);
}

void VirtualRadio::ApplyOwnCheckRule(std::vector<std::uint8_t>& f) const
{
    if (!faults_.ownCheckRule || f.size() < 10)
        return;
    std::uint8_t x = 0;
    for (std::size_t i = 0; i + 1 < f.size(); ++i)
        x ^= f[i];
    f.back() = x;
}

void VirtualRadio::Reply(std::vector<std::uint8_t> bytes, Clock::Time after, bool programming)
{
    if (programming)
        ApplyOwnCheckRule(bytes);
    Transmit(std::move(bytes), after, programming);
}

void VirtualRadio::RecordReply(std::vector<std::uint8_t> f, Clock::Time after, bool read)
{
    const bool data = read && f.size() > 10 && f[6] != kDone;
    ++recordRepliesSent_;
    if (faults_.damageEvery > 1 && recordRepliesSent_ % static_cast<std::uint64_t>(faults_.damageEvery) != 0) {
        ApplyOwnCheckRule(f);  // this one comes whole
        Transmit(std::move(f), after, true);
        return;
    }
    if (faults_.foreignRecord && data) {
        f[6] = f[6] == 0xF4 ? 0xF5 : 0xF4;
        f[7] ^= 0x01;
        std::uint8_t x = 0;
        for (std::size_t i = 4; i + 1 < f.size(); ++i)
            x ^= f[i];
        f.back() = x;
    }
    ApplyOwnCheckRule(f);
    if (faults_.garbagePayload && data)
        for (std::size_t i = 8; i + 2 < f.size(); ++i)
            f[i] = NextGarbage();
    ++damagedReplies_;
    if (faults_.badCheck && !f.empty())
        f.back() ^= static_cast<std::uint8_t>(1 + damagedReplies_ % 255);
    if (faults_.recordCut >= 0 && f.size() > static_cast<std::size_t>(faults_.recordCut))
        f.resize(static_cast<std::size_t>(faults_.recordCut));
    Transmit(std::move(f), after, true);
}

void VirtualRadio::Transmit(std::vector<std::uint8_t> bytes, Clock::Time after, bool programming)
{
    if (faults_.silent || cut_)
        return;
    if (txFree_ - after > kMaxTransmitBacklog) {
        // Still busy with earlier replies far beyond this request: a flood of requests gets no
        // more answers until the transmitter has caught up.
        Violation(after, "reply dropped: transmitter busy");
        return;
    }
    if (faults_.garbageOnly)
        for (auto& b : bytes)
            b = NextGarbage();
    if (faults_.wrongPrefix && programming && bytes.size() > 2)
        bytes[2] = 0x60;
    if (faults_.shortReply >= 0 && bytes.size() > static_cast<std::size_t>(faults_.shortReply))
        bytes.resize(static_cast<std::size_t>(faults_.shortReply));
    Bytes noise;
    for (std::size_t i = 0; i < faults_.garbageBefore; ++i)
        noise.push_back(NextGarbage());
    bytes.insert(bytes.begin(), noise.begin(), noise.end());

    Clock::Time t = std::max(after + setup_.turnaround + faults_.extraDelay, txFree_);
    for (std::uint8_t b : bytes) {
        t += kByteTime;
        output_.push_back({b, t});
        t += faults_.byteGap;
    }
    txFree_ = t;
}

namespace {
// A reply frame as the radio builds it: marker, L, direction, A, V, payload, 2F, XOR from L.
Bytes ReplyFrame(std::uint8_t direction, std::uint8_t a, std::uint8_t v, std::span<const std::uint8_t> payload)
{
    Bytes f = {0x84, 0xA9, 0x61, 0x00, static_cast<std::uint8_t>(payload.size() + 4), direction, a, v};
    f.insert(f.end(), payload.begin(), payload.end());
    f.push_back(kEnd);
    std::uint8_t x = 0;
    for (std::size_t i = 4; i < f.size(); ++i)
        x ^= f[i];
    f.push_back(x);
    return f;
}
Bytes Done(std::uint8_t v) { return ReplyFrame(kToRadio, kDone, v, {}); }
}  // namespace

std::vector<std::uint8_t> VirtualRadio::Ack(std::uint16_t length) const
{
    return {0x06, static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length), 0x00};
}

std::vector<std::uint8_t> VirtualRadio::Nak() const { return {kNak, 0x00, 0x00, 0x00}; }

std::uint8_t VirtualRadio::StateByte() const
{
    if (setup_.identifyState)
        return *setup_.identifyState;
    return ServicePassword().empty() ? 0 : 2;
}

// ------------------------------------------------------------------ receiver

void VirtualRadio::HostByte(std::uint8_t value, Clock::Time at)
{
    if (fleet_.enabled) {
        FleetByte(at);
        if (!Present(at))
            return;  // no radio on the cable: the byte goes nowhere
    }
    Bound(received_, kMaxReceivedRecord);
    received_.push_back(value);
    if (setup_.echo)
        output_.push_back({value, at});  // the one-wire cable hands every byte straight back

    const Clock::Duration gap = at - lastByteAt_;
    lastByteAt_ = at;
    if (mode_ == Mode::WriteData && frame_.empty() && gap > kWriteDataTimeout) {
        Violation(at, "write data did not come; write abandoned");
        mode_ = Mode::Idle;
    } else if (mode_ != Mode::Idle && !frame_.empty() && gap > setup_.frameTimeout) {
        Violation(at, "incomplete frame dropped: " + Hex(frame_));
        frame_.clear();
        mode_ = Mode::Idle;  // a broken write chunk ends the write as well
    }

    if (mode_ == Mode::Idle && gap > kServiceIdleTimeout) {
        // A second of silence ends an identified exchange: what follows starts afresh.
        identified_ = false;
        pairFirst_.clear();
        pairAccepted_ = false;
    }

    switch (mode_) {
    case Mode::Idle:
        HostByteIdle(value, at);
        return;
    case Mode::Programming: {
        static constexpr std::uint8_t kMarker[4] = {0x84, 0xA9, 0x61, 0x00};
        frame_.push_back(value);
        const std::size_t n = frame_.size();
        if (n <= 4 && frame_[n - 1] != kMarker[n - 1]) {
            Violation(at, "bad frame marker: " + Hex(frame_));
            frame_.clear();
            mode_ = Mode::Idle;
            if (value == 0x84) {
                mode_ = Mode::Programming;
                frame_.assign(1, value);
            }
            return;
        }
        if (n == 5) {
            if (value < 4) {  // direction, A, V and the terminator at least
                Violation(at, "frame length byte too small: " + Hex(frame_));
                frame_.clear();
                mode_ = Mode::Idle;
                return;
            }
            frameWanted_ = 5 + static_cast<std::size_t>(value) + 1;
        }
        if (n >= 5 && n == frameWanted_)
            HandleProgrammingFrame(at);
        return;
    }
    case Mode::Command:
        frame_.push_back(value);
        if (wordFrame_ && !WordSoFar(frame_)) {
            // Not a command word after all: the letter was noise. Skip it and take this byte
            // afresh, so a frame that follows noise is not swallowed.
            frame_.clear();
            mode_ = Mode::Idle;
            wordFrame_ = false;
            HostByteIdle(value, at);
            return;
        }
        if (frame_.size() == 10)
            HandleCommandFrame(at);
        return;
    case Mode::WriteData:
        frame_.push_back(value);
        if (frame_.size() == std::min(kWriteChunk, writeRemaining_) + 2)
            HandleWriteChunk(at);
        return;
    }
}

void VirtualRadio::HostByteIdle(std::uint8_t value, Clock::Time at)
{
    if (value == 0x84) {
        mode_ = Mode::Programming;
        frame_.assign(1, value);
    } else if (IsWordStart(value) || (identified_ && !IsControl(value))) {
        mode_ = Mode::Command;
        // After an identify any byte may begin the half of a password pair; otherwise only a
        // command word can follow.
        wordFrame_ = !identified_;
        frame_.assign(1, value);
    } else {
        HandleControl(value, at);
    }
}

void VirtualRadio::HandleControl(std::uint8_t value, Clock::Time at)
{
    switch (value) {
    case 0x5A:
        Event(at, "wake");
        identified_ = false;
        pairFirst_.clear();
        pairAccepted_ = false;
        Reply({0x05}, at, false);
        return;
    case 0xA5:
    case 0xAA: {
        Event(at, value == 0xA5 ? "identify" : "identify alt");
        identified_ = true;
        pairFirst_.clear();
        Bytes answer = {0x05, StateByte()};
        answer.insert(answer.end(), setup_.identifyData.begin(), setup_.identifyData.end());
        Reply(answer, at, false);
        return;
    }
    case 0x05:
        if (dataPending_) {
            dataPending_ = false;
            Event(at, "send data (" + std::to_string(pendingData_.size()) + " bytes)");
            Reply(pendingData_, at, false);
        }
        return;
    default:
        return;  // filler bytes between exchanges
    }
}

void VirtualRadio::HandleProgrammingFrame(Clock::Time at)
{
    const Bytes f = frame_;
    frame_.clear();
    mode_ = Mode::Idle;
    identified_ = false;
    dataPending_ = false;

    const std::uint8_t direction = f[5];
    const std::uint8_t a = f[6];
    const std::uint8_t v = f[7];
    if (a == 0x88) {
        HandleExtended(f, at);
        return;
    }
    // Regular frame: terminator and check byte must be right.
    std::uint8_t x = 0;
    for (std::size_t i = 4; i + 1 < f.size(); ++i)
        x ^= f[i];
    if (f[f.size() - 2] != kEnd || f.back() != x) {
        Violation(at, "bad terminator or check byte: " + Hex(f));
        return;
    }
    const std::span<const std::uint8_t> payload = std::span(f).subspan(8, f.size() - 10);
    if (a == 0xFF) {
        if (direction != kToRadio) {
            Violation(at, "session command with direction " + Hex2(direction));
            return;
        }
        HandleSessionCommand(payload, at);
    } else if (direction == kFromRadio) {
        if (!payload.empty()) {
            Violation(at, "record read with payload: " + Hex(f));
            return;
        }
        HandleRecordRead(a, v, at);
    } else if (direction == kToRadio) {
        HandleRecordWrite(a, v, payload, at);
    } else {
        Violation(at, "unknown direction: " + Hex(f));
    }
}

void VirtualRadio::HandleSessionCommand(std::span<const std::uint8_t> p, Clock::Time at)
{
    auto is = [&](std::initializer_list<std::uint8_t> want) {
        return p.size() == want.size() && std::equal(want.begin(), want.end(), p.begin());
    };
    if (is({0x00, 0x00, 0x00})) {
        session_ = Session::Read;
        unlocked_ = !PasswordProtected();
        writing_ = false;
        Event(at, unlocked_ ? "open read session" : "open read session (password)");
        Reply(Done(unlocked_ ? 0x00 : 0x04), at, true);
    } else if (is({0x00, 0x04, 0x00})) {
        session_ = Session::Write;
        unlocked_ = !PasswordProtected();
        writing_ = false;
        Event(at, unlocked_ ? "open write session" : "open write session (password)");
        Reply(Done(unlocked_ ? 0x00 : 0x05), at, true);
    } else if (p.size() == 10 && p[0] == 0x03) {
        if (session_ == Session::None) {
            Violation(at, "password outside a session");
            return;
        }
        const std::uint8_t kind = session_ == Session::Read ? 0x00 : 0x01;
        if (p[1] != kind)
            Violation(at, "password record for the other session kind: " + Hex(p));
        const auto& fc = Records(0xFC);
        const bool match = !fc.empty() && fc[0].size() >= 19 && std::equal(p.begin() + 2, p.end(), fc[0].begin() + 11);
        std::uint8_t answer = match ? 0x00 : (session_ == Session::Read ? 0x06 : 0x07);
        if (faults_.passwordAnswer)
            answer = *faults_.passwordAnswer;
        if (match && p[1] == kind)
            unlocked_ = true;
        Event(at, std::string(match ? "password accepted " : "password rejected ") + Hex(p.subspan(2)));
        Reply(Done(answer), at, true);
    } else if (is({0x04, 0x04})) {
        if (session_ != Session::Write || !unlocked_) {
            Violation(at, "begin write outside an open write session");
            return;
        }
        writing_ = true;
        rewritten_.clear();
        Event(at, "begin write");
        Reply(Done(0x00), at, true);
    } else if (is({0x00, 0x00, 0x01})) {
        if (session_ != Session::Read) {
            Violation(at, "close read session without one");
            return;
        }
        session_ = Session::None;
        ++readSessionsClosed_;
        Event(at, "close read session");
        Reply(Done(0x00), at, true);
    } else if (is({0x00, 0x04, 0x01})) {
        if (session_ != Session::Write) {
            Violation(at, "close write session without one");
            return;
        }
        session_ = Session::None;
        writing_ = false;
        ++writeSessionsClosed_;
        Event(at, "close write session");
        Reply(Done(0x00), at, true);
        if (fleet_.enabled) {
            // Written: the dealer unplugs this radio once its last reply is out.
            ++radiosWritten_;
            unplugged_ = true;
            backAt_ = std::max(txFree_, at) + fleet_.absentFor;
        }
        if (onWriteSessionClosed)
            onWriteSessionClosed();
    } else {
        Violation(at, "unknown session command: " + Hex(p));
    }
}

void VirtualRadio::HandleExtended(std::span<const std::uint8_t> f, Clock::Time at)
{
    const std::uint8_t direction = f[5];
    const std::uint8_t v = f[7];
    const std::span<const std::uint8_t> body = f.subspan(8);
    auto starts = [&](std::initializer_list<std::uint8_t> want) {
        return body.size() >= want.size() && std::equal(want.begin(), want.end(), body.begin());
    };
    auto inSession = [&]() { return session_ != Session::None && unlocked_; };

    if (v == 0xF3 && direction == kToRadio && starts({0x28, 0x00})) {
        Event(at, "prepare write");
        const Bytes p = {0x28, 0x00};
        Reply(ReplyFrame(kToRadio, 0x88, 0xF3, p), at, true);
    } else if (v == 0xF4 && direction == kFromRadio && starts({0xF0, 0x00, 0x00})) {
        Event(at, "write target query");
        Bytes p = {0xF0, 0x00, 0x00, 'Z', 'R', '-', '7', '4', '0', 'N', 'V'};
        p.resize(20, 0);
        Reply(ReplyFrame(kFromRadio, 0x88, 0xF4, p), at, true);
    } else if (v == 0xF4 && direction == kFromRadio && starts({0xFC, 0x00, 0x00})) {
        Event(at, "device info");
        Bytes p = {0xFC, 0x00, 0x00, 'Z', 'R', '-', '7', '4', '0', 'N', 'V'};
        p.resize(22, 0);
        Reply(ReplyFrame(kFromRadio, 0x88, 0xF4, p), at, true);
    } else if (v == 0xF4 && direction == kFromRadio && starts({0xF7, 0x00, 0x1D})) {
        if (!inSession()) {
            Violation(at, "extra A read outside a session");
            return;
        }
        Event(at, "read extra A");
        Bytes p = {0xF7, 0x00, 0x1D};
        p.insert(p.end(), extraA_.begin(), extraA_.end());
        Reply(ReplyFrame(kFromRadio, 0x88, 0xF4, p), at, true);
    } else if (v == 0xF4 && direction == kToRadio && body.size() == 5 && starts({0xF9, 0x00, 0x04})) {
        if (!inSession() || !writing_) {
            Violation(at, "extra B write outside a write");
            return;
        }
        extraB_ = static_cast<std::uint16_t>(body[3] << 8 | body[4]);
        Event(at, "write extra B " + Hex(body.subspan(3, 2)));
        Reply(Done(0x00), at, true);
    } else if (v == 0xF4 && direction == kToRadio && body.size() == 10 && starts({0xF7, 0x00, 0x1D})) {
        if (!inSession() || !writing_) {
            Violation(at, "extra A write outside a write");
            return;
        }
        if (!std::all_of(body.begin() + 6, body.end(), [](std::uint8_t b) { return b == 0xFF; }))
            Violation(at, "extra A write without its FF filler: " + Hex(body));
        std::copy_n(body.begin() + 3, 3, extraA_.begin());
        Event(at, "write extra A " + Hex(body.subspan(3, 3)));
        Reply(Done(0x00), at, true);
    } else {
        Violation(at, "unknown extended frame: " + Hex(f));
    }
}

void VirtualRadio::HandleRecordRead(std::uint8_t code, std::uint8_t index, Clock::Time at)
{
    if (session_ == Session::None) {
        Violation(at, "record read outside a session: " + Hex2(code));
        return;
    }
    if (!unlocked_ && code != 0xFC) {
        Violation(at, "record read before the password: " + Hex2(code));
        return;
    }
    if (code == 0xF9) {  // the 16-bit value behind ReadExtraB, inside a 40-byte record
        Bytes p(40, 0);
        p[14] = 0x01;
        p[15] = static_cast<std::uint8_t>(extraB_ >> 8);
        p[16] = static_cast<std::uint8_t>(extraB_);
        Event(at, "read extra B");
        Reply(ReplyFrame(kFromRadio, 0xF9, index, p), at, true);
        return;
    }
    const RadioBlock* block = FindBlock(code);
    if (!block) {
        Violation(at, "read of unknown block code " + Hex2(code));
        return;
    }
    if (faults_.cutAfterRecords >= 0 && recordReplies_ >= faults_.cutAfterRecords)
        cut_ = true;
    ++recordReplies_;
    const auto& list = Records(code);
    if (index >= list.size()) {
        Event(at, "no record " + Hex2(code) + " " + std::to_string(index));
        Bytes f = ReplyFrame(kFromRadio, kDone, index, Bytes(faults_.shortEndOfList ? 0 : block->bytes, 0));
        RecordReply(f, at, true);
        return;
    }
    Event(at, "read " + Hex2(code) + " " + std::to_string(index));
    RecordReply(ReplyFrame(kFromRadio, code, index, list[index]), at, true);
}

void VirtualRadio::HandleRecordWrite(std::uint8_t code, std::uint8_t index, std::span<const std::uint8_t> data,
                                     Clock::Time at)
{
    if (session_ != Session::Write || !unlocked_ || !writing_) {
        Violation(at, "record write outside a write: " + Hex2(code));
        return;
    }
    const RadioBlock* block = FindBlock(code);
    if (!block) {
        Violation(at, "write of unknown block code " + Hex2(code));
        return;
    }
    if (data.size() != block->bytes) {
        Violation(at, "write of " + Hex2(code) + " with " + std::to_string(data.size()) + " bytes, not " +
                          std::to_string(block->bytes));
        return;
    }
    auto& list = records_[code];
    if (!rewritten_[code]) {  // a write session replaces each list it sends
        list.clear();
        rewritten_[code] = true;
    }
    if (index >= block->capacity || index > list.size()) {
        Violation(at, "write of " + Hex2(code) + " record " + std::to_string(index) + " out of order");
        return;
    }
    if (faults_.cutAfterRecords >= 0 && recordReplies_ >= faults_.cutAfterRecords)
        cut_ = true;
    ++recordReplies_;
    if (index == list.size())
        list.emplace_back(data.begin(), data.end());
    else
        list[index].assign(data.begin(), data.end());
    Event(at, "write " + Hex2(code) + " " + std::to_string(index));
    RecordReply(Done(index), at, false);
}

void VirtualRadio::HandleCommandFrame(Clock::Time at)
{
    const Bytes f = frame_;
    frame_.clear();
    mode_ = Mode::Idle;

    if (std::all_of(f.begin(), f.end(), [](std::uint8_t b) { return b == 0xFF; })) {
        Event(at, "identify end");
        identified_ = false;
        pairFirst_.clear();
        Reply(Ack(0), at, false);
        return;
    }
    const bool crcOk = CrcOk(f);
    auto word = [&](std::string_view w) { return std::equal(w.begin(), w.end(), f.begin()); };
    const std::span<const std::uint8_t> param = std::span(f).subspan(4, 4);
    // An identify opens one exchange: a command word, or the two halves of the password.
    if (crcOk && (word("key") || word("dbg") || word("read") || word("writ")))
        identified_ = false;

    if (crcOk && word("key")) {
        const std::uint8_t sub = f[3];
        if (sub == 0x81) {
            Event(at, "key query " + Hex(param));
            pendingData_.assign(setup_.keyAnswer.begin(),
                                setup_.keyAnswer.begin() + std::min(setup_.keyAnswerBytes, setup_.keyAnswer.size()));
            dataPending_ = true;
            Reply(Ack(static_cast<std::uint16_t>(pendingData_.size())), at, false);
        } else if (sub == 0x01) {
            Event(at, "key set " + Hex(param));
            Reply(Ack(0), at, false);
        } else {
            Violation(at, "unknown key command " + Hex(f));
        }
    } else if (crcOk && word("dbg")) {
        const std::uint8_t sub = f[3];
        if (sub == 0x93) {
            Event(at, "dbg 93 " + Hex(param));
            const auto it = setup_.groups.find(param[1]);
            if (param[0] != 0x1D || it == setup_.groups.end()) {
                Reply(Nak(), at, false);
                return;
            }
            const RadioSetup::Group& g = it->second;
            pendingData_ = {static_cast<std::uint8_t>(g.address), static_cast<std::uint8_t>(g.address >> 8),
                            static_cast<std::uint8_t>(g.size), static_cast<std::uint8_t>(g.size >> 8), g.count};
            AppendCrc(pendingData_);
            dataPending_ = true;
            Reply(Ack(5), at, false);
        } else if (sub >= 0x80) {
            Event(at, "dbg " + Hex2(sub) + " " + Hex(param));
            pendingData_ = {0, 0, 0, 0};
            AppendCrc(pendingData_);
            dataPending_ = true;
            Reply(Ack(4), at, false);
        } else {
            Event(at, "dbg " + Hex2(sub) + " " + Hex(param));
            Reply(Ack(0), at, false);
        }
    } else if (crcOk && (word("read") || word("writ"))) {
        const auto address = static_cast<std::uint16_t>(f[4] << 8 | f[5]);
        const auto count = static_cast<std::uint16_t>(f[6] << 8 | f[7]);
        const bool reading = word("read");
        Event(at, std::string(reading ? "read " : "writ ") + Hex4(address) + " " + std::to_string(count));
        if (count == 0 || static_cast<std::size_t>(address) + count > kServiceMemoryBytes) {
            Violation(at, "service address range outside memory");
            Reply(Nak(), at, false);
            return;
        }
        if (reading) {
            pendingData_.assign(serviceMemory_.begin() + address, serviceMemory_.begin() + address + count);
            AppendCrc(pendingData_);
            dataPending_ = true;
            Reply(Ack(count), at, false);
        } else {
            const bool touchesPassword = address < kServicePasswordAddress + kServicePasswordBytes &&
                                         address + count > kServicePasswordAddress;
            if (touchesPassword && !ServicePassword().empty() && !pairAccepted_) {
                Event(at, "writ refused: the password was not given");
                Reply(Nak(), at, false);
                return;
            }
            writeAddress_ = address;
            writeRemaining_ = count;
            writeCollected_.clear();
            mode_ = Mode::WriteData;
            Reply(Ack(0), at, false);
        }
    } else if (crcOk && identified_) {
        HandlePairHalf(f, at);
    } else {
        Violation(at, std::string(crcOk ? "unknown command " : "bad CRC on command ") + Hex(f));
    }
}

void VirtualRadio::HandlePairHalf(std::span<const std::uint8_t> f, Clock::Time at)
{
    if (pairFirst_.empty()) {
        pairFirst_.assign(f.begin(), f.begin() + 8);
        Event(at, "pair first half");
        Reply(Ack(0), at, false);
        return;
    }
    Bytes record = pairFirst_;
    record.insert(record.end(), f.begin(), f.begin() + 8);
    pairFirst_.clear();
    identified_ = false;
    const bool match = std::equal(record.begin(), record.end(), serviceMemory_.begin() + kServicePasswordAddress);
    pairAccepted_ = match;
    Event(at, match ? "pair accepted" : "pair rejected");
    Reply(match ? Ack(0) : Nak(), at, false);
}

void VirtualRadio::HandleWriteChunk(Clock::Time at)
{
    const Bytes chunk = frame_;
    frame_.clear();
    if (!CrcOk(chunk)) {
        Violation(at, "bad CRC on write data");
        mode_ = Mode::Idle;
        Reply(Nak(), at, false);
        return;
    }
    writeCollected_.insert(writeCollected_.end(), chunk.begin(), chunk.end() - 2);
    writeRemaining_ -= chunk.size() - 2;
    Event(at, "write chunk " + std::to_string(chunk.size() - 2));
    if (writeRemaining_ == 0) {
        std::copy(writeCollected_.begin(), writeCollected_.end(), serviceMemory_.begin() + writeAddress_);
        mode_ = Mode::Idle;
        pairAccepted_ = false;
        if (onServiceWrite)
            onServiceWrite();
    }
    Reply(Ack(0), at, false);
}
