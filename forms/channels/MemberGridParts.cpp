#include "forms/channels/MemberGridParts.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "codeplug/Codeplug.h"
#include "codeplug/Records.h"
#include "forms/channels/ChannelGrids.h"
#include "forms/channels/Encodings.h"
#include "ui/CMSFlexGrid.h"

namespace {

constexpr int kAvailableRows = 32;

// Zones and scan lists keep their alias at the same place.
static_assert(ZoneField::AliasLength == ScanListField::AliasLength && ZoneField::Alias == ScanListField::Alias);
namespace F = ZoneField;

}  // namespace

MemberGrids NewMemberGrids(QWidget* form, MemberButtons buttons)
{
    MemberGrids g;
    g.availableLabel = new QLabel(form);
    g.membersLabel = new QLabel(form);
    g.available = new CMSFlexGrid(form);
    g.members = new CMSFlexGrid(form);
    g.add = new QPushButton(form);
    g.remove = new QPushButton(form);
    if (buttons == MemberButtons::Arrows) {
        g.add->setText(QStringLiteral("->"));
        g.remove->setText(QStringLiteral("<-"));
        g.add->setFixedWidth(64);
        g.remove->setFixedWidth(64);
    } else {
        g.add->setMinimumWidth(88);
        g.remove->setMinimumWidth(88);
    }
    return g;
}

QGridLayout* LayOutMemberGrids(const MemberGrids& g)
{
    auto* buttons = new QVBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(g.add);
    buttons->addSpacing(24);
    buttons->addWidget(g.remove);
    buttons->addStretch(1);

    auto* grids = new QGridLayout;
    grids->addWidget(g.availableLabel, 0, 0);
    grids->addWidget(g.membersLabel, 0, 2);
    grids->addWidget(g.available, 1, 0);
    grids->addLayout(buttons, 1, 1);
    grids->addWidget(g.members, 1, 2);
    grids->setColumnStretch(0, 1);
    grids->setColumnStretch(2, 1);
    return grids;
}

MemberListFormBase::MemberListFormBase(FormContext& context, FormKind kind, const char* textSection,
                                       MemberListKind listKind, QWidget* parent)
    : CFormBase(context, kind, textSection, parent), listKind_(listKind)
{
}

void MemberListFormBase::NewAliasBox(int width)
{
    aliasLabel_ = new QLabel(this);
    alias_ = new QLineEdit(this);
    LimitName(alias_, AliasField::kMaxChars, AliasField::kBytes);
    alias_->setFixedWidth(width);
    connect(alias_, &QLineEdit::editingFinished, this, [this] { CommitThenShow(); });
}

void MemberListFormBase::NewGrids(MemberButtons buttons)
{
    grids_ = NewMemberGrids(this, buttons);
    OnCommand(grids_.add, &QPushButton::clicked, &MemberListFormBase::OnAdd);
    OnCommand(grids_.remove, &QPushButton::clicked, &MemberListFormBase::OnRemove);
}

QString MemberListFormBase::Fixed(MemberText text) const
{
    return QString::fromStdString(FixedMemberText(text, Context().language));
}

void MemberListFormBase::SetUpGrids()
{
    const UiLanguage language = Context().language;
    SetUpChannelGrid(*grids_.available, kAvailableRows, MemberText::ColumnNumber, language);
    SetUpChannelGrid(*grids_.members, static_cast<int>(kMaxListMembers), MemberText::ColumnMember, language);
}

void MemberListFormBase::ShowAliasAndMembers()
{
    const auto record = Record();
    alias_->setText(QString::fromStdString(DecodeAlias(record[F::AliasLength], record.subspan(F::Alias, AliasField::kBytes))));
    // Members naming a channel that no longer exists leave the list, in the record too.
    RevalidateMembers(CodeplugImage(), record, listKind_);
    memberList_ = ReadMembers(record);
    availableList_ = AvailableChannels(CodeplugImage(), memberList_);
    FillChannelGrid(*grids_.available, CodeplugImage(), availableList_, Context().language);
    FillChannelGrid(*grids_.members, CodeplugImage(), memberList_, Context().language);
}

void MemberListFormBase::StoreAliasAndMembers()
{
    const auto record = Record();
    StoreAlias(alias_->text().toStdString(), AliasField::kMaxChars, record[F::AliasLength],
               record.subspan(F::Alias, AliasField::kBytes));
    WriteMembers(record, memberList_, listKind_);
}

void MemberListFormBase::OnAdd()
{
    if (memberList_.size() >= kMaxListMembers) {
        const MemberText full = listKind_ == MemberListKind::Zone ? MemberText::ZoneFull : MemberText::ScanFull;
        ShowMessage(Fixed(MemberText::Caption), Fixed(full));
        return;
    }
    if (AddMember(memberList_, availableList_, SelectedEntry(*grids_.available)) == MemberEdit::Done)
        CommitThenShow();
}

void MemberListFormBase::OnRemove()
{
    const MemberText empty = listKind_ == MemberListKind::Zone ? MemberText::ZoneEmpty : MemberText::ScanEmpty;
    switch (RemoveMember(memberList_, SelectedEntry(*grids_.members))) {
    case MemberEdit::WouldBeEmpty: ShowMessage(Fixed(MemberText::Caption), Fixed(empty)); break;
    case MemberEdit::Done: CommitThenShow(); break;
    default: break;
    }
}
