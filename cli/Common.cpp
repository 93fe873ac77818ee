#include <cstdio>
#include <string>
#include <system_error>

#include "cli/Verbs.h"
#include "codeplug/CodeplugFile.h"

namespace cli {

void PrintError(std::string_view verb, std::string_view message)
{
    std::fprintf(stderr, "zr740 %.*s: %.*s\n", static_cast<int>(verb.size()), verb.data(),
                 static_cast<int>(message.size()), message.data());
}

int LoadCodeplugForVerb(std::string_view verb, const std::filesystem::path& path, Codeplug& codeplug,
                        bool allowWrongMarker)
{
    const std::string name = path.string();
    const FileResult result = LoadCodeplugFile(codeplug, path);
    switch (result.status) {
    case FileStatus::Ok: return kExitOk;
    case FileStatus::OpenFailed:
        PrintError(verb, "cannot open " + name + ": " + result.detail);
        return kExitOpenFailed;
    case FileStatus::ShortFile:
        // The count of bytes read, so a device or pipe (no size of its own) is described too.
        PrintError(verb, name + " is " + DescribeFileProblem(result));
        return kExitShortFile;
    case FileStatus::WrongMarker: {
        const auto marker = static_cast<std::int32_t>(GetLE32(codeplug.FileMarker, 0));
        const std::string what = name + " is not a ZR-740 codeplug file or is damaged (marker " +
                                 std::to_string(marker) + ", expected " + std::to_string(kFileMarkerValue) + ")";
        if (allowWrongMarker) {
            PrintError(verb, "warning: " + what);
            return kExitOk;
        }
        PrintError(verb, what + "; --force shows it anyway");
        return kExitWrongMarker;
    }
    case FileStatus::WriteFailed: break;
    }
    PrintError(verb, "cannot load " + name);
    return kExitFailure;
}

}  // namespace cli
