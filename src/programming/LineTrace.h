#pragma once

// A record of the serial line, one line per event, for support to read when a
// transfer failed: "1234 PC 16 00 89 00 00 29 BC". The simulated unit writes
// the same format from its side.

#include "programming/SerialLink.h"

#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>

namespace veskar {

enum class FrameDirection { FromPc, FromUnit };

// One trace line without its newline. Frames longer than a short one show
// their first 7 and last 2 bytes around "...".
[[nodiscard]] std::string TraceLine(std::uint64_t milliseconds, FrameDirection direction,
                                    std::span<const Byte> frame);

// "1234 PURGE RX-ABORT RX-CLEAR"
[[nodiscard]] std::string PurgeTraceLine(std::uint64_t milliseconds, unsigned purgeFlags);

// "1234 TIMEOUT 0 of 7 bytes"
[[nodiscard]] std::string TimeOutTraceLine(std::uint64_t milliseconds, std::size_t received,
                                           std::size_t expected);

// What the transfer engine sees of the line, beyond what it tells the user.
class LineWatcher {
  public:
    virtual ~LineWatcher() = default;
    virtual void Sent(std::span<const Byte> frame) = 0;
    // A reply as far as it arrived: whole, cut short, or with a bad CRC.
    virtual void Received(std::span<const Byte> reply) = 0;
    virtual void Purged(unsigned purgeFlags) = 0;
    // A reply's deadline passed with `received` of its `expected` bytes in.
    virtual void TimedOut(std::size_t received, std::size_t expected) = 0;
};

// Writes trace lines to `out`, timed in milliseconds from its construction.
class LineTrace : public LineWatcher {
  public:
    LineTrace(std::ostream& out, const Clock& clock);

    void Sent(std::span<const Byte> frame) override;
    void Received(std::span<const Byte> reply) override;
    void Purged(unsigned purgeFlags) override;
    void TimedOut(std::size_t received, std::size_t expected) override;

  private:
    [[nodiscard]] std::uint64_t elapsed() const;
    void Write(const std::string& line);

    std::ostream& out_;
    const Clock& clock_;
    Tick started_;
};

} // namespace veskar
