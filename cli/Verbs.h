#pragma once
// The verbs of the zr740 tool. A verb is one function in its own file, taking the arguments that
// follow the verb's name and returning the process exit code; cli/main.cpp lists the verbs in
// its table. Errors go to stderr as one line "zr740 VERB: message".
#include <filesystem>
#include <optional>
#include <string>
#include <span>
#include <string_view>

#include "core/ProgramDirectories.h"
#include "codeplug/Codeplug.h"
#include "link/PortProbe.h"

namespace cli {

// Exit codes, distinct for each way a codeplug file can be unusable.
enum ExitCode : int {
    kExitOk = 0,
    kExitFailure = 1,      // anything else that went wrong (a write, the radio, an internal error)
    kExitUsage = 2,        // unknown verb or option, missing argument
    kExitOpenFailed = 3,   // the file is missing or cannot be read
    kExitShortFile = 4,    // shorter than a codeplug
    kExitWrongMarker = 5,  // full length, but not a ZR-740 codeplug file (marker not 740)
};

using Args = std::span<const std::string_view>;

struct Verb {
    std::string_view name;
    std::string_view usage;    // arguments after the name
    std::string_view summary;  // one line for --help
    int (*run)(Args args);
};

// cli/Inspect.cpp
int RunInfo(Args args);
int RunDump(Args args);
// cli/ReadWrite.cpp
int RunRead(Args args);
int RunWrite(Args args);

// cli/Text.cpp
int RunExport(Args args);
int RunImport(Args args);
int RunDiff(Args args);
int RunCheck(Args args);

// cli/Sheet.cpp: the channel sheet as PDF (zr740 export FILE --format pdf -o OUT.pdf), in the
// language of the desktop program's settings unless `language` ("en", "zh") says otherwise, on
// `page` ("a4", "letter") paper.
int ExportSheetPdf(const std::filesystem::path& file, const std::string& output, const std::string& page,
                   const std::string& language);

// cli/Foreign.cpp: import --from and export --to (other programs' formats).
int RunImportFrom(Args args);
int RunExportTo(Args args);

// cli/Fleet.cpp
int RunFleet(Args args);

// cli/ReadWrite.cpp: the ports of the transfer verbs.
// The folders of the desktop program's files as that program would find them from here.
ProgramDirectories ProgramFolders();
// The directory of the running program (COMn links and the default codeplug live there).
std::filesystem::path ProgramDirectory();
// "COM3" (any case) names a port number; anything else is a device path.
std::optional<int> ComNumber(std::string_view port);
// Why a probed port cannot be used, for the user; empty when it can.
std::string PortProblem(const PortCheck& check);

// Prints "zr740 VERB: message" to stderr.
void PrintError(std::string_view verb, std::string_view message);

// Loads a codeplug file for a verb. On failure prints the error line and returns the exit code;
// a file with a wrong marker counts as a failure unless allowWrongMarker is set, in which case a
// warning line is printed and kExitOk returned.
int LoadCodeplugForVerb(std::string_view verb, const std::filesystem::path& path, Codeplug& codeplug,
                        bool allowWrongMarker = false);

}  // namespace cli
