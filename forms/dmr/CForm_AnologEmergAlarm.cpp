#include "forms/dmr/CForm_AnologEmergAlarm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

#include "core/AppContext.h"

namespace {

constexpr int kTitleKey = 0;
constexpr int kBackgroundKey = 10;
constexpr int kAlarmModeKeys[] = {30, 31, 33};  // 30 + the stored mode
constexpr int kFirstRepeatModeKey = 40, kRepeatModes = 3;
constexpr int kFirstSquelchKey = 50, kSquelchModes = 3;

// The entry each list shows, in list order.
using E = emergency::AnalogAlarmEntries;
constexpr int E::*kEntries[] = {&E::alarmMode,       &E::localToneDuration, &E::toneRepeatMode,
                                &E::toneRepeatCount, &E::voiceRepeatMode,   &E::voiceRepeatCount,
                                &E::squelchMode,     &E::transmitDuration,  &E::receiveDuration};

}  // namespace

CForm_AnologEmergAlarm::CForm_AnologEmergAlarm(FormContext& context, QWidget* parent)
    : AlarmFormBase(context, FormKind::AnalogEmergAlarm, "AnologEmergAlarm", parent)
{
    for (int i = 0; i < kLists; ++i)
        NewListRow(i, labels_[i], lists_[i]);
    background_ = new QCheckBox(Box());  // kept on the form, never shown; every commit clears its bit
    background_->hide();
    AddStepBar(&emergency::AlarmTables::analog);
}

emergency::AnalogAlarmRecord CForm_AnologEmergAlarm::Record() const
{
    return Context().alarms.analog.record(emergency::RecordShown(CurrentIndex()));
}

void CForm_AnologEmergAlarm::InitialiseControls()
{
    for (int i = 0; i < kLists; ++i) {
        labels_[i]->setText(Text(i + 1));  // label keys 1-9 in list order
        lists_[i]->clear();
    }
    for (int key : kAlarmModeKeys)
        lists_[AlarmMode]->addItem(Text(key));
    lists_[AlarmMode]->setCurrentIndex(-1);  // a stored mode 2 has no entry and leaves the list like this
    for (ListId id : {ToneRepeatMode, VoiceRepeatMode})
        for (int k = 0; k < kRepeatModes; ++k)
            lists_[id]->addItem(Text(kFirstRepeatModeKey + k));
    for (int k = 0; k < kSquelchModes; ++k)
        lists_[SquelchMode]->addItem(Text(kFirstSquelchKey + k));
    for (ListId id : {LocalToneDuration, ToneRepeatCount, VoiceRepeatCount, TransmitDuration, ReceiveDuration})
        lists_[id]->addItems(Numbers(1, 255));
    background_->setText(Text(kBackgroundKey));
    SetStepBarTexts();
}

void CForm_AnologEmergAlarm::ShowRecord()
{
    ShowNumberedTitle(kTitleKey);
    const emergency::AnalogAlarmRecord record = Record();
    const emergency::AnalogAlarmEntries e = emergency::ShowAnalog(record);
    if (e.alarmMode != emergency::kLeaveSelection)
        lists_[AlarmMode]->setCurrentIndex(e.alarmMode);
    for (int i = LocalToneDuration; i < kLists; ++i)
        lists_[i]->setCurrentIndex(e.*kEntries[i]);
    background_->setChecked(e.backgroundTone);

    const emergency::AnalogAlarmEnabling on = emergency::AnalogEnabling(record);
    const bool enabled[kLists] = {true, on.localToneDuration, on.toneRepeatMode, on.toneRepeatCount, on.voiceRepeatMode,
                                  on.voiceRepeatCount, on.squelchMode, on.transmitDuration, on.receiveDuration};
    for (int i = 0; i < kLists; ++i)
        lists_[i]->setEnabled(enabled[i]);
}

void CForm_AnologEmergAlarm::Commit()
{
    emergency::AnalogAlarmEntries e;
    for (int i = 0; i < kLists; ++i)
        e.*kEntries[i] = lists_[i]->currentIndex();
    emergency::CommitAnalog(Record(), e);
}
