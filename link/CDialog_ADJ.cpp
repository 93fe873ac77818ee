#include "link/CDialog_ADJ.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/AppContext.h"
#include "ui/QtText.h"
#include "link/ServiceOperations.h"

namespace {
// The dialog's own labels, as the radio's service menu names the values.
constexpr const char* kLabels[] = {"QT0 /25K/CH02", "DQT0 /25K/CH02", "Slot offset/CH02", "Slot length",
                                   "VOX0", "VOX1", "VOX9"};
constexpr bool kWide[] = {false, false, true, true, false, false, false};  // 16-bit values
constexpr int kConfirmQuestion = 30;  // Pub
constexpr int kBusyLine = 3;          // Service
constexpr int kValuesMissing = 20;    // Service
constexpr int kMenuAdjustValue = 47;  // Menu
}  // namespace

CDialog_ADJ::CDialog_ADJ(AppContext& app, CDialog_MSComm& link, QWidget* parent)
    : CServiceDialog(app, link, parent)
{
    setWindowTitle(QText(app.text, "Menu", kMenuAdjustValue));  // as the menu item that opens it
    ask_ = [this](const QString& caption, const QString& text) {
        QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Ok | QMessageBox::Cancel, this);
        box.setDefaultButton(QMessageBox::Cancel);
        return box.exec() == QMessageBox::Ok;
    };

    auto* content = new QWidget(this);
    SetContent(content);
    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        auto* edit = new QLineEdit(content);
        const int top = kWide[i] ? 65535 : 255;
        edit->setValidator(new QIntValidator(0, top, edit));
        edit->setMaxLength(kWide[i] ? 5 : 3);
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
        form->addRow(QString::fromLatin1(kLabels[i]), edit);
        fields_[i] = edit;
    }
    defaults_ = new QPushButton(QStringLiteral("Default value"), content);
    write_ = new QPushButton(QStringLiteral("Write"), content);
    defaults_->setAutoDefault(false);
    write_->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(defaults_);
    buttons->addStretch(1);
    buttons->addWidget(write_);

    auto* inner = new QVBoxLayout(content);
    inner->setContentsMargins(0, 0, 0, 0);
    inner->addLayout(form);
    inner->addSpacing(6);
    inner->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(content);
    layout->addWidget(BusyRow());
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(defaults_, &QPushButton::clicked, this, &CDialog_ADJ::OnDefaults);
    connect(write_, &QPushButton::clicked, this, &CDialog_ADJ::OnWrite);
}

void CDialog_ADJ::OnDefaults()
{
    const service::AdjustValues d;
    const int values[] = {d.qt, d.dqt, d.slotOffset, d.slotLength, d.vox0, d.vox1, d.vox9};
    for (std::size_t i = 0; i < fields_.size(); ++i)
        fields_[i]->setText(QString::number(values[i]));
}

void CDialog_ADJ::OnWrite()
{
    if (busy())
        return;
    // Every field must hold a number of its range: nothing is guessed for the radio's tuning.
    std::array<int, kFieldCount> numbers{};
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        bool ok = false;
        numbers[i] = fields_[i]->text().trimmed().toInt(&ok);
        if (!ok || numbers[i] < 0 || numbers[i] > (kWide[i] ? 65535 : 255)) {
            ShowMessage(QText(app_.text, "RW_Str", 0), QText(app_.text, "Service", kValuesMissing), QMessageBox::Warning);
            fields_[i]->setFocus();
            return;
        }
    }
    if (!ask_(QText(app_.text, "Pub", 10), QText(app_.text, "Pub", kConfirmQuestion)))
        return;
    service::AdjustValues values;
    values.qt = numbers[QT];
    values.dqt = numbers[DQT];
    values.slotOffset = numbers[SlotOffset];
    values.slotLength = numbers[SlotLength];
    values.vox0 = numbers[VOX0];
    values.vox1 = numbers[VOX1];
    values.vox9 = numbers[VOX9];
    RunExchange(QText(app_.text, "Service", kBusyLine),
                [values](CDialog_MSComm& link) { return service::WriteAdjustValues(link, values); },
                [this](int result) {
                    ShowMessage(QText(app_.text, "RW_Str", 0),
                                QText(app_.text, "RW_Str", service::AdjustMessageKey(result)),
                                result == service::adjust::kOk ? QMessageBox::Information : QMessageBox::Warning);
                });
}
