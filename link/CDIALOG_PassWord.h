#pragma once
// The password dialog. Upper part: sets, changes or clears the password held inside the radio
// over the service frames (link/ServiceOperations.h), with a default password remembered in
// Sys.dat. Lower part: the programming-password switch and password of the Codeplug image, the
// same bytes the programming-password form edits.
//
// Use:  CDIALOG_PassWord dialog(app, link, this);  dialog.exec();  // closes at once without a usable port
#include <functional>

#include "link/ServiceDialog.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

class CDIALOG_PassWord : public CServiceDialog {
    Q_OBJECT
public:
    CDIALOG_PassWord(AppContext& app, CDialog_MSComm& link, QWidget* parent = nullptr);

    // Tests the configured port; when it cannot be used returns Rejected without showing.
    int exec() override;
    // How the port is tested; TestPort of the configured port by default.
    void setPortTest(std::function<bool()> test) { portTest_ = std::move(test); }

    QCheckBox* radioPasswordBox() const { return radioPassword_; }
    QCheckBox* clearBox() const { return clear_; }
    QLineEdit* oldEdit() const { return old_; }
    QLineEdit* newEdit() const { return new_; }
    QLineEdit* repeatEdit() const { return repeat_; }
    QLineEdit* defaultEdit() const { return default_; }
    QPushButton* saveButton() const { return save_; }
    QCheckBox* switchBox() const { return switch_; }
    QLineEdit* programmingPasswordEdit() const { return programming_; }
    QPushButton* confirmButton() const { return confirm_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    void OnRadioPasswordClicked();
    void OnClearClicked();
    void OnConfirm();
    void OnSave();
    void CommitProgrammingPassword();
    void ShowProgrammingPassword();
    void SetUpperFields(bool old, bool clear, bool fresh);

    std::function<bool()> portTest_;
    QCheckBox* radioPassword_ = nullptr;
    QCheckBox* clear_ = nullptr;
    QLineEdit* old_ = nullptr;
    QLineEdit* new_ = nullptr;
    QLineEdit* repeat_ = nullptr;
    QLineEdit* default_ = nullptr;
    QPushButton* save_ = nullptr;
    QCheckBox* switch_ = nullptr;
    QLineEdit* programming_ = nullptr;
    QPushButton* confirm_ = nullptr;
    QPushButton* cancel_ = nullptr;
};
