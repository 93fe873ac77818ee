// The main window: start-up by language, menus, tree clicks, forms, file commands,
// the close prompt and the language choice.

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

}  // namespace

// Language 0 and 1 choose their title, menus and text key base; any other value gets Chinese
// menus, the English title and a key base the language file holds no texts for.
TEST(MainFrameStart, LanguageValuesChooseTitleMenusAndTexts)
{
    const struct { std::uint8_t language; QString title, firstMenu; int keyBase; QString digitalLabel; } rows[] = {
        {0, "ZR-74[0 NV系列] 客户版编程软件", "文件(&F)", 0, "数字信道"},
        {1, "ZR-74[0 NV]", "File(&F)", 100000, "Digital channels"},
        {2, "ZR-74[0 NV]", "文件(&F)", 800000, "Digital channels"},  // no texts of its own: English
    };
    for (const auto& r : rows) {
        ProgramDir dir(r.language);
        Session s(dir.path);
        EXPECT_EQ(std::tuple(s.frame->windowTitle(), s.frame->menuBar()->actions().value(0)->text(), s.app.Context().text.KeyBase(),
                             ItemByKey(Root(*s.frame), 28)->text(0)),
                  std::tuple(r.title, r.firstMenu, r.keyBase, r.digitalLabel));
        // The default file was loaded, without a word.
        EXPECT_TRUE(s.app.Context().codeplug.RadioSettings[5] == 0xD0 && s.prompts->messages.empty()) << int(r.language);
    }
}

// A missing default file or language file is named at start, and the program starts anyway.
TEST(MainFrameStart, MissingDefaultOrLanguageFileIsNamedAndTheProgramStarts)
{
    {
        ProgramDir missing(1, {}, false);
        Session s(missing.path);
        EXPECT_TRUE(s.prompts->Said().size() == 1 && s.prompts->Said()[0].contains(Q(missing.Default())));
        EXPECT_EQ(ItemByKey(Root(*s.frame), 28)->childCount(), 1);  // zero counts repaired
    }
    ProgramDir dir(1);
    fs::remove(dir.path / "Txt.ini");
    {
        Session s(dir.path);
        EXPECT_TRUE(s.prompts->Said().size() == 1 && s.prompts->Said()[0].contains(Q(dir.path / "Txt.ini")) &&
                    s.prompts->Said()[0].contains("cannot be read"));
    }
    fs::create_directory(dir.path / "Txt.ini");  // there, but not a file
    Session s(dir.path);
    EXPECT_TRUE(s.prompts->Said().size() == 1 && s.prompts->Said()[0].contains("Is a directory"));
}

TEST(MainFrameNavigation, ClickingChannelsOpensOneWindowAndSwitchesItsRecord)
{
    ProgramDir dir(0, {16, 2, 2, 2});
    Session s(dir.path);
    RegisterTestForms(*s.frame, {FormKind::DigitalChannel});
    QTreeWidgetItem* digital = ItemByKey(Root(*s.frame), 28);
    ASSERT_EQ(digital->childCount(), 16);

    s.frame->ClickTreeItem(digital->child(4));
    QMdiSubWindow* window = s.frame->Windows().FormWindow(FormKind::DigitalChannel);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(std::tuple(s.app.Navigation().Index(FormKind::DigitalChannel), window->windowTitle(), window->geometry()),
              std::tuple(4u, QString("数字信道 05"), QRect(0, 0, 800, 650)));

    s.frame->ClickTreeItem(digital->child(11));
    EXPECT_EQ(std::tuple(s.frame->Windows().FormWindow(FormKind::DigitalChannel), window->windowTitle(),
                         s.frame->ClientArea()->subWindowList().size()),
              std::tuple(window, QString("数字信道 12"), 1));
    s.frame->ClickTreeItem(digital);  // a group node opens nothing
    EXPECT_EQ(TestForm(*s.frame, FormKind::DigitalChannel)->indexesShown, (std::vector<std::uint32_t>{4, 11}));
}

TEST(MainFrameNavigation, CommandsUseTheLastNavigation)
{
    ProgramDir dir(1);
    Session s(dir.path);
    RegisterTestForms(*s.frame, {FormKind::DigitalChannel, FormKind::PasswordEC});

    s.frame->OnCommand(Cmd::Channel);  // before any click: record 0 and an empty title
    ASSERT_NE(s.frame->Windows().FormWindow(FormKind::DigitalChannel), nullptr);
    EXPECT_EQ(std::tuple(TestForm(*s.frame, FormKind::DigitalChannel)->indexesShown,
                         s.frame->Windows().FormWindow(FormKind::DigitalChannel)->windowTitle()),
              std::tuple(std::vector<std::uint32_t>{0}, QString()));

    s.frame->ClickTreeItem(ItemByKey(Root(*s.frame), 36));  // the password item's label is the title
    EXPECT_EQ(s.frame->Windows().FormWindow(FormKind::PasswordEC)->windowTitle(), "Programming password");

    // The bare test codeplug does not pass the check: Write shows what it found first.
    for (int command : {Cmd::SetPort, Cmd::Read, Cmd::Write, Cmd::RadioInfo, Cmd::PasswordSet, Cmd::AdjustValue})
        s.frame->OnCommand(command);
    EXPECT_EQ(s.dialogsRun, (QStringList{"CDialog_SetComPort", "CDialog_RW", "CDialog_CheckFindings",
                                         "CDialog_RadioInfo", "CDIALOG_PassWord", "CDialog_ADJ"}));
}

TEST(MainFrameNavigation, EachFormCommandOpensItsForm)
{
    ProgramDir dir(0);
    Session s(dir.path);
    const std::pair<int, FormKind> rows[] = {
        {32791, FormKind::Fun},           {32793, FormKind::Key},
        {32854, FormKind::Vox},           {32857, FormKind::MonitorCh},
        {32834, FormKind::DigitalChannel}, {32864, FormKind::AnalogChannel},
        {32824, FormKind::Dmr},           {32825, FormKind::DmrContact},
        {32827, FormKind::DmrRxGrpList},  {32866, FormKind::Message},
        {32901, FormKind::DigitalEmergAlarm}, {32902, FormKind::AnalogEmergAlarm},
        {32868, FormKind::PasswordEC},
    };
    for (const auto& [command, kind] : rows) {
        SCOPED_TRACE(command);
        RegisterTestForms(*s.frame, {kind});
        s.frame->OnCommand(command);
        EXPECT_NE(s.frame->Windows().FormWindow(kind), nullptr);
    }
    EXPECT_EQ(s.frame->ClientArea()->subWindowList().size(), std::size(rows));
}

TEST(MainFrameNavigation, ReopeningRerunsInitialUpdateOnlyForIndexedForms)
{
    ProgramDir dir(0);
    Session s(dir.path);
    RegisterTestForms(*s.frame, {FormKind::Fun, FormKind::Scan, FormKind::PasswordEC, FormKind::Vox});
    for (int command : {Cmd::GeneralFunctions, Cmd::Vox, Cmd::GeneralFunctions, Cmd::ProgrammingPassword,
                        Cmd::ProgrammingPassword})
        s.frame->OnCommand(command);
    EXPECT_EQ(std::tuple(TestForm(*s.frame, FormKind::Fun)->initialUpdates, TestForm(*s.frame, FormKind::PasswordEC)->initialUpdates),
              std::tuple(1, 2));

    for (int i : {0, 1})
        s.frame->ClickTreeItem(ItemByKey(Root(*s.frame), 17)->child(i));
    EXPECT_EQ(TestForm(*s.frame, FormKind::Scan)->indexesShown, (std::vector<std::uint32_t>{0, 1}));
}

TEST(MainFrameNavigation, CloseAllFormsKeepsThePasswordForm)
{
    ProgramDir dir(0);
    Session s(dir.path);
    int live = 0;
    RegisterTestForms(*s.frame, {FormKind::Fun, FormKind::Key, FormKind::Scan, FormKind::PasswordEC}, &live);
    for (int command : {Cmd::GeneralFunctions, Cmd::Keys, Cmd::ProgrammingPassword})
        s.frame->OnCommand(command);
    s.frame->Windows().OpenForm(FormKind::Scan);
    EXPECT_EQ(live, 4);

    s.frame->OnCommand(Cmd::Write);  // closes the forms before the transfer
    EXPECT_NE(s.frame->Windows().FormWindow(FormKind::PasswordEC), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(std::tuple(live, s.frame->ClientArea()->subWindowList().size()), std::tuple(1, 1));
}

TEST(MainFrameNavigation, RefreshZoneAndScanFormsPassesEveryRecordOnce)
{
    ProgramDir dir(0, {2, 2, 3, 1});
    Session s(dir.path);
    RegisterTestForms(*s.frame, {FormKind::Scan, FormKind::Zone});
    s.frame->Windows().OpenForm(FormKind::Zone);
    QPointer<CFormBase> before = s.frame->Windows().Form(FormKind::Zone);
    initialUpdateLog.clear();

    s.frame->Windows().RefreshZoneAndScanForms();
    EXPECT_EQ(initialUpdateLog, (FormLog{{FormKind::Scan, 0}, {FormKind::Scan, 1}, {FormKind::Scan, 2},
                                         {FormKind::Zone, 0}, {FormKind::Zone, 1}}));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(before.isNull() && s.frame->ClientArea()->subWindowList().isEmpty());
}

TEST(MainFrameNavigation, FormsAskForARebuildThatExpandsOnce)
{
    ProgramDir dir(0, {2, 2, 2, 2});
    Session s(dir.path);
    RegisterTestForms(*s.frame, {FormKind::Scan});
    s.frame->ClickTreeItem(ItemByKey(Root(*s.frame), 17)->child(1));
    TestForm(*s.frame, FormKind::Scan)->AddScanList();
    QTreeWidgetItem* scans = ItemByKey(Root(*s.frame), 17);
    EXPECT_TRUE(scans->childCount() == 3 && scans->isExpanded());

    // The next rebuild, when the main window gets the focus, collapses it again.
    s.frame->show();
    QApplication::setActiveWindow(s.frame.get());
    QCoreApplication::processEvents();
    ASSERT_TRUE(s.frame->isActiveWindow());
    EXPECT_FALSE(ItemByKey(Root(*s.frame), 17)->isExpanded());
}

TEST(MainFrameFiles, OpenLoadsTheFirstFileAndRebuildsTheTree)
{
    ProgramDir dir(0, {1, 1, 1, 1});
    Session s(dir.path);
    WriteCodeplug(dir.path / "a.VNTX", {9, 4, 3, 5}, 0xA1);
    WriteCodeplug(dir.path / "b.VNTX", {2, 2, 2, 2}, 0xB2);
    RegisterTestForms(*s.frame, {FormKind::Fun});
    s.frame->OnCommand(Cmd::GeneralFunctions);
    s.frame->Documents().OnFileOpen();  // cancelled: nothing changes, but the forms were closed
    EXPECT_EQ(s.frame->Windows().FormWindow(FormKind::Fun), nullptr);

    s.prompts->openAnswers.push_back({Q(dir.path / "a.VNTX"), Q(dir.path / "b.VNTX"), Q(dir.Default())});
    s.frame->Documents().OnFileOpen();
    EXPECT_EQ(std::tuple(s.app.Context().codeplug.RadioSettings[5] + 0, s.app.Context().currentFilePath, s.frame->windowTitle(),
                         ItemByKey(Root(*s.frame), 28)->childCount()),
              std::tuple(0xA1, dir.path / "a.VNTX", "ZR-74[0 NV系列] 客户版编程软件[" + Q(dir.path / "a.VNTX") + "]", 9));
}

// Missing and short files and a failed save change nothing.
TEST(MainFrameFiles, FailedOpenOrSaveLeavesPathTitleAndTreeAsTheyWere)
{
    ProgramDir dir(1, {4, 4, 2, 2});
    Session s(dir.path);
    const fs::path good = dir.path / "good.VNTX", shortFile = dir.path / "short.VNTX";
    WriteCodeplug(good, {6, 6, 2, 2}, 0x61);
    WriteWholeFile(shortFile, std::vector<std::uint8_t>(100, 0x11));
    s.prompts->openAnswers = {{Q(good)}, {Q(dir.path / "missing.VNTX")}, {Q(shortFile)}};
    for (int i = 0; i < 3; ++i)
        s.frame->Documents().OnFileOpen();
    s.prompts->saveAnswers.push_back(Q(dir.path / "no-such-folder" / "x.VNTX"));
    EXPECT_FALSE(s.frame->Documents().OnFileSaveAs());

    const auto& messages = s.prompts->messages;
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_TRUE(messages[0].text.contains("missing.VNTX"));
    EXPECT_EQ(messages[1].text, QText(s.app.Context().text, "RW_Str", 9));
    EXPECT_TRUE(messages[2].text.contains("no-such-folder"));
    EXPECT_EQ(std::tuple(s.app.Context().codeplug.RadioSettings[5] + 0, s.app.Context().currentFilePath, s.frame->windowTitle(),
                         ItemByKey(Root(*s.frame), 28)->childCount()),
              std::tuple(0x61, good, "ZR-74[0 NV][" + Q(good) + "]", 6));
}

TEST(MainFrameLanguage, ChoiceIsWrittenToSysDatForTheNextStart)
{
    ProgramDir dir(0);
    std::vector<std::uint8_t> settings(SystemSettings::kBytes, 0);
    settings[100] = 0x5A;  // a byte the program does not know survives the write
    WriteWholeFile(dir.path / "Sys.dat", settings);
    Session s(dir.path);
    s.frame->CommandAction(Cmd::LanguageEnglish)->trigger();
    const auto written = ReadBytes(dir.path / "Sys.dat");
    ASSERT_EQ(written.size(), SystemSettings::kBytes);
    EXPECT_EQ(std::tuple(written[32] + 0, written[100] + 0, s.prompts->messages.size()), std::tuple(1, 0x5A, 1u));
    EXPECT_TRUE(s.frame->CommandAction(Cmd::LanguageEnglish)->isChecked());
    EXPECT_EQ(s.app.Context().text.KeyBase(), 0);  // this run keeps its language
}
