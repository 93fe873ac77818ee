// The main window: start-up by language, menus, toolbar, tree clicks, forms, file commands,
// the close prompt and the language choice.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QDockWidget>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>

#include "app/CommandTable.h"
#include "app/MdiArrange.h"
#include "app/QtText.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

QTreeWidgetItem* ItemByKey(QTreeWidgetItem* parent, int key)
{
    for (int i = 0; i < parent->childCount(); ++i)
        if (parent->child(i)->data(0, CMainFrame::kTextKeyRole).toInt() == key)
            return parent->child(i);
    return nullptr;
}

QTreeWidgetItem* Root(const CMainFrame& frame) { return frame.Tree()->topLevelItem(0); }

bool SendClose(CMainFrame& frame)
{
    QCloseEvent event;
    QApplication::sendEvent(&frame, &event);
    return event.isAccepted();
}

QString Q(const fs::path& path) { return QString::fromStdString(path.string()); }

}  // namespace

// Language 0 and 1 choose their title, menus and text key base; any other value gets Chinese
// menus, the English title and a key base the language file holds no texts for.
TEST(MainFrameStart, LanguageValuesChooseTitleMenusAndTexts)
{
    const QStringList chineseMenus{"文件(&F)", "机型", "功能", "设置", "编程(&E)", "查看", "窗口(&W)", "帮助"};
    struct Row {
        std::uint8_t language;
        QString title;
        bool englishMenus;
        QStringList menus;
        int keyBase;
        QString digitalLabel;
    };
    const Row rows[] = {
        {0, "ZR-74[0 NV系列] 客户版编程软件", false, chineseMenus, 0, "数字信道"},
        {1, "ZR-74[0 NV]", true, {"File(&F)", "Model", "Function", "Set", "Progrem(&E)", "&View", "&Window", "&Help"},
         100000, "Digital channels"},
        {2, "ZR-74[0 NV]", false, chineseMenus, 800000, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(int(r.language));
        ProgramDir dir(r.language);
        Session s(dir.path);
        EXPECT_EQ(s.frame->windowTitle(), r.title);
        EXPECT_EQ(s.frame->EnglishMenus(), r.englishMenus);
        QStringList menus;
        for (QAction* action : s.frame->menuBar()->actions())
            menus << action->text();
        EXPECT_EQ(menus, r.menus);
        EXPECT_EQ(s.app.Context().text.KeyBase(), r.keyBase);
        EXPECT_EQ(Root(*s.frame)->childCount(), 8);
        EXPECT_EQ(ItemByKey(Root(*s.frame), 28)->text(0), r.digitalLabel);
        EXPECT_EQ(s.app.Context().currentFilePath, dir.Default());
        EXPECT_EQ(s.app.Context().codeplug.RadioSettings[5], 0xD0);  // the default file was loaded
        EXPECT_TRUE(s.prompts->messages.empty());
        EXPECT_EQ(s.frame->NavigationBar()->windowTitle(), "导航栏");
        EXPECT_EQ(s.frame->dockWidgetArea(s.frame->NavigationBar()), Qt::LeftDockWidgetArea);
    }
}

TEST(MainFrameStart, MissingOrBrokenDefaultFileIsReportedAndTheProgramStarts)
{
    ProgramDir missing(1, {}, false);
    Session s(missing.path);
    ASSERT_EQ(s.prompts->messages.size(), 1u);
    EXPECT_TRUE(s.prompts->messages[0].text.contains(Q(missing.Default())));
    EXPECT_EQ(s.prompts->messages[0].caption, "Prompt");
    EXPECT_EQ(s.app.Context().currentFilePath, missing.Default());
    EXPECT_EQ(ItemByKey(Root(*s.frame), 28)->childCount(), 1);  // zero counts repaired

    ProgramDir zeros(0);
    WriteWholeFile(zeros.Default(), std::vector<std::uint8_t>(kCodeplugFileBytes, 0));
    Session t(zeros.path);
    ASSERT_EQ(t.prompts->messages.size(), 1u);
    EXPECT_EQ(t.prompts->messages[0].text, QText(t.app.Context().text, "RW_Str", 9));
}

TEST(MainFrameCommands, MenuActionsCarryIdsLabelsAndKeys)
{
    ProgramDir en(1), zh(0);
    Session english(en.path), chinese(zh.path);
    QAction* open = english.frame->CommandAction(Cmd::FileOpen);
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->text(), "&Open...");
    EXPECT_EQ(open->data().toInt(), Cmd::FileOpen);
    EXPECT_EQ(open->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(chinese.frame->CommandAction(Cmd::Read)->text(), "&读取对讲机");
    EXPECT_EQ(chinese.frame->CommandAction(Cmd::Read)->shortcut(), QKeySequence("Ctrl+R"));

    // Each bar has commands of its own; Ctrl+T is reserved in both.
    EXPECT_EQ(chinese.frame->CommandAction(Cmd::Vox), nullptr);
    EXPECT_EQ(english.frame->CommandAction(Cmd::ProgrammingPassword), nullptr);
    EXPECT_EQ(chinese.frame->CommandAction(Cmd::Nothing)->shortcut(), QKeySequence("Ctrl+T"));
}

TEST(MainFrameCommands, ToolbarStatusBarAndViewToggles)
{
    ProgramDir dir(0);
    Session s(dir.path);
    std::vector<int> ids;
    for (QAction* action : s.frame->ToolBar()->actions()) {
        ids.push_back(action->isSeparator() ? 0 : action->data().toInt());
        if (!action->isSeparator())
            EXPECT_EQ(action->isEnabled(), ids.back() != Cmd::FilePrint);
    }
    EXPECT_EQ(ids, (std::vector<int>{Cmd::FileNew, Cmd::FileOpen, Cmd::FileSave, Cmd::FilePrint, 0, Cmd::Read,
                                     Cmd::Write, 0, Cmd::FilePrint, 0, Cmd::About}));

    const std::pair<int, QWidget*> toggles[] = {{Cmd::ViewToolbar, s.frame->ToolBar()},
                                                {Cmd::ViewStatusBar, s.frame->statusBar()},
                                                {Cmd::ViewNavigation, s.frame->NavigationBar()}};
    for (const auto& [command, widget] : toggles) {
        EXPECT_TRUE(s.frame->CommandAction(command)->isChecked()) << command;
        s.frame->OnCommand(command);
        EXPECT_TRUE(widget->isHidden()) << command;
        EXPECT_FALSE(s.frame->CommandAction(command)->isChecked()) << command;
    }
    // Showing the navigation bar again docks it at the left, even after it floated elsewhere.
    QDockWidget* navigation = s.frame->NavigationBar();
    navigation->show();
    navigation->setFloating(true);
    navigation->hide();
    s.frame->OnCommand(Cmd::ViewNavigation);
    EXPECT_FALSE(navigation->isHidden() || navigation->isFloating());
    EXPECT_EQ(s.frame->dockWidgetArea(navigation), Qt::LeftDockWidgetArea);
    EXPECT_TRUE(s.frame->CommandAction(Cmd::ViewNavigation)->isChecked());
}

TEST(MainFrameCommands, ArrangedIconsFillRowsFromTheBottomLeft)
{
    EXPECT_EQ(ArrangeIconPositions(QSize(400, 300), {{160, 30}, {160, 30}, {160, 30}}),
              (std::vector<QPoint>{{0, 270}, {160, 270}, {0, 240}}));
    EXPECT_TRUE(ArrangeIconPositions(QSize(400, 300), {}).empty());
}

TEST(MainFrameNavigation, ClickingChannelsOpensOneWindowAndSwitchesItsRecord)
{
    ProgramDir dir(0, {16, 2, 2, 2});
    Session s(dir.path);
    RegisterTestForms(*s.frame, {FormKind::DigitalChannel});
    QTreeWidgetItem* digital = ItemByKey(Root(*s.frame), 28);
    ASSERT_EQ(digital->childCount(), 16);

    s.frame->ClickTreeItem(digital->child(4));
    QMdiSubWindow* window = s.frame->FormWindow(FormKind::DigitalChannel);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(s.app.Navigation().Index(FormKind::DigitalChannel), 4u);
    EXPECT_EQ(window->windowTitle(), "数字信道 05");
    EXPECT_EQ(window->geometry(), QRect(0, 0, 800, 650));

    s.frame->ClickTreeItem(digital->child(11));
    EXPECT_EQ(s.frame->FormWindow(FormKind::DigitalChannel), window);
    EXPECT_EQ(window->windowTitle(), "数字信道 12");
    EXPECT_EQ(s.frame->ClientArea()->subWindowList().size(), 1);
    s.frame->ClickTreeItem(digital);  // a group node opens nothing
    EXPECT_EQ(TestForm(*s.frame, FormKind::DigitalChannel)->indexesShown, (std::vector<std::uint32_t>{4, 11}));
}

TEST(MainFrameNavigation, CommandsUseTheLastNavigation)
{
    ProgramDir dir(1);
    Session s(dir.path);
    RegisterTestForms(*s.frame, {FormKind::DigitalChannel, FormKind::PasswordEC});

    s.frame->OnCommand(Cmd::Channel);  // before any click: record 0 and an empty title
    ASSERT_NE(s.frame->FormWindow(FormKind::DigitalChannel), nullptr);
    EXPECT_EQ(TestForm(*s.frame, FormKind::DigitalChannel)->indexesShown, (std::vector<std::uint32_t>{0}));
    EXPECT_EQ(s.frame->FormWindow(FormKind::DigitalChannel)->windowTitle(), "");

    s.frame->ClickTreeItem(ItemByKey(Root(*s.frame), 36));  // the password item's label is the title
    EXPECT_EQ(s.frame->FormWindow(FormKind::PasswordEC)->windowTitle(), "Programming password");

    // Forms that are not part of the program yet: their commands do nothing.
    for (int command : {Cmd::GeneralFunctions, Cmd::TextMessage, Cmd::RadioInfo, Cmd::Nothing})
        s.frame->OnCommand(command);
    EXPECT_EQ(s.frame->FormWindow(FormKind::Fun), nullptr);
    EXPECT_EQ(s.frame->FormWindow(FormKind::Message), nullptr);
    EXPECT_TRUE(s.prompts->messages.empty());

    for (int command : {Cmd::SetPort, Cmd::Read, Cmd::Write})
        s.frame->OnCommand(command);
    EXPECT_EQ(s.dialogsRun, (QStringList{"CDialog_SetComPort", "CDialog_RW", "CDialog_RW"}));
}

TEST(MainFrameNavigation, ReopeningRerunsInitialUpdateOnlyForIndexedForms)
{
    ProgramDir dir(0);
    Session s(dir.path);
    RegisterTestForms(*s.frame, {FormKind::Fun, FormKind::Scan, FormKind::PasswordEC, FormKind::Vox});
    for (int command : {Cmd::GeneralFunctions, Cmd::Vox, Cmd::GeneralFunctions})
        s.frame->OnCommand(command);
    EXPECT_EQ(TestForm(*s.frame, FormKind::Fun)->initialUpdates, 1);
    EXPECT_EQ(s.frame->ClientArea()->activeSubWindow(), s.frame->FormWindow(FormKind::Fun));  // raised
    EXPECT_EQ(s.frame->FormWindow(FormKind::Vox)->windowTitle(), "VOX");

    QTreeWidgetItem* scans = ItemByKey(Root(*s.frame), 17);
    s.frame->ClickTreeItem(scans->child(0));
    s.frame->ClickTreeItem(scans->child(1));
    EXPECT_EQ(TestForm(*s.frame, FormKind::Scan)->indexesShown, (std::vector<std::uint32_t>{0, 1}));
    s.frame->OnCommand(Cmd::ProgrammingPassword);
    s.frame->OnCommand(Cmd::ProgrammingPassword);
    EXPECT_EQ(TestForm(*s.frame, FormKind::PasswordEC)->initialUpdates, 2);

    s.frame->FormWindow(FormKind::Fun)->showMinimized();  // comes back when chosen again
    s.frame->OnCommand(Cmd::GeneralFunctions);
    EXPECT_FALSE(s.frame->FormWindow(FormKind::Fun)->isMinimized());
}

TEST(MainFrameNavigation, CloseAllFormsKeepsThePasswordForm)
{
    ProgramDir dir(0);
    Session s(dir.path);
    int live = 0;
    RegisterTestForms(*s.frame, {FormKind::Fun, FormKind::Key, FormKind::Scan, FormKind::PasswordEC}, &live);
    for (int command : {Cmd::GeneralFunctions, Cmd::Keys, Cmd::ProgrammingPassword})
        s.frame->OnCommand(command);
    s.frame->OpenForm(FormKind::Scan);
    EXPECT_EQ(live, 4);

    s.frame->OnCommand(Cmd::Write);  // closes the forms before the transfer
    EXPECT_EQ(s.frame->FormWindow(FormKind::Fun), nullptr);
    EXPECT_EQ(s.frame->FormWindow(FormKind::Scan), nullptr);
    EXPECT_NE(s.frame->FormWindow(FormKind::PasswordEC), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(live, 1);
    EXPECT_EQ(s.frame->ClientArea()->subWindowList().size(), 1);

    s.frame->OnCommand(Cmd::GeneralFunctions);  // a fresh form after the close
    EXPECT_EQ(TestForm(*s.frame, FormKind::Fun)->initialUpdates, 1);
    EXPECT_EQ(live, 2);
}

TEST(MainFrameNavigation, RefreshZoneAndScanFormsPassesEveryRecordOnce)
{
    ProgramDir dir(0, {2, 2, 3, 1});
    Session s(dir.path);
    RegisterTestForms(*s.frame, {FormKind::Scan, FormKind::Zone});
    s.frame->OpenForm(FormKind::Zone);
    QPointer<CFormBase> before = s.frame->Form(FormKind::Zone);
    initialUpdateLog.clear();

    s.frame->RefreshZoneAndScanForms();
    EXPECT_EQ(initialUpdateLog, (FormLog{{FormKind::Scan, 0}, {FormKind::Scan, 1}, {FormKind::Scan, 2},
                                         {FormKind::Zone, 0}, {FormKind::Zone, 1}}));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(before.isNull());
    EXPECT_TRUE(s.frame->ClientArea()->subWindowList().isEmpty());
}

TEST(MainFrameNavigation, FormsAskForARebuildThatExpandsOnce)
{
    ProgramDir dir(0, {2, 2, 2, 2});
    Session s(dir.path);
    RegisterTestForms(*s.frame, {FormKind::Scan});
    s.frame->ClickTreeItem(ItemByKey(Root(*s.frame), 17)->child(1));
    TestForm(*s.frame, FormKind::Scan)->AddScanList();
    QTreeWidgetItem* scans = ItemByKey(Root(*s.frame), 17);
    ASSERT_EQ(scans->childCount(), 3);
    EXPECT_TRUE(scans->isExpanded());
    EXPECT_TRUE(Root(*s.frame)->isExpanded());

    // The next rebuild, when the main window gets the focus, collapses it again.
    s.frame->show();
    QApplication::setActiveWindow(s.frame.get());
    QCoreApplication::processEvents();
    ASSERT_TRUE(s.frame->isActiveWindow());
    EXPECT_FALSE(ItemByKey(Root(*s.frame), 17)->isExpanded());
    EXPECT_EQ(ItemByKey(Root(*s.frame), 17)->childCount(), 3);
}

TEST(MainFrameFiles, SaveAsksForANameOnlyWhileTheDefaultFileIsCurrent)
{
    ProgramDir dir(1);
    Session s(dir.path);
    const auto defaultBytes = ReadBytes(dir.Default());
    EXPECT_FALSE(s.frame->OnFileSave());  // cancelled
    EXPECT_EQ(s.prompts->saveAsked, 1);
    EXPECT_EQ(s.prompts->lastFilters, (QStringList{"Codeplug files (*.VNTX)", "All files (*.*)"}));
    EXPECT_EQ(s.app.Context().currentFilePath, dir.Default());

    const fs::path chosen = dir.path / "mine.VNTX";
    s.prompts->saveAnswers.push_back(Q(chosen));
    s.app.Context().codeplug.RadioSettings[5] = 0x42;
    EXPECT_TRUE(s.frame->OnFileSave());
    EXPECT_EQ(s.app.Context().currentFilePath, chosen);
    EXPECT_EQ(s.frame->windowTitle(), "ZR-74[0 NV][" + Q(chosen) + "]");
    EXPECT_EQ(ReadBytes(chosen).size(), kCodeplugFileBytes);
    EXPECT_EQ(ReadBytes(chosen)[5], 0x42);
    EXPECT_EQ(ReadBytes(dir.Default()), defaultBytes);

    s.app.Context().codeplug.RadioSettings[5] = 0x43;  // the named file is current: Save writes silently
    EXPECT_TRUE(s.frame->OnFileSave());
    EXPECT_EQ(s.prompts->saveAsked, 2);
    EXPECT_EQ(ReadBytes(chosen)[5], 0x43);

    s.frame->OnFileNew();  // makes the default file current again
    EXPECT_EQ(s.frame->windowTitle(), "ZR-74[0 NV]");
    EXPECT_EQ(s.app.Context().codeplug.RadioSettings[5], 0xD0);
    s.frame->OnFileSave();
    EXPECT_EQ(s.prompts->saveAsked, 3);
    EXPECT_TRUE(s.prompts->messages.empty());
}

TEST(MainFrameFiles, OpenLoadsTheFirstFileAndRebuildsTheTree)
{
    ProgramDir dir(0, {1, 1, 1, 1});
    Session s(dir.path);
    WriteCodeplug(dir.path / "a.VNTX", {9, 4, 3, 5}, 0xA1);
    WriteCodeplug(dir.path / "b.VNTX", {2, 2, 2, 2}, 0xB2);
    RegisterTestForms(*s.frame, {FormKind::Fun});
    s.frame->OnCommand(Cmd::GeneralFunctions);
    s.frame->OnFileOpen();  // cancelled: nothing changes, but the forms were closed
    EXPECT_EQ(s.prompts->openAsked, 1);
    EXPECT_EQ(s.frame->FormWindow(FormKind::Fun), nullptr);
    EXPECT_EQ(s.app.Context().currentFilePath, dir.Default());

    s.prompts->openAnswers.push_back({Q(dir.path / "a.VNTX"), Q(dir.path / "b.VNTX"), Q(dir.Default())});
    s.frame->OnFileOpen();
    EXPECT_EQ(s.app.Context().codeplug.RadioSettings[5], 0xA1);
    EXPECT_EQ(s.app.Context().currentFilePath, dir.path / "a.VNTX");
    EXPECT_EQ(s.frame->windowTitle(), "ZR-74[0 NV系列] 客户版编程软件[" + Q(dir.path / "a.VNTX") + "]");
    EXPECT_EQ(ItemByKey(Root(*s.frame), 28)->childCount(), 9);
    EXPECT_EQ(ItemByKey(Root(*s.frame), 17)->childCount(), 3);
    EXPECT_TRUE(s.prompts->messages.empty());
}

// Missing and short files and a failed save change nothing; a foreign marker warns but loads.
TEST(MainFrameFiles, FailedOpenOrSaveLeavesPathTitleAndTreeAsTheyWere)
{
    ProgramDir dir(1, {4, 4, 2, 2});
    Session s(dir.path);
    const fs::path good = dir.path / "good.VNTX", shortFile = dir.path / "short.VNTX";
    const fs::path foreign = dir.path / "foreign.VNTX";
    WriteCodeplug(good, {6, 6, 2, 2}, 0x61);
    WriteWholeFile(shortFile, std::vector<std::uint8_t>(100, 0x11));
    WriteCodeplug(foreign, {5, 1, 1, 1}, 0x77);
    auto bytes = ReadBytes(foreign);
    bytes[11275] = bytes[11276] = 0;
    WriteWholeFile(foreign, bytes);
    const QString title = "ZR-74[0 NV][" + Q(good) + "]";
    const auto& messages = s.prompts->messages;
    const auto unchanged = [&] {
        EXPECT_EQ(s.app.Context().currentFilePath, good);
        EXPECT_EQ(s.frame->windowTitle(), title);
        EXPECT_EQ(s.app.Context().codeplug.RadioSettings[5], 0x61);
        EXPECT_EQ(ItemByKey(Root(*s.frame), 28)->childCount(), 6);
    };

    s.prompts->openAnswers = {{Q(good)}, {Q(dir.path / "missing.VNTX")}, {Q(shortFile)}};
    for (int i = 0; i < 3; ++i)
        s.frame->OnFileOpen();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_TRUE(messages[0].text.contains("missing.VNTX"));
    EXPECT_EQ(messages[1].text, QText(s.app.Context().text, "RW_Str", 9));
    unchanged();

    s.prompts->saveAnswers.push_back(Q(dir.path / "no-such-folder" / "x.VNTX"));
    EXPECT_FALSE(s.frame->OnFileSaveAs());
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_TRUE(messages[2].text.contains("no-such-folder"));
    EXPECT_EQ(messages[2].icon, QMessageBox::Critical);
    unchanged();

    s.prompts->openAnswers.push_back({Q(foreign)});
    s.frame->OnFileOpen();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[3].icon, QMessageBox::Warning);
    EXPECT_EQ(s.app.Context().codeplug.RadioSettings[5], 0x77);
    EXPECT_EQ(s.app.Context().currentFilePath, foreign);
    EXPECT_EQ(ItemByKey(Root(*s.frame), 28)->childCount(), 5);
}

TEST(MainFrameClose, ThreeAnswersAndAFailedSaveKeepsTheProgramOpen)
{
    ProgramDir dir(0);
    Session s(dir.path);
    ScriptedPrompts& p = *s.prompts;
    p.questionAnswers.push_back(QMessageBox::Cancel);
    EXPECT_FALSE(SendClose(*s.frame));
    EXPECT_EQ(p.lastQuestionCaption, "提示");
    EXPECT_EQ(p.lastQuestion, "是否保存当前数据？");

    p.questionAnswers.push_back(QMessageBox::Yes);  // then Cancel in the save dialog: stays
    EXPECT_FALSE(SendClose(*s.frame));
    EXPECT_EQ(p.saveAsked, 1);

    p.questionAnswers.push_back(QMessageBox::Yes);  // then a save that fails: stays too
    p.saveAnswers.push_back(Q(dir.path / "gone" / "x.VNTX"));
    EXPECT_FALSE(SendClose(*s.frame));
    EXPECT_EQ(p.messages.size(), 1u);

    const fs::path target = dir.path / "kept.VNTX";  // Yes and a file name: saved, then closed
    p.questionAnswers.push_back(QMessageBox::Yes);
    p.saveAnswers.push_back(Q(target));
    EXPECT_TRUE(SendClose(*s.frame));
    EXPECT_EQ(ReadBytes(target).size(), kCodeplugFileBytes);

    p.questionAnswers.push_back(QMessageBox::No);  // closes without asking for a file
    EXPECT_TRUE(SendClose(*s.frame));
    EXPECT_EQ(p.saveAsked, 3);
    EXPECT_EQ(p.questionsAsked, 5);
}

TEST(MainFrameLanguage, ChoiceIsWrittenToSysDatForTheNextStart)
{
    ProgramDir dir(0);
    std::vector<std::uint8_t> settings(SystemSettings::kBytes, 0);
    settings[100] = 0x5A;  // a byte the program does not know survives the write
    WriteWholeFile(dir.path / "Sys.dat", settings);
    Session s(dir.path);
    EXPECT_TRUE(s.frame->CommandAction(Cmd::LanguageChinese)->isChecked());

    s.frame->CommandAction(Cmd::LanguageEnglish)->trigger();
    const auto written = ReadBytes(dir.path / "Sys.dat");
    ASSERT_EQ(written.size(), SystemSettings::kBytes);
    EXPECT_EQ(written[32], 1);
    EXPECT_EQ(written[100], 0x5A);
    ASSERT_EQ(s.prompts->messages.size(), 1u);
    EXPECT_EQ(s.prompts->messages[0].text, QText(s.app.Context().text, "Pub", 40));
    EXPECT_TRUE(s.frame->CommandAction(Cmd::LanguageEnglish)->isChecked());
    EXPECT_FALSE(s.frame->CommandAction(Cmd::LanguageChinese)->isChecked());
    EXPECT_FALSE(s.frame->EnglishMenus());  // this run keeps its language
    EXPECT_EQ(s.app.Context().text.KeyBase(), 0);

    s.frame->CommandAction(Cmd::LanguageEnglish)->trigger();  // the stored language again: no message
    EXPECT_EQ(s.prompts->messages.size(), 1u);
}

// Tree, click rules, close prompt, file filter, marker warning and language message all find
// their texts in the real language file.
TEST(MainFrameTexts, AllLookedUpTextsExistInChineseAndEnglish)
{
    for (std::uint8_t language : {0, 1}) {
        ProgramDir dir(language, {16, 16, 3, 32});
        Session s(dir.path);
        const fs::path foreign = dir.path / "foreign.VNTX";
        WriteWholeFile(foreign, std::vector<std::uint8_t>(kCodeplugFileBytes, 0));
        for (QTreeWidgetItemIterator it(s.frame->Tree()); *it != nullptr; ++it)
            s.frame->ClickTreeItem(*it);
        s.prompts->questionAnswers.push_back(QMessageBox::Cancel);
        SendClose(*s.frame);
        s.prompts->openAnswers.push_back({Q(foreign)});
        s.frame->OnFileOpen();
        s.frame->OnSetLanguage(language == 0 ? 1 : 0);

        EXPECT_EQ(s.prompts->messages.size(), 2u);
        for (const auto& message : s.prompts->messages)
            EXPECT_FALSE(message.caption.isEmpty() || message.text.isEmpty());
        std::string missed;
        for (const auto& [section, key] : s.app.Context().text.Misses())
            missed += section + " " + std::to_string(key) + "; ";
        EXPECT_TRUE(missed.empty()) << "language " << int(language) << ": " << missed;
    }
}
