#pragma once
// The analog emergency alarm systems, one at a time, from the application's in-memory table
// (kept for the run only). Which lists can be edited follows the stored alarm and repeat modes.
#include "forms/dmr/AlarmFormParts.h"

class QCheckBox;

class CForm_AnologEmergAlarm : public AlarmFormBase {
    Q_OBJECT
public:
    explicit CForm_AnologEmergAlarm(FormContext& context, QWidget* parent = nullptr);

    enum ListId {
        AlarmMode, LocalToneDuration, ToneRepeatMode, ToneRepeatCount, VoiceRepeatMode, VoiceRepeatCount,
        SquelchMode, TransmitDuration, ReceiveDuration, kLists
    };
    QComboBox* List(ListId id) const { return lists_[id]; }
    QCheckBox* BackgroundTone() const { return background_; }

protected:
    void InitialiseControls() override;
    void ShowRecord() override;
    void Commit() override;

private:
    emergency::AnalogAlarmRecord Record() const;

    QLabel* labels_[kLists] = {};
    QComboBox* lists_[kLists] = {};
    QCheckBox* background_ = nullptr;
};
