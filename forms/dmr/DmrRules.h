#pragma once
// The rules of the DMR basic settings form over DmrSettings: the radio ID box and the eleven
// choice lists (two of them kept hidden on the form), with the conversions between a list
// position, the byte stored and the number shown.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/Codeplug.h"

namespace dmr {

// One choice list: entry p shows firstShown + p * step and stores p + storedBase.
struct SettingList {
    std::size_t offset;    // byte in DmrSettings
    int labelKey;          // "DMR_Set" text of its label
    int entries;
    int firstShown;
    int step;
    std::uint8_t storedBase;
    bool hidden;           // on the form, filled and read back, but not visible
};

// In the order the form lays them out.
const std::array<SettingList, 11>& SettingLists();

// The entries' texts, "%d" of the shown numbers.
std::vector<std::string> ListTexts(const SettingList& list);

// The entry that shows a stored byte, or -1 when no entry does (the list is left unselected).
int PositionOfStored(const SettingList& list, std::uint8_t stored);

// The byte a position stores. An unselected list (-1) stores one below the base: 0xFF for the
// lists counted from 0, 5 for the call confirmation wait time.
std::uint8_t StoredOfPosition(const SettingList& list, int position);

// Radio ID, DmrSettings bytes 1-4 (little-endian packed digits).
std::uint32_t RadioId(const Codeplug& codeplug);
std::string RadioIdText(const Codeplug& codeplug);
// Parses and clamps as an ID box does and stores the result; returns the stored value.
std::uint32_t CommitRadioIdText(Codeplug& codeplug, std::string_view text);

}  // namespace dmr
