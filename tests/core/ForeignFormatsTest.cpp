// Other programs' files: CHIRP channel lists, qdmr codeplugs and DMR user lists read into plans,
// fitted into the radio, stored through the editing rules, and written back. (Damaged files are
// the foreign-import fuzz target's.)
#include "tests/core/TestFiles.h"

#include "app/TextExchange.h"
#include "forms/CsvTables.h"
#include "forms/Sections.h"
#include "forms/Wording.h"
#include "forms/foreign/ChirpCsv.h"
#include "forms/foreign/DmrUserCsv.h"
#include "forms/foreign/QdmrYaml.h"

namespace {

using testfiles::DefaultCodeplug;

std::string SourceFile(const std::string& name)
{
    return testfiles::ReadText(std::string(ZR740_SOURCE_DIR) + "/tests/data/foreign/" + name);
}

std::string V(const FieldValue& values, const char* id)
{
    return values.contains(id) ? ValueText(values[id]) : "-";
}

// A channel row as "rx tx rxTone/txTone bandwidth power [ro] [scan]", or "!" and its problem.
std::string Summary(const PlanRow& row)
{
    if (!row.problem.empty())
        return "!" + row.problem;
    const FieldValue& v = row.values;
    return V(v, "rxFrequency") + " " + V(v, "txFrequency") + " " + V(v, "rxTone") + "/" + V(v, "txTone") + " " +
           V(v, "bandwidth") + " " + V(v, "power") + (v.value("receiveOnly", false) ? " ro" : "") +
           (row.joinsFirstScanList ? " scan" : "");
}

// The fields of every record of a section as text, for comparing codeplugs.
std::vector<std::string> Fields(const Codeplug& c, const char* section, const std::vector<const char*>& ids)
{
    std::vector<std::string> out;
    for (const Section& s : Sections(c)) {
        if (s.id != section)
            continue;
        for (std::size_t i = 0; i < s.used(); ++i) {
            std::string line;
            for (const char* id : ids)
                line += ValueText(ReadField(*FindField(*s.schema, id), s.record(i))) + "|";
            out.push_back(line);
        }
    }
    return out;
}

std::vector<bool> All(const ImportPlan& plan) { return std::vector<bool>(plan.rows.size(), true); }

}  // namespace

TEST(ChirpCsv, EveryDuplexToneModePolarityModeAndPower)
{
    const std::string header = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
                               "DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power\n";
    struct Case { const char* row; const char* expected; };
    const Case cases[] = {
        // Duplex; tone values of an unused mode are ignored.
        {"1,A,446.006250,,0,,88.5,69.4,999,XX,023,Tone->Tone,NFM,5,,1.0W", "446.006250 446.006250 None/None 12.5kHz Low scan"},
        {"1,A,438.5,+,1.6,,,,,,,,FM,5,,", "438.500000 440.100000 None/None 25kHz - scan"},
        {"1,A,439.25,-,7.6,,,,,,,,,5,S,", "439.250000 431.650000 None/None - -"},
        {"1,A,439,split,430.5,,,,,,,,,,P,", "439.000000 430.500000 None/None - -"},
        {"1,A,446.1,off,5,,,,,,,,,,,", "446.100000 446.100000 None/None - - ro scan"},
        {"1,A,446.1,x,5,,,,,,,,,,,", "!Duplex \"x\" is not one of +, -, split, off or blank"},
        {"1,A,446.1,-,500,,,,,,,,,,,", "!the offset is larger than the frequency"},
        {"1,A,446.1,+,,,,,,,,,,,,", "!Offset \"\" is not a frequency in MHz"},
        // Tone modes.
        {"1,A,446.1,,,Tone,88.5,100.0,,,,,,,,", "446.100000 446.100000 None/88.5 - - scan"},
        {"1,A,446.1,,,TSQL,88.5,100,,,,,,,,", "446.100000 446.100000 100.0/100.0 - - scan"},
        {"1,A,446.1,,,DTCS,,,23,NN,754,,,,,", "446.100000 446.100000 D754N/D023N - - scan"},
        {"1,A,446.1,,,DTCS,,,023,NR,,,,,,", "446.100000 446.100000 D023I/D023N - - scan"},
        {"1,A,446.1,,,TSQL-R,88.5,67.0,,,,,,,,", "446.100000 446.100000 67.0/None - - scan"},
        {"1,A,446.1,,,DTCS-R,,,023,RR,047,,,,,", "446.100000 446.100000 D047I/None - - scan"},
        {"1,A,446.1,,,Cross,88.5,67,,,,Tone->Tone,,,,", "446.100000 446.100000 67.0/88.5 - - scan"},
        {"1,A,446.1,,,Cross,88.5,,023,NR,754,Tone->DTCS,,,,", "446.100000 446.100000 D754I/88.5 - - scan"},
        {"1,A,446.1,,,Cross,,67,023,RN,754,DTCS->Tone,,,,", "446.100000 446.100000 67.0/D023I - - scan"},
        {"1,A,446.1,,,Cross,,,023,RR,754,DTCS->DTCS,,,,", "446.100000 446.100000 D754I/D023I - - scan"},
        {"1,A,446.1,,,Cross,,67,,,,->Tone,,,,", "446.100000 446.100000 67.0/None - - scan"},
        {"1,A,446.1,,,Cross,,,,NN,754,->DTCS,,,,", "446.100000 446.100000 D754N/None - - scan"},
        {"1,A,446.1,,,Cross,88.5,,,,,Tone->,,,,", "446.100000 446.100000 None/88.5 - - scan"},
        {"1,A,446.1,,,cross,,,023,RN,,dtcs->,,,,", "446.100000 446.100000 None/D023I - - scan"},
        {"1,A,446.1,,,Cross,,,,,,Tone->DV,,,,", "!CrossMode \"Tone->DV\" is not one of Tone->Tone, Tone->DTCS, DTCS->Tone, "
                                                "DTCS->DTCS, ->Tone, ->DTCS, Tone->, DTCS->"},
        {"1,A,446.1,,,DTCS-X,,,,,,,,,,", "!tone mode \"DTCS-X\" is not one of Tone, TSQL, DTCS, TSQL-R, DTCS-R, Cross"},
        {"1,A,446.1,,,DTCS,,,023,NX,,,,,,", "!DtcsPolarity \"NX\" is not two letters N or R"},
        {"1,A,446.1,,,Tone,69.4,,,,,,,,,", "!rToneFreq \"69.4\" is not a CTCSS tone the radio has"},
        {"1,A,446.1,,,DTCS,,,999,NN,,,,,,", "!DtcsCode \"999\" is not a DCS code the radio has"},
        // Modes, power by the 4 W threshold and by word, frequencies as people write them.
        {"1,A,446.1,,,,,,,,,,AM,,,", "!mode AM: the radio stores FM and NFM channels only"},
        {"1,A,446.1,,,,,,,,,,DMR,,,", "!mode DMR: the radio stores FM and NFM channels only"},
        {"1,A,446.1,,,,,,,,,,,,,4W", "446.100000 446.100000 None/None - High scan"},
        {"1,A,446.1,,,,,,,,,,,,,3.9W", "446.100000 446.100000 None/None - Low scan"},
        {"1,A,446.1,,,,,,,,,,,,,\"0,5 W\"", "446.100000 446.100000 None/None - Low scan"},
        {"1,A,446.1,,,,,,,,,,,,,Mid", "446.100000 446.100000 None/None - High scan"},
        {"1,A,446.1,,,,,,,,,,,,,lots", "446.100000 446.100000 None/None - - scan"},
        {"1,A,,,,,,,,,,,,,,", "!Frequency \"\" is not a frequency in MHz"},
    };
    for (const Case& c : cases) {
        const ImportPlan plan = ReadChirpCsv(header + c.row + "\n");
        ASSERT_EQ(plan.error, "") << c.row;
        ASSERT_EQ(plan.rows.size(), 1u) << c.row;
        EXPECT_EQ(Summary(plan.rows[0]), c.expected) << c.row;
    }
    EXPECT_EQ(ReadChirpCsv(header + "1,A,446.1,,,,,,,,,,,,,lots\n").rows[0].notes,
              std::vector<std::string>{"Power \"lots\" is not understood: the power stays as channel 1 has it"});
}

TEST(ChirpCsv, FileTolerancesAndRefusals)
{
    struct Case { std::string text; const char* expected; };  // "rows: first number first rx [note]" or the error
    const auto describe = [](const ImportPlan& p) -> std::string {
        if (!p.error.empty())
            return p.error;
        std::string out = std::to_string(p.rows.size()) + ":";
        for (const PlanRow& row : p.rows)
            out += " " + std::to_string(row.number) + "=" + V(row.values, "rxFrequency") + "/" + V(row.values, "txFrequency");
        for (const PlanRow& row : p.rows)
            for (const std::string& note : row.notes)
                out += " [" + note + "]";
        return out;
    };
    const Case cases[] = {
        {"\xEF\xBB\xBFLocation,Name,Frequency\r\n5,A,446.1\r\n7,B,446.2\r\n", "2: 5=446.100000/446.100000 7=446.200000/446.200000"},
        {"Location;Name;Frequency;Duplex;Offset\n1;A;446,00625;+;1,6\n", "1: 1=446.006250/447.606250"},
        {"Name,Frequency\nA,446.1,x,y\n", "1: 1=446.100000/446.100000 [cells past the header's columns are left out]"},
        {"# exported, by hand\n\nName,Frequency\n\n# more, notes\nA,446.1\n,\n", "1: 1=446.100000/446.100000"},
        {"Frequency,Location,Name\n446.2,,B\n440,x,C\n", "2: 1=446.200000/446.200000 2=440.000000/440.000000"},
        {"Name,Frequency\nLong name for a channel,446.1\n",
         "1: 1=446.100000/446.100000 [name \"Long name for a channel\" cut to 18 characters: \"Long name for a ch\"]"},
        {"Location,Name\n1,A\n", "not a CHIRP channel list: the header has no Frequency column"},
        {"", "not a CHIRP channel list: the header has no Frequency column"},
        {"Name,Frequency\n\"A,446.1\n", "not a CSV file: row 2, column 1: a quoted cell is not closed"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(describe(ReadChirpCsv(c.text)), c.expected) << c.text;
}

TEST(ChirpCsv, ALongListFitsTheChosenRowsAndListsEveryOther)
{
    // 77 rows: 75 is outside the band, 76 is AM; odd rows are skipped in scans.
    std::string text = "Location,Name,Frequency,Mode,Skip\n";
    for (int n = 1; n <= 77; ++n)
        text += std::to_string(n) + ",R" + std::to_string(n) + "," + (n == 75 ? "145.5" : std::to_string(400 + n) + ".0125") +
                "," + (n == 76 ? "AM" : "NFM") + "," + (n % 2 ? "S" : "") + "\n";
    const ImportPlan plan = ReadChirpCsv(text);
    ASSERT_EQ(plan.rows.size(), 77u);

    // The default codeplug has 6 analog channels: 10 more fit.
    auto c = DefaultCodeplug();
    std::vector<RowFate> fates = FitPlan(plan, All(plan), ImportMode::Append, *c);
    EXPECT_EQ(std::pair(fates[9].stored, fates[9].index), std::pair(true, std::size_t{15}));
    EXPECT_EQ(fates[10].reason, "over capacity: the radio holds 16 analog channels");
    EXPECT_EQ(fates[74].reason, "Receive frequency: 145.500000 MHz is outside the band 400.000000-480.000000 MHz");
    const std::vector<bool> replacing = FittingRows(plan, ImportMode::Replace, *c);
    EXPECT_EQ(std::count(replacing.begin(), replacing.end(), true), 16);

    std::string error;
    const std::vector<bool> chosen = ChooseRows(plan, ParseRowNumbers("60,68-76", error).value());
    const ImportResult result = ApplyPlan(plan, chosen, ImportMode::Append, *c);
    ASSERT_EQ(result.problems, std::vector<std::string>{});
    EXPECT_EQ(result.Stored(), 8u);
    EXPECT_EQ(GetCount(c->AnalogChannelCount), 14u);
    const std::vector<std::string> lines = ReportLines(plan, result.fates, chosen);
    EXPECT_EQ((std::vector{lines[0], lines[59], lines[73], lines[75]}),
              (std::vector<std::string>{"row 1 (R1): not stored: not chosen", "row 60 (R60): Analog channel 7",
                                        "row 74 (R74): Analog channel 14",
                                        "row 76 (R76): not stored: mode AM: the radio stores FM and NFM channels only"}));
    // The even rows are scanned: they join scan list 1 after its 4 members and name it.
    EXPECT_EQ(Fields(*c, "scanLists", {"members"})[0], "D1, D2, D3, D4, A7, A8, A10, A12, A14|");
    const std::vector<std::string> stored = Fields(*c, "analogChannels", {"alias", "rxFrequency", "bandwidth", "scanList"});
    EXPECT_EQ(stored[6], "R60|460.012500|12.5kHz|1|");
    EXPECT_EQ(stored[8], "R69|469.012500|12.5kHz|Off|");
}

TEST(ChirpCsv, OwnExportComesBackExactlyInEveryFieldCsvCarries)
{
    auto c = DefaultCodeplug();
    // Tone pairs of every kind CHIRP writes differently, receive first.
    const char* const tones[][2] = {{"None", "None"}, {"None", "67.0"},   {"67.0", "67.0"},   {"67.0", "88.5"},
                                    {"67.0", "None"}, {"D023N", "D023N"}, {"D754I", "D023N"}, {"D023I", "None"},
                                    {"None", "D754I"}, {"67.0", "D023N"}, {"D023N", "63.0"}};
    const RecordSchema& schema = AnalogChannelSchema();
    SetCount(c->AnalogChannelCount, std::size(tones));
    for (std::size_t i = 0; i < std::size(tones); ++i) {
        auto r = c->AnalogChannelTable.record(i);
        const FieldContext ctx = ContextOf(*c);
        for (const auto& [id, value] : std::initializer_list<std::pair<const char*, FieldValue>>{
                 {"alias", "CH " + std::to_string(i)}, {"rxFrequency", "43" + std::to_string(i % 10) + ".012500"},
                 {"txFrequency", i % 3 ? "440.006250" : "43" + std::to_string(i % 10) + ".012500"},
                 {"rxTone", tones[i][0]}, {"txTone", tones[i][1]}, {"bandwidth", i % 2 ? "25kHz" : "12.5kHz"},
                 {"power", i % 2 ? "Low" : "High"}, {"receiveOnly", i == 3}, {"scanList", i % 4 ? FieldValue(1) : "Off"}})
            ASSERT_EQ(WriteField(*FindField(schema, id), r, value, ctx), "") << id;
    }
    const ForeignExport exported = ExportChirpCsv(*c);
    auto back = DefaultCodeplug();
    const ImportPlan plan = ReadChirpCsv(exported.text);
    ASSERT_EQ(ApplyPlan(plan, All(plan), ImportMode::Replace, *back).problems, std::vector<std::string>{});
    const std::vector<const char*> fields = {"alias", "rxFrequency", "txFrequency", "rxTone", "txTone", "bandwidth", "power", "receiveOnly"};
    EXPECT_EQ(Fields(*back, "analogChannels", fields), Fields(*c, "analogChannels", fields));
    for (std::size_t i = 0; i < std::size(tones); ++i)
        EXPECT_EQ(back->AnalogChannelTable.record(i)[60] != 0, i % 4 != 0) << i;  // scanned or skipped
}

TEST(QdmrYaml, SiteCodeplugEveryRowStoredOrListedWithItsReason)
{
    const ImportPlan plan = ReadQdmrYaml(SourceFile("site.yaml"));
    ASSERT_EQ(plan.error, "");
    EXPECT_EQ(plan.notes, (std::vector<std::string>{"positioning: left out (the radio has no place for it)",
                                                     "commercial: left out (the radio has no place for it)"}));
    auto c = DefaultCodeplug();
    const ImportResult result = ApplyPlan(plan, All(plan), ImportMode::Replace, *c);
    ASSERT_EQ(result.problems, std::vector<std::string>{});
    EXPECT_EQ(ReportLines(plan, result.fates, All(plan)),
              (std::vector<std::string>{
                  "row 1 (Spare): not stored: the radio holds one DMR ID: id2 is used",
                  "row 2 (Base): DMR radio ID",
                  "row 3 (Site Talk): Contact 1",
                  "row 4 (Dispatcher): Contact 2",
                  "row 5 (Everyone): Contact 3",
                  "row 6 (Gate): not stored: dtmf contact: the radio holds DMR contacts only",
                  "row 7 (Site): Receive group list 1; member cont2 left out: only group calls can be members",
                  "row 8 (Site Repeater): Digital channel 1",
                  "row 9 (Direct): Digital channel 2",
                  "row 10 (Yard): Analog channel 1; squelch 7 stored as 5 (the radio has 0-5)",
                  "row 11 (Monitor): Analog channel 2",
                  "row 12 (Two Metre): not stored: Receive frequency: 145.500000 MHz is outside the band 400.000000-480.000000 MHz",
                  "row 13 (Digital Voice): not stored: m17 channel: the radio stores FM and DMR channels only",
                  "row 14 (Site): Zone 1; member ch5 is not imported",
                  "row 15 (Site Scan): Scan list 1; member ch9 is not imported",
              }));
    EXPECT_EQ(ValueText(ReadField(*FindField(DmrSettingsSchema(), "radioId"), c->DmrSettings)), "4600123");
    // The !default power keeps channel 1's (Low); the float artefact lands on the raster.
    EXPECT_EQ(Fields(*c, "digitalChannels", {"alias", "rxFrequency", "txFrequency", "rxColourCode", "timeSlot", "txContact",
                                             "rxGroupList", "scanList", "txPermission", "power"}),
              (std::vector<std::string>{
                  "Site Repeater|439.562500|431.962500|3|Slot 2|1|1|1|Colour code free|Low|",
                  "Direct|441.000000|441.000000|1|Slot 1|2|Off|Off|Channel free|High|"}));
    EXPECT_EQ(Fields(*c, "analogChannels", {"alias", "rxFrequency", "txFrequency", "rxTone", "txTone", "bandwidth", "power",
                                            "txPermission", "squelchLevel", "receiveOnly"}),
              (std::vector<std::string>{
                  "Yard|438.025000|430.425000|67.0|D023I|25kHz|Low|CTCSS/DCS match|5|Off|",
                  "Monitor|446.006250|446.006250|None|88.5|12.5kHz|High|Always|3|On|"}));
    // Zone A and B merged, each channel once; the second zone had only channels that went.
    EXPECT_EQ(Fields(*c, "zones", {"alias", "members"}),
              (std::vector<std::string>{"Site|D1, A1, D2|", "Analog||"}));
    EXPECT_EQ(result.notes.back(), "Zone 2 (Analog) has no channels left");
    EXPECT_EQ(Fields(*c, "scanLists", {"alias", "members"}), (std::vector<std::string>{"Site Scan|D1, A1|"}));
    EXPECT_EQ(Fields(*c, "rxGroupLists", {"name", "members"}), (std::vector<std::string>{"Site|1|"}));
}

TEST(QdmrYaml, ChannelForms)
{
    struct Case { const char* channel; const char* expected; };  // expected: the Summary of the row
    const Case cases[] = {
        {"fm: {id: a, rxFrequency: 446.00625 MHz, txFrequency: 446.00625 MHz, rxTone: ~, txTone: {ctcss: 67.0}}",
         "446.006250 446.006250 None/67.0 - -"},
        {"analog: {id: a, rxFrequency: 446006.25 kHz, rxTone: {dcs: 754}, txTone: {dcs: -17}, bandwidth: Narrow}",
         "446.006250 446.006250 D754N/D017I 12.5kHz -"},
        {"fm: {id: a, rxFrequency: 439.5625, txFrequency: !<!default> \"\", power: Low, rxOnly: true}",
         "439.562500 439.562500 None/None - Low ro"},
        {"dmr: {id: a, rxFrequency: 0.4396 GHz, power: Mid}", "439.600000 439.600000 -/- - High"},
        {"fm: {id: a, rxFrequency: 446.1, rxTone: {ctcss: 69.4}}", "!tone {ctcss: 69.4} is not a tone the radio has"},
        {"fm: {id: a, rxFrequency: 446.1, txTone: {dcs: 999}}", "!tone {dcs: 999} is not a tone the radio has"},
        {"dmr: {id: a, rxFrequency: 446.1, colorCode: 16}", "!colorCode \"16\" is not 0-15"},
        {"fm: {id: a, rxFrequency: lots}", "!rxFrequency \"lots\" or txFrequency \"\" is not a frequency"},
        {"am: {id: a, rxFrequency: 124.5}", "!am channel: the radio stores FM and DMR channels only"},
        {"just text", "!an entry that is not a channel: the radio stores FM and DMR channels only"},
    };
    for (const Case& c : cases) {
        const ImportPlan plan = ReadQdmrYaml(std::string("channels:\n  - ") + c.channel + "\n");
        ASSERT_EQ(plan.error, "") << c.channel;
        ASSERT_EQ(plan.rows.size(), 1u) << c.channel;
        EXPECT_EQ(Summary(plan.rows[0]), c.expected) << c.channel;
    }
    const std::pair<const char*, const char*> refused[] = {
        {"- a\n- b\n", "not a qdmr codeplug: the file is not a YAML mapping"},
        {"", "not a qdmr codeplug: the file is not a YAML mapping"},
        {"channels: {a: 1}\n", "channels is not a list"},
        {"channels: [\n", "not a YAML file: line 2: end of sequence flow not found"},
    };
    for (const auto& [text, error] : refused)
        EXPECT_EQ(ReadQdmrYaml(text).error, error) << text;

    // A zone naming thousands of channels (twice, and not only by id) is read in bounds.
    std::string zone = "zones:\n  - {id: z, name: Big, A: [";
    for (int n = 0; n < 3000; ++n)
        zone += "c" + std::to_string(n % 1500) + ", {x: 1}, ";
    const ImportPlan big = ReadQdmrYaml(zone + "c0], B: [c7]}\n");
    ASSERT_EQ(big.rows.size(), 1u);
    EXPECT_EQ(big.rows[0].members.size(), 500u);
    EXPECT_EQ(big.rows[0].notes, (std::vector<std::string>{"500 entries of a list are not ids: left out",
                                                            "entries past the first 1000 of a list are left out"}));
}

TEST(QdmrYaml, MoreContactsThanFitAreListedAndOwnExportComesBack)
{
    std::string text = "contacts:\n";
    for (int n = 1; n <= 70; ++n)
        text += "  - dmr: {id: c" + std::to_string(n) + ", name: T" + std::to_string(n) + ", type: GroupCall, number: " +
                std::to_string(1000 + n) + "}\n";
    text += "  - dmr: {id: again, name: Twice, type: GroupCall, number: 1001}\n";
    const ImportPlan plan = ReadQdmrYaml(text);
    auto c = DefaultCodeplug();
    const ImportResult result = ApplyPlan(plan, All(plan), ImportMode::Replace, *c);
    EXPECT_EQ(std::pair(result.Stored(), GetCount(c->ContactCount)), std::pair(std::size_t{64}, std::uint32_t{64}));
    EXPECT_EQ(result.fates[64].reason, "over capacity: the radio holds 64 contacts");
    EXPECT_EQ(result.fates[70].reason, "the same call and ID as contact 1, which is used");

    // Our export, then our import into another codeplug, gives the same records.
    const auto original = DefaultCodeplug();
    auto back = DefaultCodeplug();
    SetCount(back->AnalogChannelCount, 1);
    SetCount(back->ContactCount, 0);
    ASSERT_TRUE(ImportText(ExportQdmrYaml(*original).text, ExchangeKind::QdmrYaml, *back).imported());
    const std::pair<const char*, std::vector<const char*>> compared[] = {
        {"analogChannels", {"alias", "rxFrequency", "txFrequency", "rxTone", "txTone", "bandwidth", "power",
                            "txPermission", "squelchLevel", "scanList", "receiveOnly"}},
        {"digitalChannels", {"alias", "rxFrequency", "txFrequency", "rxColourCode", "timeSlot", "txContact", "rxGroupList",
                             "scanList", "power", "txPermission", "receiveOnly"}},
        {"zones", {"alias", "members"}},
        {"scanLists", {"alias", "members"}},
        {"contacts", {"name", "callType", "id"}},
        {"rxGroupLists", {"name", "members"}},
        {"dmrSettings", {"radioId"}},
    };
    for (const auto& [section, ids] : compared)
        EXPECT_EQ(Fields(*back, section, ids), Fields(*original, section, ids)) << section;
}

TEST(DmrUserCsv, LayoutsNamesIdsDuplicatesAndTheContactLimit)
{
    // The report, or the error as its one line; then the last contact, as a private call.
    struct Case { std::string text; std::vector<std::string> report; const char* last; };
    const Case cases[] = {
        {"Radio ID,Callsign,Name,City,State,Country,Remarks\n4600301,BD1AA,Li Wei,Beijing,,China,\n"
         "4600302,,Zhang San,,,,\n123456789,X,,,,,\n1001,DUP,,,,,\n100,Group ID,,,,,\n",
         {"row 1 (BD1AA): Contact 7", "row 2 (Zhang San): Contact 8",
          "row 3 (X): not stored: ID \"123456789\" is not a DMR ID (1-16776415)",
          "row 4 (DUP): not stored: the same call and ID as contact 4, which is used", "row 5 (Group ID): Contact 9"},
         "Group ID|Private call|100|"},
        {"RADIO_ID;CALLSIGN;FIRST_NAME;LAST_NAME;CITY\n2345678;;Anna;Berg;Oslo\n16776415;;;;\n",
         {"row 1 (Anna Berg): Contact 7", "row 2 (16776415): Contact 8"}, "16776415|Private call|16776415|"},
        {"Callsign,Name\nBD1AA,Li\n", {"not a DMR user list: the header has no Radio ID column"},
         "All Call|All call|16777215|"},
    };
    for (const Case& c : cases) {
        const ImportPlan plan = ReadDmrUserCsv(c.text);
        auto image = DefaultCodeplug();
        const ImportResult result = ApplyPlan(plan, All(plan), ImportMode::Append, *image);
        EXPECT_EQ(plan.error.empty() ? ReportLines(plan, result.fates, All(plan)) : std::vector{plan.error}, c.report)
            << c.text;
        EXPECT_EQ(Fields(*image, "contacts", {"name", "callType", "id"}).back(), c.last) << c.text;
    }
}

TEST(ForeignValues, FrequenciesTonesPowerRowNumbersAndCsvDialects)
{
    const std::pair<const char*, std::optional<std::uint64_t>> hertz[] = {
        {"446.00625", 446006250}, {"446,00625", 446006250}, {"431.96249999999998", 431962500}, {" 439.5625 MHz", 439562500},
        {"12.5 kHz", 12500}, {"446006250 Hz", 446006250}, {"0.4 GHz", 400000000}, {"446.0000005", 446000001},
        {"-446.1", std::nullopt}, {"446.1 MHzz", std::nullopt}, {"", std::nullopt}, {"99999999999", std::nullopt}};
    for (const auto& [text, expected] : hertz)
        EXPECT_EQ(ParseHertz(text), expected) << text;
    // Rounded to the tenth, then looked up.
    EXPECT_EQ((std::vector{CtcssTone("67"), CtcssTone("254,1 Hz"), CtcssTone("88.49"), CtcssTone("67.1")}),
              (std::vector<std::optional<std::string>>{"67.0", "254.1", "88.5", std::nullopt}));
    EXPECT_EQ((std::vector{DcsTone("23", true), DcsTone("8", false)}), (std::vector<std::optional<std::string>>{"D023I", std::nullopt}));

    const std::pair<const char*, const char*> rows[] = {
        {"71-78,80", "71-78 80-80"}, {" 3 , 5 - 6 ", "3-3 5-6"}, {"0-2", "0-2"}, {"", "!\"\""}, {"5-3", "!\"5-3\""}, {"1,,2", "!\"\""},
        {"a", "!\"a\""}};
    for (const auto& [text, expected] : rows) {
        std::string error, got;
        if (const auto numbers = ParseRowNumbers(text, error))
            for (const auto& [from, to] : numbers->ranges)
                got += (got.empty() ? "" : " ") + std::to_string(from) + "-" + std::to_string(to);
        else
            got = "!" + error.substr(0, error.find(" is not"));
        EXPECT_EQ(got, expected) << text;
    }

    const std::pair<const char*, const char*> dialects[] = {
        {"a;b;c,d\n", "a|b|c,d|"}, {"# x;y;z\n\"#q\";r\n", "#q|r|"}, {"\"a;b\",c\n", "a;b|c|"}, {"\n\na,b", "a|b|"}};
    for (const auto& [text, expected] : dialects) {
        CsvProblem problem;
        const auto parsed = ParseCsv(text, problem, {GuessCsvSeparator(text), true});
        ASSERT_TRUE(parsed);
        std::string got;
        for (const auto& row : *parsed)
            for (const std::string& cell : row)
                got += cell.empty() ? "" : cell + "|";
        EXPECT_EQ(got, expected) << text;
    }
}

TEST(ForeignFormats, ReasonsInAChineseInterface)
{
    const std::pair<const char*, const char*> cases[] = {
        {"over capacity: the radio holds 16 analog channels", "超出容量：电台最多容纳 16 个模拟信道"},
        {"Receive frequency: 145.500000 MHz is outside the band 400.000000-480.000000 MHz",
         "接收频率：145.500000 MHz 超出频段 400.000000-480.000000 MHz"},
        {"mode AM: the radio stores FM and NFM channels only", "模式 AM：电台只能存储 FM 和 NFM 信道"},
        {"rToneFreq \"69.4\" is not a CTCSS tone the radio has", "rToneFreq“69.4”不是电台支持的 CTCSS 亚音"},
    };
    for (const auto& [english, chinese] : cases)
        EXPECT_EQ(InLanguage(english, UiLanguage::Chinese), chinese);
}
