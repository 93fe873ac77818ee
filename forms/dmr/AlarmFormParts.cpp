#include "forms/dmr/AlarmFormParts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSpacerItem>
#include <QVBoxLayout>

#include "core/AppContext.h"
#include "forms/dmr/AlarmStepBar.h"

namespace {
constexpr int kAddKey = 20, kDeleteKey = 21;
}

AlarmFormBase::AlarmFormBase(FormContext& context, FormKind kind, const char* textSection, QWidget* parent)
    : CFormBase(context, kind, textSection, parent)
{
    box_ = new QGroupBox(this);
    grid_ = new QGridLayout(box_);
    grid_->setHorizontalSpacing(16);
    grid_->setVerticalSpacing(14);
    grid_->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum), 0, 2);
}

void AlarmFormBase::NewListRow(int row, QLabel*& label, QComboBox*& list, bool shown)
{
    label = new QLabel(box_);
    list = new QComboBox(box_);
    list->setMaxVisibleItems(20);
    list->setMinimumWidth(260);
    OnChange(list, &QComboBox::currentIndexChanged);
    if (!shown) {
        label->hide();
        list->hide();
        return;
    }
    grid_->addWidget(label, row, 0);
    grid_->addWidget(list, row, 1);
}

template <typename Table>
void AlarmFormBase::AddStepBar(Table emergency::AlarmTables::*table)
{
    buttons_ = new AlarmStepBar(this);
    connect(buttons_, &AlarmStepBar::StepClicked, this, [this, table](emergency::Step step) {
        SetCurrentIndex(emergency::StepIndex(step, CurrentIndex(), emergency::SystemsInUse(Context().alarms.*table)));
        Show();
    });
    connect(buttons_, &AlarmStepBar::AddClicked, this, [this, table] {
        const EditScope edit(*this);
        emergency::AddSystem(Context().alarms.*table);
        RequestTreeRebuild();
        Show();
    });
    connect(buttons_, &AlarmStepBar::DeleteClicked, this, [this, table] {
        const EditScope edit(*this);
        SetCurrentIndex(emergency::DeleteSystem(Context().alarms.*table, CurrentIndex()));
        RequestTreeRebuild();
        Show();
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(16);
    layout->addWidget(NewRunOnlyNote());
    layout->addWidget(box_);
    layout->addWidget(buttons_);
    layout->addStretch(1);
}

template void AlarmFormBase::AddStepBar(emergency::DigitalAlarmTable emergency::AlarmTables::*);
template void AlarmFormBase::AddStepBar(emergency::AnalogAlarmTable emergency::AlarmTables::*);

void AlarmFormBase::SetStepBarTexts() { buttons_->SetTexts(Text(kAddKey), Text(kDeleteKey)); }

void AlarmFormBase::ShowNumberedTitle(int titleKey)
{
    SetFormTitle(QString::fromStdString(FormatNumbered(Text(titleKey).toStdString(), static_cast<int>(CurrentIndex()) + 1)));
}

QStringList AlarmFormBase::Numbers(int first, int last, int step)
{
    QStringList texts;
    for (int n = first; n <= last; n += step)
        texts << QString::number(n);
    return texts;
}
