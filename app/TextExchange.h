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
#include "forms/foreign/ImportPlan.h"

// The last three are other programs' formats: a CHIRP channel list, a qdmr codeplug and a DMR
// user list (import only); their imports are previewed row by row (forms/foreign/ImportPlan.h).
enum class ExchangeKind { WholeJson, AnalogCsv, DigitalCsv, ContactsCsv, RxGroupsCsv, ChirpCsv, QdmrYaml, DmrUsersCsv };
inline constexpr std::array kExchangeKinds = {ExchangeKind::WholeJson,   ExchangeKind::AnalogCsv,
                                              ExchangeKind::DigitalCsv,  ExchangeKind::ContactsCsv,
                                              ExchangeKind::RxGroupsCsv, ExchangeKind::ChirpCsv,
                                              ExchangeKind::QdmrYaml,    ExchangeKind::DmrUsersCsv};

// "json", "csv" or "yaml": the file name suffix of a kind.
std::string_view ExchangeSuffix(ExchangeKind kind);
// Whether the program writes the kind (a DMR user list is only read).
bool CanExport(ExchangeKind kind);
// Whether an import of the kind is a plan of rows the user chooses from.
bool PreviewsImport(ExchangeKind kind);

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

// Judges the bytes and imports them into `codeplug`, which changes only on Imported. A previewed
// kind stores every row that fits, as its preview first offers them.
ImportOutcome ImportText(std::string_view bytes, ExchangeKind kind, Codeplug& codeplug);

// A previewed kind's file as its plan of rows. Imported when `plan` is ready; a file that cannot
// be read is Unreadable, Empty, TooLarge or Binary, and one the reader refuses is Refused with
// the reader's one problem.
ImportOutcome ReadImportPlan(const std::filesystem::path& path, ExchangeKind kind, ImportPlan& plan);
// How a previewed kind imports unless the user says otherwise: a qdmr codeplug replaces the
// tables it brings, the lists add to them.
ImportMode DefaultImportMode(ExchangeKind kind);
// Reads the file, then ImportText.
ImportOutcome ImportFile(const std::filesystem::path& path, ExchangeKind kind, Codeplug& codeplug);
