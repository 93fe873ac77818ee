#pragma once
// The adjustment-value dialog: seven tuning values written into the radio's own parameter
// memory (link/ServiceOperations.h, WriteAdjustValues). It does not touch the Codeplug image.
#include <array>
#include <functional>

#include "link/ServiceDialog.h"

class QLineEdit;
class QPushButton;

class CDialog_ADJ : public CServiceDialog {
    Q_OBJECT
public:
    enum Field { QT, DQT, SlotOffset, SlotLength, VOX0, VOX1, VOX9, kFieldCount };

    CDialog_ADJ(AppContext& app, CDialog_MSComm& link, QWidget* parent = nullptr);

    // How the confirmation is asked (caption, text); true for OK. A message box with OK and
    // Cancel, Cancel the default, unless replaced (tests).
    using Question = std::function<bool(const QString& caption, const QString& text)>;
    void setQuestion(Question ask) { ask_ = std::move(ask); }

    QLineEdit* field(Field f) const { return fields_[static_cast<std::size_t>(f)]; }
    QPushButton* defaultButton() const { return defaults_; }
    QPushButton* writeButton() const { return write_; }

private:
    void OnDefaults();
    void OnWrite();

    Question ask_;
    std::array<QLineEdit*, kFieldCount> fields_{};
    QPushButton* defaults_ = nullptr;
    QPushButton* write_ = nullptr;
};
