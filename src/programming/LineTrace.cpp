#include "programming/LineTrace.h"

#include "programming/Frame.h"

#include <cstdio>
#include <ostream>

namespace veskar {

std::string TraceLine(std::uint64_t milliseconds, FrameDirection direction, std::span<const Byte> frame)
{
    std::string line = std::to_string(milliseconds);
    line += direction == FrameDirection::FromPc ? " PC" : " UNIT";
    const auto appendHex = [&line](std::span<const Byte> bytes) {
        for (Byte byte : bytes) {
            char hex[4];
            std::snprintf(hex, sizeof hex, " %02X", byte);
            line += hex;
        }
    };
    constexpr std::size_t kHead = kShortFrameSize;
    constexpr std::size_t kTail = 2;
    if (frame.size() <= kHead + kTail) {
        appendHex(frame);
    } else {
        appendHex(frame.first(kHead));
        line += " ...";
        appendHex(frame.last(kTail));
    }
    return line;
}

std::string PurgeTraceLine(std::uint64_t milliseconds, unsigned purgeFlags)
{
    std::string line = std::to_string(milliseconds) + " PURGE";
    if (purgeFlags & kPurgeRxAbort)
        line += " RX-ABORT";
    if (purgeFlags & kPurgeRxClear)
        line += " RX-CLEAR";
    if (purgeFlags & kPurgeTxClear)
        line += " TX-CLEAR";
    return line;
}

std::string TimeOutTraceLine(std::uint64_t milliseconds, std::size_t received, std::size_t expected)
{
    return std::to_string(milliseconds) + " TIMEOUT " + std::to_string(received) + " of " +
           std::to_string(expected) + " bytes";
}

LineTrace::LineTrace(std::ostream& out, const Clock& clock) : out_(out), clock_(clock), started_(clock.now()) {}

std::uint64_t LineTrace::elapsed() const
{
    return static_cast<Tick>(clock_.now() - started_);
}

// Flushed line by line: the trace matters most when the program does not end well.
void LineTrace::Write(const std::string& line)
{
    out_ << line << '\n' << std::flush;
}

void LineTrace::Sent(std::span<const Byte> frame)
{
    Write(TraceLine(elapsed(), FrameDirection::FromPc, frame));
}

void LineTrace::Received(std::span<const Byte> reply)
{
    Write(TraceLine(elapsed(), FrameDirection::FromUnit, reply));
}

void LineTrace::Purged(unsigned purgeFlags)
{
    Write(PurgeTraceLine(elapsed(), purgeFlags));
}

void LineTrace::TimedOut(std::size_t received, std::size_t expected)
{
    Write(TimeOutTraceLine(elapsed(), received, expected));
}

} // namespace veskar
