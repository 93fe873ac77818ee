#include "forms/dmr/AlarmRules.h"

#include <algorithm>

namespace emergency {

namespace {

namespace D = DigitalAlarmField;
namespace A = AnalogAlarmField;

// A byte list: entry p stores p + base.
struct ByteList {
    std::size_t offset;
    int entries;
    int base;
};

int PositionOf(const ByteList& list, std::uint8_t stored)
{
    const int position = static_cast<int>(stored) - list.base;
    return position >= 0 && position < list.entries ? position : -1;
}

void Store(std::span<std::uint8_t> record, const ByteList& list, int position)
{
    record[list.offset] = static_cast<std::uint8_t>(position + list.base);
}

constexpr ByteList kType{D::Type, 5, 0};
constexpr ByteList kMode{D::Mode, 3, 0};
constexpr ByteList kImpolite{D::ImpoliteCount, 256, 0};
constexpr ByteList kPolite{D::PoliteCount, 256, 0};
constexpr ByteList kRepeat{D::RepeatCount, 255, 1};
constexpr ByteList kHotMic{D::HotMicDuration, 12, 1};
constexpr ByteList kInterval{D::CallInterval, 255, 1};
constexpr ByteList kDuration{D::Duration, 255, 1};

constexpr ByteList kLocalTone{A::LocalToneDuration, 255, 1};
constexpr ByteList kToneCount{A::ToneRepeatCount, 255, 1};
constexpr ByteList kVoiceCount{A::VoiceRepeatCount, 255, 1};
constexpr ByteList kTransmit{A::TransmitDuration, 255, 1};
constexpr ByteList kReceive{A::ReceiveDuration, 255, 1};

constexpr int kRepeatModes = 3;
constexpr int kSquelchModes = 3;
constexpr std::uint8_t kTwoBits = 0x03, kThreeBits = 0x07;
constexpr int kModeRepeating = 2;  // a repeat mode whose count applies

// The in-use bit of each table.
struct DigitalUse {
    static bool Get(std::span<const std::uint8_t> r) { return (r[D::Flags] & D::kInUse) != 0; }
    static void Set(std::span<std::uint8_t> r, bool on)
    {
        r[D::Flags] = static_cast<std::uint8_t>(on ? r[D::Flags] | D::kInUse : r[D::Flags] & ~D::kInUse);
    }
};
struct AnalogUse {
    static bool Get(std::span<const std::uint8_t> r) { return (r[A::Flags] & A::kInUse) != 0; }
    static void Set(std::span<std::uint8_t> r, bool on)
    {
        r[A::Flags] = static_cast<std::uint8_t>(on ? r[A::Flags] | A::kInUse : r[A::Flags] & ~A::kInUse);
    }
};

template <typename Use, typename Table>
std::size_t CountInUse(const Table& table)
{
    std::size_t n = 0;
    while (n < Table::kCapacity && Use::Get(table.record(n)))
        ++n;
    return n;
}

template <typename Use, typename Table>
bool Add(Table& table)
{
    for (std::size_t i = 0; i < Table::kCapacity; ++i) {
        if (!Use::Get(table.record(i))) {
            Use::Set(table.record(i), true);
            return true;
        }
    }
    return false;
}

template <typename Use, typename Table>
std::uint32_t Delete(Table& table, std::uint32_t current)
{
    const std::size_t n = CountInUse<Use>(table);
    if (n > 1 && current < n) {
        for (std::size_t i = current + 1; i < n; ++i) {
            const auto from = table.record(i);
            std::copy(from.begin(), from.end(), table.record(i - 1).begin());
        }
        Use::Set(table.record(n - 1), false);
    }
    return Use::Get(table.record(RecordShown(current))) ? current : 0;
}

// A field of `bits` at `shift` of one byte; values beyond `entries` show no selection.
int BitsPosition(std::uint8_t byte, unsigned shift, std::uint8_t bits, int entries)
{
    const int value = (byte >> shift) & bits;
    return value < entries ? value : -1;
}

void StoreBits(std::uint8_t& byte, unsigned shift, std::uint8_t bits, int value)
{
    if (value < 0)
        return;  // no selection: the bits stay
    byte = static_cast<std::uint8_t>((byte & ~(bits << shift)) | ((value & bits) << shift));
}

constexpr std::uint8_t kAlarmModeOfPosition[] = {0, 1, 3};

}  // namespace

bool InUse(const DigitalAlarmTable& table, std::size_t index) { return DigitalUse::Get(table.record(index)); }
bool InUse(const AnalogAlarmTable& table, std::size_t index) { return AnalogUse::Get(table.record(index)); }

std::size_t SystemsInUse(const DigitalAlarmTable& table) { return CountInUse<DigitalUse>(table); }
std::size_t SystemsInUse(const AnalogAlarmTable& table) { return CountInUse<AnalogUse>(table); }

bool AddSystem(DigitalAlarmTable& table) { return Add<DigitalUse>(table); }
bool AddSystem(AnalogAlarmTable& table) { return Add<AnalogUse>(table); }

std::uint32_t DeleteSystem(DigitalAlarmTable& table, std::uint32_t current) { return Delete<DigitalUse>(table, current); }
std::uint32_t DeleteSystem(AnalogAlarmTable& table, std::uint32_t current) { return Delete<AnalogUse>(table, current); }

std::uint32_t StepIndex(Step step, std::uint32_t current, std::size_t inUse)
{
    const std::uint32_t last = inUse > 0 ? static_cast<std::uint32_t>(inUse - 1) : 0;
    switch (step) {
    case Step::First: return 0;
    case Step::Previous: return current > 0 ? std::min<std::uint32_t>(current - 1, kSystems - 1) : 0;
    case Step::Next: return std::min(current + 1, last);
    case Step::Last: return last;
    }
    return current;
}

std::size_t RecordShown(std::uint32_t current) { return std::min<std::size_t>(current, kSystems - 1); }

DigitalAlarmEntries ShowDigital(std::span<const std::uint8_t, 35> r)
{
    DigitalAlarmEntries e;
    e.type = PositionOf(kType, r[kType.offset]);
    e.mode = PositionOf(kMode, r[kMode.offset]);
    e.impoliteCount = PositionOf(kImpolite, r[kImpolite.offset]);
    e.politeCount = PositionOf(kPolite, r[kPolite.offset]);
    e.repeatCount = PositionOf(kRepeat, r[kRepeat.offset]);
    e.hotMicDuration = PositionOf(kHotMic, r[kHotMic.offset]);
    e.callInterval = PositionOf(kInterval, r[kInterval.offset]);
    e.duration = PositionOf(kDuration, r[kDuration.offset]);
    e.remoteAllowed = (r[D::Flags] & D::kRemoteAllowed) != 0;
    const auto alias = r.subspan(D::Alias, D::kAliasBytes);
    e.alias.assign(alias.begin(), std::find(alias.begin(), alias.end(), 0));
    return e;
}

void CommitDigital(DigitalAlarmRecord r, const DigitalAlarmEntries& e)
{
    auto alias = r.subspan(D::Alias, D::kAliasBytes);
    std::fill(alias.begin(), alias.end(), 0);
    std::copy_n(e.alias.begin(), std::min(e.alias.size(), D::kAliasBytes), alias.begin());
    Store(r, kType, e.type);
    Store(r, kMode, e.mode);
    Store(r, kImpolite, e.impoliteCount);
    Store(r, kPolite, e.politeCount);
    Store(r, kRepeat, e.repeatCount);
    Store(r, kHotMic, e.hotMicDuration);
    Store(r, kInterval, e.callInterval);
    Store(r, kDuration, e.duration);
    r[D::Flags] = static_cast<std::uint8_t>(e.remoteAllowed ? r[D::Flags] | D::kRemoteAllowed
                                                            : r[D::Flags] & ~D::kRemoteAllowed);
}

bool DigitalDetailsEnabled(std::span<const std::uint8_t, 35> r) { return r[D::Type] >= 2 && r[D::Type] <= 4; }

AnalogAlarmEntries ShowAnalog(std::span<const std::uint8_t, 50> r)
{
    AnalogAlarmEntries e;
    const std::uint8_t modes = r[A::Modes];
    switch ((modes >> A::kAlarmModeShift) & kTwoBits) {
    case 0: e.alarmMode = 0; break;
    case 1: e.alarmMode = 1; break;
    case 3: e.alarmMode = 2; break;
    default: e.alarmMode = kLeaveSelection; break;
    }
    e.toneRepeatMode = BitsPosition(modes, A::kToneRepeatShift, kThreeBits, kRepeatModes);
    e.voiceRepeatMode = BitsPosition(modes, A::kVoiceRepeatShift, kThreeBits, kRepeatModes);
    e.squelchMode = BitsPosition(r[A::Squelch], 0, kTwoBits, kSquelchModes);
    e.localToneDuration = PositionOf(kLocalTone, r[kLocalTone.offset]);
    e.toneRepeatCount = PositionOf(kToneCount, r[kToneCount.offset]);
    e.voiceRepeatCount = PositionOf(kVoiceCount, r[kVoiceCount.offset]);
    e.transmitDuration = PositionOf(kTransmit, r[kTransmit.offset]);
    e.receiveDuration = PositionOf(kReceive, r[kReceive.offset]);
    e.backgroundTone = (r[A::Flags] & A::kBackgroundTone) != 0;
    return e;
}

void CommitAnalog(AnalogAlarmRecord r, const AnalogAlarmEntries& e)
{
    r[A::Flags] = static_cast<std::uint8_t>(r[A::Flags] & ~A::kBackgroundTone);
    if (e.alarmMode >= 0 && e.alarmMode < 3)
        StoreBits(r[A::Modes], A::kAlarmModeShift, kTwoBits, kAlarmModeOfPosition[e.alarmMode]);
    StoreBits(r[A::Modes], A::kToneRepeatShift, kThreeBits, e.toneRepeatMode);
    StoreBits(r[A::Modes], A::kVoiceRepeatShift, kThreeBits, e.voiceRepeatMode);
    StoreBits(r[A::Squelch], 0, kTwoBits, e.squelchMode);
    Store(r, kLocalTone, e.localToneDuration);
    Store(r, kToneCount, e.toneRepeatCount);
    Store(r, kVoiceCount, e.voiceRepeatCount);
    Store(r, kTransmit, e.transmitDuration);
    Store(r, kReceive, e.receiveDuration);
}

AnalogAlarmEnabling AnalogEnabling(std::span<const std::uint8_t, 50> r)
{
    AnalogAlarmEnabling on;
    const std::uint8_t modes = r[A::Modes];
    const int alarmMode = (modes >> A::kAlarmModeShift) & kTwoBits;
    const int toneMode = (modes >> A::kToneRepeatShift) & kThreeBits;
    const int voiceMode = (modes >> A::kVoiceRepeatShift) & kThreeBits;
    if (alarmMode == 1 || alarmMode == 3) {
        on.localToneDuration = true;
        on.toneRepeatMode = true;
        on.toneRepeatCount = toneMode == kModeRepeating;
    }
    if (alarmMode == 3) {
        on.voiceRepeatMode = true;
        on.voiceRepeatCount = voiceMode == kModeRepeating;
        on.squelchMode = true;
        on.transmitDuration = true;
        on.receiveDuration = true;
    }
    return on;
}

}  // namespace emergency
