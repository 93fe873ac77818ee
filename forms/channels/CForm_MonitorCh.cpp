#include "forms/channels/CForm_MonitorCh.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "forms/channels/ChannelGrids.h"
#include "ui/CMSFlexGrid.h"

namespace {

// Keys of the "MonitorCH" section.
constexpr int kHoldTimeLabel = 1;
constexpr int kPttReplyLabel = 2;
constexpr int kStandbyReplyLabel = 3;
constexpr int kCandidatesLabel = 4;
constexpr int kMembersLabel = 5;
constexpr int kScanBox = 6;
constexpr int kPttReplyFirst = 10;
constexpr int kPttReplyLast = 14;
constexpr int kListFull = 20;
constexpr int kListEmpty = 21;
constexpr int kTitleTreeKey = 20;
constexpr int kColumnHeaderFirst = 70;  // section "Scan", keys 70-73
constexpr int kKindFirst = 300;         // section "CH_Str", keys 300-301
constexpr int kCaption = 10;            // section "Pub"
constexpr int kGridRows = 16;

}  // namespace

CForm_MonitorCh::CForm_MonitorCh(FormContext& context, QWidget* parent)
    : CFormBase(context, FormKind::MonitorCh, "MonitorCH", parent)
{
    holdTimeLabel_ = new QLabel(this);
    holdTime_ = new QComboBox(this);
    holdTime_->setMinimumWidth(70);
    pttReplyLabel_ = new QLabel(this);
    pttReply_ = new QComboBox(this);
    pttReply_->setMinimumWidth(150);
    standbyReplyLabel_ = new QLabel(this);
    standbyReply_ = new QComboBox(this);
    standbyReply_->setMinimumWidth(90);
    scan_ = new QCheckBox(this);
    grids_ = NewMemberGrids(this, MemberButtons::Arrows);

    auto* settings = new QGridLayout;
    settings->addWidget(holdTimeLabel_, 0, 0);
    settings->addWidget(holdTime_, 0, 1);
    settings->addWidget(pttReplyLabel_, 0, 3);
    settings->addWidget(pttReply_, 0, 4);
    settings->addWidget(standbyReplyLabel_, 1, 0);
    settings->addWidget(standbyReply_, 1, 1);
    settings->addWidget(scan_, 1, 3, 1, 2);
    settings->setColumnMinimumWidth(2, 32);
    settings->setColumnStretch(5, 1);

    QGridLayout* grids = LayOutMemberGrids(grids_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addWidget(NewRunOnlyNote());
    layout->addSpacing(4);
    layout->addLayout(settings);
    layout->addSpacing(8);
    layout->addLayout(grids, 1);

    OnChange(holdTime_, &QComboBox::currentIndexChanged);
    OnChange(pttReply_, &QComboBox::currentIndexChanged);
    OnChange(standbyReply_, &QComboBox::currentIndexChanged);
    OnChange(scan_, &QCheckBox::toggled);
    OnCommand(grids_.add, &QPushButton::clicked, &CForm_MonitorCh::OnAdd);
    OnCommand(grids_.remove, &QPushButton::clicked, &CForm_MonitorCh::OnRemove);
}

MonitorMemory& CForm_MonitorCh::Memory() const { return Context().monitor; }

void CForm_MonitorCh::SetUpGrid(CMSFlexGrid& grid)
{
    ShapeMemberGrid(grid, kGridRows, {600, 1000, 1200, 1500, 1500});
    for (int c = 1; c < 5; ++c)
        grid.SetTextMatrix(0, c, Text("Scan", kColumnHeaderFirst + c - 1));
}

void CForm_MonitorCh::FillGrid(CMSFlexGrid& grid, const MonitorMembers& channels)
{
    FillMemberGrid(grid, channels.size(), [&](std::size_t i) -> std::optional<MemberRowTexts> {
        const auto described = DescribeMonitorChannel(Memory().candidates, channels[i]);
        if (!described)
            return std::nullopt;
        return MemberRowTexts{QString::fromStdString(described->channel),
                              Text("CH_Str", kKindFirst + (described->secondKind ? 1 : 0)),
                              QString::fromStdString(described->rxFrequency),
                              QString::fromStdString(described->txFrequency)};
    });
}

void CForm_MonitorCh::InitialiseControls()
{
    SetFormTitle(Text("Tree", kTitleTreeKey));
    holdTimeLabel_->setText(Text(kHoldTimeLabel));
    pttReplyLabel_->setText(Text(kPttReplyLabel));
    standbyReplyLabel_->setText(Text(kStandbyReplyLabel));
    grids_.availableLabel->setText(Text(kCandidatesLabel));
    grids_.membersLabel->setText(Text(kMembersLabel));
    scan_->setText(Text(kScanBox));

    holdTime_->clear();
    for (int s = 0; s <= MonitorField::kMaxTalkHoldTime; ++s)
        holdTime_->addItem(QString::number(s));
    pttReply_->clear();
    for (int key = kPttReplyFirst; key <= kPttReplyLast; ++key)
        pttReply_->addItem(Text(key));
    SetUpGrid(*grids_.available);
    SetUpGrid(*grids_.members);
}

void CForm_MonitorCh::ShowRecord()
{
    const MonitorSettings& settings = Memory().settings;
    memberList_ = ReadMonitorMembers(settings);
    candidateList_ = MonitorCandidates(Memory().candidates, memberList_);
    FillGrid(*grids_.available, candidateList_);
    FillGrid(*grids_.members, memberList_);

    const std::uint8_t hold = settings.bytes[MonitorField::TalkHoldTime];
    holdTime_->setCurrentIndex(hold < holdTime_->count() ? hold : -1);
    const std::uint8_t reply = settings.bytes[MonitorField::PttReply];
    pttReply_->setCurrentIndex(reply < pttReply_->count() ? reply : -1);
    scan_->setChecked((settings.bytes[MonitorField::Flags] & MonitorField::kFlagScan) != 0);

    standbyReply_->clear();
    for (const std::string& choice : StandbyReplyChoices(memberList_))
        standbyReply_->addItem(QString::fromStdString(choice));
    standbyReply_->setCurrentIndex(StandbyReplyChoiceOf(settings, memberList_));
}

void CForm_MonitorCh::Commit()
{
    MonitorControls controls;
    controls.talkHoldTime = holdTime_->currentIndex();
    controls.pttReply = pttReply_->currentIndex();
    controls.scan = scan_->isChecked();
    for (int i = 0; i < standbyReply_->count(); ++i)
        controls.standbyChoices.push_back(standbyReply_->itemText(i).toStdString());
    controls.standbySelected = standbyReply_->currentIndex();
    CommitMonitor(Memory().settings, memberList_, controls);
}

void CForm_MonitorCh::OnAdd()
{
    switch (AddMonitorMember(memberList_, candidateList_, SelectedEntry(*grids_.available))) {
    case MemberEdit::ListFull: ShowMessage(Text("Pub", kCaption), Text(kListFull)); break;
    case MemberEdit::Done: CommitThenShow(); break;
    default: break;
    }
}

void CForm_MonitorCh::OnRemove()
{
    switch (RemoveMonitorMember(memberList_, SelectedEntry(*grids_.members))) {
    case MemberEdit::WouldBeEmpty: ShowMessage(Text("Pub", kCaption), Text(kListEmpty)); break;
    case MemberEdit::Done: CommitThenShow(); break;
    default: break;
    }
}
