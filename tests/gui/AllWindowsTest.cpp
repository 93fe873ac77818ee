// Every form and dialog of the program opened in Chinese and in English, every entry of every
// choice list chosen once: no text may be missing from Txt.ini, every form must fit its
// specified size, and Tab must run down the form's columns. Forms are found through the
// registered factories, dialogs through the commands that open them, so windows added later are
// covered without changing this test.
//
// With ZR740_SHOTS=FOLDER every window is also saved as a picture (tools/screenshots).

#include <cstdlib>

#include "app/CAboutDlg.h"
#include "forms/CodeplugCheck.h"
#include "app/FileCommands.h"
#include "forms/foreign/ChirpCsv.h"
#include "link/SessionRules.h"
#include "ui/NameBox.h"
#include "tests/gui/TestSupport.h"

using namespace testsupport;

namespace {

const char* LanguageTag(std::uint8_t language) { return language == 0 ? "zh" : "en"; }

// Shows the window; with ZR740_SHOTS=FOLDER also saves its picture there.
void Shoot(QWidget& widget, const QString& name, std::uint8_t language)
{
    widget.show();
    const char* folder = std::getenv("ZR740_SHOTS");
    if (folder == nullptr)
        return;
    QCoreApplication::processEvents();
    widget.grab().save(QDir(QString::fromLocal8Bit(folder)).filePath(name + "_" + LanguageTag(language) + ".png"));
}

// Closes every modal box a choice opens (a refused value, a question) and keeps its text.
struct ModalCloser {
    ModalCloser()
    {
        timer.callOnTimeout([this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                texts << box->text();
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        timer.start(20);
    }
    QStringList texts;
    QTimer timer;
};

// Chooses every entry of every list once and puts the first choice back; also every tab.
void WalkChoices(QWidget& window)
{
    QList<QPointer<QComboBox>> lists;
    for (QComboBox* list : window.findChildren<QComboBox*>())
        lists << list;
    for (const QPointer<QComboBox>& list : lists) {
        const int original = list ? list->currentIndex() : -1;
        for (int i = 0; list && i < list->count(); ++i) {
            list->setCurrentIndex(i);
            if (list) {
                EXPECT_FALSE(list->itemText(i).isEmpty()) << list->objectName().toStdString() << " entry " << i;
            }
        }
        if (list && original >= 0)
            list->setCurrentIndex(original);
    }
    for (QTabWidget* tabs : window.findChildren<QTabWidget*>())
        for (int i = 0; i < tabs->count(); ++i)
            tabs->setCurrentIndex(i);
}

// Tab runs down each column: of two controls with the same left edge, the upper one is reached
// first. (A control created out of layout order lands at the end of the chain.)
void ExpectTabsRunDownColumns(QWidget& form)
{
    std::vector<std::pair<QWidget*, QPoint>> chain;
    for (QWidget* w = form.nextInFocusChain(); w != &form && chain.size() < 500; w = w->nextInFocusChain()) {
        if (form.isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(&form) && w->isEnabled())
            chain.emplace_back(w, w->mapTo(&form, QPoint(0, 0)));
    }
    for (std::size_t i = 0; i < chain.size(); ++i)
        for (std::size_t j = i + 1; j < chain.size(); ++j) {
            const QPoint a = chain[i].second, b = chain[j].second;
            EXPECT_FALSE(std::abs(a.x() - b.x()) <= 4 && a.y() > b.y())
                << chain[i].first->metaObject()->className() << " at " << a.x() << "," << a.y() << " comes before "
                << chain[j].first->metaObject()->className() << " at " << b.x() << "," << b.y();
        }
}

// Every name box stops taking characters once the name would not fit its field: 華 takes three
// bytes in the radio, so no 36-byte name holds 13 of them however few characters that is.
int TypeIntoNameBoxes(QWidget& window)
{
    int boxes = 0;
    for (QLineEdit* box : window.findChildren<QLineEdit*>()) {
        if (qobject_cast<const NameValidator*>(box->validator()) == nullptr)
            continue;
        ++boxes;
        const QString before = box->text();
        const QSignalBlocker quiet(box);
        box->clear();
        for (int i = 0; i < 30; ++i) {
            QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("華"));
            QApplication::sendEvent(box, &key);
        }
        const int taken = static_cast<int>(box->text().size());
        EXPECT_TRUE(taken == 12 || taken == 26) << box->objectName().toStdString() << " took " << taken;
        box->setText(before);
    }
    return boxes;
}

}  // namespace

TEST(AllWindows, EveryTextFoundAndEveryFormFitsInBothLanguages)
{
    for (std::uint8_t language : {0, 1}) {
        SCOPED_TRACE(LanguageTag(language));
        ProgramDir dir(language);
        dir.UseRealDefault();
        QtTranslationsFor qtTexts(LanguageFromSetting(language));
        ModalCloser closer;
        FormSession s(dir.path);
        s.frame->ShowFitted(QGuiApplication::primaryScreen()->availableGeometry());
        QCoreApplication::processEvents();
        Shoot(*s.frame, "main", language);
        for (QAction* popup : s.frame->menuBar()->actions()) {  // each menu of the bar, opened
            QMenu* menu = popup->menu();
            menu->popup(s.frame->mapToGlobal(QPoint(0, 0)));
            Shoot(*menu, "menu_" + QString::number(s.frame->menuBar()->actions().indexOf(popup)), language);
            menu->hide();
        }

        int nameBoxes = 0;
        for (std::size_t k = 0; k < kFormKindCount; ++k) {
            const auto kind = static_cast<FormKind>(k);
            const FormInfo& info = FormInfoOf(kind);
            SCOPED_TRACE(info.className);
            s.frame->Windows().OpenForm(kind);
            QPointer<QMdiSubWindow> window = s.frame->Windows().FormWindow(kind);
            ASSERT_NE(window, nullptr);
            // At its specified size the form needs no scrolling: nothing is cut off.
            window->showNormal();
            window->resize(info.width, info.height);
            QCoreApplication::processEvents();
            auto* scroller = qobject_cast<QScrollArea*>(window->widget());
            ASSERT_NE(scroller, nullptr);
            const QSize need = s.frame->Windows().Form(kind)->minimumSizeHint();
            EXPECT_TRUE(need.width() <= scroller->viewport()->width() && need.height() <= scroller->viewport()->height());
            Shoot(*window, info.className, language);
            ExpectTabsRunDownColumns(*s.frame->Windows().Form(kind));
            nameBoxes += TypeIntoNameBoxes(*window);
            WalkChoices(*window);
            s.frame->Windows().CloseForm(kind);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        EXPECT_EQ(nameBoxes, 8);  // channels (2), zone, scan list, contact, group list, radio alias, message

        // The dialogs the commands open, each shown, walked and closed; Write checks first, here a
        // codeplug with a few problems, and is told to go on.
        Codeplug& c = s.app.Context().codeplug;
        c.ScanTable.record(1)[90] = 2;
        c.DigitalChannelTable.record(0)[66] = 9;
        c.ZoneTable.record(1)[39] = 0;
        int dialogs = 0;
        s.frame->SetDialogRunner([&](QDialog& dialog) {
            ++dialogs;
            QString name = dialog.metaObject()->className();
            if (auto* transfer = qobject_cast<CDialog_RW*>(&dialog))
                name += transfer->mode() == CDialog_RW::Mode::Read ? "_read" : "_write";
            if (qobject_cast<CDialog_Exchange*>(&dialog))
                name += "_" + QString::number(dialogs);  // export, then import
            SCOPED_TRACE(name.toStdString());
            Shoot(dialog, name, language);
            ExpectTabsRunDownColumns(dialog);
            WalkChoices(dialog);
            if (auto* check = qobject_cast<CDialog_CheckFindings*>(&dialog)) {
                EXPECT_EQ(check->FindingList()->count(), 3);
                check->accept();
            }
            dialog.hide();
        });
        s.prompts->questionAnswers = {QMessageBox::No};  // the walk changed the codeplug: Read asks to save first
        for (int command : {Cmd::SetPort, Cmd::Read, Cmd::Write, Cmd::RadioInfo, Cmd::PasswordSet, Cmd::AdjustValue,
                            Cmd::FileExport, Cmd::FileImport, Cmd::FilePrint})
            s.frame->OnCommand(command);
        EXPECT_GE(dialogs, 3);

        // The import preview, opened by File › Import once a file is chosen, on a channel list
        // with rows that fit and rows that do not.
        const TextCatalogue& text = s.app.Context().text;
        {
            const std::string list = testfiles::ReadText(fs::path(ZR740_SOURCE_DIR) / "tests/data/foreign/repeaters.csv");
            CDialog_ImportPreview preview(text, "repeaters.csv", ReadChirpCsv(list), ImportMode::Append, s.app.Context().codeplug,
                                          s.frame.get());
            Shoot(preview, "CDialog_ImportPreview", language);
            ExpectTabsRunDownColumns(preview);
        }
        // Every tree item clicked, the close prompt, a file with a foreign marker and the language choice.
        for (QTreeWidgetItemIterator it(s.frame->Tree()); *it != nullptr; ++it)
            s.frame->ClickTreeItem(*it);
        s.prompts->questionAnswers = {QMessageBox::Cancel, QMessageBox::No};
        EXPECT_FALSE(SendClose(*s.frame));
        WriteWholeFile(dir.path / "foreign.VNTX", std::vector<std::uint8_t>(kCodeplugFileBytes, 0));
        s.prompts->openAnswers.push_back({Q(dir.path / "foreign.VNTX")});
        s.frame->Documents().OnFileOpen();
        s.frame->OnSetLanguage(language == 0 ? 1 : 0);
        EXPECT_EQ(s.prompts->messages.size(), 2u);
        for (const auto& message : s.prompts->messages)
            EXPECT_FALSE(message.caption.isEmpty() || message.text.isEmpty());
        // Messages: the transfer outcomes and the main window's own texts.
        for (std::uint32_t status = 0; status < 1024; ++status)
            if (const auto key = session::MessageKeyForStatus(status))
                text.GetText("RW_Str", *key);
        for (int key : {10, 11, 12, 40, 50, 51, 52, 53, 54, 55, 56, 57})
            text.GetText("Pub", key);
        // The names of undo steps: every verb and every target.
        for (int key : {10, 11, 12, 13, 14, 15, 20, 21, 22, 23, 24, 25, 26, 27, 28, 30, 31, 32, 33, 34, 35, 36, 37, 38,
                        40, 41, 42, 43, 44, 45})
            text.GetText("Edit", key);
        EXPECT_EQ(MissList(text), "");
        for (const QString& shown : closer.texts)
            EXPECT_FALSE(shown.isEmpty());

        // The windows Qt draws for us, in the run's language.
        CAboutDlg about(language == 0, s.frame.get());
        Shoot(about, "CAboutDlg", language);
        QMessageBox question(QMessageBox::Question, QText(text, "Pub", 10), QText(text, "Pub", 11),
                             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, s.frame.get());
        Shoot(question, "ClosePrompt", language);
        QFileDialog files(s.frame.get());
        files.setOption(QFileDialog::DontUseNativeDialog);
        QStringList filters;
        for (const std::string& filter : FileDialogFilters(text.GetText("Pub", 12)))
            filters << QString::fromStdString(filter);
        files.setNameFilters(filters);
        files.resize(900, 560);
        Shoot(files, "FileDialog", language);
        s.frame->hide();
    }
}

namespace {

// The widgets of a type a user can reach under `parent`, guarded: a use may delete some.
template <typename W>
QList<QPointer<W>> Visible(QWidget* parent)
{
    QList<QPointer<W>> found;
    for (W* w : parent->findChildren<W*>())
        if (w->isVisibleTo(parent))
            found << w;
    return found;
}

// Every control of a form used once: each entry of each list (chosen and activated), each box
// clicked twice, each text box typed into and left, each grid cell clicked with the editor it
// opens used, each button pressed. `after` runs after every single use.
void UseEveryControl(QWidget& form, const std::function<void(const QString&)>& after)
{
    const auto name = [](QObject* o) { return QString(o->metaObject()->className()) + " " + o->objectName(); };
    const auto useList = [&](QComboBox* list) {
        for (int i = 0; list != nullptr && i < list->count(); ++i) {
            list->setCurrentIndex(i);
            emit list->activated(i);
            after(name(list) + " entry " + QString::number(i));
        }
    };
    const auto useBox = [&](QLineEdit* box) {
        box->setText(box->text().isEmpty() ? QStringLiteral("7") : box->text().left(box->maxLength() - 1) + "7");
        emit box->editingFinished();
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(box, &out);
        after(name(box));
    };

    for (CMSFlexGrid* grid : form.findChildren<CMSFlexGrid*>()) {
        for (int row = 1; row < std::min(grid->Rows(), 4); ++row) {
            for (int col = 0; col < grid->Cols(); ++col) {
                grid->setCurrentCell(row - 1, col);
                emit grid->cellClicked(row - 1, col);
                after(name(grid) + QString(" cell %1,%2").arg(row).arg(col));
                for (const auto& list : Visible<QComboBox>(grid->viewport()))
                    useList(list.data());
                for (const auto& box : Visible<QLineEdit>(grid->viewport()))
                    if (box)
                        useBox(box);
            }
        }
    }
    for (const auto& list : Visible<QComboBox>(&form))
        useList(list.data());
    for (const auto& box : Visible<QCheckBox>(&form))
        for (int i = 0; box && i < 2; ++i) {
            box->click();
            after(name(box));
        }
    for (const auto& box : Visible<QLineEdit>(&form))
        if (box && !qobject_cast<QComboBox*>(box->parentWidget()))
            useBox(box);
    for (const auto& button : Visible<QPushButton>(&form))
        if (button && button->isEnabled()) {
            button->click();
            after(name(button) + " " + button->text());
        }
}

}  // namespace

// Whatever a form changes (the codeplug, or the VOX, monitor and alarm tables of the run), the
// main window knows at once: its undo history holds exactly the new state and the title shows
// the modified mark, with no focus change in between. On random bytes, as a codeplug from
// outside may hold them, every form shows a record inside or past its table and every control
// of it can be used (the address sanitizer watches the tables).
TEST(AllWindows, EveryChangeAFormMakesReachesTheMainWindowAndRandomImagesStayInTheTables)
{
    ModalCloser closer;
    std::mt19937 random(740);
    for (const bool randomImages : {false, true}) {
        SCOPED_TRACE(randomImages ? "random images" : "the shipped default");
        ProgramDir dir(randomImages ? 0 : 1);
        if (!randomImages)
            dir.UseRealDefault();
        FormSession s(dir.path);
        const AppContext& context = s.app.Context();
        for (std::size_t k = 0; k < kFormKindCount; ++k) {
            const auto kind = static_cast<FormKind>(k);
            SCOPED_TRACE(FormInfoOf(kind).className);
            if (randomImages) {
                Randomize(s.Image(), random);
                s.app.Navigation().Index(kind) = k % 2 == 0 ? 3 : 40;
            }
            s.frame->Windows().OpenForm(kind);
            CFormBase* form = s.frame->Windows().Form(kind);
            ASSERT_NE(form, nullptr);
            auto seen = std::make_unique<DocumentState>(CaptureDocument(context));
            int changes = 0;
            UseEveryControl(*form, [&](const QString& what) {
                if (randomImages)
                    return;
                const auto now = std::make_unique<DocumentState>(CaptureDocument(context));
                if (*now == *seen)
                    return;
                ++changes;
                *seen = *now;
                EXPECT_TRUE(*now == s.frame->Documents().History().Current()) << what.toStdString();
                EXPECT_EQ(s.frame->Documents().IsModified(), s.frame->windowTitle().endsWith(" *"))
                    << what.toStdString();
                // Whatever a form stores is a codeplug the check has nothing against.
                const auto findings = CheckCodeplug(context.codeplug);
                EXPECT_EQ(CountErrors(findings), 0u) << what.toStdString() << ": " << findings.front().Text();
            });
            EXPECT_TRUE(randomImages || changes > 0);
            s.frame->Windows().CloseForm(kind);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
}
