#pragma once
// The navigation tree as plain data, and what a click on one of its items does. The main window
// turns NavNode into tree items and acts on the TreeClick result; neither needs a widget here.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/NavigationState.h"
#include "core/TextCatalogue.h"
#include "codeplug/Codeplug.h"
#include "forms/dmr/AlarmRules.h"


struct NavNode {
    std::string label;
    int textKey = -1;     // the "Tree" key the label came from
    int number = 0;       // 1-based record number of a numbered item, 0 for the others
    bool expanded = false;
    std::vector<NavNode> children;
};

// The most receive-group-list items the tree shows, whatever the count says.
inline constexpr std::uint32_t kMaxTreeRxGroups = 32;

// Repairs the counts (RepairTreeCounts), builds the whole tree with its labels from section
// "Tree", marks the nodes the set flags ask to expand, clears those flags, and expands the root.
NavNode BuildNavigationTree(Codeplug& codeplug, const TextCatalogue& text, ExpansionFlags& flags);

// The number at the end of a label: the last `chars` characters (UTF-8 code points) read as an
// unsigned decimal number after leading spaces; 0 when there is none.
std::uint32_t NumberFromLabelEnd(std::string_view label, std::size_t chars);

struct TreeClick {
    enum class Action { None, RadioInfo, OpenForm };
    Action action = Action::None;
    FormKind form = FormKind::Fun;
};

// Applies the click rules to the clicked item's label and its parent's label ("" for the root).
// `number` is the number the item carries (0 when it carries none: it is then read from the end
// of the label). Sets the form's current index and title, or the label buffer, as the rule says.
// A numbered rule whose number is 0 matches nothing.
TreeClick HandleTreeClick(NavigationState& state, const TextCatalogue& text, std::string_view parentLabel,
                          std::string_view label, std::uint32_t number = 0);

// How many records an indexed form can show now (its current index must stay below it), at
// least 1 (a table with none still shows its first record); nullopt for the forms that show no
// numbered record.
std::optional<std::uint32_t> RecordsFor(FormKind kind, const Codeplug& codeplug, const emergency::AlarmTables& alarms);

// The form that shows record `record` (0-based) of a codeplug section (the section ids of
// forms/Sections.h) and the index it opens at; the field picks the form where a block has two
// (the keys and one-touch calls of the radio settings). nullopt when no form shows the section.
std::optional<std::pair<FormKind, std::uint32_t>> FormForRecord(std::string_view section, std::size_t record,
                                                                std::string_view field);

// The label of the tree item of record `index` (0-based), which titles the channel and
// receive-group-list forms; nullopt for the other forms.
std::optional<std::string> ItemLabelFor(FormKind kind, std::uint32_t index, const TextCatalogue& text);
