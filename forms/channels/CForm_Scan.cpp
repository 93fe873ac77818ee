#include "forms/channels/CForm_Scan.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "codeplug/Bytes.h"
#include "codeplug/Codeplug.h"
#include "codeplug/Records.h"
#include "forms/channels/ChannelGrids.h"
#include "forms/channels/Encodings.h"
#include "ui/CMSFlexGrid.h"

namespace {

// Keys of the "Scan" section.
constexpr int kTitle = 0;
constexpr int kAliasLabel = 1;
constexpr int kDwellLabel = 3;
constexpr int kAvailableLabel = 20;
constexpr int kMembersLabel = 21;
constexpr int kAddList = 30;
constexpr int kDeleteList = 31;
constexpr int kTxModeFirst = 85;
constexpr int kTxModeSecond = 86;
constexpr int kTxModeLabel = 87;

QPushButton* SmallButton(const char* text, QWidget* parent)
{
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setFixedWidth(48);
    return button;
}

}  // namespace

CForm_Scan::CForm_Scan(FormContext& context, QWidget* parent)
    : MemberListFormBase(context, FormKind::Scan, "Scan", MemberListKind::ScanList, parent)
{
    NewAliasBox(200);
    txModeLabel_ = new QLabel(this);
    txMode_ = new QComboBox(this);
    txMode_->setMinimumWidth(170);
    dwellLabel_ = new QLabel(this);
    dwell_ = new QComboBox(this);
    dwell_->setMinimumWidth(80);
    addList_ = new QPushButton(this);
    deleteList_ = new QPushButton(this);
    first_ = SmallButton("|<-", this);
    previous_ = SmallButton("<-", this);
    next_ = SmallButton("->", this);
    last_ = SmallButton("->|", this);
    NewGrids(MemberButtons::Arrows);

    auto* settings = new QHBoxLayout;
    settings->addWidget(AliasLabel());
    settings->addWidget(AliasBox());
    settings->addSpacing(24);
    settings->addWidget(txModeLabel_);
    settings->addWidget(txMode_);
    settings->addSpacing(24);
    settings->addWidget(dwellLabel_);
    settings->addWidget(dwell_);
    settings->addStretch(1);

    auto* lists = new QHBoxLayout;
    lists->addWidget(addList_);
    lists->addWidget(deleteList_);
    lists->addStretch(1);
    for (QPushButton* button : {first_, previous_, next_, last_})
        lists->addWidget(button);

    QGridLayout* grids = LayOutMemberGrids(grids_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addLayout(settings);
    layout->addLayout(lists);
    layout->addLayout(grids, 1);

    OnChange(txMode_, &QComboBox::currentIndexChanged);
    OnChange(dwell_, &QComboBox::currentIndexChanged);
    OnCommand(addList_, &QPushButton::clicked, &CForm_Scan::OnAddList);
    OnCommand(deleteList_, &QPushButton::clicked, &CForm_Scan::OnDeleteList);
    // The first three navigation buttons show the current list again; the last does nothing.
    for (QPushButton* button : {first_, previous_, next_})
        connect(button, &QPushButton::clicked, this, [this] { Show(); });
}

std::span<std::uint8_t> CForm_Scan::Record() const { return ScanListRecord(CodeplugImage(), CurrentIndex()); }

void CForm_Scan::InitialiseControls()
{
    AliasLabel()->setText(Text(kAliasLabel));
    txModeLabel_->setText(Text(kTxModeLabel));
    dwellLabel_->setText(Text(kDwellLabel));
    grids_.availableLabel->setText(Text(kAvailableLabel));
    grids_.membersLabel->setText(Text(kMembersLabel));
    addList_->setText(Text(kAddList));
    deleteList_->setText(Text(kDeleteList));

    txMode_->clear();
    txMode_->addItem(Text(kTxModeFirst));
    txMode_->addItem(Text(kTxModeSecond));
    dwell_->clear();
    dwell_->addItem(QStringLiteral("0"));
    for (int step = 1; step <= ScanListField::kDwellMax / ScanListField::kDwellStep; ++step)
        dwell_->addItem(QString::asprintf("%.1f", step * ScanListField::kDwellStep / 1000.0));
    SetUpGrids();
}

void CForm_Scan::ShowRecord()
{
    // A list index past the lists in use (a stale navigation) shows the last list.
    const std::uint32_t lists = ScanListsInUse(CodeplugImage());
    if (CurrentIndex() >= lists)
        SetCurrentIndex(lists - 1);
    SetFormTitle(QString::fromStdString(FormatNumbered(Text(kTitle).toStdString(), static_cast<int>(CurrentIndex()) + 1)));

    ShowAliasAndMembers();
    const auto record = Record();
    const std::uint8_t mode = record[ScanListField::TxMode];
    txMode_->setCurrentIndex(mode < txMode_->count() ? mode : -1);
    dwell_->setCurrentIndex(DwellChoiceOf(GetLE16(record, ScanListField::DwellTime)));
}

void CForm_Scan::Commit()
{
    const auto record = Record();
    if (txMode_->currentIndex() >= 0)
        record[ScanListField::TxMode] = static_cast<std::uint8_t>(txMode_->currentIndex());
    if (dwell_->currentIndex() >= 0)
        PutLE16(record, ScanListField::DwellTime, DwellOfChoice(dwell_->currentIndex()));
    StoreAliasAndMembers();
}

void CForm_Scan::OnAddList()
{
    if (!AddScanList(CodeplugImage(), Text(kTitle).toStdString()))
        return;
    RequestTreeRebuild();
    Show();
}

void CForm_Scan::OnDeleteList()
{
    std::uint32_t current = CurrentIndex();
    if (!DeleteScanList(CodeplugImage(), current))
        return;
    SetCurrentIndex(current);
    RequestTreeRebuild();
    Show();
}
