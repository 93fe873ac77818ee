#include "forms/channels/CForm_GroupCH.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/CVanticApp.h"
#include "codeplug/Codeplug.h"
#include "codeplug/Records.h"
#include "forms/channels/ChannelGrids.h"
#include "forms/channels/Encodings.h"
#include "ui/CMSFlexGrid.h"

namespace {
constexpr int kAvailableRows = 32;
}

CForm_GroupCH::CForm_GroupCH(CVanticApp& app, QWidget* parent) : CFormBase(app, FormKind::Zone, "Tree", parent)
{
    aliasLabel_ = new QLabel(this);
    alias_ = new QLineEdit(this);
    alias_->setMaxLength(static_cast<int>(AliasField::kMaxChars));
    alias_->setFixedWidth(220);
    availableLabel_ = new QLabel(this);
    membersLabel_ = new QLabel(this);
    available_ = new CMSFlexGrid(this);
    members_ = new CMSFlexGrid(this);
    add_ = new QPushButton(this);
    remove_ = new QPushButton(this);
    add_->setMinimumWidth(88);
    remove_->setMinimumWidth(88);

    auto* top = new QHBoxLayout;
    top->addWidget(aliasLabel_);
    top->addWidget(alias_);
    top->addStretch(1);

    auto* buttons = new QVBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(add_);
    buttons->addSpacing(24);
    buttons->addWidget(remove_);
    buttons->addStretch(1);

    auto* grids = new QGridLayout;
    grids->addWidget(availableLabel_, 0, 0);
    grids->addWidget(membersLabel_, 0, 2);
    grids->addWidget(available_, 1, 0);
    grids->addLayout(buttons, 1, 1);
    grids->addWidget(members_, 1, 2);
    grids->setColumnStretch(0, 1);
    grids->setColumnStretch(2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addLayout(top);
    layout->addLayout(grids, 1);

    connect(alias_, &QLineEdit::editingFinished, this, [this] { CommitThenShow(); });
    connect(add_, &QPushButton::clicked, this, &CForm_GroupCH::OnAdd);
    connect(remove_, &QPushButton::clicked, this, &CForm_GroupCH::OnRemove);
}

QString CForm_GroupCH::Fixed(MemberText text) const
{
    return QString::fromStdString(FixedMemberText(text, Context().language));
}

std::span<std::uint8_t> CForm_GroupCH::Record() const { return ZoneRecord(CodeplugImage(), CurrentIndex()); }

void CForm_GroupCH::InitialiseControls()
{
    aliasLabel_->setText(Fixed(MemberText::Alias));
    availableLabel_->setText(Fixed(MemberText::ZoneAvailable));
    membersLabel_->setText(Fixed(MemberText::ZoneMembers));
    add_->setText(Fixed(MemberText::ZoneAdd));
    remove_->setText(Fixed(MemberText::ZoneRemove));
    const UiLanguage language = Context().language;
    SetUpChannelGrid(*available_, kAvailableRows, MemberText::ColumnNumber, language);
    SetUpChannelGrid(*members_, static_cast<int>(kMaxListMembers), MemberText::ColumnMember, language);
}

void CForm_GroupCH::ShowRecord()
{
    const auto record = Record();
    alias_->setText(QString::fromStdString(DecodeAlias(
        record[ZoneField::AliasLength], record.subspan(ZoneField::Alias, AliasField::kBytes))));
    // Members naming a channel that no longer exists leave the zone, in the record too.
    RevalidateMembers(CodeplugImage(), record, MemberListKind::Zone);
    memberList_ = ReadMembers(record);
    availableList_ = AvailableChannels(CodeplugImage(), memberList_);
    FillChannelGrid(*available_, CodeplugImage(), availableList_, Context().language);
    FillChannelGrid(*members_, CodeplugImage(), memberList_, Context().language);
}

void CForm_GroupCH::Commit()
{
    const auto record = Record();
    const std::string alias = CutToChars(TrimBlanks(alias_->text().toStdString()), AliasField::kMaxChars);
    record[ZoneField::AliasLength] = EncodeAlias(alias, record.subspan(ZoneField::Alias, AliasField::kBytes));
    WriteMembers(record, memberList_, MemberListKind::Zone);
}

void CForm_GroupCH::OnAdd()
{
    if (memberList_.size() >= kMaxListMembers) {
        ShowMessage(Fixed(MemberText::Caption), Fixed(MemberText::ZoneFull));
        return;
    }
    if (AddMember(memberList_, availableList_, SelectedEntry(*available_)) == MemberEdit::Done)
        CommitThenShow();
}

void CForm_GroupCH::OnRemove()
{
    switch (RemoveMember(memberList_, SelectedEntry(*members_))) {
    case MemberEdit::WouldBeEmpty: ShowMessage(Fixed(MemberText::Caption), Fixed(MemberText::ZoneEmpty)); break;
    case MemberEdit::Done: CommitThenShow(); break;
    default: break;
    }
}
