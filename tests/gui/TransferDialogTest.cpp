// The transfer dialog driven as a user would: against the virtual radio in memory (virtual time
// for the radio, real time for the dialog's timers), and once through the Qt serial port and
// zr740sim on a pseudo-terminal.

#include "tests/gui/TestSupport.h"

using namespace session_test;
using testsupport::WaitFor;
using Mode = CDialog_RW::Mode;
namespace st = session::status;

namespace {

void PressKey(QWidget* target, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
}

struct TransferBench : testsupport::DialogBench {
    using DialogBench::DialogBench;
    std::unique_ptr<CDialog_RW> Open(Mode mode, CDialog_MSComm* realLink = nullptr)
    {
        auto dialog = std::make_unique<CDialog_RW>(*app, realLink ? *realLink : *link, state, mode);
        if (!realLink)  // the in-memory line has no device to test
            dialog->setPortTest([] { return true; });
        Watch(*dialog);
        dialog->setDateSource([] { return session::Date{2024, 3, 7}; });
        return dialog;
    }
    TransferState state;
};

}  // namespace

TEST(TransferDialog, ReadCannotBeClosedWhileRunningAndReports)
{
    TransferBench b(0, /*gated=*/true);
    b.bench.radio.LoadCodeplug(*FullImage(1));
    auto d = b.Open(Mode::Read);
    d->show();
    EXPECT_EQ(d->progressBar()->maximum(), 400);
    d->startButton()->click();
    EXPECT_FALSE(d->startButton()->isEnabled() || d->exitButton()->isEnabled());
    PressKey(d.get(), Qt::Key_Escape);
    EXPECT_FALSE(d->close());
    d->reject();
    PressKey(d.get(), Qt::Key_Return);  // start is disabled: ignored, and Enter never closes
    EXPECT_TRUE(d->isVisible());
    b.gate.set_value();
    ASSERT_TRUE(WaitFor([&] { return !b.messages.empty(); }));
    EXPECT_TRUE(!d->isVisible() && d->result() == QDialog::Accepted);
    ASSERT_EQ(b.messages.size(), 1u);  // one read, not two
    EXPECT_TRUE(b.Reported("RW_Str", 19) && d->lastMessageIcon() == QMessageBox::Information);
    EXPECT_EQ(b.app->codeplug.ContactTable.bytes, FullImage(1)->ContactTable.bytes);

    auto unusable = b.Open(Mode::Write);
    unusable->setPortTest([] { return false; });
    EXPECT_EQ(unusable->exec(), QDialog::Rejected);
    EXPECT_TRUE(b.Reported("RW_Str", 18) && unusable->lastMessageIcon() == QMessageBox::Warning);

    // A port that will not open fails the transfer: a warning, and the buttons come back.
    SystemClock clock;
    CDialog_MSComm deadLink([]() -> std::unique_ptr<SerialPort> { return nullptr; }, clock);
    auto failing = b.Open(Mode::Read, &deadLink);
    failing->setPortTest([] { return true; });
    failing->show();
    failing->startButton()->click();
    ASSERT_TRUE(WaitFor([&] { return failing->startButton()->isEnabled(); }));
    EXPECT_EQ(std::tuple(b.messages.size(), failing->lastMessageIcon()), std::tuple(3u, QMessageBox::Warning));
}

// Enter starts; the password field (every visible control given the room it asks for, in the
// second language); Escape closes the port the retry kept open.
TEST(TransferDialog, EnterStartsPasswordFieldOnAProtectedRadioAndThePortClosedOnEscape)
{
    TransferBench b(1);
    b.bench.radio.LoadCodeplug(*FullImage(1));
    b.bench.radio.SetProgrammingPassword("12345678");
    auto d = b.Open(Mode::Write);
    d->show();
    PressKey(d.get(), Qt::Key_Return);
    ASSERT_TRUE(WaitFor([&] { return d->passwordEdit()->isVisible(); }));
    EXPECT_TRUE(b.messages.empty());
    for (QWidget* w : d->findChildren<QWidget*>()) {
        if (w->isVisible()) {
            EXPECT_GE(w->width(), w->minimumSizeHint().width()) << w->metaObject()->className();
        }
    }
    d->passwordEdit()->setText("1234567");
    PressKey(d->passwordEdit(), Qt::Key_Return);
    ASSERT_TRUE(WaitFor([&] { return d->startButton()->isEnabled(); }));
    EXPECT_EQ(std::tuple(b.state.TransferStatus.load(), std::string(b.state.PasswordEntry.begin(), b.state.PasswordEntry.begin() + 8),
                         b.bench.line.HostOpen()),
              std::tuple(st::PasswordWanted, std::string("01234567"), true));
    PressKey(d.get(), Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible() || b.bench.line.HostOpen());
}

// Damage on every reply fails with its own message; damage on every third reply is repaired,
// and the completion message says how many replies were asked for again (a full read takes 142
// good record replies: 70 repeats, see LinkIntegrity).
TEST(TransferDialog, DamagedAnswersHaveTheirOwnMessageAndRepeatsAreCounted)
{
    const struct { int every; std::uint32_t status; const char* message; } rows[] = {
        {1, st::Damaged, "The radio's answers arrived damaged (cut short, mismatched or with a wrong check byte)."},
        {3, st::ReadDone, "Read completed.\n\n70 replies arrived damaged and were asked for again."},
    };
    for (const auto& row : rows) {
        TransferBench b(1);
        b.bench.radio.LoadCodeplug(*FullImage(1));
        b.bench.radio.faults().foreignRecord = true;
        b.bench.radio.faults().damageEvery = row.every;
        auto d = b.Open(Mode::Read);
        d->show();
        d->startButton()->click();
        ASSERT_TRUE(WaitFor([&] { return !b.messages.empty(); }));
        EXPECT_TRUE(b.messages.back().second.startsWith(row.message)) << b.messages.back().second.toStdString();
        EXPECT_EQ(b.state.TransferStatus, row.status);
    }
}

// As the desktop program runs it: the Qt serial port created on the dialog's worker thread,
// zr740sim named COM1 in the program directory, the real port test, real time. The password
// retry continues on the port the first attempt left open, on the same thread.
TEST(TransferDialogRealPort, ReadsAProtectedRadioThroughComOne)
{
    TransferBench b;
    const fs::path dir = b.dir.path;
    auto source = FullImage(1);
    SetListCounts(*source, 2, 1, 1, 1, 1, 1);
    ASSERT_TRUE(SaveCodeplugFile(*source, dir / "radio.VNTX").ok());
    Sim sim({"--load", (dir / "radio.VNTX").string(), "--link-dir", dir.string(), "--com", "1", "--password", "4321"});

    static QStringList warnings;  // a worker-thread misuse of the Qt port shows up as a warning
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type != QtDebugMsg && type != QtInfoMsg && !text.contains("propagateSizeHints"))  // the offscreen platform's
            warnings << text;
    });
    SystemClock clock;
    CDialog_MSComm link(QtSerialPortFactory(), clock);
    // Port 0 was never chosen: it is no port, although COM1 would answer.
    b.app->settings.bytes[SystemSettings::PortNumber] = 0;
    EXPECT_EQ(b.Open(Mode::Read, &link)->exec(), QDialog::Rejected);
    EXPECT_TRUE(b.Reported("RW_Str", 18));
    b.messages.clear();
    b.app->settings.bytes[SystemSettings::PortNumber] = 1;
    {
        auto d = b.Open(Mode::Read, &link);
        ASSERT_TRUE(d->PortUsable());
        d->show();
        d->startButton()->click();
        ASSERT_TRUE(WaitFor([&] { return d->passwordEdit()->isVisible(); }, 20000));
        d->passwordEdit()->setText("4321");
        // The bar as the user sees it: the part filled at every change.
        std::vector<double> filled;
        QObject::connect(d->progressBar(), &QProgressBar::valueChanged, d.get(), [&](int value) {
            filled.push_back(static_cast<double>(value) / d->progressBar()->maximum());
        });
        d->startButton()->click();
        ASSERT_TRUE(WaitFor([&] { return !b.messages.empty(); }, 30000));
        EXPECT_TRUE(b.Reported("RW_Str", 19));
        ASSERT_FALSE(filled.empty());
        EXPECT_TRUE(std::is_sorted(filled.begin(), filled.end()) && filled.back() == 1.0) << "the bar never goes back";
        const std::set<double> partway(std::find_if(filled.begin(), filled.end(), [](double f) { return f > 0; }),
                                       std::find(filled.begin(), filled.end(), 1.0));
        EXPECT_GE(partway.size(), 3u) << "the bar moves along with the records";
    }
    qInstallMessageHandler(previous);
    EXPECT_TRUE(!link.IsPortOpen() && warnings.isEmpty()) << warnings.join("\n").toStdString();
    EXPECT_EQ(b.app->codeplug.RadioSettings, source->RadioSettings);
}

// A read from the main window whose backup cannot be saved (the data folder is a file): the data
// read stay in the window as unsaved changes, and the message says so.
TEST(TransferDialogRealPort, ReadWhoseBackupFailsStaysOpenUnsaved)
{
    testsupport::ProgramDir dir(1);
    auto source = FullImage(1);
    SetListCounts(*source, 2, 1, 1, 1, 1, 1);
    ASSERT_TRUE(SaveCodeplugFile(*source, dir.path / "radio.VNTX").ok());
    Sim sim({"--load", (dir.path / "radio.VNTX").string(), "--link-dir", dir.path.string(), "--com", "1"});
    std::vector<std::uint8_t> settings(SystemSettings::kBytes, 0);
    ASSERT_TRUE(ReadWholeFile(dir.path / "Sys.dat", settings));
    settings[SystemSettings::PortNumber] = 1;
    ASSERT_TRUE(WriteWholeFile(dir.path / "Sys.dat", settings));
    std::ofstream(dir.path / "not-a-folder") << "x";
    const QByteArray data = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString((dir.path / "not-a-folder").string()));
    {
        testsupport::Session s(dir.path);
        s.frame->SetDialogRunner([](QDialog& dialog) {
            auto& d = dynamic_cast<CDialog_RW&>(dialog);
            d.setMessageSink([](const QString&, const QString&) {});
            d.fastLinkBox()->setChecked(true);
            d.show();
            d.startButton()->click();
            WaitFor([&] { return !d.isVisible(); }, 20000);
        });
        s.frame->Transfers().OnRead();
        ASSERT_EQ(s.prompts->messages.size(), 1u);
        EXPECT_TRUE(s.prompts->messages[0].text.contains("backup could not be saved") &&
                    s.prompts->messages[0].text.contains("The data read stay open in the program, not yet saved"));
        EXPECT_EQ(Slice(s.app.Context().codeplug.DigitalChannelTable.bytes, 0, 2 * 82),
                  Slice(source->DigitalChannelTable.bytes, 0, 2 * 82));
        EXPECT_TRUE(s.frame->Documents().IsModified());
    }
    qputenv("XDG_DATA_HOME", data);
}

// The increment box and the fast link box (off at first, kept in Sys.dat byte 64) outlive the
// dialog; the write takes the radio ID from its field and, over the fast link, far less time on
// the virtual radio's clock than a paced write.
TEST(TransferDialog, BoxesOutliveTheDialogAndTheWriteTakesTheIdFromItsFieldOverTheFastLink)
{
    TransferBench b(1);
    b.bench.radio.LoadCodeplug(*FullImage(5));
    b.app->codeplug = *FullImage(1);
    SetRadioId(b.app->codeplug, 0x00001009);
    {
        auto d = b.Open(Mode::Write);
        EXPECT_EQ(d->radioIdEdit()->text(), "1009");
        EXPECT_FALSE(d->fastLinkBox()->isChecked() || d->fastLinkBox()->text().isEmpty());
        d->incrementBox()->click();
        d->fastLinkBox()->click();
    }
    std::array<std::uint8_t, 1024> saved{};
    ASSERT_TRUE(ReadWholeFile(b.app->SettingsPath(), saved));
    AppContext reopened;
    reopened.settings.Load(b.app->SettingsPath());
    EXPECT_TRUE(saved[64] == 1 && reopened.settings.fastLink());

    auto d = b.Open(Mode::Write);
    d->show();
    EXPECT_TRUE(d->incrementBox()->isChecked() && d->fastLinkBox()->isChecked() && d->radioIdEdit()->text() == "1010");
    d->radioIdEdit()->setText("1234567");
    d->startButton()->click();
    EXPECT_EQ(std::tuple(d->progressBar()->maximum(), d->fastLinkBox()->isEnabled()), std::tuple(500, false));
    ASSERT_TRUE(WaitFor([&] { return !b.messages.empty(); }) && b.link->FastLink());
    EXPECT_TRUE(b.Reported("RW_Str", 22));
    EXPECT_EQ(Slice(b.bench.radio.Records(0xF2)[0], 1, 4), (Wire{0x01, 0x23, 0x45, 0x67}));
    // A paced full write waits at least 200 ms for each of its 140-odd requests.
    EXPECT_LT(b.bench.clock.Elapsed(), std::chrono::seconds(15));
}
