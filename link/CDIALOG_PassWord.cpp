#include "link/CDIALOG_PassWord.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <algorithm>

#include "core/AppContext.h"
#include "ui/QtText.h"
#include "codeplug/ProgrammingPassword.h"
#include "codeplug/Records.h"
#include "link/PortProbe.h"
#include "link/ServiceOperations.h"

namespace {
// Section RW_Str.
constexpr int kTitle = 30;
constexpr int kRadioPassword = 31;
constexpr int kOld = 32;
constexpr int kNew = 33;
constexpr int kRepeat = 34;
constexpr int kClear = 35;
constexpr int kConfirm = 36;
constexpr int kCancel = 37;
constexpr int kEntryError = 38;
constexpr int kDefault = 40;
constexpr int kSave = 41;
constexpr int kSwitch = 42;
constexpr int kProgrammingPassword = 43;
constexpr int kDone = 85;
constexpr int kFailed = 86;
// Section Service: the busy lines.
constexpr int kAsking = 1;
constexpr int kSetting = 2;

QLineEdit* MakePasswordEdit(QWidget* parent, int maxChars, bool masked)
{
    auto* field = new QLineEdit(parent);
    field->setMaxLength(maxChars);
    if (masked)
        field->setEchoMode(QLineEdit::Password);
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QString(maxChars + 4, QLatin1Char('0'))));
    return field;
}
}  // namespace

CDIALOG_PassWord::CDIALOG_PassWord(AppContext& app, CDialog_MSComm& link, QWidget* parent)
    : CServiceDialog(app, link, parent)
{
    const TextCatalogue& text = app_.text;
    portTest_ = [this] { return TestPort(app_.programDirectory, app_.settings.portNumber()); };
    setWindowTitle(QText(text, "RW_Str", kTitle));

    auto* content = new QWidget(this);
    SetContent(content);

    // Upper part: the password inside the radio.
    auto* radio = new QGroupBox(content);
    radioPassword_ = new QCheckBox(QText(text, "RW_Str", kRadioPassword), radio);
    clear_ = new QCheckBox(QText(text, "RW_Str", kClear), radio);
    old_ = MakePasswordEdit(radio, service::kRadioPasswordChars, true);
    new_ = MakePasswordEdit(radio, service::kRadioPasswordChars, true);
    repeat_ = MakePasswordEdit(radio, service::kRadioPasswordChars, true);
    default_ = MakePasswordEdit(radio, service::kRadioPasswordChars, false);
    save_ = new QPushButton(QText(text, "RW_Str", kSave), radio);
    save_->setAutoDefault(false);

    auto* upper = new QGridLayout(radio);
    upper->setColumnStretch(2, 1);
    upper->addWidget(radioPassword_, 0, 0, 1, 2);
    upper->addWidget(clear_, 0, 2, 1, 2);
    int labelWidth = 0;  // both parts line their fields up under one another
    const auto row = [&](int r, int key, QLineEdit* field) {
        auto* label = new QLabel(QText(text, "RW_Str", key), radio);
        labelWidth = std::max(labelWidth, label->sizeHint().width());
        label->setBuddy(field);
        upper->addWidget(label, r, 0);
        upper->addWidget(field, r, 1);
    };
    row(1, kOld, old_);
    row(2, kNew, new_);
    row(3, kRepeat, repeat_);
    row(4, kDefault, default_);
    upper->addWidget(save_, 4, 2, Qt::AlignLeft);

    // Lower part: the programming password of the Codeplug.
    auto* codeplug = new QGroupBox(content);
    switch_ = new QCheckBox(QText(text, "RW_Str", kSwitch), codeplug);
    programming_ = MakePasswordEdit(codeplug, static_cast<int>(PasswordField::kPasswordBytes), true);
    programming_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,8}")), programming_));
    auto* lower = new QGridLayout(codeplug);
    lower->setColumnStretch(2, 1);
    lower->addWidget(switch_, 0, 0, 1, 2);
    auto* programmingLabel = new QLabel(QText(text, "RW_Str", kProgrammingPassword), codeplug);
    programmingLabel->setBuddy(programming_);
    lower->addWidget(programmingLabel, 1, 0);
    lower->addWidget(programming_, 1, 1);
    labelWidth = std::max(labelWidth, programmingLabel->sizeHint().width());
    upper->setColumnMinimumWidth(0, labelWidth);
    lower->setColumnMinimumWidth(0, labelWidth);

    confirm_ = new QPushButton(QText(text, "RW_Str", kConfirm), content);
    cancel_ = new QPushButton(QText(text, "RW_Str", kCancel), content);
    confirm_->setAutoDefault(false);
    cancel_->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(confirm_);
    buttons->addWidget(cancel_);

    auto* inner = new QVBoxLayout(content);
    inner->setContentsMargins(0, 0, 0, 0);
    inner->addWidget(radio);
    inner->addWidget(codeplug);
    inner->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(content);
    layout->addWidget(BusyRow());
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(radioPassword_, &QCheckBox::clicked, this, &CDIALOG_PassWord::OnRadioPasswordClicked);
    connect(clear_, &QCheckBox::clicked, this, &CDIALOG_PassWord::OnClearClicked);
    connect(confirm_, &QPushButton::clicked, this, &CDIALOG_PassWord::OnConfirm);
    connect(cancel_, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
    connect(save_, &QPushButton::clicked, this, &CDIALOG_PassWord::OnSave);
    connect(switch_, &QCheckBox::clicked, this, &CDIALOG_PassWord::CommitProgrammingPassword);
    connect(programming_, &QLineEdit::editingFinished, this, &CDIALOG_PassWord::CommitProgrammingPassword);

    // Opening.
    default_->setText(QString::fromLatin1(app_.settings.savedPassword()));
    ShowProgrammingPassword();
    clear_->setChecked(false);
    old_->clear();
    new_->clear();
    repeat_->clear();
    SetUpperFields(false, false, false);
    radioPassword_->setFocus();
}

int CDIALOG_PassWord::exec()
{
    if (!portTest_ || !portTest_())
        return QDialog::Rejected;
    return QDialog::exec();
}

void CDIALOG_PassWord::SetUpperFields(bool old, bool clear, bool fresh)
{
    old_->setEnabled(old);
    clear_->setEnabled(clear);
    new_->setEnabled(fresh);
    repeat_->setEnabled(fresh);
}

void CDIALOG_PassWord::OnRadioPasswordClicked()
{
    const bool ticked = radioPassword_->isChecked();
    radioPassword_->setEnabled(false);
    RunExchange(QText(app_.text, "Service", kAsking),
                [ticked](CDialog_MSComm& link) { return service::CheckRadioPassword(link, ticked); },
                [this, ticked](std::optional<std::uint8_t> state) {
                    radioPassword_->setEnabled(true);
                    if (!ticked) {
                        clear_->setChecked(false);
                        SetUpperFields(false, false, false);
                        return;
                    }
                    switch (service::FieldsForState(state)) {
                    case service::PasswordFields::NewOnly:
                        SetUpperFields(false, false, !clear_->isChecked());
                        break;
                    case service::PasswordFields::OldAndNew:
                        SetUpperFields(true, true, !clear_->isChecked());
                        break;
                    case service::PasswordFields::CloseDialog:
                        ShowMessage(QText(app_.text, "Pub", 10), QString());
                        done(QDialog::Rejected);
                        break;
                    case service::PasswordFields::Untick:
                        radioPassword_->setChecked(false);
                        break;
                    }
                });
}

void CDIALOG_PassWord::OnClearClicked()
{
    const bool clear = clear_->isChecked();
    if (clear) {
        new_->clear();
        repeat_->clear();
    }
    new_->setEnabled(!clear);
    repeat_->setEnabled(!clear);
}

void CDIALOG_PassWord::OnConfirm()
{
    if (busy())
        return;
    service::PasswordRequest request;
    request.enabled = radioPassword_->isChecked();
    request.clear = clear_->isChecked();
    request.oldPassword = old_->text().toLatin1().toStdString();
    request.newPassword = new_->text().toLatin1().toStdString();
    request.repeat = repeat_->text().toLatin1().toStdString();
    RunExchange(QText(app_.text, "Service", kSetting),
                [request](CDialog_MSComm& link) { return service::ChangeRadioPassword(link, request); },
                [this, clear = request.clear](service::PasswordOutcome outcome) {
                    const QString caption = QText(app_.text, "Pub", 10);
                    switch (outcome) {
                    case service::PasswordOutcome::NotEnabled:
                        return;
                    case service::PasswordOutcome::InputError:
                        ShowMessage(caption, QText(app_.text, "RW_Str", kEntryError), QMessageBox::Warning);
                        if (!clear) {
                            new_->clear();
                            repeat_->clear();
                            new_->setFocus();
                        }
                        return;
                    case service::PasswordOutcome::StateUnknown:
                        radioPassword_->setChecked(false);
                        radioPassword_->setFocus();
                        [[fallthrough]];
                    case service::PasswordOutcome::Done:
                        ShowMessage(caption, QText(app_.text, "RW_Str", kDone));
                        break;
                    case service::PasswordOutcome::Failed:
                        ShowMessage(caption, QText(app_.text, "RW_Str", kFailed), QMessageBox::Warning);
                        break;
                    }
                    done(QDialog::Accepted);
                });
}

void CDIALOG_PassWord::OnSave()
{
    app_.settings.setSavedPassword(service::Trimmed(default_->text().toLatin1().toStdString()));
    app_.SaveSettings();
    ShowMessage(QText(app_.text, "Pub", 10), QText(app_.text, "RW_Str", kDone));
    done(QDialog::Accepted);
}

void CDIALOG_PassWord::CommitProgrammingPassword()
{
    StoreProgrammingPassword(app_.codeplug, switch_->isChecked(), programming_->text().toLatin1().toStdString());
    ShowProgrammingPassword();
}

void CDIALOG_PassWord::ShowProgrammingPassword()
{
    const ProgrammingPasswordView view = ::ShowProgrammingPassword(app_.codeplug);
    switch_->setChecked(view.protectionOn);
    programming_->setEnabled(view.protectionOn);
    programming_->setText(QString::fromLatin1(view.password));
}
