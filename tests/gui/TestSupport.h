#pragma once
// Helpers of the widget tests: a throw-away program directory and scripted user answers.
#include <QtWidgets>

#include <deque>
#include <future>

#include "app/CDialog_CheckFindings.h"
#include "app/CDialog_Exchange.h"
#include "app/CDialog_ImportPreview.h"
#include "app/CMainFrame.h"
#include "app/CVanticApp.h"
#include "app/CommandTable.h"
#include "app/DocumentCommands.h"
#include "app/FormFactories.h"
#include "app/FormWindows.h"
#include "app/QtLanguage.h"
#include "app/TransferCommands.h"
#include "app/UserPrompts.h"
#include "core/AppContext.h"
#include "forms/FormBase.h"
#include "forms/channels/CFORM_AnaCH.h"
#include "forms/channels/CForm_AnologCH.h"
#include "forms/channels/CForm_GroupCH.h"
#include "forms/channels/CForm_Scan.h"
#include "forms/channels/Encodings.h"
#include "forms/dmr/CFORM_DMR.h"
#include "forms/dmr/CFORM_DMR_Contact.h"
#include "forms/functions/CForm_Fun.h"
#include "forms/functions/CForm_Key.h"
#include "forms/functions/CFrom_PasswordEC.h"
#include "forms/functions/Form_Message.h"
#include "link/CDialog_MSComm.h"
#include "link/CDialog_RW.h"
#include "link/QtSerialPort.h"
#include "sim/VirtualRadio.h"
#include "tests/core/SessionBench.h"
#include "tests/core/SessionPrograms.h"
#include "tests/core/TestFiles.h"
#include "ui/CMSFlexGrid.h"
#include "ui/QtText.h"

// Texts in failure messages as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace testsupport {

namespace fs = std::filesystem;

inline QString Q(const fs::path& path) { return QString::fromStdString(path.string()); }

struct Counts { std::uint8_t digital = 3, analog = 2; std::uint32_t scanLists = 2, rxGroups = 2; };

// A valid codeplug file; `tag` goes into RadioSettings byte 5 to tell files apart after loading.
inline void WriteCodeplug(const fs::path& path, const Counts& counts, std::uint8_t tag = 0)
{
    Codeplug codeplug;
    SetCount(codeplug.DigitalChannelCount, counts.digital);
    SetCount(codeplug.AnalogChannelCount, counts.analog);
    SetCount(codeplug.ScanListCount, counts.scanLists);
    SetCount(codeplug.RxGroupCount, counts.rxGroups);
    codeplug.RadioSettings[5] = tag;
    PutLE16(codeplug.FunctionExtra, 3, 2048);
    if (!SaveCodeplugFile(codeplug, path).ok())
        throw std::runtime_error("cannot write test codeplug");
}

// Runs the event loop until the condition holds; false when the time ran out first.
template <typename Condition>
bool WaitFor(Condition condition, int timeoutMs = 8000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

// Typing into a box and leaving it: the box's own signal, or the focus-out event of a grid's editor.
inline void Type(QLineEdit* box, const QString& text)
{
    box->setText(text);
    emit box->editingFinished();
}
inline void TypeAndLeave(QLineEdit* editor, const QString& text)
{
    editor->setText(text);
    QFocusEvent out(QEvent::FocusOut, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(editor, &out);
}

// The texts looked up and not found, as "section key; ...".
inline std::string MissList(const TextCatalogue& text)
{
    std::string list;
    for (const auto& [section, key] : text.Misses())
        list += section + " " + std::to_string(key) + "; ";
    return list;
}

inline std::vector<std::uint8_t> ReadBytes(const fs::path& path)
{
    const std::string text = testfiles::ReadText(path);
    return {text.begin(), text.end()};
}

// A program directory with the real Txt.ini, a Sys.dat choosing `language` and a default file.
struct ProgramDir : testfiles::TempDir {
    explicit ProgramDir(std::uint8_t language = 0, const Counts& counts = {}, bool withDefault = true)
    {
        fs::copy_file(fs::path(ZR740_SOURCE_DIR) / "data" / "Txt.ini", path / "Txt.ini");
        std::vector<std::uint8_t> settings(SystemSettings::kBytes, 0);
        settings[SystemSettings::Language] = language;
        WriteWholeFile(path / "Sys.dat", settings);
        if (withDefault)
            WriteCodeplug(path / "Default.VNTX", counts, 0xD0);
    }
    fs::path Default() const { return path / "Default.VNTX"; }
    // The shipped default codeplug instead of the small one.
    void UseRealDefault() const { fs::copy_file(testfiles::kDefaultFile, Default(), fs::copy_options::overwrite_existing); }
};

// Answers given in order; every question is recorded.
class ScriptedPrompts : public IUserPrompts {
public:
    struct Message { QString caption, text; QMessageBox::Icon icon; };

    std::deque<QStringList> openAnswers;
    std::deque<QString> saveAnswers;
    std::deque<QMessageBox::StandardButton> questionAnswers;

    int saveAsked = 0;
    QStringList lastFilters;
    QString lastProposed;
    QString lastQuestion;
    std::vector<Message> messages;

    QStringList AskOpenPaths(QWidget*, const QStringList&) override { return Take(openAnswers, QStringList()); }
    QString AskSavePath(QWidget*, const QStringList& filters, const QString& proposed) override
    {
        ++saveAsked;
        lastFilters = filters;
        lastProposed = proposed;
        return Take(saveAnswers, QString());
    }
    QMessageBox::StandardButton AskYesNoCancel(QWidget*, const QString&, const QString& text) override
    {
        lastQuestion = text;
        return Take(questionAnswers, QMessageBox::Cancel);
    }
    void ShowMessage(QWidget*, const QString& caption, const QString& text, QMessageBox::Icon icon) override
    {
        messages.push_back({caption, text, icon});
    }
    // The messages shown so far, each as "caption: text".
    QStringList Said() const
    {
        QStringList said;
        for (const Message& m : messages)
            said << m.caption + ": " + m.text;
        return said;
    }

private:
    template <typename T>
    static T Take(std::deque<T>& queue, T fallback)
    {
        if (queue.empty())
            return fallback;
        T value = std::move(queue.front());
        queue.pop_front();
        return value;
    }
};

// One started application with its main window and scripted prompts; data from the program folder if none given.
struct Session {
    CVanticApp app;
    ScriptedPrompts* prompts = nullptr;
    std::unique_ptr<CMainFrame> frame;
    QStringList dialogsRun;  // class names of the modal radio dialogs the commands opened

    explicit Session(const fs::path& programDirectory, const fs::path& dataDirectory = {})
    {
        app.Start(programDirectory, dataDirectory);
        auto owned = std::make_unique<ScriptedPrompts>();
        prompts = owned.get();
        frame = std::make_unique<CMainFrame>(app, std::move(owned));
        frame->SetDialogRunner([this](QDialog& dialog) { dialogsRun << dialog.metaObject()->className(); });
    }
    // The form of `kind` in its window; a test whose form is not there fails at once.
    template <typename Form>
    Form* Shown(FormKind kind) const
    {
        if (auto* form = dynamic_cast<Form*>(frame->Windows().Form(kind)))
            return form;
        throw std::runtime_error("no form of kind " + std::to_string(static_cast<int>(kind)) + " is shown");
    }
    // File › Save As to `path` through the main window, and the saved file loaded back.
    bool SaveAsAndLoad(const fs::path& path, Codeplug& loaded)
    {
        prompts->saveAnswers.push_back(QString::fromStdString(path.string()));
        return frame->Documents().OnFileSaveAs() && LoadCodeplugFile(loaded, path).ok();
    }
    ~Session()
    {
        frame.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

// Every byte of the codeplug at random, as a file from outside might hold them.
inline void Randomize(Codeplug& codeplug, std::mt19937& random)
{
    for (BlockView block : BlocksInFileOrder(codeplug))
        for (std::uint8_t& b : block.bytes)
            b = static_cast<std::uint8_t>(random());
}

// Entries chosen in lists, one after another, as a user does.
inline void Choose(std::initializer_list<std::pair<QComboBox*, int>> choices)
{
    for (const auto& [list, index] : choices)
        list->setCurrentIndex(index);
}

// A row of a grid chosen and a button pressed, as a user does to add or remove a member.
inline void Pick(CMSFlexGrid& grid, int row, QPushButton& button)
{
    grid.SetRow(row);
    button.click();
}

// The texts of a grid's cells, given as (row, column).
inline QStringList Cells(const CMSFlexGrid& grid, std::initializer_list<std::pair<int, int>> cells)
{
    QStringList texts;
    for (const auto& [row, col] : cells)
        texts << grid.TextMatrix(row, col);
    return texts;
}

// Asks the main window to close, as the window manager does; true when it closes.
inline bool SendClose(CMainFrame& frame)
{
    QCloseEvent event;
    QApplication::sendEvent(&frame, &event);
    return event.isAccepted();
}

// A session with the program's own forms.
struct FormSession : Session {
    explicit FormSession(const fs::path& dir) : Session(dir) { InstallFormFactories(*frame); }
    Codeplug& Image() { return app.Context().codeplug; }
    // The form of `kind` opened on record `index`.
    template <typename Form>
    Form* Open(FormKind kind, std::uint32_t index = 0)
    {
        app.Navigation().Index(kind) = index;
        frame->Windows().OpenForm(kind);
        return Shown<Form>(kind);
    }
};

// The radio dialogs' bench: the virtual radio on an in-memory line behind a link (virtual time for
// the radio, real time for the dialogs), a started program directory, and the messages shown.
// With `gated`, the dialog's worker waits at the port until the test sets the gate.
struct DialogBench {
    explicit DialogBench(std::uint8_t language = 0, bool gated = false) : dir(language)
    {
        app->Start(dir.path);
        SerialPortFactory factory = bench.PortFactory();
        if (gated)
            factory = [inner = factory, gate = gate.get_future().share()] { return gate.wait(), inner(); };
        link = std::make_unique<CDialog_MSComm>(factory, bench.clock);
    }
    template <typename Dialog>
    Dialog& Watch(Dialog& dialog)
    {
        dialog.setMessageSink([this](const QString& caption, const QString& text) { messages.emplace_back(caption, text); });
        return dialog;
    }
    bool Reported(const char* section, int key) const
    {
        return !messages.empty() && messages.back().second == QText(app->text, section, key);
    }

    ProgramDir dir;
    RadioBench bench;
    std::promise<void> gate;
    std::unique_ptr<AppContext> app = std::make_unique<AppContext>();
    std::unique_ptr<CDialog_MSComm> link;
    std::vector<std::pair<QString, QString>> messages;
};

// Every initial update of a test form, in order: the form's kind and the record it showed.
using FormLog = std::vector<std::pair<FormKind, std::uint32_t>>;
inline FormLog initialUpdateLog;

// A small real form: edits byte 1 of the current scan list (record 0 for non-indexed kinds).
class CForm_TestRecord : public CFormBase {
public:
    CForm_TestRecord(FormContext& app, FormKind kind) : CFormBase(app, kind, "Tree")
    {
        value_ = new QSpinBox(this);
        value_->setRange(0, 255);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(value_);
        OnChange(value_, &QSpinBox::valueChanged);
        ++alive;
    }
    ~CForm_TestRecord() override { --alive; }

    inline static int alive = 0;  // test forms not yet deleted
    int shows = 0, commits = 0;

    QSpinBox* Value() const { return value_; }
    std::uint8_t& Field()
    {
        const auto last = static_cast<std::uint32_t>(CodeplugImage().ScanTable.kCapacity - 1);
        return CodeplugImage().ScanTable.record(std::min(CurrentIndex(), last))[1];
    }

    void OnInitialUpdate() override
    {
        CFormBase::OnInitialUpdate();
        initialUpdateLog.emplace_back(Kind(), CurrentIndex());
    }

    void AddScanList()  // as the scan-list form does
    {
        SetCount(CodeplugImage().ScanListCount, GetCount(CodeplugImage().ScanListCount) + 1);
        RequestTreeRebuild();
    }

protected:
    void InitialiseControls() override { value_->setValue(0); }  // would commit 0 if signals were not held back
    void ShowRecord() override
    {
        ++shows;
        value_->setValue(Field());
    }
    void Commit() override
    {
        ++commits;
        Field() = static_cast<std::uint8_t>(value_->value());
    }

private:
    QSpinBox* value_ = nullptr;
};

// Registers test forms for the given kinds.
inline void RegisterTestForms(CMainFrame& frame, std::initializer_list<FormKind> kinds)
{
    for (FormKind kind : kinds)
        frame.Windows().SetFormFactory(kind, [kind](FormContext& app) { return new CForm_TestRecord(app, kind); });
}

inline CForm_TestRecord* TestForm(const CMainFrame& frame, FormKind kind)
{
    return dynamic_cast<CForm_TestRecord*>(frame.Windows().Form(kind));
}

// Qt's own translations of a language installed while this lives, removed afterwards so that
// later tests see Qt's English.
struct QtTranslationsFor {
    explicit QtTranslationsFor(UiLanguage language)
        : count(InstallQtTranslations(*QCoreApplication::instance(), language, QtCatalogueFolders(QString())))
    {
    }
    ~QtTranslationsFor()
    {
        for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
        QLocale::setDefault(QLocale::c());
    }
    int count;
};

}  // namespace testsupport
