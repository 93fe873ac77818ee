#include "sim/SimOptions.h"

#include <algorithm>
#include <charconv>
#include <chrono>

namespace {

bool ToInt(const std::string& text, long long min, long long max, long long& value)
{
    int base = 10;
    std::string_view s = text;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, base);
    return ec == std::errc() && end == s.data() + s.size() && value >= min && value <= max;
}

}  // namespace

std::string SimUsage()
{
    return R"(zr740sim - a virtual ZR-740 radio on a pseudo-terminal

Usage: zr740sim [options]

Opens a pseudo-terminal, prints its device path (one line on standard output) and answers the
programming and service protocol on it as a radio would, paced at 38400 baud. Runs until
interrupted (Ctrl-C, SIGTERM).

Port and files:
  --link-dir DIR        with --com: create DIR/COMn as a link to the pseudo-terminal, so a
  --com N               program in DIR sees the radio as port COMn (N = 1..16); removed on exit
  --load FILE.VNTX      start with the configuration of this codeplug file (and the service
                        memory of FILE.VNTX.service when that file exists)
  --save-on-close FILE.VNTX
                        write what the radio holds to this file after every closed write session
                        and at exit, and its service memory (radio password, adjustment values)
                        to FILE.VNTX.service after every service write and at exit
  --exit-after-write    exit after the first closed write session (after saving; the
                        last reply is left 1.5 s to be read)

Radio:
  --password PW         programming password (up to 8 characters; shorter ones are padded with
                        leading "0" as the programming software does); the radio then asks for it
  --service-password PW radio password of the service exchanges (state 2 when set, 0 when not)
  --identify-state N    force the state byte of the identify answer (0..255)
  --foreign-identity    the "key" query answers the identity of another model (ZR-730)
  --old-firmware        the "key" query answers firmware bytes 00 30 (too old for adjustment values)
  --echo                one-wire cable: every byte sent to the radio comes straight back
  --turnaround MS       time from the end of a request to the start of its reply (default 2)
  --instant             no pacing: write replies at once instead of at 38400 baud

A fleet (radio after radio on the same port):
  --fleet N             after every closed write session the radio is "unplugged" and comes
                        back as the next radio (the configuration it started with, the next
                        serial number); after N written radios it stays away (0: no limit)
  --appear-after MS     the first radio is plugged in MS milliseconds after the start
  --absent MS           how long the port stays silent between two radios (default 1000)
  --first-serial N      serial number of the first radio (default 1; shown as SIM00000001)

Faults:
  --silent              never answer
  --wrong-prefix        programming replies begin 84 A9 60 instead of 84 A9 61
  --short-reply N       cut every reply to N bytes
  --cut-after N         fall silent after N record replies (reads and writes)
  --garbage N           send N pseudo-random bytes before every reply
  --garbage-only        replace every reply by pseudo-random bytes of the same length
  --slow MS             add MS milliseconds before every reply
  --byte-gap US         add US microseconds after every reply byte
  --short-end-of-list   answer "no such record" with 10 bytes instead of a full-length reply
  --password-answer N   answer every submitted password with byte N (e.g. 2)

Damaged record replies (replies to record reads; --cut-record and --bad-check also spoil the
acknowledgements of record writes):
  --cut-record N        cut them to N bytes
  --bad-check           give them a wrong check byte, wrong by another amount every time
  --foreign-record      answer with another block's code and index (otherwise consistent)
  --garbage-payload     replace their payload by pseudo-random bytes behind the correct header
  --damage-every N      a noisy rather than a broken cable: only every N-th record reply (reads
                        and write acknowledgements, repeats included) is damaged, by the switches
                        above or, when none is given, by a wrong check byte
  --own-check-rule      a radio whose check bytes follow its own, fixed rule (the XOR from the
                        marker on) in every programming reply; not damage: the same request
                        always gets the same bytes

  --verbose             log every request to standard error
  --help                this text
)";
}

std::optional<SimOptions> ParseSimOptions(std::span<const std::string> args, std::string& error)
{
    SimOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        auto number = [&](long long min, long long max, long long& out) {
            std::string text;
            if (!value(text))
                return false;
            if (!ToInt(text, min, max, out)) {
                error = a + ": not a number in " + std::to_string(min) + ".." + std::to_string(max) + ": " + text;
                return false;
            }
            return true;
        };
        long long n = 0;
        std::string text;
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--link-dir") {
            if (!value(o.linkDir))
                return std::nullopt;
        } else if (a == "--com") {
            if (!number(1, 16, n))
                return std::nullopt;
            o.com = static_cast<int>(n);
        } else if (a == "--load") {
            if (!value(o.load))
                return std::nullopt;
        } else if (a == "--save-on-close") {
            if (!value(o.saveOnClose))
                return std::nullopt;
        } else if (a == "--exit-after-write") {
            o.exitAfterWrite = true;
        } else if (a == "--password") {
            if (!value(text))
                return std::nullopt;
            if (text.size() > 8) {
                error = "--password: at most 8 characters";
                return std::nullopt;
            }
            o.password = text;
        } else if (a == "--service-password") {
            if (!value(text))
                return std::nullopt;
            if (text.size() > VirtualRadio::kServicePasswordBytes) {
                error = "--service-password: too long";
                return std::nullopt;
            }
            o.servicePassword = text;
        } else if (a == "--identify-state") {
            if (!number(0, 255, n))
                return std::nullopt;
            o.setup.identifyState = static_cast<std::uint8_t>(n);
        } else if (a == "--foreign-identity") {
            const char other[] = "ZR-730";
            std::copy_n(other, 6, o.setup.keyAnswer.begin());
        } else if (a == "--old-firmware") {
            o.setup.keyAnswer[12] = 0x00;
            o.setup.keyAnswer[13] = 0x30;
        } else if (a == "--echo") {
            o.setup.echo = true;
        } else if (a == "--turnaround") {
            if (!number(0, 60000, n))
                return std::nullopt;
            o.setup.turnaround = std::chrono::milliseconds(n);
        } else if (a == "--instant") {
            o.instant = true;
        } else if (a == "--fleet") {
            if (!number(0, 1000000, n))
                return std::nullopt;
            o.fleet.enabled = true;
            o.fleet.radios = static_cast<int>(n);
        } else if (a == "--appear-after") {
            if (!number(0, 3600000, n))
                return std::nullopt;
            o.fleet.appearAfter = std::chrono::milliseconds(n);
        } else if (a == "--absent") {
            if (!number(0, 3600000, n))
                return std::nullopt;
            o.fleet.absentFor = std::chrono::milliseconds(n);
        } else if (a == "--first-serial") {
            if (!number(0, 99999999, n))
                return std::nullopt;
            o.fleet.firstSerial = static_cast<std::uint32_t>(n);
        } else if (a == "--silent") {
            o.faults.silent = true;
        } else if (a == "--wrong-prefix") {
            o.faults.wrongPrefix = true;
        } else if (a == "--short-reply") {
            if (!number(0, 100000, n))
                return std::nullopt;
            o.faults.shortReply = static_cast<int>(n);
        } else if (a == "--cut-after") {
            if (!number(0, 100000, n))
                return std::nullopt;
            o.faults.cutAfterRecords = static_cast<int>(n);
        } else if (a == "--garbage") {
            if (!number(0, 100000, n))
                return std::nullopt;
            o.faults.garbageBefore = static_cast<std::size_t>(n);
        } else if (a == "--garbage-only") {
            o.faults.garbageOnly = true;
        } else if (a == "--slow") {
            if (!number(0, 600000, n))
                return std::nullopt;
            o.faults.extraDelay = std::chrono::milliseconds(n);
        } else if (a == "--byte-gap") {
            if (!number(0, 10000000, n))
                return std::nullopt;
            o.faults.byteGap = std::chrono::microseconds(n);
        } else if (a == "--short-end-of-list") {
            o.faults.shortEndOfList = true;
        } else if (a == "--password-answer") {
            if (!number(0, 255, n))
                return std::nullopt;
            o.faults.passwordAnswer = static_cast<std::uint8_t>(n);
        } else if (a == "--cut-record") {
            if (!number(0, 100000, n))
                return std::nullopt;
            o.faults.recordCut = static_cast<int>(n);
        } else if (a == "--bad-check") {
            o.faults.badCheck = true;
        } else if (a == "--foreign-record") {
            o.faults.foreignRecord = true;
        } else if (a == "--garbage-payload") {
            o.faults.garbagePayload = true;
        } else if (a == "--damage-every") {
            if (!number(1, 1000000, n))
                return std::nullopt;
            o.faults.damageEvery = static_cast<int>(n);
        } else if (a == "--own-check-rule") {
            o.faults.ownCheckRule = true;
        } else if (a == "--verbose" || a == "-v") {
            o.verbose = true;
        } else {
            error = "unknown option: " + a;
            return std::nullopt;
        }
    }
    if (!o.fleet.enabled && (o.fleet.appearAfter.count() != 0 || o.fleet.absentFor != std::chrono::seconds(1) ||
                             o.fleet.firstSerial != 1)) {
        error = "--appear-after, --absent and --first-serial need --fleet";
        return std::nullopt;
    }
    const RadioFaults& f = o.faults;
    if (f.damageEvery > 1 && f.recordCut < 0 && !f.badCheck && !f.foreignRecord && !f.garbagePayload)
        o.faults.badCheck = true;
    if (o.linkDir.empty() != (o.com == 0)) {
        error = "--link-dir and --com go together";
        return std::nullopt;
    }
    return o;
}
