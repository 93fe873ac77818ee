// The zone, scan-list and monitor channel forms driven offscreen, checked on the bytes they write.

#include "forms/channels/CForm_MonitorCh.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

using Bytes = std::vector<int>;

Bytes Range(std::span<const std::uint8_t> record, std::size_t at, std::size_t n)
{
    return {record.begin() + static_cast<std::ptrdiff_t>(at), record.begin() + static_cast<std::ptrdiff_t>(at + n)};
}

// Member bytes of a zone or scan list: the count at 39, then kind, index LE16 from 41.
Bytes Members(std::span<const std::uint8_t> record)
{
    return Range(record, 41, 3 * std::min<std::size_t>(record[39], 16));
}

QStringList Column(const CMSFlexGrid& grid, int col)
{
    QStringList texts;
    for (int row = 1; row < grid.Rows(); ++row)
        if (!grid.TextMatrix(row, col).isEmpty())
            texts << grid.TextMatrix(row, col);
    return texts;
}

}  // namespace

TEST(ZoneForm, GridsAddRemoveLimitsAndAlias)
{
    ProgramDir dir(0, {3, 2, 2, 2});
    FormSession s(dir.path);
    Codeplug& c = s.Image();
    PutLE32(c.AnalogChannelTable.record(1), 42, 435012500);  // analog channel 2: receive, no transmit
    // Zone 2: digital 2, then a channel past the analog count and one of no kind.
    auto zone = c.ZoneTable.record(1);
    zone[39] = 3;
    const std::uint8_t members[] = {1, 1, 0, 2, 5, 0, 0, 0, 0};
    std::copy(std::begin(members), std::end(members), zone.begin() + 41);

    auto* form = s.Open<CForm_GroupCH>(FormKind::Zone, 1);
    EXPECT_EQ(Members(zone), (Bytes{1, 1, 0}));  // the missing channels left the record on opening
    CMSFlexGrid& available = *form->AvailableGrid();
    EXPECT_EQ(std::tuple(available.Rows(), form->MemberGrid()->Rows()), std::tuple(33, 17));
    EXPECT_EQ((QStringList{available.TextMatrix(0, 0), form->MemberGrid()->TextMatrix(0, 0), available.TextMatrix(0, 3),
                           available.TextMatrix(4, 3), available.TextMatrix(4, 4), available.TextMatrix(32, 0)}),
              (QStringList{"序号", "信道", "接收频率", "435.012500", "0.", "32"}));
    EXPECT_EQ(Column(available, 1), (QStringList{"数字信道", "数字信道", "模拟信道", "模拟信道"}));
    EXPECT_EQ(Column(available, 2), (QStringList{"CH01", "CH03", "CH01", "CH02"}));

    Pick(available, 4, *form->AddButton());  // analog 2
    Pick(available, 1, *form->AddButton());  // digital 1
    Pick(available, 9, *form->AddButton());  // an empty row adds nothing
    EXPECT_EQ(Members(zone), (Bytes{1, 1, 0, 2, 1, 0, 1, 0, 0}));
    EXPECT_EQ(Column(*form->MemberGrid(), 2), (QStringList{"CH02", "CH02", "CH01"}));
    Pick(*form->MemberGrid(), 2, *form->RemoveButton());
    EXPECT_EQ(Members(zone), (Bytes{1, 1, 0, 1, 0, 0}));
    Pick(*form->MemberGrid(), 1, *form->RemoveButton());
    Pick(*form->MemberGrid(), 1, *form->RemoveButton());  // the last member stays
    EXPECT_EQ(std::tuple(s.prompts->Said(), Members(zone)), std::tuple(QStringList{"提示: 信道组不能为空！"}, Bytes{1, 0, 0}));

    Type(form->AliasBox(), "  Zone A ");
    EXPECT_EQ(std::tuple(Range(zone, 1, 3), form->AliasBox()->text()),
              std::tuple(Bytes{12, 'Z', 0}, QString("Zone A")));

    // 16 channels in use: the zone fills up, then refuses a 17th.
    SetCount(c.DigitalChannelCount, 16);
    SetCount(c.AnalogChannelCount, 16);
    form->OnInitialUpdate();
    for (int i = 0; i < 16; ++i)
        Pick(available, 1, *form->AddButton());
    EXPECT_EQ(std::tuple(zone[39] + 0, s.prompts->Said()), std::tuple(16, QStringList{"提示: 信道组不能为空！", "提示: 信道组已满！"}));
}

TEST(ScanForm, SettingsListAddDeleteTheTreeAndTheFullList)
{
    ProgramDir dir(0, {3, 2, 3, 2});
    FormSession s(dir.path);
    Codeplug& c = s.Image();
    PutLE16(c.ScanTable.record(1), 92, 2600);
    c.ScanTable.record(1)[39] = 1, c.ScanTable.record(1)[41] = 2;
    c.AnalogChannelTable.record(1)[60] = 3;  // names list 3
    auto* form = s.Open<CForm_Scan>(FormKind::Scan, 1);
    auto list2 = c.ScanTable.record(1);
    EXPECT_EQ((QStringList{QString::number(form->DwellList()->count()), form->DwellList()->itemText(20), form->DwellList()->currentText()}),
              (QStringList{"21", "10.0", "2.5"}));  // 2600 shows as 2.5 s

    form->DwellList()->setCurrentIndex(7);
    form->TxModeList()->setCurrentIndex(1);
    EXPECT_EQ(list2[90], 1);
    EXPECT_EQ(Range(list2, 92, 2), (Bytes{0xAC, 0x0D}));  // 3500
    Pick(*form->AvailableGrid(), 1, *form->AddButton());
    EXPECT_EQ(Members(list2), (Bytes{2, 0, 0, 1, 0, 0}));
    Pick(*form->MemberGrid(), 1, *form->RemoveButton());
    Pick(*form->MemberGrid(), 1, *form->RemoveButton());
    EXPECT_EQ(s.prompts->Said(), QStringList{"提示: 扫描信道不能为空！"});
    EXPECT_EQ(Range(list2, 39, 9), (Bytes{1, 0, 1, 0, 0, 0, 0, 0, 0}));  // the tail is zeroed

    // Delete with list 2 shown removes list 3; list 2 stays shown. The channel form open on a
    // channel of list 3 follows at once: its next change never writes the deleted list back.
    auto* channel = s.Open<CFORM_AnaCH>(FormKind::AnalogChannel, 1);
    s.frame->Windows().OpenForm(FormKind::Scan);
    form->DeleteListButton()->click();
    EXPECT_EQ(c.ScanListCount, (Block<4>{2, 0, 0, 0}));
    channel->Ui().squelch->setCurrentIndex(2);
    EXPECT_EQ(std::tuple(c.AnalogChannelTable.record(1)[60] + 0, c.AnalogChannelTable.record(1)[62] + 0), std::tuple(0, 2));
    s.frame->Windows().CloseForm(FormKind::AnalogChannel);
    EXPECT_EQ(std::tuple(form->windowTitle(), form->TxModeList()->currentIndex()), std::tuple(QString("扫描列表2"), 1));
    const QTreeWidgetItem* scans = s.frame->Tree()->topLevelItem(0)->child(7);
    EXPECT_EQ(scans->text(0), "扫描列表");
    EXPECT_EQ(std::tuple(scans->childCount(), scans->isExpanded()), std::tuple(2, true));
    form->DeleteListButton()->click();  // list 2 shown and removed: list 1 shows
    EXPECT_EQ(form->windowTitle(), "扫描列表1");

    form->AddListButton()->click();
    form->AddListButton()->click();
    EXPECT_EQ(std::tuple(c.ScanListCount[0] + 0, s.frame->Tree()->topLevelItem(0)->child(7)->childCount()),
              std::tuple(3, 3));
    // List 3 is back under "扫描列表3" (GBK, the digit expanded).
    EXPECT_EQ(Range(c.ScanTable.record(2), 1, 12), (Bytes{10, 0xC9, 0xA8, 0xC3, 0xE8, 0xC1, 0xD0, 0xB1, 0xED, '3', 0, 0}));

    ProgramDir full(0, {16, 16, 1, 1});
    FormSession f(full.path);
    auto* first = f.Open<CForm_Scan>(FormKind::Scan);
    for (int i = 0; i < 17; ++i)
        Pick(*first->AvailableGrid(), 1, *first->AddButton());
    EXPECT_EQ(std::tuple(f.Image().ScanTable.record(0)[39] + 0, f.prompts->Said()), std::tuple(16, QStringList{"提示: 扫描信道已满！"}));
}

TEST(MonitorForm, InMemorySettingsCandidatesAndStandbyReply)
{
    ProgramDir dir(1);
    FormSession s(dir.path);
    s.frame->OnCommand(32857);
    auto* form = s.Shown<CForm_MonitorCh>(FormKind::MonitorCh);
    EXPECT_EQ(s.frame->Windows().FormWindow(FormKind::MonitorCh)->windowTitle(), "Monitor channels");
    EXPECT_TRUE(Column(*form->CandidateGrid(), 1).isEmpty());  // nothing fills the candidate table
    EXPECT_EQ(std::tuple(form->StandbyReplyList()->count(), form->StandbyReplyList()->itemText(0)), std::tuple(1, QString("OFF")));
    form->RemoveButton()->click();
    EXPECT_EQ(s.prompts->Said(), QStringList{"Prompt: There is no monitor channel to remove!"});

    // Candidates: receive value above 13600000 and transmit value below 51200000 (10 Hz units).
    MonitorMemory& memory = s.app.Context().monitor;
    for (std::size_t r = 0; r < 16; ++r) {
        PutLE32(memory.candidates.record(r), 0, 43500000 + static_cast<std::uint32_t>(r) * 125);
        PutLE32(memory.candidates.record(r), 4, 43500000);
    }
    form->OnInitialUpdate();
    EXPECT_EQ(Column(*form->CandidateGrid(), 1).size(), 16);
    Pick(*form->CandidateGrid(), 3, *form->AddButton());  // CH03
    Pick(*form->CandidateGrid(), 5, *form->AddButton());  // CH06
    EXPECT_EQ(Column(*form->MemberGrid(), 1), (QStringList{"CH03", "CH06"}));
    EXPECT_EQ(form->MemberGrid()->TextMatrix(2, 3), "435.00625");
    form->StandbyReplyList()->setCurrentIndex(2);
    form->HoldTimeList()->setCurrentIndex(4);
    form->ScanBox()->setChecked(true);
    EXPECT_EQ(Range(memory.settings.bytes, 0, 3), (Bytes{2, 5, 0xFF}));
    EXPECT_EQ(Range(memory.settings.bytes, 16, 5), (Bytes{2, 4, 0, 5, 1}));

    // Removing the chosen standby reply channel turns the choice off.
    Pick(*form->MemberGrid(), 2, *form->RemoveButton());
    EXPECT_EQ(std::tuple(memory.settings.bytes[16] + 0, memory.settings.bytes[19] + 0,
                         form->StandbyReplyList()->currentText()),
              std::tuple(1, 0xFF, QString("OFF")));

    // The settings outlive the window.
    s.frame->Windows().CloseForm(FormKind::MonitorCh);
    s.frame->OnCommand(32857);
    form = s.Shown<CForm_MonitorCh>(FormKind::MonitorCh);
    EXPECT_EQ(Column(*form->MemberGrid(), 1), (QStringList{"CH03"}));
    EXPECT_TRUE(form->HoldTimeList()->currentIndex() == 4 && form->ScanBox()->isChecked());
    for (int i = 0; i < 16; ++i)
        Pick(*form->CandidateGrid(), 1, *form->AddButton());
    EXPECT_EQ(std::tuple(memory.settings.bytes[16] + 0, s.prompts->Said().value(1)),
              std::tuple(16, QString("Prompt: The monitor channel list is full!")));
}
