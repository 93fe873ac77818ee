#pragma once
// The programmable keys form: the functions of K1, K2 and K3 for a short and a long press, the
// long-press time, and the five one-touch call entries in a grid edited through two lists
// placed over its cells (the kind, and the contact to call).
#include <array>
#include <vector>

#include "forms/functions/KeyRules.h"
#include "forms/FormBase.h"

class QComboBox;
class QGroupBox;
class QLabel;
class CMSFlexGrid;

class CForm_Key : public CFormBase {
    Q_OBJECT
public:
    explicit CForm_Key(FormContext& context, QWidget* parent = nullptr);

    // For tests and the screenshots.
    QComboBox* KeyList(std::size_t key) const { return keyLists_[key]; }
    QComboBox* LongPressList() const { return longPress_; }
    CMSFlexGrid* OneTouchGrid() const { return grid_; }
    QComboBox* KindList() const { return kindList_; }
    QComboBox* ContactList() const { return contactList_; }
    void ClickCell(int row, int col) { OnCellClicked(row, col); }

protected:
    void InitialiseControls() override;
    void ShowRecord() override;
    void Commit() override;

private:
    void OnCellClicked(int row, int col);
    void OnKindChosen(int position);
    void OnContactChosen(int position);
    void ShowGrid();

    std::array<QLabel*, kKeyFunctionCount> keyLabels_{};
    std::array<QComboBox*, kKeyFunctionCount> keyLists_{};
    QGroupBox* keysGroup_ = nullptr;
    QLabel* longPressLabel_ = nullptr;
    QComboBox* longPress_ = nullptr;
    CMSFlexGrid* grid_ = nullptr;
    QComboBox* kindList_ = nullptr;
    QComboBox* contactList_ = nullptr;
    std::vector<ContactChoice> contacts_;  // the contact list's entries, built on opening
    int editRow_ = 0;                      // grid row of the placed list (1 … 5), 0 for none
};
