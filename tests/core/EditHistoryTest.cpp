// Undo steps: what a change is named after, and the history's undo, redo and limits.
#include "tests/core/TestFiles.h"

#include "app/EditHistory.h"
#include "forms/channels/ChannelRules.h"
#include "forms/channels/Encodings.h"
#include "forms/dmr/ContactRules.h"

namespace {

std::unique_ptr<DocumentState> DefaultDocument()
{
    auto state = std::make_unique<DocumentState>();
    EXPECT_TRUE(LoadCodeplugFile(state->codeplug, testfiles::kDefaultFile).ok());
    return state;
}

TextCatalogue EnglishTexts()
{
    TextCatalogue text;
    text.SetKeyBase(100000);
    text.LoadFile(std::filesystem::path(ZR740_SOURCE_DIR) / "data" / "Txt.ini");
    return text;
}

}  // namespace

TEST(EditHistory, ChangesAreNamedAfterWhatTheyDid)
{
    struct Row {
        const char* what;
        std::function<void(DocumentState&)> change;
        std::string english;
    };
    const auto rename = [](Codeplug& c, std::size_t channel, const char* name) {
        auto r = c.DigitalChannelTable.record(channel);
        r[1] = EncodeAlias(name, r.subspan(2, 36));
    };
    using D = DocumentState&;
    const Row rows[] = {
        {"alias", [&](D d) { rename(d.codeplug, 2, "Depot"); }, "rename Digital CH 03"},
        {"receive frequency", [](D d) { d.codeplug.DigitalChannelTable.record(0)[55] ^= 0x10; }, "change Digital CH 01"},
        {"two channels", [&](D d) { rename(d.codeplug, 0, "A"), rename(d.codeplug, 1, "B"); }, "change Digital channels"},
        // The zones and scan lists renumber their members: still one delete.
        {"delete", [](D d) { ASSERT_TRUE(DeleteChannel(d.codeplug, ChannelKind::Analog, 1)); }, "delete Analog CH 02"},
        {"delete last", [](D d) { ASSERT_TRUE(DeleteChannel(d.codeplug, ChannelKind::Digital, 5)); }, "delete Digital CH 06"},
        {"add", [](D d) { ASSERT_TRUE(contacts::Add(d.codeplug, "New")); }, "add Contact 7"},
        {"settings", [](D d) { d.codeplug.RadioSettings[10] ^= 1; }, "change General settings"},
        {"two places", [&](D d) { rename(d.codeplug, 0, "A"), d.codeplug.RadioSettings[10] ^= 1; }, "several changes"},
        {"vox", [](D d) { d.vox.level = 3; }, "change VOX"},
        {"monitor", [](D d) { d.monitor.settings.bytes[2] = 1; }, "change Monitor channels"},
        {"alarm added", [](D d) { emergency::AddSystem(d.alarms.digital); }, "add Digital emergency alarm system 1"},
        {"alarm and vox", [](D d) { emergency::AddSystem(d.alarms.analog), d.vox.level = 1; }, "several changes"},
    };
    const TextCatalogue text = EnglishTexts();
    const auto before = DefaultDocument();
    ASSERT_EQ(GetCount(before->codeplug.DigitalChannelCount), 6u) << "the default file changed: adjust the rows";
    ASSERT_EQ(GetCount(before->codeplug.ContactCount), 6u);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        auto after = std::make_unique<DocumentState>(*before);
        row.change(*after);
        EXPECT_EQ(ChangeText(NameChange(*before, *after), text), row.english);
    }
    EXPECT_EQ(ChangeText({EditKey::Import, 0, 0, "fleet.json"}, text), "import fleet.json");
}

TEST(EditHistory, UndoRedoWalkTheStepsAndANewStepDropsTheRedo)
{
    const auto start = DefaultDocument();
    EditHistory history;
    history.Reset(*start);
    EXPECT_FALSE(history.Undo());
    std::vector<DocumentState> states{*start};
    for (std::uint8_t level = 1; level <= 3; ++level) {
        states.push_back(states.back());
        states.back().vox.level = level;
        history.Record(states.back(), {EditKey::Change, 44, level, {}});
    }
    ASSERT_TRUE(history.CanUndo());
    EXPECT_EQ(history.UndoName()->number, 3u);
    EXPECT_TRUE(*history.Undo() == states[2] && *history.Undo() == states[1]);
    EXPECT_EQ(history.RedoName()->number, 2u);
    EXPECT_TRUE(*history.Redo() == states[2] && history.UndoName()->number == 2u);

    states[0].vox.level = 9;  // a new change after an undo: the redo is gone
    history.Record(states[0], {});
    EXPECT_TRUE(!history.CanRedo() && history.Current() == states[0] && *history.Undo() == states[2]);

    history.Reset(*start);
    EXPECT_FALSE(history.CanUndo() || history.CanRedo());
}

TEST(EditHistory, KeepsTheNewest200Steps)
{
    EditHistory history;
    auto state = DefaultDocument();
    history.Reset(*state);
    for (int i = 1; i <= 250; ++i) {
        state->codeplug.RadioSettings[20] = static_cast<std::uint8_t>(i);
        history.Record(*state, {});
    }
    EXPECT_EQ(history.UndoSteps(), 200u);
    std::optional<DocumentState> oldest;
    while (auto previous = history.Undo())
        oldest = previous;
    ASSERT_TRUE(oldest);
    EXPECT_EQ(oldest->codeplug.RadioSettings[20], 50);
}
