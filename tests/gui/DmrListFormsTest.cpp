// The contact and receive-group-list forms in the main window.

#include "TestSupport.h"
#include "forms/dmr/CFORM_DMR_RxGrpList.h"

using namespace testsupport;

namespace {

// The program's forms, with test forms for the keys and the digital channels.
struct DmrSession : FormSession {
    explicit DmrSession(const fs::path& dir) : FormSession(dir)
    {
        RegisterTestForms(*frame, {FormKind::Key, FormKind::DigitalChannel});
    }
    CFORM_DMR_Contact* Contacts() { return Open<CFORM_DMR_Contact>(FormKind::DmrContact); }
    CFORM_DMR_RxGrpList* List(std::uint32_t index) { return Open<CFORM_DMR_RxGrpList>(FormKind::DmrRxGrpList, index); }
};

void Click(CMSFlexGrid* grid, int row, int col) { emit grid->cellClicked(row - 1, col); }

void Enter(QLineEdit* editor, const QString& text)
{
    editor->setText(text);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(editor, &enter);
}

void AddContact(Codeplug& c, std::uint8_t type, std::uint32_t id, const char* name)
{
    const std::uint32_t n = GetCount(c.ContactCount);
    auto record = c.ContactTable.record(n);
    record[1] = EncodeContactName(name, record.subspan(2, 36));
    record[39] = type;
    PutLE32(record, 41, id);
    SetCount(c.ContactCount, n + 1);
}

}  // namespace

TEST(ContactForm, EditorsCommitIntoTheRecordAndCloseTheFormsThatListContacts)
{
    ProgramDir dir(1);
    DmrSession s(dir.path);
    s.frame->show();
    AddContact(s.Image(), 2, 0x1234, "All");
    AddContact(s.Image(), 0, 0x16777299, "Ops");  // repaired to the largest valid ID when shown
    CFORM_DMR_Contact* form = s.Contacts();
    CMSFlexGrid* grid = form->Grid();
    EXPECT_EQ(Cells(*grid, {{1, 3}, {2, 2}, {2, 3}}), (QStringList{"16777215", "Group call", "16776415"}));
    EXPECT_EQ(GetLE32(s.Image().ContactTable.record(0), 41), 0xAAAAAAAAu);

    // No ID editor for the all call.
    Click(grid, 1, 3);
    EXPECT_FALSE(form->IdEditor()->isVisibleTo(form));

    s.frame->Windows().OpenForm(FormKind::Key);
    s.List(0);
    Click(grid, 2, 1);
    ASSERT_TRUE(form->NameEditor()->isVisibleTo(form));
    Enter(form->NameEditor(), "Dispatch desk");
    EXPECT_EQ(std::tuple(s.Image().ContactTable.record(1)[1] + 0, grid->TextMatrix(2, 1)), std::tuple(13, QString("Dispatch desk")));
    EXPECT_TRUE(s.frame->Windows().Form(FormKind::Key) == nullptr && s.frame->Windows().Form(FormKind::DmrRxGrpList) == nullptr);

    // A second all call: the fixed message, nothing changes.
    Click(grid, 2, 2);
    ASSERT_TRUE(form->CallTypeEditor()->isVisibleTo(form));
    form->CallTypeEditor()->setCurrentIndex(2);
    EXPECT_EQ(s.prompts->Said(), QStringList{"提示: 全呼已存在"});
    EXPECT_EQ(s.Image().ContactTable.record(1)[39], 0);
    form->CallTypeEditor()->setCurrentIndex(1);
    EXPECT_EQ(Cells(*grid, {{2, 2}, {2, 3}}), (QStringList{"Private call", "1"}));

    // Duplicate ID of the same call type, also after the typed ID was clamped: message, the
    // contact keeps the ID the grid shows, the editor stays.
    form->AddButton()->click();
    form->AddButton()->click();
    EXPECT_EQ(grid->TextMatrix(3, 1), "Contact3");
    ASSERT_EQ(s.Image().ContactTable.record(3)[39], 0);
    s.Image().ContactTable.record(3)[39] = 1;
    Click(grid, 4, 3);
    for (const char* typed : {"1", "0"}) {  // 0 is clamped to 1
        Enter(form->IdEditor(), typed);
        EXPECT_EQ(s.prompts->messages.back().text,
                  "Another contact of the same call type already has this ID. Please enter a different ID.");
        EXPECT_EQ(std::tuple(GetLE32(s.Image().ContactTable.record(3), 41), grid->TextMatrix(4, 3)), std::tuple(0x3u, QString("3")));
        EXPECT_TRUE(form->IdEditor()->isVisibleTo(form));
    }
    Enter(form->IdEditor(), "00000777");  // the grid shows what is stored
    EXPECT_TRUE(grid->TextMatrix(4, 3) == "777" && !form->IdEditor()->isVisibleTo(form));

    // Scrolling hides a placed editor; Delete takes the row last clicked.
    Click(grid, 2, 1);
    grid->SetTopRow(10);
    EXPECT_FALSE(form->NameEditor()->isVisibleTo(form));
    Click(grid, 1, 2);
    form->DeleteButton()->click();
    EXPECT_EQ(std::tuple(GetCount(s.Image().ContactCount), grid->TextMatrix(1, 1)), std::tuple(3u, QString("Dispatch desk")));
}

TEST(RxGroupListForm, MembersAreCleanedMovedAndListsAddedToTheTree)
{
    ProgramDir dir(0, {3, 2, 2, 2});
    DmrSession s(dir.path);
    Codeplug& c = s.Image();
    AddContact(c, 0, 0x11, "G1");
    AddContact(c, 1, 0x12, "P1");
    AddContact(c, 0, 0x13, "G2");
    AddContact(c, 0, 0x14, "G3");
    auto list = c.RxGroupTable.record(1);
    list[39] = 2, list[41] = 1, list[42] = 2;  // a private contact and G2
    CFORM_DMR_RxGrpList* form = s.List(1);
    EXPECT_EQ(std::tuple(list[39] + 0, list[41] + 0, form->MemberGrid()->TextMatrix(1, 2)), std::tuple(1, 2, QString("G2")));
    EXPECT_EQ(Cells(*form->AvailableGrid(), {{2, 0}, {2, 1}}), (QStringList{"04", "14"}));

    form->RemoveMemberButton()->click();
    EXPECT_EQ(s.prompts->Said(), QStringList{"提示: 接收组列表至少要保留一个成员。"});
    EXPECT_EQ(list[39], 1);

    Pick(*form->AvailableGrid(), 2, *form->AddMemberButton());
    EXPECT_EQ(std::tuple(list[39] + 0, list[42] + 0, form->MemberGrid()->TextMatrix(2, 2)), std::tuple(2, 3, QString("G3")));
    Pick(*form->MemberGrid(), 1, *form->RemoveMemberButton());
    EXPECT_EQ(std::tuple(list[39] + 0, list[41] + 0), std::tuple(1, 3));

    TypeAndLeave(form->NameBox(), QString::fromUtf8("  值班组 "));
    EXPECT_EQ(list[1], 6);

    auto rxItems = [&s] { return s.frame->Tree()->findItems("接收组 ", Qt::MatchStartsWith | Qt::MatchRecursive).size(); };
    EXPECT_EQ(rxItems(), 2);
    form->NewListButton()->click();
    EXPECT_EQ(rxItems(), 3);
    s.List(2);  // the list removed is the one shown: the form goes on with the new last list
    form->DeleteListButton()->click();
    EXPECT_EQ(rxItems(), 2);
    EXPECT_EQ(s.app.Navigation().Index(FormKind::DmrRxGrpList), 1u);
    EXPECT_TRUE(form->windowTitle().endsWith(QLatin1String("2"))) << form->windowTitle().toStdString();
}
