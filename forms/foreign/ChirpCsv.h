#pragma once
// CHIRP's channel lists: comma-separated, a header naming the columns (Location, Name,
// Frequency, Duplex, Offset, Tone, rToneFreq, cToneFreq, DtcsCode, DtcsPolarity, RxDtcsCode,
// CrossMode, Mode, TStep, Skip, Power, Comment, URCALL, RPT1CALL, RPT2CALL, DVCODE), found by
// name in any order; missing columns leave their fields as a new channel has them.
//
// Each row becomes an analog channel: Duplex "+"/"-" add or take Offset MHz from the receive
// frequency, "split" makes Offset the transmit frequency and "off" makes the channel receive
// only. The tone mode picks which tone columns count (the others are ignored, filled or not);
// DtcsPolarity is two letters, transmit then receive, N normal and R reversed (our inverted
// codes). Mode FM is 25 kHz and NFM 12.5 kHz; other modes are not stored. Power in watts is High
// from kHighPowerWatts up. A row without Skip joins scan list 1.
//
// Tolerated: a byte-order mark, CRLF, ';' between cells, decimal commas, rows longer than the
// header, blank lines and lines starting with '#'.
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/Codeplug.h"
#include "forms/foreign/ForeignValues.h"
#include "forms/foreign/ImportPlan.h"

ImportPlan ReadChirpCsv(std::string_view text);

// The analog channels in CHIRP's layout, Location = channel number.
ForeignExport ExportChirpCsv(const Codeplug& codeplug);
