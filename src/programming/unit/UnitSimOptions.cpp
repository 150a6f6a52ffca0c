#include "programming/unit/UnitSimOptions.h"

#include "programming/Frame.h"

#include <charconv>
#include <limits>
#include <optional>

namespace veskar {

namespace {

enum class Value { None, Required, Optional };

struct FaultKind {
    std::string_view name;
    Value value;
    long minimum;
    long maximum;
    void (*apply)(UnitFaults&, long);
};

constexpr long kMaxCount = std::numeric_limits<int>::max();

constexpr FaultKind kFaultKinds[] = {
    {"silent", Value::None, 0, 0, [](UnitFaults& f, long) { f.silent = true; }},
    {"ignore", Value::Required, 1, kMaxCount,
     [](UnitFaults& f, long n) { f.ignoreFirst = static_cast<int>(n); }},
    {"bad-crc", Value::Optional, 1, kMaxCount,
     [](UnitFaults& f, long n) {
         f.corruptEvery = n == 0;
         f.corruptReply = static_cast<int>(n);
     }},
    {"noise", Value::None, 0, 0, [](UnitFaults& f, long) { f.noise = true; }},
    {"echo", Value::None, 0, 0, [](UnitFaults& f, long) { f.echo = true; }},
    {"cut", Value::Required, 1, std::numeric_limits<long>::max(),
     [](UnitFaults& f, long n) { f.cutAfterBytes = n; }},
    {"end-at", Value::Required, 0, 0xFFFF,
     [](UnitFaults& f, long n) { f.endOfDataAtPacket = static_cast<int>(n); }},
    {"wrong-command", Value::Optional, 1, kMaxCount,
     [](UnitFaults& f, long n) {
         f.wrongCommand = true;
         f.wrongCommandReply = static_cast<int>(n);
     }},
    {"slow", Value::Required, 1, 600'000, [](UnitFaults& f, long n) { f.slowReplyMs = n; }},
};

std::optional<long> ParseNumber(std::string_view text)
{
    long value = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || failure != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

bool ApplyFault(std::string_view fault, UnitFaults& faults, std::string& error)
{
    const std::size_t equals = fault.find('=');
    const std::string_view name = fault.substr(0, equals);
    for (const FaultKind& kind : kFaultKinds) {
        if (kind.name != name)
            continue;
        if (equals == std::string_view::npos) {
            if (kind.value == Value::Required) {
                error = "fault '" + std::string(name) + "' needs a number: " + std::string(name) + "=N";
                return false;
            }
            kind.apply(faults, 0);
            return true;
        }
        if (kind.value == Value::None) {
            error = "fault '" + std::string(name) + "' takes no number";
            return false;
        }
        const std::string_view text = fault.substr(equals + 1);
        const std::optional<long> number = ParseNumber(text);
        if (!number || *number < kind.minimum || *number > kind.maximum) {
            error = "fault '" + std::string(name) + "': '" + std::string(text) + "' is not a number from " +
                    std::to_string(kind.minimum) + " to " + std::to_string(kind.maximum);
            return false;
        }
        kind.apply(faults, *number);
        return true;
    }
    error = "unknown fault '" + std::string(name) + "' (see --help)";
    return false;
}

UnitSimParse ParseUnitSimArguments(std::span<const std::string_view> arguments, UnitSimOptions& options,
                                   std::string& error)
{
    UnitSimOptions parsed;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view option = arguments[i];
        std::optional<std::string_view> inlineValue;
        if (const std::size_t equals = option.find('='); option.starts_with("--") && equals != option.npos) {
            inlineValue = option.substr(equals + 1);
            option = option.substr(0, equals);
        }
        const auto value = [&]() -> std::optional<std::string_view> {
            if (inlineValue)
                return inlineValue;
            if (i + 1 < arguments.size())
                return arguments[++i];
            return std::nullopt;
        };
        const auto needsValue = [&](std::string& target) {
            const std::optional<std::string_view> text = value();
            if (!text || text->empty()) {
                error = std::string(option) + " needs a value";
                return false;
            }
            target = std::string(*text);
            return true;
        };

        if (option == "--help" || option == "-h") {
            return UnitSimParse::Help;
        } else if (option == "--version") {
            return UnitSimParse::Version;
        } else if (option == "--pty") {
            if (!needsValue(parsed.ptyPath))
                return UnitSimParse::Bad;
        } else if (option == "--store") {
            if (!needsValue(parsed.storeFolder))
                return UnitSimParse::Bad;
        } else if (option == "--trace") {
            if (!needsValue(parsed.traceFile))
                return UnitSimParse::Bad;
        } else if (option == "--realtime" && !inlineValue) {
            parsed.realtime = true;
        } else if (option == "--fault") {
            std::string fault;
            if (!needsValue(fault) || !ApplyFault(fault, parsed.faults, error))
                return UnitSimParse::Bad;
        } else {
            error = "unknown option '" + std::string(arguments[i]) + "' (see --help)";
            return UnitSimParse::Bad;
        }
    }
    if (parsed.ptyPath.empty()) {
        error = "--pty PATH is required";
        return UnitSimParse::Bad;
    }
    options = std::move(parsed);
    return UnitSimParse::Run;
}

std::string UnitSimUsage()
{
    return R"(usage: veskar-unit-sim --pty PATH [--store DIR] [--realtime] [--trace FILE] [--fault KIND[=N]]...

A simulated unit on a pseudo-terminal: PATH becomes a symlink to the terminal
it serves; open PATH as the serial port (or map a COM name to it).

  --pty PATH         symlink to create (a stale one is replaced; removed on exit)
  --store DIR        keep the unit's memory in DIR (config.bin, vocab.bin,
                     voices.bin); a missing DIR is created with a default
                     configuration and a short voice recording. Without it the
                     memory lasts as long as the program. Each write transfer
                     is saved when its end-of-transfer frame arrives.
  --realtime         take the wire time of 38400 baud 8N1 both ways: a frame
                     from the PC counts as received once it could have crossed
                     the wire, and every reply byte goes out at that pace after
                     a 3 ms turnaround; without it, answer as fast as possible
  --trace FILE       append one line per frame: milliseconds since start, PC or
                     UNIT, the bytes in hex (a data frame as its first 7 and
                     last 2 bytes around ...); a PC frame is stamped when it is
                     complete, a UNIT frame when the reply is ready
  --fault KIND[=N]   misbehave; may be given more than once. Requests are all
                     frames but the end of transfer; replies count from 1.
      silent           never answer
      ignore=N         drop the first N requests without answering
      bad-crc[=N]      corrupt the CRC of every reply, or only of the Nth
      noise            send a burst of line noise before every reply; every
                       third burst holds a false frame start (0x16)
      echo             echo every byte received
      cut=N            the line goes dead after the unit has sent N bytes
      end-at=N         answer the request for packet N (0 is the first) with
                       the end-of-data acknowledge
      wrong-command[=N]  answer with a valid short frame carrying command 0x91
                       (every reply, or only the Nth)
      slow=MS          send every reply MS milliseconds after its request,
                       also past the program's 5-second wait
  --help             this text
  --version          the version and build

Once the terminal is ready it prints "veskar-unit-sim: serving PATH".
Exit status: 0 after SIGINT or SIGTERM, 1 when the terminal or the store fails,
2 on bad usage.
)";
}

} // namespace veskar
