#pragma once
// The zone form: the channels of one zone (the navigation's current zone), chosen from the
// channels of both tables, and the zone's alias.
#include "forms/channels/MemberRules.h"
#include "ui/FormBase.h"

class CMSFlexGrid;
class QLabel;
class QLineEdit;
class QPushButton;

class CForm_GroupCH : public CFormBase {
    Q_OBJECT
public:
    explicit CForm_GroupCH(CVanticApp& app, QWidget* parent = nullptr);

    CMSFlexGrid* AvailableGrid() const { return available_; }
    CMSFlexGrid* MemberGrid() const { return members_; }
    QLineEdit* AliasBox() const { return alias_; }
    QPushButton* AddButton() const { return add_; }
    QPushButton* RemoveButton() const { return remove_; }

    void OnAdd();
    void OnRemove();

protected:
    void InitialiseControls() override;
    void ShowRecord() override;
    void Commit() override;

private:
    std::span<std::uint8_t> Record() const;
    QString Fixed(MemberText text) const;

    QLabel* aliasLabel_ = nullptr;
    QLineEdit* alias_ = nullptr;
    QLabel* availableLabel_ = nullptr;
    QLabel* membersLabel_ = nullptr;
    CMSFlexGrid* available_ = nullptr;
    CMSFlexGrid* members_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;

    MemberList memberList_;     // working copy of the zone's members
    MemberList availableList_;  // channels not in the zone, digital first
};
