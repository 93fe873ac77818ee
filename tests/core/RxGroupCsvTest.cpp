// Receive group lists as CSV: the layout, round trips, refused members and lists that go.
#include "tests/core/TestFiles.h"

#include "forms/CsvTables.h"
#include "forms/RxGroupCsv.h"

namespace {

using Image = std::vector<std::uint8_t>;

Image BytesOf(const Codeplug& c) { return CodeplugToBytes(const_cast<Codeplug&>(c)); }

// Contacts 1, 3 and 4 are group calls, 2 a private call; lists 1-3 hold {1}, {3, 4} and {4};
// digital channels 1-4 name lists 0 (off), 2, 3 and 1.
std::unique_ptr<Codeplug> Fleet()
{
    auto c = std::make_unique<Codeplug>();
    BuildDefaultCodeplug(*c);
    SetCount(c->ContactCount, 4), SetCount(c->RxGroupCount, 3), SetCount(c->DigitalChannelCount, 4);
    for (std::size_t n = 0; n < 4; ++n) {
        c->ContactTable.record(n)[39] = n == 1 ? 1 : 0;
        c->DigitalChannelTable.record(n)[66] = std::array<std::uint8_t, 4>{0, 2, 3, 1}[n];
    }
    // Bytes 1-4: "G1", "G2", "G3" (every byte below 0x7E followed by a zero; 4 bytes); 38-40:
    // the markers and the member count; 41 on: the members.
    const std::vector<std::vector<std::uint8_t>> members = {{0}, {2, 3}, {3}};
    for (std::size_t g = 0; g < 3; ++g) {
        auto r = c->RxGroupTable.record(g);
        std::fill(r.begin(), r.end(), 0);
        r[1] = 4, r[2] = 'G', r[4] = static_cast<std::uint8_t>('1' + g);
        r[38] = 1, r[39] = static_cast<std::uint8_t>(members[g].size()), r[40] = 2;
        std::copy(members[g].begin(), members[g].end(), r.begin() + 41);
    }
    return c;
}

std::vector<int> ListsOfChannels(Codeplug& c)
{
    std::vector<int> lists;
    for (std::size_t i = 0; i < 4; ++i)
        lists.push_back(c.DigitalChannelTable.record(i)[66]);
    return lists;
}

std::string Header(int members = 16)
{
    std::string h = "No.,Group list name";
    for (int m = 1; m <= members; ++m)
        h += ",Member " + std::to_string(m);
    return h + "\r\n";
}

}  // namespace

TEST(RxGroupCsv, OneRowAListWithOneMemberACell)
{
    auto c = Fleet();
    const std::string text = ExportRxGroupCsv(*c);
    const std::string blanks15(15, ','), blanks14(14, ',');
    EXPECT_EQ(text, "\xEF\xBB\xBF" + Header() + "1,G1,1" + blanks15 + "\r\n2,G2,3,4" + blanks14 + "\r\n3,G3,4" +
                        blanks15 + "\r\n");
    EXPECT_EQ(ExportCsv(*c, *CsvTableByName("receive-groups")), text);
    EXPECT_EQ(CsvTableByName("RX-Groups"), CsvTable::RxGroups);

    // Back unchanged, also for random bytes past the member counts and in lists past the count.
    std::mt19937 rng(740);
    for (int round = 0; round < 5; ++round) {
        auto r = Fleet();
        for (std::size_t g = 0; g < 32; ++g) {
            auto rec = r->RxGroupTable.record(g);
            for (std::size_t b = g < 3 ? 41u + rec[39] : 39u; b < 57; ++b)
                rec[b] = static_cast<std::uint8_t>(rng());
        }
        const Image before = BytesOf(*r);
        ASSERT_TRUE(ImportCsv(ExportCsv(*r, CsvTable::RxGroups), CsvTable::RxGroups, *r).empty());
        ASSERT_EQ(BytesOf(*r), before);
    }
}

TEST(RxGroupCsv, EditedMembersAndNamesReachTheirBytes)
{
    auto c = Fleet();
    // List 2 becomes "Fire" with members 4 and 1; a new list with member 3 is added.
    const std::string text = Header() + "1,G1,1\n2,Fire,4,,1\n,Mutual aid,3\n3,G3,4\n";
    ASSERT_TRUE(ImportCsv(text, CsvTable::RxGroups, *c).empty());
    EXPECT_EQ(GetCount(c->RxGroupCount), 4u);
    const auto g2 = c->RxGroupTable.record(1);
    EXPECT_EQ(std::vector<std::uint8_t>(g2.begin() + 1, g2.begin() + 10),
              (std::vector<std::uint8_t>{8, 'F', 0, 'i', 0, 'r', 0, 'e', 0}));
    EXPECT_EQ(std::vector<std::uint8_t>(g2.begin() + 39, g2.begin() + 44), (std::vector<std::uint8_t>{2, 2, 3, 0, 0}));
    const auto added = c->RxGroupTable.record(2);  // a copy of list 1 with its markers, then the row
    EXPECT_EQ(std::vector<std::uint8_t>(added.begin() + 38, added.begin() + 43), (std::vector<std::uint8_t>{1, 1, 2, 2, 0}));
    EXPECT_EQ(ListsOfChannels(*c), (std::vector<int>{0, 2, 4, 1})) << "channels follow list 3 to its new place, 4";
}

TEST(RxGroupCsv, BadMembersAndCountsAreRefusedWithTheirCellAndNothingChanges)
{
    struct Case { const char* name; std::string text; std::size_t row, column; const char* reason; };  // reason: a part of it
    std::string many = Header();
    for (int g = 0; g < 33; ++g)
        many += ",L" + std::to_string(g) + ",1\n";
    const Case cases[] = {
        {"missing contact", Header() + "1,G1,5\n", 2, 3, "contact 5 does not exist"},
        {"private call", Header() + "1,G1,1\n2,G2,3,2\n", 3, 4, "not a group call"},
        {"twice", Header() + "1,G1,1,,1\n", 2, 5, "member twice"},
        {"not a number", Header() + "1,G1,one\n", 2, 3, "not a contact number"},
        {"17 members", Header(17) + "1,G1,1\n", 1, 19, "members 1-16"},
        {"33 lists", many, 0, 0, "holds 1-32"},
        {"no list", Header(), 0, 0, "holds 1-32"},
        {"name too long", Header() + "1,Nineteen characters,1\n", 2, 2, ""},
        {"unknown list", Header() + "4,G4,1\n", 2, 1, "not a list"},
        {"a cell past the header", Header() + "1,G1,1" + std::string(16, ',') + "\n", 2, 19, "more cells"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        auto c = Fleet();
        const Image before = BytesOf(*c);
        const auto problems = ImportCsv(k.text, CsvTable::RxGroups, *c);
        ASSERT_EQ(problems.size(), 1u) << problems.front().Text();
        EXPECT_EQ(problems[0].row, k.row);
        EXPECT_EQ(problems[0].column, k.column);
        EXPECT_NE(problems[0].reason.find(k.reason), std::string::npos) << problems[0].reason;
        EXPECT_EQ(BytesOf(*c), before);
    }
}

TEST(RxGroupCsv, ADroppedListTurnsItsChannelsOffAndLaterListsFollow)
{
    auto c = Fleet();
    // List 2 goes; lists 3 and 1 swap places.
    ASSERT_TRUE(ImportCsv(Header() + "3,G3,4\n1,G1,1\n", CsvTable::RxGroups, *c).empty());
    EXPECT_EQ(GetCount(c->RxGroupCount), 2u);
    // Channel 2 named the dropped list 2; list 3 is now list 1, list 1 list 2.
    EXPECT_EQ(ListsOfChannels(*c), (std::vector<int>{0, 0, 1, 2}));
    EXPECT_EQ(c->RxGroupTable.record(0)[4], '3');
    const auto gone = c->RxGroupTable.record(2);
    EXPECT_TRUE(std::all_of(gone.begin(), gone.end(), [](std::uint8_t b) { return b == 0; }));
}
