// The zr740 tool as a user runs it: exit codes and output.
#include "tests/core/TestFiles.h"

#include <nlohmann/json.hpp>

namespace fs = std::filesystem;

namespace {

using testfiles::Zr740;

class Cli : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!fs::exists(fs::path(ZR740_PROGRAM_DIR) / "zr740"))
            GTEST_SKIP() << "zr740 not built";
    }

    // A copy of the default file cut to size, optionally with the marker cleared; quoted for the shell.
    std::string Copy(const std::string& name, std::size_t size, bool foreign = false)
    {
        std::string bytes = testfiles::ReadText(defaultFile);
        if (foreign)
            bytes.replace(11275, 4, 4, '\0');
        bytes.resize(size);
        testfiles::WriteText(dir / name, bytes);
        return "'" + (dir / name).string() + "'";
    }

    const fs::path defaultFile = testfiles::kDefaultFile;
    const testfiles::TempDir dir;
};

}  // namespace

TEST_F(Cli, InfoAndDumpShowTheDefaultFileAndRefuseUnusableOnes)
{
    std::string bytes = testfiles::ReadText(defaultFile);
    bytes.replace(11208 + 2, 7, std::string("SN-0815", 7));  // RadioInfoBlock byte 2
    bytes.replace(71, 6, std::string("M1.2.3", 6));           // RadioSettings byte 71
    bytes.replace(58, 6, std::string("D4.5.6", 6));           // RadioSettings byte 58
    bytes[55] = 5;
    testfiles::WriteText(dir / "info.VNTX", bytes);
    const testfiles::Ran info = Zr740("info '" + (dir / "info.VNTX").string() + "'");
    EXPECT_EQ(info.exitCode, 0);
    for (const char* line : {"Serial number: SN-0815\n", "MCU firmware version: M1.2.3\n", "DSP firmware version: D4.5.6\n",
                             "Band: 350-400MHz\n", "Digital channels (6 in use, table of 16)"})
        EXPECT_NE(info.out.find(line), std::string::npos) << line;
    const testfiles::Ran dump = Zr740("dump --json '" + defaultFile.string() + "'");
    EXPECT_EQ(dump.exitCode, 0);
    EXPECT_TRUE(nlohmann::json::accept(dump.out) && dump.out.find("\"rxTone\": \"D023N\"") != std::string::npos);
    // Each unusable file has its own exit code.
    EXPECT_EQ((std::vector{Zr740("info '" + (dir / "missing.VNTX").string() + "'").exitCode,
                           Zr740("info " + Copy("empty.VNTX", 0)).exitCode, Zr740("dump " + Copy("short.VNTX", 11278)).exitCode,
                           Zr740("info " + Copy("foreign.VNTX", 11279, true)).exitCode,
                           Zr740("info " + Copy("long.VNTX", 11279) + " extra").exitCode, Zr740("frobnicate").exitCode,
                           Zr740("info --bogus x").exitCode, Zr740("--help").exitCode}),
              (std::vector{3, 4, 4, 5, 2, 2, 2, 0}));
    const testfiles::Ran forced = Zr740("info --force " + Copy("foreign.VNTX", 11279, true));
    EXPECT_TRUE(forced.exitCode == 0 && forced.out.find("Marker: 0") != std::string::npos) << forced.out;
}

TEST_F(Cli, OtherProgramsFilesInAndOutEveryRowReportedBadFilesRefusedWithNothingWritten)
{
    const std::string data = std::string(ZR740_SOURCE_DIR) + "/tests/data/foreign/";
    const fs::path out = dir / "out.VNTX";
    const std::string into = " --into '" + defaultFile.string() + "' -o '" + out.string() + "'";
    const testfiles::Ran chirp = Zr740("import --from chirp '" + data + "repeaters.csv'" + into + " --rows 1-3");
    EXPECT_EQ(chirp.exitCode, 0);
    EXPECT_EQ(chirp.out, "row 1 (Gate): Analog channel 7\nrow 2 (Yard Rpt): Analog channel 8\n"
                         "row 3 (Airband): not stored: mode AM: the radio stores FM and NFM channels only\n"
                         "note: columns the radio has no place for: TStep, Comment\n2 rows not chosen by --rows\n"
                         "2 of 5 rows stored in " + out.string() + "\n");
    EXPECT_NE(Zr740("info '" + out.string() + "'").out.find("Analog channels (8 in use"), std::string::npos);

    const fs::path list = dir / "list.csv", yaml = dir / "list.yaml";
    testfiles::WriteText(list, "Location,Name\n1,A\n");
    testfiles::WriteText(yaml, "- a\n- b\n");
    const std::pair<std::string, int> refused[] = {
        {"import --from chirp '" + list.string() + "'" + into, 1},
        {"import --from qdmr '" + yaml.string() + "'" + into, 1},
        {"import --from chirp '" + data + "repeaters.csv'" + into + " --rows 9", 1},
        {"import --from dmr-users '" + (dir / "none.csv").string() + "'" + into, 3},
        {"import --from chirp '" + data + "repeaters.csv'" + into + " --rows x", 2},
        {"import --from chirp '" + data + "repeaters.csv'" + into + " --append --replace", 2},
        {"import --from csv '" + data + "repeaters.csv'" + into, 2},
    };
    for (const auto& [args, code] : refused) {
        fs::remove(out);
        EXPECT_EQ(Zr740(args).exitCode, code) << args;
        EXPECT_FALSE(fs::exists(out)) << args;
    }

    for (const auto& [format, start] : {std::pair{"chirp", "Location,Name,Frequency,"}, {"qdmr", "version: \"0.12.0\"\n"}}) {
        const fs::path file = dir / (std::string("export.") + format);
        EXPECT_EQ(Zr740("export '" + defaultFile.string() + "' --to " + format + " -o '" + file.string() + "'").exitCode, 0);
        const std::string text = testfiles::ReadText(file);
        EXPECT_EQ(text.substr(0, std::string(start).size()), start) << format;
        EXPECT_EQ(Zr740("export '" + defaultFile.string() + "' --to " + format).out, text) << format;
    }
}
