#pragma once
// The available and member grids of the zone and scan-list forms.
#include <QString>

#include "forms/channels/MemberRules.h"

class CMSFlexGrid;
struct Codeplug;

// Columns: the row number (headed `numberHeader`), kind, channel, receive and transmit frequency.
void SetUpChannelGrid(CMSFlexGrid& grid, int dataRows, MemberText numberHeader, UiLanguage language);

// Numbers every row "%02d" and fills one row per channel; the rest stay empty. The selected row
// stays where it was.
void FillChannelGrid(CMSFlexGrid& grid, const Codeplug& codeplug, const MemberList& channels, UiLanguage language);

// The 0-based entry of the grid's selected row (-1 for none).
int SelectedEntry(const CMSFlexGrid& grid);
