#pragma once
// What the zone, scan-list and monitor forms share: the two grids side by side (the channels
// that can join on the left, the members on the right) with their captions and the add and
// remove buttons between them; and for the zone and scan-list forms, which keep their members
// and alias in a codeplug record, the editing of that record's member list.
#include <cstddef>
#include <cstdint>
#include <span>

#include "forms/channels/MemberRules.h"
#include "forms/FormBase.h"

class CMSFlexGrid;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

struct MemberGrids {
    QLabel* availableLabel = nullptr;
    QLabel* membersLabel = nullptr;
    CMSFlexGrid* available = nullptr;
    CMSFlexGrid* members = nullptr;
    QPushButton* add = nullptr;
    QPushButton* remove = nullptr;
};

// Arrows: "->" and "<-", 64 pixels wide; Captioned: captions set later, at least 88 wide.
enum class MemberButtons { Arrows, Captioned };

// The widgets, made in the order above (which is their tab order).
MemberGrids NewMemberGrids(QWidget* form, MemberButtons buttons);
// The captions over the grids, the grids stretching, the buttons centred between them.
QGridLayout* LayOutMemberGrids(const MemberGrids& grids);

// The zone and scan-list forms: an alias box and a member list kept in a record of the codeplug.
class MemberListFormBase : public CFormBase {
    Q_OBJECT
public:
    CMSFlexGrid* AvailableGrid() const { return grids_.available; }
    CMSFlexGrid* MemberGrid() const { return grids_.members; }
    QLineEdit* AliasBox() const { return alias_; }
    QPushButton* AddButton() const { return grids_.add; }
    QPushButton* RemoveButton() const { return grids_.remove; }

    // Moves the selected available channel to the end of the members, the selected member back.
    void OnAdd();
    void OnRemove();

protected:
    MemberListFormBase(FormContext& context, FormKind kind, const char* textSection, MemberListKind listKind,
                       QWidget* parent);

    virtual std::span<std::uint8_t> Record() const = 0;

    // The alias caption and box, its change committing; then the grids, their buttons adding and
    // removing.
    void NewAliasBox(int width);
    void NewGrids(MemberButtons buttons);
    QLabel* AliasLabel() const { return aliasLabel_; }

    // Column headers, widths and rows of both grids.
    void SetUpGrids();
    // The record's alias, and its members once those naming a missing channel have left the
    // record; the available grid lists every other channel.
    void ShowAliasAndMembers();
    void StoreAliasAndMembers();

    QString Fixed(MemberText text) const;

    MemberGrids grids_;

private:
    const MemberListKind listKind_;
    QLabel* aliasLabel_ = nullptr;
    QLineEdit* alias_ = nullptr;
    MemberList memberList_;     // working copy of the record's members
    MemberList availableList_;  // channels not in the list, digital first
};
