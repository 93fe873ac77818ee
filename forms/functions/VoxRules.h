#pragma once
// The VOX and microphone settings. The program holds them for the run only: they are not part of
// the Codeplug, not saved to files and not sent to the radio. They start zero and keep their
// values whether or not the VOX form is open.
#include <cstdint>
#include <string>
#include <vector>

struct VoxSettings {
    std::uint8_t level = 0;    // 1-9; 0 until first set
    std::uint8_t delay = 0;    // delay list position: 0.5 * (delay + 1) seconds
    std::uint8_t options = 0;  // VoxBits; other bits are kept
    std::uint8_t agc = 0;      // VoxBits::kAgcOn; other bits are kept
    std::uint8_t gains = 0;    // bits 0-3 analog gain position, bits 4-7 digital gain position
    std::uint8_t agcMin = 0;   // AGC minimum list position
    std::uint8_t agcMax = 0;   // AGC maximum list position
    bool operator==(const VoxSettings&) const = default;
};

namespace VoxBits {
constexpr std::uint8_t kVoxOn = 0x01;
constexpr std::uint8_t kInhibitWhileReceiving = 0x02;
constexpr std::uint8_t kPttCancelsVox = 0x04;
constexpr std::uint8_t kPromptTone = 0x08;
constexpr std::uint8_t kAgcOn = 0x04;  // in VoxSettings::agc
}  // namespace VoxBits

// What the VOX form's controls hold (list positions, -1 for no selection) and which are enabled.
struct VoxControls {
    int level = -1;
    int delay = -1;
    bool voxOn = false;
    bool inhibitWhileReceiving = false;
    bool pttCancelsVox = false;
    bool promptTone = false;
    bool agcOn = false;
    int agcMin = -1;
    int agcMax = -1;
    int analogGain = -1;
    int digitalGain = -1;

    // The level and delay lists and the three option boxes follow the VOX switch; the two
    // AGC lists follow the AGC box.
    bool voxControlsEnabled = false;
    bool agcListsEnabled = false;
};

VoxControls ShowVox(const VoxSettings& settings);

// Reads the controls back. The level is the level position + 1 (no selection gives 0); the
// delay and the AGC lists keep their values when nothing is selected, and the AGC lists are taken
// only while the AGC box is checked.
void CommitVox(VoxSettings& settings, const VoxControls& controls);

// List entries, in list order.
std::vector<std::string> VoxLevelEntries();        // "1" ... "9"
std::vector<std::string> VoxDelayEntries();        // "0.5" ... "10.0"
std::vector<std::string> VoxAgcMinEntries();       // "-6" ... "12" dB
std::vector<std::string> VoxAgcMaxEntries();       // "12" ... "40" dB
std::vector<std::string> VoxMicGainEntries();      // "0" ... "30" dB
