#pragma once
// The scan-list form: the channels and the two scan settings of the navigation's current scan
// list, and the adding and deleting of whole scan lists.
#include "forms/channels/MemberGridParts.h"

class QComboBox;

class CForm_Scan : public MemberListFormBase {
    Q_OBJECT
public:
    explicit CForm_Scan(FormContext& context, QWidget* parent = nullptr);

    QComboBox* TxModeList() const { return txMode_; }
    QComboBox* DwellList() const { return dwell_; }
    QPushButton* AddListButton() const { return addList_; }
    QPushButton* DeleteListButton() const { return deleteList_; }

    void OnAddList();
    void OnDeleteList();

protected:
    void InitialiseControls() override;
    void ShowRecord() override;
    void Commit() override;
    std::span<std::uint8_t> Record() const override;

private:
    QLabel* txModeLabel_ = nullptr;
    QComboBox* txMode_ = nullptr;
    QLabel* dwellLabel_ = nullptr;
    QComboBox* dwell_ = nullptr;
    QPushButton* addList_ = nullptr;
    QPushButton* deleteList_ = nullptr;
    QPushButton* first_ = nullptr;     // "|<-"
    QPushButton* previous_ = nullptr;  // "<-"
    QPushButton* next_ = nullptr;      // "->"
    QPushButton* last_ = nullptr;      // "->|"
};
