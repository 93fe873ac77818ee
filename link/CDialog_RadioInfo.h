#pragma once
// The radio-information dialog: model, serial number, the two firmware versions and the band
// from the Codeplug image, and today's date. Choosing a band stores its byte in the image at
// once; the dialog exchanges nothing with the radio.
#include <QDialog>

#include <functional>
#include <string>

class QComboBox;
class QLineEdit;
class QPushButton;
struct AppContext;

class CDialog_RadioInfo : public QDialog {
    Q_OBJECT
public:
    // `today` gives the date text; today's local date when empty.
    explicit CDialog_RadioInfo(AppContext& app, QWidget* parent = nullptr, std::function<std::string()> today = {});

    QLineEdit* modelEdit() const { return model_; }
    QLineEdit* serialEdit() const { return serial_; }
    QLineEdit* mcuEdit() const { return mcu_; }
    QLineEdit* dspEdit() const { return dsp_; }
    QLineEdit* dateEdit() const { return date_; }
    QComboBox* bandList() const { return band_; }
    QPushButton* confirmButton() const { return confirm_; }

private:
    void ShowFields();

    AppContext& app_;
    std::function<std::string()> today_;
    QLineEdit* model_ = nullptr;
    QLineEdit* serial_ = nullptr;
    QLineEdit* mcu_ = nullptr;
    QLineEdit* dsp_ = nullptr;
    QLineEdit* date_ = nullptr;
    QComboBox* band_ = nullptr;
    QPushButton* confirm_ = nullptr;
};
