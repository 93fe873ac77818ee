#include "forms/dmr/CForm_DigitalEmergAlarm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "core/AppContext.h"

namespace {

constexpr int kTitleKey = 0;
constexpr int kRemoteKey = 7;
constexpr int kContinuousKey = 10;  // the last entry of the transmission counts
constexpr int kFirstTypeKey = 30, kTypes = 5;
constexpr int kFirstModeKey = 40, kModes = 3;
constexpr int kLabelKeys[] = {1, 2, 3, 4, 5, 6, 0, 0};  // the transmission counts have no label

// The entry each list shows, in list order.
using E = emergency::DigitalAlarmEntries;
constexpr int E::*kEntries[] = {&E::type,         &E::mode,     &E::repeatCount,   &E::hotMicDuration,
                                &E::callInterval, &E::duration, &E::impoliteCount, &E::politeCount};

}  // namespace

CForm_DigitalEmergAlarm::CForm_DigitalEmergAlarm(FormContext& context, QWidget* parent)
    : AlarmFormBase(context, FormKind::DigitalEmergAlarm, "DigitalEmergAlarm", parent)
{
    for (int i = 0; i < kLists; ++i)  // the transmission counts are kept on the form, never shown
        NewListRow(i, labels_[i], lists_[i], i != ImpoliteCount && i != PoliteCount);
    remote_ = new QCheckBox(Box());
    Grid()->addWidget(remote_, kLists, 0, 1, 2);
    OnChange(remote_, &QCheckBox::toggled);
    alias_ = new QLineEdit(Box());
    alias_->setMaxLength(static_cast<int>(emergency::DigitalAlarmField::kAliasBytes));
    alias_->hide();
    AddStepBar(&emergency::AlarmTables::digital);
}

emergency::DigitalAlarmRecord CForm_DigitalEmergAlarm::Record() const
{
    return Context().alarms.digital.record(emergency::RecordShown(CurrentIndex()));
}

void CForm_DigitalEmergAlarm::InitialiseControls()
{
    for (int i = 0; i < kLists; ++i) {
        if (kLabelKeys[i] != 0)
            labels_[i]->setText(Text(kLabelKeys[i]));
        lists_[i]->clear();
    }
    for (int k = 0; k < kTypes; ++k)
        lists_[Type]->addItem(Text(kFirstTypeKey + k));
    for (int k = 0; k < kModes; ++k)
        lists_[Mode]->addItem(Text(kFirstModeKey + k));
    lists_[RepeatCount]->addItems(Numbers(1, 255));
    lists_[HotMicDuration]->addItems(Numbers(10, 120, 10));
    lists_[CallInterval]->addItems(Numbers(1, 255));
    lists_[Duration]->addItems(Numbers(1, 255));
    for (ListId id : {ImpoliteCount, PoliteCount}) {
        lists_[id]->addItems(Numbers(0, 254));
        lists_[id]->addItem(Text(kContinuousKey));
    }
    remote_->setText(Text(kRemoteKey));
    SetStepBarTexts();
}

void CForm_DigitalEmergAlarm::ShowRecord()
{
    ShowNumberedTitle(kTitleKey);
    const emergency::DigitalAlarmRecord record = Record();
    const emergency::DigitalAlarmEntries e = emergency::ShowDigital(record);
    for (int i = 0; i < kLists; ++i)
        lists_[i]->setCurrentIndex(e.*kEntries[i]);
    remote_->setChecked(e.remoteAllowed);
    alias_->setText(QString::fromLatin1(e.alias.data(), static_cast<qsizetype>(e.alias.size())));

    const bool details = emergency::DigitalDetailsEnabled(record);
    for (int i = 0; i < kLists; ++i)
        lists_[i]->setEnabled(i == Type || details);
}

void CForm_DigitalEmergAlarm::Commit()
{
    emergency::DigitalAlarmEntries e;
    for (int i = 0; i < kLists; ++i)
        e.*kEntries[i] = lists_[i]->currentIndex();
    e.remoteAllowed = remote_->isChecked();
    e.alias = alias_->text().toLatin1().toStdString();
    emergency::CommitDigital(Record(), e);
}
