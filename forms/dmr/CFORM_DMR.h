#pragma once
// DMR basic settings: the radio's own ID and the call timing lists, all in DmrSettings. Every
// list change and the ID box losing the focus write the whole form back, then show it again.
#include <array>

#include "forms/dmr/DmrRules.h"
#include "forms/FormBase.h"

class QComboBox;
class QLabel;
class QLineEdit;

class CFORM_DMR : public CFormBase {
    Q_OBJECT
public:
    explicit CFORM_DMR(FormContext& context, QWidget* parent = nullptr);

    QLineEdit* IdBox() const { return id_; }
    // The lists in dmr::SettingLists() order (two of them hidden).
    QComboBox* List(std::size_t i) const { return lists_.at(i); }

protected:
    void InitialiseControls() override;
    void ShowRecord() override;
    void Commit() override;

private:
    QLabel* idLabel_ = nullptr;
    QLineEdit* id_ = nullptr;
    std::array<QLabel*, 11> labels_{};
    std::array<QComboBox*, 11> lists_{};
};
