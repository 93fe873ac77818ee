#pragma once
// The text messages form: the three preset messages in a grid, a message edited in a box laid
// over its cell. Clicking the row after the last message in use brings one more into use.
#include "forms/FormBase.h"

class CMSFlexGrid;
class QLineEdit;

class Form_Message : public CFormBase {
    Q_OBJECT
public:
    explicit Form_Message(FormContext& context, QWidget* parent = nullptr);
    ~Form_Message() override;

    // For tests and the screenshots.
    CMSFlexGrid* Grid() const { return grid_; }
    QLineEdit* Editor() const { return editor_; }
    void ClickCell(int row, int col) { OnCellClicked(row, col); }

protected:
    void InitialiseControls() override;
    void ShowRecord() override;
    void Commit() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnCellClicked(int row, int col);

    CMSFlexGrid* grid_ = nullptr;
    QLineEdit* editor_ = nullptr;
    int editRow_ = 0;  // grid row whose message the editor holds, 0 for none
};
