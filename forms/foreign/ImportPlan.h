#pragma once
// Importing channel lists and codeplugs made by other programs, in two steps.
//
// A reader (ChirpCsv.h, QdmrYaml.h, DmrUserCsv.h) turns a file into a plan: every row of the
// file, each a candidate record with its values in the units the field schema takes (MHz text,
// "67.0" / "D023N" / "None", list texts), or the reason it cannot be stored. Nothing is decided
// about the codeplug there.
//
// FitPlan then says, for the rows the user chose and the codeplug at hand, which rows are stored
// where and why each other row is not (over capacity, out of band, a duplicate); ApplyPlan
// stores the fitting rows into a copy of the codeplug through the editing rules (channel, contact
// and list add and delete, so zones and scan lists follow) and replaces the codeplug only when
// the result passes the check a write makes. No row is ever dropped without its reason.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/Codeplug.h"
#include "forms/FieldSchema.h"

enum class PlanKind { RadioId, Contact, RxGroup, ScanList, AnalogChannel, DigitalChannel, Zone };

// "Analog channel", "Contact" ... as the report names a record.
std::string_view PlanKindLabel(PlanKind kind);

struct PlanRow {
    std::size_t number = 0;  // what --rows and the preview call the row (CHIRP: its Location)
    PlanKind kind = PlanKind::AnalogChannel;
    std::string key;      // the file's own id of the record, for links between rows
    std::string name;     // shown in the preview and the report
    std::string details;  // a short description: frequencies and tones, a call ID, members
    FieldValue values = FieldValue::object();  // field id -> value, written in this order
    // Links to other rows by key. Channels: their contact, receive group list and scan list;
    // zones and scan lists: their channels; receive group lists: their contacts.
    std::string contact, rxGroupList, scanList;
    std::vector<std::string> members;
    // A channel that joins the radio's scan list 1 (and names it) rather than a list of the file.
    bool joinsFirstScanList = false;
    std::string problem;             // not empty: the row cannot be stored, and why
    std::vector<std::string> notes;  // what was read differently from the file, or left out
};

struct ImportPlan {
    std::string format;  // "CHIRP CSV"
    std::vector<PlanRow> rows;
    std::vector<std::string> notes;  // about the file as a whole (keys and columns left out)
    std::string error;               // not empty: the file cannot be read at all
};

enum class ImportMode {
    Append,   // records go after those the codeplug has
    Replace,  // each table the chosen rows bring is replaced by them
};

// What becomes of one row.
struct RowFate {
    bool stored = false;
    bool refused = false;   // cannot be stored whatever is chosen (its reason says why)
    std::size_t index = 0;  // 0-based record of its table when stored
    std::string reason;     // why not, when not stored
    std::vector<std::string> notes;
    std::string Place(PlanKind kind) const;  // "Analog channel 3"
};

// The fate of every row. `chosen` holds one flag per row (missing flags count as not chosen). A
// row that is not chosen says "not chosen" unless it is refused in any case.
std::vector<RowFate> FitPlan(const ImportPlan& plan, const std::vector<bool>& chosen, ImportMode mode,
                             const Codeplug& codeplug);

// The rows that fit when every row is offered, in order: what a preview ticks first.
std::vector<bool> FittingRows(const ImportPlan& plan, ImportMode mode, const Codeplug& codeplug);

struct ImportResult {
    std::vector<RowFate> fates;
    std::vector<std::string> notes;     // what happened beside the rows (members left out)
    std::vector<std::string> problems;  // not empty: refused, the codeplug is unchanged
    std::size_t Stored() const;
};

ImportResult ApplyPlan(const ImportPlan& plan, const std::vector<bool>& chosen, ImportMode mode, Codeplug& codeplug);

// One line per row for a report: "row 12 (Gate): Analog channel 3" or "row 13 (Air): not stored:
// AM cannot be stored ...", each with its notes after "; ".
std::vector<std::string> ReportLines(const ImportPlan& plan, const std::vector<RowFate>& fates,
                                     const std::vector<bool>& chosen);

// Row numbers as ranges: "71-78,80" is {71, 78} and {80, 80}.
struct RowNumbers {
    std::vector<std::pair<std::size_t, std::size_t>> ranges;
    bool Contains(std::size_t number) const;
};
// nullopt and `error` for anything but numbers and ranges separated by commas (0 is a number: a
// CHIRP list may start at Location 0).
std::optional<RowNumbers> ParseRowNumbers(std::string_view text, std::string& error);
// One flag per row: whether its number is named.
std::vector<bool> ChooseRows(const ImportPlan& plan, const RowNumbers& numbers);
