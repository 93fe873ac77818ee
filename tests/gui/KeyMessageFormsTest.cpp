// The programmable keys and text messages forms driven through their controls; the codes, times,
// one-touch entries and message rows they store are KeyMessageRulesTest's.

#include "TestSupport.h"

using namespace testsupport;

namespace {

void PutContact(Codeplug& c, std::size_t n, const char* name, std::uint8_t callType)
{
    auto record = c.ContactTable.record(n);
    record[1] = EncodeContactName(name, record.subspan(2, 36));
    record[39] = callType;
}

struct Forms : FormSession {
    using FormSession::FormSession;
    QString T(const char* section, int key) const { return QText(app.Context().text, section, key); }
    void ClickKeysItem()  // the last tree label is then not the messages form's title
    {
        frame->ClickTreeItem(frame->Tree()->findItems(T("Tree", 3), Qt::MatchExactly | Qt::MatchRecursive).value(0));
        ASSERT_NE(frame->Windows().Form(FormKind::Key), nullptr);
    }
};

void Choose(QComboBox* list, int position)  // as the user picks an entry
{
    list->setCurrentIndex(position);
    emit list->activated(position);
}

bool Shown(const QWidget* editor) { return !editor->isHidden(); }  // the main window itself stays hidden

}  // namespace

TEST(KeyForm, KeyListsLongPressAndOneTouchGrid)
{
    ProgramDir dir(1);
    Forms s(dir.path);
    Codeplug& c = s.Image();
    c.RadioSettings[144] = 0x02, c.RadioSettings[139] = 0x14;  // K2 short: a code the lists do not offer
    c.RadioSettings[222] = 0xC4, c.RadioSettings[223] = 0x09;  // 2500 ms
    PutContact(c, 0, "Base", 0);
    PutContact(c, 1, "Everyone", 2);
    PutContact(c, 2, "Ann", 1);
    SetCount(c.ContactCount, 3);
    c.RadioSettings[206] = 0, c.RadioSettings[207] = 9;
    c.RadioSettings[209] = 2, c.RadioSettings[210] = 2;

    CForm_Key* form = s.Open<CForm_Key>(FormKind::Key);
    ASSERT_EQ(form->KeyList(0)->count(), 15);
    EXPECT_EQ(std::tuple(form->KeyList(0)->itemText(13), form->KeyList(1)->currentIndex(),
                         form->KeyList(2)->currentIndex(), form->LongPressList()->currentText()),
              std::tuple(s.T("Key", 43), 14, 0, QString("2.5")));
    CMSFlexGrid* grid = form->OneTouchGrid();
    const QString none = s.T("Key", 18);
    EXPECT_EQ(grid->Rows(), 6);
    EXPECT_EQ(Cells(*grid, {{0, 2}, {1, 1}, {1, 2}, {2, 1}, {2, 2}}),
              (QStringList{s.T("Key", 12), none, none, "DMR", "Ann"}));

    // Any change commits every list: the unknown K2 code becomes 0x00.
    form->KeyList(0)->setCurrentIndex(5);
    form->LongPressList()->setCurrentIndex(8);
    EXPECT_EQ((std::vector<int>{c.RadioSettings[138], c.RadioSettings[139], c.RadioSettings[144], c.RadioSettings[222],
                                c.RadioSettings[223]}),
              (std::vector<int>{0x08, 0x14, 0x00, 0x88, 0x13}));

    // One-touch entry 1 has no kind: only the kind list opens over it.
    form->ClickCell(1, 1);
    ASSERT_TRUE(Shown(form->KindList()));
    Choose(form->KindList(), 1);
    EXPECT_EQ(std::tuple(c.RadioSettings[206], grid->TextMatrix(1, 1)), std::tuple(2, QString("DMR")));
    form->ClickCell(1, 2);
    ASSERT_TRUE(Shown(form->ContactList()) && !Shown(form->KindList()));
    Choose(form->ContactList(), 1);  // the all call is not offered
    EXPECT_EQ(std::tuple(c.RadioSettings[207], grid->TextMatrix(1, 2)), std::tuple(2, QString("Ann")));

    // Entry 2 set back to no call locks its contact cell; other columns close the lists.
    form->ClickCell(2, 1);
    EXPECT_EQ(form->KindList()->currentIndex(), 1);
    Choose(form->KindList(), 0);
    form->ClickCell(2, 2);
    EXPECT_TRUE(!Shown(form->ContactList()) && grid->TextMatrix(2, 2) == none);
    form->ClickCell(3, 0);
    EXPECT_FALSE(Shown(form->KindList()));
}

TEST(MessageForm, RowsGrowOneAtATimeAndTheEditorCommitsOnLeaving)
{
    ProgramDir dir(0);
    Forms s(dir.path);
    Codeplug& c = s.Image();
    SetCount(c.MessageCount, 7);
    c.MessageTable.record(0)[1] = 4, c.MessageTable.record(0)[3] = 'X';  // an old text out of use
    s.ClickKeysItem();
    s.frame->OnCommand(Cmd::TextMessage);
    auto* form = s.Shown<Form_Message>(FormKind::Message);
    EXPECT_EQ(std::tuple(form->windowTitle(), GetCount(c.MessageCount)), std::tuple(s.T("Tree", 26), 0u));
    CMSFlexGrid* grid = form->Grid();
    EXPECT_EQ(Cells(*grid, {{3, 0}, {1, 1}}), (QStringList{"03", ""}));

    form->ClickCell(1, 1);  // the first free row comes into use, empty as it shows
    ASSERT_TRUE(Shown(form->Editor()));
    EXPECT_EQ(std::tuple(GetCount(c.MessageCount), c.MessageTable.record(0)[1] + 0, form->Editor()->text(),
                         form->Editor()->maxLength()),
              std::tuple(1u, 0, QString(), 40));
    TypeAndLeave(form->Editor(), " Meet at gate 3 ");
    EXPECT_EQ(std::tuple(Shown(form->Editor()), c.MessageTable.record(0)[1], grid->TextMatrix(1, 1)),
              std::tuple(false, 28, QString("Meet at gate 3")));

    form->ClickCell(1, 1);
    EXPECT_EQ(form->Editor()->selectedText(), "Meet at gate 3");
    form->Editor()->setText("Go");
    form->ClickCell(2, 0);  // a click elsewhere ends the edit too
    EXPECT_EQ(std::tuple(c.MessageTable.record(0)[1], GetCount(c.MessageCount), Shown(form->Editor())), std::tuple(4, 2u, false));

    s.ClickKeysItem();
    s.frame->OnCommand(Cmd::TextMessage);  // raised again, still under its own title
    EXPECT_EQ(s.frame->Windows().FormWindow(FormKind::Message)->windowTitle(), s.T("Tree", 26));
}
