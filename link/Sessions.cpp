#include "link/Sessions.h"

#include <algorithm>
#include <array>
#include <exception>
#include <memory>

#include "codeplug/Records.h"
#include "link/WireOrder.h"

namespace {

using namespace session;

// A failing step: the worker stops and its one handler turns the result into a status.
struct Failure {
    int result;
};

[[noreturn]] void Fail(int result) { throw Failure{result}; }

constexpr int kAnalogRecordPauseMs = 100;
// The longest reply each session waits for: the RadioSettings record of a read (227 bytes and
// the frame), the information record a write reads back (30 bytes and the frame).
constexpr std::size_t kLongestReadReply = 227 + 10;
constexpr std::size_t kLongestWriteReply = 30 + 10;

// A failed record transfer: damaged replies keep their own result, anything else is 513.
int RecordFailure(int result)
{
    return result == LinkResult::DamagedReply ? LinkResult::DamagedReply : LinkResult::BadReply;
}



// A session command that did not answer as it should.
int SessionFailure(int result) { return RecordFailure(result); }

class Attempt {
public:
    explicit Attempt(SessionContext& context) : c_(context), link_(context.link), state_(context.state) {}

    void Count()
    {
        // Before each exchange: a radio whose replies trickle in too slowly to finish is given up.
        if (link_.TooSlow())
            Fail(LinkResult::TooSlow);
        if (c_.exchanges)
            c_.exchanges->fetch_add(1, std::memory_order_relaxed);
        state_.RecordsDone.fetch_add(1, std::memory_order_relaxed);
    }

    // The attempt will make `total` exchanges at most, counted from its start.
    void Plan(int total) { state_.RecordsTotal = total; }
    // `n` exchanges the plan counted will not be made after all.
    void Skip(int n) { state_.RecordsTotal.fetch_sub(n, std::memory_order_relaxed); }

    // ReadRecord into dest, converted to memory order. True when a record came, false for
    // "no such record" (dest untouched); anything else fails with 513, or 515 for replies that
    // kept arriving damaged.
    bool Read(std::uint8_t code, std::size_t index, std::span<std::uint8_t> dest)
    {
        Count();
        const int result = link_.ReadRecord(code, static_cast<std::uint8_t>(index), dest);
        if (result == LinkResult::Negative)
            return false;
        if (result != LinkResult::Ok)
            Fail(RecordFailure(result));
        wire_order::ToMemory(code, dest);
        return true;
    }

    // Reads records 0.. until the radio answers "no such record" or the table is full, and
    // returns how many came.
    template <std::size_t R, std::size_t C>
    std::uint32_t ReadTable(std::uint8_t code, RecordTable<R, C>& table)
    {
        std::uint32_t received = 0;
        for (std::size_t i = 0; i < C; ++i) {
            if (!Read(code, i, table.record(i)))
                break;
            ++received;
        }
        // The plan counted the whole table; a short one ends with its "no such record".
        if (received < C)
            Skip(static_cast<int>(C - received - 1));
        return received;
    }

    // Sends a copy of the record in wire order; the image is never converted in place.
    void Write(std::uint8_t code, std::size_t index, std::span<const std::uint8_t> record)
    {
        std::array<std::uint8_t, 256> wire{};
        const std::span<std::uint8_t> copy(wire.data(), std::min(record.size(), wire.size()));
        std::copy_n(record.begin(), copy.size(), copy.begin());
        wire_order::ToWire(code, copy);
        Count();
        if (const int result = link_.WriteRecord(code, static_cast<std::uint8_t>(index), copy); result != LinkResult::Ok)
            Fail(RecordFailure(result));
    }

    template <std::size_t R, std::size_t C>
    void WriteTable(std::uint8_t code, const RecordTable<R, C>& table, std::uint32_t count, int pauseMs = 0)
    {
        // A count from a file may exceed the table: at most the table's capacity is sent.
        for (std::size_t i = 0; i < UsedRecords(count, table); ++i) {
            if (pauseMs > 0)
                link_.clock().SleepMs(pauseMs);
            Write(code, i, table.record(i));
        }
    }

    // A session operation whose non-zero result fails with that result.
    void Require(int result)
    {
        Count();
        if (result != LinkResult::Ok)
            Fail(result);
    }

    // The password exchange of a protected radio on the first attempt: the radio's password
    // record, then the entry as it is (eight bytes 00 when nothing was typed).
    void SubmitFirst(Direction direction, std::atomic<std::int32_t>& pending)
    {
        Count();
        if (const int result = link_.ReadRecord(block_code::Password, 0, state_.RadioPasswordCopy);
            result != LinkResult::Ok && result != LinkResult::Negative)
            Fail(RecordFailure(result));
        state_.PasswordRecord = MakePasswordRecord(state_.PasswordEntry, direction);
        Submit(pending);
    }

    // The retry: a typed password that differs from the radio's is refused without an exchange.
    void SubmitRetry(Direction direction, std::atomic<std::int32_t>& pending)
    {
        state_.PasswordRecord = MakePasswordRecord(state_.PasswordEntry, direction);
        if (!PasswordMatchesRadio(state_.PasswordEntry, state_.RadioPasswordCopy)) {
            pending = 1;
            Fail(LinkResult::PasswordError);
        }
        Submit(pending);
    }

    void Finish(std::uint32_t doneStatus)
    {
        state_.Repeats = link_.Repeats();
        link_.ClosePort();
        state_.TransferBusy = 0;
        state_.TransferStatus = doneStatus;
    }

    // The one failure handler. A wanted password leaves the port and the radio's session open
    // for the retry; anything else closes the port. No close command is sent after a failure.
    void Failed(int result)
    {
        state_.Repeats = link_.Repeats();
        if (result != LinkResult::PasswordError)
            link_.ClosePort();
        state_.TransferBusy = 0;
        state_.TransferStatus = StatusForFailure(result);
    }

private:
    void Submit(std::atomic<std::int32_t>& pending)
    {
        Count();
        const int answer = link_.SubmitPassword(state_.PasswordRecord);
        if (answer == LinkResult::Negative) {
            pending = 1;
            Fail(LinkResult::PasswordError);
        }
        if (answer == LinkResult::BadReply || answer == LinkResult::DamagedReply)
            Fail(answer);
        // Any other answer counts as accepted.
    }

    SessionContext& c_;
    CDialog_MSComm& link_;
    TransferState& state_;
};

template <typename Body>
void RunAttempt(SessionContext& context, Body body)
{
    Attempt attempt(context);
    if (context.exchanges)
        context.exchanges->store(0);
    context.state.RecordsDone = 0;
    try {
        body(attempt);
    } catch (const Failure& failure) {
        attempt.Failed(failure.result);
    } catch (const std::exception&) {
        // A bounds check tripped by data that cannot be right: treat it as a failed exchange.
        attempt.Failed(LinkResult::BadReply);
    }
}

}  // namespace

int MaxReadExchanges()
{
    // device info, open, password record + submit, 16 + 16 channels, info, 2 zones, 3 scan
    // lists, settings, password, identity, E2, DMR, 64 contacts, 32 groups, 3 messages,
    // two extended reads, close.
    return 1 + 1 + 2 + 16 + 16 + 1 + 2 + 3 + 1 + 1 + 1 + 1 + 1 + 64 + 32 + 3 + 2 + 1;
}

// The exchanges of a write attempt with the records of this image: open and the password
// exchange (or, on the retry, the password alone), the information read back, begin, every
// record, the two extended writes and close.
int PlannedWriteExchanges(const Codeplug& image, bool firstAttempt)
{
    const auto used = [](std::uint32_t count, const auto& table) { return static_cast<int>(UsedRecords(count, table)); };
    const int records = used(GetCount(image.DigitalChannelCount), image.DigitalChannelTable) +
                        used(GetCount(image.AnalogChannelCount), image.AnalogChannelTable) + 1 +
                        static_cast<int>(image.ZoneTable.kCapacity) +
                        used(GetCount(image.ScanListCount), image.ScanTable) + 4 +
                        used(GetCount(image.ContactCount), image.ContactTable) +
                        used(GetCount(image.RxGroupCount), image.RxGroupTable) +
                        used(MessagesToWrite(image), image.MessageTable) + 1;
    return (firstAttempt ? 3 : 1) + 1 + 1 + records + 2 + 1;
}

int MaxWriteExchanges()
{
    // open, password record + submit, info read back, begin, the records, two extended
    // writes, close.
    return 1 + 2 + 1 + 1 + 16 + 16 + 1 + 2 + 3 + 1 + 1 + 1 + 1 + 64 + 32 + 3 + 1 + 2 + 1;
}

void ReadWorker(SessionContext& context)
{
    TransferState& state = context.state;
    CDialog_MSComm& link = context.link;
    link.SetLongestReply(kLongestReadReply);
    RunAttempt(context, [&](Attempt& a) {
        // The plan: a full read of every table, with the password exchange; a retry starts at
        // the password (no device information, no open, no password record).
        a.Plan(MaxReadExchanges() - (state.ReadPasswordPending == 0 ? 0 : 3));
        if (state.ReadPasswordPending == 0) {
            if (!link.OpenPort())
                Fail(LinkResult::BadReply);  // a missing cable answers nothing
            std::array<std::uint8_t, 30> deviceInfo{};
            a.Require(link.ReadDeviceInfo(deviceInfo));
            state.TransferBusy = 1;
            a.Count();
            const int opened = link.OpenReadSession();
            if (opened == LinkResult::Negative)
                a.SubmitFirst(Direction::Read, state.ReadPasswordPending);
            else if (opened != LinkResult::Ok)
                Fail(SessionFailure(opened));
            else
                a.Skip(2);  // no password asked
        } else {
            state.TransferBusy = 1;
            a.SubmitRetry(Direction::Read, state.ReadPasswordPending);
        }
        state.ReadPasswordPending = 0;

        // Everything goes into a copy: records the radio does not return keep the image's
        // contents, and the image itself changes only when the read has succeeded.
        auto work = std::make_unique<Codeplug>(context.codeplug);
        Codeplug& w = *work;

        SetCount(w.DigitalChannelCount, a.ReadTable(block_code::DigitalChannel, w.DigitalChannelTable));
        SetCount(w.AnalogChannelCount, a.ReadTable(block_code::AnalogChannel, w.AnalogChannelTable));
        a.Read(block_code::RadioInfo, 0, w.RadioInfoBlock);
        w.ZoneTable.bytes.fill(0);
        a.ReadTable(block_code::Zone, w.ZoneTable);
        w.ScanTable.bytes.fill(0);
        SetCount(w.ScanListCount, a.ReadTable(block_code::Scan, w.ScanTable));
        a.Read(block_code::RadioSettings, 0, w.RadioSettings);
        a.Read(block_code::Password, 0, w.PasswordBlock);
        a.Read(block_code::Identity, 0, w.IdentityBlock);
        if (!a.Read(block_code::RecordE2, 0, std::span(w.RecordE2Block).first(RecordE2Field::kRecordBytes)))
            Fail(LinkResult::BadReply);  // this record is never missing
        a.Read(block_code::DmrSettings, 0, w.DmrSettings);
        SetCount(w.ContactCount, a.ReadTable(block_code::Contact, w.ContactTable));
        SetCount(w.RxGroupCount, a.ReadTable(block_code::RxGroup, w.RxGroupTable));
        SetCount(w.MessageCount, a.ReadTable(block_code::Message, w.MessageTable));

        a.Require(link.ReadExtraA(std::span<std::uint8_t, 7>(w.FunctionExtra)));
        std::array<std::uint8_t, 3> extraB{};
        a.Require(link.ReadExtraB(extraB));
        // The 16-bit value arrives most significant byte first.
        w.FunctionExtra[FunctionExtraField::DigitalMicGain] = extraB[2];
        w.FunctionExtra[FunctionExtraField::DigitalMicGain + 1] = extraB[1];
        a.Require(link.CloseReadSession());

        context.codeplug = w;
        a.Finish(status::ReadDone);
    });
}

void WriteWorker(SessionContext& context)
{
    TransferState& state = context.state;
    CDialog_MSComm& link = context.link;
    Codeplug& image = context.codeplug;
    link.SetLongestReply(kLongestWriteReply);
    RunAttempt(context, [&](Attempt& a) {
        PrepareImageForWrite(image);
        const Date date = context.today();

        const bool firstAttempt = state.WritePasswordPending == 0;
        a.Plan(PlannedWriteExchanges(image, firstAttempt));
        if (firstAttempt) {
            if (!link.OpenPort())
                Fail(LinkResult::BadReply);
            state.TransferBusy = 1;
            state.TransferStatus = status::WriteRunning;
            a.Count();
            const int opened = link.OpenWriteSession();
            if (opened == LinkResult::Negative)
                a.SubmitFirst(Direction::Write, state.WritePasswordPending);
            else if (opened != LinkResult::Ok)
                Fail(SessionFailure(opened));
            else
                a.Skip(2);  // no password asked
        } else {
            state.TransferBusy = 1;
            a.SubmitRetry(Direction::Write, state.WritePasswordPending);
        }
        // The radio's information block is read back into the image before anything is written.
        a.Read(block_code::RadioInfo, 0, image.RadioInfoBlock);
        state.WritePasswordPending = 0;

        a.Require(link.BeginWrite());
        a.WriteTable(block_code::DigitalChannel, image.DigitalChannelTable, GetCount(image.DigitalChannelCount));
        a.WriteTable(block_code::AnalogChannel, image.AnalogChannelTable, GetCount(image.AnalogChannelCount),
                     kAnalogRecordPauseMs);
        a.Write(block_code::RadioInfo, 0, image.RadioInfoBlock);
        a.WriteTable(block_code::Zone, image.ZoneTable, image.ZoneTable.kCapacity);  // always both zones
        a.WriteTable(block_code::Scan, image.ScanTable, GetCount(image.ScanListCount));
        a.Write(block_code::RadioSettings, 0, image.RadioSettings);
        a.Write(block_code::Identity, 0, image.IdentityBlock);
        a.Write(block_code::RecordE2, 0, std::span(image.RecordE2Block).first(RecordE2Field::kRecordBytes));
        if (context.radioIdSent)
            context.radioIdSent->store(true);
        a.Write(block_code::DmrSettings, 0, image.DmrSettings);
        a.WriteTable(block_code::Contact, image.ContactTable, GetCount(image.ContactCount));
        a.WriteTable(block_code::RxGroup, image.RxGroupTable, GetCount(image.RxGroupCount));

        const std::uint32_t messages = RepairMessageCountForWrite(image);
        for (std::size_t i = 0; i < UsedRecords(messages, image.MessageTable); ++i) {
            StampMessageRecord(image.MessageTable.record(i));
            a.Write(block_code::Message, i, image.MessageTable.record(i));
        }

        StampPasswordBlock(image, date);
        a.Write(block_code::Password, 0, image.PasswordBlock);

        const auto& extra = image.FunctionExtra;
        const std::array<std::uint8_t, 2> valueMsbFirst = {extra[FunctionExtraField::DigitalMicGain + 1],
                                                           extra[FunctionExtraField::DigitalMicGain]};
        a.Require(link.WriteExtraB(valueMsbFirst));
        // Sent on the password retry as well: the radio would otherwise keep its old values
        // while the write reports success.
        a.Require(link.WriteExtraA(std::span<const std::uint8_t, 3>(extra.data(), 3)));
        a.Require(link.CloseWriteSession());

        a.Finish(status::WriteDone);
    });
}
