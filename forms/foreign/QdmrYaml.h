#pragma once
// qdmr's YAML codeplug, the open format that carries channels, zones, scan lists, contacts and
// group lists between radio makes.
//
// Read: the top-level keys version, settings, radioIDs, contacts, groupLists, channels, zones and
// scanLists (others are left out with a note). Objects link by id. Channels are `fm:`/`analog:`
// or `dmr:`/`digital:`; frequencies "446.00625 MHz", "439.5625" or "431.96249999999998" are
// rounded to the hertz; tones {ctcss: 67} or {dcs: 23} (a negative code is inverted), ~ for none;
// power Min/Low is Low and Mid/High/Max High; a zone's A and B lists are merged, each channel
// once; a value tagged !default means "as the new record has it". The first radio ID (or the
// one settings.defaultID names) becomes the radio's DMR ID.
//
// Written: the same keys with ids ch1 …, cont1 …, grp1 …, zone1 …, scan1 …, digital channels
// first, so that the configuration can move to another radio.
#include <string_view>

#include "codeplug/Codeplug.h"
#include "forms/foreign/ForeignValues.h"
#include "forms/foreign/ImportPlan.h"

ImportPlan ReadQdmrYaml(std::string_view text);
ForeignExport ExportQdmrYaml(const Codeplug& codeplug);
