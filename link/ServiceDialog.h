#pragma once
// The base of the dialogs that talk to the radio over the service frames. Their exchanges take
// up to tens of seconds against a silent radio, so they run on the dialog's own worker thread
// (link/TransferThread.h) while the dialog stays modal: a busy bar and a line saying what is
// being done are shown, the dialog's controls are disabled and it cannot be closed until the
// exchange has ended. The result comes back to the user-interface thread.
//
// Closing the dialog by any means closes the serial port (on the worker thread).
#include <QDialog>
#include <QMessageBox>

#include <functional>
#include <memory>
#include <type_traits>

#include "link/TransferThread.h"

class QLabel;
class QProgressBar;
class QWidget;
class CDialog_MSComm;
struct AppContext;

class CServiceDialog : public QDialog {
    Q_OBJECT
public:
    CServiceDialog(AppContext& app, CDialog_MSComm& link, QWidget* parent = nullptr);
    ~CServiceDialog() override;

    // How messages are shown (caption, text); a message box by default. Tests capture them.
    using MessageSink = std::function<void(const QString& caption, const QString& text)>;
    void setMessageSink(MessageSink sink) { showMessage_ = std::move(sink); }
    QMessageBox::Icon lastMessageIcon() const { return messageIcon_; }

    // True while an exchange runs.
    bool busy() const { return busy_; }
    QProgressBar* busyBar() const { return busyBar_; }
    QLabel* busyLine() const { return busyLine_; }

public slots:
    void done(int result) override;
    void reject() override;

protected:
    // Runs work(link) on the worker thread after pointing the link at the configured port;
    // then(result) runs on this thread when it is over. `what` is the busy line.
    template <typename Work, typename Then>
    void RunExchange(const QString& what, Work work, Then then)
    {
        using Result = std::invoke_result_t<Work, CDialog_MSComm&>;
        BeginBusy(what);
        CDialog_MSComm* link = &link_;
        worker_->queue().Post([this, link, work = std::move(work), then = std::move(then)]() mutable {
            auto result = std::make_shared<Result>(work(*link));
            Deliver([this, result, then = std::move(then)]() mutable {
                EndBusy();
                then(std::move(*result));
            });
        });
    }

    // Failures and refusals take the warning icon, success the information icon.
    void ShowMessage(const QString& caption, const QString& text, QMessageBox::Icon icon = QMessageBox::Information);

    // The widget whose controls are disabled while busy, and the layout slot of the busy row.
    void SetContent(QWidget* content) { content_ = content; }
    QWidget* BusyRow() const { return busyRow_; }

    AppContext& app_;
    CDialog_MSComm& link_;

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BeginBusy(const QString& what);
    void EndBusy();
    void Deliver(std::function<void()> call);  // queued to this thread
    void ClosePortOnWorker();

    std::unique_ptr<TransferThread> worker_;
    MessageSink showMessage_;
    QMessageBox::Icon messageIcon_ = QMessageBox::NoIcon;
    bool busy_ = false;
    QWidget* content_ = nullptr;
    QWidget* busyRow_ = nullptr;
    QProgressBar* busyBar_ = nullptr;
    QLabel* busyLine_ = nullptr;
};
