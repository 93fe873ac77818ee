// The radio-information, password and adjustment-value dialogs and the programming-password
// form, driven as a user would: the service exchanges against the virtual radio in memory
// (virtual time for the radio, real time for the dialogs' event loops).

#include "link/CDIALOG_PassWord.h"
#include "link/CDialog_ADJ.h"
#include "link/CDialog_RadioInfo.h"
#include "tests/gui/TestSupport.h"

using namespace testsupport;

namespace {

std::string Text(std::span<const std::uint8_t> bytes) { return std::string(bytes.begin(), bytes.end()); }

// Each service dialog of the bench, its messages recorded.
struct ServiceBench : DialogBench {
    using DialogBench::DialogBench;
    template <typename Dialog>
    std::unique_ptr<Dialog> Open()
    {
        auto dialog = std::make_unique<Dialog>(*app, *link);
        Watch(*dialog);
        return dialog;
    }
};

// "VANTI" and 01 .. 09: the probe every exchange starts with.
const std::vector<std::uint8_t> kProbe = {0x56, 0x41, 0x4E, 0x54, 0x49, 1, 2, 3, 4, 5, 6, 7, 8, 9};

}  // namespace

TEST(PasswordDialog, SetsTheRadioPasswordWithChecksAndMessages)
{
    ServiceBench b;
    b.bench.radio.SetServicePassword("123456");
    auto d = b.Open<CDIALOG_PassWord>();
    d->show();
    EXPECT_FALSE(d->clearBox()->isEnabled() || d->oldEdit()->isEnabled() || d->newEdit()->isEnabled());

    // Confirm with the upper part unticked: nothing changes, the dialog stays.
    d->confirmButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d->busy(); }));
    EXPECT_TRUE(b.messages.empty() && d->isVisible() && b.bench.radio.ServicePassword() == "123456");

    d->radioPasswordBox()->click();
    ASSERT_TRUE(WaitFor([&] { return !d->busy(); }));
    EXPECT_TRUE(d->radioPasswordBox()->isChecked());
    EXPECT_TRUE(d->oldEdit()->isEnabled() && d->clearBox()->isEnabled() && d->newEdit()->isEnabled());

    // A repeat that differs: a warning, the new fields emptied, the dialog stays.
    d->oldEdit()->setText("123456");
    d->newEdit()->setText("2222");
    d->repeatEdit()->setText("2223");
    d->confirmButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !b.messages.empty(); }));
    EXPECT_TRUE(b.Reported("RW_Str", 38));
    EXPECT_EQ(std::tuple(d->lastMessageIcon(), b.messages.back().first), std::tuple(QMessageBox::Warning, QText(b.app->text, "Pub", 10)));
    EXPECT_TRUE(d->newEdit()->text().isEmpty() && d->repeatEdit()->text().isEmpty() && d->isVisible());

    d->newEdit()->setText("2222");
    d->repeatEdit()->setText("2222 ");
    d->confirmButton()->click();
    ASSERT_TRUE(WaitFor([&] { return b.messages.size() == 2; }));
    EXPECT_TRUE(b.Reported("RW_Str", 85));
    EXPECT_EQ(d->lastMessageIcon(), QMessageBox::Information);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(b.bench.radio.ServicePassword(), "2222");
}

TEST(PasswordDialog, StaysModalAndBusyWhileTheRadioIsAsked)
{
    ServiceBench b(1, /*gated=*/true);
    b.bench.radio.setup().identifyState = 3;
    auto d = b.Open<CDIALOG_PassWord>();
    d->show();
    d->radioPasswordBox()->click();
    ASSERT_TRUE(d->busy());
    EXPECT_TRUE(d->busyBar()->isVisible() && !d->confirmButton()->isEnabled());
    EXPECT_EQ(d->busyLine()->text(), QText(b.app->text, "Service", 1));
    EXPECT_FALSE(d->close());
    d->reject();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(d.get(), &escape);
    EXPECT_TRUE(d->isVisible());

    b.gate.set_value();
    // State 3: an empty message, then the dialog closes.
    ASSERT_TRUE(WaitFor([&] { return !b.messages.empty(); }));
    EXPECT_EQ(b.messages.back(), std::make_pair(QText(b.app->text, "Pub", 10), QString()));
    EXPECT_FALSE(d->isVisible() || d->busyBar()->isVisible());

    auto unusable = b.Open<CDIALOG_PassWord>();
    unusable->setPortTest([] { return false; });
    EXPECT_EQ(unusable->exec(), QDialog::Rejected) << "closes at once without a usable port";
}

TEST(PasswordDialog, DefaultPasswordAndTheProgrammingPassword)
{
    ServiceBench b;
    {
        auto d = b.Open<CDIALOG_PassWord>();
        d->defaultEdit()->setText("   ");
        d->saveButton()->click();
        EXPECT_TRUE(b.Reported("RW_Str", 85));
    }
    const auto saved = ReadBytes(b.dir.path / "Sys.dat");
    ASSERT_EQ(saved.size(), 1024u);
    EXPECT_EQ(std::vector<std::uint8_t>(saved.begin() + 48, saved.begin() + 64), std::vector<std::uint8_t>(16, 0xFF));
    {
        auto d = b.Open<CDIALOG_PassWord>();
        EXPECT_EQ(d->defaultEdit()->text(), "") << "sixteen FF bytes show as an empty field";
        d->defaultEdit()->setText(" 2580 ");
        d->saveButton()->click();
    }
    const auto resaved = ReadBytes(b.dir.path / "Sys.dat");
    EXPECT_EQ(Text(std::span(resaved).subspan(48, 6)), std::string("2580\0\0", 6));
    EXPECT_EQ(b.Open<CDIALOG_PassWord>()->defaultEdit()->text(), "2580");

    // The lower part edits the same bytes as the programming-password form.
    auto d = b.Open<CDIALOG_PassWord>();
    d->show();
    EXPECT_FALSE(d->programmingPasswordEdit()->isEnabled());
    d->switchBox()->click();
    Type(d->programmingPasswordEdit(), "123");
    EXPECT_EQ(Text(std::span(b.app->codeplug.PasswordBlock).subspan(1, 18)), "\x80" "00000123" "\x80" "00000123");
    EXPECT_EQ(d->programmingPasswordEdit()->text(), "00000123");
}

TEST(RadioInfoDialog, ShowsTheImageAndStoresTheBandAtOnce)
{
    ServiceBench b(1);
    Codeplug& c = b.app->codeplug;
    std::copy_n("740\x1b[2J\xd6\xd0", 10, c.RadioInfoBlock.begin() + 2);  // an escape sequence, then GBK
    std::copy_n("M2.01", 5, c.RadioSettings.begin() + 71);
    std::copy_n("D1.09", 5, c.RadioSettings.begin() + 58);
    c.RadioSettings[55] = 9;
    CDialog_RadioInfo d(*b.app, nullptr, [] { return std::string("2026-1-5"); });
    EXPECT_EQ((QStringList{d.modelEdit()->text(), d.serialEdit()->text(), d.mcuEdit()->text(), d.dspEdit()->text(),
                           d.dateEdit()->text(), d.bandList()->currentText()}),
              (QStringList{"ZR-740NV", QString::fromUtf8("740\\x1b[2J中"), "M2.01", "D1.09", "2026-1-5", "400-480MHz"}));
    EXPECT_EQ(c.RadioSettings[55], 9) << "showing changes nothing";

    emit d.bandList()->activated(1);
    EXPECT_EQ(std::tuple(c.RadioSettings[55] + 0, d.bandList()->currentText()), std::tuple(5, QString("350-400MHz")));
    emit d.bandList()->activated(0);  // the entry chosen is the band stored
    EXPECT_EQ(c.RadioSettings[55], 4);
}

TEST(AdjustDialog, ConfirmationVoxCheckAndTheValuesReachTheRadio)
{
    ServiceBench b;
    auto d = b.Open<CDialog_ADJ>();
    int asked = 0;
    bool answer = false;
    d->setQuestion([&](const QString& caption, const QString& text) {
        ++asked;
        EXPECT_EQ(caption, QText(b.app->text, "Pub", 10));
        EXPECT_EQ(text, QText(b.app->text, "Pub", 30));
        return answer;
    });
    d->show();
    for (int f = 0; f < CDialog_ADJ::kFieldCount; ++f)
        EXPECT_TRUE(d->field(static_cast<CDialog_ADJ::Field>(f))->text().isEmpty());
    d->writeButton()->click();  // empty fields: nothing is asked or sent
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(b.Reported("Service", 20) && d->lastMessageIcon() == QMessageBox::Warning);

    d->defaultButton()->click();
    QStringList shown;
    for (int f = 0; f < CDialog_ADJ::kFieldCount; ++f)
        shown << d->field(static_cast<CDialog_ADJ::Field>(f))->text();
    EXPECT_EQ(shown, (QStringList{"41", "37", "142", "708", "83", "30", "101"}));

    d->writeButton()->click();  // cancelled
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(b.bench.radio.Received().empty());

    answer = true;
    d->field(CDialog_ADJ::VOX9)->setText("39");
    d->writeButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d->busy(); }));
    EXPECT_TRUE(b.Reported("RW_Str", 26) && d->lastMessageIcon() == QMessageBox::Warning);
    EXPECT_EQ(b.messages.back().first, QText(b.app->text, "RW_Str", 0));
    EXPECT_EQ(b.bench.radio.Received(), kProbe);

    d->field(CDialog_ADJ::VOX9)->setText("101");
    d->writeButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d->busy(); }));
    EXPECT_TRUE(b.Reported("RW_Str", 22) && d->lastMessageIcon() == QMessageBox::Information);
    const auto memory = b.bench.radio.ServiceMemory();
    EXPECT_EQ(std::vector<std::uint8_t>(memory.begin() + 0x0360, memory.begin() + 0x036A),
              (std::vector<std::uint8_t>{83, 30, 37, 44, 51, 58, 65, 72, 79, 101}));
    EXPECT_FALSE(b.link->IsPortOpen());

    b.bench.radio.setup().keyAnswer[0] = 'X';
    d->writeButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !d->busy(); }));
    EXPECT_TRUE(b.Reported("RW_Str", 81) && d->lastMessageIcon() == QMessageBox::Warning);
}

// The form shows and stores through the rules of ProgrammingPassword (DocumentFollow shows it
// following the codeplug); here its switch.
TEST(ProgrammingPasswordForm, TheSwitchEnablesThePasswordAndKeepsItWhenOff)
{
    ProgramDir dir(1);
    FormSession s(dir.path);
    Codeplug& c = s.Image();
    s.frame->OnCommand(Cmd::ProgrammingPassword);
    auto* form = s.Shown<CFrom_PasswordEC>(FormKind::PasswordEC);
    EXPECT_EQ(std::tuple(form->switchBox()->isChecked(), form->passwordEdit()->isEnabled(), form->switchBox()->text()),
              std::tuple(false, false, QText(s.app.Context().text, "RW_Str", 42)));
    form->switchBox()->click();
    Type(form->passwordEdit(), "123");
    EXPECT_EQ(std::tuple(Text(std::span(c.PasswordBlock).subspan(1, 18)), form->passwordEdit()->text()),
              std::tuple(std::string("\x80" "00000123" "\x80" "00000123"), QString("00000123")));
    form->switchBox()->click();  // off: the password is kept and greyed out
    EXPECT_EQ(std::tuple(Text(std::span(c.PasswordBlock).subspan(1, 10)), form->passwordEdit()->isEnabled()),
              std::tuple(std::string("\0" "00000123" "\0", 10), false));
}

// As a technician works: zr740sim named COM1 in the program directory, the Qt serial port on the
// dialogs' worker thread, real time. What the radio keeps is saved beside its codeplug file.
TEST(ServiceDialogsRealPort, PasswordAndAdjustmentValuesReachZr740sim)
{
    ServiceBench b;
    const fs::path saved = b.dir.path / "radio.VNTX";
    {
        session_test::Sim sim({"--link-dir", b.dir.path.string(), "--com", "1", "--service-password", "1234",
                               "--save-on-close", saved.string()});
        b.app->settings.bytes[SystemSettings::PortNumber] = 1;
        SystemClock clock;
        CDialog_MSComm link(QtSerialPortFactory(), clock);
        {
            CDIALOG_PassWord d(*b.app, link);
            b.Watch(d);
            d.show();
            d.radioPasswordBox()->click();
            ASSERT_TRUE(WaitFor([&] { return !d.busy(); }, 20000));
            ASSERT_TRUE(d.oldEdit()->isEnabled()) << "the radio reports its password";
            d.oldEdit()->setText("1234");
            d.newEdit()->setText("9");
            d.clearBox()->click();  // a radio with a password takes no adjustment values
            EXPECT_TRUE(d.newEdit()->text().isEmpty() && !d.newEdit()->isEnabled());
            d.confirmButton()->click();
            ASSERT_TRUE(WaitFor([&] { return !b.messages.empty(); }, 30000));
            EXPECT_TRUE(b.Reported("RW_Str", 85));
        }
        CDialog_ADJ adj(*b.app, link);
        b.Watch(adj);
        adj.setQuestion([](const QString&, const QString&) { return true; });
        adj.defaultButton()->click();
        adj.writeButton()->click();
        ASSERT_TRUE(WaitFor([&] { return b.messages.size() == 2; }, 30000));
        EXPECT_TRUE(b.Reported("RW_Str", 22));
        EXPECT_FALSE(link.IsPortOpen());
    }  // the radio saves as it stops
    const auto memory = ReadBytes(fs::path(saved.string() + ".service"));
    ASSERT_EQ(memory.size(), 0x10000u);
    EXPECT_TRUE(std::all_of(memory.begin() + 0xDB, memory.begin() + 0xDB + 32, [](std::uint8_t v) { return v == 0xFF; }))
        << "the password cleared";
    // The virtual radio keeps the VOX group at 0360 unless told otherwise.
    EXPECT_EQ(std::vector<std::uint8_t>(memory.begin() + 0x0360, memory.begin() + 0x036A),
              (std::vector<std::uint8_t>{83, 30, 37, 44, 51, 58, 65, 72, 79, 101}));
}
