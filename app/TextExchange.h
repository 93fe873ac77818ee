#pragma once
// File › Export and File › Import of the desktop program, free of any window: what can be
// exchanged, the text a kind is written as, and an import that applies a file to the codeplug
// only when the whole file is good.
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/Codeplug.h"
#include "codeplug/CodeplugFile.h"

enum class ExchangeKind { WholeJson, AnalogCsv, DigitalCsv, ContactsCsv, RxGroupsCsv };
inline constexpr std::array kExchangeKinds = {ExchangeKind::WholeJson, ExchangeKind::AnalogCsv, ExchangeKind::DigitalCsv,
                                              ExchangeKind::ContactsCsv, ExchangeKind::RxGroupsCsv};

// "json" or "csv": the file name suffix of a kind.
std::string_view ExchangeSuffix(ExchangeKind kind);

// The file's text: the whole codeplug as JSON, or one table as CSV.
std::string ExportText(const Codeplug& codeplug, ExchangeKind kind);

// Writes the export safely (beside the target, then renamed over it).
FileResult WriteExport(const Codeplug& codeplug, ExchangeKind kind, const std::filesystem::path& path);

// One reason an import was refused: where (a CSV cell, row or the file; a JSON path) and why.
struct ImportProblem {
    std::size_t row = 0;     // CSV: 1-based, the header is row 1; 0 for the file as a whole
    std::size_t column = 0;  // CSV: 1-based; 0 for the whole row
    std::string header;      // CSV: the column's header, when known
    std::string path;        // JSON: the pointer of the value ("/analogChannels/records/2/name")
    std::string reason;
};

struct ImportOutcome {
    enum class Status {
        Imported,
        Unreadable,  // the file could not be opened or read; `detail` says why
        Empty,       // no bytes, or only blanks
        TooLarge,    // far larger than any table or codeplug text
        Binary,      // holds bytes no text file has (NUL)
        NotUtf8,     // text, but not UTF-8 (a spreadsheet's "CSV" in the system code page)
        NotJson,     // JSON expected and the text does not parse; `detail` says where
        Refused,     // read well, but the data were refused: `problems`, one line each
    };
    Status status = Status::Imported;
    std::string detail;
    std::vector<ImportProblem> problems;
    bool imported() const { return status == Status::Imported; }
};

// Judges the bytes and imports them into `codeplug`, which changes only on Imported.
ImportOutcome ImportText(std::string_view bytes, ExchangeKind kind, Codeplug& codeplug);
// Reads the file, then ImportText.
ImportOutcome ImportFile(const std::filesystem::path& path, ExchangeKind kind, Codeplug& codeplug);
