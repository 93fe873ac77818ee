// The general functions and VOX forms in the main window: the bytes their controls edit.

#include "TestSupport.h"
#include "forms/functions/CForm_Fun.h"
#include "forms/functions/CForm_VOX.h"

using namespace testsupport;

namespace {

struct FormsSession : FormSession {
    using FormSession::FormSession;
    CForm_Fun* OpenFun()  // through the tree, as a user does
    {
        QTreeWidgetItem* root = frame->Tree()->topLevelItem(0);
        for (int i = 0; i < root->childCount(); ++i)
            if (root->child(i)->data(0, CMainFrame::kTextKeyRole).toInt() == 2)
                for (int j = 0; j < root->child(i)->childCount(); ++j)
                    if (root->child(i)->child(j)->data(0, CMainFrame::kTextKeyRole).toInt() == 4)
                        frame->ClickTreeItem(root->child(i)->child(j));
        return dynamic_cast<CForm_Fun*>(frame->Windows().Form(FormKind::Fun));
    }
    CForm_VOX* OpenVox()
    {
        frame->OnCommand(Cmd::Vox);
        return dynamic_cast<CForm_VOX*>(frame->Windows().Form(FormKind::Vox));
    }
};

}  // namespace

TEST(FunForm, ControlsWriteTheirBytesAndEveryDisplayClearsTheForcedOffBits)
{
    ProgramDir dir(1);
    FormsSession s(dir.path);
    Codeplug& c = s.Image();
    c.RadioSettings[87] = 0xFF;
    c.FunctionExtra[3] = 0x3C, c.FunctionExtra[4] = 0x0F;  // 3900
    CForm_Fun* form = s.OpenFun();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(c.RadioSettings[87], 0xFB);
    EXPECT_EQ(form->List(FunList::DigitalMicGain)->currentText(), "1");
    EXPECT_EQ(form->List(FunList::MenuLanguage)->currentIndex(), 1);
    EXPECT_EQ(form->ListLabel(FunList::DigitalMicGain)->text(), "Digital microphone gain");
    EXPECT_EQ(form->List(FunList::LowBatteryInterval)->count(), 256);
    EXPECT_EQ(form->Alias()->maxLength(), 18);

    form->List(FunList::PowerOnZone)->setCurrentIndex(1);
    EXPECT_EQ(c.RadioSettings[204], 1);
    form->List(FunList::DigitalMicGain)->setCurrentIndex(7);
    EXPECT_EQ(c.FunctionExtra[3], 0x00);
    EXPECT_EQ(c.FunctionExtra[4], 0x08);

    c.RadioSettings[88] = 0x03;  // set behind the form's back: the next display clears bit 0
    const std::uint8_t lamps = c.RadioSettings[199];
    form->Flag(FunFlag::TxLamp)->click();
    EXPECT_EQ(c.RadioSettings[199], lamps ^ 0x01);
    EXPECT_EQ(c.RadioSettings[88], 0x02);

    form->Alias()->setText(" Base 7 ");
    emit form->Alias()->editingFinished();
    EXPECT_EQ(c.RadioSettings[90], 12);
    EXPECT_EQ(std::vector<std::uint8_t>(c.RadioSettings.begin() + 91, c.RadioSettings.begin() + 104),
              (std::vector<std::uint8_t>{'B', 0, 'a', 0, 's', 0, 'e', 0, ' ', 0, '7', 0, 0}));
    EXPECT_EQ(form->Alias()->text(), "Base 7");
}

TEST(VoxForm, StartsOffEnablesWithItsSwitchAndKeepsItsValuesForTheRun)
{
    ProgramDir dir(1);
    FormsSession s(dir.path);
    CForm_VOX* form = s.OpenVox();
    ASSERT_NE(form, nullptr);
    const CForm_VOX::Controls& w = form->Widgets();
    EXPECT_EQ(w.level->currentIndex(), -1);
    EXPECT_EQ(w.delay->currentText(), "0.5");
    EXPECT_FALSE(w.voxOn->isChecked() || w.level->isEnabled() || w.pttCancelsVox->isEnabled() || w.agcMax->isEnabled());

    w.voxOn->click();
    EXPECT_TRUE(w.level->isEnabled() && w.delay->isEnabled() && w.inhibitWhileReceiving->isEnabled());
    w.level->setCurrentIndex(3);
    w.delay->setCurrentIndex(5);
    w.promptTone->click();
    w.digitalGain->setCurrentIndex(15);
    w.agcMax->setCurrentIndex(4);  // disabled list: not taken
    w.voxOn->click();
    EXPECT_FALSE(w.level->isEnabled());
    EXPECT_EQ(w.level->currentText(), "4");

    VoxSettings expected;
    expected.level = 4, expected.delay = 5, expected.options = 0x08, expected.gains = 0xF0;
    EXPECT_EQ(s.app.Vox(), expected);

    // Closing, New and reopening keep them.
    s.frame->Windows().CloseForm(FormKind::Vox);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    s.frame->Documents().OnFileNew();
    form = s.OpenVox();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Widgets().delay->currentText(), "3.0");
    EXPECT_EQ(form->Widgets().digitalGain->currentText(), "30");
    EXPECT_EQ(s.app.Vox(), expected);
}
