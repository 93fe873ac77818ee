#pragma once
// The VOX and microphone settings. The program holds them for the run only: they are not part of
// the Codeplug, not saved to files and not sent to the radio. They start zero and keep their
// values whether or not the VOX form is open.
#include <cstdint>

#include "codeplug/RunMemory.h"
#include <string>
#include <vector>

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
