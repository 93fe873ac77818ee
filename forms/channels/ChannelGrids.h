#pragma once
// The two grids of the zone, scan-list and monitor forms: row numbers and four texts per row.
#include <array>
#include <cstddef>
#include <functional>
#include <optional>

#include <QString>

#include "forms/channels/MemberRules.h"

class CMSFlexGrid;
struct Codeplug;

// Five centred columns of the given widths in twips, the first (the row numbers) fixed, and
// `dataRows` rows under the header.
void ShapeMemberGrid(CMSFlexGrid& grid, int dataRows, const std::array<int, 5>& twips);

// The texts of a row after its number.
using MemberRowTexts = std::array<QString, 4>;
// Numbers every row "%02d" and fills row n + 1 with the texts of entry n (an entry without texts
// leaves its row empty, entries past the last row are left out); the selected row stays where it
// was.
void FillMemberGrid(CMSFlexGrid& grid, std::size_t entries,
                    const std::function<std::optional<MemberRowTexts>(std::size_t)>& textsOf);

// The zone and scan-list grids. Columns: the row number (headed `numberHeader`), kind, channel,
// receive and transmit frequency.
void SetUpChannelGrid(CMSFlexGrid& grid, int dataRows, MemberText numberHeader, UiLanguage language);
void FillChannelGrid(CMSFlexGrid& grid, const Codeplug& codeplug, const MemberList& channels, UiLanguage language);

// The 0-based entry of the grid's selected row (-1 for none).
int SelectedEntry(const CMSFlexGrid& grid);
