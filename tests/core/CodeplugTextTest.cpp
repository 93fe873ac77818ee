// The codeplug as text: the field schema, JSON export/import, diff, check and the CSV tables.
#include "tests/core/TestFiles.h"

#include "forms/CodeplugCheck.h"
#include "forms/CodeplugDiff.h"
#include "forms/CodeplugJson.h"
#include "forms/CsvTables.h"
#include "forms/Sections.h"
#include "forms/channels/Encodings.h"
#include "forms/dmr/ContactRules.h"

namespace fs = std::filesystem;

namespace {

using Image = std::vector<std::uint8_t>;

using testfiles::DefaultCodeplug;

Image BytesOf(const Codeplug& c) { return CodeplugToBytes(const_cast<Codeplug&>(c)); }

std::uint32_t Le32(const Image& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

}  // namespace

TEST(FieldSchema, SectionsCoverTheImageOnceAndFieldsNeverShareBits)
{
    auto c = std::make_unique<Codeplug>();
    const auto* base = reinterpret_cast<const std::uint8_t*>(c.get());
    std::vector<int> covered(11279, 0);
    for (const Section& s : Sections(*c)) {
        ASSERT_EQ(s.bytes.size(), s.schema->bytes * s.capacity) << s.id;
        for (const auto part : {s.bytes, s.count}) {
            for (std::size_t i = 0; i < part.size(); ++i)
                ++covered.at(static_cast<std::size_t>(part.data() - base) + i);
        }
        std::vector<std::uint8_t> owned(s.schema->bytes, 0);
        for (const FieldDef& f : s.schema->fields) {
            for (const auto& [at, bits] : Footprint(f)) {
                ASSERT_LT(at, owned.size()) << s.id << "." << f.id;
                EXPECT_EQ(owned[at] & bits, 0) << s.id << "." << f.id << " shares byte " << at;
                owned[at] |= bits;
            }
        }
    }
    EXPECT_EQ(std::count(covered.begin(), covered.end(), 1), 11279);
}

// An image the check passes comes back byte for byte; any other comes back only as the forms
// would have stored it, or is refused.
TEST(CodeplugJson, ImagesComeBackByteForByteOrAsTheFormsStoreThemOrNotAtAll)
{
    std::mt19937 rng(740);
    auto c = DefaultCodeplug();
    for (int round = 0; round < 8; ++round) {
        if (round > 0) {  // any bytes at all: counts past their tables, bad tones, stray bits, non-decimal IDs
            Image bytes(11279);
            for (auto& b : bytes)
                b = static_cast<std::uint8_t>(rng() % 4 == 0 ? 0 : rng());
            CodeplugFromBytes(*c, bytes);
        }
        auto back = std::make_unique<Codeplug>();
        const auto problems = ImportJson(JsonDocument::parse(ExportJson(*c).dump(2)), *back);
        if (CountErrors(CheckCodeplug(*c)) == 0) {
            ASSERT_TRUE(problems.empty()) << round << ": " << problems.front().path << " " << problems.front().reason;
            ASSERT_EQ(BytesOf(*back), BytesOf(*c)) << round;
        } else if (problems.empty()) {
            EXPECT_EQ(CountErrors(CheckCodeplug(*back)), 0u) << round;
        } else {
            EXPECT_EQ(BytesOf(*back), Image(11279, 0)) << "a refused import changed its target";
        }
    }
}

TEST(CodeplugJson, HandEditsLandInTheirBytesAndBadValuesAreRefusedWithTheirPath)
{
    auto c = DefaultCodeplug();
    JsonDocument doc = ExportJson(*c);
    doc["digitalChannels"]["records"][2]["rxFrequency"] = "439.1125";
    doc["analogChannels"]["records"][0]["rxTone"] = "d023i";
    doc["analogChannels"]["records"][0]["alias"] = "北门";
    doc["contacts"]["records"][1]["id"] = 1234;
    doc["dmrSettings"]["radioId"] = 7654321;
    doc["analogChannels"]["records"][1]["bandwidth"] = "25MHz";  // as files of earlier versions say it
    doc["analogChannels"]["records"][2]["bandwidth"] = "12.5kHz";
    auto edited = std::make_unique<Codeplug>();
    ASSERT_TRUE(ImportJson(doc, *edited).empty());
    const Image b = BytesOf(*edited);
    EXPECT_EQ((std::vector<std::uint32_t>{Le32(b, 6734 + 2 * 82 + 54), Le32(b, 254 + 45 + 41), Le32(b, 227 + 1)}),
              (std::vector<std::uint32_t>{439112500, 0x1234, 0x7654321}));
    // DCS inverted with the tail bits kept, 023 the second code; two GBK characters in four bytes;
    // wide, then narrow.
    EXPECT_EQ((std::vector<int>{b[5438 + 64] & 0xF9, b[5438 + 65], b[5438 + 1], b[5438 + 2], b[5438 + 3], b[5438 + 4],
                                b[5438 + 5], b[5438 + 81 + 39] & 0x04, b[5438 + 2 * 81 + 39] & 0x04}),
              (std::vector<int>{0xE0, 2, 4, 0xB1, 0xB1, 0xC3, 0xC5, 0x04, 0x00}));

    // Each refusal names the value's path, and every record stays whole and every reference true.
    const Image before = BytesOf(*edited);
    const auto refusedAt = [&](const JsonDocument& broken, const std::string& path) {
        const auto problems = ImportJson(broken, *edited);
        ASSERT_EQ(problems.size(), 1u) << path;
        EXPECT_TRUE(problems[0].path == path && !problems[0].reason.empty()) << path;
    };
    const std::pair<const char*, JsonDocument> bad[] = {
        {"/digitalChannels/records/0/rxFrequency", "500.000000"},
        {"/analogChannels/records/1/txTone", "99.9"},
        {"/contacts/records/0/callType", "Broadcast"},
        {"/analogChannels/records/0/alias", "a name much longer than eighteen"},
        {"/rxGroupLists/records/0/name", "華東區開關門點華東區開關門點華東區開"},
        {"/contacts/records/1/name", std::string("A\0B", 3)},
        {"/zones/records/0/members", JsonDocument::array({"A1", "X9"})},
        {"/digitalChannels/records/0/txContact", 7},
        {"/analogChannels/count", 200},
        {"/radioSettings/powerOnZone", 3},
        {"/analogChannels/records/0/kept/1", "01"},  // byte 1 is the alias length
        {"/analogChannels/records/0/kept/80", "0000"},  // past the record's 81 bytes
        {"/analogChannels/unused/6", "00"},              // record 6 is in use
    };
    for (const auto& [path, value] : bad) {
        JsonDocument broken = doc;
        broken[JsonDocument::json_pointer(path)] = value;
        refusedAt(broken, path);
    }
    JsonDocument broken = doc;
    broken["contacts"]["records"][0].erase("id");
    refusedAt(broken, "/contacts/records/0/id");
    broken = doc;  // contact 3 made an all call: contact 6 is the second
    broken["contacts"]["records"][2]["callType"] = "All call";
    broken["contacts"]["records"][2]["id"] = 16777215;
    refusedAt(broken, "/contacts/records/5/callType");
    broken = doc;  // the last analog channel gone with its count: zone 2 still names it
    broken["analogChannels"]["records"].erase(5);
    broken["analogChannels"]["count"] = 5;
    refusedAt(broken, "/zones/records/1/members");
    // Bytes no valid value describes travel as "exact"; an edit of the value is still written.
    auto odd = std::make_unique<Codeplug>(*edited);
    odd->AnalogChannelTable.record(0)[65] = 200;  // past every tone list
    JsonDocument oddDoc = ExportJson(*odd);
    ASSERT_TRUE(oddDoc["analogChannels"]["records"][0]["exact"].contains("rxTone"));
    oddDoc["analogChannels"]["records"][0]["rxTone"] = "D025N";
    ASSERT_TRUE(ImportJson(oddDoc, *odd).empty());
    EXPECT_EQ(BytesOf(*odd)[5438 + 65], 3);

    JsonDocument structural = doc;
    structural["analogChannels"]["count"] = 7;  // one record short
    structural["digitalChannels"]["records"][0]["colour"] = 1;
    structural["radioSettings"]["kept"]["18"] = "zz";
    structural.erase("password");
    const auto problems = ImportJson(structural, *edited);
    std::vector<std::string> paths;
    for (const JsonProblem& p : problems)
        paths.push_back(p.path);
    EXPECT_EQ(paths, (std::vector<std::string>{"/radioSettings/kept/18", "/analogChannels/records",
                                               "/digitalChannels/records/0/colour", "/password"}));
    EXPECT_EQ(BytesOf(*edited), before) << "a refused import changed the image";
}

TEST(CodeplugDiff, NamesEachDifferingFieldAndBytesOutsideTheFields)
{
    auto a = DefaultCodeplug();
    auto b = DefaultCodeplug();
    EXPECT_TRUE(DiffCodeplugs(*a, *b).empty());
    PutLE32(b->DigitalChannelTable.record(2), 54, 439112500);
    EXPECT_EQ(DiffCodeplugs(*a, *b),
              (std::vector<std::string>{"Digital channel 3: receive frequency 441.000000 → 439.112500 MHz"}));
    b = DefaultCodeplug();
    b->IdentityBlock[10] ^= 0x01;
    b->ContactTable.record(1)[39] = 1;
    EXPECT_EQ(DiffCodeplugs(*a, *b), (std::vector<std::string>{"Contact 2: call type Group call → Private call",
                                                              "Identity record: bytes outside the named fields differ at file offset 8315"}));
    SetCount(b->AnalogChannelCount, 5);
    const auto counted = DiffCodeplugs(*a, *b);
    EXPECT_NE(std::find(counted.begin(), counted.end(), "Analog channels: count 6 → 5"), counted.end());
}

TEST(Csv, QuotingBomsAndBrokenQuotes)
{
    const CsvRows tricky = {{"No.", "Name"}, {"1", "a, b"}, {"2", "say \"hi\""}, {"3", "two\nlines"}, {"4", " padded "}, {"5", ""}};
    const std::string text = FormatCsv(tricky);
    EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(text.find("\"say \"\"hi\"\"\"\r\n"), std::string::npos);
    CsvProblem problem;
    EXPECT_EQ(ParseCsv(text, problem), tricky);
    EXPECT_EQ(ParseCsv(text.substr(3), problem), tricky);
    EXPECT_EQ(ParseCsv("a,b\nc,\"d\r\ne\"", problem), (CsvRows{{"a", "b"}, {"c", "d\r\ne"}}));
    const std::pair<const char*, std::pair<std::size_t, std::size_t>> broken[] = {
        {"a,b\nc,d\"e\n", {2, 2}}, {"a,\"b\"x\n", {1, 2}}, {"a\n\"open,b\n", {2, 1}}};
    for (const auto& [input, at] : broken) {
        EXPECT_FALSE(ParseCsv(input, problem)) << input;
        EXPECT_EQ(std::make_pair(problem.row, problem.column), at) << input;
    }
}

TEST(Csv, BadCellsLeaveTheFileAlone)
{
    auto d = DefaultCodeplug();
    const Image before = BytesOf(*d);
    std::string text = ExportCsv(*d, CsvTable::DigitalChannels);
    text.replace(text.find("438.500000"), 10, "438.5x");
    text.replace(text.find("Slot 2"), 6, "Slot 3");
    text.insert(text.find("\r\n", text.find("Slot 3")), ",x");  // one cell more than the header has
    const auto problems = ImportCsv(text, CsvTable::DigitalChannels, *d);
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(std::tuple(problems[0].Text().substr(0, 42), problems[1].row, problems[1].reason, problems[2].header),
              std::tuple(std::string("row 2, column 3 (Receive frequency): \"438."), 3u,
                         std::string("more cells than the header has columns"), std::string("Time slot")));
    EXPECT_EQ(BytesOf(*d), before);
}

TEST(Csv, DroppedAndReorderedRowsCarryTheirReferences)
{
    auto c = DefaultCodeplug();
    // Zone 1 holds analog 1, analog 2 and analog 3; the spreadsheet drops channel 2 and swaps 1 and 3.
    auto z = c->ZoneTable.record(0);
    const std::uint8_t members[] = {2, 0, 0, 2, 1, 0, 2, 2, 0};  // kind, index LE16
    z[39] = 3;
    std::copy(std::begin(members), std::end(members), z.begin() + 41);
    const std::string csv = ExportCsv(*c, CsvTable::AnalogChannels);
    CsvProblem problem;
    CsvRows rows = *ParseCsv(csv, problem);
    ASSERT_GE(rows.size(), 4u);
    const std::string name3 = rows[3][1];
    CsvRows edited = {rows[0], rows[3], rows[1]};
    edited.push_back(rows[1]);
    edited.back()[0] = "";  // a new channel
    edited.back()[1] = "New one";
    for (std::size_t r = 4; r < rows.size(); ++r)
        edited.push_back(rows[r]);
    ASSERT_TRUE(ImportCsv(FormatCsv(edited), CsvTable::AnalogChannels, *c).empty());
    EXPECT_EQ(GetCount(c->AnalogChannelCount), rows.size() - 1);
    EXPECT_EQ(DecodeAlias(c->AnalogChannelTable.record(0)[1], c->AnalogChannelTable.record(0).subspan(2, 36)), name3);
    z = c->ZoneTable.record(0);
    ASSERT_EQ(z[39], 2);
    EXPECT_EQ(std::tuple(GetLE16(z, 42), GetLE16(z, 45)), std::tuple(1, 0));  // old channel 1 now second, old 3 first

    // Contacts: dropping contact 2 moves the later ones down in channels, groups and one-touch calls.
    auto d = DefaultCodeplug();
    contacts::Delete(*d, 5);
    contacts::Delete(*d, 4);
    d->DigitalChannelTable.record(0)[64] = 3, d->DigitalChannelTable.record(1)[64] = 1;
    auto g = d->RxGroupTable.record(0);
    g[39] = 2, g[41] = 1, g[42] = 2;
    d->RadioSettings[206] = 2, d->RadioSettings[207] = 1, d->RadioSettings[209] = 2, d->RadioSettings[210] = 3;
    rows = *ParseCsv(ExportCsv(*d, CsvTable::Contacts), problem);
    rows.erase(rows.begin() + 2);
    ASSERT_TRUE(ImportCsv(FormatCsv(rows), CsvTable::Contacts, *d).empty());
    EXPECT_EQ(GetCount(d->ContactCount), 3u);
    EXPECT_EQ((std::vector<int>{d->DigitalChannelTable.record(0)[64], d->DigitalChannelTable.record(1)[64], g[39], g[41],
                                d->RadioSettings[206], d->RadioSettings[210]}),
              (std::vector<int>{2, 0, 1, 1, 0, 2}));
}

TEST(TextVerbs, ExportImportDiffAndCheckFromTheShell)
{
    const testfiles::TempDir dir;
    const std::string d = "'" + dir.path.string() + "/";
    const std::string original = "'" ZR740_SOURCE_DIR "/data/Default.VNTX'";
    EXPECT_EQ(testfiles::Zr740("export " + original + " -o " + d + "a.json'").exitCode, 0);
    EXPECT_EQ(testfiles::Zr740("import " + d + "a.json' -o " + d + "b.VNTX'").exitCode, 0);
    EXPECT_EQ(testfiles::Zr740("diff " + original + " " + d + "b.VNTX'").exitCode, 0);
    EXPECT_EQ(testfiles::Zr740("check " + d + "b.VNTX'").exitCode, 0);

    EXPECT_EQ(testfiles::Zr740("export " + original + " --table digital -o " + d + "d.csv'").exitCode, 0);
    std::string csv = testfiles::ReadText(dir / "d.csv");
    testfiles::WriteText(dir / "d.csv", csv.replace(csv.find("438.500000"), 10, "439.112500"));
    EXPECT_EQ(testfiles::Zr740("import " + d + "d.csv' --table digital --into " + d + "b.VNTX'").exitCode, 0);
    EXPECT_EQ(testfiles::Zr740("diff " + original + " " + d + "b.VNTX'").exitCode, 1);

    testfiles::WriteText(dir / "bad.csv", "No.,Receive frequency\n1,999\n");
    const auto before = fs::last_write_time(dir / "b.VNTX");
    EXPECT_EQ(testfiles::Zr740("import " + d + "bad.csv' --table digital --into " + d + "b.VNTX'").exitCode, 1);
    EXPECT_EQ(fs::last_write_time(dir / "b.VNTX"), before);
    testfiles::WriteText(dir / "bad.json", "{\"format\": 1}");
    EXPECT_EQ(testfiles::Zr740("import " + d + "bad.json' -o " + d + "c.VNTX'").exitCode, 1);
    EXPECT_FALSE(fs::exists(dir / "c.VNTX"));

    auto broken = DefaultCodeplug();
    SetCount(broken->ContactCount, 99);
    ASSERT_TRUE(SaveCodeplugFile(*broken, dir / "broken.VNTX").ok());
    EXPECT_EQ(testfiles::Zr740("check " + d + "broken.VNTX'").exitCode, 1);
    EXPECT_EQ(testfiles::Zr740("diff " + d + "missing.VNTX' " + original).exitCode, 3);
}
