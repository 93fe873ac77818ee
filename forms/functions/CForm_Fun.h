#pragma once
// The general functions form: the radio's menu language, power saving, alarms, power-on zone,
// VOX level, prompt tones, indicator lamps, the radio's alias and the two microphone gains,
// kept in RadioSettings and FunctionExtra.
#include <array>

#include "forms/functions/FunctionRules.h"
#include "forms/FormBase.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

class CForm_Fun : public CFormBase {
    Q_OBJECT
public:
    explicit CForm_Fun(FormContext& context);

    QComboBox* List(FunList list) const { return lists_.at(static_cast<std::size_t>(list)); }
    QLabel* ListLabel(FunList list) const { return labels_.at(static_cast<std::size_t>(list)); }
    QCheckBox* Flag(FunFlag flag) const { return flags_.at(static_cast<std::size_t>(flag)); }
    QLineEdit* Alias() const { return alias_; }
    QLabel* AliasLabel() const { return aliasLabel_; }

protected:
    void InitialiseControls() override;
    void ShowRecord() override;
    void Commit() override;

private:
    std::array<QComboBox*, kFunVisibleListCount> lists_{};
    std::array<QLabel*, kFunVisibleListCount> labels_{};
    std::array<QCheckBox*, kFunFlagCount> flags_{};
    QLabel* aliasLabel_ = nullptr;
    QLineEdit* alias_ = nullptr;
    FunctionValues shown_;  // the last display; the settings without a control are written back from it
};
