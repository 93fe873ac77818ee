#pragma once
// The VOX form: VOX switch, level, delay and options, microphone AGC and the microphone gains.
// It edits the VoxSettings the application holds for the run, not the Codeplug.
#include "forms/functions/VoxRules.h"
#include "forms/FormBase.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;

class CForm_VOX : public CFormBase {
    Q_OBJECT
public:
    explicit CForm_VOX(FormContext& context);

    struct Controls {
        QCheckBox* voxOn;
        QComboBox* level;
        QComboBox* delay;
        QCheckBox* inhibitWhileReceiving;
        QCheckBox* pttCancelsVox;
        QCheckBox* promptTone;
        QCheckBox* agcOn;
        QComboBox* agcMin;
        QComboBox* agcMax;
        QComboBox* analogGain;
        QComboBox* digitalGain;
    };
    const Controls& Widgets() const { return c_; }

protected:
    void InitialiseControls() override;
    void ShowRecord() override;
    void Commit() override;

private:
    Controls c_{};
    QGroupBox* voxGroup_ = nullptr;
    QGroupBox* agcGroup_ = nullptr;
    QGroupBox* gainGroup_ = nullptr;
    QLabel* levelLabel_ = nullptr;
    QLabel* delayLabel_ = nullptr;
    QLabel* agcMinLabel_ = nullptr;
    QLabel* agcMaxLabel_ = nullptr;
    QLabel* analogGainLabel_ = nullptr;
    QLabel* digitalGainLabel_ = nullptr;
};
