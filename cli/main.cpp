// zr740: the command-line tool. Each verb lives in a file of its own (see cli/Verbs.h); this file
// only chooses the verb.
#include <array>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cli/Verbs.h"
#include "codeplug/CodeplugFile.h"

namespace {

using namespace cli;

constexpr std::array kVerbs = {
    Verb{"info", "[--json] [--force] FILE.VNTX",
         "overview: marker, counts, radio ID, band and the names of channels, zones and lists", RunInfo},
    Verb{"dump", "[--json] [--force] FILE.VNTX", "every field of every block, decoded", RunDump},
    Verb{"export", "FILE.VNTX [--table analog|digital|contacts|rxgroups | --to chirp|qdmr] [-o OUT] | FILE.VNTX --format pdf -o SHEET.pdf [--page a4|letter] [--lang en|zh]",
         "the whole codeplug as JSON, one table as CSV, or in CHIRP's CSV (analog channels) or qdmr's YAML (to stdout without -o); or the channel sheet as PDF", RunExport},
    Verb{"import", "FILE.json -o NEW.VNTX | T.csv --table NAME --into FILE.VNTX [-o OUT.VNTX] | --from chirp|qdmr|dmr-users FILE --into FILE.VNTX -o OUT.VNTX [--rows 71-78,80] [--append|--replace]",
         "a JSON codeplug back into a file, or a CSV table into a codeplug (all or nothing; exit 1 and nothing written on any problem); --from: a CHIRP channel list, a qdmr codeplug or a DMR user list, each row stored or listed with the reason it is not (--append is the default for chirp and dmr-users, --replace for qdmr)", RunImport},
    Verb{"diff", "A.VNTX B.VNTX", "every differing field in words (exit 0 equal, 1 different, 2+ trouble)", RunDiff},
    Verb{"check", "FILE.VNTX", "the problems a write would carry to a radio (exit 1 on errors)", RunCheck},
    Verb{"read", "--port PORT -o FILE.VNTX [--password DIGITS] [--fast] [--no-backup] [--trace FILE]", "read a radio into a codeplug file, and a backup into $XDG_DATA_HOME/zr740/backups unless --no-backup (PORT: a device or COMn; exit 6 port unusable, 7 no answer, 8 password, 9 file not written)", RunRead},
    Verb{"write", "--port PORT FILE.VNTX [--radio-id ID] [--password DIGITS] [--fast] [--trace FILE]", "write a codeplug file to a radio (PORT: a device or COMn; exit 6 port unusable, 7 no answer, 8 password)", RunWrite},
    Verb{"fleet", "--port PORT [--port PORT ...] FILE.VNTX (--first-id ID | --ids FILE) [--count N] [--log FILE.csv] [--password DIGITS] [--fast]",
         "write one codeplug to radio after radio on one or more ports, each radio with the next free DMR ID; every radio is reported on the terminal and in a CSV log (default zr740-fleet.csv); Ctrl+C finishes the writes under way and stops", RunFleet},
};

void PrintHelp(std::FILE* to)
{
    std::fprintf(to, "usage: zr740 VERB [OPTIONS] ARGUMENTS\n\nVerbs:\n");
    for (const Verb& verb : kVerbs) {
        std::fprintf(to, "  zr740 %.*s %.*s\n      %.*s\n", static_cast<int>(verb.name.size()), verb.name.data(),
                     static_cast<int>(verb.usage.size()), verb.usage.data(), static_cast<int>(verb.summary.size()),
                     verb.summary.data());
    }
    std::fprintf(to,
                 "\nOptions:\n"
                 "  --json   machine-readable output\n"
                 "  --force  show a file whose marker is not 740\n"
                 "  --trace FILE  read/write: every byte sent and received, time-stamped, one line each\n"
                 "  --help   this text\n"
                 "\nExit status: 0 done, 1 failure, 2 usage error, 3 file missing or unreadable,\n"
                 "4 file too short, 5 not a ZR-740 codeplug file (wrong marker).\n");
}

}  // namespace

int main(int argc, char** argv)
{
    IgnoreFileSizeSignal();
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (args.empty()) {
        PrintHelp(stderr);
        return kExitUsage;
    }
    const std::string_view name = args.front();
    if (name == "--help" || name == "-h" || name == "help") {
        PrintHelp(stdout);
        return kExitOk;
    }
    for (const Verb& verb : kVerbs) {
        if (verb.name != name)
            continue;
        const Args rest(args.data() + 1, args.size() - 1);
        for (const std::string_view arg : rest) {
            if (arg == "--help" || arg == "-h") {
                std::printf("usage: zr740 %.*s %.*s\n  %.*s\n", static_cast<int>(verb.name.size()), verb.name.data(),
                            static_cast<int>(verb.usage.size()), verb.usage.data(),
                            static_cast<int>(verb.summary.size()), verb.summary.data());
                return kExitOk;
            }
        }
        try {
            return verb.run(rest);
        } catch (const std::exception& error) {
            PrintError(verb.name, std::string("internal error: ") + error.what());
            return kExitFailure;
        }
    }
    std::fprintf(stderr, "zr740: unknown verb '%.*s' (zr740 --help lists the verbs)\n", static_cast<int>(name.size()),
                 name.data());
    return kExitUsage;
}
