#include "app/Navigation.h"

#include <algorithm>
#include <utility>

#include "forms/channels/ChannelRules.h"
#include "forms/channels/MemberRules.h"
#include "forms/dmr/RxGroupRules.h"

namespace {

NavNode Item(const TextCatalogue& text, int key)
{
    NavNode node;
    node.label = text.GetText("Tree", key);
    node.textKey = key;
    return node;
}

void Append(NavNode& parent, NavNode child) { parent.children.push_back(std::move(child)); }

void AppendNumbered(NavNode& parent, const TextCatalogue& text, int patternKey, std::uint32_t count)
{
    const std::string pattern = text.GetText("Tree", patternKey);
    for (std::uint32_t n = 1; n <= count; ++n) {
        NavNode node;
        node.label = FormatNumbered(pattern, static_cast<int>(n));
        node.textKey = patternKey;
        node.number = n;
        parent.children.push_back(std::move(node));
    }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

NavNode BuildNavigationTree(Codeplug& codeplug, const TextCatalogue& text, ExpansionFlags& flags)
{
    RepairTreeCounts(codeplug);

    // Each group is complete before it joins its parent.
    NavNode functions = Item(text, TreeKey::Functions);
    Append(functions, Item(text, TreeKey::Keys));
    Append(functions, Item(text, TreeKey::GeneralFunctions));

    NavNode zones = Item(text, TreeKey::Zones);
    for (const auto& [key, number] : {std::pair{TreeKey::Zone1, 1u}, std::pair{TreeKey::Zone2, 2u}}) {
        NavNode zone = Item(text, key);
        zone.number = number;
        Append(zones, std::move(zone));
    }

    NavNode digital = Item(text, TreeKey::DigitalChannels);
    AppendNumbered(digital, text, TreeKey::DigitalChannelItem, GetCount(codeplug.DigitalChannelCount));
    digital.expanded = flags.digitalChannels;

    NavNode analog = Item(text, TreeKey::AnalogChannels);
    AppendNumbered(analog, text, TreeKey::AnalogChannelItem, GetCount(codeplug.AnalogChannelCount));
    analog.expanded = flags.analogChannels;

    NavNode rxGroups = Item(text, TreeKey::RxGroupLists);
    AppendNumbered(rxGroups, text, TreeKey::RxGroupItem, std::min(GetCount(codeplug.RxGroupCount), kMaxTreeRxGroups));
    rxGroups.expanded = flags.rxGroupLists;
    NavNode dmr = Item(text, TreeKey::Dmr);
    Append(dmr, Item(text, TreeKey::DmrBasic));
    Append(dmr, Item(text, TreeKey::Contacts));
    Append(dmr, std::move(rxGroups));
    dmr.expanded = flags.rxGroupLists;

    NavNode scans = Item(text, TreeKey::ScanLists);
    AppendNumbered(scans, text, TreeKey::ScanListItem, GetCount(codeplug.ScanListCount));
    scans.expanded = flags.scanLists;

    flags.Clear();

    NavNode root = Item(text, TreeKey::Root);
    Append(root, Item(text, TreeKey::RadioInfo));
    Append(root, Item(text, TreeKey::ProgrammingPassword));
    Append(root, std::move(functions));
    Append(root, std::move(zones));
    Append(root, std::move(digital));
    Append(root, std::move(analog));
    Append(root, std::move(dmr));
    Append(root, std::move(scans));
    root.expanded = true;
    return root;
}

std::uint32_t NumberFromLabelEnd(std::string_view label, std::size_t chars)
{
    // Step back over `chars` code points.
    std::size_t start = label.size();
    for (std::size_t taken = 0; taken < chars && start > 0; ++taken) {
        --start;
        while (start > 0 && (static_cast<unsigned char>(label[start]) & 0xC0) == 0x80)
            --start;
    }
    std::string_view tail = label.substr(start);
    while (!tail.empty() && tail.front() == ' ')
        tail.remove_prefix(1);
    std::uint32_t value = 0;
    for (char c : tail) {
        if (!IsDigit(c))
            break;
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
    }
    return value;
}

TreeClick HandleTreeClick(NavigationState& state, const TextCatalogue& text, std::string_view parentLabel,
                          std::string_view label, std::uint32_t number)
{
    const auto tree = [&](int key) { return text.GetText("Tree", key); };
    const auto open = [](FormKind form) { return TreeClick{TreeClick::Action::OpenForm, form}; };

    // A plain rule: the label goes into the label buffer before the action.
    const auto plain = [&](TreeClick click) {
        state.labelBuffer = std::string(label);
        return click;
    };
    // A numbered rule: the form's index is n - 1 and the label becomes its window title.
    const auto numbered = [&](FormKind form, std::size_t digits) {
        const std::uint32_t n = number != 0 ? number : NumberFromLabelEnd(label, digits);
        if (n == 0)
            return TreeClick{};
        state.Index(form) = n - 1;
        state.Title(form) = std::string(label);
        return open(form);
    };

    if (parentLabel == tree(TreeKey::Root) && label == tree(TreeKey::RadioInfo))
        return plain({TreeClick::Action::RadioInfo, FormKind::Fun});
    if (parentLabel == tree(TreeKey::Functions) && label == tree(TreeKey::Keys))
        return plain(open(FormKind::Key));
    if (parentLabel == tree(TreeKey::Functions) && label == tree(TreeKey::GeneralFunctions))
        return plain(open(FormKind::Fun));
    if (parentLabel == tree(TreeKey::DigitalChannels))
        return numbered(FormKind::DigitalChannel, 2);
    if (parentLabel == tree(TreeKey::AnalogChannels))
        return numbered(FormKind::AnalogChannel, 2);
    if (parentLabel == tree(TreeKey::Zones))
        return numbered(FormKind::Zone, 1);
    if (parentLabel == tree(TreeKey::ScanLists))
        return numbered(FormKind::Scan, 1);
    if (parentLabel == tree(TreeKey::Dmr) && label == tree(TreeKey::DmrBasic))
        return plain(open(FormKind::Dmr));
    if (parentLabel == tree(TreeKey::Dmr) && label == tree(TreeKey::Contacts))
        return plain(open(FormKind::DmrContact));
    if (parentLabel == tree(TreeKey::RxGroupLists))
        return numbered(FormKind::DmrRxGrpList, 2);
    if (label == tree(TreeKey::ProgrammingPassword))
        return plain(open(FormKind::PasswordEC));
    return {};
}

std::optional<std::uint32_t> RecordsFor(FormKind kind, const Codeplug& codeplug, const emergency::AlarmTables& alarms)
{
    const auto atLeastOne = [](std::size_t n) { return static_cast<std::uint32_t>(std::max<std::size_t>(n, 1)); };
    switch (kind) {
    case FormKind::DigitalChannel: return atLeastOne(ChannelCount(codeplug, ChannelKind::Digital));
    case FormKind::AnalogChannel: return atLeastOne(ChannelCount(codeplug, ChannelKind::Analog));
    case FormKind::Zone: return atLeastOne(codeplug.ZoneTable.kCapacity);
    case FormKind::Scan: return atLeastOne(ScanListsInUse(codeplug));
    case FormKind::DmrRxGrpList: return atLeastOne(rxgroups::Count(codeplug));
    case FormKind::DigitalEmergAlarm: return atLeastOne(emergency::SystemsInUse(alarms.digital));
    case FormKind::AnalogEmergAlarm: return atLeastOne(emergency::SystemsInUse(alarms.analog));
    default: return std::nullopt;
    }
}

std::optional<std::pair<FormKind, std::uint32_t>> FormForRecord(std::string_view section, std::size_t record,
                                                                std::string_view field)
{
    struct Shown {
        std::string_view section;
        FormKind form;
        bool indexed;
    };
    static constexpr Shown kShown[] = {
        {"analogChannels", FormKind::AnalogChannel, true}, {"digitalChannels", FormKind::DigitalChannel, true},
        {"zones", FormKind::Zone, true}, {"scanLists", FormKind::Scan, true},
        {"rxGroupLists", FormKind::DmrRxGrpList, true}, {"contacts", FormKind::DmrContact, false},
        {"messages", FormKind::Message, false}, {"dmrSettings", FormKind::Dmr, false},
        {"password", FormKind::PasswordEC, false}, {"functionExtra", FormKind::Fun, false},
        {"radioSettings", FormKind::Fun, false},
    };
    for (const Shown& s : kShown) {
        if (s.section != section)
            continue;
        const bool keys = field.starts_with("oneTouch") || field.starts_with("k1") || field.starts_with("k2") ||
                          field.starts_with("k3") || field == "longPressTime";
        const FormKind form = s.form == FormKind::Fun && keys ? FormKind::Key : s.form;
        // A finding about a whole table names no record: its first one shows it.
        const std::uint32_t index = s.indexed && record <= 0xFFFF ? static_cast<std::uint32_t>(record) : 0;
        return std::make_pair(form, index);
    }
    return std::nullopt;
}

std::optional<std::string> ItemLabelFor(FormKind kind, std::uint32_t index, const TextCatalogue& text)
{
    int pattern = 0;
    switch (kind) {
    case FormKind::DigitalChannel: pattern = TreeKey::DigitalChannelItem; break;
    case FormKind::AnalogChannel: pattern = TreeKey::AnalogChannelItem; break;
    case FormKind::DmrRxGrpList: pattern = TreeKey::RxGroupItem; break;
    default: return std::nullopt;
    }
    return FormatNumbered(text.GetText("Tree", pattern), static_cast<int>(index) + 1);
}
