#pragma once
// The scan-list form: the channels and the two scan settings of the navigation's current scan
// list, and the adding and deleting of whole scan lists.
#include "forms/channels/MemberRules.h"
#include "ui/FormBase.h"

class CMSFlexGrid;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class CForm_Scan : public CFormBase {
    Q_OBJECT
public:
    explicit CForm_Scan(CVanticApp& app, QWidget* parent = nullptr);

    CMSFlexGrid* AvailableGrid() const { return available_; }
    CMSFlexGrid* MemberGrid() const { return members_; }
    QLineEdit* AliasBox() const { return alias_; }
    QComboBox* TxModeList() const { return txMode_; }
    QComboBox* DwellList() const { return dwell_; }
    QPushButton* AddButton() const { return add_; }
    QPushButton* RemoveButton() const { return remove_; }
    QPushButton* AddListButton() const { return addList_; }
    QPushButton* DeleteListButton() const { return deleteList_; }

    void OnAdd();
    void OnRemove();
    void OnAddList();
    void OnDeleteList();

protected:
    void InitialiseControls() override;
    void ShowRecord() override;
    void Commit() override;

private:
    std::span<std::uint8_t> Record() const;
    QString Fixed(MemberText text) const;

    QLabel* aliasLabel_ = nullptr;
    QLineEdit* alias_ = nullptr;
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
    QLabel* availableLabel_ = nullptr;
    QLabel* membersLabel_ = nullptr;
    CMSFlexGrid* available_ = nullptr;
    CMSFlexGrid* members_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;

    MemberList memberList_;
    MemberList availableList_;
};
