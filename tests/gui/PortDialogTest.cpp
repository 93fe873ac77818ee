// The serial-port dialog: clamping, which buttons are offered, what confirm writes.
#include <gtest/gtest.h>

#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <unistd.h>

#include "app/AppContext.h"
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

    std::unique_ptr<AppContext> Start(std::uint8_t language, std::uint8_t storedPort)
    {
        std::ofstream(dir / "Sys.dat", std::ios::binary) << std::string(10, '\xAB');  // short: its bytes must survive
        auto app = std::make_unique<AppContext>();
        app->Start(dir);
        app->settings.bytes[SystemSettings::Language] = language;
        app->text.SetKeyBase(language == 1 ? 100000 : 0);
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

    std::vector<std::uint8_t> SysFile() const
    {
        std::ifstream in(dir / "Sys.dat", std::ios::binary);
        return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
    }

    fs::path dir;
};

}  // namespace

TEST_F(PortDialog, ClampsTheStoredNumber)
{
    for (const auto& [stored, clamped] : std::vector<std::pair<int, int>>{{0, 1}, {20, 16}}) {
        auto app = Start(1, static_cast<std::uint8_t>(stored));
        CDialog_SetComPort dialog(*app, Ports({1, 16}));
        EXPECT_EQ(app->settings.bytes[SystemSettings::PortNumber], clamped);
        EXPECT_EQ(dialog.checkedPort(), clamped);
    }
}

TEST_F(PortDialog, OffersOnlyUsablePortsAndPreselectsOnlyAUsableOne)
{
    auto app = Start(1, 5);
    CDialog_SetComPort dialog(*app, Ports({3}));
    for (int n = 1; n <= 16; ++n) {
        ASSERT_NE(dialog.portButton(n), nullptr);
        EXPECT_EQ(dialog.portButton(n)->isEnabled(), n == 3) << n;
    }
    EXPECT_EQ(dialog.portButton(12)->text(), "COM12");
    EXPECT_EQ(dialog.checkedPort(), 0) << "stored COM5 is not usable: nothing checked";
    EXPECT_FALSE(dialog.confirmButton()->isEnabled());
    EXPECT_TRUE(dialog.portButton(2)->toolTip().contains("dialout"));
    EXPECT_TRUE(dialog.portButton(2)->toolTip().contains("/dev/ttyUSB1"));
    EXPECT_TRUE(dialog.portButton(7)->toolTip().contains("No device"));
}

TEST_F(PortDialog, ConfirmWritesTheWholeSettingsRecord)
{
    auto app = Start(1, 5);
    CDialog_SetComPort dialog(*app, Ports({3, 9}));
    dialog.portButton(9)->click();
    ASSERT_TRUE(dialog.confirmButton()->isEnabled());
    dialog.confirmButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const auto sys = SysFile();
    ASSERT_EQ(sys.size(), 1024u);
    EXPECT_EQ(sys[SystemSettings::PortNumber], 9);
    EXPECT_EQ(sys[16], 1) << "port configured";
    EXPECT_EQ(std::vector<std::uint8_t>(sys.begin(), sys.begin() + 10), std::vector<std::uint8_t>(10, 0xAB))
        << "the old file's bytes survive";
}

TEST_F(PortDialog, CancelChangesNothingOnDisk)
{
    auto app = Start(0, 3);
    CDialog_SetComPort dialog(*app, Ports({3}));
    EXPECT_EQ(dialog.checkedPort(), 3) << "a usable stored port is checked";
    dialog.cancelButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(SysFile().size(), 10u);
}

TEST_F(PortDialog, RendersUncrampedInBothLanguages)
{
    // Every caption must get the width it asks for; with ZR740_SHOTS set, the renderings are saved there.
    for (std::uint8_t language : {std::uint8_t{0}, std::uint8_t{1}}) {
        auto app = Start(language, 3);
        CDialog_SetComPort dialog(*app, Ports({1, 3, 4, 9, 13}));
        EXPECT_EQ(dialog.windowTitle(), language ? QString("Serial port") : QString::fromUtf8("设置端口"));
        dialog.adjustSize();
        const QImage shot = dialog.grab().toImage();
        ASSERT_FALSE(shot.isNull());
        for (int n = 1; n <= 16; ++n)
            EXPECT_GE(dialog.portButton(n)->width(), dialog.portButton(n)->sizeHint().width()) << n;
        EXPECT_GE(dialog.confirmButton()->width(), dialog.confirmButton()->sizeHint().width());
        if (const char* shots = std::getenv("ZR740_SHOTS"))
            shot.save(QString::fromUtf8(shots) + QStringLiteral("/port-dialog-%1.png").arg(language ? "en" : "zh"));
    }
}
