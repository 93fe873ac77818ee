#include "link/CDialog_SetComPort.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cstring>
#include <system_error>

#include "core/AppContext.h"
#include "ui/QtText.h"
#include "link/PortNames.h"

namespace {

// Texts of the port reasons: section Info, keys 40..44; English built in as a fallback.
constexpr int kReasonKeyMissing = 40;
constexpr int kReasonKeyPermission = 41;
constexpr int kReasonKeyBusy = 42;
constexpr int kReasonKeyNotSerial = 43;
constexpr int kReasonKeyFailed = 44;

const char* FallbackReason(PortState state)
{
    switch (state) {
    case PortState::Missing: return "No device here (is the programming cable plugged in?)";
    case PortState::PermissionDenied:
        return "Permission denied. Add your user to the dialout group: sudo usermod -aG dialout $USER, "
               "then log out and in again.";
    case PortState::Busy: return "The device is in use by another program.";
    case PortState::NotSerial: return "Not a serial device.";
    case PortState::Failed:
    case PortState::Usable: break;
    }
    return "The device cannot be opened.";
}

int ReasonKey(PortState state)
{
    switch (state) {
    case PortState::Missing: return kReasonKeyMissing;
    case PortState::PermissionDenied: return kReasonKeyPermission;
    case PortState::Busy: return kReasonKeyBusy;
    case PortState::NotSerial: return kReasonKeyNotSerial;
    case PortState::Failed:
    case PortState::Usable: break;
    }
    return kReasonKeyFailed;
}

// The device a button stands for, as the user knows it: a COMn link shows where it points.
QString DeviceText(const std::filesystem::path& device)
{
    std::error_code ec;
    if (std::filesystem::is_symlink(device, ec)) {
        const auto target = std::filesystem::read_symlink(device, ec);
        if (!ec)
            return QString::fromStdString(device.filename().string() + " \u2192 " + target.string());
    }
    return QString::fromStdString(device.string());
}

}  // namespace

QString CDialog_SetComPort::ReasonText(const TextCatalogue& text, const PortCheck& check)
{
    QString reason = QText(text, "Info", ReasonKey(check.state));
    if (reason.isEmpty())
        reason = QString::fromUtf8(FallbackReason(check.state));
    if (check.state == PortState::Failed && check.error != 0)
        reason += QStringLiteral(" (%1)").arg(QString::fromLocal8Bit(std::strerror(check.error)));
    return reason;
}

CDialog_SetComPort::CDialog_SetComPort(AppContext& app, PortTester tester, QWidget* parent)
    : QDialog(parent), app_(app), tester_(std::move(tester))
{
    if (!tester_) {
        const std::filesystem::path directory = app_.programDirectory;
        tester_ = [directory](int n) { return ProbePort(directory, n); };
    }
    setWindowTitle(QText(app_.text, "Pub", 20));

    // The stored port, clamped to 1..16; the clamped value is kept in the settings record.
    const int stored = ClampPortNumber(app_.settings.bytes[SystemSettings::PortNumber]);
    app_.settings.bytes[SystemSettings::PortNumber] = static_cast<std::uint8_t>(stored);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(10);
    group_ = new QButtonGroup(this);
    group_->setExclusive(true);
    for (int n = kFirstComPort; n <= kLastComPort; ++n) {
        const PortCheck check = tester_(n);
        auto* button = new QRadioButton(QString::fromStdString(ComPortCaption(n)));
        const QString device = DeviceText(check.device);
        auto* deviceLabel = new QLabel(device);
        deviceLabel->setForegroundRole(QPalette::PlaceholderText);
        QFont small = deviceLabel->font();
        small.setPointSizeF(small.pointSizeF() * 0.85);
        deviceLabel->setFont(small);
        deviceLabel->setContentsMargins(22, 0, 0, 0);  // under the button's text, past its indicator

        button->setEnabled(check.usable());
        deviceLabel->setEnabled(check.usable());
        const QString tip = check.usable() ? device : device + QStringLiteral("\n") + ReasonText(app_.text, check);
        button->setToolTip(tip);
        deviceLabel->setToolTip(tip);
        if (check.usable() && n == stored)
            button->setChecked(true);

        auto* cell = new QVBoxLayout;
        cell->setSpacing(0);
        cell->addWidget(button);
        cell->addWidget(deviceLabel);
        grid->addLayout(cell, (n - 1) / 4, (n - 1) % 4);
        group_->addButton(button, n);
        buttons_[static_cast<std::size_t>(n - 1)] = button;
    }
    auto* box = new QGroupBox;
    box->setLayout(grid);

    auto* buttons = new QDialogButtonBox;
    confirm_ = buttons->addButton(QText(app_.text, "Info", 30), QDialogButtonBox::AcceptRole);
    cancel_ = buttons->addButton(QText(app_.text, "Info", 31), QDialogButtonBox::RejectRole);
    confirm_->setDefault(true);
    connect(confirm_, &QPushButton::clicked, this, &CDialog_SetComPort::Confirm);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(group_, &QButtonGroup::idToggled, this, [this](int, bool) { UpdateConfirm(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(buttons);
    UpdateConfirm();
}

QRadioButton* CDialog_SetComPort::portButton(int n) const
{
    if (n < kFirstComPort || n > kLastComPort)
        return nullptr;
    return buttons_[static_cast<std::size_t>(n - 1)];
}

int CDialog_SetComPort::checkedPort() const
{
    const int id = group_->checkedId();
    return id < 0 ? 0 : id;
}

void CDialog_SetComPort::UpdateConfirm() { confirm_->setEnabled(checkedPort() != 0); }

void CDialog_SetComPort::Confirm()
{
    const int n = checkedPort();
    if (n == 0)
        return;  // nothing chosen: the button is disabled, and Enter must not store a bogus port
    app_.settings.bytes[SystemSettings::PortNumber] = static_cast<std::uint8_t>(n);
    app_.settings.bytes[SystemSettings::PortConfigured] = 1;
    app_.SaveSettings();
    accept();
}
