#pragma once
// One receive group list: its name, the group-call contacts that are not members and the
// members, with buttons to move contacts between the two, and to add and remove whole lists.
#include <vector>

#include "forms/FormBase.h"

class CMSFlexGrid;
class QLabel;
class QLineEdit;
class QPushButton;

class CFORM_DMR_RxGrpList : public CFormBase {
    Q_OBJECT
public:
    explicit CFORM_DMR_RxGrpList(FormContext& context, QWidget* parent = nullptr);

    // Parts, for the tests.
    QLineEdit* NameBox() const { return nameBox_; }
    CMSFlexGrid* AvailableGrid() const { return available_; }
    CMSFlexGrid* MemberGrid() const { return members_; }
    QPushButton* AddMemberButton() const { return addMember_; }
    QPushButton* RemoveMemberButton() const { return removeMember_; }
    QPushButton* NewListButton() const { return newList_; }
    QPushButton* DeleteListButton() const { return deleteList_; }

protected:
    void InitialiseControls() override;
    void ShowRecord() override;
    void Commit() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::size_t List() const;
    void OnAddMember();
    void OnRemoveMember();
    void OnNewList();
    void OnDeleteList();

    QLineEdit* nameBox_ = nullptr;
    QLabel* availableLabel_ = nullptr;
    QLabel* memberLabel_ = nullptr;
    CMSFlexGrid* available_ = nullptr;
    CMSFlexGrid* members_ = nullptr;
    QPushButton* addMember_ = nullptr;
    QPushButton* removeMember_ = nullptr;
    QPushButton* newList_ = nullptr;
    QPushButton* deleteList_ = nullptr;
    std::vector<std::uint8_t> shownAvailable_;  // contact per available row, as last shown
    std::size_t shownMembers_ = 0;
};
