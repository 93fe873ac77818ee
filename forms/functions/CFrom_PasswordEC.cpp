#include "forms/functions/CFrom_PasswordEC.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "codeplug/ProgrammingPassword.h"
#include "codeplug/Records.h"

namespace {
constexpr int kSwitchText = 42;  // RW_Str
constexpr int kPasswordLabel = 43;
}  // namespace

CFrom_PasswordEC::CFrom_PasswordEC(FormContext& context, QWidget* parent)
    : CFormBase(context, FormKind::PasswordEC, "RW_Str", parent)
{
    auto* box = new QGroupBox(this);
    switch_ = new QCheckBox(box);
    password_ = new QLineEdit(box);
    password_->setMaxLength(static_cast<int>(PasswordField::kPasswordBytes));
    password_->setEchoMode(QLineEdit::Password);
    password_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,8}")), password_));
    password_->setFixedWidth(password_->fontMetrics().horizontalAdvance(QStringLiteral("000000000000")) + 16);
    auto* label = new QLabel(box);
    label->setObjectName(QStringLiteral("passwordLabel"));
    label->setBuddy(password_);

    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(14);
    grid->addWidget(switch_, 0, 0, 1, 2);
    grid->addWidget(label, 1, 0);
    grid->addWidget(password_, 1, 1);
    grid->setColumnStretch(2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->addWidget(box);
    layout->addStretch(1);

    OnChange(switch_, &QCheckBox::clicked);
    OnChange(password_, &QLineEdit::editingFinished);
}

void CFrom_PasswordEC::InitialiseControls()
{
    switch_->setText(Text(kSwitchText));
    if (auto* label = findChild<QLabel*>(QStringLiteral("passwordLabel")))
        label->setText(Text(kPasswordLabel));
}

void CFrom_PasswordEC::ShowRecord()
{
    const ProgrammingPasswordView view = ShowProgrammingPassword(CodeplugImage());
    switch_->setChecked(view.protectionOn);
    password_->setEnabled(view.protectionOn);
    password_->setText(QString::fromLatin1(view.password));
}

void CFrom_PasswordEC::Commit()
{
    StoreProgrammingPassword(CodeplugImage(), switch_->isChecked(), password_->text().toLatin1().toStdString());
}
