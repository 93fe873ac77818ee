// The radio password, the adjustment values and the programming-password and radio-information
// rules: the exchanges against the virtual radio in virtual time, frames written out by hand.
#include "tests/core/TestFiles.h"

#include "codeplug/ProgrammingPassword.h"
#include "codeplug/RadioInfo.h"
#include "link/CDialog_MSComm.h"
#include "link/ServiceOperations.h"
#include "sim/VirtualRadio.h"

using Bytes = std::vector<std::uint8_t>;
using service::PasswordOutcome;

namespace {

std::string Text(std::span<const std::uint8_t> bytes) { return std::string(bytes.begin(), bytes.end()); }

// The frames appear in this order in what the host sent (other bytes may lie between them).
::testing::AssertionResult SentInOrder(const Bytes& sent, const std::vector<std::string>& frames)
{
    auto from = sent.begin();
    for (const std::string& frame : frames) {
        const Bytes want = Hex(frame);
        const auto at = std::search(from, sent.end(), want.begin(), want.end());
        if (at == sent.end())
            return ::testing::AssertionFailure() << "not sent (in this order): " << frame;
        from = at + static_cast<std::ptrdiff_t>(want.size());
    }
    return ::testing::AssertionSuccess();
}

bool SawEvent(const VirtualRadio& radio, const std::string& start)
{
    const auto texts = radio.EventTexts();
    return std::any_of(texts.begin(), texts.end(), [&](const std::string& t) { return t.starts_with(start); });
}

// The cable probe every exchange begins with: "VANTI", then 01 .. 09.
const std::string kProbe = "56 41 4E 54 49 01 02 03 04 05 06 07 08 09";

struct Bench {
    RadioBench bench;
    CDialog_MSComm link{bench.PortFactory(), bench.clock};

    PasswordOutcome Change(std::string oldPw, std::string newPw, std::string repeat, bool clear = false)
    {
        return service::ChangeRadioPassword(link, {true, clear, std::move(oldPw), std::move(newPw), std::move(repeat)});
    }
    const Bytes& Sent() const { return bench.radio.Received(); }
};

}  // namespace

// ------------------------------------------------------------------ programming password

TEST(ProgrammingPassword, PaddedInBothCopiesAndTheSwitchRewritten)
{
    Codeplug c;
    StoreProgrammingPassword(c, true, "123");
    EXPECT_EQ(Text(std::span(c.PasswordBlock).subspan(1, 18)), "\x80" "00000123" "\x80" "00000123");
    EXPECT_EQ(ShowProgrammingPassword(c).password, "00000123") << "the box then holds eight characters";
    StoreProgrammingPassword(c, false, "");  // switched off and cleared
    EXPECT_EQ(Text(std::span(c.PasswordBlock).subspan(1, 18)), std::string("\0" "00000000" "\0" "00000000", 18));

    // A switch byte other than 80 shows off and is rewritten; the copy follows bytes 2-9.
    Codeplug odd;
    odd.PasswordBlock[1] = 0x81;
    odd.PasswordBlock[10] = 0x55;
    std::copy_n("4711", 4, odd.PasswordBlock.begin() + 2);
    const ProgrammingPasswordView view = ShowProgrammingPassword(odd);
    EXPECT_EQ(std::tuple(view.protectionOn, view.password), std::tuple(false, std::string("4711")))
        << "a zero byte ends the text";
    EXPECT_EQ(Text(std::span(odd.PasswordBlock).subspan(10, 5)), std::string("\0" "4711", 5));
    EXPECT_EQ(odd.PasswordBlock[1], 0x00);
    EXPECT_EQ(PadProgrammingPassword("123456789"), "23456789") << "never more than eight";
}

// ------------------------------------------------------------------ radio information

TEST(RadioInfo, TextsBandAndDate)
{
    Codeplug c;
    EXPECT_EQ(radio_info::SerialNumber(c), "") << "an empty block gives an empty serial number";
    std::copy_n("SN0042", 6, c.RadioInfoBlock.begin() + 2);
    std::copy_n("V1.02.07", 8, c.RadioSettings.begin() + 71);
    std::fill_n(c.RadioSettings.begin() + 58, 13, 'D');  // runs into the next field without a zero
    EXPECT_EQ((std::vector{radio_info::SerialNumber(c), radio_info::McuVersion(c), radio_info::DspVersion(c)}),
              (std::vector<std::string>{"SN0042", "V1.02.07", std::string(11, 'D')}));  // DSP ends before byte 69

    for (const auto& [stored, index] : std::vector<std::pair<int, int>>{{4, 0}, {5, 1}, {0, 0}, {7, 0}, {255, 0}}) {
        c.RadioSettings[55] = static_cast<std::uint8_t>(stored);
        EXPECT_EQ(radio_info::BandIndex(c), index) << stored;
        EXPECT_EQ(radio_info::BandText(c), index == 1 ? "350-400MHz" : "400-480MHz") << stored;
    }
    for (const int band : {0, 1}) {
        radio_info::SetBand(c, band);
        EXPECT_EQ(c.RadioSettings[55], 4 + band);
    }
    EXPECT_EQ(radio_info::DateText(2024, 3, 7) + " " + radio_info::DateText(2025, 12, 31), "2024-3-7 2025-12-31");
}

// ------------------------------------------------------------------ radio password

TEST(RadioPassword, StateZeroWritesTheNewPasswordThenTheKeyCommand)
{
    Bench b;
    EXPECT_EQ(b.Change("", "4711", "4711 "), PasswordOutcome::Done) << "a trailing blank in the repeat is accepted";
    EXPECT_TRUE(SentInOrder(b.Sent(), {kProbe, "A5",
                                       "77 72 69 74 00 DB 00 10 0B 9C",
                                       "34 37 31 31 00 00 00 00 00 00 00 00 00 00 00 00 B1 AC",
                                       "6B 65 79 01 00 FF FF FF 7F 35"}));
    EXPECT_EQ(b.bench.radio.ServicePassword(), "4711");
    EXPECT_TRUE(b.bench.radio.Violations().empty());
    EXPECT_FALSE(b.link.IsPortOpen());
}

TEST(RadioPassword, StateTwoSendsTheOldPasswordThenTheNewOrTheClearingBlock)
{
    Bench b;
    b.bench.radio.SetServicePassword("123456");
    const std::string pair = "31 32 33 34 35 36 00 00 D5 CA 00 00 00 00 00 00 00 00 0B 40";
    ASSERT_EQ(b.Change("123456", "654321", "654321"), PasswordOutcome::Done);
    EXPECT_TRUE(SentInOrder(b.Sent(), {kProbe, "A5", pair,
                                       "77 72 69 74 00 DB 00 10 0B 9C",
                                       "36 35 34 33 32 31 00 00 00 00 00 00 00 00 00 00 ED EF",
                                       "64 62 67 07 02 11 34 33 A9 BE"}));
    EXPECT_EQ(b.bench.radio.ServicePassword(), "654321");

    b.bench.radio.ClearHistory();
    std::string clearing;  // 32 bytes FF and their CRC
    for (int i = 0; i < 32; ++i)
        clearing += "FF ";
    clearing += "30 00";
    ASSERT_EQ(b.Change(" 654321", "", "", /*clear=*/true), PasswordOutcome::Done);
    EXPECT_TRUE(SentInOrder(b.Sent(), {"36 35 34 33 32 31 00 00", "77 72 69 74 00 DB 00 20 1F 9C", clearing,
                                       "64 62 67 07 02 11 FF FF CC E9"}));
    EXPECT_EQ(b.bench.radio.ServicePassword(), "");
    EXPECT_TRUE(b.bench.radio.Violations().empty());
}

TEST(RadioPassword, RefusalsAndOtherStates)
{
    Bench b;
    b.bench.radio.SetServicePassword("123456");
    // A wrong or missing old password ends before anything is written (the missing one too:
    // the radio kept its password, so this is no success).
    for (const std::string old : {"999999", ""}) {
        b.bench.radio.ClearHistory();
        EXPECT_EQ(b.Change(old, "1111", "1111"), PasswordOutcome::Failed) << old;
        EXPECT_FALSE(SawEvent(b.bench.radio, "writ")) << old;
        EXPECT_EQ(b.bench.radio.ServicePassword(), "123456");
    }
    // Entries that do not pass their checks: nothing is written.
    for (const auto& [oldPw, newPw, repeat, clear] : std::vector<std::tuple<std::string, std::string, std::string, bool>>{
             {"123456", "1111", "1112", false}, {"123456", " ", " ", false}, {"  ", "", "", true}}) {
        b.bench.radio.ClearHistory();
        EXPECT_EQ(b.Change(oldPw, newPw, repeat, clear), PasswordOutcome::InputError) << newPw << "/" << repeat;
        EXPECT_FALSE(SawEvent(b.bench.radio, "writ"));
    }
    // The box unticked: the cable is probed and nothing else is sent.
    b.bench.radio.ClearHistory();
    EXPECT_EQ(service::ChangeRadioPassword(b.link, {false, false, "123456", "1", "1"}), PasswordOutcome::NotEnabled);
    EXPECT_EQ(b.Sent(), Hex(kProbe));

    for (const auto& [state, outcome] : std::vector<std::pair<int, PasswordOutcome>>{
             {1, PasswordOutcome::Done}, {3, PasswordOutcome::Done}, {4, PasswordOutcome::StateUnknown}}) {
        b.bench.radio.setup().identifyState = static_cast<std::uint8_t>(state);
        b.bench.radio.ClearHistory();
        EXPECT_EQ(b.Change("123456", "1111", "1111"), outcome) << state;
        EXPECT_FALSE(SawEvent(b.bench.radio, "writ")) << state;
    }
    b.bench.radio.faults().silent = true;
    EXPECT_EQ(b.Change("123456", "1111", "1111"), PasswordOutcome::Failed);
    EXPECT_EQ(b.bench.radio.ServicePassword(), "123456");
}

TEST(RadioPassword, CheckBoxAsksTheStateAndWorksThroughAnEchoingCable)
{
    Bench b;
    EXPECT_EQ(service::CheckRadioPassword(b.link, true), std::optional<std::uint8_t>(0));
    b.bench.radio.SetServicePassword("2024");
    EXPECT_EQ(service::CheckRadioPassword(b.link, true), std::optional<std::uint8_t>(2));
    b.bench.radio.ClearHistory();
    EXPECT_EQ(service::CheckRadioPassword(b.link, false), std::nullopt);
    EXPECT_EQ(b.Sent(), Hex(kProbe)) << "unticking only probes the cable";
    EXPECT_FALSE(b.link.IsPortOpen());

    using F = service::PasswordFields;
    EXPECT_EQ((std::vector{service::FieldsForState(0), service::FieldsForState(1), service::FieldsForState(3),
                           service::FieldsForState(4), service::FieldsForState(std::nullopt)}),
              (std::vector{F::NewOnly, F::OldAndNew, F::CloseDialog, F::Untick, F::Untick}));

    // A one-wire cable hands every byte back: the probe notices and the change still works.
    Bench echo;
    echo.bench.radio.setup().echo = true;
    echo.bench.radio.SetServicePassword("2024");
    EXPECT_EQ(echo.Change("2024", "1357", "1357"), PasswordOutcome::Done);
    EXPECT_EQ(std::tuple(echo.link.EchoMode(), echo.bench.radio.ServicePassword()), std::tuple(1, std::string("1357")));
}

// ------------------------------------------------------------------ adjustment values

TEST(AdjustValues, RulesOfTheValues)
{
    EXPECT_EQ(service::VoxTable(83, 30, 101), (std::array<std::uint8_t, 10>{83, 30, 37, 44, 51, 58, 65, 72, 79, 101}));
    EXPECT_EQ((std::vector{service::VoxSpacingOk(30, 39), service::VoxSpacingOk(30, 40), service::VoxSpacingOk(60, 40)}),
              (std::vector{false, true, false}));
    for (const auto& [firmware, ok] : std::vector<std::pair<std::array<std::uint8_t, 4>, bool>>{
             {{0x01, 0x00, 0, 0}, true},    // "0100": A 0, B 10
             {{0x00, 0x30, 0, 0}, false},   // "0030": A 0, B 3
             {{0x00, 0x40, 0, 0}, true},    // "0040": B 4
             {{0x10, 0x00, 0, 0}, true},    // "1000": A 1
             {{0x0A, 0x00, 0, 0}, false}})  // "0A00": B reads no number
        EXPECT_EQ(service::FirmwareNewEnough(firmware), ok) << int(firmware[0]) << " " << int(firmware[1]);
    EXPECT_FALSE(service::AdjustValuesInRange({256, 37, 142, 708, 83, 30, 101}) ||
                 service::AdjustValuesInRange({41, 37, 70000, 708, 83, 30, 101}));
    EXPECT_TRUE(service::AdjustValuesInRange({}));
}

TEST(AdjustValues, DefaultsReachTheRadiosParameterMemory)
{
    Bench b;
    auto& groups = b.bench.radio.setup().groups;
    groups[0x19] = {0x0360, 1, 12};  // a VOX group longer than the ten values
    auto memory = b.bench.radio.ServiceMemory();
    memory[0x0360 + 10] = 0xA1;
    memory[0x0360 + 11] = 0xA2;

    ASSERT_EQ(service::WriteAdjustValues(b.link, {}), 0);
    const auto at = [&](std::size_t address, std::size_t n) { return Bytes(memory.begin() + address, memory.begin() + address + n); };
    EXPECT_EQ(at(0x0360, 12), Hex("53 1E 25 2C 33 3A 41 48 4F 65 A1 A2")) << "83 30 37 .. 79 101, the rest kept";
    EXPECT_EQ(at(0x0300, 8), Hex("29 29 29 29 29 FF FF FF"));  // QT 41
    EXPECT_EQ(at(0x0310, 8), Hex("25 25 25 25 25 FF FF FF"));  // DQT 37
    EXPECT_EQ(at(0x0320, 16), Hex("8E 00 8E 00 8E 00 8E 00 8E 00 FF FF FF FF 8E 00"));  // 142
    EXPECT_EQ(at(0x0340, 16), Hex("C4 02 C4 02 C4 02 C4 02 C4 02 FF FF FF FF C4 02"));  // 708
    EXPECT_TRUE(SentInOrder(b.Sent(), {kProbe, "6B 65 79 81 5A 52 2D 37"}));  // key query with "ZR-7"
    EXPECT_TRUE(b.bench.radio.Violations().empty());
    EXPECT_FALSE(b.link.IsPortOpen());
}

TEST(AdjustValues, RefusalsWriteNothing)
{
    Bench b;
    service::AdjustValues close;
    close.vox9 = 39;
    EXPECT_EQ(service::WriteAdjustValues(b.link, close), 100);
    EXPECT_EQ(b.Sent(), Hex(kProbe)) << "refused before any frame beyond the probe";

    const auto refused = [&](auto change, int code) {
        Bench r;
        change(r.bench.radio);
        EXPECT_EQ(service::WriteAdjustValues(r.link, {}), code);
        EXPECT_FALSE(SawEvent(r.bench.radio, "writ")) << code;
        EXPECT_FALSE(r.link.IsPortOpen());
    };
    refused([](VirtualRadio& radio) { radio.setup().keyAnswer[11] = 1; }, 300);  // the last identity byte differs
    refused([](VirtualRadio& radio) { radio.setup().keyAnswer[12] = 0x00, radio.setup().keyAnswer[13] = 0x30; }, 200);  // "0030"
    for (const std::size_t bytes : {13, 14, 15})  // the firmware bytes cut short: "01" alone would pass
        refused([&](VirtualRadio& radio) { radio.setup().keyAnswerBytes = bytes; }, 200);
    refused([](VirtualRadio& radio) { radio.faults().silent = true; }, 256);
    refused([](VirtualRadio& radio) { radio.setup().groups.erase(0x06); }, 1);  // the QT group not located

    // A group too small for its values: the groups before it stay written.
    Bench small;
    small.bench.radio.setup().groups[0x19] = {0x0360, 1, 5};
    EXPECT_EQ(service::WriteAdjustValues(small.link, {}), 514);
    EXPECT_EQ(std::tuple(small.bench.radio.ServiceMemory()[0x0300] + 0, small.bench.radio.ServiceMemory()[0x0360] + 0),
              std::tuple(41, 0xFF));

    for (const auto& [result, key] : std::vector<std::pair<int, int>>{{0, 22}, {100, 26}, {200, 82}, {300, 81}, {256, 15}, {514, 15}})
        EXPECT_EQ(service::AdjustMessageKey(result), key) << result;
}

// ------------------------------------------------------------------ the virtual radio's switches

TEST(SimService, TheServiceMemoryFile)
{
    const testfiles::TempDir dir;
    const auto path = dir / "radio.service";
    VirtualRadio radio;
    radio.SetServicePassword("8642");
    radio.ServiceMemory()[0xFFFF] = 0x42;
    ASSERT_TRUE(radio.SaveServiceMemory(path));
    VirtualRadio again;
    ASSERT_TRUE(again.LoadServiceMemory(path));
    EXPECT_EQ(std::tuple(again.ServicePassword(), again.ServiceMemory()[0xFFFF] + 0), std::tuple(std::string("8642"), 0x42));
    std::filesystem::resize_file(path, 100);
    EXPECT_FALSE(again.LoadServiceMemory(path)) << "a file of another length is refused";
    EXPECT_EQ(again.ServicePassword(), "8642");
}
