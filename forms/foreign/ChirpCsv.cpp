#include "forms/foreign/ChirpCsv.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>

#include "codeplug/Records.h"
#include "forms/Csv.h"
#include "forms/Sections.h"
#include "forms/channels/ChannelRules.h"
#include "forms/channels/Encodings.h"
#include "forms/foreign/ForeignValues.h"

namespace {

constexpr std::array<std::string_view, 21> kColumns = {
    "Location", "Name",       "Frequency", "Duplex", "Offset", "Tone",  "rToneFreq",
    "cToneFreq", "DtcsCode",  "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode", "TStep",
    "Skip",     "Power",      "Comment",   "URCALL", "RPT1CALL", "RPT2CALL", "DVCODE"};
// Columns read into a channel; the others have no place in the radio.
constexpr std::array<std::string_view, 15> kStored = {"Location", "Name", "Frequency", "Duplex", "Offset",
                                                      "Tone", "rToneFreq", "cToneFreq", "DtcsCode",
                                                      "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode",
                                                      "Skip", "Power"};

std::string Upper(std::string_view text)
{
    std::string out = TrimBlanks(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

// One data row with its cells found by column name.
class Row {
public:
    Row(const std::vector<std::string>& cells, const std::map<std::string, std::size_t>& columns)
        : cells_(cells), columns_(columns)
    {
    }
    std::string Cell(std::string_view column) const
    {
        const auto found = columns_.find(LooseKey(column));
        if (found == columns_.end() || found->second >= cells_.size())
            return {};
        return TrimBlanks(cells_[found->second]);
    }

private:
    const std::vector<std::string>& cells_;
    const std::map<std::string, std::size_t>& columns_;
};

// The receive and transmit tones a row's tone mode names, or why they cannot be stored.
struct Tones {
    std::string rx = "None";
    std::string tx = "None";
    std::string problem;
};

Tones ReadTones(const Row& row)
{
    Tones t;
    const std::string polarity = Upper(row.Cell("DtcsPolarity").empty() ? "NN" : row.Cell("DtcsPolarity"));
    const auto ctcss = [&](const char* column, std::string& into) {
        if (const auto tone = CtcssTone(row.Cell(column)))
            into = *tone;
        else if (t.problem.empty())
            t.problem = std::string(column) + " \"" + row.Cell(column) + "\" is not a CTCSS tone the radio has";
    };
    // Transmit: DtcsCode with the first letter; receive: RxDtcsCode (DtcsCode when it is blank)
    // with the second.
    const auto dcs = [&](bool receive, std::string& into) {
        const char* column = receive && !row.Cell("RxDtcsCode").empty() ? "RxDtcsCode" : "DtcsCode";
        const char letter = polarity.size() == 2 ? polarity[receive ? 1 : 0] : '?';
        if (letter != 'N' && letter != 'R') {
            if (t.problem.empty())
                t.problem = "DtcsPolarity \"" + row.Cell("DtcsPolarity") + "\" is not two letters N or R";
        } else if (const auto tone = DcsTone(row.Cell(column), letter == 'R')) {
            into = *tone;
        } else if (t.problem.empty()) {
            t.problem = std::string(column) + " \"" + row.Cell(column) + "\" is not a DCS code the radio has";
        }
    };
    const std::string mode = Upper(row.Cell("Tone"));
    if (mode.empty()) {
    } else if (mode == "TONE") {
        ctcss("rToneFreq", t.tx);
    } else if (mode == "TSQL") {
        ctcss("cToneFreq", t.tx);
        ctcss("cToneFreq", t.rx);
    } else if (mode == "DTCS") {
        dcs(false, t.tx);
        dcs(true, t.rx);
    } else if (mode == "TSQL-R") {
        ctcss("cToneFreq", t.rx);
    } else if (mode == "DTCS-R") {
        dcs(true, t.rx);
    } else if (mode == "CROSS") {
        const std::string cross = Upper(row.Cell("CrossMode"));
        const std::size_t arrow = cross.find("->");
        const std::string txSide = arrow == std::string::npos ? "?" : cross.substr(0, arrow);
        const std::string rxSide = arrow == std::string::npos ? "?" : cross.substr(arrow + 2);
        const auto known = [](const std::string& side) { return side.empty() || side == "TONE" || side == "DTCS"; };
        if (!known(txSide) || !known(rxSide) || (txSide.empty() && rxSide.empty())) {
            t.problem = "CrossMode \"" + row.Cell("CrossMode") +
                        "\" is not one of Tone->Tone, Tone->DTCS, DTCS->Tone, DTCS->DTCS, ->Tone, ->DTCS, Tone->, DTCS->";
            return t;
        }
        if (txSide == "TONE")
            ctcss("rToneFreq", t.tx);
        if (txSide == "DTCS")
            dcs(false, t.tx);
        if (rxSide == "TONE")
            ctcss("cToneFreq", t.rx);
        if (rxSide == "DTCS")
            dcs(true, t.rx);
    } else {
        t.problem = "tone mode \"" + row.Cell("Tone") + "\" is not one of Tone, TSQL, DTCS, TSQL-R, DTCS-R, Cross";
    }
    return t;
}

PlanRow ReadRow(const Row& row, std::size_t position)
{
    PlanRow p;
    p.kind = PlanKind::AnalogChannel;
    p.key = std::to_string(position);
    p.number = position;
    const std::string location = row.Cell("Location");
    std::size_t number = 0;
    const auto [end, ec] = std::from_chars(location.data(), location.data() + location.size(), number);
    if (!location.empty() && ec == std::errc() && end == location.data() + location.size())
        p.number = number;
    p.name = FitName(row.Cell("Name"), AliasField::kMaxChars, p.notes);
    for (const char* column : {"Frequency", "Duplex", "Mode"})
        p.details += row.Cell(column).empty() ? "" : (p.details.empty() ? "" : " ") + row.Cell(column);

    const auto rx = ParseHertz(row.Cell("Frequency"));
    if (!rx || *rx == 0) {
        p.problem = "Frequency \"" + row.Cell("Frequency") + "\" is not a frequency in MHz";
        return p;
    }
    const std::string mode = Upper(row.Cell("Mode"));
    if (!mode.empty() && mode != "FM" && mode != "NFM") {
        p.problem = "mode " + row.Cell("Mode") + ": the radio stores FM and NFM channels only";
        return p;
    }
    const std::string duplex = Upper(row.Cell("Duplex"));
    std::uint64_t tx = *rx;
    if (duplex == "+" || duplex == "-" || duplex == "SPLIT") {
        const auto offset = ParseHertz(row.Cell("Offset"));
        if (!offset) {
            p.problem = "Offset \"" + row.Cell("Offset") + "\" is not a frequency in MHz";
            return p;
        }
        if (duplex == "-" && *offset > *rx) {
            p.problem = "the offset is larger than the frequency";
            return p;
        }
        tx = duplex == "+" ? *rx + *offset : duplex == "-" ? *rx - *offset : *offset;
    } else if (!duplex.empty() && duplex != "OFF") {
        p.problem = "Duplex \"" + row.Cell("Duplex") + "\" is not one of +, -, split, off or blank";
        return p;
    }
    const Tones tones = ReadTones(row);
    if (!tones.problem.empty()) {
        p.problem = tones.problem;
        return p;
    }

    FieldValue& v = p.values;
    v["alias"] = p.name;
    v["rxFrequency"] = MegahertzText(*rx);
    v["txFrequency"] = MegahertzText(tx);
    v["rxTone"] = tones.rx;
    v["txTone"] = tones.tx;
    if (!mode.empty())
        v["bandwidth"] = mode == "FM" ? "25kHz" : "12.5kHz";
    if (const std::string power = row.Cell("Power"); !power.empty()) {
        if (const auto level = PowerLevel(power))
            v["power"] = *level;
        else
            p.notes.push_back("Power \"" + power + "\" is not understood: the power stays as channel 1 has it");
    }
    v["receiveOnly"] = duplex == "OFF";
    const std::string skip = Upper(row.Cell("Skip"));
    p.joinsFirstScanList = skip != "S" && skip != "P";
    p.details = MegahertzText(*rx) + " / " + MegahertzText(tx) + " MHz, " + tones.rx + " / " + tones.tx +
                (mode.empty() ? "" : ", " + row.Cell("Mode"));
    return p;
}

}  // namespace

ImportPlan ReadChirpCsv(std::string_view text)
{
    ImportPlan plan;
    plan.format = "CHIRP CSV";
    CsvProblem problem;
    const auto parsed = ParseCsv(text, problem, {GuessCsvSeparator(text), true});
    if (!parsed) {
        plan.error = "not a CSV file: " + problem.Text();
        return plan;
    }
    std::vector<const std::vector<std::string>*> rows;
    for (const auto& row : *parsed) {
        if (std::any_of(row.begin(), row.end(), [](const std::string& cell) { return !TrimBlanks(cell).empty(); }))
            rows.push_back(&row);
    }
    std::map<std::string, std::size_t> columns;
    if (!rows.empty()) {
        for (std::size_t c = 0; c < rows.front()->size(); ++c)
            columns.emplace(LooseKey((*rows.front())[c]), c);
    }
    if (columns.count(LooseKey("Frequency")) == 0) {
        plan.error = "not a CHIRP channel list: the header has no Frequency column";
        return plan;
    }
    // Columns with something in them that the radio has no place for.
    std::string unused;
    for (std::size_t column = 0; column < rows.front()->size(); ++column) {
        const std::string key = LooseKey((*rows.front())[column]);
        const bool stored = std::any_of(kStored.begin(), kStored.end(), [&](std::string_view s) { return LooseKey(s) == key; });
        const bool filled = std::any_of(rows.begin() + 1, rows.end(), [&](const auto* row) {
            return column < row->size() && !TrimBlanks((*row)[column]).empty();
        });
        if (!stored && filled)
            unused += (unused.empty() ? "" : ", ") + TrimBlanks((*rows.front())[column]);
    }
    if (!unused.empty())
        plan.notes.push_back("columns the radio has no place for: " + unused);
    for (std::size_t r = 1; r < rows.size(); ++r) {
        PlanRow row = ReadRow(Row(*rows[r], columns), r);
        if (rows[r]->size() > rows.front()->size())
            row.notes.push_back("cells past the header's columns are left out");
        plan.rows.push_back(std::move(row));
    }
    return plan;
}

ForeignExport ExportChirpCsv(const Codeplug& codeplug)
{
    ForeignExport out;
    CsvRows rows{std::vector<std::string>(kColumns.begin(), kColumns.end())};
    const RecordSchema& schema = AnalogChannelSchema();
    const auto read = [&](std::span<const std::uint8_t> r, const char* id) {
        return ValueText(ReadField(*FindField(schema, id), r));
    };
    for (std::size_t i = 0; i < ChannelCount(codeplug, ChannelKind::Analog); ++i) {
        const auto r = codeplug.AnalogChannelTable.record(i);
        const std::string where = "Analog channel " + std::to_string(i + 1);
        const std::uint32_t rx = GetLE32(r, AnalogChannelField::RxFrequency);
        const std::uint32_t tx = GetLE32(r, AnalogChannelField::TxFrequency);
        const bool receiveOnly = (r[AnalogChannelField::Flags] & AnalogChannelField::kFlagReceiveOnly) != 0;
        std::string duplex, offset = "0.000000";
        if (receiveOnly) {
            duplex = "off";
        } else if (tx != rx) {
            duplex = tx > rx ? "+" : "-";
            offset = MegahertzText(tx > rx ? tx - rx : rx - tx);
        }
        // Tone columns: CHIRP's defaults where a column is not used.
        std::string tone, rTone = "88.5", cTone = "88.5", dtcs = "023", rxDtcs = "023", cross = "Tone->Tone";
        char polarity[3] = "NN";
        const std::string rxTone = read(r, "rxTone"), txTone = read(r, "txTone");
        const auto side = [&](const std::string& value, bool receive) -> std::string {
            if (value == "None")
                return "";
            if (value.size() == 5 && value[0] == 'D') {
                (receive ? rxDtcs : dtcs) = value.substr(1, 3);
                polarity[receive ? 1 : 0] = value[4] == 'I' ? 'R' : 'N';
                return "DTCS";
            }
            if (value.rfind("invalid", 0) == 0) {
                out.notes.push_back(where + ": " + (receive ? "receive" : "transmit") + " tone is " + value +
                                    ": written as none");
                return "";
            }
            (receive ? cTone : rTone) = value;
            return "Tone";
        };
        const std::string txKind = side(txTone, false), rxKind = side(rxTone, true);
        if (txKind.empty() && rxKind.empty()) {
        } else if (txKind == "Tone" && rxKind.empty()) {
            tone = "Tone";
        } else if (txKind == "Tone" && rxKind == "Tone" && rTone == cTone) {
            tone = "TSQL";
        } else if (txKind == "DTCS" && rxKind == "DTCS" && dtcs == rxDtcs) {
            tone = "DTCS";
        } else {
            tone = "Cross";
            cross = (txKind == "Tone" ? "Tone" : txKind) + "->" + (rxKind == "Tone" ? "Tone" : rxKind);
        }
        const bool wide = read(r, "bandwidth") == "25kHz";
        rows.push_back({std::to_string(i + 1), read(r, "alias"), MegahertzText(rx), duplex, offset, tone, rTone, cTone,
                        dtcs, polarity, rxDtcs, cross, wide ? "FM" : "NFM", "12.50",
                        r[AnalogChannelField::ScanList] == 0 ? "S" : "", read(r, "power") == "High" ? "5.0W" : "1.0W",
                        "", "", "", "", ""});
        if (receiveOnly && tx != rx)
            out.notes.push_back(where + ": receive only; its transmit frequency " + FrequencyToText(tx) +
                                " MHz is not written");
    }
    // Without the byte-order mark FormatCsv puts first: the header starts with "Location".
    out.text = FormatCsv(rows).substr(3);
    return out;
}
