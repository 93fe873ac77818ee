// The serial-port dialog: clamping, which buttons are offered, what confirm writes.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QRadioButton>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <unistd.h>

#include "core/AppContext.h"
#include "link/CDialog_SetComPort.h"

namespace fs = std::filesystem;

namespace {

class PortDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("zr740-portdlg-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        fs::copy_file(fs::path(ZR740_SOURCE_DIR) / "data" / "Txt.ini", dir / "Txt.ini");
    }
    void TearDown() override { fs::remove_all(dir); }

    std::unique_ptr<AppContext> Start(std::uint8_t storedPort)
    {
        std::ofstream(dir / "Sys.dat", std::ios::binary) << std::string(10, '\xAB');  // short: its bytes must survive
        auto app = std::make_unique<AppContext>();
        app->Start(dir);
        app->settings.bytes[SystemSettings::Language] = 1;
        app->text.SetKeyBase(100000);
        app->settings.bytes[SystemSettings::PortNumber] = storedPort;
        return app;
    }

    // Ports in `usable` can be opened; the others are missing, except COM2 which is refused.
    static CDialog_SetComPort::PortTester Ports(std::set<int> usable)
    {
        return [usable](int n) {
            PortCheck c;
            c.device = "/dev/ttyUSB" + std::to_string(n - 1);
            c.state = usable.count(n) ? PortState::Usable : n == 2 ? PortState::PermissionDenied : PortState::Missing;
            return c;
        };
    }

    fs::path dir;
};

}  // namespace

TEST_F(PortDialog, ClampsAndOffersOnlyUsablePorts)
{
    for (const auto& [stored, clamped] : std::vector<std::pair<int, int>>{{0, 1}, {20, 16}}) {
        auto app = Start(static_cast<std::uint8_t>(stored));
        CDialog_SetComPort dialog(*app, Ports({1, 16}));
        EXPECT_EQ(app->settings.bytes[SystemSettings::PortNumber], clamped);
        EXPECT_EQ(dialog.checkedPort(), clamped);
    }
    {
        auto app = Start(5);
        CDialog_SetComPort dialog(*app, Ports({3}));
        for (int n = 1; n <= 16; ++n)
            EXPECT_EQ(dialog.portButton(n)->isEnabled(), n == 3) << n;
        EXPECT_EQ(dialog.checkedPort(), 0) << "stored COM5 is not usable: nothing checked";
        EXPECT_FALSE(dialog.confirmButton()->isEnabled());
        const QString refused = dialog.portButton(2)->toolTip();
        EXPECT_TRUE(refused.contains("dialout") && refused.contains("/dev/ttyUSB1")) << refused.toStdString();
        EXPECT_TRUE(dialog.portButton(7)->toolTip().contains("No device"));
    }
}

TEST_F(PortDialog, ConfirmWritesTheWholeSettingsRecord)
{
    auto app = Start(3);
    CDialog_SetComPort dialog(*app, Ports({3, 9}));
    EXPECT_EQ(dialog.checkedPort(), 3) << "a usable stored port is checked";
    dialog.portButton(9)->click();
    ASSERT_TRUE(dialog.confirmButton()->isEnabled());
    dialog.confirmButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    std::ifstream in(dir / "Sys.dat", std::ios::binary);
    const std::vector<std::uint8_t> sys(std::istreambuf_iterator<char>(in), {});
    ASSERT_EQ(sys.size(), 1024u);
    EXPECT_EQ(sys[SystemSettings::PortNumber], 9);
    EXPECT_EQ(sys[16], 1) << "port configured";
    EXPECT_EQ(std::vector<std::uint8_t>(sys.begin(), sys.begin() + 10), std::vector<std::uint8_t>(10, 0xAB))
        << "the old file's bytes survive";
}
