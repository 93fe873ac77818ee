#pragma once
// The channel sheet a dealer hands over with a radio: the radio's alias and ID, then tables of
// the analog and digital channels, the zones and scan lists with their members, the contacts and
// the receive group lists, in the language of the texts given. Plain data: the desktop program
// prints it and zr740 writes it as PDF, both through one painter (forms/SheetPainter.h).
#include <string>
#include <utility>
#include <vector>

#include "core/TextCatalogue.h"
#include "codeplug/Codeplug.h"

struct SheetColumn {
    std::string header;
    int weight = 1;  // share of the table's width
};

struct SheetTable {
    std::string title;
    std::vector<SheetColumn> columns;
    std::vector<std::vector<std::string>> rows;  // one text a column
};

struct ChannelSheet {
    std::string title;                                        // "ZR-740 channel sheet"
    std::vector<std::pair<std::string, std::string>> facts;  // ("Radio alias", "ZR-740") ...
    std::string pageNumbers;  // "Page %1 of %2"
    std::string continued;    // after a table's title on the pages it continues on
    std::vector<SheetTable> tables;
};

// Counts and references are bounded as everywhere: a damaged codeplug gives a sheet, never a
// read past a table.
ChannelSheet BuildChannelSheet(const Codeplug& codeplug, const TextCatalogue& text);
