#include "link/Fleet.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>

#include "codeplug/RadioInfo.h"
#include "codeplug/Records.h"
#include "forms/channels/Encodings.h"
#include "link/Sessions.h"
#include "link/TransferState.h"

namespace fleet {

std::uint32_t PackId(std::uint32_t decimal)
{
    std::uint32_t packed = 0;
    for (int shift = 0; decimal != 0 && shift < 32; shift += 4) {
        packed |= (decimal % 10) << shift;
        decimal /= 10;
    }
    return packed;
}

std::optional<std::vector<std::uint32_t>> ParseIdList(std::string_view text, std::string& error)
{
    std::vector<std::uint32_t> ids;
    std::set<std::uint32_t> seen;
    int line = 1;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
            ++i;
        } else if (c == '#') {
            while (i < text.size() && text[i] != '\n')
                ++i;
        } else if (c == ',' || c == ';' || std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else {
            std::size_t end = i;
            while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end])) && text[end] != ',' &&
                   text[end] != ';' && text[end] != '#')
                ++end;
            const std::string_view word = text.substr(i, end - i);
            std::uint64_t value = 0;
            bool digits = word.size() <= 9;
            for (const char d : word) {
                digits = digits && d >= '0' && d <= '9';
                value = value * 10 + static_cast<std::uint64_t>(d - '0');
            }
            if (!digits || value < 1 || value > kMaxRadioId) {
                error = "line " + std::to_string(line) + ": '" + std::string(word) + "' is not an ID in 1.." +
                        std::to_string(kMaxRadioId);
                return std::nullopt;
            }
            if (!seen.insert(static_cast<std::uint32_t>(value)).second) {
                error = "line " + std::to_string(line) + ": ID " + std::string(word) + " is listed twice";
                return std::nullopt;
            }
            ids.push_back(static_cast<std::uint32_t>(value));
            i = end;
        }
    }
    if (ids.empty()) {
        error = "the list holds no ID";
        return std::nullopt;
    }
    return ids;
}

IdPool IdPool::Sequence(std::uint32_t first)
{
    IdPool pool;
    pool.nextInSequence_ = std::max<std::uint32_t>(first, 1);
    return pool;
}

IdPool IdPool::List(std::vector<std::uint32_t> ids)
{
    IdPool pool;
    pool.list_ = std::move(ids);
    return pool;
}

IdPool::IdPool(IdPool&& other) noexcept
    : list_(std::move(other.list_)), nextInSequence_(other.nextInSequence_), nextInList_(other.nextInList_),
      givenBack_(std::move(other.givenBack_))
{
}

std::optional<std::uint32_t> IdPool::Take()
{
    std::lock_guard lock(mutex_);
    if (!givenBack_.empty()) {
        const std::uint32_t id = *givenBack_.begin();
        givenBack_.erase(givenBack_.begin());
        return id;
    }
    if (nextInSequence_ != 0) {
        if (nextInSequence_ > kMaxRadioId)
            return std::nullopt;
        return nextInSequence_++;
    }
    if (nextInList_ < list_.size())
        return list_[nextInList_++];
    return std::nullopt;
}

void IdPool::GiveBack(std::uint32_t id)
{
    std::lock_guard lock(mutex_);
    givenBack_.insert(id);
}

std::string_view FateText(IdFate fate)
{
    switch (fate) {
    case IdFate::Assigned: return "assigned";
    case IdFate::Spent: return "spent";
    case IdFate::Returned: return "returned";
    }
    return "?";
}

std::string ResultText(std::uint32_t s)
{
    switch (s) {
    case session::status::WriteDone: return "written";
    case session::status::Failed: return "failed: no valid answer";
    case session::status::Damaged: return "failed: damaged replies";
    case session::status::TooSlow: return "failed: replies too slow";
    case session::status::PasswordWanted:
    case session::status::PasswordCode2: return "failed: password";
    case session::status::Refused: return "failed: refused";
    case session::status::ModelMismatch: return "failed: other model";
    case session::status::FirmwareTooOld: return "failed: firmware too old";
    default: return "failed: status " + std::to_string(s);
    }
}

namespace {
// A field for the log: quoted when it holds a separator, a quote or a line end.
std::string CsvField(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + '"';
}
}  // namespace

std::string CsvHeader() { return "time,port,serial,radio_id,seconds,result,id"; }

std::string CsvLine(const RadioReport& r, std::string_view when)
{
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", r.seconds);
    return CsvField(when) + ',' + CsvField(r.port) + ',' + CsvField(r.serial) + ',' + std::to_string(r.id) + ',' +
           seconds + ',' + CsvField(ResultText(r.status)) + ',' + std::string(FateText(r.fate));
}

FleetRun::FleetRun(const Codeplug& image, IdPool& ids, FleetOptions options,
                   std::function<void(const RadioReport&)> report, std::function<void(const std::string&)> message)
    : image_(std::make_unique<Codeplug>(image)), ids_(ids), options_(std::move(options)), report_(std::move(report)),
      message_(std::move(message))
{
}

bool FleetRun::Finished() const { return stop_ || (options_.count > 0 && written_ >= options_.count); }

bool FleetRun::Claim()
{
    std::lock_guard lock(claimMutex_);
    if (stop_ || (options_.count > 0 && written_ + claimed_ >= options_.count))
        return false;
    ++claimed_;
    return true;
}

void FleetRun::Release(bool written, bool tried)
{
    std::lock_guard lock(claimMutex_);
    --claimed_;
    if (written)
        ++written_;
    else if (tried)
        ++failed_;
}

bool FleetRun::Answers(CDialog_MSComm& link)
{
    std::array<std::uint8_t, 30> info{};
    const bool answered = link.OpenPort() && link.ReadDeviceInfo(info) == LinkResult::Ok;
    link.ClosePort();
    return answered;
}

bool FleetRun::WaitForRadio(CDialog_MSComm& link)
{
    while (!Finished()) {
        if (Answers(link))
            return !Finished();
        link.clock().Sleep(options_.pollInterval);
    }
    return false;
}

bool FleetRun::WaitUntilGone(CDialog_MSComm& link)
{
    while (!Finished()) {
        if (!Answers(link))
            return true;
        link.clock().Sleep(options_.pollInterval);
    }
    return false;
}

void FleetRun::RunPort(const std::string& name, CDialog_MSComm& link)
{
    link.SetFastLink(options_.fastLink);
    while (WaitForRadio(link)) {
        // Several ports may see a radio at once: the count decides which of them write (a write
        // under way elsewhere may still fail and free its place).
        if (!Claim()) {
            link.clock().Sleep(options_.pollInterval);
            continue;
        }
        const std::optional<std::uint32_t> id = ids_.Take();
        if (!id) {
            Release(false, false);
            if (!stop_.exchange(true) && message_)
                message_("no radio ID left; stopping");
            break;
        }
        WriteOne(name, link, *id);
        if (!WaitUntilGone(link))
            break;
    }
    link.ClosePort();
}

void FleetRun::WriteOne(const std::string& name, CDialog_MSComm& link, std::uint32_t id)
{
    auto image = std::make_unique<Codeplug>(*image_);
    SetRadioId(*image, PackId(id));
    // The write reads the radio's information record back before it sends anything, so what
    // stands here afterwards came from this radio.
    image->RadioInfoBlock.fill(0);

    TransferState state;
    if (options_.password)
        state.PasswordEntry = *options_.password;
    state.TransferStatus = session::status::WriteRunning;
    std::atomic<bool> idSent{false};
    SessionContext context{*image, link, state};
    context.radioIdSent = &idSent;

    const Clock::Time start = link.clock().Now();
    WriteWorker(context);
    link.ClosePort();  // a write stopped for a password leaves it open

    RadioReport report;
    report.port = name;
    report.id = id;
    report.status = state.TransferStatus;
    report.seconds = std::chrono::duration<double>(link.clock().Now() - start).count();
    report.serial = PrintableRadioText(radio_info::SerialNumber(*image));
    const bool ok = report.status == session::status::WriteDone;
    report.fate = ok ? IdFate::Assigned : idSent ? IdFate::Spent : IdFate::Returned;
    if (report.fate == IdFate::Returned)
        ids_.GiveBack(id);
    Release(ok);
    std::lock_guard lock(reportMutex_);
    if (report_)
        report_(report);
}

}  // namespace fleet
