#include "forms/dmr/CFORM_DMR_RxGrpList.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "ui/QtText.h"
#include "core/TextCatalogue.h"
#include "codeplug/Codeplug.h"
#include "codeplug/BcdId.h"
#include "forms/dmr/ContactRules.h"
#include "forms/dmr/RxGroupRules.h"
#include "ui/CMSFlexGrid.h"

namespace {

enum Key {
    kTitle = 0,
    kHeaderNumber = 1,
    kHeaderName = 2,
    kHeaderId = 4,
    kAddMember = 5,
    kRemoveMember = 6,
    kLastMember = 9,
    kAvailableLabel = 10,
    kMemberLabel = 11,
    kNewList = 20,
    kDeleteList = 21,
};

constexpr int kColumnTwips[] = {590, 1200, 2000};
constexpr int kColumnKeys[] = {kHeaderNumber, kHeaderId, kHeaderName};
constexpr int kAvailableRows = static_cast<int>(contacts::kMaxContacts) + 1;
constexpr int kMemberRows = static_cast<int>(rxgroups::kMaxMembers) + 1;

CMSFlexGrid* MakeGrid(QWidget* parent, int rows)
{
    auto* grid = new CMSFlexGrid(parent);
    grid->SetRows(rows);
    grid->SetCols(3);
    grid->SetFixedCols(1);
    return grid;
}

// The grid as wide as its columns and a vertical scroll bar, so no empty band shows at its right.
void FitWidthToColumns(CMSFlexGrid* grid)
{
    int width = 2 * grid->frameWidth() + grid->verticalScrollBar()->sizeHint().width();
    for (int col = 0; col < grid->Cols(); ++col)
        width += grid->columnWidth(col);
    grid->setFixedWidth(width);
}

void FillRow(CMSFlexGrid* grid, int row, int number, const Codeplug& codeplug, std::size_t contact)
{
    grid->SetTextMatrix(row, 0, QString::asprintf("%02d", number));
    grid->SetTextMatrix(row, 1, QString::fromStdString(BcdIdToText(contacts::Id(codeplug, contact))));
    grid->SetTextMatrix(row, 2, QString::fromStdString(contacts::Name(codeplug, contact)));
}

}  // namespace

CFORM_DMR_RxGrpList::CFORM_DMR_RxGrpList(FormContext& context, QWidget* parent)
    : CFormBase(context, FormKind::DmrRxGrpList, "DMR_List", parent)
{
    nameBox_ = new QLineEdit(this);
    LimitName(nameBox_, rxgroups::kNameChars, AliasField::kBytes);
    nameBox_->installEventFilter(this);
    auto* nameLabel = new QLabel(this);
    nameLabel->setObjectName(QStringLiteral("nameLabel"));
    availableLabel_ = new QLabel(this);
    memberLabel_ = new QLabel(this);
    available_ = MakeGrid(this, kAvailableRows);
    members_ = MakeGrid(this, kMemberRows);
    addMember_ = new QPushButton(this);
    removeMember_ = new QPushButton(this);
    newList_ = new QPushButton(this);
    deleteList_ = new QPushButton(this);
    for (QPushButton* button : {addMember_, removeMember_, newList_, deleteList_})
        button->setMinimumWidth(120);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(nameBox_);
    nameRow->addStretch();

    auto* moveButtons = new QVBoxLayout;
    moveButtons->addStretch();
    moveButtons->addWidget(addMember_);
    moveButtons->addWidget(removeMember_);
    moveButtons->addStretch();

    auto* grids = new QGridLayout;
    grids->addWidget(availableLabel_, 0, 0);
    grids->addWidget(memberLabel_, 0, 2);
    grids->addWidget(available_, 1, 0);
    grids->addLayout(moveButtons, 1, 1);
    grids->addWidget(members_, 1, 2);
    grids->setColumnStretch(3, 1);

    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(newList_);
    listButtons->addWidget(deleteList_);
    listButtons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    layout->addLayout(grids, 1);
    layout->addLayout(listButtons);

    OnCommand(addMember_, &QPushButton::clicked, &CFORM_DMR_RxGrpList::OnAddMember);
    OnCommand(removeMember_, &QPushButton::clicked, &CFORM_DMR_RxGrpList::OnRemoveMember);
    OnCommand(newList_, &QPushButton::clicked, &CFORM_DMR_RxGrpList::OnNewList);
    OnCommand(deleteList_, &QPushButton::clicked, &CFORM_DMR_RxGrpList::OnDeleteList);
}

std::size_t CFORM_DMR_RxGrpList::List() const { return rxgroups::Bounded(CurrentIndex()); }

void CFORM_DMR_RxGrpList::InitialiseControls()
{
    findChild<QLabel*>(QStringLiteral("nameLabel"))->setText(Text(kHeaderName));
    availableLabel_->setText(Text(kAvailableLabel));
    memberLabel_->setText(Text(kMemberLabel));
    for (CMSFlexGrid* grid : {available_, members_}) {
        for (int col = 0; col < 3; ++col)
            grid->SetColWidthTwips(col, kColumnTwips[col]);
        FitWidthToColumns(grid);
        for (int row = 1; row < grid->Rows(); ++row)
            grid->SetTextMatrix(row, 0, QString::asprintf("%02d", row));
    }
    addMember_->setText(Text(kAddMember));
    removeMember_->setText(Text(kRemoveMember));
    newList_->setText(Text(kNewList));
    deleteList_->setText(Text(kDeleteList));
}

void CFORM_DMR_RxGrpList::ShowRecord()
{
    Codeplug& codeplug = CodeplugImage();
    const std::size_t list = List();
    SetFormTitle(QString::fromStdString(FormatNumbered(ToStd(Text(kTitle)), static_cast<int>(list) + 1)));
    nameBox_->setText(QString::fromStdString(rxgroups::Name(codeplug, list)));

    const std::vector<std::uint8_t> kept = rxgroups::CleanMembers(codeplug, list);
    shownAvailable_ = rxgroups::AvailableContacts(codeplug, list);
    shownMembers_ = kept.size();

    for (CMSFlexGrid* grid : {available_, members_}) {
        grid->ClearCells();
        for (int col = 0; col < 3; ++col)
            grid->SetTextMatrix(0, col, Text(kColumnKeys[col]));
    }
    for (std::size_t k = 0; k < shownAvailable_.size(); ++k)
        FillRow(available_, static_cast<int>(k) + 1, shownAvailable_[k] + 1, codeplug, shownAvailable_[k]);
    for (std::size_t k = 0; k < kept.size(); ++k)
        FillRow(members_, static_cast<int>(k) + 1, static_cast<int>(k) + 1, codeplug, kept[k]);
}

void CFORM_DMR_RxGrpList::Commit() { rxgroups::CommitName(CodeplugImage(), List(), ToStd(nameBox_->text())); }

bool CFORM_DMR_RxGrpList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == nameBox_ && event->type() == QEvent::FocusOut)
        CommitThenShow();
    return CFormBase::eventFilter(watched, event);
}

void CFORM_DMR_RxGrpList::OnAddMember()
{
    const int row = available_->Row();
    if (row < 1 || row > static_cast<int>(shownAvailable_.size()))
        return;
    if (rxgroups::AddMember(CodeplugImage(), List(), shownAvailable_[static_cast<std::size_t>(row - 1)]))
        Show();
}

void CFORM_DMR_RxGrpList::OnRemoveMember()
{
    if (shownMembers_ <= 1) {
        ShowMessage(Text("Pub", 10), Text(kLastMember));
        return;
    }
    const int row = members_->Row();
    if (row < 1)
        return;
    if (rxgroups::RemoveMember(CodeplugImage(), List(), static_cast<std::size_t>(row - 1)) ==
        rxgroups::RemoveResult::Removed)
        Show();
}

void CFORM_DMR_RxGrpList::OnNewList()
{
    if (!rxgroups::NewList(CodeplugImage()))
        return;
    RequestTreeRebuild();
}

void CFORM_DMR_RxGrpList::OnDeleteList()
{
    if (!rxgroups::DeleteLastList(CodeplugImage()))
        return;
    // The list shown may be the one removed: the form goes on with the new last list.
    const std::size_t count = rxgroups::Count(CodeplugImage());
    if (CurrentIndex() >= count)
        SetCurrentIndex(static_cast<std::uint32_t>(count - 1));
    RequestTreeRebuild();
    Show();
}
