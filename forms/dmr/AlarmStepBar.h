#pragma once
// The button row of both emergency alarm forms: first, previous, next and last system, then Add
// and Delete.
#include <QPushButton>
#include <QWidget>

#include "forms/dmr/AlarmRules.h"

class AlarmStepBar : public QWidget {
    Q_OBJECT
public:
    explicit AlarmStepBar(QWidget* parent = nullptr);

    void SetTexts(const QString& add, const QString& remove);
    QPushButton* StepButton(emergency::Step step) const;
    QPushButton* AddButton() const { return add_; }
    QPushButton* DeleteButton() const { return delete_; }

signals:
    void StepClicked(emergency::Step step);
    void AddClicked();
    void DeleteClicked();

private:
    QPushButton* steps_[4] = {};
    QPushButton* add_ = nullptr;
    QPushButton* delete_ = nullptr;
};
