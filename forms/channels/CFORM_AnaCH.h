#pragma once
// The analog channel form: one record of the analog channel table, chosen in the navigation
// tree. Every change is committed to the record and the record shown again.
#include "forms/channels/ChannelFormParts.h"

class CFORM_AnaCH : public ChannelFormBase {
    Q_OBJECT
public:
    explicit CFORM_AnaCH(FormContext& context);

    // The controls, for the tests and the screenshots.
    struct Controls {
        QLineEdit *alias, *rxFrequency, *txFrequency;
        QComboBox *bandwidth, *squelch, *tail, *timeout, *recovery, *power, *permission, *scanList;
        QComboBox *rxType, *rxCtcss, *rxDcs, *rxInverted;
        QComboBox *txType, *txCtcss, *txDcs, *txInverted;
        QCheckBox *autoScan, *vox, *receiveOnly;
        QPushButton *add, *remove, *copy;
    };
    const Controls& Ui() const { return ui_; }

protected:
    void InitialiseControls() override;
    void ShowRecord() override;
    void Commit() override;

private:
    Controls ui_{};
};
