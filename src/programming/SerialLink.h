#pragma once

// What the transfer engine needs from the world: a millisecond clock and a
// serial line that never blocks. The Qt layer implements both over QSerialPort
// and the event loop; tests implement them on virtual time.

#include "database/Image.h"

#include <cstdint>
#include <span>
#include <string>

namespace veskar {

// Millisecond tick. It wraps after 49 days, so deadlines are compared by the
// signed difference rather than by plain magnitude.
using Tick = std::uint32_t;

[[nodiscard]] constexpr bool DeadlinePassed(Tick now, Tick deadline)
{
    return static_cast<std::int32_t>(now - deadline) > 0;
}

class Clock {
public:
    virtual ~Clock() = default;
    [[nodiscard]] virtual Tick now() const = 0;
};

// Purge flags, combinable.
enum PurgeFlag : unsigned {
    kPurgeRxAbort = 1,  // abandon a pending read
    kPurgeRxClear = 2,  // drop what has arrived and not been read
    kPurgeTxClear = 4,  // drop what is queued and not yet sent
};

// Every call returns at once. What happens afterwards comes back to the engine
// as events: bytes arrived, write finished, timer fired.
class SerialLink {
public:
    virtual ~SerialLink() = default;

    [[nodiscard]] virtual bool isOpen() const = 0;
    // Opens and configures the port (38400 baud 8N1, no flow control, DTR on,
    // RTS off). On failure `whyNot` says what the user can do about it (may be
    // empty when there is nothing useful to add).
    [[nodiscard]] virtual bool open(std::string& whyNot) = 0;
    virtual void close() = 0;

    // Queues one whole frame; the link reports when it has left the program.
    virtual void write(std::span<const Byte> frame) = 0;
    virtual void purge(unsigned purgeFlags) = 0;

    // One pending wake-up at `at`; a new call replaces the previous one.
    virtual void armTimer(Tick at) = 0;
};

}  // namespace veskar
