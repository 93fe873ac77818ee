#pragma once
// Undo and redo of the document: the codeplug together with the tables the program holds for the
// run only (VOX, monitor channels, emergency alarms), kept whole for every step (an image is
// 11 KB). Each step is named after what it changed ("rename Digital channel 3"), found by the
// codeplug diff.
#include <cstddef>
#include <deque>
#include <optional>
#include <string>

#include "core/TextCatalogue.h"
#include "codeplug/Codeplug.h"
#include "forms/channels/MonitorRules.h"
#include "forms/dmr/AlarmRules.h"
#include "forms/functions/VoxRules.h"

struct AppContext;

struct DocumentState {
    Codeplug codeplug;
    emergency::AlarmTables alarms;
    MonitorMemory monitor;
    VoxSettings vox;

    bool operator==(const DocumentState& other) const;
};

DocumentState CaptureDocument(const AppContext& context);
void RestoreDocument(AppContext& context, const DocumentState& state);

// Keys of section "Edit": the verbs that name undo steps.
namespace EditKey {
inline constexpr int Rename = 10, Add = 11, Delete = 12, Change = 13, Import = 14, Several = 15;
}  // namespace EditKey

// What a step did: a verb of section "Edit" with its target (a key of "Edit" whose "%d" is the
// 1-based record number, or a whole section) or, for an import, the file name.
struct ChangeName {
    int verb = EditKey::Several;
    int target = 0;          // 0: none
    std::size_t number = 0;  // 1-based; 0: the target has no number
    std::string file;        // Import

    bool operator==(const ChangeName&) const = default;
};

// Names the change from `before` to `after`: a record added or deleted (the table whose count
// changed by one, the others only following its renumbering), one record renamed or changed, a
// whole table changed, or several changes.
ChangeName NameChange(const DocumentState& before, const DocumentState& after);

// "rename Digital channel 3" in the catalogue's language.
std::string ChangeText(const ChangeName& name, const TextCatalogue& text);

class EditHistory {
public:
    static constexpr std::size_t kMaxSteps = 200;

    // Forgets every step; `state` is where the document starts.
    void Reset(const DocumentState& state);
    const DocumentState& Current() const { return current_; }
    // The document moved on to `state` by a change named `name`: a new undo step, no redo.
    void Record(const DocumentState& state, ChangeName name);
    // The current state corrected in place (no step of its own).
    void Amend(const DocumentState& state) { current_ = state; }

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    const ChangeName* UndoName() const { return undo_.empty() ? nullptr : &undo_.back().name; }
    const ChangeName* RedoName() const { return redo_.empty() ? nullptr : &redo_.back().name; }
    std::size_t UndoSteps() const { return undo_.size(); }

    // The state to show after undoing / redoing one step; nullopt when there is none.
    std::optional<DocumentState> Undo();
    std::optional<DocumentState> Redo();

private:
    struct Step {
        DocumentState state;  // the state on the other side of the step
        ChangeName name;
    };
    DocumentState current_;
    std::deque<Step> undo_;
    std::deque<Step> redo_;
};
