// The VOX settings the program holds for the run: display, enabling and commit rules.
#include "tests/core/TestFiles.h"

#include "forms/functions/VoxRules.h"

TEST(VoxRules, GainsPackAnalogLowAndDigitalHighSwitchesDisableTheirControlsAndKeepTheirValues)
{
    struct Case { int analog, digital; std::uint8_t gains; };
    for (const Case& k : {Case{0, 15, 0xF0}, Case{15, 0, 0x0F}, Case{5, 3, 0x35}}) {
        VoxSettings settings;
        VoxControls controls = ShowVox(settings);
        controls.analogGain = k.analog;
        controls.digitalGain = k.digital;
        CommitVox(settings, controls);
        EXPECT_EQ(settings.gains, k.gains);
        EXPECT_EQ(ShowVox(settings).digitalGain, k.digital);
    }
    {
        VoxSettings settings;
        settings.options = 0xF0;  // bits the form does not use
        settings.agc = 0xFB;
        settings.agcMin = 3, settings.agcMax = 7;
        VoxControls controls = ShowVox(settings);
        controls.voxOn = true;
        controls.level = 8;
        controls.delay = 19;
        controls.promptTone = true;
        controls.agcMin = 0, controls.agcMax = 14;  // AGC off: not taken
        CommitVox(settings, controls);
        EXPECT_EQ(settings, (VoxSettings{9, 19, 0xF9, 0xFB, 0, 3, 7}));  // level 9, delay 19, AGC bytes kept

        controls = ShowVox(settings);
        controls.voxOn = false;
        controls.agcOn = true;
        controls.agcMax = 14;
        CommitVox(settings, controls);
        EXPECT_EQ(settings, (VoxSettings{9, 19, 0xF8, 0xFF, 0, 3, 14}));
        controls = ShowVox(settings);
        EXPECT_EQ(std::tuple(controls.voxControlsEnabled, controls.agcListsEnabled, controls.level, controls.promptTone),
                  std::tuple(false, true, 8, true));

        // Positions past their lists show no selection and are not stored over.
        settings.agcMin = 10, settings.agcMax = 15, settings.delay = 20;
        controls = ShowVox(settings);
        EXPECT_EQ(std::tuple(controls.agcMin, controls.delay), std::tuple(-1, -1));
        CommitVox(settings, controls);
        EXPECT_EQ(std::tuple(settings.agcMin + 0, settings.agcMax + 0, settings.delay + 0), std::tuple(10, 15, 20));
    }
}
