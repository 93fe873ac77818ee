#include "forms/dmr/CForm_DigitalEmergAlarm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSpacerItem>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/AppContext.h"
#include "forms/dmr/AlarmStepBar.h"

namespace {

constexpr int kTitleKey = 0;
constexpr int kRemoteKey = 7;
constexpr int kContinuousKey = 10;  // the last entry of the transmission counts
constexpr int kAddKey = 20, kDeleteKey = 21;
constexpr int kFirstTypeKey = 30, kTypes = 5;
constexpr int kFirstModeKey = 40, kModes = 3;
constexpr int kLabelKeys[] = {1, 2, 3, 4, 5, 6, 0, 0};  // the transmission counts have no label

QStringList Numbers(int first, int last, int step = 1)
{
    QStringList texts;
    for (int n = first; n <= last; n += step)
        texts << QString::number(n);
    return texts;
}

}  // namespace

CForm_DigitalEmergAlarm::CForm_DigitalEmergAlarm(CVanticApp& app, QWidget* parent)
    : CFormBase(app, FormKind::DigitalEmergAlarm, "DigitalEmergAlarm", parent)
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
        OnChange(lists_[i], &QComboBox::currentIndexChanged);
        if (i == ImpoliteCount || i == PoliteCount) {  // kept on the form, never shown
            labels_[i]->hide();
            lists_[i]->hide();
            continue;
        }
        grid->addWidget(labels_[i], i, 0);
        grid->addWidget(lists_[i], i, 1);
    }
    remote_ = new QCheckBox(box);
    grid->addWidget(remote_, kLists, 0, 1, 2);
    OnChange(remote_, &QCheckBox::toggled);
    alias_ = new QLineEdit(box);
    alias_->setMaxLength(static_cast<int>(emergency::DigitalAlarmField::kAliasBytes));
    alias_->hide();

    buttons_ = new AlarmStepBar(this);
    connect(buttons_, &AlarmStepBar::StepClicked, this, &CForm_DigitalEmergAlarm::OnStep);
    connect(buttons_, &AlarmStepBar::AddClicked, this, &CForm_DigitalEmergAlarm::OnAdd);
    connect(buttons_, &AlarmStepBar::DeleteClicked, this, &CForm_DigitalEmergAlarm::OnDelete);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(16);
    layout->addWidget(box);
    layout->addWidget(buttons_);
    layout->addStretch(1);
}

emergency::DigitalAlarmTable& CForm_DigitalEmergAlarm::Table() const { return Context().alarms.digital; }

emergency::DigitalAlarmRecord CForm_DigitalEmergAlarm::Record() const
{
    return Table().record(emergency::RecordShown(CurrentIndex()));
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
    buttons_->SetTexts(Text(kAddKey), Text(kDeleteKey));
}

void CForm_DigitalEmergAlarm::ShowRecord()
{
    SetFormTitle(QString::fromStdString(FormatNumbered(Text(kTitleKey).toStdString(), static_cast<int>(CurrentIndex()) + 1)));
    const emergency::DigitalAlarmRecord record = Record();
    const emergency::DigitalAlarmEntries e = emergency::ShowDigital(record);
    const int positions[kLists] = {e.type, e.mode, e.repeatCount, e.hotMicDuration,
                                   e.callInterval, e.duration, e.impoliteCount, e.politeCount};
    for (int i = 0; i < kLists; ++i)
        lists_[i]->setCurrentIndex(positions[i]);
    remote_->setChecked(e.remoteAllowed);
    alias_->setText(QString::fromLatin1(e.alias.data(), static_cast<qsizetype>(e.alias.size())));

    const bool details = emergency::DigitalDetailsEnabled(record);
    for (int i = 0; i < kLists; ++i)
        lists_[i]->setEnabled(i == Type || details);
}

void CForm_DigitalEmergAlarm::Commit()
{
    emergency::DigitalAlarmEntries e;
    e.type = lists_[Type]->currentIndex();
    e.mode = lists_[Mode]->currentIndex();
    e.repeatCount = lists_[RepeatCount]->currentIndex();
    e.hotMicDuration = lists_[HotMicDuration]->currentIndex();
    e.callInterval = lists_[CallInterval]->currentIndex();
    e.duration = lists_[Duration]->currentIndex();
    e.impoliteCount = lists_[ImpoliteCount]->currentIndex();
    e.politeCount = lists_[PoliteCount]->currentIndex();
    e.remoteAllowed = remote_->isChecked();
    e.alias = alias_->text().toLatin1().toStdString();
    emergency::CommitDigital(Record(), e);
}

void CForm_DigitalEmergAlarm::OnStep(emergency::Step step)
{
    SetCurrentIndex(emergency::StepIndex(step, CurrentIndex(), emergency::SystemsInUse(Table())));
    Show();
}

void CForm_DigitalEmergAlarm::OnAdd()
{
    emergency::AddSystem(Table());
    RequestTreeRebuild();
    Show();
}

void CForm_DigitalEmergAlarm::OnDelete()
{
    SetCurrentIndex(emergency::DeleteSystem(Table(), CurrentIndex()));
    RequestTreeRebuild();
    Show();
}
