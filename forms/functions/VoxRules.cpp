#include "forms/functions/VoxRules.h"

namespace {

constexpr int kLevels = 9;
constexpr int kDelays = 20;
constexpr int kAgcMinEntries = 10;
constexpr int kAgcMaxEntries = 15;

int InList(int position, int entries) { return position >= 0 && position < entries ? position : -1; }

std::vector<std::string> Numbers(int first, int step, int count)
{
    std::vector<std::string> entries;
    for (int i = 0; i < count; ++i)
        entries.push_back(std::to_string(first + step * i));
    return entries;
}

std::uint8_t WithBit(std::uint8_t bits, std::uint8_t mask, bool on)
{
    return static_cast<std::uint8_t>(on ? bits | mask : bits & ~mask);
}

}  // namespace

VoxControls ShowVox(const VoxSettings& s)
{
    VoxControls c;
    c.level = InList(s.level - 1, kLevels);
    c.delay = InList(s.delay, kDelays);
    c.voxOn = (s.options & VoxBits::kVoxOn) != 0;
    c.inhibitWhileReceiving = (s.options & VoxBits::kInhibitWhileReceiving) != 0;
    c.pttCancelsVox = (s.options & VoxBits::kPttCancelsVox) != 0;
    c.promptTone = (s.options & VoxBits::kPromptTone) != 0;
    c.agcOn = (s.agc & VoxBits::kAgcOn) != 0;
    c.agcMin = InList(s.agcMin, kAgcMinEntries);
    c.agcMax = InList(s.agcMax, kAgcMaxEntries);
    c.analogGain = s.gains & 0x0F;
    c.digitalGain = s.gains >> 4;
    c.voxControlsEnabled = c.voxOn;
    c.agcListsEnabled = c.agcOn;
    return c;
}

void CommitVox(VoxSettings& s, const VoxControls& c)
{
    s.level = static_cast<std::uint8_t>(InList(c.level, kLevels) + 1);
    if (InList(c.delay, kDelays) >= 0)
        s.delay = static_cast<std::uint8_t>(c.delay);

    s.options = WithBit(s.options, VoxBits::kVoxOn, c.voxOn);
    s.options = WithBit(s.options, VoxBits::kInhibitWhileReceiving, c.inhibitWhileReceiving);
    s.options = WithBit(s.options, VoxBits::kPttCancelsVox, c.pttCancelsVox);
    s.options = WithBit(s.options, VoxBits::kPromptTone, c.promptTone);
    s.agc = WithBit(s.agc, VoxBits::kAgcOn, c.agcOn);

    if (c.agcOn) {
        if (InList(c.agcMin, kAgcMinEntries) >= 0)
            s.agcMin = static_cast<std::uint8_t>(c.agcMin);
        if (InList(c.agcMax, kAgcMaxEntries) >= 0)
            s.agcMax = static_cast<std::uint8_t>(c.agcMax);
    }

    const int analog = InList(c.analogGain, 16) >= 0 ? c.analogGain : s.gains & 0x0F;
    const int digital = InList(c.digitalGain, 16) >= 0 ? c.digitalGain : s.gains >> 4;
    s.gains = static_cast<std::uint8_t>(analog | digital << 4);
}

std::vector<std::string> VoxLevelEntries() { return Numbers(1, 1, kLevels); }

std::vector<std::string> VoxDelayEntries()
{
    std::vector<std::string> entries;
    for (int halves = 1; halves <= kDelays; ++halves)  // "%.1f" of 0.5 * halves, whatever the C locale
        entries.push_back(std::to_string(halves / 2) + (halves % 2 != 0 ? ".5" : ".0"));
    return entries;
}

std::vector<std::string> VoxAgcMinEntries() { return Numbers(-6, 2, kAgcMinEntries); }
std::vector<std::string> VoxAgcMaxEntries() { return Numbers(12, 2, kAgcMaxEntries); }
std::vector<std::string> VoxMicGainEntries() { return Numbers(0, 2, 16); }
