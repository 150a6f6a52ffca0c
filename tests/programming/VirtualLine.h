#pragma once

// A serial line on virtual time: frames written by the engine go to a far end
// (a function from bytes in to bytes out), its answer comes back at the time
// the wire would bring it, and time jumps from one event to the next.

#include "programming/SerialLink.h"
#include "programming/TransferEngine.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace veskar::testing {

class VirtualClock final : public Clock {
  public:
    [[nodiscard]] Tick now() const override
    {
        ++reads;
        return time;
    }
    Tick time = 0;
    mutable long reads = 0;
};

struct LoggedFrame {
    Tick at;
    bool fromPc;
    std::vector<Byte> bytes;
    [[nodiscard]] Byte command() const { return bytes.size() > 2 ? bytes[2] : 0; }
};

class VirtualLine final : public SerialLink {
  public:
    using FarEnd = std::function<std::vector<Byte>(std::span<const Byte>)>;

    VirtualLine(VirtualClock& clock, FarEnd farEnd)
        : clock_(clock), farEnd_(std::move(farEnd)), now_(clock.time)
    {
    }

    void attach(TransferEngine& engine) { engine_ = &engine; }
    void startAt(Tick time)
    {
        clock_.time = time;
        now_ = time;
    }

    // Runs until the engine is idle; false when `limit` ms of virtual time pass first.
    bool run(Tick limit = 3'600'000);

    [[nodiscard]] std::vector<LoggedFrame> pcFrames() const;
    [[nodiscard]] std::vector<Byte> pcCommands() const;

    // Line behaviour.
    bool wireSpeed = true; // 10 bits a byte at 38400 baud, both ways
    Tick turnaround = 3;   // the unit's thinking time
    bool refuseOpen = false;
    std::string whyNot;
    bool writeNeverFinishes = false;
    std::optional<Tick> babbleEvery; // a stray 0x00 on the line this often

    // What happened.
    std::vector<LoggedFrame> frames;
    std::vector<std::pair<Tick, unsigned>> purges;
    int opens = 0;
    long maxClockReadsPerEvent = 0;
    bool clockMovedInsideEvent = false;

    // SerialLink
    [[nodiscard]] bool isOpen() const override { return open_; }
    [[nodiscard]] bool open(std::string& whyNot) override;
    void close() override { open_ = false; }
    void write(std::span<const Byte> frame) override;
    void purge(unsigned flags) override { purges.emplace_back(clock_.time, flags); }
    void armTimer(Tick at) override;

  private:
    enum class Kind { Bytes, WriteFinished, Timer };
    struct Event {
        Kind kind;
        std::vector<Byte> bytes;
    };

    [[nodiscard]] Tick wireTime(std::size_t bytes) const;
    void deliver(const Event& event);

    VirtualClock& clock_;
    FarEnd farEnd_;
    TransferEngine* engine_ = nullptr;
    bool open_ = false;
    // Time runs on in 64 bits here; the engine sees it wrap as a real tick does.
    std::uint64_t now_;
    std::optional<std::uint64_t> timerAt_;
    std::uint64_t lineFreeAt_ = 0;
    std::multimap<std::uint64_t, Event> events_; // by time, then by queueing order
};

} // namespace veskar::testing
