#pragma once
// The monitor (standby) channels: up to 16 members drawn from the candidate channels, with the
// talk hold time, the PTT reply channel, the standby PTT reply channel and the scan flag.
//
// The program keeps these settings in memory for its run only (MonitorMemory lives in the
// AppContext and outlives the form's window): no file or transfer carries them, and nothing
// fills the candidate table, so in the program the candidate list is empty.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "codeplug/Codeplug.h"
#include "codeplug/Records.h"
#include "codeplug/RunMemory.h"
#include "forms/channels/MemberRules.h"

using MonitorMembers = std::vector<std::uint8_t>;  // 0-based channel numbers

// The first member-count bytes (at most 16).
MonitorMembers ReadMonitorMembers(const MonitorSettings& settings);

// A record is a candidate when its receive value is above 136 MHz and its transmit value below
// 512 MHz. The candidates are the record numbers of such records that are not members.
bool IsMonitorCandidate(const MonitorCandidateTable& table, std::size_t record);
MonitorMembers MonitorCandidates(const MonitorCandidateTable& table, const MonitorMembers& members);

// What a grid row shows of a channel: "CH%02d" of number + 1, whether its kind is the one shown
// with the second kind text, and the two frequencies as text. nullopt past the table.
struct MonitorRow {
    std::string channel;
    bool secondKind = false;
    std::string rxFrequency;
    std::string txFrequency;
};
std::optional<MonitorRow> DescribeMonitorChannel(const MonitorCandidateTable& table, std::uint8_t number);

// 16 members refuse an add; no members refuse a remove (ListFull / WouldBeEmpty).
MemberEdit AddMonitorMember(MonitorMembers& members, const MonitorMembers& candidates, int row);
MemberEdit RemoveMonitorMember(MonitorMembers& members, int row);

// "OFF" followed by each member as "CH%02d" of its number + 1.
std::vector<std::string> StandbyReplyChoices(const MonitorMembers& members);
// The entry that shows the stored standby reply channel: 0 ("OFF") unless it names a member.
int StandbyReplyChoiceOf(const MonitorSettings& settings, const MonitorMembers& members);
// The channel a selected entry stores: 0xFF for "OFF", no selection or a list without members;
// otherwise the number read from the entry's last two characters (above 16 gives 15, 1-16 give
// n - 1, 0 gives 0), stored only if it is a member.
std::uint8_t StandbyReplyOfChoice(const std::vector<std::string>& choices, int selected,
                                  const MonitorMembers& members);

struct MonitorControls {
    int talkHoldTime = -1;  // choice positions; -1 (nothing selected) keeps the stored byte
    int pttReply = -1;
    bool scan = false;
    std::vector<std::string> standbyChoices;
    int standbySelected = -1;
};

// Writes the members (0xFF past the count), then the controls.
void CommitMonitor(MonitorSettings& settings, const MonitorMembers& members, const MonitorControls& controls);
