// The contact and receive-group-list forms in the main window, and a contact list edited through
// the forms on its way to the virtual radio and back.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <cstring>

#include "TestSupport.h"
#include "app/FormFactories.h"
#include "forms/dmr/CFORM_DMR_Contact.h"
#include "forms/channels/Encodings.h"
#include "forms/dmr/CFORM_DMR_RxGrpList.h"
#include "tests/core/SessionBench.h"
#include "ui/CMSFlexGrid.h"

using namespace testsupport;

namespace {

struct DmrSession : Session {
    explicit DmrSession(const fs::path& dir) : Session(dir)
    {
        InstallFormFactories(*frame);
        RegisterTestForms(*frame, {FormKind::Key, FormKind::DigitalChannel});
    }
    Codeplug& image() { return app.Context().codeplug; }
    CFORM_DMR_Contact* Contacts()
    {
        frame->Windows().OpenForm(FormKind::DmrContact);
        return dynamic_cast<CFORM_DMR_Contact*>(frame->Windows().Form(FormKind::DmrContact));
    }
    CFORM_DMR_RxGrpList* List(std::uint32_t index)
    {
        app.Navigation().Index(FormKind::DmrRxGrpList) = index;
        frame->Windows().OpenForm(FormKind::DmrRxGrpList);
        return dynamic_cast<CFORM_DMR_RxGrpList*>(frame->Windows().Form(FormKind::DmrRxGrpList));
    }
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
    record[1] = static_cast<std::uint8_t>(std::strlen(name));
    for (std::size_t i = 0; name[i] != 0; ++i)
        record[2 + 2 * i] = static_cast<std::uint8_t>(name[i]);
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
    AddContact(s.image(), 2, 0x1234, "All");
    AddContact(s.image(), 0, 0x16777299, "Ops");  // repaired to the largest valid ID when shown
    CFORM_DMR_Contact* form = s.Contacts();
    ASSERT_NE(form, nullptr);
    CMSFlexGrid* grid = form->Grid();
    EXPECT_EQ(grid->TextMatrix(1, 3), "16777215");
    EXPECT_EQ(grid->TextMatrix(2, 2), "Group call");
    EXPECT_EQ(grid->TextMatrix(2, 3), "16776415");
    EXPECT_EQ(GetLE32(s.image().ContactTable.record(0), 41), 0xAAAAAAAAu);

    // No ID editor for the all call.
    Click(grid, 1, 3);
    EXPECT_FALSE(form->IdEditor()->isVisibleTo(form));

    s.frame->Windows().OpenForm(FormKind::Key);
    s.List(0);
    Click(grid, 2, 1);
    ASSERT_TRUE(form->NameEditor()->isVisibleTo(form));
    Enter(form->NameEditor(), "Dispatch desk");
    EXPECT_EQ(s.image().ContactTable.record(1)[1], 13);
    EXPECT_EQ(grid->TextMatrix(2, 1), "Dispatch desk");
    EXPECT_EQ(s.frame->Windows().Form(FormKind::Key), nullptr);
    EXPECT_EQ(s.frame->Windows().Form(FormKind::DmrRxGrpList), nullptr);

    // A second all call: the fixed message, nothing changes.
    Click(grid, 2, 2);
    ASSERT_TRUE(form->CallTypeEditor()->isVisibleTo(form));
    form->CallTypeEditor()->setCurrentIndex(2);
    ASSERT_EQ(s.prompts->messages.size(), 1u);
    EXPECT_EQ(s.prompts->messages[0].text, QString::fromUtf8("全呼已存在"));
    EXPECT_EQ(s.image().ContactTable.record(1)[39], 0);
    form->CallTypeEditor()->setCurrentIndex(1);
    EXPECT_EQ(grid->TextMatrix(2, 2), "Private call");
    EXPECT_EQ(grid->TextMatrix(2, 3), "1");

    // Duplicate ID of the same call type, also after the typed ID was clamped: message, the
    // contact keeps the ID the grid shows, the editor stays.
    form->AddButton()->click();
    form->AddButton()->click();
    EXPECT_EQ(grid->TextMatrix(3, 1), "Contact3");
    ASSERT_EQ(s.image().ContactTable.record(3)[39], 0);
    s.image().ContactTable.record(3)[39] = 1;
    Click(grid, 4, 3);
    for (const char* typed : {"1", "0"}) {  // 0 is clamped to 1
        Enter(form->IdEditor(), typed);
        EXPECT_EQ(s.prompts->messages.back().text,
                  "Another contact of the same call type already has this ID. Please enter a different ID.");
        EXPECT_EQ(GetLE32(s.image().ContactTable.record(3), 41), 0x3u) << typed;
        EXPECT_EQ(grid->TextMatrix(4, 3), "3") << typed;
        EXPECT_TRUE(form->IdEditor()->isVisibleTo(form));
    }
    Enter(form->IdEditor(), "99999999");  // clamped: the grid shows what is stored
    EXPECT_EQ(grid->TextMatrix(4, 3), "16776415");
    Click(grid, 4, 3);
    Enter(form->IdEditor(), "00000777");
    EXPECT_EQ(grid->TextMatrix(4, 3), "777");
    EXPECT_FALSE(form->IdEditor()->isVisibleTo(form));

    // Scrolling hides a placed editor; Delete takes the row last clicked.
    Click(grid, 2, 1);
    grid->SetTopRow(10);
    EXPECT_FALSE(form->NameEditor()->isVisibleTo(form));
    Click(grid, 1, 2);
    form->DeleteButton()->click();
    EXPECT_EQ(GetCount(s.image().ContactCount), 3u);
    EXPECT_EQ(grid->TextMatrix(1, 1), "Dispatch desk");
}

TEST(RxGroupListForm, MembersAreCleanedMovedAndListsAddedToTheTree)
{
    ProgramDir dir(0, {3, 2, 2, 2});
    DmrSession s(dir.path);
    Codeplug& c = s.image();
    AddContact(c, 0, 0x11, "G1");
    AddContact(c, 1, 0x12, "P1");
    AddContact(c, 0, 0x13, "G2");
    AddContact(c, 0, 0x14, "G3");
    auto list = c.RxGroupTable.record(1);
    list[39] = 2, list[41] = 1, list[42] = 2;  // a private contact and G2
    CFORM_DMR_RxGrpList* form = s.List(1);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(list[39], 1);
    EXPECT_EQ(list[41], 2);
    EXPECT_EQ(form->MemberGrid()->TextMatrix(1, 2), "G2");
    EXPECT_EQ(form->AvailableGrid()->TextMatrix(2, 0), "04");
    EXPECT_EQ(form->AvailableGrid()->TextMatrix(2, 1), "14");

    form->RemoveMemberButton()->click();
    ASSERT_EQ(s.prompts->messages.size(), 1u);
    EXPECT_EQ(s.prompts->messages[0].text, QString::fromUtf8("接收组列表至少要保留一个成员。"));
    EXPECT_EQ(list[39], 1);

    form->AvailableGrid()->SetRow(2);
    form->AddMemberButton()->click();
    EXPECT_EQ(list[39], 2);
    EXPECT_EQ(list[42], 3);
    EXPECT_EQ(form->MemberGrid()->TextMatrix(2, 2), "G3");
    form->MemberGrid()->SetRow(1);
    form->RemoveMemberButton()->click();
    EXPECT_EQ(list[39], 1);
    EXPECT_EQ(list[41], 3);

    form->NameBox()->setText(QString::fromUtf8("  值班组 "));
    QFocusEvent leave(QEvent::FocusOut);
    QApplication::sendEvent(form->NameBox(), &leave);
    EXPECT_EQ(list[1], 6);

    auto rxItems = [&s] {
        const auto found = s.frame->Tree()->findItems(QString::fromUtf8("接收组 "), Qt::MatchStartsWith | Qt::MatchRecursive);
        return found.size();
    };
    EXPECT_EQ(rxItems(), 2);
    form->NewListButton()->click();
    EXPECT_EQ(rxItems(), 3);
    s.List(2);  // the list removed is the one shown: the form goes on with the new last list
    form->DeleteListButton()->click();
    EXPECT_EQ(rxItems(), 2);
    EXPECT_EQ(s.app.Navigation().Index(FormKind::DmrRxGrpList), 1u);
    EXPECT_TRUE(form->windowTitle().endsWith(QLatin1String("2"))) << form->windowTitle().toStdString();
}

TEST(ContactForm, ContactsEditedInTheFormReachTheRadioAndReadBack)
{
    ProgramDir dir(1);
    DmrSession s(dir.path);
    CFORM_DMR_Contact* form = s.Contacts();
    ASSERT_NE(form, nullptr);
    for (int i = 0; i < 3; ++i)
        form->AddButton()->click();
    Click(form->Grid(), 3, 1);
    Enter(form->NameEditor(), QString::fromUtf8("调度 Desk"));
    Click(form->Grid(), 1, 1);
    form->DeleteButton()->click();
    ASSERT_EQ(GetCount(s.image().ContactCount), 2u);

    session_test::SessionBench bench;
    ASSERT_TRUE(session_test::WriteThenReadBack(bench, s.image()));
    auto radio = std::make_unique<Codeplug>();
    bench.radio().SaveCodeplug(*radio);
    for (const Codeplug* held : {radio.get(), bench.image.get()}) {
        EXPECT_EQ(GetCount(held->ContactCount), 2u);
        const auto first = held->ContactTable.record(0);
        const auto second = held->ContactTable.record(1);
        EXPECT_EQ(std::vector<std::uint8_t>(first.begin(), first.begin() + 20),
                  (std::vector<std::uint8_t>{0, 8, 'C', 0, 'o', 0, 'n', 0, 't', 0, 'a', 0, 'c', 0, 't', 0, '2', 0, 0, 0}));
        EXPECT_EQ(std::vector<std::uint8_t>(first.begin() + 38, first.end()),
                  (std::vector<std::uint8_t>{1, 0, 2, 0x02, 0, 0, 0}));
        EXPECT_EQ(second[1], 7);  // characters as typed
        EXPECT_EQ(std::vector<std::uint8_t>(second.begin() + 38, second.end()),
                  (std::vector<std::uint8_t>{1, 0, 2, 0x03, 0, 0, 0}));
        EXPECT_EQ(DecodeContactName(second.subspan(2, 36)), "调度 Desk");
    }
}

TEST(DmrListForms, RandomImagesStayWithinTheTables)
{
    ProgramDir dir(0);
    DmrSession s(dir.path);
    std::mt19937 random(740);
    for (int round = 0; round < 4; ++round) {
        for (BlockView block : BlocksInFileOrder(s.image()))
            for (std::uint8_t& b : block.bytes)
                b = static_cast<std::uint8_t>(random());
        if (round == 3)
            SetCount(s.image().ContactCount, 64);
        CFORM_DMR_Contact* contacts = s.Contacts();
        for (int row : {1, 2, 40, 64})
            for (int col : {1, 2, 3})
                Click(contacts->Grid(), row, col);
        contacts->AddButton()->click();
        Click(contacts->Grid(), 1, 1);
        contacts->DeleteButton()->click();
        const std::uint32_t listed = std::min<std::uint32_t>(GetCount(s.image().ContactCount), 64);
        for (std::uint32_t n = 0; n < listed; ++n) {
            const auto record = s.image().ContactTable.record(n);
            const std::uint32_t expectedLimit = record[39] == 2 ? 0xAAAAAAAA : 0x16777214;
            EXPECT_LE(GetLE32(record, 41), expectedLimit) << "contact " << n;
        }

        CFORM_DMR_RxGrpList* list = s.List(round == 3 ? 40 : static_cast<std::uint32_t>(round * 9));
        list->AddMemberButton()->click();
        list->RemoveMemberButton()->click();
        list->NewListButton()->click();
        list->DeleteListButton()->click();
        const auto shown = s.image().RxGroupTable.record(std::min(s.app.Navigation().Index(FormKind::DmrRxGrpList), 31u));
        ASSERT_LE(shown[39], 16);
        for (std::size_t m = 0; m < shown[39]; ++m) {
            ASSERT_LT(shown[41 + m], 64);
            EXPECT_EQ(s.image().ContactTable.record(shown[41 + m])[39], 0);
        }
    }
}
