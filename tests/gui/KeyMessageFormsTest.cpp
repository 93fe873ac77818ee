// The programmable keys and text messages forms driven through their controls, and what they
// set reaching the virtual radio and coming back.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QTreeWidget>

#include <random>

#include "app/FormFactories.h"
#include "ui/QtText.h"
#include "forms/channels/Encodings.h"
#include "forms/functions/CForm_Key.h"
#include "forms/functions/Form_Message.h"
#include "tests/core/SessionBench.h"
#include "TestSupport.h"
#include "ui/CMSFlexGrid.h"

using namespace testsupport;

namespace {

constexpr int kTextMessageCommand = 32866;

void PutContact(Codeplug& c, std::size_t n, const char* name, std::uint8_t callType)
{
    auto record = c.ContactTable.record(n);
    record[1] = EncodeContactName(name, record.subspan(2, 36));
    record[39] = callType;
}

struct Forms : Session {
    explicit Forms(const fs::path& dir) : Session(dir) { InstallFormFactories(*frame); }

    QString T(const char* section, int key) const { return QText(app.Context().text, section, key); }
    Codeplug& Image() { return app.Context().codeplug; }

    CForm_Key* OpenKeys()  // as a click on Keys under Functions
    {
        for (QTreeWidgetItemIterator it(frame->Tree()); *it != nullptr; ++it)
            if ((*it)->text(0) == T("Tree", 3) && (*it)->parent() && (*it)->parent()->text(0) == T("Tree", 2))
                frame->ClickTreeItem(*it);
        return dynamic_cast<CForm_Key*>(frame->Windows().Form(FormKind::Key));
    }
    Form_Message* OpenMessages()
    {
        frame->OnCommand(kTextMessageCommand);
        return dynamic_cast<Form_Message*>(frame->Windows().Form(FormKind::Message));
    }
};

void Choose(QComboBox* list, int position)  // as the user picks an entry
{
    list->setCurrentIndex(position);
    emit list->activated(position);
}

bool Shown(const QWidget* editor) { return !editor->isHidden(); }  // the main window itself stays hidden

void LeaveEditor(QLineEdit* editor)
{
    QFocusEvent out(QEvent::FocusOut, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(editor, &out);
}

}  // namespace

TEST(KeyForm, KeyListsLongPressAndOneTouchGrid)
{
    ProgramDir dir(1);
    Forms s(dir.path);
    Codeplug& c = s.Image();
    c.RadioSettings[144] = 0x02;  // K2 short: a code the lists do not offer
    c.RadioSettings[139] = 0x14;
    c.RadioSettings[222] = 0xC4, c.RadioSettings[223] = 0x09;  // 2500 ms
    PutContact(c, 0, "Base", 0);
    PutContact(c, 1, "Everyone", 2);
    PutContact(c, 2, "Ann", 1);
    SetCount(c.ContactCount, 3);
    c.RadioSettings[206] = 0, c.RadioSettings[207] = 9;
    c.RadioSettings[209] = 2, c.RadioSettings[210] = 2;

    CForm_Key* form = s.OpenKeys();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(s.frame->Windows().FormWindow(FormKind::Key)->windowTitle(), s.T("Tree", 3));
    ASSERT_EQ(form->KeyList(0)->count(), 15);
    EXPECT_EQ(form->KeyList(0)->itemText(13), s.T("Key", 43));
    EXPECT_EQ(std::tuple(form->KeyList(1)->currentIndex(), form->KeyList(2)->currentIndex()), std::tuple(14, 0));
    EXPECT_EQ(form->LongPressList()->currentText(), "2.5");

    CMSFlexGrid* grid = form->OneTouchGrid();
    const QString none = s.T("Key", 18);
    EXPECT_EQ(grid->Rows(), 6);
    EXPECT_EQ(grid->TextMatrix(0, 2), s.T("Key", 12));
    EXPECT_EQ(QStringList({grid->TextMatrix(1, 1), grid->TextMatrix(1, 2), grid->TextMatrix(2, 1), grid->TextMatrix(2, 2)}),
              QStringList({none, none, "DMR", "Ann"}));

    // Any change commits every list: the unknown K2 code becomes 0x00.
    form->KeyList(0)->setCurrentIndex(5);
    EXPECT_EQ(std::tuple(c.RadioSettings[138], c.RadioSettings[139], c.RadioSettings[144]), std::tuple(0x08, 0x14, 0x00));
    form->LongPressList()->setCurrentIndex(8);
    EXPECT_EQ(std::tuple(c.RadioSettings[222], c.RadioSettings[223]), std::tuple(0x88, 0x13));

    // One-touch entry 1 has no kind: only the kind list opens over it.
    ASSERT_EQ(form->ContactList()->count(), 2);
    form->ClickCell(1, 2);
    EXPECT_FALSE(Shown(form->ContactList()));
    form->ClickCell(1, 1);
    ASSERT_TRUE(Shown(form->KindList()));
    EXPECT_EQ(form->KindList()->currentIndex(), 0);
    Choose(form->KindList(), 1);
    EXPECT_EQ(std::tuple(c.RadioSettings[206], c.RadioSettings[207]), std::tuple(2, 9));
    EXPECT_EQ(grid->TextMatrix(1, 1), "DMR");
    form->ClickCell(1, 2);
    ASSERT_TRUE(Shown(form->ContactList()));
    EXPECT_FALSE(Shown(form->KindList()));
    Choose(form->ContactList(), 1);
    EXPECT_EQ(c.RadioSettings[207], 2);
    EXPECT_EQ(grid->TextMatrix(1, 2), "Ann");

    // Entry 2 set back to no call locks its contact cell; other columns close the lists.
    form->ClickCell(2, 1);
    EXPECT_EQ(form->KindList()->currentIndex(), 1);
    Choose(form->KindList(), 0);
    form->ClickCell(2, 2);
    EXPECT_FALSE(Shown(form->ContactList()));
    EXPECT_EQ(grid->TextMatrix(2, 2), none);
    form->ClickCell(3, 0);
    EXPECT_FALSE(Shown(form->KindList()));
}

TEST(MessageForm, RowsGrowOneAtATimeAndTheEditorCommitsOnLeaving)
{
    ProgramDir dir(0);
    Forms s(dir.path);
    Codeplug& c = s.Image();
    SetCount(c.MessageCount, 7);
    c.MessageTable.record(0)[1] = 4, c.MessageTable.record(0)[3] = 'X';  // old texts out of use
    c.MessageTable.record(1)[1] = 2, c.MessageTable.record(1)[3] = 'Y';

    s.OpenKeys();  // the last tree label is not the messages form's title
    Form_Message* form = s.OpenMessages();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), s.T("Tree", 26));
    EXPECT_EQ(GetCount(c.MessageCount), 0u);
    CMSFlexGrid* grid = form->Grid();
    EXPECT_EQ(QStringList({grid->TextMatrix(3, 0), grid->TextMatrix(1, 1)}), QStringList({"03", ""}));

    form->ClickCell(1, 1);  // the first free row comes into use, empty as it shows
    EXPECT_EQ(GetCount(c.MessageCount), 1u);
    EXPECT_EQ(c.MessageTable.record(0)[1], 0);
    ASSERT_TRUE(Shown(form->Editor()));
    EXPECT_EQ(form->Editor()->text(), "");
    EXPECT_EQ(form->Editor()->maxLength(), 40);
    form->Editor()->setText(" Meet at gate 3 ");
    LeaveEditor(form->Editor());
    EXPECT_FALSE(Shown(form->Editor()));
    EXPECT_EQ(std::tuple(c.MessageTable.record(0)[1], c.MessageTable.record(0)[3]), std::tuple(28, 'M'));
    EXPECT_EQ(grid->TextMatrix(1, 1), "Meet at gate 3");

    form->ClickCell(1, 1);
    EXPECT_EQ(form->Editor()->selectedText(), "Meet at gate 3");
    form->Editor()->setText("Go");
    form->ClickCell(2, 0);  // a click elsewhere ends the edit too
    EXPECT_EQ(std::tuple(c.MessageTable.record(0)[1], GetCount(c.MessageCount)), std::tuple(4, 2u));
    EXPECT_FALSE(Shown(form->Editor()));
    EXPECT_EQ(std::tuple(c.MessageTable.record(1)[1], grid->TextMatrix(2, 1)), std::tuple(0, QString()));

    s.OpenKeys();
    s.OpenMessages();  // raised again, still under its own title
    EXPECT_EQ(s.frame->Windows().FormWindow(FormKind::Message)->windowTitle(), s.T("Tree", 26));
}

// A key assignment, a one-touch entry and two messages set through the forms, saved, written to
// the virtual radio and read back.
TEST(KeyMessageForms, SettingsReachTheRadioAndReadBackTheSame)
{
    using namespace session_test;
    ProgramDir dir(1);
    Forms s(dir.path);
    Codeplug& c = s.Image();
    PutContact(c, 0, "Everyone", 2);
    PutContact(c, 1, "Yard", 0);
    SetCount(c.ContactCount, 2);

    CForm_Key* keys = s.OpenKeys();
    keys->KeyList(5)->setCurrentIndex(13);  // K3 long: code 0x13
    keys->LongPressList()->setCurrentIndex(1);
    keys->ClickCell(3, 1);
    Choose(keys->KindList(), 1);
    keys->ClickCell(3, 2);
    Choose(keys->ContactList(), 0);
    Form_Message* messages = s.OpenMessages();
    messages->ClickCell(1, 1);
    messages->Editor()->setText("Convoy leaves 0600");
    LeaveEditor(messages->Editor());
    messages->ClickCell(2, 1);
    messages->Editor()->setText("收到请回复");
    LeaveEditor(messages->Editor());

    Codeplug loaded, written;
    ASSERT_TRUE(s.SaveAsAndLoad(dir.path / "keys.VNTX", loaded));
    EXPECT_EQ(std::tuple(loaded.RadioSettings[148], loaded.RadioSettings[212], loaded.RadioSettings[213]), std::tuple(0x13, 2, 1));
    SessionBench bench;
    ASSERT_TRUE(WriteThenReadBack(bench, loaded, &written));
    const Wire& settings = bench.radio().Records(0xF0).at(0);
    EXPECT_EQ(Slice(settings, 222, 2), (Wire{0x05, 0xDC}));
    EXPECT_EQ(settings[148], 0x13);
    ASSERT_EQ(bench.radio().Records(0xE6).size(), 2u);
    EXPECT_EQ(Slice(bench.radio().Records(0xE6)[0], 1, 5), (Wire{36, 0x01, 0x00, 'C', 0x00}));
    EXPECT_EQ(bench.image->RadioSettings, written.RadioSettings);
    EXPECT_EQ(GetCount(bench.image->MessageCount), 2u);
    for (std::size_t n = 0; n < 2; ++n)
        EXPECT_TRUE(std::ranges::equal(bench.image->MessageTable.record(n), written.MessageTable.record(n))) << n;

    s.app.Context().codeplug = *bench.image;
    messages = s.OpenMessages();
    EXPECT_EQ(messages->Grid()->TextMatrix(2, 1), "收到请回复");
    keys = s.OpenKeys();
    EXPECT_EQ(keys->KeyList(5)->currentIndex(), 13);
    EXPECT_EQ(keys->OneTouchGrid()->TextMatrix(3, 2), "Yard");
}

// Whatever the image holds, every cell and list entry of both forms can be used: the count
// is brought back into the table, and a one-touch kind the forms write is always 0 or 2.
TEST(KeyMessageForms, RandomImagesStayWithinTheTables)
{
    ProgramDir dir(0);
    Forms s(dir.path);
    std::mt19937 random(6303);
    for (int round = 0; round < 3; ++round) {
        for (BlockView block : BlocksInFileOrder(s.Image()))
            for (std::uint8_t& b : block.bytes)
                b = static_cast<std::uint8_t>(random());
        s.frame->Windows().CloseAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        CForm_Key* keys = s.OpenKeys();
        for (int row = 0; row <= 6; ++row)
            for (int col = 0; col <= 3; ++col) {
                keys->ClickCell(row, col);
                for (QComboBox* list : {keys->KindList(), keys->ContactList()})
                    if (Shown(list) && list->count() > 0)
                        Choose(list, static_cast<int>(random() % list->count()));
            }
        for (std::size_t k = 0; k < 5; ++k)
            EXPECT_EQ(s.Image().RadioSettings[206 + 3 * k] & ~2, 0) << k;
        Form_Message* messages = s.OpenMessages();
        EXPECT_LE(GetCount(s.Image().MessageCount), 3u);
        for (int row = 0; row <= 4; ++row) {
            messages->ClickCell(row, 1);
            LeaveEditor(messages->Editor());
        }
        EXPECT_EQ(GetCount(s.Image().MessageCount), 3u);
    }
}
