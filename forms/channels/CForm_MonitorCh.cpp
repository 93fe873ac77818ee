#include "forms/channels/CForm_MonitorCh.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/CVanticApp.h"
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

CForm_MonitorCh::CForm_MonitorCh(CVanticApp& app, QWidget* parent)
    : CFormBase(app, FormKind::MonitorCh, "MonitorCH", parent)
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
    candidatesLabel_ = new QLabel(this);
    membersLabel_ = new QLabel(this);
    candidates_ = new CMSFlexGrid(this);
    members_ = new CMSFlexGrid(this);
    add_ = new QPushButton(QStringLiteral("->"), this);
    remove_ = new QPushButton(QStringLiteral("<-"), this);
    add_->setFixedWidth(64);
    remove_->setFixedWidth(64);

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

    auto* buttons = new QVBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(add_);
    buttons->addSpacing(24);
    buttons->addWidget(remove_);
    buttons->addStretch(1);

    auto* grids = new QGridLayout;
    grids->addWidget(candidatesLabel_, 0, 0);
    grids->addWidget(membersLabel_, 0, 2);
    grids->addWidget(candidates_, 1, 0);
    grids->addLayout(buttons, 1, 1);
    grids->addWidget(members_, 1, 2);
    grids->setColumnStretch(0, 1);
    grids->setColumnStretch(2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addLayout(settings);
    layout->addSpacing(8);
    layout->addLayout(grids, 1);

    OnChange(holdTime_, &QComboBox::currentIndexChanged);
    OnChange(pttReply_, &QComboBox::currentIndexChanged);
    OnChange(standbyReply_, &QComboBox::currentIndexChanged);
    OnChange(scan_, &QCheckBox::toggled);
    connect(add_, &QPushButton::clicked, this, &CForm_MonitorCh::OnAdd);
    connect(remove_, &QPushButton::clicked, this, &CForm_MonitorCh::OnRemove);
}

MonitorMemory& CForm_MonitorCh::Memory() const { return Context().monitor; }

void CForm_MonitorCh::SetUpGrid(CMSFlexGrid& grid)
{
    grid.SetCols(5);
    grid.SetFixedCols(1);
    grid.SetRows(kGridRows + 1);
    grid.horizontalHeader()->setStretchLastSection(true);
    const int twips[] = {600, 1000, 1200, 1500, 1500};
    for (int c = 0; c < 5; ++c) {
        if (c > 0)
            grid.SetTextMatrix(0, c, Text("Scan", kColumnHeaderFirst + c - 1));
        grid.SetColWidthTwips(c, twips[c]);
        grid.SetColAlignment(c, Qt::AlignCenter);
    }
}

void CForm_MonitorCh::FillGrid(CMSFlexGrid& grid, const MonitorMembers& channels)
{
    const int selected = grid.Row();
    grid.ClearCells();
    for (int row = 1; row < grid.Rows(); ++row)
        grid.SetTextMatrix(row, 0, QString::asprintf("%02d", row));
    const int rows = std::min<int>(static_cast<int>(channels.size()), grid.Rows() - 1);
    for (int i = 0; i < rows; ++i) {
        const auto described = DescribeMonitorChannel(Memory().candidates, channels[static_cast<std::size_t>(i)]);
        if (!described)
            continue;
        grid.SetTextMatrix(i + 1, 1, QString::fromStdString(described->channel));
        grid.SetTextMatrix(i + 1, 2, Text("CH_Str", kKindFirst + (described->secondKind ? 1 : 0)));
        grid.SetTextMatrix(i + 1, 3, QString::fromStdString(described->rxFrequency));
        grid.SetTextMatrix(i + 1, 4, QString::fromStdString(described->txFrequency));
    }
    if (selected >= 1)
        grid.SetRow(selected);
}

void CForm_MonitorCh::InitialiseControls()
{
    SetFormTitle(Text("Tree", kTitleTreeKey));
    holdTimeLabel_->setText(Text(kHoldTimeLabel));
    pttReplyLabel_->setText(Text(kPttReplyLabel));
    standbyReplyLabel_->setText(Text(kStandbyReplyLabel));
    candidatesLabel_->setText(Text(kCandidatesLabel));
    membersLabel_->setText(Text(kMembersLabel));
    scan_->setText(Text(kScanBox));

    holdTime_->clear();
    for (int s = 0; s <= MonitorField::kMaxTalkHoldTime; ++s)
        holdTime_->addItem(QString::number(s));
    pttReply_->clear();
    for (int key = kPttReplyFirst; key <= kPttReplyLast; ++key)
        pttReply_->addItem(Text(key));
    SetUpGrid(*candidates_);
    SetUpGrid(*members_);
}

void CForm_MonitorCh::ShowRecord()
{
    const MonitorSettings& settings = Memory().settings;
    memberList_ = ReadMonitorMembers(settings);
    candidateList_ = MonitorCandidates(Memory().candidates, memberList_);
    FillGrid(*candidates_, candidateList_);
    FillGrid(*members_, memberList_);

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
    switch (AddMonitorMember(memberList_, candidateList_, candidates_->Row() - 1)) {
    case MemberEdit::ListFull: ShowMessage(Text("Pub", kCaption), Text(kListFull)); break;
    case MemberEdit::Done: CommitThenShow(); break;
    default: break;
    }
}

void CForm_MonitorCh::OnRemove()
{
    switch (RemoveMonitorMember(memberList_, members_->Row() - 1)) {
    case MemberEdit::WouldBeEmpty: ShowMessage(Text("Pub", kCaption), Text(kListEmpty)); break;
    case MemberEdit::Done: CommitThenShow(); break;
    default: break;
    }
}
