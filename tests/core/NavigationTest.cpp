// Navigation tree, click rules and file-command rules, without windows.
#include "tests/core/TestFiles.h"

#include "app/FileCommands.h"
#include "app/Navigation.h"

namespace {

TextCatalogue RealTexts(int keyBase)
{
    TextCatalogue text;
    EXPECT_TRUE(text.LoadFile(std::filesystem::path(ZR740_SOURCE_DIR) / "data" / "Txt.ini"));
    text.SetKeyBase(keyBase);
    return text;
}

const NavNode& Child(const NavNode& node, int textKey)
{
    for (const NavNode& child : node.children)
        if (child.textKey == textKey)
            return child;
    throw std::runtime_error("no child with key " + std::to_string(textKey));
}

}  // namespace

// Counts of 0 or out of range are repaired to 1 (and written back); an RX-group count above 32
// is kept but only 32 items are listed; contacts and messages may stay at 0.
TEST(NavigationTree, ListsFollowTheRepairedCounts)
{
    const TextCatalogue text = RealTexts(0);
    // {digital, analog, scans, rx} -> {items of each, stored rx count}
    const std::array<std::uint32_t, 9> rows[] = {
        {0, 0, 0, 0, 1, 1, 1, 1, 1}, {17, 200, 4, 40, 1, 1, 1, 32, 40}, {16, 16, 3, 32, 16, 16, 3, 32, 32}};
    for (const auto& r : rows) {
        Codeplug codeplug;
        SetCount(codeplug.DigitalChannelCount, r[0]), SetCount(codeplug.AnalogChannelCount, r[1]);
        SetCount(codeplug.ScanListCount, r[2]), SetCount(codeplug.RxGroupCount, r[3]);
        ExpansionFlags flags;
        const NavNode root = BuildNavigationTree(codeplug, text, flags);
        const NavNode& rx = Child(Child(root, 7), 10);
        const std::array<std::size_t, 8> got = {Child(root, 28).children.size(), Child(root, 29).children.size(),
                                                Child(root, 17).children.size(), rx.children.size(),
                                                GetCount(codeplug.DigitalChannelCount), GetCount(codeplug.ScanListCount),
                                                GetCount(codeplug.RxGroupCount),
                                                GetCount(codeplug.ContactCount) + GetCount(codeplug.MessageCount)};
        EXPECT_EQ(got, (std::array<std::size_t, 8>{r[4], r[5], r[6], r[7], r[4], r[6], r[8], 0})) << r[0];
        EXPECT_EQ(rx.children.back().label, r[7] == 32 ? "接收组 32" : "接收组 01");
    }
}

// Numbered items set the form's index to n - 1 and its title to the label, from the carried
// number or else from the label's end (two characters, one for zones and scan lists).
TEST(NavigationClick, NumberedItemsSetIndexAndTitle)
{
    const TextCatalogue text = RealTexts(0);
    const auto tree = [&](int key) { return text.GetText("Tree", key); };
    NavigationState state;
    struct Row { int parentKey; std::string label; std::uint32_t number; FormKind form; std::uint32_t index; };
    const Row rows[] = {
        {28, "数字信道 12", 0, FormKind::DigitalChannel, 11},
        {29, "模拟信道 03", 0, FormKind::AnalogChannel, 2},
        {33, tree(35), 0, FormKind::Zone, 1},
        {17, "扫描列表3", 0, FormKind::Scan, 2},
        {10, "接收组 32", 0, FormKind::DmrRxGrpList, 31},
    };
    for (const Row& r : rows) {
        const TreeClick click = HandleTreeClick(state, text, tree(r.parentKey), r.label, r.number);
        EXPECT_EQ(click.action, TreeClick::Action::OpenForm) << r.label;
        EXPECT_EQ(click.form, r.form) << r.label;
        EXPECT_EQ(state.Index(r.form), r.index) << r.label;
        EXPECT_EQ(state.Title(r.form), r.label);
    }
    // The analog form shares the channel title but keeps its own index.
    EXPECT_EQ(state.Index(FormKind::DigitalChannel), 11u);
    EXPECT_EQ(state.Title(FormKind::DigitalChannel), "模拟信道 03");
    EXPECT_TRUE(state.labelBuffer.empty());
    // A channel label without a number opens nothing rather than record -1.
    EXPECT_EQ(HandleTreeClick(state, text, tree(28), "数字信道").action, TreeClick::Action::None);
    for (const auto& [label, chars, expected] : std::initializer_list<std::tuple<const char*, std::size_t, std::uint32_t>>{
             {"CH 7", 2, 7}, {"CH16", 2, 16}, {"区域2", 1, 2}, {"信道", 2, 0}, {"", 2, 0}})
        EXPECT_EQ(NumberFromLabelEnd(label, chars), expected) << label;
}

TEST(NavigationClick, PlainItemsStoreTheLabelAndGroupNodesDoNothing)
{
    const TextCatalogue text = RealTexts(100000);
    NavigationState state;
    const auto tree = [&](int key) { return text.GetText("Tree", key); };
    EXPECT_EQ(HandleTreeClick(state, text, tree(0), tree(1)).action, TreeClick::Action::RadioInfo);
    EXPECT_EQ(HandleTreeClick(state, text, tree(7), tree(9)).form, FormKind::DmrContact);
    EXPECT_EQ(state.labelBuffer, "Contacts");
    for (int group : {0, 2, 7, 17, 28, 29, 33})
        EXPECT_EQ(HandleTreeClick(state, text, group == 0 ? "" : tree(0), tree(group)).action, TreeClick::Action::None)
            << group;
    // Radio info under the wrong parent; labels compare case-sensitively.
    EXPECT_EQ(HandleTreeClick(state, text, tree(2), tree(1)).action, TreeClick::Action::None);
    EXPECT_EQ(HandleTreeClick(state, text, tree(7), "contacts").action, TreeClick::Action::None);
    EXPECT_EQ(state.labelBuffer, "Contacts");
}

TEST(FileRules, SaveNameFiltersAndErrorMessages)
{
    const std::filesystem::path dir = "/opt/zr740";
    EXPECT_TRUE(SaveNeedsName("/opt/zr740/Default.VNTX", dir));
    EXPECT_TRUE(SaveNeedsName("", dir));  // read from a radio: no file yet
    for (const char* other : {"/opt/zr740/default.vntx", "/opt/zr740/../zr740/Default.VNTX", "/home/u/a.VNTX"})
        EXPECT_FALSE(SaveNeedsName(other, dir)) << other;
    using Filters = std::vector<std::string>;
    EXPECT_EQ(FileDialogFilters("Codeplug|*.VNTX;*.vntx||"), Filters{"Codeplug (*.VNTX *.vntx)"});
    EXPECT_EQ(FileDialogFilters("A|*.a|B||C"), Filters{"A (*.a)"});  // dangling parts dropped
    const std::string zh = FileErrorMessage(UiLanguage::Chinese, FileStatus::OpenFailed, "/x/a.VNTX", "No such file");
    for (const char* part : {"/x/a.VNTX", "No such file", "打开"})
        EXPECT_NE(zh.find(part), std::string::npos) << part;
}
