// The general functions and VOX forms in the main window: their controls reach the rules
// (tested on bare images in FunctionRulesTest and VoxRulesTest) and every display follows the image.

#include "TestSupport.h"
#include "forms/functions/CForm_VOX.h"

using namespace testsupport;

TEST(FunForm, ControlsWriteTheirBytesAndEveryDisplayClearsTheForcedOffBits)
{
    ProgramDir dir(1);
    FormSession s(dir.path);
    Codeplug& c = s.Image();
    c.RadioSettings[87] = 0xFF;
    c.FunctionExtra[3] = 0x3C, c.FunctionExtra[4] = 0x0F;  // 3900
    CForm_Fun* form = s.Open<CForm_Fun>(FormKind::Fun);
    EXPECT_EQ(std::tuple(c.RadioSettings[87] + 0, form->List(FunList::DigitalMicGain)->currentText(),
                         form->List(FunList::MenuLanguage)->currentIndex(),
                         form->ListLabel(FunList::DigitalMicGain)->text(),
                         form->List(FunList::LowBatteryInterval)->count(), form->Alias()->maxLength()),
              std::tuple(0xFB, QString("1"), 1, QString("Digital microphone gain"), 256, 18));

    form->List(FunList::PowerOnZone)->setCurrentIndex(1);
    form->List(FunList::DigitalMicGain)->setCurrentIndex(7);
    EXPECT_EQ((std::vector<int>{c.RadioSettings[204], c.FunctionExtra[3], c.FunctionExtra[4]}),
              (std::vector<int>{1, 0x00, 0x08}));

    c.RadioSettings[88] = 0x03;  // set behind the form's back: the next display clears bit 0
    const std::uint8_t lamps = c.RadioSettings[199];
    form->Flag(FunFlag::TxLamp)->click();
    EXPECT_EQ(std::tuple(c.RadioSettings[199] + 0, c.RadioSettings[88] + 0), std::tuple(lamps ^ 0x01, 0x02));

    Type(form->Alias(), " Base 7 ");
    EXPECT_EQ(std::tuple(c.RadioSettings[90] + 0, c.RadioSettings[91] + 0, form->Alias()->text()),
              std::tuple(12, 'B' + 0, QString("Base 7")));
}

TEST(VoxForm, StartsOffEnablesWithItsSwitchAndKeepsItsValuesForTheRun)
{
    ProgramDir dir(1);
    FormSession s(dir.path);
    CForm_VOX* form = s.Open<CForm_VOX>(FormKind::Vox);
    const CForm_VOX::Controls& w = form->Widgets();
    EXPECT_EQ(std::tuple(w.level->currentIndex(), w.delay->currentText()), std::tuple(-1, QString("0.5")));
    EXPECT_FALSE(w.voxOn->isChecked() || w.level->isEnabled() || w.pttCancelsVox->isEnabled() || w.agcMax->isEnabled());

    w.voxOn->click();
    EXPECT_TRUE(w.level->isEnabled() && w.delay->isEnabled() && w.inhibitWhileReceiving->isEnabled());
    Choose({{w.level, 3}, {w.delay, 5}, {w.digitalGain, 15}});
    w.promptTone->click();
    w.voxOn->click();
    EXPECT_TRUE(!w.level->isEnabled() && w.level->currentText() == "4");

    VoxSettings expected;
    expected.level = 4, expected.delay = 5, expected.options = 0x08, expected.gains = 0xF0;
    EXPECT_EQ(s.app.Vox(), expected);

    // Closing, New and reopening keep them.
    s.frame->Windows().CloseForm(FormKind::Vox);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    s.frame->Documents().OnFileNew();
    form = s.Open<CForm_VOX>(FormKind::Vox);
    EXPECT_EQ(std::tuple(form->Widgets().delay->currentText(), form->Widgets().digitalGain->currentText()),
              std::tuple(QString("3.0"), QString("30")));
    EXPECT_EQ(s.app.Vox(), expected);
}
