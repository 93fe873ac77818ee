#pragma once
// Programming a fleet: one codeplug written to radio after radio on one or more ports at once,
// each radio with its own DMR ID. Each port runs its loop on a thread of its own: wait for a
// radio to answer, take the next free ID, write (the same write session as a single write),
// report, wait until the radio is unplugged, go on. IDs are never given twice, also across
// ports; the ID of a radio whose write failed before the ID field was sent goes back to the
// pool and is the next one given out, so the only gaps in the sequence are the IDs of failed
// radios that may hold them, and those are reported.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/Codeplug.h"
#include "link/CDialog_MSComm.h"
#include "link/SessionRules.h"

namespace fleet {

// The largest DMR ID the radio takes.
inline constexpr std::uint32_t kMaxRadioId = 16776415;

// A decimal ID as the radio holds it, in packed decimal digits: 1234567 -> 0x01234567.
std::uint32_t PackId(std::uint32_t decimal);

// Reads a list of IDs: decimal numbers separated by white space, commas or semicolons; "#"
// starts a comment to the end of the line. nullopt with `error` set for anything else, an ID
// out of 1..16776415, a repeated ID or an empty list.
std::optional<std::vector<std::uint32_t>> ParseIdList(std::string_view text, std::string& error);

// The IDs to give out, shared by every port.
class IdPool {
public:
    // first, first + 1, ... up to kMaxRadioId.
    static IdPool Sequence(std::uint32_t first);
    // The list in its order (no repeats: see ParseIdList).
    static IdPool List(std::vector<std::uint32_t> ids);

    IdPool(IdPool&& other) noexcept;
    // The lowest ID given back first, otherwise the next new one; nullopt when none is left.
    std::optional<std::uint32_t> Take();
    // An ID that no radio holds (its write failed before the ID was sent).
    void GiveBack(std::uint32_t id);

private:
    IdPool() = default;
    std::mutex mutex_;
    std::vector<std::uint32_t> list_;
    std::uint32_t nextInSequence_ = 0;  // 0: a list
    std::size_t nextInList_ = 0;
    std::set<std::uint32_t> givenBack_;
};

// What happened to one radio.
enum class IdFate {
    Assigned,  // written: the radio holds the ID
    Spent,     // the write failed after the ID field was sent: the radio may hold it; not given again
    Returned,  // the write failed before: the ID is given to the next radio
};

struct RadioReport {
    std::string port;
    std::string serial;  // from the radio's information record; empty when it never came
    std::uint32_t id = 0;  // decimal
    double seconds = 0;
    std::uint32_t status = 0;  // the session's final status (session::status)
    IdFate fate = IdFate::Returned;
    bool ok() const { return fate == IdFate::Assigned; }
};

std::string_view FateText(IdFate fate);
// A short description of a final status, e.g. "written", "no answer", "password".
std::string ResultText(std::uint32_t status);
std::string CsvHeader();
// One line of the log (no line end); `when` is the local time text of the report.
std::string CsvLine(const RadioReport& report, std::string_view when);

struct FleetOptions {
    int count = 0;  // radios to write in all (0: until stopped)
    std::chrono::milliseconds pollInterval{250};  // between two looks for a radio on a port
    std::optional<session::PasswordEntryBytes> password;
    bool fastLink = false;
};

class FleetRun {
public:
    // The image is copied; each radio gets a copy of it with its own ID. Reports arrive one at a
    // time (never two at once) on the thread of the port.
    FleetRun(const Codeplug& image, IdPool& ids, FleetOptions options,
             std::function<void(const RadioReport&)> report,
             std::function<void(const std::string&)> message = {});

    // One port's loop, on the calling thread, until Stop(), the count reached or no ID left.
    // `link` has its device set; its clock is the port's time.
    void RunPort(const std::string& name, CDialog_MSComm& link);

    // Ends the run: no new radio is begun; writes under way finish and are reported.
    void Stop() { stop_ = true; }
    bool Stopping() const { return stop_; }
    int Written() const { return written_; }
    int Failed() const { return failed_; }

private:
    bool Finished() const;
    bool Claim();
    void Release(bool written, bool tried = true);
    // Waits until a radio answers on the port (true) or the run ends (false).
    bool WaitForRadio(CDialog_MSComm& link);
    // Waits until the port falls silent (true) or the run ends (false).
    bool WaitUntilGone(CDialog_MSComm& link);
    bool Answers(CDialog_MSComm& link);
    void WriteOne(const std::string& name, CDialog_MSComm& link, std::uint32_t id);

    std::unique_ptr<Codeplug> image_;
    IdPool& ids_;
    FleetOptions options_;
    std::function<void(const RadioReport&)> report_;
    std::function<void(const std::string&)> message_;
    std::atomic<bool> stop_{false};
    std::mutex claimMutex_;
    int claimed_ = 0;  // writes under way
    std::atomic<int> written_{0};
    std::atomic<int> failed_{0};
    std::mutex reportMutex_;
};

}  // namespace fleet
