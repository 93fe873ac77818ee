#pragma once
// The digital (DMR) channel form: one record of the digital channel table, chosen in the
// navigation tree. Every change is committed to the record and the record shown again.
#include "forms/channels/ChannelFormParts.h"

class CForm_AnologCH : public ChannelFormBase {
    Q_OBJECT
public:
    explicit CForm_AnologCH(FormContext& context);

    // The controls, for the tests and the screenshots.
    struct Controls {
        QLineEdit *alias, *rxFrequency, *txFrequency, *key;
        QComboBox *power, *timeSlot, *rxColourCode, *txColourCode, *directMode, *permission, *timeout, *recovery;
        QComboBox *contact, *rxGroupList, *scanList;
        QCheckBox *autoScan, *privateConfirm, *emergency, *encryption, *vox, *receiveOnly;
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
