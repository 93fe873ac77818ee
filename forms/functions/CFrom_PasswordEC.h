#pragma once
// The programming-password form: the protection switch and the masked password of up to 8
// digits of PasswordBlock, stored right-aligned behind "0" characters in both copies
// (codeplug/ProgrammingPassword.h). It stays open across CloseAllForms.
#include "forms/FormBase.h"

class QCheckBox;
class QLineEdit;

class CFrom_PasswordEC : public CFormBase {
    Q_OBJECT
public:
    explicit CFrom_PasswordEC(FormContext& context, QWidget* parent = nullptr);

    QCheckBox* switchBox() const { return switch_; }
    QLineEdit* passwordEdit() const { return password_; }

protected:
    void InitialiseControls() override;
    void ShowRecord() override;
    void Commit() override;

private:
    QCheckBox* switch_ = nullptr;
    QLineEdit* password_ = nullptr;
};
