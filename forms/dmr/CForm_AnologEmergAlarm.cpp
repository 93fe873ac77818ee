#include "forms/dmr/CForm_AnologEmergAlarm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSpacerItem>
#include <QVBoxLayout>

#include "app/AppContext.h"
#include "forms/dmr/AlarmStepBar.h"

namespace {

constexpr int kTitleKey = 0;
constexpr int kBackgroundKey = 10;
constexpr int kAddKey = 20, kDeleteKey = 21;
constexpr int kAlarmModeKeys[] = {30, 31, 33};  // 30 + the stored mode
constexpr int kFirstRepeatModeKey = 40, kRepeatModes = 3;
constexpr int kFirstSquelchKey = 50, kSquelchModes = 3;

QStringList Numbers(int first, int last)
{
    QStringList texts;
    for (int n = first; n <= last; ++n)
        texts << QString::number(n);
    return texts;
}

}  // namespace

CForm_AnologEmergAlarm::CForm_AnologEmergAlarm(CVanticApp& app, QWidget* parent)
    : CFormBase(app, FormKind::AnalogEmergAlarm, "AnologEmergAlarm", parent)
{
    auto* box = new QGroupBox(this);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(14);
    grid->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum), 0, 2);
    for (int i = 0; i < kLists; ++i) {
        labels_[i] = new QLabel(box);
        lists_[i] = new QComboBox(box);
        lists_[i]->setMaxVisibleItems(20);
        lists_[i]->setMinimumWidth(260);
        grid->addWidget(labels_[i], i, 0);
        grid->addWidget(lists_[i], i, 1);
        OnChange(lists_[i], &QComboBox::currentIndexChanged);
    }
    background_ = new QCheckBox(box);  // kept on the form, never shown; every commit clears its bit
    background_->hide();

    buttons_ = new AlarmStepBar(this);
    connect(buttons_, &AlarmStepBar::StepClicked, this, &CForm_AnologEmergAlarm::OnStep);
    connect(buttons_, &AlarmStepBar::AddClicked, this, &CForm_AnologEmergAlarm::OnAdd);
    connect(buttons_, &AlarmStepBar::DeleteClicked, this, &CForm_AnologEmergAlarm::OnDelete);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(16);
    layout->addWidget(box);
    layout->addWidget(buttons_);
    layout->addStretch(1);
}

emergency::AnalogAlarmTable& CForm_AnologEmergAlarm::Table() const { return Context().alarms.analog; }

emergency::AnalogAlarmRecord CForm_AnologEmergAlarm::Record() const
{
    return Table().record(emergency::RecordShown(CurrentIndex()));
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
    buttons_->SetTexts(Text(kAddKey), Text(kDeleteKey));
}

void CForm_AnologEmergAlarm::ShowRecord()
{
    SetFormTitle(QString::fromStdString(FormatNumbered(Text(kTitleKey).toStdString(), static_cast<int>(CurrentIndex()) + 1)));
    const emergency::AnalogAlarmRecord record = Record();
    const emergency::AnalogAlarmEntries e = emergency::ShowAnalog(record);
    if (e.alarmMode != emergency::kLeaveSelection)
        lists_[AlarmMode]->setCurrentIndex(e.alarmMode);
    const int positions[kLists] = {0, e.localToneDuration, e.toneRepeatMode, e.toneRepeatCount, e.voiceRepeatMode,
                                   e.voiceRepeatCount, e.squelchMode, e.transmitDuration, e.receiveDuration};
    for (int i = LocalToneDuration; i < kLists; ++i)
        lists_[i]->setCurrentIndex(positions[i]);
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
    e.alarmMode = lists_[AlarmMode]->currentIndex();
    e.localToneDuration = lists_[LocalToneDuration]->currentIndex();
    e.toneRepeatMode = lists_[ToneRepeatMode]->currentIndex();
    e.toneRepeatCount = lists_[ToneRepeatCount]->currentIndex();
    e.voiceRepeatMode = lists_[VoiceRepeatMode]->currentIndex();
    e.voiceRepeatCount = lists_[VoiceRepeatCount]->currentIndex();
    e.squelchMode = lists_[SquelchMode]->currentIndex();
    e.transmitDuration = lists_[TransmitDuration]->currentIndex();
    e.receiveDuration = lists_[ReceiveDuration]->currentIndex();
    emergency::CommitAnalog(Record(), e);
}

void CForm_AnologEmergAlarm::OnStep(emergency::Step step)
{
    SetCurrentIndex(emergency::StepIndex(step, CurrentIndex(), emergency::SystemsInUse(Table())));
    Show();
}

void CForm_AnologEmergAlarm::OnAdd()
{
    emergency::AddSystem(Table());
    RequestTreeRebuild();
    Show();
}

void CForm_AnologEmergAlarm::OnDelete()
{
    SetCurrentIndex(emergency::DeleteSystem(Table(), CurrentIndex()));
    RequestTreeRebuild();
    Show();
}
