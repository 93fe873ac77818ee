// One set of rules for every way into the codeplug: what the check finds, what the CSV and JSON
// imports refuse or store normalised, names measured in the bytes the radio stores, and a long
// random walk of editing operations after which the check never finds an error.
#include "tests/core/TestFiles.h"

#include "forms/CodeplugCheck.h"
#include "forms/CodeplugJson.h"
#include "forms/CsvTables.h"
#include "forms/Wording.h"
#include "forms/Sections.h"
#include "forms/channels/ChannelRules.h"
#include "forms/channels/Encodings.h"
#include "forms/channels/MemberRules.h"
#include "forms/dmr/ContactRules.h"
#include "forms/dmr/RxGroupRules.h"
#include "forms/functions/MessageRules.h"

namespace {

using Image = std::vector<std::uint8_t>;

// File offsets of the default codeplug's records (6 analog and 6 digital channels, 2 scan lists,
// 6 contacts of which 4 and 5 are private calls and 6 the all call, 2 receive group lists).
constexpr std::size_t kAnalog1 = 5438, kDigital1 = 6734, kContact1 = 254, kRxGroup1 = 3138, kScan1 = 4966,
                      kZone1 = 5260, kDmr = 227;

Image DefaultImage() { return CodeplugToBytes(*testfiles::DefaultCodeplug()); }

std::unique_ptr<Codeplug> Load(const Image& bytes)
{
    auto c = std::make_unique<Codeplug>();
    CodeplugFromBytes(*c, bytes);
    return c;
}

void Put(Image& b, std::size_t at, std::initializer_list<std::uint8_t> bytes)
{
    std::copy(bytes.begin(), bytes.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
}

// Where two images first differ, for a failure message.
std::string FirstDifference(const Image& a, const Image& b)
{
    const auto at = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    if (at.first == a.end())
        return "equal";
    return "first difference at file offset " + std::to_string(at.first - a.begin());
}

// A Chinese interface shows a finding without English words left in it (values, units and codes
// such as MHz, ID or D023N may stay).
bool WordedInChinese(const std::string& english)
{
    const std::string chinese = InLanguage(english, UiLanguage::Chinese);
    for (const char* word : {" is ", " not ", " the ", "does", "exist", "outside", "expected", "contact", "member",
                             "list ", "channel", "count", "holds", "field", "byte", "Receive", "Transmit", "Contact",
                             "Digital", "Analog", "Zone", "Scan", "settings"})
        if (chinese.find(word) != std::string::npos)
            return false;
    return chinese != english;
}

// Each finding or problem on a line of its own, for a failure message.
template <typename Items>
std::string Texts(const Items& items)
{
    std::string out;
    for (const auto& item : items)
        out += "\n  " + item.Text();
    return out;
}

using Cells = std::vector<std::pair<std::string, std::string>>;

// A CSV export with cells of one row replaced (row 0 is the header; columns found by their header).
std::string EditCsv(const Codeplug& c, CsvTable table, std::size_t row, const Cells& cells)
{
    CsvProblem unused;
    CsvRows rows = *ParseCsv(ExportCsv(c, table), unused);
    for (const auto& [header, value] : cells) {
        const auto col = static_cast<std::size_t>(std::find(rows[0].begin(), rows[0].end(), header) - rows[0].begin());
        EXPECT_LT(col, rows[0].size()) << header;
        rows.at(row).at(col) = value;
    }
    return FormatCsv(rows);
}

}  // namespace

// Every field's valid values come from the field schema, so nothing a form would show blank, and
// no reference to a record that does not exist, passes the check.
TEST(CodeplugRules, TheCheckKnowsEveryFieldsValidValues)
{
    ASSERT_TRUE(CheckCodeplug(*Load(DefaultImage())).empty()) << Texts(CheckCodeplug(*Load(DefaultImage())));
    struct Case {
        const char* finding;
        std::function<void(Image&)> craft;
        bool error = true;
    };
    const Case cases[] = {
        {"Analog channel 1: Squelch level: 6 is outside 0-5", [](Image& b) { b[kAnalog1 + 62] = 6; }},
        {"Digital channel 1: Transmit inhibit recovery: 11 is outside 0-10", [](Image& b) { b[kDigital1 + 74] = 11; }},
        {"Digital channel 1: Receive colour code: 16 is outside 0-15", [](Image& b) { b[kDigital1 + 44] = 16; }},
        {"Analog channel 1: Transmit time-out [s]: holds invalid (6)", [](Image& b) { b[kAnalog1 + 56] = 6; }},
        {"Scan list 1: Scan transmit mode: 2 is outside 0-1", [](Image& b) { b[kScan1 + 90] = 2; }},
        {"Scan list 1: Receive dwell time: 10500 is outside 0-10000", [](Image& b) { Put(b, kScan1 + 92, {0x04, 0x29}); }},
        {"DMR settings: Call confirmation wait time: 5050 is outside 300-5000", [](Image& b) { b[kDmr + 10] = 101; }},
        {"DMR settings: Voice delay: 1640 is outside 0-1600", [](Image& b) { b[kDmr + 18] = 41; }},
        {"DMR settings: Message confirmation retries: 255 is outside 0-254", [](Image& b) { b[kDmr + 16] = 255; }},
        {"DMR settings: Radio ID: holds invalid (1A is not a decimal ID)", [](Image& b) { Put(b, kDmr + 1, {0x1A, 0, 0, 0}); }},
        {"Radio settings: Long-press time: 5500 is outside 1000-5000", [](Image& b) { Put(b, 222, {0x7C, 0x15}); }},
        {"Receive group list 1: Members: member 1: contact 4 is not a group call",
         [](Image& b) { Put(b, kRxGroup1 + 39, {1, 2, 3}); }},
        {"Receive group list 1: Members: member 2: named twice", [](Image& b) { Put(b, kRxGroup1 + 39, {2, 2, 0, 0}); }},
        {"Radio settings: One-touch call 1: contact 6 is an all call", [](Image& b) { Put(b, 206, {2, 5}); }},
        {"Analog channel 1: Scan list: list 3 does not exist (2 in use)", [](Image& b) { b[kAnalog1 + 60] = 3; }},
        {"Digital channel 1: Receive group list: list 3 does not exist (2 in use)", [](Image& b) { b[kDigital1 + 66] = 3; }},
        {"Digital channel 1: Transmit contact: contact 7 does not exist (6 in use)", [](Image& b) { b[kDigital1 + 64] = 6; }},
        {"Zone 1: Members: member 1: A7 is not a channel in use", [](Image& b) { Put(b, kZone1 + 41, {2, 6, 0}); }},
        {"Contact 6: a second all call (contact 5 is one)", [](Image& b) { b[kContact1 + 4 * 45 + 39] = 2; }},
        {"Contact 2: the same ID 1 as contact 1", [](Image& b) { Put(b, kContact1 + 45 + 41, {0x01, 0, 0, 0}); }},
        {"Contact 1: Call ID: 16776416 is outside 1-16776415", [](Image& b) { Put(b, kContact1 + 41, {0x16, 0x64, 0x77, 0x16}); }},
        {"Contact 1: Call ID: 16777215 is outside 1-16776415", [](Image& b) { Put(b, kContact1 + 41, {0x15, 0x72, 0x77, 0x16}); }},
        {"Analog channel 1: Auto scan is On, but with the other settings the forms store Off",
         [](Image& b) { b[kAnalog1 + 60] = 0; b[kAnalog1 + 39] |= 0x01; }},
        {"Digital channel 1: Encryption key is 0, but with the other settings the forms store 1",
         [](Image& b) { b[kDigital1 + 41] |= 0x20; Put(b, kDigital1 + 76, {0, 0}); }},
        {"Digital channel 1: Encryption key is 5, but with the other settings the forms store 0",
         [](Image& b) { b[kDigital1 + 41] &= 0xDF; Put(b, kDigital1 + 76, {5, 0}); }},
        {"Digital channel 1: Direct (TDMA) mode is On, but with the other settings the forms store Off",
         [](Image& b) { b[kDigital1 + 42] |= 0x01; }},
        {"Receive group list 1: Group list name: the length byte says 37, the field holds 36 bytes",
         [](Image& b) { b[kRxGroup1 + 1] = 37; }},
        {"Contacts: count 65 is above the table of 64", [](Image& b) { b[3134] = 65; }},
        {"Zone 1: has no members", [](Image& b) { b[kZone1 + 39] = 0; }, false},
        {"Analog channel 1: Receive frequency: 390.000000 MHz is outside the band 400.000000-480.000000 MHz",
         [](Image& b) { Put(b, kAnalog1 + 42, {0x80, 0xED, 0x3E, 0x17}); }},
        {"Digital channel 1: Transmit frequency is not set", [](Image& b) { Put(b, kDigital1 + 59, {0, 0, 0, 0}); }, false},
        {"Analog channel 1: Receive tone: holds invalid (type 0x40, index 200)", [](Image& b) { Put(b, kAnalog1 + 64, {0x44, 200}); }},
    };
    for (const Case& test : cases) {
        Image bytes = DefaultImage();
        test.craft(bytes);
        const auto findings = CheckCodeplug(*Load(bytes));
        const auto found = std::find_if(findings.begin(), findings.end(), [&](const CheckFinding& f) {
            return f.Text().find(test.finding) != std::string::npos;
        });
        ASSERT_NE(found, findings.end()) << test.finding << Texts(findings);
        EXPECT_EQ(found->error, test.error) << test.finding;
        EXPECT_TRUE(WordedInChinese(found->where + ": " + found->what))
            << InLanguage(found->where + ": " + found->what, UiLanguage::Chinese);
    }
}

// What a form would refuse, an import refuses with its place and reason, leaving the codeplug as it
// was; what a form normalises, an import stores normalised, byte for byte as the forms store it.
TEST(CodeplugRules, ImportsRefuseWhatTheFormsRefuseAndStoreWhatTheyStore)
{
    const Image original = DefaultImage();
    struct Case {
        CsvTable table;
        std::size_t row;
        Cells cells;
        std::string problem;  // empty: stored, byte `at` under `mask` then holds `expected`
        std::size_t at = 0;
        std::uint8_t mask = 0, expected = 0;
    };
    using T = CsvTable;
    const Case cases[] = {
        {T::AnalogChannels, 1, {{"Scan list", "3"}}, "row 2, column 14 (Scan list): list 3 does not exist (2 in use)"},
        {T::DigitalChannels, 1, {{"Receive group list", "3"}},
         "row 2, column 9 (Receive group list): list 3 does not exist (2 in use)"},
        {T::DigitalChannels, 2, {{"Transmit contact", "7"}},
         "row 3, column 8 (Transmit contact): contact 7 does not exist (6 in use)"},
        {T::Contacts, 2, {{"Call ID", "16776416"}}, "row 3, column 4 (Call ID): 16776416 is outside 1-16776415"},
        {T::Contacts, 3, {{"Call ID", "1"}}, "row 4, column 4 (Call ID): the same ID 1 as contact 1"},
        {T::Contacts, 3, {{"No.", "1"}}, "row 4, column 1 (No.): record 1 is listed twice"},
        {T::Contacts, 0, {{"No.", "Number"}}, "no \"No.\" column"},  // no row can say which record it is
        {T::Contacts, 1, {{"Call type", "All call"}, {"Call ID", "16777215"}}, "a second all call"},
        {T::AnalogChannels, 1, {{"Squelch level", "9999999999999999999999"}},
         "row 2, column 13 (Squelch level): expected a whole number"},
        {T::AnalogChannels, 1, {{"Channel alias", "Gate\tB"}}, "holds characters the radio cannot show"},
        {T::AnalogChannels, 1, {{"Channel alias", "North\nGate"}}, "holds characters the radio cannot show"},
        {T::Contacts, 1, {{"Contact name", "華東區開關門點華東區開關門點華東"}}, "needs 48 bytes of the 36-byte name field"},
        // Auto scan on a channel without a scan list is cleared.
        {T::AnalogChannels, 4, {{"Scan list", "Off"}, {"Auto scan", "On"}}, "", kAnalog1 + 3 * 81 + 39, 0x01, 0x00},
        // Encryption switched on with the key box at 0 stores key 1; a key without encryption is 0.
        {T::DigitalChannels, 1, {{"Encryption", "On"}}, "", kDigital1 + 76, 0xFF, 0x01},
        {T::DigitalChannels, 1, {{"Encryption key", "77"}}, "", kDigital1 + 76, 0xFF, 0x00},
        // Different frequencies: direct mode back to its first choice, the "differ" bit set.
        {T::DigitalChannels, 1, {{"Direct (TDMA) mode", "On"}}, "", kDigital1 + 42, 0x07, 0x04},
        {T::DigitalChannels, 3, {{"Transmit frequency", "441.500000"}}, "", kDigital1 + 2 * 82 + 42, 0x07, 0x04},
        {T::DigitalChannels, 3, {{"Receive and transmit differ", "On"}}, "", kDigital1 + 2 * 82 + 42, 0x04, 0x00},
        // The band's top is in the band; a private call may carry a group call's ID.
        {T::AnalogChannels, 1, {{"Receive frequency", "480.000000"}}, "", kAnalog1 + 45, 0xFF, 0x1C},
        {T::Contacts, 4, {{"Call ID", "1"}}, "", kContact1 + 3 * 45 + 41, 0xFF, 0x01},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.cells[0].first + " " + test.problem);
        auto c = Load(original);
        const auto problems = ImportCsv(EditCsv(*c, test.table, test.row, test.cells), test.table, *c);
        if (test.problem.empty()) {
            ASSERT_TRUE(problems.empty()) << Texts(problems);
            EXPECT_EQ(CodeplugToBytes(*c)[test.at] & test.mask, test.expected);
            EXPECT_EQ(CountErrors(CheckCodeplug(*c)), 0u) << Texts(CheckCodeplug(*c));
            continue;
        }
        ASSERT_FALSE(problems.empty());
        EXPECT_NE(Texts(problems).find(test.problem), std::string::npos) << Texts(problems);
        EXPECT_TRUE(WordedInChinese(problems[0].reason)) << InLanguage(problems[0].reason, UiLanguage::Chinese);
        EXPECT_EQ(CodeplugToBytes(*c), original);
    }

    // A new row is a copy of channel 1 normalised the same way.
    auto c = Load(original);
    CsvProblem unused;
    CsvRows rows = *ParseCsv(ExportCsv(*c, CsvTable::DigitalChannels), unused);
    rows.push_back(rows[3]);
    rows.back()[0] = "";
    rows.back()[3] = "440.000000";  // the copy of a simplex channel, now split
    ASSERT_TRUE(ImportCsv(FormatCsv(rows), CsvTable::DigitalChannels, *c).empty());
    EXPECT_EQ(CodeplugToBytes(*c)[kDigital1 + 6 * 82 + 42] & 0x07, 0x04);
    // A table takes as many rows as it has records, no more.
    rows.resize(17, rows.back());
    EXPECT_TRUE(ImportCsv(FormatCsv(rows), CsvTable::DigitalChannels, *c).empty());
    rows.push_back(rows.back());
    EXPECT_FALSE(ImportCsv(FormatCsv(rows), CsvTable::DigitalChannels, *c).empty());
}

// Names are measured in the bytes the radio stores: some characters take three.
TEST(CodeplugRules, NamesThatDoNotFitAreRefusedNeverCut)
{
    struct Case { std::string text; std::size_t chars, bytes; bool fits; };
    const Case cases[] = {
        {"ABCDEFGHIJKLMNOPQR", 18, 36, true},                  // 18 ASCII characters fill 36 bytes
        {"ABCDEFGHIJKLMNOPQRS", 18, 36, false},
        {"華東區開關門點華東區開關", 18, 36, true},            // 12 × 3 bytes
        {"華東區開關門點華東區開關門", 18, 36, false},         // 13 × 3 = 39 bytes
        {"调度台调度台调度台调度台调度台调度台", 18, 36, true},  // 18 × 2 bytes
        {"A\tB", 18, 36, false},
        {std::string("A\0B", 3), 18, 36, false},
        {"x\u200By", 18, 36, false},                          // not in the code page
    };
    for (const Case& test : cases)
        EXPECT_EQ(NameProblem(test.text, test.chars, test.bytes).empty(), test.fits) << test.text;

    auto c = Load(DefaultImage());
    const Image before = CodeplugToBytes(*c);
    EXPECT_FALSE(contacts::CommitName(*c, 0, "華東區開關門點華東區開關門點華東"));
    EXPECT_FALSE(rxgroups::CommitName(*c, 0, "華東區開關門點華東區開關門點華東區開"));
    EXPECT_EQ(CodeplugToBytes(*c), before);
    ASSERT_TRUE(contacts::CommitName(*c, 0, "華東區開關門點華東區開關"));
    EXPECT_EQ(contacts::Name(*c, 0), "華東區開關門點華東區開關");
}

// The forms' own operations, a contact's call type change above all, keep every list true.
TEST(CodeplugRules, AContactThatIsNoGroupCallLeavesEveryListAtOnce)
{
    Image bytes = DefaultImage();
    Put(bytes, kRxGroup1 + 39, {3, 0, 0, 1, 2});  // list 1: contacts 1, 2 and 3
    Put(bytes, 206, {2, 1});                       // one-touch 1 calls contact 2
    auto c = Load(bytes);
    ASSERT_EQ(contacts::CommitCallType(*c, 1, 1), contacts::CallTypeResult::Changed);
    EXPECT_EQ(CodeplugToBytes(*c)[kRxGroup1 + 39], 2);
    EXPECT_EQ(CodeplugToBytes(*c)[kRxGroup1 + 41], 0);
    EXPECT_EQ(CodeplugToBytes(*c)[kRxGroup1 + 42], 2);
    ASSERT_EQ(contacts::CommitCallType(*c, 5, 0), contacts::CallTypeResult::Changed);  // the all call goes
    ASSERT_EQ(contacts::CommitCallType(*c, 1, 2), contacts::CallTypeResult::Changed);  // contact 2 becomes it
    EXPECT_EQ(CodeplugToBytes(*c)[206], 0) << "a one-touch call cannot name an all call";
    EXPECT_EQ(CountErrors(CheckCodeplug(*c)), 0u) << Texts(CheckCodeplug(*c));
}

namespace {

// A walk through random editing operations, each one a form, an import or a verb would do.
class Walk {
public:
    explicit Walk(unsigned seed) : rng_(seed) { BuildDefaultCodeplug(*c_); }

    Codeplug& codeplug() { return *c_; }
    std::string Step()
    {
        const std::size_t list = static_cast<std::size_t>(Pick(static_cast<int>(rxgroups::Count(*c_))));
        std::uint32_t scanList = static_cast<std::uint32_t>(Pick(3));
        switch (Pick(17)) {
        case 0: AddChannel(*c_, Kind()); return "add channel";
        case 1: DeleteChannel(*c_, Kind(), Pick(16)); return "delete channel";
        case 2: CopyReceiveToTransmit(*c_, Kind(), Pick(static_cast<int>(ChannelCount(*c_, ChannelKind::Analog)))); return "copy";
        case 3: contacts::Add(*c_, "Contact " + std::to_string(Pick(99))); return "add contact";
        case 4: contacts::Delete(*c_, Pick(64)); return "delete contact";
        case 5: contacts::CommitCallType(*c_, Pick(64), static_cast<std::uint8_t>(Pick(3))); return "call type";
        case 6: contacts::CommitId(*c_, Pick(64), std::to_string(Pick(20))); return "contact id";
        case 7: return rxgroups::NewList(*c_), "new group list";
        case 8: return rxgroups::DeleteLastList(*c_), "delete group list";
        case 9: {
            rxgroups::CleanMembers(*c_, list);
            const auto available = rxgroups::AvailableContacts(*c_, list);
            if (!available.empty())
                rxgroups::AddMember(*c_, list, available[static_cast<std::size_t>(Pick(static_cast<int>(available.size())))]);
            return "group list member";
        }
        case 10: return rxgroups::RemoveMember(*c_, list, static_cast<std::size_t>(Pick(4))), "group list member gone";
        case 11: return Members();
        case 12: return (Pick(2) ? AddScanList(*c_, "Scan %d") : DeleteScanList(*c_, scanList)), "scan list";
        case 13:
        case 14: return Csv();
        case 15: return Json();
        default: {
            const int row = 1 + Pick(3);
            if (OpenMessageRow(*c_, row))
                SetMessageText(*c_, static_cast<std::size_t>(row - 1), Pick(2) ? "收到" : "Back at 5");
            return "message";
        }
        }
    }

private:
    std::mt19937 rng_;
    std::unique_ptr<Codeplug> c_ = std::make_unique<Codeplug>();

    int Pick(int n) { return n <= 0 ? 0 : static_cast<int>(rng_() % static_cast<unsigned>(n)); }
    ChannelKind Kind() { return Pick(2) ? ChannelKind::Analog : ChannelKind::Digital; }
    static const RecordSchema& Schema(int table)
    {
        return table == 2 ? ContactSchema() : table == 0 ? AnalogChannelSchema() : DigitalChannelSchema();
    }

    std::string Members()
    {
        const bool zone = Pick(2) == 0;
        const auto record = zone ? ZoneRecord(*c_, Pick(2)) : ScanListRecord(*c_, Pick(3));
        const MemberListKind kind = zone ? MemberListKind::Zone : MemberListKind::ScanList;
        RevalidateMembers(*c_, record, kind);
        MemberList members = ReadMembers(record);
        Pick(2) ? void(AddMember(members, AvailableChannels(*c_, members), Pick(32))) : void(RemoveMember(members, Pick(16)));
        WriteMembers(record, members, kind);
        return "members";
    }

    // A value a user might type into a cell of the field.
    std::string Cell(const FieldDef& f)
    {
        switch (f.codec) {
        case Codec::Alias:
        case Codec::ContactName: return Pick(2) ? "北门 " + std::to_string(Pick(9)) : "Gate-" + std::to_string(Pick(99));
        case Codec::Frequency: return FrequencyToText(400000000u + 12500u * static_cast<std::uint32_t>(Pick(6400)));
        case Codec::RxTone:
        case Codec::TxTone: return Pick(3) == 0 ? "None" : Pick(2) ? std::string(CtcssList[Pick(51)]) : "D" + std::string(DcsList[Pick(108)]) + "N";
        case Codec::Tail:
        case Codec::Bit: return Pick(2) ? "On" : "Off";
        case Codec::Choice: return std::string(f.choices[Pick(static_cast<int>(f.choices.size()))]);
        case Codec::Number: return std::to_string(f.min + f.step * Pick(static_cast<int>((f.max - f.min) / f.step + 2)));
        case Codec::ContactId: return std::to_string(1 + Pick(30));
        case Codec::ListRef: return Pick(3) == 0 ? "Off" : std::to_string(1 + Pick(4));
        case Codec::ContactRef: return std::to_string(1 + Pick(8));
        default: return {};
        }
    }

    std::string Csv()
    {
        const int t = Pick(3);
        const CsvTable table = std::array{CsvTable::AnalogChannels, CsvTable::DigitalChannels, CsvTable::Contacts}[t];
        CsvProblem unused;
        CsvRows rows = *ParseCsv(ExportCsv(*c_, table), unused);
        if (rows.size() > 1 && Pick(4) == 0)
            rows.erase(rows.begin() + 1 + Pick(static_cast<int>(rows.size() - 1)));
        if (Pick(4) == 0) {
            rows.push_back(rows.back());
            rows.back()[0] = "";
        }
        for (int edits = Pick(3); edits >= 0 && rows.size() > 1; --edits) {
            const std::size_t col = 1 + static_cast<std::size_t>(Pick(static_cast<int>(Schema(t).fields.size())));
            rows[1 + static_cast<std::size_t>(Pick(static_cast<int>(rows.size() - 1)))][col] = Cell(Schema(t).fields[col - 1]);
        }
        const Image before = CodeplugToBytes(*c_);
        if (!ImportCsv(FormatCsv(rows), table, *c_).empty()) {
            EXPECT_EQ(CodeplugToBytes(*c_), before) << "a refused import changed the codeplug";
        }
        return "csv " + std::string(CsvTableName(table));
    }

    std::string Json()
    {
        const int t = Pick(3);
        JsonDocument doc = ExportJson(*c_);
        const char* section = std::array{"analogChannels", "digitalChannels", "contacts"}[t];
        auto& records = doc[section]["records"];
        if (!records.empty()) {
            const FieldDef& f = Schema(t).fields[static_cast<std::size_t>(Pick(static_cast<int>(Schema(t).fields.size())))];
            auto& record = records[static_cast<std::size_t>(Pick(static_cast<int>(records.size())))];
            record[std::string(f.id)] = ValueFromText(f, Cell(f));
            record.erase("exact");
        }
        const Image before = CodeplugToBytes(*c_);
        if (!ImportJson(doc, *c_).empty()) {
            EXPECT_EQ(CodeplugToBytes(*c_), before) << "a refused import changed the codeplug";
        }
        return "json " + std::string(section);
    }
};

}  // namespace

TEST(CodeplugRules, NoSequenceOfEditsLeavesAnError)
{
    int steps = 0;
    for (unsigned seed = 1; steps < 2000; ++seed) {
        Walk walk(seed);
        for (int i = 0; i < 100; ++i, ++steps) {
            const std::string op = walk.Step();
            const auto findings = CheckCodeplug(walk.codeplug());
            ASSERT_EQ(CountErrors(findings), 0u) << "seed " << seed << ", step " << i << ": " << op << Texts(findings);
        }
        // Whatever export writes, import takes back unchanged.
        const Image bytes = CodeplugToBytes(walk.codeplug());
        auto back = std::make_unique<Codeplug>();
        const auto json = ImportJson(JsonDocument::parse(ExportJson(walk.codeplug()).dump()), *back);
        ASSERT_TRUE(json.empty()) << json.front().path << ": " << json.front().reason;
        EXPECT_EQ(CodeplugToBytes(*back), bytes) << "seed " << seed << ": " << FirstDifference(CodeplugToBytes(*back), bytes);
        for (const CsvTable t : {CsvTable::AnalogChannels, CsvTable::DigitalChannels, CsvTable::Contacts, CsvTable::RxGroups}) {
            ASSERT_TRUE(ImportCsv(ExportCsv(walk.codeplug(), t), t, walk.codeplug()).empty()) << CsvTableName(t);
            ASSERT_EQ(CodeplugToBytes(walk.codeplug()), bytes) << CsvTableName(t) << ", seed " << seed << ": "
                                                               << FirstDifference(CodeplugToBytes(walk.codeplug()), bytes);
        }
    }
}
