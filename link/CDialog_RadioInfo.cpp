#include "link/CDialog_RadioInfo.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "core/AppContext.h"
#include "ui/QtText.h"
#include "codeplug/RadioInfo.h"
#include "forms/channels/Encodings.h"

namespace {
// Section Info: the labels of the catalogue, and the labels and title this dialog adds.
constexpr int kModelLabel = 2;
constexpr int kBandLabel = 4;
constexpr int kSerialLabel = 6;
constexpr int kConfirm = 30;
// Section Service.
constexpr int kTitle = 10;
constexpr int kMcuLabel = 11;
constexpr int kDspLabel = 12;
constexpr int kDateLabel = 13;

QLineEdit* ReadOnlyField(QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setReadOnly(true);
    field->setMinimumWidth(220);
    return field;
}
}  // namespace

CDialog_RadioInfo::CDialog_RadioInfo(AppContext& app, QWidget* parent, std::function<std::string()> today)
    : QDialog(parent), app_(app), today_(std::move(today))
{
    if (!today_)
        today_ = [] { return radio_info::TodayText(); };
    const TextCatalogue& text = app_.text;
    setWindowTitle(QText(text, "Service", kTitle));

    model_ = ReadOnlyField(this);
    serial_ = ReadOnlyField(this);
    mcu_ = ReadOnlyField(this);
    dsp_ = ReadOnlyField(this);
    band_ = new QComboBox(this);
    for (const char* band : radio_info::kBandTexts)
        band_->addItem(QString::fromLatin1(band));
    date_ = ReadOnlyField(this);  // made in the order shown, which is the order of Tab

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->addRow(QText(text, "Info", kModelLabel), model_);
    form->addRow(QText(text, "Info", kSerialLabel), serial_);
    form->addRow(QText(text, "Service", kMcuLabel), mcu_);
    form->addRow(QText(text, "Service", kDspLabel), dsp_);
    form->addRow(QText(text, "Info", kBandLabel), band_);
    form->addRow(QText(text, "Service", kDateLabel), date_);

    auto* buttons = new QDialogButtonBox(this);
    confirm_ = buttons->addButton(QText(text, "Info", kConfirm), QDialogButtonBox::AcceptRole);
    confirm_->setDefault(true);
    connect(confirm_, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    // Every choice stores the byte, also a choice of the entry already shown.
    connect(band_, &QComboBox::activated, this, [this](int index) {
        radio_info::SetBand(app_.codeplug, index);
        ShowFields();
    });
    ShowFields();
}

void CDialog_RadioInfo::ShowFields()
{
    const Codeplug& c = app_.codeplug;
    model_->setText(QString::fromLatin1(radio_info::kModelName));
    // The radio's texts decoded from its code page, anything unprintable escaped.
    serial_->setText(QString::fromStdString(PrintableRadioText(radio_info::SerialNumber(c))));
    mcu_->setText(QString::fromStdString(PrintableRadioText(radio_info::McuVersion(c))));
    dsp_->setText(QString::fromStdString(PrintableRadioText(radio_info::DspVersion(c))));
    {
        const QSignalBlocker hold(band_);
        band_->setCurrentIndex(radio_info::BandIndex(c));
    }
    date_->setText(QString::fromStdString(today_()));
}
