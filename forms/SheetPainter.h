#pragma once
// Paints a channel sheet (forms/ChannelSheet.h) on paper or into a PDF: every page starts with a
// header (the sheet's title and the radio's alias at the left, "Page n of N" at the right), the
// first page then lists the radio's facts, and each table follows with its title and column
// headers; a table that runs onto the next page repeats both there, marked as continued. Long
// cells wrap within their column, so the sheet fits any page width.
#include <QByteArray>
#include <QPageSize>

#include "forms/ChannelSheet.h"

class QPagedPaintDevice;

// Paints on a printer or PDF writer (margins as the device has them); returns the pages painted.
int PaintChannelSheet(QPagedPaintDevice& device, const ChannelSheet& sheet);

// The sheet as a PDF document with 15 mm margins on pages of `size`.
QByteArray ChannelSheetPdf(const ChannelSheet& sheet, QPageSize::PageSizeId size);

// A4, or Letter where the system's locale measures in inches (the United States).
QPageSize::PageSizeId LocalPaperSize();
