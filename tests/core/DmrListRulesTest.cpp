// The contact and receive-group-list rules on a bare image: offsets and bytes as the records
// lay them out (contact 45 bytes: length 1, name 2, call type 39, ID 41; list 57 bytes: member
// count 39, members 41; digital channel 82 bytes: transmit contact 64, receive list 66;
// one-touch entry k at RadioSettings 206 + 3k).
#include "tests/core/TestFiles.h"

#include "forms/dmr/ContactRules.h"
#include "forms/dmr/RxGroupRules.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Image {
    std::unique_ptr<Codeplug> owned = std::make_unique<Codeplug>();
    Codeplug& c = *owned;

    std::uint8_t* contact(std::size_t n) { return c.ContactTable.bytes.data() + 45 * n; }
    std::uint8_t* list(std::size_t n) { return c.RxGroupTable.bytes.data() + 57 * n; }
    std::uint8_t* channel(std::size_t n) { return c.DigitalChannelTable.bytes.data() + 82 * n; }
    std::uint32_t id(std::size_t n) { return GetLE32(c.ContactTable.record(n), 41); }
    void setContact(std::size_t n, std::uint8_t type, std::uint32_t id, char letter = 'A')
    {
        contact(n)[1] = 1;
        contact(n)[2] = static_cast<std::uint8_t>(letter);
        contact(n)[39] = type;
        PutLE32(c.ContactTable.record(n), 41, id);
    }
    Bytes members(std::size_t n) { return {list(n) + 41, list(n) + 57}; }
    void setMembers(std::size_t n, std::uint8_t count, Bytes bytes)
    {
        list(n)[39] = count;
        std::copy(bytes.begin(), bytes.end(), list(n) + 41);
    }
};

Bytes Padded(Bytes bytes, std::size_t size = 16)
{
    bytes.resize(size, 0);
    return bytes;
}

}  // namespace

TEST(ContactRules, FreeSmallIdSkipsNonDecimalValuesAndFallsBackTo64)
{
    std::vector<std::uint32_t> oneToNine, allBelow64;
    for (std::uint32_t v = 1; v <= 0x63; ++v) {
        if ((v & 0xF) <= 9)
            allBelow64.push_back(v);
        if (v <= 9)
            oneToNine.push_back(v);
    }
    const std::pair<std::vector<std::uint32_t>, std::uint32_t> cases[] = {
        {{}, 0x1}, {oneToNine, 0x10}, {{0x1, 0x2, 0x4}, 0x3}, {allBelow64, 0x64}};
    for (const auto& [held, expected] : cases) {
        Image im;  // held in records past the count too: every record counts
        for (std::size_t n = 0; n < held.size(); ++n)
            im.setContact(n, 1, held[n]);
        EXPECT_EQ(contacts::FreeSmallId(im.c), expected) << held.size() << " IDs held";
    }
}

TEST(ContactRules, CallTypeAndIdEntry)
{
    Image im;
    SetCount(im.c.ContactCount, 3);
    for (std::uint8_t n = 0; n < 3; ++n)
        im.setContact(n, 0, n + 1u);

    // Private call: a fresh ID, its own old one still counting as taken. All call: AA AA AA AA.
    using R = contacts::CallTypeResult;
    EXPECT_EQ((std::vector{contacts::CommitCallType(im.c, 0, 1), contacts::CommitCallType(im.c, 1, 2)}),
              (std::vector{R::Changed, R::Changed}));
    EXPECT_EQ(std::tuple(im.id(0), Bytes(im.contact(1) + 39, im.contact(1) + 45)), std::tuple(0x4u, Bytes{2, 0, 0xAA, 0xAA, 0xAA, 0xAA}));
    const Bytes before(im.c.ContactTable.bytes.begin(), im.c.ContactTable.bytes.end());
    EXPECT_EQ((std::vector{contacts::CommitCallType(im.c, 2, 2), contacts::CommitCallType(im.c, 1, 2),
                           contacts::CommitCallType(im.c, 3, 0)}),
              (std::vector{R::AllCallExists, R::AllCallExists, R::Refused}));
    EXPECT_EQ(contacts::CommitId(im.c, 1, "5"), contacts::IdResult::Refused);  // all call
    EXPECT_EQ(Bytes(im.c.ContactTable.bytes.begin(), im.c.ContactTable.bytes.end()), before);

    // The box takes eight characters, read as the radio ID box reads them (DmrRadioId's table).
    EXPECT_EQ(contacts::CommitId(im.c, 2, "123456789"), contacts::IdResult::Stored);
    EXPECT_EQ(Bytes(im.contact(2) + 41, im.contact(2) + 45), (Bytes{0x78, 0x56, 0x34, 0x12}));
    // Contact 0 is a private call with ID 4: the same ID is a duplicate only for the same type.
    EXPECT_EQ(contacts::CommitId(im.c, 2, "4"), contacts::IdResult::Stored);
    im.contact(2)[39] = 1;
    EXPECT_EQ(contacts::CommitId(im.c, 2, "9"), contacts::IdResult::Stored);
    EXPECT_EQ(contacts::CommitId(im.c, 2, "4"), contacts::IdResult::Duplicate);
    EXPECT_EQ(im.id(2), 0x9u);  // the refused ID is not kept
}

TEST(ContactRules, NamesAreStoredAsTypedUpToSixteenCharacters)
{
    Image im;
    SetCount(im.c.ContactCount, 1);
    std::fill_n(im.contact(0) + 2, 36, 0xEE);
    ASSERT_FALSE(contacts::CommitName(im.c, 0, "ABCDEFGHIJKLMNOPQR"));
    ASSERT_TRUE(contacts::CommitName(im.c, 0, "ABCDEFGHIJKLMNOP"));
    Bytes expected = {16};
    for (char ch = 'A'; ch <= 'P'; ++ch)
        expected.insert(expected.end(), {static_cast<std::uint8_t>(ch), 0});
    expected.insert(expected.end(), 4, 0);
    EXPECT_EQ(Bytes(im.contact(0) + 1, im.contact(0) + 38), expected);
    ASSERT_TRUE(contacts::CommitName(im.c, 0, " Ops "));
    EXPECT_EQ(std::tuple(im.contact(0)[1] + 0, contacts::Name(im.c, 0)), std::tuple(5, std::string("Ops")));  // blanks count, shown trimmed
    EXPECT_FALSE(contacts::CommitName(im.c, 1, "x"));
}

TEST(ContactRules, DeleteMovesLaterContactsAndEveryReferenceFollows)
{
    Image im;
    SetCount(im.c.ContactCount, 4);
    for (std::uint8_t n = 0; n < 4; ++n)
        im.setContact(n, 0, 0x10 + n, static_cast<char>('A' + n));
    const Bytes oldThird(im.contact(2), im.contact(2) + 45);
    const Bytes oldLast(im.contact(3), im.contact(3) + 45);

    SetCount(im.c.DigitalChannelCount, 6);
    const std::uint8_t txBefore[] = {0, 1, 2, 3, 0xFF, 4};  // 4: no contact of the list
    for (std::size_t i = 0; i < 6; ++i)
        im.channel(i)[64] = txBefore[i];
    im.channel(6)[64] = 3;  // past the channel count

    SetCount(im.c.RxGroupCount, 2);
    im.setMembers(0, 3, {0, 1, 3});
    im.setMembers(1, 1, {2});

    const Bytes oneTouch = {2, 1, 0x77, 2, 3, 0x77, 2, 0, 0x77, 0, 2, 0x77, 2, 0x40};  // kind, contact, unused
    std::copy(oneTouch.begin(), oneTouch.end(), im.c.RadioSettings.begin() + 206);

    ASSERT_TRUE(contacts::Delete(im.c, 1));

    EXPECT_EQ(GetCount(im.c.ContactCount), 3u);
    EXPECT_EQ(Bytes(im.contact(1), im.contact(1) + 45), oldThird);
    EXPECT_EQ(Bytes(im.contact(3), im.contact(3) + 45), oldLast);  // the freed record keeps its bytes
    EXPECT_EQ((Bytes{im.channel(0)[64], im.channel(1)[64], im.channel(2)[64], im.channel(3)[64], im.channel(4)[64],
                     im.channel(5)[64], im.channel(6)[64]}),
              (Bytes{0, 0, 1, 2, 0xFF, 4, 3}));  // channel 7 is past the count
    EXPECT_EQ(std::tuple(im.list(0)[39] + 0, im.members(0), im.list(1)[39] + 0, im.members(1)),
              std::tuple(2, Padded({0, 2}), 1, Padded({1})));
    EXPECT_EQ(Bytes(im.c.RadioSettings.begin() + 206, im.c.RadioSettings.begin() + 220),
              (Bytes{0, 0, 0x77, 2, 2, 0x77, 2, 0, 0x77, 0, 1, 0x77, 2, 0x40}));

    // The last contact goes without moving anything; outside the list nothing happens.
    ASSERT_TRUE(contacts::Delete(im.c, 2));
    EXPECT_EQ(im.channel(3)[64], 0);
    EXPECT_FALSE(contacts::Delete(im.c, 2) || GetCount(im.c.ContactCount) != 2u);

    // A count past the table is bounded: the delete works on 64 contacts.
    SetCount(im.c.ContactCount, 200);
    ASSERT_TRUE(contacts::Delete(im.c, 63));
    EXPECT_EQ(GetCount(im.c.ContactCount), 63u);

    // Without a contact left, a channel that named the last one names none.
    SetCount(im.c.ContactCount, 1);
    im.channel(0)[64] = 0;
    ASSERT_TRUE(contacts::Delete(im.c, 0));
    EXPECT_EQ(im.channel(0)[64], 0xFF);
}

TEST(RxGroupRules, MembersAreCleanedAddedAndRemoved)
{
    Image im;
    SetCount(im.c.ContactCount, 5);
    const std::uint8_t types[] = {0, 1, 0, 0, 2};
    for (std::uint8_t n = 0; n < 5; ++n)
        im.setContact(n, types[n], 0x1u + n);
    // Members: group, private, past the table, group, and one past the member count.
    im.setMembers(0, 4, {0, 1, 200, 2, 3});
    EXPECT_EQ(rxgroups::CleanMembers(im.c, 0), (Bytes{0, 2}));
    EXPECT_EQ(std::tuple(im.list(0)[39] + 0, im.members(0), rxgroups::AvailableContacts(im.c, 0)),
              std::tuple(2, Padded({0, 2}), Bytes{3}));

    // A member count above 16 reads no further than the 16 member bytes; a full list takes no more.
    im.setMembers(1, 255, Bytes(16, 3));
    EXPECT_EQ(rxgroups::CleanMembers(im.c, 1), Bytes(16, 3));
    EXPECT_EQ(im.list(1)[39], 16);
    EXPECT_FALSE(rxgroups::AddMember(im.c, 1, 0));

    using R = rxgroups::RemoveResult;
    EXPECT_TRUE(rxgroups::AddMember(im.c, 0, 3));
    EXPECT_EQ((std::vector{rxgroups::RemoveMember(im.c, 0, 3), rxgroups::RemoveMember(im.c, 0, 0)}),
              (std::vector{R::NoSelection, R::Removed}));
    EXPECT_EQ(std::tuple(im.list(0)[39] + 0, im.members(0)), std::tuple(2, Padded({2, 3})));
    EXPECT_EQ((std::vector{rxgroups::RemoveMember(im.c, 0, 1), rxgroups::RemoveMember(im.c, 0, 0)}),
              (std::vector{R::Removed, R::LastMember}));
    EXPECT_EQ(im.members(0), Padded({2}));
}

TEST(RxGroupRules, NewListCopiesListOneAndDeleteTurnsOffChannelsOfTheLastList)
{
    Image im;
    SetCount(im.c.RxGroupCount, 2);
    for (std::size_t i = 0; i < 57; ++i)
        im.list(0)[i] = static_cast<std::uint8_t>(i + 1);
    ASSERT_TRUE(rxgroups::NewList(im.c));
    EXPECT_EQ(std::tuple(Bytes(im.c.RxGroupCount.begin(), im.c.RxGroupCount.end()), Bytes(im.list(2), im.list(2) + 57)),
              std::tuple(Bytes{3, 0, 0, 0}, Bytes(im.list(0), im.list(0) + 57)));

    SetCount(im.c.DigitalChannelCount, 3);
    im.channel(0)[66] = 3, im.channel(1)[66] = 2, im.channel(2)[66] = 3;
    ASSERT_TRUE(rxgroups::DeleteLastList(im.c));
    EXPECT_EQ(std::tuple(GetCount(im.c.RxGroupCount), Bytes(im.list(2), im.list(2) + 57)), std::tuple(2u, Bytes(57, 0)));
    EXPECT_EQ((Bytes{im.channel(0)[66], im.channel(1)[66], im.channel(2)[66]}), (Bytes{0, 2, 0}));

    ASSERT_TRUE(rxgroups::DeleteLastList(im.c));
    EXPECT_FALSE(rxgroups::DeleteLastList(im.c));
    SetCount(im.c.RxGroupCount, 32);
    EXPECT_FALSE(rxgroups::NewList(im.c));
    SetCount(im.c.RxGroupCount, 90);  // a count past the table: the last list of the table goes
    ASSERT_TRUE(rxgroups::DeleteLastList(im.c));
    EXPECT_EQ(GetCount(im.c.RxGroupCount), 31u);
}

TEST(RxGroupRules, NameFillsTheFieldAtEighteenCharacters)
{
    Image im;
    EXPECT_FALSE(rxgroups::CommitName(im.c, 0, "  ABCDEFGHIJKLMNOPQRS "));
    EXPECT_EQ(im.list(0)[1], 0);
    EXPECT_TRUE(rxgroups::CommitName(im.c, 0, "  ABCDEFGHIJKLMNOPQR "));
    EXPECT_EQ((Bytes{im.list(0)[1], im.list(0)[34], im.list(0)[35], im.list(0)[36], im.list(0)[37]}), (Bytes{36, 'Q', 0, 'R', 0}));
    rxgroups::CommitName(im.c, 0, "   ");
    EXPECT_EQ(Bytes(im.list(0) + 1, im.list(0) + 38), Bytes(37, 0));
}
