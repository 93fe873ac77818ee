// The transfer dialog driven as a user would: against the virtual radio in memory (virtual time
// for the radio, real time for the dialog's timers), and once through the Qt serial port and
// zr740sim on a pseudo-terminal.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <future>

#include "app/AppContext.h"
#include "app/QtText.h"
#include "link/CDialog_RW.h"
#include "link/QtSerialPort.h"
#include "tests/core/SessionBench.h"
#include "tests/core/SessionPrograms.h"

using namespace session_test;
using Mode = CDialog_RW::Mode;
namespace st = session::status;

namespace {

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

void PressKey(QWidget* target, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
}

// A port whose Open waits until the test lets it through: a transfer that runs as long as needed.
class GatedPort final : public SerialPort {
public:
    GatedPort(std::unique_ptr<SerialPort> inner, std::shared_future<void> gate) : inner_(std::move(inner)), gate_(gate) {}
    bool Open(const std::string& device) override { return gate_.wait(), inner_->Open(device); }
    void Close() override { inner_->Close(); }
    bool IsOpen() const override { return inner_->IsOpen(); }
    std::size_t BytesWaiting() override { return inner_->BytesWaiting(); }
    std::vector<std::uint8_t> ReadAll() override { return inner_->ReadAll(); }
    bool Write(std::span<const std::uint8_t> bytes) override { return inner_->Write(bytes); }

private:
    std::unique_ptr<SerialPort> inner_;
    std::shared_future<void> gate_;
};

struct DialogBench {
    explicit DialogBench(int keyBase = 0, bool gated = false)
    {
        app->text.LoadFile(std::filesystem::path(ZR740_SOURCE_DIR) / "data" / "Txt.ini");
        app->text.SetKeyBase(keyBase);
        SerialPortFactory factory = bench.PortFactory();
        if (gated)
            factory = [inner = factory, gate = gate.get_future().share()] { return std::make_unique<GatedPort>(inner(), gate); };
        link = std::make_unique<CDialog_MSComm>(factory, bench.clock);
    }

    std::unique_ptr<CDialog_RW> Open(Mode mode, CDialog_MSComm* otherLink = nullptr)
    {
        auto dialog = std::make_unique<CDialog_RW>(*app, otherLink ? *otherLink : *link, state, mode);
        if (!otherLink)  // the in-memory line has no device to test; a real link keeps the real test
            dialog->setPortTest([] { return true; });
        dialog->setMessageSink([this](const QString& caption, const QString& text) { messages.emplace_back(caption, text); });
        dialog->setDateSource([] { return session::Date{2024, 3, 7}; });
        return dialog;
    }
    QString Text(const char* section, int key) const { return QText(app->text, section, key); }
    bool Reported(const char* section, int key) const { return !messages.empty() && messages.back().second == Text(section, key); }

    RadioBench bench;
    std::promise<void> gate;
    std::unique_ptr<AppContext> app = std::make_unique<AppContext>();
    std::unique_ptr<CDialog_MSComm> link;
    TransferState state;
    std::vector<std::pair<QString, QString>> messages;
};

}  // namespace

TEST(TransferDialog, OpensWithItsTextsClearsThePendingStateAndTestsThePort)
{
    DialogBench b;
    b.state.PasswordEntry.fill('9');
    b.state.ReadPasswordPending = b.state.WritePasswordPending = 1;
    auto d = b.Open(Mode::Read);
    d->show();
    EXPECT_EQ(d->windowTitle(), b.Text("RW_Str", 1));
    EXPECT_EQ(d->startButton()->text(), b.Text("RW_Str", 2));
    EXPECT_EQ(d->exitButton()->text(), b.Text("RW_Str", 4));
    EXPECT_FALSE(d->passwordEdit()->isVisible());
    EXPECT_FALSE(d->radioIdEdit()->isVisible());
    EXPECT_EQ(d->passwordEdit()->maxLength(), 8);
    EXPECT_EQ(d->progressBar()->maximum(), 400);
    EXPECT_EQ(b.state.ReadPasswordPending + b.state.WritePasswordPending, 0);
    EXPECT_EQ(b.state.PasswordEntry, session::PasswordEntryBytes{});
    EXPECT_EQ(b.state.TransferStatus, st::Idle);

    auto unusable = b.Open(Mode::Write);
    unusable->setPortTest([] { return false; });
    EXPECT_EQ(unusable->exec(), QDialog::Rejected);
    ASSERT_EQ(b.messages.size(), 1u);
    EXPECT_EQ(b.messages[0], std::pair(b.Text("Pub", 10), b.Text("RW_Str", 18)));
}

TEST(TransferDialog, ReadReplacesTheImageClosesAndReports)
{
    DialogBench b;
    auto source = FullImage(1);
    b.bench.radio.LoadCodeplug(*source);
    auto d = b.Open(Mode::Read);
    d->show();
    d->startButton()->click();
    EXPECT_FALSE(d->startButton()->isEnabled());
    EXPECT_FALSE(d->exitButton()->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return !b.messages.empty(); }));
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(b.messages[0], std::pair(b.Text("RW_Str", 0), b.Text("RW_Str", 19)));
    EXPECT_EQ(d->progressBar()->value(), 400);
    EXPECT_EQ(b.app->codeplug.ContactTable.bytes, source->ContactTable.bytes);
    EXPECT_FALSE(b.bench.line.HostOpen());
}

TEST(TransferDialog, WriteTakesTheRadioIdFromItsFieldAndTheIncrementBoxOutlivesTheDialog)
{
    DialogBench b;
    b.bench.radio.LoadCodeplug(*FullImage(5));
    b.app->codeplug = *FullImage(1);
    session::SetRadioId(b.app->codeplug, 0x00001009);
    {
        auto d = b.Open(Mode::Write);
        EXPECT_EQ(d->radioIdLabel()->text(), b.Text("DMR_Set", 1));
        EXPECT_EQ(d->radioIdEdit()->text(), "1009");
        d->incrementBox()->click();
        EXPECT_EQ(b.state.IdAutoIncrement, 1);
    }
    auto d = b.Open(Mode::Write);
    d->show();
    EXPECT_EQ(d->startButton()->text(), b.Text("RW_Str", 3));
    EXPECT_TRUE(d->incrementBox()->isChecked());
    EXPECT_EQ(d->radioIdEdit()->text(), "1010");
    EXPECT_EQ(session::GetRadioId(b.app->codeplug), 0x00001009u);  // not changed before the start
    d->radioIdEdit()->setText("1234567");
    d->startButton()->click();
    EXPECT_EQ(d->progressBar()->maximum(), 500);
    ASSERT_TRUE(WaitFor([&] { return !b.messages.empty(); }));
    EXPECT_TRUE(b.Reported("RW_Str", 22));
    EXPECT_EQ(d->progressBar()->value(), 400);
    EXPECT_EQ(Slice(b.bench.radio.Records(0xF2)[0], 1, 4), (std::vector<std::uint8_t>{0x01, 0x23, 0x45, 0x67}));
    EXPECT_EQ(std::string(b.app->codeplug.PasswordBlock.begin() + 20, b.app->codeplug.PasswordBlock.end()), "2024,03,07");
}

TEST(TransferDialog, FailureReportedAfterAPauseWithoutFreezing)
{
    DialogBench b;
    b.bench.radio.faults().silent = true;
    auto d = b.Open(Mode::Read);
    d->show();
    int ticks = 0;
    QTimer other;
    QObject::connect(&other, &QTimer::timeout, [&] { ++ticks; });
    other.start(50);
    QElapsedTimer clock;
    clock.start();
    PressKey(d.get(), Qt::Key_Return);  // Enter acts as the start button
    EXPECT_FALSE(d->startButton()->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return b.state.TransferStatus == st::Failed; }));
    const qint64 failedAt = clock.elapsed();
    ASSERT_TRUE(WaitFor([&] { return !b.messages.empty(); }));
    EXPECT_GE(clock.elapsed() - failedAt, 900);
    EXPECT_GE(ticks, 15);  // the event loop kept running through the pause
    EXPECT_EQ(b.messages[0], std::pair(b.Text("RW_Str", 0), b.Text("RW_Str", 15)));
    EXPECT_TRUE(d->isVisible());
    EXPECT_TRUE(d->startButton()->isEnabled() && d->exitButton()->isEnabled());
    d->exitButton()->click();
    EXPECT_FALSE(d->isVisible());
}

TEST(TransferDialog, CannotBeClosedWhileTheWorkerRuns)
{
    DialogBench b(0, /*gated=*/true);
    b.bench.radio.LoadCodeplug(*FullImage(1));
    auto d = b.Open(Mode::Read);
    d->show();
    d->startButton()->click();
    PressKey(d.get(), Qt::Key_Escape);
    EXPECT_FALSE(d->close());
    d->reject();
    PressKey(d.get(), Qt::Key_Return);  // start is disabled: ignored, and Enter never closes
    EXPECT_TRUE(d->isVisible());
    b.gate.set_value();
    ASSERT_TRUE(WaitFor([&] { return !b.messages.empty(); }));
    EXPECT_EQ(b.messages.size(), 1u);  // one read, not two
    EXPECT_TRUE(b.Reported("RW_Str", 19));
    EXPECT_FALSE(d->isVisible());
}

TEST(TransferDialog, PasswordFieldOnAProtectedRadioAndThePortClosedOnEscape)
{
    DialogBench b;
    b.bench.radio.LoadCodeplug(*FullImage(1));
    b.bench.radio.SetProgrammingPassword("12345678");
    auto d = b.Open(Mode::Write);
    d->show();
    d->startButton()->click();
    ASSERT_TRUE(WaitFor([&] { return d->passwordEdit()->isVisible(); }));
    EXPECT_TRUE(d->passwordEdit()->isEnabled());
    EXPECT_FALSE(d->progressBar()->isVisible());
    EXPECT_TRUE(b.messages.empty());
    EXPECT_TRUE(b.bench.line.HostOpen());

    const std::size_t sent = b.bench.radio.Received().size();
    d->passwordEdit()->setText("1234567");
    PressKey(d->passwordEdit(), Qt::Key_Return);
    EXPECT_FALSE(d->startButton()->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return d->startButton()->isEnabled(); }));
    EXPECT_TRUE(d->passwordEdit()->isVisible());
    EXPECT_EQ(b.state.TransferStatus, st::PasswordWanted);
    EXPECT_EQ(b.bench.radio.Received().size(), sent);
    EXPECT_EQ(std::string(b.state.PasswordEntry.begin(), b.state.PasswordEntry.begin() + 8), "01234567");

    PressKey(d.get(), Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible());
    EXPECT_FALSE(b.bench.line.HostOpen());
}

// Renders the dialog offscreen in both languages, in both modes and with the password field,
// to PNG files for a look, and checks that every visible control gets the room it asks for.
TEST(TransferDialogLook, RendersInChineseAndEnglish)
{
    for (const auto& [keyBase, tag] : {std::pair{0, "zh"}, std::pair{100000, "en"}}) {
        DialogBench b(keyBase);
        b.app->codeplug = *FullImage(1);
        b.bench.radio.LoadCodeplug(*FullImage(1));
        b.bench.radio.SetProgrammingPassword("12345678");
        auto check = [&](CDialog_RW& d, const std::string& name) {
            d.show();
            for (int i = 0; i < 3; ++i)
                QCoreApplication::processEvents();
            for (QWidget* w : d.findChildren<QWidget*>())
                if (w->isVisible())
                    EXPECT_GE(w->width(), w->minimumSizeHint().width()) << name << " " << w->metaObject()->className();
            const auto path = fs::temp_directory_path() / ("zr740-transfer-" + std::string(tag) + "-" + name + ".png");
            EXPECT_TRUE(d.grab().save(QString::fromStdString(path.string())));
        };
        auto read = b.Open(Mode::Read);
        check(*read, "read");
        read->close();
        auto write = b.Open(Mode::Write);
        write->incrementBox()->setChecked(true);
        check(*write, "write");
        write->startButton()->click();
        ASSERT_TRUE(WaitFor([&] { return write->passwordEdit()->isVisible(); }));
        write->passwordEdit()->setText("1234");
        check(*write, "password");
        write->close();
    }
}

// As the desktop program runs it: the Qt serial port created on the dialog's worker thread,
// zr740sim named COM1 in the program directory, the real port test, real time. The password
// retry continues on the port the first attempt left open, on the same thread.
TEST(TransferDialogRealPort, ReadsAProtectedRadioThroughComOne)
{
    const fs::path dir = fs::temp_directory_path() / ("zr740-dialog-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    auto source = FullImage(1);
    SetListCounts(*source, 2, 1, 1, 1, 1, 1);
    ASSERT_TRUE(SaveCodeplugFile(*source, dir / "radio.VNTX").ok());
    Sim sim({"--load", (dir / "radio.VNTX").string(), "--link-dir", dir.string(), "--com", "1", "--password", "4321"});

    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        // The offscreen platform's own complaint about window hints is not ours.
        if (type != QtDebugMsg && type != QtInfoMsg && !text.contains("propagateSizeHints"))
            warnings << text;
    });
    DialogBench b;
    b.app->programDirectory = dir;
    b.app->settings.bytes[SystemSettings::PortNumber] = 1;
    SystemClock clock;
    CDialog_MSComm link(QtSerialPortFactory(), clock);
    {
        auto d = b.Open(Mode::Read, &link);
        ASSERT_TRUE(d->PortUsable());  // COM1 of the program directory
        d->show();
        d->startButton()->click();
        ASSERT_TRUE(WaitFor([&] { return d->passwordEdit()->isVisible(); }, 20000));
        EXPECT_TRUE(link.IsPortOpen());
        d->passwordEdit()->setText("4321");
        d->startButton()->click();
        ASSERT_TRUE(WaitFor([&] { return !b.messages.empty(); }, 30000));
        EXPECT_TRUE(b.Reported("RW_Str", 19));
    }
    qInstallMessageHandler(previous);
    EXPECT_FALSE(link.IsPortOpen());
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join("\n").toStdString();
    EXPECT_EQ(GetCount(b.app->codeplug.DigitalChannelCount), 2u);
    EXPECT_EQ(b.app->codeplug.RadioSettings, source->RadioSettings);
    fs::remove_all(dir);
}
