// The main window: start-up by language, menus, toolbar, tree clicks, forms, file commands,
// the close prompt and the language choice.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QDockWidget>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>

#include "app/CAboutDlg.h"
#include "app/CommandTable.h"
#include "app/MdiArrange.h"
#include "app/QtText.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

QStringList TopMenus(const CMainFrame& frame)
{
    QStringList titles;
    for (QAction* action : frame.menuBar()->actions())
        titles << action->text();
    return titles;
}

QTreeWidgetItem* FindItem(const CMainFrame& frame, const QString& label)
{
    const auto found = frame.Tree()->findItems(label, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

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

// ---------------------------------------------------------------------------------------------
// Start-up by language

TEST(MainFrameStart, ChineseSettingsGiveChineseTitleMenusAndTexts)
{
    ProgramDir dir(0);
    Session s(dir.path);
    EXPECT_EQ(s.frame->windowTitle(), QString::fromUtf8("ZR-74[0 NV系列] 客户版编程软件"));
    EXPECT_FALSE(s.frame->EnglishMenus());
    EXPECT_EQ(TopMenus(*s.frame), (QStringList{"文件(&F)", "机型", "功能", "设置", "编程(&E)", "查看", "窗口(&W)", "帮助"}));
    EXPECT_EQ(s.app.Context().text.KeyBase(), 0);
    EXPECT_EQ(Root(*s.frame)->text(0), "ZR-740");
    EXPECT_EQ(ItemByKey(Root(*s.frame), 28)->text(0), QString::fromUtf8("数字信道"));
    EXPECT_EQ(s.app.Context().currentFilePath, dir.Default());
    EXPECT_TRUE(s.prompts->messages.empty());
    // The default file was loaded.
    EXPECT_EQ(s.app.Context().codeplug.RadioSettings[5], 0xD0);
    // The navigation bar keeps its Chinese caption and sits at the left.
    EXPECT_EQ(s.frame->NavigationBar()->windowTitle(), QString::fromUtf8("导航栏"));
    EXPECT_EQ(s.frame->dockWidgetArea(s.frame->NavigationBar()), Qt::LeftDockWidgetArea);
}

TEST(MainFrameStart, EnglishAndOtherLanguageValues)
{
    {
        ProgramDir dir(1);
        Session s(dir.path);
        EXPECT_EQ(s.frame->windowTitle(), "ZR-74[0 NV]");
        EXPECT_TRUE(s.frame->EnglishMenus());
        EXPECT_EQ(TopMenus(*s.frame),
                  (QStringList{"File(&F)", "Model", "Function", "Set", "Progrem(&E)", "&View", "&Window", "&Help"}));
        EXPECT_EQ(s.app.Context().text.KeyBase(), 100000);
        EXPECT_EQ(ItemByKey(Root(*s.frame), 28)->text(0), "Digital channels");
        EXPECT_EQ(s.frame->NavigationBar()->windowTitle(), QString::fromUtf8("导航栏"));
    }
    {
        ProgramDir dir(2);
        Session s(dir.path);
        EXPECT_EQ(s.frame->windowTitle(), "ZR-74[0 NV]");
        EXPECT_FALSE(s.frame->EnglishMenus());
        EXPECT_EQ(TopMenus(*s.frame).first(), QString::fromUtf8("文件(&F)"));
        EXPECT_EQ(s.app.Context().text.KeyBase(), 800000);
        // The language file holds no third language: the labels are empty, the tree is still built.
        EXPECT_EQ(Root(*s.frame)->text(0), "");
        EXPECT_EQ(Root(*s.frame)->childCount(), 8);
    }
}

TEST(MainFrameStart, MissingOrForeignDefaultFileIsReportedAndTheProgramStarts)
{
    {
        ProgramDir dir(1, {}, false);
        Session s(dir.path);
        ASSERT_EQ(s.prompts->messages.size(), 1u);
        EXPECT_TRUE(s.prompts->messages[0].text.contains(Q(dir.Default())));
        EXPECT_EQ(s.prompts->messages[0].caption, "Prompt");
        EXPECT_EQ(s.app.Context().currentFilePath, dir.Default());
        // Zero counts were repaired for the tree.
        EXPECT_EQ(ItemByKey(Root(*s.frame), 28)->childCount(), 1);
    }
    {
        ProgramDir dir(0);
        std::vector<std::uint8_t> zeros(kCodeplugFileBytes, 0);
        WriteWholeFile(dir.Default(), zeros);
        Session s(dir.path);
        ASSERT_EQ(s.prompts->messages.size(), 1u);
        EXPECT_EQ(s.prompts->messages[0].text, QText(s.app.Context().text, "RW_Str", 9));
        EXPECT_FALSE(s.prompts->messages[0].text.isEmpty());
    }
}

// ---------------------------------------------------------------------------------------------
// Menus, toolbar, status bar, view toggles

TEST(MainFrameCommands, MenuActionsCarryIdsLabelsAndKeys)
{
    ProgramDir en(1);
    Session english(en.path);
    ProgramDir zh(0);
    Session chinese(zh.path);

    QAction* open = english.frame->CommandAction(Cmd::FileOpen);
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->text(), "&Open...");
    EXPECT_EQ(open->data().toInt(), Cmd::FileOpen);
    EXPECT_EQ(open->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(english.frame->CommandAction(Cmd::Write)->shortcut(), QKeySequence("Ctrl+W"));
    EXPECT_EQ(chinese.frame->CommandAction(Cmd::FileSaveAs)->text(), QString::fromUtf8("另存为 &As..."));
    EXPECT_EQ(chinese.frame->CommandAction(Cmd::Read)->text(), QString::fromUtf8("&读取对讲机"));
    EXPECT_EQ(chinese.frame->CommandAction(Cmd::Read)->shortcut(), QKeySequence("Ctrl+R"));

    // Commands that only one of the bars has.
    for (int command : {Cmd::Vox, Cmd::MonitorCh, Cmd::PasswordSet, Cmd::AdjustValue}) {
        EXPECT_NE(english.frame->CommandAction(command), nullptr) << command;
        EXPECT_EQ(chinese.frame->CommandAction(command), nullptr) << command;
    }
    EXPECT_EQ(english.frame->CommandAction(Cmd::ProgrammingPassword), nullptr);
    EXPECT_NE(chinese.frame->CommandAction(Cmd::ProgrammingPassword), nullptr);
    // Our own additions are in both, and Ctrl+T is reserved.
    for (Session* s : {&english, &chinese}) {
        for (int command : {Cmd::TextMessage, Cmd::DigitalEmergAlarm, Cmd::AnalogEmergAlarm, Cmd::LanguageChinese,
                            Cmd::LanguageEnglish})
            EXPECT_NE(s->frame->CommandAction(command), nullptr) << command;
        EXPECT_EQ(s->frame->CommandAction(Cmd::Nothing)->shortcut(), QKeySequence("Ctrl+T"));
        EXPECT_EQ(s->frame->CommandAction(Cmd::AnalogChannel), nullptr);
    }
    // The DMR popup holds its three commands in order.
    QMenu* function = english.frame->menuBar()->actions().at(2)->menu();
    QMenu* dmr = nullptr;
    for (QAction* action : function->actions())
        if (action->menu() != nullptr)
            dmr = action->menu();
    ASSERT_NE(dmr, nullptr);
    EXPECT_EQ(dmr->title(), "DMR");
    ASSERT_EQ(dmr->actions().size(), 3);
    EXPECT_EQ(dmr->actions().at(2)->data().toInt(), Cmd::DmrRxGrpList);
}

TEST(MainFrameCommands, ToolbarStatusBarAndViewToggles)
{
    ProgramDir dir(0);
    Session s(dir.path);

    std::vector<int> ids;
    for (QAction* action : s.frame->ToolBar()->actions())
        ids.push_back(action->isSeparator() ? 0 : action->data().toInt());
    EXPECT_EQ(ids, (std::vector<int>{Cmd::FileNew, Cmd::FileOpen, Cmd::FileSave, Cmd::FilePrint, 0, Cmd::Read,
                                     Cmd::Write, 0, Cmd::FilePrint, 0, Cmd::About}));
    for (QAction* action : s.frame->ToolBar()->actions())
        if (!action->isSeparator())
            EXPECT_EQ(action->isEnabled(), action->data().toInt() != Cmd::FilePrint);

    for (const char* pane : {"indicatorCAP", "indicatorNUM", "indicatorSCRL"})
        EXPECT_NE(s.frame->statusBar()->findChild<QLabel*>(pane), nullptr) << pane;

    QAction* toolbar = s.frame->CommandAction(Cmd::ViewToolbar);
    QAction* statusbar = s.frame->CommandAction(Cmd::ViewStatusBar);
    QAction* navigation = s.frame->CommandAction(Cmd::ViewNavigation);
    EXPECT_TRUE(toolbar->isChecked() && statusbar->isChecked() && navigation->isChecked());
    s.frame->OnCommand(Cmd::ViewToolbar);
    s.frame->OnCommand(Cmd::ViewStatusBar);
    s.frame->OnCommand(Cmd::ViewNavigation);
    EXPECT_TRUE(s.frame->ToolBar()->isHidden());
    EXPECT_TRUE(s.frame->statusBar()->isHidden());
    EXPECT_TRUE(s.frame->NavigationBar()->isHidden());
    EXPECT_FALSE(toolbar->isChecked() || statusbar->isChecked() || navigation->isChecked());

    // Showing the navigation bar again docks it at the left, even after it floated elsewhere.
    s.frame->NavigationBar()->show();
    s.frame->NavigationBar()->setFloating(true);
    s.frame->NavigationBar()->hide();
    s.frame->OnCommand(Cmd::ViewNavigation);
    EXPECT_FALSE(s.frame->NavigationBar()->isHidden());
    EXPECT_FALSE(s.frame->NavigationBar()->isFloating());
    EXPECT_EQ(s.frame->dockWidgetArea(s.frame->NavigationBar()), Qt::LeftDockWidgetArea);
    EXPECT_TRUE(navigation->isChecked());
    s.frame->OnCommand(Cmd::ViewToolbar);
    EXPECT_TRUE(toolbar->isChecked());
    EXPECT_FALSE(s.frame->ToolBar()->isHidden());
}

TEST(MainFrameCommands, AboutBoxShowsProductAndVersion)
{
    CAboutDlg about(false);
    QStringList texts;
    for (QLabel* label : about.findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains("ZR-740 NV"));
    EXPECT_TRUE(texts.contains("V1.03.01"));
    const auto icons = about.findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(icons.begin(), icons.end(), [](QLabel* l) { return !l->pixmap().isNull(); }));
}

TEST(MainFrameCommands, ArrangeIconsFillsRowsFromTheBottomLeft)
{
    const std::vector<QPoint> at = ArrangeIconPositions(QSize(400, 300), {{160, 30}, {160, 30}, {160, 30}});
    EXPECT_EQ(at, (std::vector<QPoint>{{0, 270}, {160, 270}, {0, 240}}));
    EXPECT_TRUE(ArrangeIconPositions(QSize(400, 300), {}).empty());
}

// ---------------------------------------------------------------------------------------------
// Tree and forms

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
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("数字信道 05"));
    EXPECT_EQ(window->size(), QSize(800, 650));
    EXPECT_EQ(window->pos(), QPoint(0, 0));
    CForm_TestRecord* form = TestForm(*s.frame, FormKind::DigitalChannel);
    EXPECT_EQ(form->indexesShown, (std::vector<std::uint32_t>{4}));

    s.frame->ClickTreeItem(digital->child(11));
    EXPECT_EQ(s.frame->FormWindow(FormKind::DigitalChannel), window);
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("数字信道 12"));
    EXPECT_EQ(form->indexesShown, (std::vector<std::uint32_t>{4, 11}));
    EXPECT_EQ(s.frame->ClientArea()->subWindowList().size(), 1);

    // A group node opens nothing.
    s.frame->ClickTreeItem(digital);
    EXPECT_EQ(form->initialUpdates, 2);
}

TEST(MainFrameNavigation, CommandsUseTheLastNavigation)
{
    ProgramDir dir(1);
    Session s(dir.path);
    RegisterTestForms(*s.frame, {FormKind::DigitalChannel, FormKind::PasswordEC});

    // Before any click: record 0 and an empty title.
    s.frame->OnCommand(Cmd::Channel);
    ASSERT_NE(s.frame->FormWindow(FormKind::DigitalChannel), nullptr);
    EXPECT_EQ(TestForm(*s.frame, FormKind::DigitalChannel)->indexesShown, (std::vector<std::uint32_t>{0}));
    EXPECT_EQ(s.frame->FormWindow(FormKind::DigitalChannel)->windowTitle(), "");

    // The password item stores its label, which becomes the form's title.
    s.frame->ClickTreeItem(ItemByKey(Root(*s.frame), 36));
    EXPECT_EQ(s.frame->FormWindow(FormKind::PasswordEC)->windowTitle(), "Programming password");
    EXPECT_EQ(s.app.Navigation().labelBuffer, "Programming password");

    // Forms that are not part of the program yet: their commands do nothing.
    for (int command : {Cmd::GeneralFunctions, Cmd::Vox, Cmd::TextMessage, Cmd::DigitalEmergAlarm, Cmd::RadioInfo,
                        Cmd::Nothing})
        s.frame->OnCommand(command);
    EXPECT_EQ(s.frame->FormWindow(FormKind::Fun), nullptr);
    EXPECT_EQ(s.frame->FormWindow(FormKind::Message), nullptr);
    EXPECT_TRUE(s.prompts->messages.empty());

    // The radio commands open their dialogs.
    for (int command : {Cmd::SetPort, Cmd::Read, Cmd::Write})
        s.frame->OnCommand(command);
    EXPECT_EQ(s.dialogsRun, (QStringList{"CDialog_SetComPort", "CDialog_RW", "CDialog_RW"}));
}

TEST(MainFrameNavigation, ReopeningRerunsInitialUpdateOnlyForIndexedForms)
{
    ProgramDir dir(0);
    Session s(dir.path);
    RegisterTestForms(*s.frame, {FormKind::Fun, FormKind::Scan, FormKind::PasswordEC, FormKind::Vox});

    s.frame->OnCommand(Cmd::GeneralFunctions);
    s.frame->OnCommand(Cmd::Vox);  // now the active one
    s.frame->OnCommand(Cmd::GeneralFunctions);
    EXPECT_EQ(TestForm(*s.frame, FormKind::Fun)->initialUpdates, 1);
    EXPECT_EQ(s.frame->ClientArea()->activeSubWindow(), s.frame->FormWindow(FormKind::Fun));
    EXPECT_EQ(s.frame->FormWindow(FormKind::Vox)->windowTitle(), "VOX");

    QTreeWidgetItem* scans = ItemByKey(Root(*s.frame), 17);
    s.frame->ClickTreeItem(scans->child(0));
    s.frame->ClickTreeItem(scans->child(1));
    EXPECT_EQ(TestForm(*s.frame, FormKind::Scan)->indexesShown, (std::vector<std::uint32_t>{0, 1}));

    s.frame->OnCommand(Cmd::ProgrammingPassword);
    s.frame->OnCommand(Cmd::ProgrammingPassword);
    EXPECT_EQ(TestForm(*s.frame, FormKind::PasswordEC)->initialUpdates, 2);

    // A minimised form comes back when chosen again.
    s.frame->FormWindow(FormKind::Fun)->showMinimized();
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

    // Reopening after a close creates a fresh form.
    s.frame->OnCommand(Cmd::GeneralFunctions);
    EXPECT_EQ(TestForm(*s.frame, FormKind::Fun)->initialUpdates, 1);
    EXPECT_EQ(live, 2);
}

TEST(MainFrameNavigation, RefreshZoneAndScanFormsPassesEveryRecordOnce)
{
    ProgramDir dir(0, {2, 2, 3, 1});
    Session s(dir.path);
    std::vector<std::pair<FormKind, std::uint32_t>> shown;
    struct LoggingForm : CForm_TestRecord {
        LoggingForm(CVanticApp& app, FormKind kind, std::vector<std::pair<FormKind, std::uint32_t>>& log)
            : CForm_TestRecord(app, kind), log_(log)
        {
        }
        void OnInitialUpdate() override
        {
            CForm_TestRecord::OnInitialUpdate();
            log_.emplace_back(Kind(), indexesShown.back());
        }
        std::vector<std::pair<FormKind, std::uint32_t>>& log_;
    };
    for (FormKind kind : {FormKind::Scan, FormKind::Zone})
        s.frame->SetFormFactory(kind, [kind, &shown](CVanticApp& app) { return new LoggingForm(app, kind, shown); });
    s.frame->OpenForm(FormKind::Zone);
    QPointer<CFormBase> before = s.frame->Form(FormKind::Zone);
    shown.clear();

    s.frame->RefreshZoneAndScanForms();
    EXPECT_EQ(shown, (std::vector<std::pair<FormKind, std::uint32_t>>{
                         {FormKind::Scan, 0}, {FormKind::Scan, 1}, {FormKind::Scan, 2}, {FormKind::Zone, 0},
                         {FormKind::Zone, 1}}));
    EXPECT_EQ(s.frame->FormWindow(FormKind::Zone), nullptr);
    EXPECT_EQ(s.frame->FormWindow(FormKind::Scan), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(before.isNull());
    EXPECT_TRUE(s.frame->ClientArea()->subWindowList().isEmpty());
}

TEST(MainFrameNavigation, FormsAskForARebuildThatExpandsOnce)
{
    ProgramDir dir(0, {2, 2, 2, 2});
    Session s(dir.path);
    RegisterTestForms(*s.frame, {FormKind::Scan});
    QTreeWidgetItem* scans = ItemByKey(Root(*s.frame), 17);
    s.frame->ClickTreeItem(scans->child(1));
    TestForm(*s.frame, FormKind::Scan)->AddScanList();

    scans = ItemByKey(Root(*s.frame), 17);
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

// ---------------------------------------------------------------------------------------------
// File commands

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

    // Now the named file is current: Save writes silently.
    s.app.Context().codeplug.RadioSettings[5] = 0x43;
    EXPECT_TRUE(s.frame->OnFileSave());
    EXPECT_EQ(s.prompts->saveAsked, 2);
    EXPECT_EQ(ReadBytes(chosen)[5], 0x43);

    // New makes the default file current again.
    s.frame->OnFileNew();
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
    EXPECT_EQ(s.frame->windowTitle(),
              QString::fromUtf8("ZR-74[0 NV系列] 客户版编程软件[") + Q(dir.path / "a.VNTX") + "]");
    EXPECT_EQ(ItemByKey(Root(*s.frame), 28)->childCount(), 9);
    EXPECT_EQ(ItemByKey(Root(*s.frame), 17)->childCount(), 3);
    EXPECT_TRUE(s.prompts->messages.empty());
}

TEST(MainFrameFiles, FailedOpenOrSaveLeavesPathTitleAndTreeAsTheyWere)
{
    ProgramDir dir(1, {4, 4, 2, 2});
    Session s(dir.path);
    const fs::path good = dir.path / "good.VNTX";
    WriteCodeplug(good, {6, 6, 2, 2}, 0x61);
    s.prompts->openAnswers.push_back({Q(good)});
    s.frame->OnFileOpen();
    const QString title = s.frame->windowTitle();

    // A file that does not exist, and one that is too short.
    const fs::path shortFile = dir.path / "short.VNTX";
    WriteWholeFile(shortFile, std::vector<std::uint8_t>(100, 0x11));
    s.prompts->openAnswers.push_back({Q(dir.path / "missing.VNTX")});
    s.prompts->openAnswers.push_back({Q(shortFile)});
    s.frame->OnFileOpen();
    s.frame->OnFileOpen();
    ASSERT_EQ(s.prompts->messages.size(), 2u);
    EXPECT_TRUE(s.prompts->messages[0].text.contains("missing.VNTX"));
    EXPECT_EQ(s.prompts->messages[1].text, QText(s.app.Context().text, "RW_Str", 9));
    EXPECT_EQ(s.app.Context().currentFilePath, good);
    EXPECT_EQ(s.frame->windowTitle(), title);
    EXPECT_EQ(s.app.Context().codeplug.RadioSettings[5], 0x61);
    EXPECT_EQ(ItemByKey(Root(*s.frame), 28)->childCount(), 6);

    // Saving into a folder that does not exist.
    s.prompts->saveAnswers.push_back(Q(dir.path / "no-such-folder" / "x.VNTX"));
    EXPECT_FALSE(s.frame->OnFileSaveAs());
    ASSERT_EQ(s.prompts->messages.size(), 3u);
    EXPECT_TRUE(s.prompts->messages[2].text.contains("no-such-folder"));
    EXPECT_EQ(s.prompts->messages[2].icon, QMessageBox::Critical);
    EXPECT_EQ(s.app.Context().currentFilePath, good);
    EXPECT_EQ(s.frame->windowTitle(), title);
}

TEST(MainFrameFiles, ForeignMarkerWarnsButLoads)
{
    ProgramDir dir(0);
    Session s(dir.path);
    const fs::path foreign = dir.path / "foreign.VNTX";
    WriteCodeplug(foreign, {5, 1, 1, 1}, 0x77);
    auto bytes = ReadBytes(foreign);
    bytes[11275] = 0;
    bytes[11276] = 0;
    WriteWholeFile(foreign, bytes);

    s.prompts->openAnswers.push_back({Q(foreign)});
    s.frame->OnFileOpen();
    ASSERT_EQ(s.prompts->messages.size(), 1u);
    EXPECT_EQ(s.prompts->messages[0].icon, QMessageBox::Warning);
    EXPECT_EQ(s.app.Context().codeplug.RadioSettings[5], 0x77);
    EXPECT_EQ(s.app.Context().currentFilePath, foreign);
    EXPECT_EQ(ItemByKey(Root(*s.frame), 28)->childCount(), 5);
}

// ---------------------------------------------------------------------------------------------
// Close prompt

TEST(MainFrameClose, ThreeAnswersAndAFailedSaveKeepsTheProgramOpen)
{
    ProgramDir dir(0);
    Session s(dir.path);

    s.prompts->questionAnswers.push_back(QMessageBox::Cancel);
    EXPECT_FALSE(SendClose(*s.frame));
    EXPECT_EQ(s.prompts->lastQuestionCaption, QString::fromUtf8("提示"));
    EXPECT_EQ(s.prompts->lastQuestion, QString::fromUtf8("是否保存当前数据？"));

    // Yes, then Cancel in the save dialog: nothing was saved, so the program stays.
    s.prompts->questionAnswers.push_back(QMessageBox::Yes);
    EXPECT_FALSE(SendClose(*s.frame));
    EXPECT_EQ(s.prompts->saveAsked, 1);

    // Yes, then a save that fails: stays too.
    s.prompts->questionAnswers.push_back(QMessageBox::Yes);
    s.prompts->saveAnswers.push_back(Q(dir.path / "gone" / "x.VNTX"));
    EXPECT_FALSE(SendClose(*s.frame));
    EXPECT_EQ(s.prompts->messages.size(), 1u);

    // Yes and a file name: saved, then closed.
    const fs::path target = dir.path / "kept.VNTX";
    s.prompts->questionAnswers.push_back(QMessageBox::Yes);
    s.prompts->saveAnswers.push_back(Q(target));
    EXPECT_TRUE(SendClose(*s.frame));
    EXPECT_EQ(ReadBytes(target).size(), kCodeplugFileBytes);

    // No: closes without asking for a file.
    s.prompts->questionAnswers.push_back(QMessageBox::No);
    EXPECT_TRUE(SendClose(*s.frame));
    EXPECT_EQ(s.prompts->saveAsked, 3);
    EXPECT_EQ(s.prompts->questionsAsked, 5);
}

// ---------------------------------------------------------------------------------------------
// Language choice

TEST(MainFrameLanguage, ChoiceIsWrittenToSysDatForTheNextStart)
{
    ProgramDir dir(0);
    // Bytes the program does not know survive the write.
    std::vector<std::uint8_t> settings(SystemSettings::kBytes, 0);
    settings[100] = 0x5A;
    WriteWholeFile(dir.path / "Sys.dat", settings);
    Session s(dir.path);
    EXPECT_TRUE(s.frame->CommandAction(Cmd::LanguageChinese)->isChecked());

    s.frame->CommandAction(Cmd::LanguageEnglish)->trigger();
    const auto written = ReadBytes(dir.path / "Sys.dat");
    ASSERT_EQ(written.size(), SystemSettings::kBytes);
    EXPECT_EQ(written[SystemSettings::Language], 1);
    EXPECT_EQ(written[100], 0x5A);
    ASSERT_EQ(s.prompts->messages.size(), 1u);
    EXPECT_EQ(s.prompts->messages[0].text, QText(s.app.Context().text, "Pub", 40));
    EXPECT_TRUE(s.frame->CommandAction(Cmd::LanguageEnglish)->isChecked());
    EXPECT_FALSE(s.frame->CommandAction(Cmd::LanguageChinese)->isChecked());
    // This run keeps its language.
    EXPECT_FALSE(s.frame->EnglishMenus());
    EXPECT_EQ(s.app.Context().text.KeyBase(), 0);

    // Choosing the stored language again writes and says nothing.
    s.frame->CommandAction(Cmd::LanguageEnglish)->trigger();
    EXPECT_EQ(s.prompts->messages.size(), 1u);
}

// ---------------------------------------------------------------------------------------------
// Every text the main window looks up exists in both languages of the real language file.

TEST(MainFrameTexts, AllLookedUpTextsExistInChineseAndEnglish)
{
    for (std::uint8_t language : {0, 1}) {
        ProgramDir dir(language, {16, 16, 3, 32});
        Session s(dir.path);
        const fs::path foreign = dir.path / "foreign.VNTX";
        WriteWholeFile(foreign, std::vector<std::uint8_t>(kCodeplugFileBytes, 0));

        // Tree, click rules, close prompt, file filter, marker warning, language message.
        QTreeWidgetItemIterator it(s.frame->Tree());
        for (; *it != nullptr; ++it)
            s.frame->ClickTreeItem(*it);
        s.prompts->questionAnswers.push_back(QMessageBox::Cancel);
        SendClose(*s.frame);
        s.prompts->openAnswers.push_back({Q(foreign)});
        s.frame->OnFileOpen();
        s.frame->OnSetLanguage(language == 0 ? 1 : 0);

        EXPECT_EQ(s.prompts->messages.size(), 2u);
        for (const auto& message : s.prompts->messages) {
            EXPECT_FALSE(message.caption.isEmpty());
            EXPECT_FALSE(message.text.isEmpty());
        }
        std::string missed;
        for (const auto& [section, key] : s.app.Context().text.Misses())
            missed += section + " " + std::to_string(key) + "; ";
        EXPECT_TRUE(missed.empty()) << "language " << int(language) << ": " << missed;
    }
}
