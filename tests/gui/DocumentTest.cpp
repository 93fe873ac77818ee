// The document in the main window: open forms follow the codeplug whoever changes it; the
// questions before a change of codeplug; files from the command line, drops and the recent list;
// undo and redo.

#include "codeplug/ProgrammingPassword.h"
#include "tests/gui/TestSupport.h"

using namespace testsupport;

// The password form stays open through New, Open and Read and shows the new codeplug's switch
// and password, so the next focus change cannot carry the old password into the new codeplug.
TEST(DocumentFollow, PasswordFormShowsTheNewCodeplugAfterNewOpenAndRead)
{
    const struct { int command; bool on; std::string password; } rows[] = {
        {Cmd::FileNew, false, "00000000"}, {Cmd::FileOpen, true, "00005678"}, {Cmd::Read, true, "00009999"}};
    ProgramDir dir(1);
    Codeplug protectedOff;
    LoadCodeplugFile(protectedOff, dir.Default());
    StoreProgrammingPassword(protectedOff, false, "");
    ASSERT_TRUE(SaveCodeplugFile(protectedOff, dir.Default()).ok());
    StoreProgrammingPassword(protectedOff, true, "5678");
    ASSERT_TRUE(SaveCodeplugFile(protectedOff, dir.path / "other.VNTX").ok());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.password);
        FormSession s(dir.path);
        Codeplug& codeplug = s.Image();
        StoreProgrammingPassword(codeplug, true, "1234");
        auto* form = s.Open<CFrom_PasswordEC>(FormKind::PasswordEC);
        ASSERT_EQ(form->passwordEdit()->text(), "00001234");

        s.prompts->openAnswers.push_back({Q(dir.path / "other.VNTX")});
        s.prompts->questionAnswers = {QMessageBox::No, QMessageBox::No};  // do not save the edits
        s.frame->SetDialogRunner([&](QDialog& dialog) {
            StoreProgrammingPassword(codeplug, true, "9999");  // what the radio holds
            dialog.accept();
        });
        s.frame->OnCommand(row.command);

        ASSERT_EQ(s.frame->Windows().Form(FormKind::PasswordEC), form);
        EXPECT_EQ(std::tuple(form->switchBox()->isChecked(), form->passwordEdit()->text().toStdString()),
                  std::tuple(row.on, row.password));
        Type(form->passwordEdit(), form->passwordEdit()->text());  // the focus leaves the box
        const ProgrammingPasswordView stored = ShowProgrammingPassword(codeplug);
        EXPECT_EQ(std::tuple(stored.protectionOn, stored.password), std::tuple(row.on, row.password));
        EXPECT_FALSE(s.frame->Documents().IsModified());
    }
}

namespace {

constexpr std::uint8_t kDefaultTag = 0xD0, kFileATag = 0xA1, kFileBTag = 0xB2, kRadioTag = 0x5E, kEditedTag = 0x77;

bool Drop(CMainFrame& frame, const fs::path& file)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Q(file))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame, &drop);
    return drop.isAccepted();
}

std::uint8_t Tag(const Session& s) { return s.app.Context().codeplug.RadioSettings[5]; }

// A session on a program directory with two more codeplug files, a.VNTX and b.VNTX; reads give a
// radio "SN0742".
struct Desk {
    ProgramDir dir{1};
    std::unique_ptr<Session> s;
    fs::path a = dir.path / "a.VNTX", b = dir.path / "b.VNTX";

    Desk()
    {
        WriteCodeplug(a, {}, kFileATag);
        WriteCodeplug(b, {}, kFileBTag);
        s = std::make_unique<Session>(dir.path);
        s->frame->SetDialogRunner([this](QDialog& dialog) {
            if (!qobject_cast<CDialog_RW*>(&dialog))
                return;
            Codeplug& c = s->app.Context().codeplug;
            c.RadioSettings[5] = kRadioTag;
            std::copy_n("SN0742", 6, c.RadioInfoBlock.begin() + 2);
            dialog.accept();
        });
    }
};

}  // namespace

// New, Open, Read, a dropped file and closing ask "Save changes?" only when the codeplug has
// changed; Yes saves (to the current file, or under a name asked for), No goes on, Cancel stays.
TEST(DocumentPrompts, SaveChangesIsAskedOnlyForChanges)
{
    using B = QMessageBox::StandardButton;
    enum class Command { New, Open, Read, Drop, Close };
    // named: a.VNTX is open (else the default file); answer NoButton: no question expected; the
    // save name is asked for when the default file is current.
    struct Row { Command command; bool named, edited; B answer; QString saveName; bool goesOn; };
    const QString elsewhere = "elsewhere.VNTX";
    const Row rows[] = {
        {Command::New, false, false, B::NoButton, {}, true},
        {Command::New, true, true, B::No, {}, true},
        {Command::New, true, true, B::Cancel, {}, false},
        {Command::New, true, true, B::Yes, {}, true},
        {Command::Open, false, true, B::Yes, elsewhere, true},
        {Command::Open, false, true, B::Yes, {}, false},  // the name is not given: nothing saved, no open
        {Command::Open, true, false, B::NoButton, {}, true},
        {Command::Read, true, true, B::Cancel, {}, false},
        {Command::Read, true, true, B::No, {}, true},
        {Command::Drop, true, true, B::Yes, {}, true},
        {Command::Drop, false, false, B::NoButton, {}, true},
        {Command::Close, false, false, B::NoButton, {}, true},
        {Command::Close, true, true, B::Cancel, {}, false},
        {Command::Close, true, true, B::Yes, {}, true},
        {Command::Close, false, true, B::No, {}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "command " << static_cast<int>(row.command) << " named " << row.named
                                        << " edited " << row.edited << " answer " << row.answer);
        Desk d;
        Session& s = *d.s;
        if (row.named) {
            s.prompts->openAnswers.push_back({Q(d.a)});
            s.frame->Documents().OnFileOpen();
        }
        if (row.edited)
            s.app.Context().codeplug.RadioSettings[5] = kEditedTag;
        const std::uint8_t before = Tag(s);
        const fs::path saveTarget = d.dir.path / row.saveName.toStdString();
        if (!row.saveName.isEmpty())
            s.prompts->saveAnswers.push_back(Q(saveTarget));
        s.prompts->questionAnswers.push_back(row.answer == B::NoButton ? B::Cancel : row.answer);
        s.prompts->openAnswers.push_back({Q(d.b)});
        s.prompts->lastQuestion.clear();

        std::uint8_t after = 0;
        bool closed = false;
        switch (row.command) {
        case Command::New: s.frame->Documents().OnFileNew(); after = kDefaultTag; break;
        case Command::Open: s.frame->Documents().OnFileOpen(); after = kFileBTag; break;
        case Command::Read: s.frame->Transfers().OnRead(); after = kRadioTag; break;
        case Command::Drop: Drop(*s.frame, d.b); after = kFileBTag; break;
        case Command::Close: closed = SendClose(*s.frame); break;
        }
        EXPECT_EQ(s.prompts->lastQuestion.isEmpty(), row.answer == B::NoButton) << s.prompts->lastQuestion.toStdString();
        EXPECT_TRUE(row.command == Command::Close ? closed == row.goesOn : Tag(s) == (row.goesOn ? after : before));
        const bool saved = row.answer == B::Yes && row.goesOn;
        if (saved) {
            EXPECT_EQ(ReadBytes(row.named ? d.a : saveTarget).at(5), kEditedTag);
        }
        EXPECT_EQ(ReadBytes(d.a).at(5), saved && row.named ? kEditedTag : kFileATag);
    }
}

// zr740cps FILE.VNTX and a file dropped on the window open it; anything but one codeplug file is
// not taken. After a read the document has no file: Save asks for a name, proposing
// "<serial>-<date>.VNTX" in the folder last used, and the file open before the read stays as it
// was. The default file is never saved over: with it current (again after New) Save asks too.
// File › Recent files: the files opened and saved, newest first, kept for the next start; a file
// that is gone is shown disabled; choosing one opens it.
TEST(DocumentFiles, CommandLineReadSaveDropAndRecentFiles)
{
    Desk d;
    const fs::path chosen = d.dir.path / "customer.VNTX", c = d.dir.path / "c.VNTX";
    {
        Session& s = *d.s;
        const CVanticApp::CommandLine line = CVanticApp::ParseCommandLine({"zr740cps", Q(d.a)});
        ASSERT_TRUE(s.frame->Documents().OpenCodeplugFile(line.file.toStdString()));
        EXPECT_EQ(Tag(s), kFileATag);
        EXPECT_EQ(s.frame->windowTitle(), "ZR-74[0 NV][" + Q(d.a) + "]");
        EXPECT_EQ(s.frame->statusBar()->currentMessage(), "Opened " + Q(d.a));

        s.frame->Transfers().OnRead();
        const QString title = s.frame->windowTitle();
        ASSERT_TRUE(title.endsWith("[Read from radio SN0742]")) << title.toStdString();
        EXPECT_TRUE(s.frame->statusBar()->currentMessage().contains("SN0742"));
        s.prompts->saveAnswers.push_back(Q(chosen));
        ASSERT_TRUE(s.frame->Documents().OnFileSave());
        EXPECT_EQ(s.prompts->lastFilters, (QStringList{"Codeplug files (*.VNTX)", "All files (*.*)"}));
        const QString proposed = s.prompts->lastProposed;  // in the folder of a.VNTX
        const QRegularExpression name("^" + QRegularExpression::escape(Q(d.dir.path)) + "/SN0742-20[0-9]{6}\\.VNTX$");
        EXPECT_TRUE(name.match(proposed).hasMatch()) << proposed.toStdString();
        EXPECT_EQ(std::tuple(ReadBytes(chosen).at(5), ReadBytes(d.a).at(5)), std::tuple(kRadioTag, kFileATag));
        EXPECT_EQ(s.frame->windowTitle(), "ZR-74[0 NV][" + Q(chosen) + "]");
        EXPECT_EQ(s.frame->statusBar()->currentMessage(), "Saved to " + Q(chosen));
        s.app.Context().codeplug.RadioSettings[5] = kEditedTag;  // now Save writes the chosen file silently
        EXPECT_TRUE(s.frame->Documents().OnFileSave());
        EXPECT_EQ(std::tuple(s.prompts->saveAsked, ReadBytes(chosen).at(5)), std::tuple(1, kEditedTag));
        const auto defaultBytes = ReadBytes(d.dir.Default());
        s.frame->Documents().OnFileNew();
        EXPECT_FALSE(s.frame->Documents().OnFileSave());  // asked, and cancelled
        EXPECT_EQ(std::tuple(s.prompts->saveAsked, ReadBytes(d.dir.Default())), std::tuple(2, defaultBytes));

        EXPECT_TRUE(Drop(*s.frame, d.b));
        EXPECT_EQ(Tag(s), kFileBTag);
        s.prompts->saveAnswers.push_back(Q(c));
        ASSERT_TRUE(s.frame->Documents().OnFileSaveAs());
    }
    const struct { QList<QUrl> urls; bool taken; } rows[] = {
        {{QUrl::fromLocalFile("/x/radio.vntx")}, true},
        {{QUrl::fromLocalFile("/x/radio.json")}, false},
        {{QUrl::fromLocalFile("/x/a.VNTX"), QUrl::fromLocalFile("/x/b.VNTX")}, false},
        {{QUrl("https://example.invalid/a.VNTX")}, false},
        {{}, false},
    };
    for (const auto& row : rows) {
        QMimeData data;
        data.setUrls(row.urls);
        EXPECT_EQ(CMainFrame::DroppedCodeplugFile(&data).has_value(), row.taken) << row.urls.size();
    }

    d.s.reset();
    fs::remove(d.b);
    Session again(d.dir.path);
    QAction* first = again.frame->findChild<QAction*>("recentFile1");
    auto* menu = first ? qobject_cast<QMenu*>(first->parent()) : nullptr;
    ASSERT_NE(menu, nullptr);
    QStringList shown;
    for (QAction* action : menu->actions())
        shown << action->text() + (action->isEnabled() ? "" : " (disabled)");
    EXPECT_EQ(shown, (QStringList{"&1 " + Q(c), "&2 " + Q(d.b) + " (disabled)", "&3 " + Q(chosen), "&4 " + Q(d.a)}));
    menu->actions().at(3)->trigger();
    EXPECT_EQ(std::tuple(again.app.Context().codeplug.RadioSettings[5], again.frame->Documents().Recent().Paths().front()),
              std::tuple(kFileATag, d.a));
}

// Undo and redo across a channel delete that renumbers the zones' and scan lists' members give
// back the exact bytes, in the open forms too, and name the step. Undoing the channel a form
// shows leaves the form on the last channel there is, titled after it. A scan list added in its
// form appears at once in the open channel form's list, and the title and history know of it.
TEST(DocumentUndo, UndoAndRedoGiveBackTheExactBytesAndOpenFormsFollowEveryChange)
{
    ProgramDir dir(1);
    dir.UseRealDefault();
    FormSession s(dir.path);
    Codeplug& codeplug = s.Image();
    QTreeWidgetItem* digital = s.frame->Tree()->topLevelItem(0)->child(4);
    s.frame->ClickTreeItem(digital->child(1));  // Digital CH 02
    auto* channel = s.Shown<CForm_AnologCH>(FormKind::DigitalChannel);
    const std::vector<std::uint8_t> before = CodeplugToBytes(codeplug);
    QAction* undo = s.frame->CommandAction(Cmd::EditUndo);
    QAction* redo = s.frame->CommandAction(Cmd::EditRedo);
    EXPECT_EQ(std::tuple(undo->isEnabled(), undo->text()), std::tuple(false, QString("&Undo")));

    channel->Ui().remove->click();
    const std::vector<std::uint8_t> deleted = CodeplugToBytes(codeplug);
    EXPECT_EQ(std::tuple(GetCount(codeplug.DigitalChannelCount), undo->text()), std::tuple(5u, QString("&Undo: delete Digital CH 02")));
    EXPECT_TRUE(s.frame->windowTitle().endsWith(" *"));
    s.frame->ClickTreeItem(s.frame->Tree()->topLevelItem(0)->child(3)->child(0));  // Zone 1
    auto* zone = s.Shown<CForm_GroupCH>(FormKind::Zone);
    EXPECT_TRUE(zone->MemberGrid()->TextMatrix(8, 1).isEmpty());  // zone 1 lost the deleted channel

    undo->trigger();
    EXPECT_EQ(CodeplugToBytes(codeplug), before);
    EXPECT_FALSE(s.frame->windowTitle().endsWith(" *"));
    digital = s.frame->Tree()->topLevelItem(0)->child(4);
    EXPECT_EQ(std::tuple(redo->text(), digital->childCount()), std::tuple(QString("&Redo: delete Digital CH 02"), 6));
    EXPECT_FALSE(zone->MemberGrid()->TextMatrix(8, 1).isEmpty());  // and shows all 8 members again
    redo->trigger();
    EXPECT_EQ(CodeplugToBytes(codeplug), deleted);
    undo->trigger();
    EXPECT_EQ(CodeplugToBytes(codeplug), before);

    channel->Ui().add->click();
    s.frame->ClickTreeItem(s.frame->Tree()->topLevelItem(0)->child(4)->child(6));  // the new Digital CH 07
    s.frame->Documents().OnEditUndo();
    EXPECT_EQ(std::tuple(GetCount(codeplug.DigitalChannelCount), s.app.Navigation().Index(FormKind::DigitalChannel),
                         s.frame->Windows().FormWindow(FormKind::DigitalChannel)->windowTitle()),
              std::tuple(6u, 5u, QString("Digital CH 06")));

    const std::uint32_t lists = GetCount(codeplug.ScanListCount);
    const int shown = channel->Ui().scanList->count();  // "OFF" and the lists
    s.Open<CForm_Scan>(FormKind::Scan)->AddListButton()->click();
    EXPECT_EQ(std::tuple(GetCount(codeplug.ScanListCount), channel->Ui().scanList->count(),
                         s.frame->Documents().History().UndoSteps()), std::tuple(lists + 1, shown + 1, 1u));
    EXPECT_TRUE(s.frame->windowTitle().endsWith(" *"));

    // A fresh history after New (the changes not saved): nothing to undo or redo.
    s.prompts->questionAnswers = {QMessageBox::No};
    s.frame->Documents().OnFileNew();
    EXPECT_FALSE(undo->isEnabled() || redo->isEnabled());
}

// The keys of the file, edit and window commands, in both menu bars; Ctrl+F4 closes the active
// form, Enter on a tree item opens it, and the Print buttons and item open the sheet's preview.
TEST(DocumentFiles, KeysAndPrintButtonsDoTheirCommands)
{
    const struct { int command; const char* key; } keys[] = {
        {Cmd::EditUndo, "Ctrl+Z"}, {Cmd::EditRedo, "Ctrl+Shift+Z"}, {Cmd::EditRedo, "Ctrl+Y"},
        {Cmd::FileExit, "Ctrl+Q"}, {Cmd::FileClose, "Ctrl+F4"}, {Cmd::FilePrint, "Ctrl+P"}, {Cmd::FileSave, "Ctrl+S"}};
    ProgramDir chinese(0), dir(1);
    Session zh(chinese.path), s(dir.path);
    for (const Session* run : {&zh, &s})
        for (const auto& key : keys) {
            QAction* action = run->frame->CommandAction(key.command);
            ASSERT_NE(action, nullptr) << key.key;
            EXPECT_TRUE(action->shortcuts().contains(QKeySequence(key.key))) << key.key << (run == &zh ? " zh" : "");
        }
    RegisterTestForms(*s.frame, {FormKind::Fun, FormKind::Key});
    s.frame->show();
    QTreeWidget* tree = s.frame->Tree();
    tree->setCurrentItem(tree->topLevelItem(0)->child(2)->child(1));  // General settings
    tree->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(tree, &enter);
    ASSERT_NE(s.frame->Windows().FormWindow(FormKind::Fun), nullptr);
    s.frame->OnCommand(Cmd::Keys);
    s.frame->CommandAction(Cmd::FileClose)->trigger();  // the keys form is the active one
    EXPECT_TRUE(s.frame->Windows().FormWindow(FormKind::Key) == nullptr && s.frame->Windows().FormWindow(FormKind::Fun) != nullptr);

    for (QAction* action : s.frame->ToolBar()->actions())  // two print buttons, both enabled
        if (action->data().toInt() == Cmd::FilePrint)
            action->trigger();
    s.frame->CommandAction(Cmd::FilePrint)->trigger();
    EXPECT_EQ(s.dialogsRun, (QStringList{"QPrintPreviewDialog", "QPrintPreviewDialog", "QPrintPreviewDialog"}));

    s.frame->CommandAction(Cmd::FileExit)->trigger();  // nothing changed: no question, the window goes
    EXPECT_TRUE(s.prompts->lastQuestion.isEmpty() && !s.frame->isVisible());
}

// The desktop entry starts the program with the file and declares the type the shared-mime-info
// file gives *.VNTX, so that a double-click in the file manager opens a codeplug.
TEST(DocumentFiles, DesktopEntryOpensTheFileTypeOfCodeplugs)
{
    const QString entry = QString::fromStdString(testfiles::ReadText(ZR740_SOURCE_DIR "/data/zr740cps.desktop"));
    const auto value = [&](const QString& key) {
        return QRegularExpression("^" + key + "=(.*)$", QRegularExpression::MultilineOption).match(entry).captured(1);
    };
    QFile mime(QStringLiteral(ZR740_SOURCE_DIR "/data/zr740cps-mime.xml"));
    ASSERT_TRUE(mime.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&mime);
    QString type;
    QStringList globs;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("mime-type"))
            type = xml.attributes().value("type").toString();
        else if (xml.isStartElement() && xml.name() == QLatin1String("glob"))
            globs << xml.attributes().value("pattern").toString();
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(std::tuple(value("Exec"), value("MimeType"), globs.size()), std::tuple(QString("zr740cps %f"), type + ";", 1));
    // shared-mime-info matches globs without regard to case: RADIO.VNTX and radio.vntx alike.
    const QRegularExpression glob(QRegularExpression::wildcardToRegularExpression(globs.value(0)),
                                  QRegularExpression::CaseInsensitiveOption);
    EXPECT_EQ((std::vector{glob.match("radio.VNTX").hasMatch(), glob.match("radio.vntx").hasMatch(), glob.match("radio.json").hasMatch()}),
              (std::vector{true, true, false}));
}
