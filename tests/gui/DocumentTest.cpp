// The document in the main window: open forms follow the codeplug whoever changes it.
#include <gtest/gtest.h>

#include <QtWidgets>

#include <functional>

#include "app/FormFactories.h"
#include "codeplug/ProgrammingPassword.h"
#include "forms/channels/CForm_AnologCH.h"
#include "forms/channels/CForm_Scan.h"
#include "forms/functions/CFrom_PasswordEC.h"
#include "tests/gui/TestSupport.h"

using namespace testsupport;

namespace {

QString Q(const fs::path& path) { return QString::fromStdString(path.string()); }

void CopyRealDefault(const ProgramDir& dir)
{
    fs::copy_file(fs::path(ZR740_SOURCE_DIR) / "data" / "Default.VNTX", dir.Default(), fs::copy_options::overwrite_existing);
}

}  // namespace

// The password form stays open through New, Open and Read and shows the new codeplug's switch
// and password, so the next focus change cannot carry the old password into the new codeplug.
TEST(DocumentFollow, PasswordFormShowsTheNewCodeplugAfterNewOpenAndRead)
{
    struct Row {
        const char* command;
        bool on;
        const char* password;
    };
    const Row rows[] = {{"New", false, "00000000"}, {"Open", true, "00005678"}, {"Read", true, "00009999"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        ProgramDir dir(1);
        {
            Codeplug protectedOff;
            LoadCodeplugFile(protectedOff, dir.Default());
            StoreProgrammingPassword(protectedOff, false, "");
            ASSERT_TRUE(SaveCodeplugFile(protectedOff, dir.Default()).ok());
            StoreProgrammingPassword(protectedOff, true, "5678");
            ASSERT_TRUE(SaveCodeplugFile(protectedOff, dir.path / "other.VNTX").ok());
        }
        Session s(dir.path);
        InstallFormFactories(*s.frame);
        Codeplug& codeplug = s.app.Context().codeplug;
        StoreProgrammingPassword(codeplug, true, "1234");
        s.frame->OpenForm(FormKind::PasswordEC);
        auto* form = dynamic_cast<CFrom_PasswordEC*>(s.frame->Form(FormKind::PasswordEC));
        ASSERT_NE(form, nullptr);
        ASSERT_EQ(form->passwordEdit()->text(), "00001234");

        s.prompts->openAnswers.push_back({Q(dir.path / "other.VNTX")});
        s.prompts->questionAnswers = {QMessageBox::No, QMessageBox::No};  // do not save the edits
        s.frame->SetDialogRunner([&](QDialog& dialog) {
            StoreProgrammingPassword(codeplug, true, "9999");  // what the radio holds
            dialog.accept();
        });
        const std::string command = row.command;
        if (command == "New")
            s.frame->OnFileNew();
        else if (command == "Open")
            s.frame->OnFileOpen();
        else
            s.frame->OnRead();

        ASSERT_EQ(s.frame->Form(FormKind::PasswordEC), form);
        EXPECT_EQ(form->switchBox()->isChecked(), row.on);
        EXPECT_EQ(form->passwordEdit()->text(), row.password);
        Type(form->passwordEdit(), form->passwordEdit()->text());  // the focus leaves the box
        const ProgrammingPasswordView stored = ShowProgrammingPassword(codeplug);
        EXPECT_EQ(stored.protectionOn, row.on);
        EXPECT_EQ(stored.password, row.password);
        EXPECT_FALSE(s.frame->IsModified());
    }
}

// A scan list added in its form appears at once in the open digital channel form's list, and the
// main window's title and history know of it.
TEST(DocumentFollow, OtherOpenFormsShowAChangeAtOnce)
{
    ProgramDir dir(1);
    CopyRealDefault(dir);
    Session s(dir.path);
    InstallFormFactories(*s.frame);
    Codeplug& codeplug = s.app.Context().codeplug;
    SetCount(codeplug.ScanListCount, 1);
    s.frame->OpenForm(FormKind::DigitalChannel);
    s.frame->OpenForm(FormKind::Scan);
    auto* channel = dynamic_cast<CForm_AnologCH*>(s.frame->Form(FormKind::DigitalChannel));
    auto* scan = dynamic_cast<CForm_Scan*>(s.frame->Form(FormKind::Scan));
    ASSERT_TRUE(channel && scan);
    EXPECT_EQ(channel->Ui().scanList->count(), 2);  // "OFF" and list 1

    scan->AddListButton()->click();
    EXPECT_EQ(GetCount(codeplug.ScanListCount), 2u);
    EXPECT_EQ(channel->Ui().scanList->count(), 3);
    EXPECT_TRUE(s.frame->windowTitle().endsWith(" *"));
    EXPECT_EQ(s.frame->History().UndoSteps(), 1u);
}

// A form whose record is gone shows the last record there is, titled after it.
TEST(DocumentFollow, AFormWhoseRecordIsGoneShowsTheNearestOne)
{
    ProgramDir dir(1, {6, 2, 2, 2});
    Session s(dir.path);
    InstallFormFactories(*s.frame);
    s.frame->ClickTreeItem(s.frame->Tree()->topLevelItem(0)->child(4)->child(5));  // Digital CH 06
    ASSERT_EQ(s.frame->FormWindow(FormKind::DigitalChannel)->windowTitle(), "Digital CH 06");

    SetCount(s.app.Context().codeplug.DigitalChannelCount, 3);
    s.frame->FollowCodeplug();
    EXPECT_EQ(s.app.Navigation().Index(FormKind::DigitalChannel), 2u);
    EXPECT_EQ(s.frame->FormWindow(FormKind::DigitalChannel)->windowTitle(), "Digital CH 03");
}
