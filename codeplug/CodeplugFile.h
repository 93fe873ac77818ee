#pragma once
// Codeplug files (*.VNTX): the 21 blocks back to back in file order, 11279 bytes in all.
// Errors come back as values; the caller decides how to tell the user.
#include <filesystem>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/Codeplug.h"

enum class FileStatus {
    Ok,
    WrongMarker,   // full-length file loaded, but its trailer is not 740: warn the user
    ShortFile,     // shorter than a codeplug: refused, the image is unchanged
    OpenFailed,    // cannot be opened or read: the image is unchanged
    WriteFailed,   // nothing was replaced; the previous file is intact
};

struct FileResult {
    FileStatus status = FileStatus::Ok;
    std::string detail;  // system error text for OpenFailed / WriteFailed
    std::size_t bytesRead = 0;  // Load: the bytes the file gave (at most one codeplug's worth)
    bool loaded() const { return status == FileStatus::Ok || status == FileStatus::WrongMarker; }
    bool ok() const { return status == FileStatus::Ok; }
};

// Loads over the image. A short or unreadable file leaves the image as it was; a longer file
// contributes only its first 11279 bytes. The FunctionExtra value repair is applied.
FileResult LoadCodeplugFile(Codeplug& codeplug, const std::filesystem::path& path);

// Sets the marker to 740 and replaces the file atomically, so the result is exactly 11279 bytes
// and a failed or interrupted save leaves the previous file intact: the bytes go into a new file
// of a unique name beside the target (an existing file is never reused), are flushed to the disk
// and the new file is renamed over the target. A target that is a symbolic link is written
// through: the file it points to is replaced, the link stays a link.
FileResult SaveCodeplugFile(Codeplug& codeplug, const std::filesystem::path& path);
// The same replacement, writing the image exactly as it is (the marker included).
FileResult WriteCodeplugFile(Codeplug& codeplug, const std::filesystem::path& path);

// The same safe replacement for any bytes (exported text, logs, traces, settings): written
// beside the target, flushed, then renamed over it; a failure leaves the previous file intact.
// Every file the programs write goes through it (or AppendFileContents).
//
// The temporary file is TARGET.PID.N.saving, created exclusively (a file or link planted at that
// name is never opened); temporaries of this target that a killed save left behind are removed
// by the next save of the target. A target that is a device or a pipe (-o /dev/stdout) is not
// replaced but written into.
FileResult ReplaceFileContents(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Appends by replacement: the file's contents (an absent file counts as empty) followed by the
// bytes, saved as ReplaceFileContents does, so a growing log is never left half-written. A file
// that exists but cannot be read is not replaced.
FileResult AppendFileContents(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// A save beyond the file-size limit (ulimit -f) then fails with "File too large" and leaves the
// old file, instead of the signal ending the program. Each program calls it once at start.
void IgnoreFileSizeSignal();

// Whether a save to the path would work: a codeplug's worth of bytes is written beside the
// target as a save does and removed again. Nothing at the path changes.
FileResult CheckCodeplugFileWritable(const std::filesystem::path& path);

// One line saying why a load or save result is not Ok ("" for Ok), e.g. "too short for a
// codeplug file: 0 bytes, a codeplug has 11279".
std::string DescribeFileProblem(const FileResult& result);

// The image as the bytes of a file, and the reverse (no repair, no marker check).
std::vector<std::uint8_t> CodeplugToBytes(Codeplug& codeplug);
// Copies the first 11279 bytes; throws std::invalid_argument when fewer are given.
void CodeplugFromBytes(Codeplug& codeplug, std::span<const std::uint8_t> bytes);

// For tests: when set, told of the steps of every save as they are taken ("sync" of the new
// file, "rename" over the target), so the order can be checked.
extern void (*saveStepObserver)(std::string_view step);
