#include "forms/channels/CForm_Scan.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/CVanticApp.h"
#include "codeplug/Bytes.h"
#include "codeplug/Codeplug.h"
#include "codeplug/Records.h"
#include "forms/channels/ChannelGrids.h"
#include "forms/channels/Encodings.h"
#include "ui/CMSFlexGrid.h"

namespace {

constexpr int kAvailableRows = 32;

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

CForm_Scan::CForm_Scan(CVanticApp& app, QWidget* parent) : CFormBase(app, FormKind::Scan, "Scan", parent)
{
    aliasLabel_ = new QLabel(this);
    alias_ = new QLineEdit(this);
    alias_->setMaxLength(static_cast<int>(AliasField::kMaxChars));
    alias_->setFixedWidth(200);
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
    availableLabel_ = new QLabel(this);
    membersLabel_ = new QLabel(this);
    available_ = new CMSFlexGrid(this);
    members_ = new CMSFlexGrid(this);
    add_ = new QPushButton(QStringLiteral("->"), this);
    remove_ = new QPushButton(QStringLiteral("<-"), this);
    add_->setFixedWidth(64);
    remove_->setFixedWidth(64);

    auto* settings = new QHBoxLayout;
    settings->addWidget(aliasLabel_);
    settings->addWidget(alias_);
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
    layout->addLayout(settings);
    layout->addLayout(lists);
    layout->addLayout(grids, 1);

    connect(alias_, &QLineEdit::editingFinished, this, [this] { CommitThenShow(); });
    OnChange(txMode_, &QComboBox::currentIndexChanged);
    OnChange(dwell_, &QComboBox::currentIndexChanged);
    connect(add_, &QPushButton::clicked, this, &CForm_Scan::OnAdd);
    connect(remove_, &QPushButton::clicked, this, &CForm_Scan::OnRemove);
    connect(addList_, &QPushButton::clicked, this, &CForm_Scan::OnAddList);
    connect(deleteList_, &QPushButton::clicked, this, &CForm_Scan::OnDeleteList);
    // The first three navigation buttons show the current list again; the last does nothing.
    for (QPushButton* button : {first_, previous_, next_})
        connect(button, &QPushButton::clicked, this, [this] { Show(); });
}

QString CForm_Scan::Fixed(MemberText text) const
{
    return QString::fromStdString(FixedMemberText(text, Context().language));
}

std::span<std::uint8_t> CForm_Scan::Record() const { return ScanListRecord(CodeplugImage(), CurrentIndex()); }

void CForm_Scan::InitialiseControls()
{
    aliasLabel_->setText(Text(kAliasLabel));
    txModeLabel_->setText(Text(kTxModeLabel));
    dwellLabel_->setText(Text(kDwellLabel));
    availableLabel_->setText(Text(kAvailableLabel));
    membersLabel_->setText(Text(kMembersLabel));
    addList_->setText(Text(kAddList));
    deleteList_->setText(Text(kDeleteList));

    txMode_->clear();
    txMode_->addItem(Text(kTxModeFirst));
    txMode_->addItem(Text(kTxModeSecond));
    dwell_->clear();
    dwell_->addItem(QStringLiteral("0"));
    for (int step = 1; step <= ScanListField::kDwellMax / ScanListField::kDwellStep; ++step)
        dwell_->addItem(QString::asprintf("%.1f", step * ScanListField::kDwellStep / 1000.0));

    const UiLanguage language = Context().language;
    SetUpChannelGrid(*available_, kAvailableRows, MemberText::ColumnNumber, language);
    SetUpChannelGrid(*members_, static_cast<int>(kMaxListMembers), MemberText::ColumnMember, language);
}

void CForm_Scan::ShowRecord()
{
    // A list index past the lists in use (a stale navigation) shows the last list.
    const std::uint32_t lists = ScanListsInUse(CodeplugImage());
    if (CurrentIndex() >= lists)
        SetCurrentIndex(lists - 1);
    SetFormTitle(QString::fromStdString(FormatNumbered(Text(kTitle).toStdString(), static_cast<int>(CurrentIndex()) + 1)));

    const auto record = Record();
    alias_->setText(QString::fromStdString(DecodeAlias(
        record[ScanListField::AliasLength], record.subspan(ScanListField::Alias, AliasField::kBytes))));
    const std::uint8_t mode = record[ScanListField::TxMode];
    txMode_->setCurrentIndex(mode < txMode_->count() ? mode : -1);
    dwell_->setCurrentIndex(DwellChoiceOf(GetLE16(record, ScanListField::DwellTime)));

    RevalidateMembers(CodeplugImage(), record, MemberListKind::ScanList);
    memberList_ = ReadMembers(record);
    availableList_ = AvailableChannels(CodeplugImage(), memberList_);
    FillChannelGrid(*available_, CodeplugImage(), availableList_, Context().language);
    FillChannelGrid(*members_, CodeplugImage(), memberList_, Context().language);
}

void CForm_Scan::Commit()
{
    const auto record = Record();
    const std::string alias = CutToChars(TrimBlanks(alias_->text().toStdString()), AliasField::kMaxChars);
    record[ScanListField::AliasLength] = EncodeAlias(alias, record.subspan(ScanListField::Alias, AliasField::kBytes));
    if (txMode_->currentIndex() >= 0)
        record[ScanListField::TxMode] = static_cast<std::uint8_t>(txMode_->currentIndex());
    if (dwell_->currentIndex() >= 0)
        PutLE16(record, ScanListField::DwellTime, DwellOfChoice(dwell_->currentIndex()));
    WriteMembers(record, memberList_, MemberListKind::ScanList);
}

void CForm_Scan::OnAdd()
{
    if (memberList_.size() >= kMaxListMembers) {
        ShowMessage(Fixed(MemberText::Caption), Fixed(MemberText::ScanFull));
        return;
    }
    if (AddMember(memberList_, availableList_, SelectedEntry(*available_)) == MemberEdit::Done)
        CommitThenShow();
}

void CForm_Scan::OnRemove()
{
    switch (RemoveMember(memberList_, SelectedEntry(*members_))) {
    case MemberEdit::WouldBeEmpty: ShowMessage(Fixed(MemberText::Caption), Fixed(MemberText::ScanEmpty)); break;
    case MemberEdit::Done: CommitThenShow(); break;
    default: break;
    }
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
