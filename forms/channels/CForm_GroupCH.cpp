#include "forms/channels/CForm_GroupCH.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "codeplug/Codeplug.h"

CForm_GroupCH::CForm_GroupCH(FormContext& context, QWidget* parent)
    : MemberListFormBase(context, FormKind::Zone, "Tree", MemberListKind::Zone, parent)
{
    NewAliasBox(220);
    NewGrids(MemberButtons::Captioned);

    auto* top = new QHBoxLayout;
    top->addWidget(AliasLabel());
    top->addWidget(AliasBox());
    top->addStretch(1);
    QGridLayout* grids = LayOutMemberGrids(grids_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addLayout(top);
    layout->addLayout(grids, 1);
}

std::span<std::uint8_t> CForm_GroupCH::Record() const { return ZoneRecord(CodeplugImage(), CurrentIndex()); }

void CForm_GroupCH::InitialiseControls()
{
    AliasLabel()->setText(Fixed(MemberText::Alias));
    grids_.availableLabel->setText(Fixed(MemberText::ZoneAvailable));
    grids_.membersLabel->setText(Fixed(MemberText::ZoneMembers));
    grids_.add->setText(Fixed(MemberText::ZoneAdd));
    grids_.remove->setText(Fixed(MemberText::ZoneRemove));
    SetUpGrids();
}

void CForm_GroupCH::ShowRecord() { ShowAliasAndMembers(); }

void CForm_GroupCH::Commit() { StoreAliasAndMembers(); }
