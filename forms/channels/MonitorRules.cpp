#include "forms/channels/MonitorRules.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "codeplug/Bytes.h"

namespace F = MonitorField;
namespace C = MonitorCandidateField;

namespace {

std::string ChannelName(unsigned number)
{
    char text[16];
    std::snprintf(text, sizeof text, "CH%02u", number + 1);
    return text;
}

// Frequencies of the candidate table are in units of 10 Hz: the value with a point after its third digit.
std::string TenHertzText(std::uint32_t value)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%02u", value);
    std::string text = digits;
    text.insert(std::min<std::size_t>(3, text.size()), ".");
    return text;
}

bool IsMember(const MonitorMembers& members, std::uint8_t number)
{
    return std::find(members.begin(), members.end(), number) != members.end();
}

}  // namespace

MonitorMembers ReadMonitorMembers(const MonitorSettings& settings)
{
    const std::size_t count = std::min<std::size_t>(settings.bytes[F::MemberCount], F::kMaxMembers);
    return MonitorMembers(settings.bytes.begin() + F::Members, settings.bytes.begin() + F::Members + count);
}

bool IsMonitorCandidate(const MonitorCandidateTable& table, std::size_t record)
{
    if (record >= MonitorCandidateTable::kCapacity)
        return false;
    const auto bytes = table.record(record);
    return GetLE32(bytes, C::RxFrequency) > C::kRxAbove && GetLE32(bytes, C::TxFrequency) < C::kTxBelow;
}

MonitorMembers MonitorCandidates(const MonitorCandidateTable& table, const MonitorMembers& members)
{
    MonitorMembers candidates;
    for (std::size_t r = 0; r < MonitorCandidateTable::kCapacity; ++r) {
        const auto number = static_cast<std::uint8_t>(r);
        if (IsMonitorCandidate(table, r) && !IsMember(members, number))
            candidates.push_back(number);
    }
    return candidates;
}

std::optional<MonitorRow> DescribeMonitorChannel(const MonitorCandidateTable& table, std::uint8_t number)
{
    if (number >= MonitorCandidateTable::kCapacity)
        return std::nullopt;
    const auto bytes = table.record(number);
    MonitorRow row;
    row.channel = ChannelName(number);
    row.secondKind = (bytes[C::Kind] & C::kKindMask) == C::kKindSecond;
    row.rxFrequency = TenHertzText(GetLE32(bytes, C::RxFrequency));
    row.txFrequency = TenHertzText(GetLE32(bytes, C::TxFrequency));
    return row;
}

MemberEdit AddMonitorMember(MonitorMembers& members, const MonitorMembers& candidates, int row)
{
    if (members.size() >= F::kMaxMembers)
        return MemberEdit::ListFull;
    if (row < 0 || static_cast<std::size_t>(row) >= candidates.size())
        return MemberEdit::NoSuchRow;
    members.push_back(candidates[static_cast<std::size_t>(row)]);
    return MemberEdit::Done;
}

MemberEdit RemoveMonitorMember(MonitorMembers& members, int row)
{
    if (members.empty())
        return MemberEdit::WouldBeEmpty;
    if (row < 0 || static_cast<std::size_t>(row) >= members.size())
        return MemberEdit::NoSuchRow;
    members.erase(members.begin() + row);
    return MemberEdit::Done;
}

std::vector<std::string> StandbyReplyChoices(const MonitorMembers& members)
{
    std::vector<std::string> choices{"OFF"};
    for (std::uint8_t number : members)
        choices.push_back(ChannelName(number));
    return choices;
}

int StandbyReplyChoiceOf(const MonitorSettings& settings, const MonitorMembers& members)
{
    const std::uint8_t stored = settings.bytes[F::StandbyReply];
    const auto at = std::find(members.begin(), members.end(), stored);
    return at == members.end() ? 0 : static_cast<int>(at - members.begin()) + 1;
}

std::uint8_t StandbyReplyOfChoice(const std::vector<std::string>& choices, int selected, const MonitorMembers& members)
{
    if (choices.size() < 2 || selected <= 0 || static_cast<std::size_t>(selected) >= choices.size())
        return F::kNone;
    const std::string& text = choices[static_cast<std::size_t>(selected)];
    const std::string tail = text.size() > 2 ? text.substr(text.size() - 2) : text;
    std::size_t i = 0;
    while (i < tail.size() && tail[i] == ' ')
        ++i;
    unsigned n = 0;
    for (; i < tail.size() && std::isdigit(static_cast<unsigned char>(tail[i])) != 0; ++i)
        n = n * 10 + static_cast<unsigned>(tail[i] - '0');
    const auto channel = static_cast<std::uint8_t>(n > F::kMaxMembers ? F::kMaxMembers - 1 : n >= 1 ? n - 1 : 0);
    return IsMember(members, channel) ? channel : F::kNone;
}

void CommitMonitor(MonitorSettings& settings, const MonitorMembers& members, const MonitorControls& controls)
{
    auto& b = settings.bytes;
    std::fill_n(b.begin() + F::Members, F::kMaxMembers, F::kNone);
    b[F::MemberCount] = 0;
    for (std::size_t m = 0; m < std::min(members.size(), F::kMaxMembers); ++m) {
        b[F::Members + m] = members[m];
        ++b[F::MemberCount];
    }
    if (controls.talkHoldTime >= 0)
        b[F::TalkHoldTime] = static_cast<std::uint8_t>(std::min<int>(controls.talkHoldTime, F::kMaxTalkHoldTime));
    if (controls.pttReply >= 0)
        b[F::PttReply] = static_cast<std::uint8_t>(controls.pttReply);
    b[F::Flags] = static_cast<std::uint8_t>(controls.scan ? b[F::Flags] | F::kFlagScan : b[F::Flags] & ~F::kFlagScan);
    b[F::StandbyReply] = StandbyReplyOfChoice(controls.standbyChoices, controls.standbySelected, members);
}
