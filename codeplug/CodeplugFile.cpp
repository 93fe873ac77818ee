#include "codeplug/CodeplugFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string ErrorText(int error) { return std::generic_category().message(error); }

}  // namespace

std::vector<std::uint8_t> CodeplugToBytes(Codeplug& codeplug)
{
    std::vector<std::uint8_t> out;
    out.reserve(kCodeplugFileBytes);
    for (const BlockView& block : BlocksInFileOrder(codeplug))
        out.insert(out.end(), block.bytes.begin(), block.bytes.end());
    return out;
}

void CodeplugFromBytes(Codeplug& codeplug, std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < kCodeplugFileBytes)
        throw std::invalid_argument("codeplug image too short");
    std::size_t offset = 0;
    for (const BlockView& block : BlocksInFileOrder(codeplug)) {
        std::memcpy(block.bytes.data(), bytes.data() + offset, block.bytes.size());
        offset += block.bytes.size();
    }
}

FileResult LoadCodeplugFile(Codeplug& codeplug, const fs::path& path)
{
    // A directory opens as a stream of no bytes; it is a file that cannot be read, not a short one.
    std::error_code kind;
    if (fs::is_directory(path, kind))
        return {FileStatus::OpenFailed, ErrorText(EISDIR)};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {FileStatus::OpenFailed, ErrorText(errno)};
    // Bytes past the codeplug (an oversized file) are never read.
    std::vector<std::uint8_t> bytes(kCodeplugFileBytes);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const auto got = static_cast<std::size_t>(in.gcount());
    if (in.bad())
        return {FileStatus::OpenFailed, ErrorText(errno)};
    if (got < kCodeplugFileBytes)
        return {FileStatus::ShortFile, {}};

    CodeplugFromBytes(codeplug, bytes);
    RepairFunctionExtra(codeplug);
    const auto marker = static_cast<std::int32_t>(GetLE32(codeplug.FileMarker, 0));
    return {marker == kFileMarkerValue ? FileStatus::Ok : FileStatus::WrongMarker, {}};
}

FileResult SaveCodeplugFile(Codeplug& codeplug, const fs::path& path)
{
    PutLE32(codeplug.FileMarker, 0, static_cast<std::uint32_t>(kFileMarkerValue));
    const std::vector<std::uint8_t> bytes = CodeplugToBytes(codeplug);

    // Write beside the target and rename over it: the old file survives any failure.
    fs::path temp = path;
    temp += ".saving";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return {FileStatus::WriteFailed, ErrorText(errno)};
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            const int error = errno;
            std::error_code ignored;
            fs::remove(temp, ignored);
            return {FileStatus::WriteFailed, ErrorText(error)};
        }
    }
    std::error_code error;
    fs::rename(temp, path, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return {FileStatus::WriteFailed, error.message()};
    }
    return {};
}
