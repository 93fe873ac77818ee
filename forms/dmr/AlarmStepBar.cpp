#include "forms/dmr/AlarmStepBar.h"

#include <QHBoxLayout>

AlarmStepBar::AlarmStepBar(QWidget* parent) : QWidget(parent)
{
    using emergency::Step;
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    const struct {
        Step step;
        const char* text;
        const char* name;
    } steps[] = {{Step::First, "|<", "first"}, {Step::Previous, "<", "previous"}, {Step::Next, ">", "next"},
                 {Step::Last, ">|", "last"}};
    for (const auto& s : steps) {
        auto* button = new QPushButton(QString::fromLatin1(s.text), this);
        button->setObjectName(QString::fromLatin1(s.name));
        button->setFixedWidth(48);
        connect(button, &QPushButton::clicked, this, [this, step = s.step] { emit StepClicked(step); });
        steps_[static_cast<int>(s.step)] = button;
        layout->addWidget(button);
    }
    layout->addStretch(1);
    add_ = new QPushButton(this);
    add_->setObjectName("add");
    delete_ = new QPushButton(this);
    delete_->setObjectName("delete");
    add_->setMinimumWidth(90);
    delete_->setMinimumWidth(90);
    connect(add_, &QPushButton::clicked, this, &AlarmStepBar::AddClicked);
    connect(delete_, &QPushButton::clicked, this, &AlarmStepBar::DeleteClicked);
    layout->addWidget(add_);
    layout->addWidget(delete_);
}

void AlarmStepBar::SetTexts(const QString& add, const QString& remove)
{
    add_->setText(add);
    delete_->setText(remove);
}

QPushButton* AlarmStepBar::StepButton(emergency::Step step) const { return steps_[static_cast<int>(step)]; }
