// The analog and digital channel forms driven offscreen: what each control writes into the
// record (offsets of the record layouts, written out), the show rules, the commands, the texts
// in both languages, and a codeplug edited here surviving a write to and a read from the radio.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTreeWidget>

#include "TestSupport.h"
#include "app/FormFactories.h"
#include "forms/channels/CFORM_AnaCH.h"
#include "forms/channels/CForm_AnologCH.h"
#include "tests/core/SessionBench.h"

using namespace testsupport;

namespace {

struct ChannelSession : Session {
    explicit ChannelSession(const fs::path& dir) : Session(dir) { InstallFormFactories(*frame); }
    Codeplug& image() { return app.Context().codeplug; }
    CFORM_AnaCH* Analog(std::uint32_t index)
    {
        app.Navigation().Index(FormKind::AnalogChannel) = index;
        frame->Windows().OpenForm(FormKind::AnalogChannel);
        return dynamic_cast<CFORM_AnaCH*>(frame->Windows().Form(FormKind::AnalogChannel));
    }
    CForm_AnologCH* Digital(std::uint32_t index)
    {
        app.Navigation().Index(FormKind::DigitalChannel) = index;
        frame->Windows().OpenForm(FormKind::DigitalChannel);
        return dynamic_cast<CForm_AnologCH*>(frame->Windows().Form(FormKind::DigitalChannel));
    }
};

std::vector<QString> ItemTexts(const QComboBox* list)
{
    std::vector<QString> texts;
    for (int i = 0; i < list->count(); ++i)
        texts.push_back(list->itemText(i));
    return texts;
}

}  // namespace

TEST(AnalogChannelForm, ControlsWriteTheirBytesAndTheShowRulesHold)
{
    ProgramDir dir(0, {3, 3, 2, 2});
    ChannelSession s(dir.path);
    auto r = s.image().AnalogChannelTable.record(1);
    r[60] = 1, r[39] = 0x01;                  // scan list 1, auto scan
    r[73] = 0x00, r[74] = 0x00;               // a blank transmit tone
    CFORM_AnaCH* form = s.Analog(1);
    ASSERT_NE(form, nullptr);
    const auto& ui = form->Ui();
    EXPECT_EQ(ItemTexts(ui.scanList), (std::vector<QString>{"OFF", "扫描列表1", "扫描列表2"}));
    EXPECT_EQ((QStringList{ui.rxCtcss->itemText(1), ui.rxDcs->itemText(1), ui.txInverted->itemText(107)}),
              (QStringList{"67.0", "D023N", "D754I"}));
    EXPECT_TRUE(ui.autoScan->isEnabled());
    EXPECT_EQ(ui.txType->currentIndex(), 0);   // blank means no tone, as its bits say
    EXPECT_FALSE(ui.txCtcss->isEnabled());

    Type(ui.alias, "  Gate 1 ");
    EXPECT_EQ(r[1], 12);
    EXPECT_EQ(r[2], 'G');
    EXPECT_EQ(r[3], 0);
    EXPECT_EQ(r[73], 0x04);  // the blank tone committed as no tone, never CTCSS without a value
    EXPECT_EQ(r[74], 0);
    Type(ui.rxFrequency, "435.0125");
    EXPECT_EQ(GetLE32(r, 42), 435012500u);
    EXPECT_EQ(ui.rxFrequency->text(), "435.012500");
    Type(ui.txFrequency, "500");  // clamped to the band
    EXPECT_EQ(GetLE32(r, 47), 480000000u);

    ui.rxType->setCurrentIndex(3);
    EXPECT_TRUE(ui.rxInverted->isEnabled());
    EXPECT_FALSE(ui.rxCtcss->isEnabled());
    ui.rxInverted->setCurrentIndex(1);  // 023
    ui.tail->setCurrentIndex(1);
    EXPECT_EQ(r[64], 0xE4);
    EXPECT_EQ(r[65], 2);
    ui.bandwidth->setCurrentIndex(1);
    ui.vox->setChecked(true);
    ui.receiveOnly->setChecked(true);
    ui.squelch->setCurrentIndex(5);
    ui.timeout->setCurrentIndex(4);
    ui.recovery->setCurrentIndex(10);
    ui.power->setCurrentIndex(1);
    ui.permission->setCurrentIndex(3);
    EXPECT_EQ(r[39], 0x0F);
    EXPECT_EQ((std::vector<int>{r[52], r[54], r[56], r[58], r[62]}), (std::vector<int>{3, 1, 4, 10, 5}));

    // Scan list off: auto scan cleared and disabled until a list is chosen again.
    ui.scanList->setCurrentIndex(0);
    EXPECT_EQ(r[60], 0);
    EXPECT_EQ(r[39], 0x0E);
    EXPECT_FALSE(ui.autoScan->isEnabled());
    ui.scanList->setCurrentIndex(2);
    EXPECT_TRUE(ui.autoScan->isEnabled());
    EXPECT_FALSE(ui.autoScan->isChecked());

    ui.copy->click();
    EXPECT_EQ(GetLE32(r, 47), 435012500u);
    EXPECT_EQ(r[73], 0xE4);
    EXPECT_EQ(r[74], 2);
    EXPECT_EQ(ui.txInverted->currentIndex(), 1);
    EXPECT_EQ(s.image().AnalogChannelTable.record(0)[1], 0);  // only the record shown was touched
}

TEST(DigitalChannelForm, DirectModeEncryptionAndListsOfOtherRecords)
{
    ProgramDir dir(0, {2, 1, 1, 3});
    ChannelSession s(dir.path);
    Codeplug& c = s.image();
    SetCount(c.ContactCount, 2);
    c.ContactTable.record(1)[2] = 'B', c.ContactTable.record(1)[4] = 'o';
    auto r = c.DigitalChannelTable.record(0);
    PutLE32(r, 54, 430000000);
    PutLE32(r, 59, 431000000);
    r[42] = 0x01, r[64] = 1, r[66] = 9;  // direct mode 1; a group list that does not exist
    CForm_AnologCH* form = s.Digital(0);
    ASSERT_NE(form, nullptr);
    const auto& ui = form->Ui();
    EXPECT_EQ(ItemTexts(ui.contact), (std::vector<QString>{"", "Bo"}));
    EXPECT_EQ(ui.contact->currentIndex(), 1);
    EXPECT_EQ(ItemTexts(ui.rxGroupList), (std::vector<QString>{"OFF", "接收组 01", "接收组 02", "接收组 03"}));
    EXPECT_EQ(ui.rxGroupList->currentIndex(), -1);
    EXPECT_EQ(r[42], 0x04);  // unequal frequencies: differ bit set, direct mode back to the first choice
    EXPECT_FALSE(ui.directMode->isEnabled());
    EXPECT_EQ((std::vector<int>{ui.alias->maxLength(), ui.rxFrequency->maxLength(), ui.key->maxLength()}),
              (std::vector<int>{18, 10, 5}));

    ui.timeSlot->setCurrentIndex(1);
    ui.rxColourCode->setCurrentIndex(15);
    ui.txColourCode->setCurrentIndex(3);
    ui.permission->setCurrentIndex(2);
    ui.power->setCurrentIndex(1);
    ui.timeout->setCurrentIndex(5);
    ui.recovery->setCurrentIndex(7);
    ui.contact->setCurrentIndex(0);
    ui.privateConfirm->setChecked(true);
    ui.emergency->setChecked(true);
    ui.vox->setChecked(true);
    EXPECT_EQ(r[41], 0x4C);
    EXPECT_EQ((std::vector<int>{r[44], r[49], r[64], r[66], r[68], r[70], r[72], r[74]}),
              (std::vector<int>{15, 3, 0, 9, 2, 1, 5, 7}));  // the unknown group list is kept

    ui.copy->click();
    EXPECT_EQ(GetLE32(r, 59), 430000000u);
    EXPECT_EQ(r[49], 15);
    EXPECT_TRUE(ui.directMode->isEnabled());
    ui.directMode->setCurrentIndex(1);
    EXPECT_EQ(r[42], 0x09);

    // Encryption: an empty key becomes 1, a key past 16 bits 65535, off stores 0.
    EXPECT_FALSE(ui.key->isEnabled());
    ui.key->setText("");
    ui.encryption->setChecked(true);
    EXPECT_EQ(r[41] & 0x20, 0x20);
    EXPECT_EQ(GetLE16(r, 76), 1);
    EXPECT_TRUE(ui.key->isEnabled());
    Type(ui.key, "99999");
    EXPECT_EQ(GetLE16(r, 76), 65535);
    EXPECT_EQ(ui.key->text(), "65535");
    ui.encryption->setChecked(false);
    EXPECT_EQ(GetLE16(r, 76), 0);
    EXPECT_EQ(ui.key->text(), "0");
}

// Add copies channel 1; delete moves the form to a channel that exists and the tree follows.
TEST(ChannelForms, AddAndDeleteFromTheForm)
{
    ProgramDir dir(0, {3, 5, 1, 1});
    ChannelSession s(dir.path);
    Codeplug& c = s.image();
    for (std::uint8_t n = 0; n < 5; ++n)
        c.AnalogChannelTable.record(n)[2] = static_cast<std::uint8_t>('A' + n), c.AnalogChannelTable.record(n)[1] = 2;
    auto zone = c.ZoneTable.record(0);
    zone[39] = 2, zone[41] = 2, zone[42] = 4, zone[44] = 2, zone[45] = 1;  // analog 5, analog 2
    s.frame->Windows().OpenForm(FormKind::Zone);
    ASSERT_NE(s.frame->Windows().Form(FormKind::Zone), nullptr);
    CFORM_AnaCH* form = s.Analog(4);
    ASSERT_NE(form, nullptr);
    form->Ui().remove->click();
    EXPECT_EQ(s.frame->Windows().Form(FormKind::Zone), nullptr);  // no zone form is left showing the old members
    EXPECT_EQ(c.AnalogChannelCount[0], 4);
    EXPECT_EQ(s.app.Navigation().Index(FormKind::AnalogChannel), 3u);
    EXPECT_EQ(form->Ui().alias->text(), "D");
    EXPECT_EQ(s.frame->Windows().FormWindow(FormKind::AnalogChannel)->windowTitle(), "模拟信道 04");
    EXPECT_EQ(c.AnalogChannelTable.record(4)[2], 0);
    EXPECT_EQ((std::vector<int>{zone[39], zone[41], zone[42]}), (std::vector<int>{1, 2, 1}));

    s.Analog(0)->Ui().remove->click();  // channel 1 goes; the zone's channel 2 is now channel 1
    EXPECT_EQ(form->Ui().alias->text(), "B");
    EXPECT_EQ((std::vector<int>{zone[39], zone[41], zone[42]}), (std::vector<int>{1, 2, 0}));
    form->Ui().add->click();
    EXPECT_EQ(c.AnalogChannelCount[0], 4);
    EXPECT_EQ(c.AnalogChannelTable.record(3)[2], 'B');
    const QTreeWidgetItem* analogBranch = s.frame->Tree()->topLevelItem(0)->child(5);
    EXPECT_EQ(analogBranch->childCount(), 4);
    EXPECT_TRUE(analogBranch->isExpanded());
}

// A codeplug edited through the forms, saved, written to the radio and read back.
TEST(ChannelForms, EditedChannelsSurviveSaveWriteAndRead)
{
    ProgramDir dir(0, {2, 2, 1, 1});
    ChannelSession s(dir.path);
    CFORM_AnaCH* analog = s.Analog(1);
    Type(analog->Ui().alias, "北门");
    Type(analog->Ui().rxFrequency, "439.0625");
    analog->Ui().rxType->setCurrentIndex(1);
    analog->Ui().rxCtcss->setCurrentIndex(20);
    analog->Ui().copy->click();
    analog->Ui().add->click();
    CForm_AnologCH* digital = s.Digital(0);
    Type(digital->Ui().alias, "Ops");
    Type(digital->Ui().rxFrequency, "409.9875");
    digital->Ui().encryption->setChecked(true);
    Type(digital->Ui().key, "4321");
    s.Digital(1)->Ui().remove->click();

    const fs::path saved = dir.path / "edited.VNTX";
    ASSERT_TRUE(SaveCodeplugFile(s.image(), saved).ok());
    session_test::SessionBench bench;
    Codeplug loaded;
    ASSERT_TRUE(LoadCodeplugFile(loaded, saved).ok());
    auto stamped = std::make_unique<Codeplug>();
    ASSERT_TRUE(session_test::WriteThenReadBack(bench, loaded, stamped.get()));
    const Codeplug& written = *stamped;
    const Codeplug& read = *bench.image;
    EXPECT_EQ(read.AnalogChannelCount[0], 3);
    EXPECT_EQ(read.DigitalChannelCount[0], 1);
    for (std::size_t n = 0; n < 3; ++n) {
        const auto a = read.AnalogChannelTable.record(n), b = written.AnalogChannelTable.record(n);
        EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin())) << n;
    }
    const auto d = read.DigitalChannelTable.record(0), e = written.DigitalChannelTable.record(0);
    EXPECT_TRUE(std::equal(d.begin(), d.end(), e.begin()));
    const auto ch2 = read.AnalogChannelTable.record(1);
    EXPECT_EQ(GetLE32(ch2, 47), 439062500u);
    EXPECT_EQ((std::vector<int>{ch2[64], ch2[65], ch2[73], ch2[74]}), (std::vector<int>{0x42, 21, 0x44, 21}));
    EXPECT_EQ(GetLE16(read.DigitalChannelTable.record(0), 76), 4321);
    EXPECT_EQ(GetLE32(read.DigitalChannelTable.record(0), 54), 409987500u);
}

// Records and counts from outside: whatever the bytes, the forms show, commit and copy within
// their tables, and what they write back is one of the values they are meant to write.
TEST(ChannelForms, RandomImagesShowAndCommitWithinTheTables)
{
    ProgramDir dir(1);
    ChannelSession s(dir.path);
    std::mt19937 random(740);
    for (int round = 0; round < 4; ++round) {
        for (BlockView block : BlocksInFileOrder(s.image()))
            for (std::uint8_t& b : block.bytes)
                b = static_cast<std::uint8_t>(random());
        const std::uint32_t index = round == 3 ? 40 : round * 5;  // the last one past the table
        CFORM_AnaCH* analog = s.Analog(index);
        analog->Ui().copy->click();
        const auto a = s.image().AnalogChannelTable.record(std::min<std::uint32_t>(index, 15));
        EXPECT_NE(std::string("\x02\x04\x42\x44\xC2\xC4\xE2\xE4").find(char(a[64])), std::string::npos);
        constexpr int kTransmitTypes[] = {0x04, 0x44, 0xC4, 0xE4};  // what copy makes of the shown receive type
        EXPECT_EQ(a[73], kTransmitTypes[analog->Ui().rxType->currentIndex()]);
        CForm_AnologCH* digital = s.Digital(index);
        digital->Ui().copy->click();
        digital->Ui().remove->click();
        const auto d = s.image().DigitalChannelTable.record(std::min<std::uint32_t>(index, 15));
        EXPECT_EQ(GetLE16(d, 76) == 0, (d[41] & 0x20) == 0);
        EXPECT_LE(s.app.Navigation().Index(FormKind::DigitalChannel), 15u);
    }
}
