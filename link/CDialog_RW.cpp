#include "link/CDialog_RW.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "core/AppContext.h"
#include "ui/QtText.h"
#include "link/CDialog_MSComm.h"
#include "link/PortNames.h"
#include "link/PortProbe.h"
#include "link/Sessions.h"
#include "link/TransferState.h"
#include "link/TransferThread.h"

namespace {

constexpr int kTickMs = 100;
constexpr int kReadRange = 400;
constexpr int kWriteRange = 500;
constexpr int kMessagePauseMs = 1000;
constexpr int kIncrementTextKey = 7;  // RW_Str: the increment box
constexpr int kFastLinkTextKey = 91;  // RW_Str: the fast link box
constexpr int kRepeatsTextKey = 92;   // RW_Str: replies asked for again

}  // namespace

CDialog_RW::CDialog_RW(AppContext& app, CDialog_MSComm& link, TransferState& state, Mode mode, QWidget* parent)
    : QDialog(parent), app_(app), link_(link), state_(state), mode_(mode),
      context_(std::make_unique<SessionContext>(SessionContext{app.codeplug, link, state})),
      worker_(std::make_unique<TransferThread>())
{
    const TextCatalogue& text = app_.text;
    showMessage_ = [this](const QString& caption, const QString& message) {
        QMessageBox box(messageIcon_, caption, message, QMessageBox::Ok,
                        isVisible() ? this : parentWidget());
        box.exec();
    };
    // A port number of 0 means no port was ever chosen: that is a port that cannot be opened,
    // never COM1 (whatever device that would be).
    portTest_ = [this] {
        const int port = app_.settings.portNumber();
        return port >= kFirstComPort && TestPort(app_.programDirectory, port);
    };

    setWindowTitle(QText(text, "RW_Str", 1));

    progress_ = new QProgressBar(this);
    progress_->setRange(0, mode_ == Mode::Read ? kReadRange : kWriteRange);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    progress_->setMinimumWidth(400);  // the dialog's width follows its widest row

    passwordLabel_ = new QLabel(QText(text, "RW_Str", 6), this);
    password_ = new QLineEdit(this);
    password_->setMaxLength(static_cast<int>(session::kPasswordChars));
    password_->setEchoMode(QLineEdit::Password);
    passwordLabel_->setBuddy(password_);

    radioIdLabel_ = new QLabel(QText(text, "DMR_Set", 1), this);
    radioId_ = new QLineEdit(this);
    radioId_->setMaxLength(static_cast<int>(session::kRadioIdChars));
    // Digits only: the box's text is read as packed digits, so a letter would write an ID no radio has.
    radioId_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), radioId_));
    radioIdLabel_->setBuddy(radioId_);
    increment_ = new QCheckBox(QText(text, "RW_Str", kIncrementTextKey), this);
    fast_ = new QCheckBox(QText(text, "RW_Str", kFastLinkTextKey), this);
    fast_->setChecked(app_.settings.fastLink());
    connect(fast_, &QCheckBox::toggled, this, [this](bool on) {
        app_.settings.setFastLink(on);
        app_.settings.Save(app_.SettingsPath());
    });

    start_ = new QPushButton(QText(text, "RW_Str", mode_ == Mode::Read ? 2 : 3), this);
    exit_ = new QPushButton(QText(text, "RW_Str", 4), this);
    // Enter belongs to the dialog (it starts the transfer), never to a focused button.
    start_->setAutoDefault(false);
    exit_->setAutoDefault(false);

    // Both fields hold eight characters: give them room for that and no more.
    const int fieldWidth = password_->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) * 2;
    password_->setMinimumWidth(fieldWidth);
    radioId_->setMinimumWidth(fieldWidth);

    port_ = new QLabel(this);
    port_->setForegroundRole(QPalette::PlaceholderText);

    auto* fields = new QGridLayout;
    fields->setColumnStretch(3, 1);
    fields->addWidget(passwordLabel_, 0, 0);
    fields->addWidget(password_, 0, 1);
    fields->addWidget(radioIdLabel_, 1, 0);
    fields->addWidget(radioId_, 1, 1);
    fields->addWidget(increment_, 1, 2);
    fields->addWidget(fast_, 2, 0, 1, 3);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(port_);
    buttons->addStretch(1);
    buttons->addWidget(start_);
    buttons->addWidget(exit_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(progress_);
    layout->addLayout(fields);
    layout->addSpacing(4);
    layout->addLayout(buttons);

    // Opening: both pending flags cleared, the password field hidden, disabled and empty.
    state_.ReadPasswordPending = 0;
    state_.WritePasswordPending = 0;
    state_.TransferStatus = session::status::Idle;
    passwordLabel_->hide();
    password_->hide();
    password_->setEnabled(false);
    password_->clear();
    state_.PasswordEntry.fill(0);

    if (mode_ == Mode::Write) {
        const bool increment = state_.IdAutoIncrement != 0;
        increment_->setChecked(increment);
        radioId_->setText(QString::fromStdString(session::RadioIdFieldText(GetRadioId(app_.codeplug), increment)));
        connect(increment_, &QCheckBox::toggled, this, [this](bool on) { state_.IdAutoIncrement = on ? 1 : 0; });
    } else {
        radioIdLabel_->hide();
        radioId_->hide();
        increment_->hide();
    }

    // Which device the configured COMn stands for on this machine.
    const int port = ClampPortNumber(app_.settings.portNumber());
    port_->setText(QStringLiteral("%1: %2").arg(QString::fromStdString(ComPortName(port)),
                                                QString::fromStdString(ComDevicePath(app_.programDirectory, port).string())));

    timer_ = new QTimer(this);
    timer_->setInterval(kTickMs);
    connect(timer_, &QTimer::timeout, this, &CDialog_RW::Tick);
    connect(start_, &QPushButton::clicked, this, &CDialog_RW::Start);
    connect(exit_, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
}

CDialog_RW::~CDialog_RW()
{
    // The port of a session waiting for its password is closed on the thread that opened it,
    // then the thread is joined (TransferThread's destructor runs the queue empty first).
    if (worker_)
        ClosePortOnWorker();
}

void CDialog_RW::setDateSource(std::function<session::Date()> today) { context_->today = std::move(today); }

bool CDialog_RW::PortUsable() const { return portTest_ && portTest_(); }

int CDialog_RW::exec()
{
    if (!PortUsable()) {
        Report(QMessageBox::Warning, QText(app_.text, "Pub", 10), QText(app_.text, "RW_Str", 18));
        return QDialog::Rejected;
    }
    return QDialog::exec();
}

void CDialog_RW::Start()
{
    if (!start_->isEnabled() || active_)
        return;
    // A typed password replaces the entry, right-aligned and padded with "0"; an empty field
    // leaves the entry as it is.
    if (!password_->text().isEmpty())
        state_.PasswordEntry = session::MakePasswordEntry(password_->text().toLatin1().toStdString());
    state_.ProgressPos = 0;
    state_.RecordsDone = 0;
    state_.RecordsTotal = 0;
    timer_->start();

    active_ = true;
    start_->setEnabled(false);
    exit_->setEnabled(false);
    fast_->setEnabled(false);
    link_.SetDevice(ComDevicePath(app_.programDirectory, app_.settings.portNumber()).string());
    link_.SetFastLink(fast_->isChecked());

    SessionContext* context = context_.get();
    if (mode_ == Mode::Read) {
        progress_->setRange(0, kReadRange);
        state_.TransferStatus = session::status::ReadRunning;
        worker_->queue().Post([context] { ReadWorker(*context); });
    } else {
        progress_->setRange(0, kWriteRange);
        state_.TransferStatus = session::status::WriteRunning;
        SetRadioId(app_.codeplug, ParseBcdIdText(radioId_->text().toLatin1().toStdString()));
        worker_->queue().Post([context] { WriteWorker(*context); });
    }
}

void CDialog_RW::Tick()
{
    namespace st = session::status;
    const std::uint32_t status = state_.TransferStatus.load();
    switch (status) {
    case st::ReadRunning:
    case st::WriteRunning:
        progress_->show();
        passwordLabel_->hide();
        password_->hide();
        ShowProgress();
        break;
    case st::ReadDone:
    case st::WriteDone: {
        ShowProgress();
        progress_->setValue(progress_->maximum());
        timer_->stop();
        active_ = false;
        const QString caption = QText(app_.text, "RW_Str", 0);
        QString message = QText(app_.text, "RW_Str", *session::MessageKeyForStatus(status));
        // A success that needed repeats says how many: a sign of a poor cable.
        if (const int repeats = state_.Repeats.load(); repeats > 0)
            message += "\n\n" + QText(app_.text, "RW_Str", kRepeatsTextKey).arg(repeats);
        done(QDialog::Accepted);
        Report(QMessageBox::Information, caption, message);
        break;
    }
    case st::Failed:
    case st::Damaged:
    case st::TooSlow:
    case st::Refused:
    case st::ModelMismatch:
    case st::FirmwareTooOld:
        timer_->stop();
        AfterPause([this, status] {
            Report(QMessageBox::Warning, QText(app_.text, "RW_Str", 0),
                   QText(app_.text, "RW_Str", *session::MessageKeyForStatus(status)));
            EnableButtons();
        });
        break;
    case st::PasswordWanted:
    case st::PasswordCode2:
        timer_->stop();
        AfterPause([this] {
            ShowPasswordField();
            EnableButtons();
        });
        break;
    default:
        break;
    }
}

// The pause before a failure is reported: a single-shot timer, so the window keeps painting.
void CDialog_RW::AfterPause(const std::function<void()>& then) { QTimer::singleShot(kMessagePauseMs, this, then); }

void CDialog_RW::ShowProgress()
{
    // The bar follows the exchanges done out of those the attempt will make; it moves only
    // forward (the total only comes down as the session learns more).
    const int total = state_.RecordsTotal.load();
    if (total <= 0)
        return;
    const int done = std::clamp(state_.RecordsDone.load(), 0, total);
    if (progress_->maximum() != total)
        progress_->setRange(0, total);
    progress_->setValue(done);
}

void CDialog_RW::Report(QMessageBox::Icon icon, const QString& caption, const QString& text)
{
    messageIcon_ = icon;
    showMessage_(caption, text);
}

void CDialog_RW::EnableButtons()
{
    start_->setEnabled(true);
    exit_->setEnabled(true);
    fast_->setEnabled(true);
    active_ = false;
}

void CDialog_RW::ShowPasswordField()
{
    progress_->hide();
    passwordLabel_->show();
    password_->show();
    password_->setEnabled(true);
    password_->setFocus();
}

void CDialog_RW::ClosePortOnWorker()
{
    CDialog_MSComm* link = &link_;
    worker_->queue().Post([link] {
        if (link->IsPortOpen())
            link->ClosePort();
    });
    worker_->queue().WaitIdle();
}

void CDialog_RW::done(int result)
{
    // A running transfer cannot be left: the worker must not outlive the dialog's control.
    if (active_)
        return;
    timer_->stop();
    active_ = false;
    ClosePortOnWorker();
    QDialog::done(result);
}

void CDialog_RW::reject()
{
    if (active_)
        return;
    done(QDialog::Rejected);
}

void CDialog_RW::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter acts as the start button while it is enabled, and never closes the dialog.
        if (start_->isEnabled())
            Start();
        event->accept();
        return;
    case Qt::Key_Escape:
        if (active_) {
            event->accept();
            return;
        }
        break;
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}

void CDialog_RW::closeEvent(QCloseEvent* event)
{
    if (active_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
