#pragma once
// Codeplug files (*.VNTX): the 21 blocks back to back in file order, 11279 bytes in all.
// Errors come back as values; the caller decides how to tell the user.
#include <filesystem>
#include <cstdint>
#include <span>
#include <string>
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
    bool loaded() const { return status == FileStatus::Ok || status == FileStatus::WrongMarker; }
    bool ok() const { return status == FileStatus::Ok; }
};

// Loads over the image. A short or unreadable file leaves the image as it was; a longer file
// contributes only its first 11279 bytes. The FunctionExtra value repair is applied.
FileResult LoadCodeplugFile(Codeplug& codeplug, const std::filesystem::path& path);

// Sets the marker to 740 and replaces the file atomically (temporary file + rename), so the
// result is exactly 11279 bytes and an interrupted save leaves the previous file intact.
FileResult SaveCodeplugFile(Codeplug& codeplug, const std::filesystem::path& path);

// The image as the bytes of a file, and the reverse (no repair, no marker check).
std::vector<std::uint8_t> CodeplugToBytes(Codeplug& codeplug);
// Copies the first 11279 bytes; throws std::invalid_argument when fewer are given.
void CodeplugFromBytes(Codeplug& codeplug, std::span<const std::uint8_t> bytes);
