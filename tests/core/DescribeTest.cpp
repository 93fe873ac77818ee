#include "tests/core/TestFiles.h"

#include <initializer_list>

#include "forms/Describe.h"
#include "forms/DescribeFormat.h"
#include "forms/channels/Encodings.h"

namespace {

const DescNode& At(const DescNode& root, std::initializer_list<std::string_view> path)
{
    const DescNode* node = &root;
    for (const std::string_view id : path) {
        if ((node = node->Find(id)) == nullptr)
            throw std::runtime_error("no field " + std::string(id));
    }
    return *node;
}

const DescNode& Record(const DescNode& root, std::string_view table, std::size_t i) { return At(root, {table, "records"}).children.at(i); }

}  // namespace

TEST(Describe, FieldsReadAsTheUserSeesThemAndCountsListOnlyTheTable)
{
    Codeplug cp;
    SetCount(cp.AnalogChannelCount, 1);
    // Analog channel: alias length 1, alias 2, flags 39 (wide 0x04, VOX 0x08), receive frequency 42,
    // receive tone type and index 64-65, transmit tone type 73.
    auto a = cp.AnalogChannelTable.record(0);
    a[1] = EncodeAlias("Gate", a.subspan(2, 36));
    PutLE32(a, 42, 435012500);
    a[64] = 0xE4;
    a[65] = 2;
    a[73] = 0x44;  // a blank transmit tone committed: no index
    a[39] = 0x04 | 0x08;
    PutLE32(cp.DmrSettings, 1, 0x01234567);

    const DescNode tree = DescribeCodeplug(cp);
    const DescNode& ch = Record(tree, "analogChannels", 0);
    const std::pair<const char*, const char*> shown[] = {{"alias", "Gate"}, {"rxFrequency", "435.012500"}, {"txFrequency", "0."},
        {"rxTone", "D023I"}, {"bandwidth", "25kHz"}};
    for (const auto& [field, text] : shown)
        EXPECT_EQ(At(ch, {field}).text, text) << field;
    EXPECT_TRUE(At(ch, {"txTone"}).text.starts_with("invalid") && At(ch, {"vox"}).flag);
    EXPECT_EQ(At(tree, {"dmrSettings", "radioId"}).text, "1234567");
    {
        Codeplug cp;
        SetCount(cp.ContactCount, 200);
        SetCount(cp.ScanListCount, 9);
        SetCount(cp.AnalogChannelCount, 255);
        SetCount(cp.DigitalChannelCount, 1);
        cp.ContactTable.record(0)[39] = 2;  // an all call
        auto scan = cp.ScanTable.record(0);
        scan[39] = 255;  // the member count; member 1: kind 1 (digital), index 20
        scan[41] = 1;
        PutLE16(scan, 42, 20);

        const DescNode tree = DescribeCodeplug(cp);
        EXPECT_EQ(std::tuple(At(tree, {"contacts", "count"}).text, At(Record(tree, "contacts", 0), {"id"}).text),
                  std::tuple(std::string("200"), std::string("16777215")));
        EXPECT_EQ((std::vector{At(tree, {"contacts", "records"}).children.size(), At(tree, {"scanLists", "records"}).children.size(),
                               At(tree, {"analogChannels", "records"}).children.size(),
                               At(DescribeSummary(cp), {"contacts", "names"}).children.size()}),
                  (std::vector<std::size_t>{64, 3, 16, 64}));
        const DescNode& members = At(Record(tree, "scanLists", 0), {"members"});
        ASSERT_EQ(members.children.size(), 16u);
        EXPECT_EQ(members.children[0].text, "digital CH21 (not in use)");
    }
}

TEST(DescribeFormat, JsonStringsAreEscapedAndStayValidUtf8)
{
    const std::pair<const char*, const char*> rows[] = {
        {"a\"b\\c\n\t\x01\x1F", "\"a\\\"b\\\\c\\n\\t\\u0001\\u001f\""}, {"调度台 \x7F", "\"调度台 \x7F\""},
        {"\xFF", "\"\\ufffd\""}, {"x\xE4\xB8", "\"x\\ufffd\\ufffd\""} /* cut short */, {"\xF0\x9F\x98\x80", "\"\xF0\x9F\x98\x80\""}};
    for (const auto& [text, quoted] : rows)
        EXPECT_EQ(JsonQuote(text), quoted);
}
