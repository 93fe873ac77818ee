#pragma once
// The transfer dialog of the Read and Write commands: a progress bar, the start and exit
// buttons, a password field shown when the radio asks for one and, in write mode, the radio-ID
// field with its increment box. The transfer runs on the dialog's own worker thread; a 100 ms
// timer follows it through the shared TransferState.
//
// Use:  CDialog_RW dialog(app, link, transferState, CDialog_RW::Mode::Read, this);
//       dialog.exec();   // tests the port first: an unusable port shows a message and returns
//
// The TransferState belongs to the opener and outlives the dialog (IdAutoIncrement survives).
// While a transfer runs the dialog cannot be closed (exit disabled, Escape and the close box
// refused); when it closes, an open port (a read or write waiting for its password) is closed
// on the worker thread and the thread is joined.
#include <QDialog>
#include <QMessageBox>

#include <functional>
#include <memory>

#include "link/SessionRules.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class CDialog_MSComm;
class TransferThread;
struct AppContext;
struct SessionContext;
struct TransferState;

class CDialog_RW : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Read = 0, Write = 1 };

    CDialog_RW(AppContext& app, CDialog_MSComm& link, TransferState& state, Mode mode, QWidget* parent = nullptr);
    ~CDialog_RW() override;

    // Tests the configured port; if it cannot be used shows RW_Str 18 (caption Pub 10) and
    // returns Rejected without showing the dialog.
    int exec() override;
    bool PortUsable() const;

    // How messages are shown (caption, text); a message box by default. Tests capture them.
    using MessageSink = std::function<void(const QString& caption, const QString& text)>;
    void setMessageSink(MessageSink sink) { showMessage_ = std::move(sink); }
    // The icon of the last message: warning for failures, information for success.
    QMessageBox::Icon lastMessageIcon() const { return messageIcon_; }
    // How the port is tested; TestPort of the configured port by default.
    void setPortTest(std::function<bool()> test) { portTest_ = std::move(test); }
    // The date a write stamps into PasswordBlock; today by default.
    void setDateSource(std::function<session::Date()> today);

    Mode mode() const { return mode_; }
    // True from the start button until the buttons are enabled again (or the dialog closes).
    bool transferActive() const { return active_; }

    QProgressBar* progressBar() const { return progress_; }
    QPushButton* startButton() const { return start_; }
    QPushButton* exitButton() const { return exit_; }
    QLabel* passwordLabel() const { return passwordLabel_; }
    QLineEdit* passwordEdit() const { return password_; }
    QLabel* radioIdLabel() const { return radioIdLabel_; }
    QLineEdit* radioIdEdit() const { return radioId_; }
    QCheckBox* incrementBox() const { return increment_; }
    // The fast link (off by default; the choice is kept in Sys.dat).
    QCheckBox* fastLinkBox() const { return fast_; }

public slots:
    void done(int result) override;
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Start();
    void Tick();
    void AfterPause(const std::function<void()>& then);
    void EnableButtons();
    void ShowPasswordField();
    void ClosePortOnWorker();
    void ShowProgress();
    void Report(QMessageBox::Icon icon, const QString& caption, const QString& text);

    AppContext& app_;
    CDialog_MSComm& link_;
    TransferState& state_;
    const Mode mode_;
    std::unique_ptr<SessionContext> context_;
    std::unique_ptr<TransferThread> worker_;
    MessageSink showMessage_;
    QMessageBox::Icon messageIcon_ = QMessageBox::NoIcon;
    std::function<bool()> portTest_;
    bool active_ = false;

    QProgressBar* progress_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* exit_ = nullptr;
    QLabel* passwordLabel_ = nullptr;
    QLineEdit* password_ = nullptr;
    QLabel* radioIdLabel_ = nullptr;
    QLineEdit* radioId_ = nullptr;
    QCheckBox* increment_ = nullptr;
    QCheckBox* fast_ = nullptr;
    QLabel* port_ = nullptr;
    QTimer* timer_ = nullptr;
};
