// The analog and digital channel forms driven offscreen: what each control writes into the
// record (offsets of the record layouts, written out), the show rules, the commands, the texts
// in both languages; and a codeplug edited in the forms surviving a write to and a read from the radio.

#include "TestSupport.h"
#include "forms/functions/FunctionRules.h"
#include "forms/functions/MessageRules.h"

using namespace testsupport;

namespace {

using Wire = std::vector<std::uint8_t>;

QStringList ItemTexts(const QComboBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

// The first `n` records of a table.
template <typename Table>
Wire Used(const Table& table, std::size_t n)
{
    return {table.bytes.begin(), table.bytes.begin() + static_cast<std::ptrdiff_t>(n * Table::kRecordBytes)};
}

}  // namespace

TEST(AnalogChannelForm, ControlsWriteTheirBytesAndTheShowRulesHold)
{
    ProgramDir dir(0, {3, 3, 2, 2});
    FormSession s(dir.path);
    auto r = s.Image().AnalogChannelTable.record(1);
    r[60] = 1, r[39] = 0x01;                  // scan list 1, auto scan
    r[73] = 0x00, r[74] = 0x00;               // a blank transmit tone
    CFORM_AnaCH* form = s.Open<CFORM_AnaCH>(FormKind::AnalogChannel, 1);
    const auto& ui = form->Ui();
    EXPECT_EQ(ItemTexts(ui.scanList), (QStringList{"OFF", "扫描列表1", "扫描列表2"}));
    EXPECT_EQ((QStringList{ui.rxCtcss->itemText(1), ui.rxDcs->itemText(1), ui.txInverted->itemText(107)}),
              (QStringList{"67.0", "D023N", "D754I"}));
    // Blank means no tone, as its bits say.
    EXPECT_TRUE(ui.autoScan->isEnabled() && ui.txType->currentIndex() == 0 && !ui.txCtcss->isEnabled());

    Type(ui.alias, "  Gate 1 ");
    // The blank tone committed as no tone, never CTCSS without a value.
    EXPECT_EQ((std::vector<int>{r[1], r[2], r[3], r[73], r[74]}), (std::vector<int>{12, 'G', 0, 0x04, 0}));
    Type(ui.rxFrequency, "435.0125");
    Type(ui.txFrequency, "500");  // clamped to the band
    EXPECT_EQ(std::tuple(GetLE32(r, 42), ui.rxFrequency->text(), GetLE32(r, 47)),
              std::tuple(435012500u, QString("435.012500"), 480000000u));

    ui.rxType->setCurrentIndex(3);
    EXPECT_TRUE(ui.rxInverted->isEnabled() && !ui.rxCtcss->isEnabled());
    ui.rxInverted->setCurrentIndex(1);  // 023
    ui.tail->setCurrentIndex(1);
    EXPECT_EQ(std::tuple(r[64] + 0, r[65] + 0), std::tuple(0xE4, 2));
    Choose({{ui.bandwidth, 1}, {ui.squelch, 5}, {ui.timeout, 4}, {ui.recovery, 10}, {ui.power, 1}, {ui.permission, 3}});
    for (QCheckBox* box : {ui.vox, ui.receiveOnly})
        box->setChecked(true);
    EXPECT_EQ((std::vector<int>{r[39], r[52], r[54], r[56], r[58], r[62]}), (std::vector<int>{0x0F, 3, 1, 4, 10, 5}));

    // Scan list off: auto scan cleared and disabled.
    ui.scanList->setCurrentIndex(0);
    EXPECT_EQ(std::tuple(r[60] + 0, r[39] + 0, ui.autoScan->isEnabled()), std::tuple(0, 0x0E, false));

    ui.copy->click();
    EXPECT_EQ(std::tuple(GetLE32(r, 47), r[73] + 0, r[74] + 0, ui.txInverted->currentIndex()), std::tuple(435012500u, 0xE4, 2, 1));
    EXPECT_EQ(s.Image().AnalogChannelTable.record(0)[1], 0);  // only the record shown was touched
}

TEST(DigitalChannelForm, DirectModeEncryptionAndListsOfOtherRecords)
{
    ProgramDir dir(0, {2, 1, 1, 3});
    FormSession s(dir.path);
    Codeplug& c = s.Image();
    SetCount(c.ContactCount, 2);
    c.ContactTable.record(1)[2] = 'B', c.ContactTable.record(1)[4] = 'o';
    auto r = c.DigitalChannelTable.record(0);
    PutLE32(r, 54, 430000000);
    PutLE32(r, 59, 431000000);
    r[42] = 0x01, r[64] = 1, r[66] = 9;  // direct mode 1; a group list that does not exist
    CForm_AnologCH* form = s.Open<CForm_AnologCH>(FormKind::DigitalChannel, 0);
    const auto& ui = form->Ui();
    EXPECT_EQ(ItemTexts(ui.contact), (QStringList{"", "Bo"}));
    EXPECT_EQ(ItemTexts(ui.rxGroupList), (QStringList{"OFF", "接收组 01", "接收组 02", "接收组 03"}));
    EXPECT_EQ(std::tuple(ui.contact->currentIndex(), ui.rxGroupList->currentIndex()), std::tuple(1, -1));
    // Unequal frequencies: differ bit set, direct mode back to the first choice.
    EXPECT_TRUE(r[42] == 0x04 && !ui.directMode->isEnabled() && !ui.key->isEnabled());
    EXPECT_EQ((std::vector<int>{ui.alias->maxLength(), ui.rxFrequency->maxLength(), ui.key->maxLength()}),
              (std::vector<int>{18, 10, 5}));

    Choose({{ui.timeSlot, 1}, {ui.rxColourCode, 15}, {ui.txColourCode, 3}, {ui.permission, 2}, {ui.power, 1}, {ui.timeout, 5},
            {ui.recovery, 7}, {ui.contact, 0}});
    for (QCheckBox* box : {ui.privateConfirm, ui.emergency, ui.vox})
        box->setChecked(true);
    EXPECT_EQ((std::vector<int>{r[41], r[44], r[49], r[64], r[66], r[68], r[70], r[72], r[74]}),
              (std::vector<int>{0x4C, 15, 3, 0, 9, 2, 1, 5, 7}));  // the unknown group list is kept

    ui.copy->click();
    EXPECT_EQ(std::tuple(GetLE32(r, 59), r[49] + 0, ui.directMode->isEnabled()), std::tuple(430000000u, 15, true));
    ui.directMode->setCurrentIndex(1);
    EXPECT_EQ(r[42], 0x09);

    // Encryption: the key box follows the switch and stores through the key rule; off stores 0.
    ui.key->setText("");
    ui.encryption->setChecked(true);
    EXPECT_EQ(std::tuple(r[41] & 0x20, GetLE16(r, 76), ui.key->isEnabled()), std::tuple(0x20, 1, true));
    ui.encryption->setChecked(false);
    EXPECT_EQ(std::tuple(GetLE16(r, 76), ui.key->text()), std::tuple(0, QString("0")));
}

// Add copies channel 1; delete moves the form to a channel that exists and the tree follows.
TEST(ChannelForms, AddAndDeleteFromTheForm)
{
    ProgramDir dir(0, {3, 5, 1, 1});
    FormSession s(dir.path);
    Codeplug& c = s.Image();
    for (std::uint8_t n = 0; n < 5; ++n)
        c.AnalogChannelTable.record(n)[2] = static_cast<std::uint8_t>('A' + n), c.AnalogChannelTable.record(n)[1] = 2;
    auto zone = c.ZoneTable.record(0);
    zone[39] = 2, zone[41] = 2, zone[42] = 4, zone[44] = 2, zone[45] = 1;  // analog 5, analog 2
    s.frame->Windows().OpenForm(FormKind::Zone);
    ASSERT_NE(s.frame->Windows().Form(FormKind::Zone), nullptr);
    CFORM_AnaCH* form = s.Open<CFORM_AnaCH>(FormKind::AnalogChannel, 4);
    form->Ui().remove->click();
    EXPECT_EQ(s.frame->Windows().Form(FormKind::Zone), nullptr);  // no zone form is left showing the old members
    EXPECT_EQ(std::tuple(c.AnalogChannelCount[0] + 0, s.app.Navigation().Index(FormKind::AnalogChannel),
                         form->Ui().alias->text(),
                         s.frame->Windows().FormWindow(FormKind::AnalogChannel)->windowTitle()),
              std::tuple(4, 3u, QString("D"), QString("模拟信道 04")));
    s.Open<CFORM_AnaCH>(FormKind::AnalogChannel, 0)->Ui().remove->click();  // channel 1 goes: the new channel 1 shows
    EXPECT_EQ(form->Ui().alias->text(), "B");

    form->Ui().add->click();
    const QTreeWidgetItem* analogBranch = s.frame->Tree()->topLevelItem(0)->child(5);
    EXPECT_EQ(std::tuple(c.AnalogChannelCount[0] + 0, c.AnalogChannelTable.record(3)[2] + 0, analogBranch->childCount(),
                         analogBranch->isExpanded()),
              std::tuple(4, 'B' + 0, 4, true));
}

// Edits made in the forms, saved, written to the virtual radio and read back: the radio returns
// every record as it was written, the edits where the forms put them. (The keys and the DMR lists
// edit bytes of the settings blocks compared whole, which any bytes pass: FullImage runs show that.)
TEST(ChannelForms, EditsOfEveryFormSurviveSaveWriteAndRead)
{
    ProgramDir dir(1, {4, 3, 2, 2});
    FormSession s(dir.path);
    auto* zone = s.Open<CForm_GroupCH>(FormKind::Zone, 1);
    Pick(*zone->AvailableGrid(), 6, *zone->AddButton());  // analog 2
    Pick(*zone->AvailableGrid(), 4, *zone->AddButton());  // digital 4
    Pick(*zone->AvailableGrid(), 1, *zone->AddButton());  // digital 1
    Pick(*zone->MemberGrid(), 2, *zone->RemoveButton());
    auto* scan = s.Open<CForm_Scan>(FormKind::Scan, 1);
    Pick(*scan->AvailableGrid(), 7, *scan->AddButton());  // analog 3
    Pick(*scan->AvailableGrid(), 2, *scan->AddButton());  // digital 2
    scan->DwellList()->setCurrentIndex(3);

    auto* analog = s.Open<CFORM_AnaCH>(FormKind::AnalogChannel, 1);
    Type(analog->Ui().alias, "北门");
    Type(analog->Ui().rxFrequency, "439.0625");
    analog->Ui().rxType->setCurrentIndex(1);
    analog->Ui().rxCtcss->setCurrentIndex(20);
    analog->Ui().copy->click();
    analog->Ui().add->click();
    auto* digital = s.Open<CForm_AnologCH>(FormKind::DigitalChannel, 0);
    Type(digital->Ui().rxFrequency, "409.9875");
    digital->Ui().encryption->setChecked(true);
    Type(digital->Ui().key, "4321");
    s.Open<CForm_AnologCH>(FormKind::DigitalChannel, 2)->Ui().remove->click();  // no member of the lists

    auto* contacts = s.Open<CFORM_DMR_Contact>(FormKind::DmrContact);
    for (int i = 0; i < 3; ++i)
        contacts->AddButton()->click();
    emit contacts->Grid()->cellClicked(2, 1);
    TypeAndLeave(contacts->NameEditor(), QString::fromUtf8("调度 Desk"));
    emit contacts->Grid()->cellClicked(0, 1);
    contacts->DeleteButton()->click();  // "Contact2" (ID 2) and "调度 Desk" (ID 3) are left

    Type(s.Open<CFORM_DMR>(FormKind::Dmr)->IdBox(), "2345678");
    auto* fun = s.Open<CForm_Fun>(FormKind::Fun);
    Choose({{fun->List(FunList::PowerSaveLevel), 2}, {fun->List(FunList::VoxLevel), 3}, {fun->List(FunList::LowBatteryInterval), 200},
            {fun->List(FunList::AnalogMicGain), 5}, {fun->List(FunList::DigitalMicGain), 14}});
    for (int f = 0; f < 16; ++f)  // every box on: a bit the write clears shows
        if (QCheckBox* box = fun->Flag(static_cast<FunFlag>(f)); !box->isChecked())
            box->click();
    Type(fun->Alias(), "对讲机A");
    auto* messages = s.Open<Form_Message>(FormKind::Message);
    for (const char* text : {"Convoy leaves 0600", "收到请回复"}) {
        messages->ClickCell(static_cast<int>(GetCount(s.Image().MessageCount)) + 1, 1);
        TypeAndLeave(messages->Editor(), QString::fromUtf8(text));
    }

    Codeplug loaded, written;
    ASSERT_TRUE(s.SaveAsAndLoad(dir.path / "edited.VNTX", loaded));
    session_test::SessionBench bench;
    ASSERT_TRUE(session_test::WriteThenReadBack(bench, loaded, &written));
    const Codeplug& read = *bench.image;
    EXPECT_EQ(std::tuple(read.AnalogChannelCount[0], read.DigitalChannelCount[0], GetCount(read.ContactCount),
                         GetCount(read.MessageCount)),
              std::tuple(4, 3, 2u, 2u));
    const auto used = [](const Codeplug& c) {
        return std::vector{Used(c.AnalogChannelTable, 4), Used(c.DigitalChannelTable, 3), Used(c.ContactTable, 2),
                           Used(c.MessageTable, 2), Used(c.ScanTable, 2), Used(c.ZoneTable, 2),
                           Wire(c.RadioSettings.begin(), c.RadioSettings.end()), Wire(c.DmrSettings.begin(), c.DmrSettings.end())};
    };
    EXPECT_EQ(used(read), used(written));
    EXPECT_EQ(ReadFunctions(read), ReadFunctions(s.Image()));
    // The edits are there: zone 2 holds analog 2 and digital 1, scan list 2 analog 3 and digital 2
    // (field number 2 stamped at 40); the names and texts typed; the radio ID, most significant
    // byte first on the link.
    EXPECT_EQ(std::tuple(Wire(read.ZoneTable.record(1).begin() + 39, read.ZoneTable.record(1).begin() + 47),
                         Wire(read.ScanTable.record(1).begin() + 39, read.ScanTable.record(1).begin() + 47),
                         DecodeAlias(read.AnalogChannelTable.record(1)[1], read.AnalogChannelTable.record(1).subspan(2, 36)),
                         DecodeContactName(read.ContactTable.record(1).subspan(2, 36)), MessageText(read, 1),
                         session_test::Slice(bench.radio().Records(0xF2).at(0), 1, 4)),
              std::tuple(Wire{2, 2, 2, 1, 0, 1, 0, 0}, Wire{2, 2, 2, 2, 0, 1, 1, 0}, std::string("北门"), std::string("调度 Desk"),
                         std::string("收到请回复"), Wire{0x02, 0x34, 0x56, 0x78}));
}
