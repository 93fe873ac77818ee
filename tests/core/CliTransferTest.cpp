// zr740 read and zr740 write end to end: the real programs, zr740sim on a pseudo-terminal, real
// time. The tool is copied into a scratch program directory so that COMn there names the sim.
#include <fcntl.h>
#include "tests/core/TestFiles.h"

#include <chrono>
#include <future>
#include <csignal>

#include "tests/core/SessionBench.h"
#include "tests/core/SessionPrograms.h"

using namespace session_test;

namespace {

class CliTransfer : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::remove_all(dir);
        fs::create_directories(dir);
        fs::copy_file(kProgramDir / "zr740", tool);
    }
    void TearDown() override { fs::remove_all(dir); }

    // A small codeplug (short lists keep the real-time sessions short).
    fs::path SmallFile(const std::string& name, std::uint8_t seed)
    {
        auto image = FullImage(seed);
        SetListCounts(*image, 2, 1, 1, 2, 1, 1);
        EXPECT_TRUE(SaveCodeplugFile(*image, dir / name).ok());
        return dir / name;
    }
    Finished Run(std::vector<std::string> args)
    {
        args.insert(args.begin(), tool.string());
        return RunProgram(args);
    }

    const fs::path dir = fs::temp_directory_path() / ("zr740-cli-" + std::to_string(getpid()) + "-" +
                                                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
    const fs::path tool = dir / "zr740";
};

std::unique_ptr<Codeplug> Load(const fs::path& path)
{
    auto image = std::make_unique<Codeplug>();
    EXPECT_TRUE(LoadCodeplugFile(*image, path).ok()) << path;
    return image;
}

}  // namespace

// A protected radio named COM12 in the program directory, on a noisy cable (every third record
// reply damaged), its texts holding escape sequences, undecodable bytes and Chinese: read with and
// without its eight-digit password, traced and backed up, then written with a radio ID of its own.
// The read says how many requests it repeated (a note in the trace for each) and prints the
// radio's texts decoded and escaped.
TEST_F(CliTransfer, ReadThenWriteThroughComPortOfTheProgramDirectory)
{
    const fs::path source = SmallFile("source.VNTX", 1), out = dir / "read.VNTX", radioFile = dir / "radio.VNTX";
    {
        auto image = Load(source);  // 22 record replies and the password's: 34 with every third damaged
        image->RadioInfoBlock.fill(0);
        std::fill_n(image->RadioSettings.begin() + 58, 28, 0);
        std::copy_n("\x1b[31mSN\xff\xd6\xd0", 10, image->RadioInfoBlock.begin() + 2);
        std::copy_n("D5\t", 3, image->RadioSettings.begin() + 58);
        std::copy_n("V1\\2\x7f", 5, image->RadioSettings.begin() + 71);
        ASSERT_TRUE(SaveCodeplugFile(*image, source).ok());
    }
    Sim sim({"--load", source.string(), "--link-dir", dir.string(), "--com", "12", "--password", "12345678",
             "--save-on-close", radioFile.string(), "--damage-every", "3"});
    ASSERT_TRUE(fs::is_symlink(dir / "COM12"));
    // Every read leaves a backup under the user's data folder unless told not to.
    const std::string data = "XDG_DATA_HOME=" + (dir / "data").string(), trace = (dir / "trace.txt").string();
    const Finished read = RunProgram({"env", data, tool.string(), "read", "--fast", "--port", "com12", "--password",
                                      "12345678", "-o", out.string(), "--trace", trace});
    ASSERT_EQ(read.exitCode, 0) << read.errors;
    EXPECT_NE(read.errors.find("serial number \\x1b[31mSN\\xff\xe4\xb8\xad, MCU firmware V1\\\\2\\x7f, DSP firmware D5\\x09,"),
              std::string::npos) << read.errors;
    EXPECT_EQ(read.errors.find('\x1b'), std::string::npos) << "no raw escape reaches the terminal";
    EXPECT_NE(read.errors.find("11 requests were repeated"), std::string::npos) << read.errors;
    auto got = Load(out), want = Load(source);
    EXPECT_EQ(GetCount(got->DigitalChannelCount), 2u);
    EXPECT_EQ(Slice(Bytes(*got), 6734, 2 * 82), Slice(Bytes(*want), 6734, 2 * 82));  // digital channels
    EXPECT_EQ(Slice(Bytes(*got), 0, 254 + 2 * 45), Slice(Bytes(*want), 0, 254 + 2 * 45));  // settings, contacts
    EXPECT_EQ(got->FunctionExtra, want->FunctionExtra);
    const fs::path backups = dir / "data" / "zr740" / "backups";
    ASSERT_EQ(std::distance(fs::directory_iterator(backups), fs::directory_iterator()), 1);
    EXPECT_EQ(Bytes(*Load(fs::directory_iterator(backups)->path())), Bytes(*got));
    // Without the password, or with a wrong one: exit 8, and nothing written.
    const fs::path never = dir / "never.VNTX";
    const Finished none = Run({"read", "--port", "COM12", "-o", never.string()});
    EXPECT_EQ(none.exitCode, 8);
    EXPECT_NE(none.errors.find("--password"), std::string::npos) << none.errors;
    EXPECT_EQ(Run({"read", "--port", "COM12", "-o", never.string(), "--password", "87654321"}).exitCode, 8);
    EXPECT_FALSE(fs::exists(never));
    const Finished quiet = RunProgram({"env", data, tool.string(), "read", "--no-backup", "--port", "COM12", "--password",
                                       "12345678", "-o", out.string()});
    ASSERT_EQ(quiet.exitCode, 0) << quiet.errors;
    EXPECT_EQ(std::distance(fs::directory_iterator(backups), fs::directory_iterator()), 1);
    EXPECT_EQ(Run({"read", "--trace", (dir / "none" / "t.txt").string(), "--port", "COM12", "-o", out.string()}).exitCode, 1);

    // The trace: every byte of the read on a line "seconds TX|RX hex ...", in time order.
    std::ifstream in(trace);
    std::size_t txBytes = 0, rxBytes = 0, lines = 0, notes = 0;
    double last = -1;
    for (std::string line; std::getline(in, line); ++lines) {
        double seconds = 0;
        char what[8] = {};
        ASSERT_EQ(std::sscanf(line.c_str(), "%lf %7s", &seconds, what), 2) << line;
        EXPECT_GE(seconds, last) << line;
        last = seconds;
        const std::string kind = what;
        notes += line.find(" NOTE repeat ") != std::string::npos;
        if (kind == "TX" || kind == "RX") {
            const std::size_t hex = line.size() - line.find(kind) - 2;
            EXPECT_EQ(hex % 3, 0u) << line;
            (kind == "TX" ? txBytes : rxBytes) += hex / 3;
        }
    }
    EXPECT_GT(lines, 10u);
    EXPECT_GT(rxBytes, 1000u);  // the blocks and the records in use the radio returned
    EXPECT_GT(txBytes, 0u);
    EXPECT_EQ(notes, 11u);

    const fs::path other = SmallFile("other.VNTX", 3);  // written back with a radio ID of its own
    EXPECT_EQ(Run({"write", "--port", sim.device(), other.string(), "--password", "12345670"}).exitCode, 8);
    const Finished write = Run({"write", "--port", sim.device(), other.string(), "--radio-id", "7654321", "--password",
                                "12345678"});
    ASSERT_EQ(write.exitCode, 0) << write.errors;
    auto radio = Load(radioFile), sent = Load(other);  // what the radio held after the write session
    EXPECT_EQ(GetLE32(radio->DmrSettings, 1), 0x07654321u);
    EXPECT_EQ(Slice(Bytes(*radio), 6734 + 82 + 1, 37), Slice(Bytes(*sent), 6734 + 82 + 1, 37));  // name of channel 2
    EXPECT_EQ(radio->PasswordBlock[24], ',');  // stamped with today's date
}

// Every way a read cannot be done has its exit code and says why, within seconds, leaving no file.
TEST_F(CliTransfer, FailuresExplainThemselvesAndLeaveNoFile)
{
    const std::string out = (dir / "never.VNTX").string(), source = SmallFile("source.VNTX", 1).string();
    const std::string nothing = (dir / "ttyNothing").string(), folder = (dir / "folder.VNTX").string();
    fs::create_directories(folder);
    fs::create_symlink(nothing, dir / "COM16");  // COM9-COM16 name entries of the program directory too
    const struct {
        std::vector<std::string> sim;  // options of a simulator whose device stands for "SIM"
        std::vector<std::string> args;
        int exitCode;
        std::vector<std::string> says;
    } rows[] = {
        {{}, {"read", "--port", nothing, "-o", out}, 6, {"does not exist"}},
        {{"--silent"}, {"read", "--port", "SIM", "-o", out}, 7, {"cable"}},
        {{"--load", source, "--cut-after", "9"}, {"read", "--port", "SIM", "-o", out}, 7, {}},  // silent in the contacts
        {{"--load", source, "--foreign-record"}, {"read", "--port", "SIM", "-o", out}, 7, {"damaged", "cable"}},
        // The output is tried before the port: a directory in the way is reported (9), not the port (6).
        {{}, {"read", "--port", nothing, "-o", folder}, 9, {}},
        {{}, {"read", "--port", dir.string(), "-o", out}, 6, {"is a directory"}},
        {{}, {"read", "--port", "COM16", "-o", out}, 6, {(dir / "COM16").string() + " does not exist"}},
        {{}, {"read", "--port", "COM17", "-o", out}, 6, {"COM17 does not exist"}},  // no port name
        {{}, {"info", "/dev/null"}, 4, {"0 bytes, a codeplug has 11279"}},  // no size of its own: the bytes read count
    };
    for (const auto& row : rows) {
        std::vector<std::string> args = row.args;
        std::unique_ptr<Sim> sim = row.sim.empty() ? nullptr : std::make_unique<Sim>(row.sim);
        std::replace(args.begin(), args.end(), std::string("SIM"), sim ? sim->device() : "");
        SCOPED_TRACE(args.back() + " " + args[args.size() / 2]);
        const auto start = std::chrono::steady_clock::now();
        const Finished r = Run(args);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
        EXPECT_EQ(r.exitCode, row.exitCode) << r.errors;
        for (const std::string& part : row.says)
            EXPECT_NE(r.errors.find(part), std::string::npos) << r.errors;
        EXPECT_FALSE(fs::exists(out));
    }
}

// The read succeeds but its output folder is removed while it runs: the radio's data are kept
// as a backup, --no-backup notwithstanding, and the message says where (exit 9).
TEST_F(CliTransfer, ReadWhoseOutputCannotBeWrittenKeepsTheDataAsABackup)
{
    const fs::path source = SmallFile("source.VNTX", 1), folder = dir / "gone", log = dir / "sim.log";
    fs::create_directories(folder);
    Sim slow({"--load", source.string(), "--slow", "100", "--verbose"}, log.string());
    const std::string data = "XDG_DATA_HOME=" + (dir / "data").string();
    auto read = std::async(std::launch::async, [&] {
        return RunProgram({"env", data, tool.string(), "read", "--fast", "--no-backup", "--port", slow.device(), "-o",
                           (folder / "read.VNTX").string()});
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    auto opened = [&] {
        std::ifstream in(log);
        return std::string(std::istreambuf_iterator<char>(in), {}).find("open read session") != std::string::npos;
    };
    while (!opened() && std::chrono::steady_clock::now() < deadline)
        usleep(10000);
    fs::remove_all(folder);
    const Finished r = read.get();
    EXPECT_EQ(r.exitCode, 9) << r.errors;
    const fs::path backups = dir / "data" / "zr740" / "backups";
    ASSERT_TRUE(fs::is_directory(backups)) << r.errors;
    const fs::path kept = fs::directory_iterator(backups)->path();
    EXPECT_NE(r.errors.find("the data read are kept in " + kept.string()), std::string::npos) << r.errors;
    EXPECT_EQ(Slice(Bytes(*Load(kept)), 6734, 2 * 82), Slice(Bytes(*Load(source)), 6734, 2 * 82));
}

TEST_F(CliTransfer, SimulatorExplainsRefusedFilesAndStopsWhateverItIsSent)
{
    const Finished refused = RunProgram({(kProgramDir / "zr740sim").string(), "--load", "/dev/null"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.errors.find("too short for a codeplug file: 0 bytes"), std::string::npos) << refused.errors;

    auto sim = std::make_unique<Sim>(std::vector<std::string>{});
    // Wake bytes whose answers nobody reads, then the port is closed: nothing is left for the
    // next opener.
    int fd = open(sim->device().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    const std::vector<std::uint8_t> wakes(200, 0x5A);
    ASSERT_EQ(write(fd, wakes.data(), wakes.size()), 200);
    usleep(300'000);
    close(fd);
    usleep(200'000);
    fd = open(sim->device().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    usleep(100'000);
    std::uint8_t byte = 0;
    EXPECT_EQ(read(fd, &byte, 1), -1) << "the answers to a closed port were dropped";

    // A flood the host never reads fills the line; a SIGTERM still ends the simulator at once.
    const std::vector<std::uint8_t> flood(64 * 1024, 0x5A);
    for (int i = 0; i < 8; ++i)
        (void)write(fd, flood.data(), flood.size());
    usleep(300'000);
    const auto start = std::chrono::steady_clock::now();
    sim.reset();  // SIGTERM and wait
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    close(fd);
}

namespace {
std::vector<std::string> Lines(const fs::path& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}
std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields;
    std::stringstream in(line);
    for (std::string f; std::getline(in, f, ',');)
        fields.push_back(f);
    return fields;
}
}  // namespace

// Two simulated fleets on two ports, the fast link, Ctrl+C once three radios are in the log: the
// run ends with every radio it began written and logged, the IDs consecutive.
TEST_F(CliTransfer, FleetOverTwoPortsStopsOnInterruptWithACompleteLog)
{
    const fs::path source = SmallFile("source.VNTX", 1), log = dir / "fleet.csv";
    const fs::path saved[2] = {dir / "radio1.VNTX", dir / "radio2.VNTX"};
    Sim a({"--load", source.string(), "--fleet", "3", "--absent", "200", "--first-serial", "100", "--save-on-close",
           saved[0].string()});
    Sim b({"--load", source.string(), "--fleet", "3", "--absent", "200", "--first-serial", "200", "--save-on-close",
           saved[1].string(), "--appear-after", "300"});
    const fs::path errors = dir / "fleet-errors.txt";
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        const int err = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(null, STDOUT_FILENO), dup2(err, STDERR_FILENO);
        execl(tool.c_str(), tool.c_str(), "fleet", "--port", a.device().c_str(), "--port", b.device().c_str(),
              source.c_str(), "--first-id", "1000001", "--log", log.c_str(), "--fast", nullptr);
        _exit(127);
    }
    ASSERT_GT(pid, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (Lines(log).size() < 1 + 3 && std::chrono::steady_clock::now() < deadline)
        usleep(20000);
    kill(pid, SIGINT);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    // Every port lives on a thread Qt started: Qt has nothing to warn about.
    for (const std::string& line : Lines(errors))
        EXPECT_EQ(line.find("QSocketNotifier"), std::string::npos) << line;

    const auto lines = Lines(log);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_LE(lines.size(), 1u + 6u);
    EXPECT_EQ(lines[0], "time,port,serial,radio_id,seconds,result,id");
    std::set<std::string> serials, ids;
    std::map<std::string, std::string> lastIdOfPort;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto f = Fields(lines[i]);
        ASSERT_EQ(f.size(), 7u) << lines[i];
        EXPECT_EQ(f[5], "written");
        EXPECT_EQ(f[6], "assigned");
        serials.insert(f[2]);
        ids.insert(f[3]);
        lastIdOfPort[f[1]] = f[3];
    }
    EXPECT_EQ(serials.size(), lines.size() - 1);
    std::set<std::string> expected;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i)
        expected.insert(std::to_string(1000001 + i));
    EXPECT_EQ(ids, expected);
    // What each simulator holds after its last write is the last ID logged for its port.
    const std::string ports[2] = {a.device(), b.device()};
    for (int p = 0; p < 2; ++p) {
        if (!lastIdOfPort.count(ports[p]))
            continue;
        const std::uint32_t packed = static_cast<std::uint32_t>(std::stoul(lastIdOfPort[ports[p]], nullptr, 16));
        EXPECT_EQ(GetLE32(Load(saved[p])->DmrSettings, 1), packed) << ports[p];
    }
}
