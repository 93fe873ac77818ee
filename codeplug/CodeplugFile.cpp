#include "codeplug/CodeplugFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
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
        return {FileStatus::ShortFile, {}, got};

    CodeplugFromBytes(codeplug, bytes);
    RepairFunctionExtra(codeplug);
    const auto marker = static_cast<std::int32_t>(GetLE32(codeplug.FileMarker, 0));
    if (marker != kFileMarkerValue)
        return {FileStatus::WrongMarker, "marker " + std::to_string(marker), got};
    return {FileStatus::Ok, {}, got};
}

std::string DescribeFileProblem(const FileResult& result)
{
    switch (result.status) {
    case FileStatus::Ok: return {};
    case FileStatus::WrongMarker:
        return "not a ZR-740 codeplug file or damaged (" + result.detail + ", expected " +
               std::to_string(kFileMarkerValue) + ")";
    case FileStatus::ShortFile:
        return "too short for a codeplug file: " + std::to_string(result.bytesRead) + " bytes, a codeplug has " +
               std::to_string(kCodeplugFileBytes);
    case FileStatus::OpenFailed: return "cannot be read: " + result.detail;
    case FileStatus::WriteFailed: return "cannot be written: " + result.detail;
    }
    return {};
}

namespace {

// The file a path names, through any chain of symbolic links (a dangling link names the file it
// points to, which the save then creates). The link itself stays as it is.
fs::path ThroughLinks(fs::path path)
{
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error)))
            break;
        const fs::path next = fs::read_symlink(path, error);
        if (error)
            break;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return path;
}

// A new file beside the target, under a name no other file has: TARGET.PID.N.saving. An
// existing file is never opened (O_EXCL), whatever its name.
int CreateBeside(const fs::path& target, fs::path& name)
{
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 1000; ++attempt) {
        name = target;
        name += "." + std::to_string(getpid()) + "." + std::to_string(counter.fetch_add(1)) + ".saving";
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

bool WriteWhole(int fd, std::span<const std::uint8_t> bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Writes the bytes into a new file beside the target and, when `replace` is set, puts it in the
// target's place; otherwise removes it again (a trial of whether the target can be written).
FileResult WriteBeside(const fs::path& path, std::span<const std::uint8_t> bytes, bool replace)
{
    const fs::path target = ThroughLinks(path);
    std::error_code kind;
    if (fs::is_directory(target, kind))
        return {FileStatus::WriteFailed, ErrorText(EISDIR)};
    fs::path temp;
    const int fd = CreateBeside(target, temp);
    if (fd < 0)
        return {FileStatus::WriteFailed, ErrorText(errno)};
    struct stat existing{};
    if (::stat(target.c_str(), &existing) == 0)
        ::fchmod(fd, existing.st_mode & 07777);  // the new file keeps the old one's permissions
    // Written whole and on the disk before it takes the target's place.
    bool ok = WriteWhole(fd, bytes) && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && replace && ::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok || !replace) {
        ::unlink(temp.c_str());
        return ok ? FileResult{} : FileResult{FileStatus::WriteFailed, ErrorText(error)};
    }
    // The new directory entry on the disk too.
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return {};
}

}  // namespace

FileResult SaveCodeplugFile(Codeplug& codeplug, const fs::path& path)
{
    PutLE32(codeplug.FileMarker, 0, static_cast<std::uint32_t>(kFileMarkerValue));
    return WriteCodeplugFile(codeplug, path);
}

FileResult WriteCodeplugFile(Codeplug& codeplug, const fs::path& path)
{
    const std::vector<std::uint8_t> bytes = CodeplugToBytes(codeplug);
    return WriteBeside(path, bytes, true);
}

FileResult ReplaceFileContents(const fs::path& path, std::span<const std::uint8_t> bytes)
{
    return WriteBeside(path, bytes, true);
}

FileResult CheckCodeplugFileWritable(const fs::path& path)
{
    const std::vector<std::uint8_t> zeros(kCodeplugFileBytes, 0);
    return WriteBeside(path, zeros, false);
}
