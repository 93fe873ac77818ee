// The DMR basic settings form and the two emergency alarm forms in their windows: the controls
// reach the rules of DmrRulesTest and AlarmRulesTest, and the alarm tables live for the run.

#include "TestSupport.h"
#include "forms/dmr/AlarmStepBar.h"
#include "forms/dmr/CForm_AnologEmergAlarm.h"
#include "forms/dmr/CForm_DigitalEmergAlarm.h"

using namespace testsupport;

namespace {

using Wire = std::vector<std::uint8_t>;

// The list of the DMR form that edits DmrSettings byte `offset`.
QComboBox* DmrList(const CFORM_DMR& form, std::size_t offset)
{
    const auto& lists = dmr::SettingLists();
    for (std::size_t i = 0; i < lists.size(); ++i)
        if (lists[i].offset == offset)
            return form.List(i);
    return nullptr;
}

}  // namespace

TEST(DmrBasicForm, ShowsStoredValuesAndWritesTheWholeFormBack)
{
    ProgramDir dir(0);
    FormSession s(dir.path);
    auto& d = s.Image().DmrSettings;
    d[10] = 6, d[12] = 200;  // 300 ms
    d[18] = 41;              // above 1600 ms: no entry, comes back as 0xFF
    d[14] = 9, d[16] = 255;  // hidden lists, 255 with no entry
    d[7] = 0x33;             // not edited by any list
    auto* form = s.Open<CFORM_DMR>(FormKind::Dmr);
    EXPECT_EQ(std::tuple(s.frame->Windows().FormWindow(FormKind::Dmr)->windowTitle(), form->IdBox()->maxLength(),
                         DmrList(*form, 10)->currentText(), DmrList(*form, 12)->currentText(), DmrList(*form, 18)->currentIndex()),
              std::tuple(QString("DMR基本参数"), 8, QString("300"), QString("200"), -1));
    EXPECT_TRUE(DmrList(*form, 14)->isHidden() && DmrList(*form, 16)->isHidden() && !DmrList(*form, 26)->isHidden());

    DmrList(*form, 10)->setCurrentIndex(DmrList(*form, 10)->findText("5000"));
    EXPECT_EQ((std::vector<int>{d[10], d[18], d[14], d[16], d[12], d[7]}), (std::vector<int>{100, 0xFF, 9, 255, 200, 0x33}));

    Type(form->IdBox(), "99999999");  // clamped: the box shows what is stored
    EXPECT_EQ(std::tuple(form->IdBox()->text(), Wire(d.begin() + 1, d.begin() + 5)),
              std::tuple(QString("16776415"), Wire{0x15, 0x64, 0x77, 0x16}));
}

TEST(DigitalEmergAlarmForm, StartsEmptyEnablesByTypeAndStepsThroughTheSystems)
{
    ProgramDir dir(1);
    FormSession s(dir.path);
    auto* form = s.Open<CForm_DigitalEmergAlarm>(FormKind::DigitalEmergAlarm);
    using F = CForm_DigitalEmergAlarm;
    auto& table = s.app.Context().alarms.digital;
    EXPECT_EQ(s.frame->Windows().FormWindow(FormKind::DigitalEmergAlarm)->windowTitle(), "Digital emergency alarm system 1");
    // Type 0: the details off.
    EXPECT_FALSE(form->List(F::Mode)->isEnabled() || form->List(F::Duration)->isEnabled());
    EXPECT_TRUE(form->RemoteAllowed()->isEnabled() && form->AliasBox()->isHidden() && form->List(F::PoliteCount)->isHidden());
    EXPECT_EQ(form->List(F::PoliteCount)->itemText(255), "Continuous");

    form->List(F::Type)->setCurrentIndex(2);  // edits record 0 without putting it in use
    EXPECT_EQ(table.record(0)[28] & 0x02, 0);
    EXPECT_TRUE(form->List(F::Mode)->isEnabled() && form->List(F::HotMicDuration)->isEnabled());
    form->List(F::HotMicDuration)->setCurrentIndex(form->List(F::HotMicDuration)->findText("120"));
    form->RemoteAllowed()->setChecked(true);
    EXPECT_EQ(std::tuple(table.record(0)[23] + 0, table.record(0)[28] + 0), std::tuple(12, 0x04));

    AlarmStepBar* bar = form->Buttons();
    for (int i = 0; i < 4; ++i)
        bar->AddButton()->click();
    EXPECT_EQ(emergency::SystemsInUse(table), 4u);
    for (std::uint8_t i = 0; i < 4; ++i)
        table.record(i)[27] = static_cast<std::uint8_t>(10 + i);  // durations 10 ... 13 tell them apart
    bar->StepButton(emergency::Step::Last)->click();
    EXPECT_EQ(std::tuple(form->List(F::Duration)->currentText(), s.frame->Windows().FormWindow(FormKind::DigitalEmergAlarm)->windowTitle()),
              std::tuple(QString("13"), QString("Digital emergency alarm system 4")));
    bar->StepButton(emergency::Step::Next)->click();
    bar->StepButton(emergency::Step::Previous)->click();
    bar->StepButton(emergency::Step::Previous)->click();
    EXPECT_EQ(s.app.Navigation().Index(FormKind::DigitalEmergAlarm), 1u);

    bar->DeleteButton()->click();  // system 2 of 4
    EXPECT_EQ(std::tuple(emergency::SystemsInUse(table), form->List(F::Duration)->currentText(), table.record(2)[27] + 0),
              std::tuple(3u, QString("12"), 13));

    s.frame->Windows().CloseForm(FormKind::DigitalEmergAlarm);  // the table outlives the window ...
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    s.frame->OnCommand(Cmd::DigitalEmergAlarm);
    EXPECT_EQ(emergency::SystemsInUse(s.app.Context().alarms.digital), 3u);
    Session restarted(dir.path);  // ... but not the run
    EXPECT_EQ(emergency::SystemsInUse(restarted.app.Context().alarms.digital), 0u);
}

TEST(AnalogEmergAlarmForm, AlarmAndRepeatModesEnableTheirLists)
{
    ProgramDir dir(0);
    FormSession s(dir.path);
    auto* form = s.Open<CForm_AnologEmergAlarm>(FormKind::AnalogEmergAlarm);
    using F = CForm_AnologEmergAlarm;
    auto r = s.app.Context().alarms.analog.record(0);
    EXPECT_EQ(s.frame->Windows().FormWindow(FormKind::AnalogEmergAlarm)->windowTitle(), "模拟紧急报警系统 1");
    EXPECT_TRUE(!form->List(F::LocalToneDuration)->isEnabled() && form->BackgroundTone()->isHidden());

    form->List(F::AlarmMode)->setCurrentIndex(2);
    EXPECT_EQ(r[20] & 0x03, 3);
    EXPECT_TRUE(form->List(F::TransmitDuration)->isEnabled() && form->List(F::ReceiveDuration)->isEnabled() &&
                !form->List(F::ToneRepeatCount)->isEnabled());
    form->List(F::ToneRepeatMode)->setCurrentIndex(2);
    EXPECT_TRUE(form->List(F::ToneRepeatCount)->isEnabled());

    form->List(F::ReceiveDuration)->setCurrentIndex(form->List(F::ReceiveDuration)->findText("255"));
    EXPECT_EQ(std::tuple(r[26] + 0, form->List(F::ReceiveDuration)->currentText()), std::tuple(255, QString("255")));
}
