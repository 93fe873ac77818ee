// Navigation tree, click rules, form table and file-command rules, without windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "app/CommandTable.h"
#include "app/FileCommands.h"
#include "app/Navigation.h"

namespace {

// A catalogue holding the real tree texts of both languages.
TextCatalogue RealTexts(int keyBase)
{
    TextCatalogue text;
    EXPECT_TRUE(text.LoadFile(std::filesystem::path(ZR740_SOURCE_DIR) / "data" / "Txt.ini"));
    text.SetKeyBase(keyBase);
    return text;
}

const NavNode& Child(const NavNode& node, int textKey)
{
    const auto found = std::find_if(node.children.begin(), node.children.end(),
                                    [&](const NavNode& child) { return child.textKey == textKey; });
    if (found == node.children.end())
        throw std::runtime_error("no child with key " + std::to_string(textKey));
    return *found;
}

std::vector<int> ChildKeys(const NavNode& node)
{
    std::vector<int> keys;
    for (const NavNode& child : node.children)
        keys.push_back(child.textKey);
    return keys;
}

Codeplug WithCounts(std::uint8_t digital, std::uint8_t analog, std::uint32_t scans, std::uint32_t rxGroups)
{
    Codeplug codeplug;
    SetCount(codeplug.DigitalChannelCount, digital);
    SetCount(codeplug.AnalogChannelCount, analog);
    SetCount(codeplug.ScanListCount, scans);
    SetCount(codeplug.RxGroupCount, rxGroups);
    return codeplug;
}

}  // namespace

TEST(NavigationTree, ShapeAndLabelsFollowTheCounts)
{
    const TextCatalogue text = RealTexts(100000);
    Codeplug codeplug = WithCounts(5, 16, 3, 2);
    ExpansionFlags flags;
    const NavNode root = BuildNavigationTree(codeplug, text, flags);

    EXPECT_EQ(root.label, "ZR-740");
    EXPECT_TRUE(root.expanded);
    EXPECT_EQ(ChildKeys(root), (std::vector<int>{1, 36, 2, 33, 28, 29, 7, 17}));
    EXPECT_EQ(ChildKeys(Child(root, 2)), (std::vector<int>{3, 4}));
    EXPECT_EQ(ChildKeys(Child(root, 7)), (std::vector<int>{8, 9, 10}));

    const NavNode& digital = Child(root, 28);
    ASSERT_EQ(digital.children.size(), 5u);
    EXPECT_EQ(digital.children[4].label, "Digital CH 05");
    EXPECT_EQ(digital.children[4].number, 5u);
    EXPECT_EQ(Child(root, 29).children.size(), 16u);
    EXPECT_EQ(Child(root, 29).children[15].label, "Analog CH 16");
    EXPECT_EQ(Child(root, 17).children.size(), 3u);
    EXPECT_EQ(Child(root, 17).children[2].label, "Scan list 3");
    const NavNode& zones = Child(root, 33);
    ASSERT_EQ(zones.children.size(), 2u);
    EXPECT_EQ(zones.children[1].number, 2u);
    const NavNode& rx = Child(Child(root, 7), 10);
    ASSERT_EQ(rx.children.size(), 2u);
    EXPECT_EQ(rx.children[1].label, "RX group 02");
}

TEST(NavigationTree, CountsAreRepairedBeforeListing)
{
    const TextCatalogue text = RealTexts(0);
    ExpansionFlags flags;

    Codeplug zero = WithCounts(0, 0, 0, 0);
    NavNode root = BuildNavigationTree(zero, text, flags);
    EXPECT_EQ(Child(root, 28).children.size(), 1u);
    EXPECT_EQ(Child(root, 29).children.size(), 1u);
    EXPECT_EQ(Child(root, 17).children.size(), 1u);
    EXPECT_EQ(Child(Child(root, 7), 10).children.size(), 1u);
    // The repair is written back into the image.
    EXPECT_EQ(GetCount(zero.DigitalChannelCount), 1u);
    EXPECT_EQ(GetCount(zero.ScanListCount), 1u);
    EXPECT_EQ(GetCount(zero.RxGroupCount), 1u);

    Codeplug over = WithCounts(17, 200, 4, 40);
    root = BuildNavigationTree(over, text, flags);
    EXPECT_EQ(Child(root, 28).children.size(), 1u);
    EXPECT_EQ(Child(root, 29).children.size(), 1u);
    EXPECT_EQ(Child(root, 17).children.size(), 1u);
    // A receive-group count above 32 is not repaired, but the tree lists no more than 32.
    const NavNode& rx = Child(Child(root, 7), 10);
    EXPECT_EQ(rx.children.size(), 32u);
    EXPECT_EQ(rx.children.back().label, "接收组 32");
    EXPECT_EQ(GetCount(over.RxGroupCount), 40u);

    Codeplug full = WithCounts(16, 16, 3, 32);
    root = BuildNavigationTree(full, text, flags);
    EXPECT_EQ(Child(root, 28).children.size(), 16u);
    EXPECT_EQ(Child(root, 17).children.size(), 3u);
}

TEST(NavigationTree, ExpansionFlagsExpandOnceAndAreCleared)
{
    const TextCatalogue text = RealTexts(0);
    Codeplug codeplug = WithCounts(2, 2, 3, 2);
    ExpansionFlags flags;
    flags.scanLists = true;
    flags.rxGroupLists = true;

    NavNode root = BuildNavigationTree(codeplug, text, flags);
    EXPECT_TRUE(Child(root, 17).expanded);
    EXPECT_TRUE(Child(root, 7).expanded);
    EXPECT_TRUE(Child(Child(root, 7), 10).expanded);
    EXPECT_FALSE(Child(root, 28).expanded);
    EXPECT_FALSE(Child(root, 29).expanded);
    EXPECT_FALSE(flags.scanLists || flags.rxGroupLists);

    root = BuildNavigationTree(codeplug, text, flags);
    EXPECT_FALSE(Child(root, 17).expanded);
    EXPECT_FALSE(Child(root, 7).expanded);

    flags.digitalChannels = flags.analogChannels = true;
    root = BuildNavigationTree(codeplug, text, flags);
    EXPECT_TRUE(Child(root, 28).expanded);
    EXPECT_TRUE(Child(root, 29).expanded);
    EXPECT_FALSE(Child(root, 17).expanded);
}

TEST(NavigationClick, NumberedItemsSetIndexAndTitle)
{
    const TextCatalogue text = RealTexts(0);
    NavigationState state;
    const std::string digital = text.GetText("Tree", 28);

    TreeClick click = HandleTreeClick(state, text, digital, "数字信道 05", 5);
    EXPECT_EQ(click.action, TreeClick::Action::OpenForm);
    EXPECT_EQ(click.form, FormKind::DigitalChannel);
    EXPECT_EQ(state.Index(FormKind::DigitalChannel), 4u);
    EXPECT_EQ(state.Title(FormKind::DigitalChannel), "数字信道 05");

    // Without a carried number the number is read from the label's last two characters.
    click = HandleTreeClick(state, text, digital, "数字信道 12");
    EXPECT_EQ(state.Index(FormKind::DigitalChannel), 11u);

    // The analog form shares the channel title but keeps its own index.
    click = HandleTreeClick(state, text, text.GetText("Tree", 29), "模拟信道 03");
    EXPECT_EQ(click.form, FormKind::AnalogChannel);
    EXPECT_EQ(state.Index(FormKind::AnalogChannel), 2u);
    EXPECT_EQ(state.Index(FormKind::DigitalChannel), 11u);
    EXPECT_EQ(state.Title(FormKind::DigitalChannel), "模拟信道 03");

    // Zones and scan lists use the last character only.
    click = HandleTreeClick(state, text, text.GetText("Tree", 33), text.GetText("Tree", 35));
    EXPECT_EQ(click.form, FormKind::Zone);
    EXPECT_EQ(state.Index(FormKind::Zone), 1u);
    click = HandleTreeClick(state, text, text.GetText("Tree", 17), "扫描列表3");
    EXPECT_EQ(click.form, FormKind::Scan);
    EXPECT_EQ(state.Index(FormKind::Scan), 2u);
    EXPECT_EQ(state.Title(FormKind::Scan), "扫描列表3");

    click = HandleTreeClick(state, text, text.GetText("Tree", 10), "接收组 32");
    EXPECT_EQ(click.form, FormKind::DmrRxGrpList);
    EXPECT_EQ(state.Index(FormKind::DmrRxGrpList), 31u);

    // None of these touch the label buffer.
    EXPECT_TRUE(state.labelBuffer.empty());
}

TEST(NavigationClick, PlainItemsStoreTheLabelAndGroupNodesDoNothing)
{
    const TextCatalogue text = RealTexts(100000);
    NavigationState state;
    const auto tree = [&](int key) { return text.GetText("Tree", key); };

    EXPECT_EQ(HandleTreeClick(state, text, tree(0), tree(1)).action, TreeClick::Action::RadioInfo);
    EXPECT_EQ(state.labelBuffer, "Radio info");
    EXPECT_EQ(HandleTreeClick(state, text, tree(2), tree(3)).form, FormKind::Key);
    EXPECT_EQ(HandleTreeClick(state, text, tree(2), tree(4)).form, FormKind::Fun);
    EXPECT_EQ(HandleTreeClick(state, text, tree(7), tree(8)).form, FormKind::Dmr);
    EXPECT_EQ(HandleTreeClick(state, text, tree(7), tree(9)).form, FormKind::DmrContact);
    EXPECT_EQ(state.labelBuffer, "Contacts");
    // The password item matches under any parent.
    EXPECT_EQ(HandleTreeClick(state, text, "anything", tree(36)).form, FormKind::PasswordEC);
    EXPECT_EQ(state.labelBuffer, "Programming password");

    const std::string before = state.labelBuffer;
    for (int group : {0, 2, 7, 10, 17, 28, 29, 33}) {
        const std::string parent = group == 0 ? "" : (group == 10 ? tree(7) : tree(0));
        EXPECT_EQ(HandleTreeClick(state, text, parent, tree(group)).action, TreeClick::Action::None) << group;
    }
    // Radio info under the wrong parent, labels compared case-sensitively.
    EXPECT_EQ(HandleTreeClick(state, text, tree(2), tree(1)).action, TreeClick::Action::None);
    EXPECT_EQ(HandleTreeClick(state, text, tree(7), "contacts").action, TreeClick::Action::None);
    EXPECT_EQ(state.labelBuffer, before);

    // A channel label without a number opens nothing rather than record -1.
    EXPECT_EQ(HandleTreeClick(state, text, tree(28), "Digital CH").action, TreeClick::Action::None);
}

TEST(NavigationClick, NumberFromLabelEnd)
{
    EXPECT_EQ(NumberFromLabelEnd("CH 07", 2), 7u);
    EXPECT_EQ(NumberFromLabelEnd("CH 7", 2), 7u);   // leading space skipped
    EXPECT_EQ(NumberFromLabelEnd("CH16", 2), 16u);
    EXPECT_EQ(NumberFromLabelEnd("区域2", 1), 2u);  // a multi-byte character before the digit
    EXPECT_EQ(NumberFromLabelEnd("信道", 2), 0u);
    EXPECT_EQ(NumberFromLabelEnd("", 2), 0u);
    EXPECT_EQ(NumberFromLabelEnd("7", 2), 7u);
}

TEST(FormTable, TitlesAndCommands)
{
    NavigationState state;
    state.labelBuffer = "写频加密";
    state.Title(FormKind::Scan) = "扫描列表2";
    EXPECT_EQ(state.WindowTitleFor(FormKind::Vox), "VOX");
    EXPECT_EQ(state.WindowTitleFor(FormKind::PasswordEC), "写频加密");
    EXPECT_EQ(state.WindowTitleFor(FormKind::Message), "写频加密");
    EXPECT_EQ(state.WindowTitleFor(FormKind::Scan), "扫描列表2");
    EXPECT_EQ(state.WindowTitleFor(FormKind::Fun), std::nullopt);
    // Before any navigation an indexed form gets an empty title.
    EXPECT_EQ(state.WindowTitleFor(FormKind::DigitalChannel), "");

    EXPECT_EQ(FormForCommand(Cmd::Channel), FormKind::DigitalChannel);
    EXPECT_EQ(FormForCommand(Cmd::AnalogChannel), FormKind::AnalogChannel);
    EXPECT_EQ(FormForCommand(Cmd::TextMessage), FormKind::Message);
    EXPECT_EQ(FormForCommand(0), std::nullopt);
    EXPECT_EQ(FormForCommand(Cmd::FileNew), std::nullopt);
}

TEST(FileRules, SaveAsksForANameOnlyForTheExactDefaultPath)
{
    const std::filesystem::path dir = "/opt/zr740";
    EXPECT_TRUE(SaveNeedsName("/opt/zr740/Default.VNTX", dir));
    EXPECT_FALSE(SaveNeedsName("/opt/zr740/default.vntx", dir));
    EXPECT_FALSE(SaveNeedsName("/opt/zr740/../zr740/Default.VNTX", dir));
    EXPECT_FALSE(SaveNeedsName("/home/u/a.VNTX", dir));
    EXPECT_FALSE(SaveNeedsName("", dir));
}

TEST(FileRules, TitleAndFilters)
{
    EXPECT_EQ(TitleWithFile("ZR-74[0 NV]", "/home/u/a.VNTX"), "ZR-74[0 NV][/home/u/a.VNTX]");
    EXPECT_EQ(TitleWithFile("ZR-74[0 NV]", ""), "ZR-74[0 NV]");

    EXPECT_EQ(FileDialogFilters("Codeplug files (*.VNTX)|*.VNTX|All files (*.*)|*.*||"),
              (std::vector<std::string>{"Codeplug files (*.VNTX)", "All files (*.*)"}));
    EXPECT_EQ(FileDialogFilters("Codeplug|*.VNTX;*.vntx||"), (std::vector<std::string>{"Codeplug (*.VNTX *.vntx)"}));
    // A dangling description and an empty pattern are dropped; nothing at all gives nothing.
    EXPECT_EQ(FileDialogFilters("A|*.a|B||C"), (std::vector<std::string>{"A (*.a)"}));
    EXPECT_EQ(FileDialogFilters("Lonely"), (std::vector<std::string>{}));
    EXPECT_TRUE(FileDialogFilters("").empty());
}

TEST(FileRules, ErrorMessagesNameTheFileAndCause)
{
    const std::string zh = FileErrorMessage(UiLanguage::Chinese, FileStatus::OpenFailed, "/x/a.VNTX", "No such file");
    EXPECT_NE(zh.find("/x/a.VNTX"), std::string::npos);
    EXPECT_NE(zh.find("No such file"), std::string::npos);
    EXPECT_NE(zh.find("打开"), std::string::npos);
    const std::string en = FileErrorMessage(UiLanguage::Other, FileStatus::WriteFailed, "/x/b.VNTX", "");
    EXPECT_NE(en.find("written"), std::string::npos);
    EXPECT_NE(en.find("/x/b.VNTX"), std::string::npos);
}
