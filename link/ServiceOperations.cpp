#include "link/ServiceOperations.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/SystemSettings.h"
#include "link/CDialog_MSComm.h"

namespace service {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Four = std::array<std::uint8_t, 4>;

constexpr int kSettleMs = 10;           // after opening the port
constexpr int kBeforeKeySetMs = 100;    // between the password write and the key command
constexpr std::size_t kPasswordBlockBytes = 32;
constexpr std::size_t kPasswordWriteBytes = 16;
constexpr Four kKeySetParam = {0x00, 0xFF, 0xFF, 0xFF};
constexpr std::uint8_t kCommitCommand = 0x07;

// Closes the port when the exchange ends, whichever way.
struct PortSession {
    explicit PortSession(CDialog_MSComm& l) : link(l)
    {
        link.OpenPort();
        link.clock().SleepMs(kSettleMs);
        link.ProbeEcho();
    }
    ~PortSession() { link.ClosePort(); }
    CDialog_MSComm& link;
};

Bytes PasswordBlock(const std::string& text, std::uint8_t fill = 0)
{
    Bytes block(kPasswordBlockBytes, fill);
    std::copy_n(text.begin(), std::min(text.size(), block.size()), block.begin());
    return block;
}

}  // namespace

// ---------------------------------------------------------------- radio password

std::optional<std::uint8_t> CheckRadioPassword(CDialog_MSComm& link, bool ticked)
{
    PortSession port(link);
    if (!ticked)
        return std::nullopt;
    std::array<std::uint8_t, 18> answer{};
    if (link.IdentifyAlt(answer) != LinkResult::Ok)
        return std::nullopt;
    return answer[1];
}

PasswordFields FieldsForState(std::optional<std::uint8_t> state)
{
    if (!state || *state > 3)
        return PasswordFields::Untick;
    if (*state == 0)
        return PasswordFields::NewOnly;
    if (*state == 3)
        return PasswordFields::CloseDialog;
    return PasswordFields::OldAndNew;
}

std::string Trimmed(const std::string& text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    const auto last = std::find_if_not(text.rbegin(), std::make_reverse_iterator(first), blank).base();
    return std::string(first, last);
}

bool PasswordEntriesValid(const PasswordRequest& r)
{
    if (r.clear)
        return !Trimmed(r.oldPassword).empty();
    const std::string fresh = Trimmed(r.newPassword);
    return !fresh.empty() && fresh == Trimmed(r.repeat);
}

PasswordOutcome ChangeRadioPassword(CDialog_MSComm& link, const PasswordRequest& request)
{
    link.clock().SleepMs(kSettleMs);
    PortSession port(link);
    if (!request.enabled)
        return PasswordOutcome::NotEnabled;

    std::array<std::uint8_t, 18> identity{};
    const int state = link.IdentifyEx(identity);
    if (state == LinkResult::NoAnswer)
        return PasswordOutcome::Failed;
    if (!PasswordEntriesValid(request))
        return PasswordOutcome::InputError;
    const std::string oldPassword = Trimmed(request.oldPassword);
    const std::string newPassword = Trimmed(request.newPassword);

    switch (state) {
    case 0: {
        // No password yet: write the new one, then the key command.
        const Bytes block = PasswordBlock(newPassword);
        if (link.ServiceWriteFixed(std::span(block).first(kPasswordWriteBytes)) != LinkResult::Ok)
            return PasswordOutcome::Failed;
        link.clock().SleepMs(kBeforeKeySetMs);
        return link.KeySet(kKeySetParam) == LinkResult::Ok ? PasswordOutcome::Done : PasswordOutcome::Failed;
    }
    case 2: {
        // A password is set: the old one opens the store, then the new one or the clearing block.
        const Bytes old = PasswordBlock(oldPassword);
        if (link.SendPair(std::span<const std::uint8_t, 16>(old.data(), 16)) != LinkResult::Ok)
            return PasswordOutcome::Failed;
        const Bytes block = request.clear ? Bytes(kPasswordBlockBytes, 0xFF) : PasswordBlock(newPassword);
        const std::size_t count = request.clear ? kPasswordBlockBytes : kPasswordWriteBytes;
        const int written = link.ServiceWriteFixed(std::span(block).first(count));
        std::array<std::uint8_t, 4> ignored{};
        link.DebugCommand(kCommitCommand, Four{0x02, 0x11, block[2], block[3]}, ignored);
        return written == LinkResult::Ok ? PasswordOutcome::Done : PasswordOutcome::Failed;
    }
    case 1:
    case 3:
        return PasswordOutcome::Done;
    default:
        return PasswordOutcome::StateUnknown;
    }
}

// ---------------------------------------------------------------- adjustment values

bool AdjustValuesInRange(const AdjustValues& v)
{
    const auto byte = [](int x) { return x >= 0 && x <= 0xFF; };
    const auto word = [](int x) { return x >= 0 && x <= 0xFFFF; };
    return byte(v.qt) && byte(v.dqt) && word(v.slotOffset) && word(v.slotLength) && byte(v.vox0) && byte(v.vox1) &&
           byte(v.vox9);
}

bool VoxSpacingOk(int vox1, int vox9) { return vox1 < vox9 && vox9 - vox1 >= 10; }

std::array<std::uint8_t, 10> VoxTable(int vox0, int vox1, int vox9)
{
    const int step = (vox9 - vox1) / 9;
    std::array<std::uint8_t, 10> table{};
    table[0] = static_cast<std::uint8_t>(vox0);
    table[1] = static_cast<std::uint8_t>(vox1);
    for (int k = 1; k <= 7; ++k)
        table[static_cast<std::size_t>(k) + 1] = static_cast<std::uint8_t>(vox1 + k * step);
    table[9] = static_cast<std::uint8_t>(vox9);
    return table;
}

bool FirmwareNewEnough(std::span<const std::uint8_t, 4> firmware)
{
    char text[9];
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X", firmware[0], firmware[1], firmware[2], firmware[3]);
    // Each part read as a decimal number: its leading digits (a hex letter ends it).
    const auto number = [&](std::size_t from, std::size_t count) {
        int value = 0;
        for (std::size_t i = from; i < from + count && text[i] >= '0' && text[i] <= '9'; ++i)
            value = value * 10 + (text[i] - '0');
        return value;
    };
    return number(0, 1) >= 1 || number(1, 2) >= 4;
}

namespace {

enum class GroupKind { Tone, Slot, Vox };
struct Group {
    std::uint8_t id;
    GroupKind kind;
};
constexpr Group kGroups[] = {
    {0x06, GroupKind::Tone},  // QT
    {0x04, GroupKind::Tone},  // DQT
    {0x34, GroupKind::Slot},  // slot offset
    {0x35, GroupKind::Slot},  // slot length
    {0x19, GroupKind::Vox},
};
constexpr std::size_t kToneBytes = 8;
constexpr std::size_t kSlotBytes = 16;  // words 0..7
constexpr std::size_t kVoxBytes = 10;

int GroupValue(std::size_t index, const AdjustValues& v)
{
    switch (index) {
    case 0: return v.qt;
    case 1: return v.dqt;
    case 2: return v.slotOffset;
    case 3: return v.slotLength;
    default: return 0;
    }
}

// Locates, reads, modifies and writes one group. 0 or the failing result.
int RewriteGroup(CDialog_MSComm& link, std::size_t index, const AdjustValues& v)
{
    const Group& group = kGroups[index];
    std::array<std::uint8_t, 5> locator{0, 0, 0, 0, 0xFF};
    if (const int r = link.DebugQuery(Four{0x1D, group.id, 0x00, 0x00}, locator); r != LinkResult::Ok)
        return r;
    const auto address = static_cast<std::uint16_t>(locator[0] | locator[1] << 8);
    const std::size_t size = static_cast<std::size_t>(locator[2] | locator[3] << 8);
    const std::size_t total = group.kind == GroupKind::Tone ? kToneBytes : size * locator[4];
    const std::size_t needed = group.kind == GroupKind::Slot ? kSlotBytes : group.kind == GroupKind::Vox ? kVoxBytes : kToneBytes;
    if (total > 0xFFFF || (total != 0 && total < needed))
        return LinkResult::ServiceDataError;  // a group the values cannot be put into

    Bytes data(total);
    if (const int r = link.ServiceRead(address, static_cast<std::uint16_t>(total), data); r != LinkResult::Ok)
        return r;
    switch (group.kind) {
    case GroupKind::Tone:
        std::fill_n(data.begin(), 5, static_cast<std::uint8_t>(GroupValue(index, v)));
        std::fill_n(data.begin() + 5, 3, 0xFF);
        break;
    case GroupKind::Slot: {
        const auto value = static_cast<std::uint16_t>(GroupValue(index, v));
        for (std::size_t word = 0; word < 8; ++word) {
            const std::uint16_t w = (word == 5 || word == 6) ? 0xFFFF : value;
            data[2 * word] = static_cast<std::uint8_t>(w);
            data[2 * word + 1] = static_cast<std::uint8_t>(w >> 8);
        }
        break;
    }
    case GroupKind::Vox: {
        const auto table = VoxTable(v.vox0, v.vox1, v.vox9);
        std::copy(table.begin(), table.end(), data.begin());
        break;
    }
    }
    return link.ServiceWrite(address, data);
}

}  // namespace

int WriteAdjustValues(CDialog_MSComm& link, const AdjustValues& values)
{
    PortSession port(link);
    if (!VoxSpacingOk(values.vox1, values.vox9))
        return adjust::kVoxTooClose;

    // The radio must report this model: "ZR-740" and zeros, followed by its firmware bytes.
    std::array<std::uint8_t, 16> answer{};
    std::size_t answered = 0;
    const Four param = {ModelIdentity[0], ModelIdentity[1], ModelIdentity[2], ModelIdentity[3]};
    if (const int r = link.KeyQuery(param, answer, &answered); r != LinkResult::Ok)
        return r;
    if (answered < ModelIdentity.size() || !std::equal(ModelIdentity.begin(), ModelIdentity.end(), answer.begin()))
        return adjust::kForeignRadio;
    if (answered < answer.size() || !FirmwareNewEnough(std::span<const std::uint8_t, 4>(answer.data() + 12, 4)))
        return adjust::kFirmwareTooOld;

    for (std::size_t i = 0; i < std::size(kGroups); ++i)
        if (const int r = RewriteGroup(link, i, values); r != LinkResult::Ok)
            return r;
    return adjust::kOk;
}

int AdjustMessageKey(int result)
{
    switch (result) {
    case adjust::kOk: return 22;
    case adjust::kVoxTooClose: return 26;
    case adjust::kFirmwareTooOld: return 82;
    case adjust::kForeignRadio: return 81;
    default: return 15;
    }
}

}  // namespace service
