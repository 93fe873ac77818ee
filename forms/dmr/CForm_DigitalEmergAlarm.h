#pragma once
// The digital emergency alarm systems, one at a time, from the application's in-memory table
// (kept for the run only). Any list or check box change writes the shown system back, then shows
// it again; the step buttons choose the system, Add and Delete change the list.
#include "forms/dmr/AlarmFormParts.h"

class QCheckBox;
class QLineEdit;

class CForm_DigitalEmergAlarm : public AlarmFormBase {
    Q_OBJECT
public:
    explicit CForm_DigitalEmergAlarm(FormContext& context, QWidget* parent = nullptr);

    enum ListId { Type, Mode, RepeatCount, HotMicDuration, CallInterval, Duration, ImpoliteCount, PoliteCount, kLists };
    QComboBox* List(ListId id) const { return lists_[id]; }
    QCheckBox* RemoteAllowed() const { return remote_; }
    QLineEdit* AliasBox() const { return alias_; }

protected:
    void InitialiseControls() override;
    void ShowRecord() override;
    void Commit() override;

private:
    emergency::DigitalAlarmRecord Record() const;

    QLabel* labels_[kLists] = {};
    QComboBox* lists_[kLists] = {};
    QCheckBox* remote_ = nullptr;
    QLineEdit* alias_ = nullptr;
};
