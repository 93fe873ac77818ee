#include "codeplug/CodeplugFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string ErrorText(int error) { return std::generic_category().message(error); }

}  // namespace

void (*saveStepObserver)(std::string_view step) = nullptr;

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

// Temporary files are named TARGET.PID.N.saving: the target's own name, the saving process and
// a counter of that process.
constexpr std::string_view kTemporarySuffix = ".saving";

fs::path TemporaryName(const fs::path& target, unsigned number)
{
    fs::path name = target;
    name += "." + std::to_string(getpid()) + "." + std::to_string(number) + std::string(kTemporarySuffix);
    return name;
}

// The process id in `name` when it is a temporary name of `target` (TARGET.PID.N.saving).
std::optional<pid_t> TemporaryOwner(std::string_view name, std::string_view target)
{
    if (name.size() <= target.size() + 1 + kTemporarySuffix.size() || name.substr(0, target.size()) != target ||
        name[target.size()] != '.' || !name.ends_with(kTemporarySuffix))
        return std::nullopt;
    const std::string_view middle =
        name.substr(target.size() + 1, name.size() - target.size() - 1 - kTemporarySuffix.size());
    const std::size_t dot = middle.find('.');
    const auto digits = [](std::string_view t, std::size_t most) {
        return !t.empty() && t.size() <= most &&
               std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (dot == std::string_view::npos || !digits(middle.substr(0, dot), 9) || !digits(middle.substr(dot + 1), 10))
        return std::nullopt;
    return static_cast<pid_t>(std::stoll(std::string(middle.substr(0, dot))));
}

// Removes what an earlier save of this target left when its process died before it could clean
// up (killed, power lost): our own temporary names for this target only, regular files of this
// user, of a process that no longer runs. Another program's files are never touched.
void RemoveStaleTemporaries(const fs::path& target)
{
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string name = target.filename().string();
    std::error_code error;
    for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        const std::string entry = it->path().filename().string();
        const std::optional<pid_t> owner = TemporaryOwner(entry, name);
        if (!owner || *owner == getpid() || *owner <= 0)
            continue;
        struct stat st{};
        if (::lstat(it->path().c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
            continue;
        if (::kill(*owner, 0) == 0 || errno != ESRCH)
            continue;  // its process still runs (or is not ours to ask): maybe saving right now
        ::unlink(it->path().c_str());
    }
}

// A new file beside the target, under a name no other file has. An existing file is never
// opened (O_EXCL), whatever its name, and a link planted at the name is not followed.
int CreateBeside(const fs::path& target, fs::path& name)
{
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 1000; ++attempt) {
        name = TemporaryName(target, counter.fetch_add(1));
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

void Step(std::string_view step)
{
    if (saveStepObserver != nullptr)
        saveStepObserver(step);
}

bool Synced(int fd)
{
    Step("sync");
    return ::fsync(fd) == 0;
}

bool Renamed(const fs::path& from, const fs::path& to)
{
    Step("rename");
    return ::rename(from.c_str(), to.c_str()) == 0;
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

// A target that exists and is neither a regular file nor a directory: a device or a pipe (say
// -o /dev/stdout). It cannot be replaced, and must not be: renaming a file over /dev/null would
// take the device away. Its bytes are written into it as they are.
bool IsSpecialFile(const fs::path& target)
{
    struct stat st{};
    return ::stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
}

FileResult WriteInto(const fs::path& target, std::span<const std::uint8_t> bytes, bool replace)
{
    if (!replace) {  // a trial: may it be opened for writing?
        if (::access(target.c_str(), W_OK) != 0)
            return {FileStatus::WriteFailed, ErrorText(errno)};
        return {};
    }
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return {FileStatus::WriteFailed, ErrorText(errno)};
    const bool ok = WriteWhole(fd, bytes);
    const int error = errno;
    ::close(fd);
    return ok ? FileResult{} : FileResult{FileStatus::WriteFailed, ErrorText(error)};
}

// Writes the bytes into a new file beside the target and, when `replace` is set, puts it in the
// target's place; otherwise removes it again (a trial of whether the target can be written).
FileResult WriteBeside(const fs::path& path, std::span<const std::uint8_t> bytes, bool replace)
{
    const fs::path target = ThroughLinks(path);
    std::error_code kind;
    if (fs::is_directory(target, kind))
        return {FileStatus::WriteFailed, ErrorText(EISDIR)};
    if (IsSpecialFile(target))
        return WriteInto(target, bytes, replace);
    RemoveStaleTemporaries(target);
    fs::path temp;
    const int fd = CreateBeside(target, temp);
    if (fd < 0)
        return {FileStatus::WriteFailed, ErrorText(errno)};
    struct stat existing{};
    if (::stat(target.c_str(), &existing) == 0)
        ::fchmod(fd, existing.st_mode & 07777);  // the new file keeps the old one's permissions
    // Written whole and on the disk before it takes the target's place.
    bool ok = WriteWhole(fd, bytes) && Synced(fd);
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && replace && !Renamed(temp, target)) {
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

FileResult AppendFileContents(const fs::path& path, std::span<const std::uint8_t> bytes)
{
    const fs::path target = ThroughLinks(path);
    if (IsSpecialFile(target))
        return WriteInto(target, bytes, true);
    std::vector<std::uint8_t> whole;
    std::error_code error;
    if (fs::exists(target, error) && !fs::is_directory(target, error)) {
        std::ifstream in(target, std::ios::binary);
        if (!in)
            return {FileStatus::WriteFailed, "cannot read it to append: " + ErrorText(errno)};
        whole.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (in.bad())
            return {FileStatus::WriteFailed, "cannot read it to append: " + ErrorText(errno)};
    }
    whole.insert(whole.end(), bytes.begin(), bytes.end());
    return WriteBeside(path, whole, true);
}

void IgnoreFileSizeSignal() { ::signal(SIGXFSZ, SIG_IGN); }

FileResult CheckCodeplugFileWritable(const fs::path& path)
{
    const std::vector<std::uint8_t> zeros(kCodeplugFileBytes, 0);
    return WriteBeside(path, zeros, false);
}
