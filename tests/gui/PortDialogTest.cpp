// The serial-port dialog: clamping, which buttons are offered, its texts, what confirm writes.

#include "link/CDialog_SetComPort.h"
#include "tests/gui/TestSupport.h"

using namespace testsupport;

namespace {

// A started program directory whose Sys.dat is short (its bytes must survive) and names `storedPort`.
std::unique_ptr<AppContext> Start(const ProgramDir& dir, std::uint8_t storedPort)
{
    testfiles::WriteText(dir / "Sys.dat", std::string(10, '\xAB'));
    auto app = std::make_unique<AppContext>();
    app->Start(dir.path);
    app->settings.bytes[SystemSettings::Language] = 1;
    app->text.SetKeyBase(100000);
    app->settings.bytes[SystemSettings::PortNumber] = storedPort;
    return app;
}

// Ports in `usable` can be opened; the others are missing, except COM2 which is refused.
CDialog_SetComPort::PortTester Ports(std::set<int> usable)
{
    return [usable](int n) {
        PortCheck c;
        c.device = "/dev/ttyUSB" + std::to_string(n - 1);
        c.state = usable.count(n) ? PortState::Usable : n == 2 ? PortState::PermissionDenied : PortState::Missing;
        return c;
    };
}

}  // namespace

// Stored numbers are clamped; only usable ports can be chosen; confirm writes the whole record.
TEST(PortDialog, ClampsOffersOnlyUsablePortsAndConfirmWritesTheWholeSettingsRecord)
{
    const ProgramDir dir(1);
    for (const auto& [stored, clamped] : std::vector<std::pair<int, int>>{{0, 1}, {20, 16}}) {
        auto app = Start(dir, static_cast<std::uint8_t>(stored));
        CDialog_SetComPort dialog(*app, Ports({1, 16}));
        EXPECT_EQ(std::tuple(app->settings.bytes[SystemSettings::PortNumber] + 0, dialog.checkedPort()),
                  std::tuple(clamped, clamped));
    }
    auto app = Start(dir, 5);
    CDialog_SetComPort dialog(*app, Ports({3, 9}));
    for (int n = 1; n <= 16; ++n)
        EXPECT_EQ(dialog.portButton(n)->isEnabled(), n == 3 || n == 9) << n;
    EXPECT_EQ(dialog.checkedPort(), 0) << "stored COM5 is not usable: nothing checked";
    EXPECT_FALSE(dialog.confirmButton()->isEnabled());
    const QString refused = dialog.portButton(2)->toolTip();
    EXPECT_TRUE(refused.contains("dialout") && refused.contains("/dev/ttyUSB1")) << refused.toStdString();
    EXPECT_TRUE(dialog.portButton(7)->toolTip().contains("No device"));
    // The buttons read their own keys (Pub 30 is the adjustment question).
    EXPECT_EQ((QStringList{dialog.confirmButton()->text(), dialog.cancelButton()->text()}),
              (QStringList{QText(app->text, "Info", 30), QText(app->text, "Info", 31)}));
    EXPECT_NE(dialog.confirmButton()->text(), QText(app->text, "Pub", 30));

    dialog.portButton(9)->click();
    ASSERT_TRUE(dialog.confirmButton()->isEnabled());
    dialog.confirmButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const auto sys = ReadBytes(dir / "Sys.dat");
    ASSERT_EQ(sys.size(), 1024u);
    // The port, "port configured", and the old file's bytes.
    EXPECT_EQ(std::tuple(sys[SystemSettings::PortNumber] + 0, sys[16] + 0,
                         std::vector<std::uint8_t>(sys.begin(), sys.begin() + 10)),
              std::tuple(9, 1, std::vector<std::uint8_t>(10, 0xAB)));
}
