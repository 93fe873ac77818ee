#pragma once
// The serial-port dialog: sixteen buttons COM01..COM16, each enabled only when its port can be
// opened. Confirm stores the chosen port in Sys.dat; Cancel changes nothing.
//
// Each button names the device it stands for; a disabled button says why in its tooltip.
// Confirm is disabled while no button is checked.
#include <QDialog>

#include <array>
#include <functional>

#include "link/PortProbe.h"

class QRadioButton;
class QPushButton;
class QButtonGroup;
struct AppContext;
class TextCatalogue;

class CDialog_SetComPort : public QDialog {
    Q_OBJECT
public:
    // How a port is tested; by default ProbePort(program directory, n).
    using PortTester = std::function<PortCheck(int n)>;

    explicit CDialog_SetComPort(AppContext& app, PortTester tester = {}, QWidget* parent = nullptr);

    QRadioButton* portButton(int n) const;  // n = 1..16
    QPushButton* confirmButton() const { return confirm_; }
    QPushButton* cancelButton() const { return cancel_; }
    // The number of the checked button, 0 when none is checked.
    int checkedPort() const;

    // Why a port cannot be used (section Info keys 40..44, English built in when missing).
    static QString ReasonText(const TextCatalogue& text, const PortCheck& check);

private:
    void Confirm();
    void UpdateConfirm();

    AppContext& app_;
    PortTester tester_;
    std::array<QRadioButton*, 16> buttons_{};
    QButtonGroup* group_ = nullptr;
    QPushButton* confirm_ = nullptr;
    QPushButton* cancel_ = nullptr;
};
