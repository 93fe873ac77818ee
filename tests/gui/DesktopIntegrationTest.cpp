// Qt's own texts in the run's language, windows that fit a small laptop screen, the installed
// layout (data apart from the settings, where the language choice goes) and the help window.

#include "app/HelpWindow.h"
#include "tests/gui/TestSupport.h"

using namespace testsupport;

TEST(QtLanguage, StandardButtonsAndFileDialogFollowTheLanguage)
{
    const QStringList english = {"Cancel", "No", "Yes"};
    const struct { UiLanguage language; QStringList buttons; } rows[] = {
        {UiLanguage::Chinese, {"取消", "否(N)", "是(Y)"}}, {UiLanguage::English, english}, {UiLanguage::Other, english}};
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.language));
        QtTranslationsFor installed(row.language);
        const bool translated = row.buttons != english;
        EXPECT_EQ(installed.count > 0, translated) << "qt6-translations-l10n installed?";
        QMessageBox box(QMessageBox::Question, "t", "t", QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QStringList buttons;
        for (QAbstractButton* button : box.buttons())
            buttons << button->text().remove('&');
        buttons.sort();
        EXPECT_EQ(buttons, row.buttons);
        if (translated) {
            QFileDialog dialog;
            dialog.setOption(QFileDialog::DontUseNativeDialog);
            const QStringList labels = {dialog.labelText(QFileDialog::LookIn), dialog.labelText(QFileDialog::FileName),
                                        dialog.labelText(QFileDialog::Reject)};
            for (const QString& label : labels)
                EXPECT_TRUE(label.contains(QRegularExpression("[\\x{4e00}-\\x{9fff}]"))) << label.toStdString();
        }
    }
}

// The main window never larger than the screen's available area: maximised on a small laptop,
// its own size on a desktop. A form keeps its specified size where the client area holds it
// and scrolls where not.
TEST(ScreenFit, MainWindowAndFormsFitTheAvailableArea)
{
    EXPECT_EQ((std::vector{FormWindows::FittedFormSize({1000, 700}, {1160, 560}),
                           FormWindows::FittedFormSize({750, 500}, {1160, 560}),
                           FormWindows::FittedFormSize({750, 500}, {})}),
              (std::vector{QSize(1000, 560), QSize(750, 500), QSize(750, 500)}));
    ProgramDir dir(0);
    Session s(dir.path), wide(dir.path);
    const QRect laptop(0, 0, 1366, 728), desktop(0, 0, 1920, 1040);  // laptop: 1366 x 768 less a 40-pixel panel
    s.frame->ShowFitted(laptop);
    EXPECT_TRUE(s.frame->isMaximized());
    s.frame->showNormal();
    EXPECT_TRUE(s.frame->height() + 48 <= laptop.height() && laptop.contains(s.frame->geometry()));
    wide.frame->ShowFitted(desktop);
    EXPECT_EQ(std::tuple(wide.frame->isMaximized(), wide.frame->size()), std::tuple(false, QSize(1280, 860)));
    EXPECT_TRUE(desktop.contains(wide.frame->geometry()));

    s.frame->Windows().SetFormFactory(FormKind::Zone, [](FormContext& app) {
        auto* form = new CForm_TestRecord(app, FormKind::Zone);
        form->setMinimumSize(980, 680);  // a form that needs its whole specified size
        return form;
    });
    s.frame->resize(1300, 640);
    QCoreApplication::processEvents();
    s.frame->Windows().OpenForm(FormKind::Zone);
    QMdiSubWindow* window = s.frame->Windows().FormWindow(FormKind::Zone);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->size(), QSize(1000, s.frame->ClientArea()->viewport()->height()));
    CFormBase* form = s.frame->Windows().Form(FormKind::Zone);
    auto* scroller = qobject_cast<QScrollArea*>(window->widget());
    ASSERT_NE(scroller, nullptr);
    QCoreApplication::processEvents();
    EXPECT_TRUE(scroller->verticalScrollBar()->isVisible() && form->height() == 680);

    s.app.Navigation().Title(FormKind::Zone) = "Zone 2";
    s.frame->Windows().OpenForm(FormKind::Zone);
    EXPECT_EQ((QStringList{window->windowTitle(), form->windowTitle()}), (QStringList{"Zone 2", "Zone 2"}));
}

// Installed: texts and the default file from the data folder, Sys.dat in the user's folder. The
// language chosen in the menu is written there for the next start, a byte the program does not
// know surviving; this run keeps its language.
TEST(InstalledLayout, DataFromTheDataFolderSettingsInTheUsersFolder)
{
    ProgramDir data(1);  // its Sys.dat (English) is neither read nor written
    ProgramDir user(0, {}, /*withDefault=*/false);
    fs::remove(user.path / "Txt.ini");
    std::vector<std::uint8_t> settings(1024, 0);
    settings[100] = 0x5A;
    WriteWholeFile(user.path / "Sys.dat", settings);
    const auto dataSettings = ReadBytes(data.path / "Sys.dat");

    Session s(user.path, data.path);
    const AppContext& app = s.app.Context();
    EXPECT_TRUE(app.language == UiLanguage::Chinese && !app.text.GetText("Tree", 0).empty());
    EXPECT_TRUE(s.prompts->messages.empty());  // the default file was found
    EXPECT_EQ(std::tuple(app.codeplug.RadioSettings[5] + 0, app.currentFilePath), std::tuple(0xD0, data.Default()));
    s.frame->CommandAction(Cmd::LanguageEnglish)->trigger();
    const auto written = ReadBytes(user.path / "Sys.dat");
    ASSERT_EQ(written.size(), 1024u);
    EXPECT_EQ(std::tuple(written[32] + 0, written[100] + 0, s.prompts->messages.size(), app.text.KeyBase()),
              std::tuple(1, 0x5A, 1u, 0));
    EXPECT_TRUE(s.frame->CommandAction(Cmd::LanguageEnglish)->isChecked());
    EXPECT_EQ(ReadBytes(data.path / "Sys.dat"), dataSettings);
}

// Without Vantic.chm, Help shows the manual rendered, with its pictures, in a window of ours.
TEST(Help, ManualShownInAWindowWhenTheHelpFileIsMissing)
{
    ProgramDir dir(1);
    Session s(dir.path);
    s.frame->OnCommand(Cmd::Help);  // neither the help file nor a manual: nothing happens
    EXPECT_EQ(s.frame->HelpWindow(), nullptr);

    fs::copy(fs::path(ZR740_SOURCE_DIR) / "docs", dir.path / "docs", fs::copy_options::recursive);
    s.frame->OnCommand(Cmd::Help);
    auto* help = qobject_cast<CHelpWindow*>(s.frame->HelpWindow());
    ASSERT_NE(help, nullptr);
    const QString text = help->Browser()->toPlainText();  // rendered, not shown as source
    EXPECT_TRUE(help->isVisible() && text.startsWith("ZR-740 Programming Software") && !text.contains("## "))
        << text.left(80).toStdString();
    const QVariant picture =
        help->Browser()->document()->resource(QTextDocument::ImageResource, QUrl("images/main_en.png"));
    EXPECT_FALSE(picture.value<QImage>().isNull() && picture.value<QPixmap>().isNull());
    s.frame->OnCommand(Cmd::Help);
    EXPECT_EQ(s.frame->HelpWindow(), help) << "raised again, not opened twice";

    EXPECT_EQ(CHelpWindow::ManualPath(dir.path, true), dir.path / "docs" / "manual.zh_CN.md");
    fs::remove(dir.path / "docs" / "manual.zh_CN.md");
    EXPECT_EQ(CHelpWindow::ManualPath(dir.path, true), dir.path / "docs" / "manual.md");
}
