#pragma once
// The contact list: a 64-row grid of name, call type and DMR ID, edited through three editors
// placed over the clicked cell, with Add and Delete.
#include "forms/FormBase.h"

class CMSFlexGrid;
class QComboBox;
class QLineEdit;
class QPushButton;

class CFORM_DMR_Contact : public CFormBase {
    Q_OBJECT
public:
    explicit CFORM_DMR_Contact(FormContext& context, QWidget* parent = nullptr);

    // Parts, for the tests.
    CMSFlexGrid* Grid() const { return grid_; }
    QLineEdit* NameEditor() const { return nameEdit_; }
    QComboBox* CallTypeEditor() const { return typeList_; }
    QLineEdit* IdEditor() const { return idEdit_; }
    QPushButton* AddButton() const { return addButton_; }
    QPushButton* DeleteButton() const { return deleteButton_; }

    // What a click on a cell does (row and column as the grid numbers them).
    void ClickCell(int row, int col);

protected:
    void InitialiseControls() override;
    void ShowRecord() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CommitName();
    void CommitCallType(int position);
    void CommitId();
    void OnAdd();
    void OnDelete();
    // After a change: the editors go, the forms that list contacts close, the grid is shown again.
    void AfterChange();

    CMSFlexGrid* grid_ = nullptr;
    QLineEdit* nameEdit_ = nullptr;
    QComboBox* typeList_ = nullptr;
    QLineEdit* idEdit_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
    int editRow_ = 0;  // the row the placed editor belongs to
    bool namePending_ = false;
    bool idPending_ = false;
};
