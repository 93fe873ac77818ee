// The main window: start-up by language and with files missing, tree clicks, forms, file commands.

#include "TestSupport.h"

using namespace testsupport;

namespace {

// The item under the tree's root whose label is text `key` of section "Tree".
QTreeWidgetItem* ItemByKey(const CMainFrame& frame, int key)
{
    QTreeWidgetItem* root = frame.Tree()->topLevelItem(0);
    for (int i = 0; i < root->childCount(); ++i)
        if (root->child(i)->data(0, CMainFrame::kTextKeyRole).toInt() == key)
            return root->child(i);
    return nullptr;
}

}  // namespace

// Language 0 and 1 choose their title, menus and text key base; any other value gets Chinese
// menus, the English title and a key base the language file holds no texts for.
TEST(MainFrameStart, LanguageValuesChooseTitleMenusAndTextsAndMissingFilesAreNamed)
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
                             ItemByKey(*s.frame, 28)->text(0)),
                  std::tuple(r.title, r.firstMenu, r.keyBase, r.digitalLabel));
        // The default file was loaded, without a word.
        EXPECT_TRUE(s.app.Context().codeplug.RadioSettings[5] == 0xD0 && s.prompts->messages.empty()) << int(r.language);
    }

    // A missing default file or language file is named at start, and the program starts anyway.
    ProgramDir noDefault(1, {}, false), noTexts(1), textsFolder(1);
    fs::remove(noTexts.path / "Txt.ini");
    fs::remove(textsFolder.path / "Txt.ini");
    fs::create_directory(textsFolder.path / "Txt.ini");  // there, but not a file
    const struct { const ProgramDir& dir; QStringList says; int digitalChannels; } missing[] = {
        {noDefault, {Q(noDefault.Default())}, 1},  // zero counts repaired
        {noTexts, {Q(noTexts.path / "Txt.ini"), "cannot be read"}, 3},
        {textsFolder, {"Is a directory"}, 3},
    };
    for (const auto& row : missing) {
        Session s(row.dir.path);
        const QStringList said = s.prompts->Said();
        ASSERT_EQ(said.size(), 1) << row.says.join(", ").toStdString();
        for (const QString& part : row.says)
            EXPECT_TRUE(said[0].contains(part)) << said[0].toStdString();
        EXPECT_EQ(ItemByKey(*s.frame, 28)->childCount(), row.digitalChannels);
    }
}

// A click on a numbered item opens its form on that record, in one window per form titled after
// the item; a group node opens nothing; a form asking for a rebuild gets the branch expanded
// once; the zone and scan forms refreshed pass every record once and close.
TEST(MainFrameNavigation, TreeClicksOpenOneWindowPerFormOnTheRecordClicked)
{
    ProgramDir dir(0, {16, 2, 2, 2});
    Session s(dir.path);
    RegisterTestForms(*s.frame, {FormKind::DigitalChannel, FormKind::PasswordEC, FormKind::Scan, FormKind::Zone});
    initialUpdateLog.clear();
    s.frame->OnCommand(Cmd::Channel);  // before any click: record 0 and an empty title
    QMdiSubWindow* window = s.frame->Windows().FormWindow(FormKind::DigitalChannel);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QString());
    QTreeWidgetItem* digital = ItemByKey(*s.frame, 28);
    ASSERT_EQ(digital->childCount(), 16);

    s.frame->ClickTreeItem(digital->child(4));
    EXPECT_EQ(std::tuple(s.app.Navigation().Index(FormKind::DigitalChannel), window->windowTitle(), window->geometry()),
              std::tuple(4u, QString("数字信道 05"), QRect(0, 0, 800, 650)));
    s.frame->ClickTreeItem(digital->child(11));
    EXPECT_EQ(std::tuple(s.frame->Windows().FormWindow(FormKind::DigitalChannel), window->windowTitle(),
                         s.frame->ClientArea()->subWindowList().size()),
              std::tuple(window, QString("数字信道 12"), 1));
    s.frame->ClickTreeItem(digital);  // a group node opens nothing
    s.frame->ClickTreeItem(ItemByKey(*s.frame, 36));  // the password item's label is the title
    EXPECT_EQ(s.frame->Windows().FormWindow(FormKind::PasswordEC)->windowTitle(), "写频加密");
    for (int i : {0, 1})
        s.frame->ClickTreeItem(ItemByKey(*s.frame, 17)->child(i));
    EXPECT_EQ(initialUpdateLog, (FormLog{{FormKind::DigitalChannel, 0}, {FormKind::DigitalChannel, 4},
                                         {FormKind::DigitalChannel, 11}, {FormKind::PasswordEC, 0},
                                         {FormKind::Scan, 0}, {FormKind::Scan, 1}}));

    TestForm(*s.frame, FormKind::Scan)->AddScanList();
    EXPECT_TRUE(ItemByKey(*s.frame, 17)->childCount() == 3 && ItemByKey(*s.frame, 17)->isExpanded());
    // The next rebuild, when the main window gets the focus, collapses it again.
    s.frame->show();
    QApplication::setActiveWindow(s.frame.get());
    QCoreApplication::processEvents();
    ASSERT_TRUE(s.frame->isActiveWindow());
    EXPECT_FALSE(ItemByKey(*s.frame, 17)->isExpanded());

    s.frame->Windows().OpenForm(FormKind::Zone);
    QPointer<CFormBase> zone = s.frame->Windows().Form(FormKind::Zone);
    initialUpdateLog.clear();
    s.frame->Windows().RefreshZoneAndScanForms();
    EXPECT_EQ(initialUpdateLog, (FormLog{{FormKind::Scan, 0}, {FormKind::Scan, 1}, {FormKind::Scan, 2},
                                         {FormKind::Zone, 0}, {FormKind::Zone, 1}}));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(zone.isNull() && s.frame->ClientArea()->subWindowList().size() == 2);  // the channel and the password
}

// Each form command opens its form; opened again, only the indexed forms show their record
// anew. A transfer closes every form but the password form; Write shows what the check found
// first, as the bare test codeplug does not pass it.
TEST(MainFrameNavigation, EachFormCommandOpensItsFormAndATransferClosesAllButThePassword)
{
    ProgramDir dir(0);
    Session s(dir.path);
    const std::pair<int, FormKind> rows[] = {
        {32791, FormKind::Fun}, {32793, FormKind::Key}, {32854, FormKind::Vox}, {32857, FormKind::MonitorCh},
        {32834, FormKind::DigitalChannel}, {32864, FormKind::AnalogChannel}, {32824, FormKind::Dmr},
        {32825, FormKind::DmrContact}, {32827, FormKind::DmrRxGrpList}, {32866, FormKind::Message},
        {32901, FormKind::DigitalEmergAlarm}, {32902, FormKind::AnalogEmergAlarm}, {32868, FormKind::PasswordEC},
    };
    for (const auto& [command, kind] : rows) {
        SCOPED_TRACE(command);
        RegisterTestForms(*s.frame, {kind});
        s.frame->OnCommand(command);
        EXPECT_NE(s.frame->Windows().FormWindow(kind), nullptr);
    }
    EXPECT_EQ(std::tuple(CForm_TestRecord::alive, s.frame->ClientArea()->subWindowList().size()), std::tuple(13, 13));
    initialUpdateLog.clear();
    for (const auto& [command, kind] : rows)
        s.frame->OnCommand(command);
    EXPECT_EQ(initialUpdateLog, (FormLog{{FormKind::DigitalChannel, 0}, {FormKind::AnalogChannel, 0},
                                         {FormKind::DmrRxGrpList, 0}, {FormKind::PasswordEC, 0}}));

    s.frame->OnCommand(Cmd::Write);
    EXPECT_NE(s.frame->Windows().FormWindow(FormKind::PasswordEC), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(std::tuple(CForm_TestRecord::alive, s.frame->ClientArea()->subWindowList().size()), std::tuple(1, 1));
    for (int command : {Cmd::SetPort, Cmd::Read, Cmd::RadioInfo, Cmd::PasswordSet, Cmd::AdjustValue})
        s.frame->OnCommand(command);
    EXPECT_EQ(s.dialogsRun, (QStringList{"CDialog_CheckFindings", "CDialog_SetComPort", "CDialog_RW",
                                         "CDialog_RadioInfo", "CDIALOG_PassWord", "CDialog_ADJ"}));
}

// Open takes the first of the files chosen and rebuilds the tree (a cancelled Open only closes
// the forms); missing and short files and a failed save change nothing.
TEST(MainFrameFiles, OpenTakesTheFirstFileAndFailuresLeavePathTitleAndTreeAsTheyWere)
{
    ProgramDir dir(1, {4, 4, 2, 2});
    Session s(dir.path);
    const fs::path good = dir.path / "good.VNTX", shortFile = dir.path / "short.VNTX";
    WriteCodeplug(good, {6, 6, 2, 2}, 0x61);
    WriteWholeFile(shortFile, std::vector<std::uint8_t>(100, 0x11));
    RegisterTestForms(*s.frame, {FormKind::Fun});
    s.frame->OnCommand(Cmd::GeneralFunctions);
    s.frame->Documents().OnFileOpen();  // cancelled
    EXPECT_EQ(std::tuple(s.frame->Windows().FormWindow(FormKind::Fun), s.app.Context().codeplug.RadioSettings[5] + 0),
              std::tuple(nullptr, 0xD0));
    const QStringList firstOfThree = {Q(good), Q(shortFile), Q(dir.Default())};
    s.prompts->openAnswers = {firstOfThree, {Q(dir.path / "missing.VNTX")}, {Q(shortFile)}};
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
                         ItemByKey(*s.frame, 28)->childCount()),
              std::tuple(0x61, good, "ZR-74[0 NV][" + Q(good) + "]", 6));
}
