#pragma once

// A serial line on virtual time: frames written by the engine reach a far end
// (a function from bytes in to bytes out) once the wire has carried them, its
// answer comes back at the time the wire would bring it, in chunks, and time
// jumps from one event to the next. Purges act as a port's do: RX clear drops
// what has arrived and not been read, TX clear what has not left yet.

#include "programming/SerialLink.h"
#include "programming/TransferEngine.h"

#include <algorithm>
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
    void startAt(Tick time) { clock_.time = now_ = time; }

    // Line behaviour.
    bool wireSpeed = true; // 10 bits a byte at 38400 baud, both ways
    Tick turnaround = 3;   // the unit's thinking time
    bool refuseOpen = false;
    std::string whyNot;
    bool writeNeverFinishes = false;
    std::optional<Tick> babbleEvery; // a stray 0x00 on the line this often
    // By the index of the frame from the PC: extra delay before its answer, nothing to drop it.
    std::function<std::optional<Tick>(std::size_t)> answerDelay;

    // What happened.
    std::vector<LoggedFrame> frames; // from the PC
    std::vector<unsigned> purges;
    int opens = 0;
    long maxClockReadsPerEvent = 0;
    bool clockMovedInsideEvent = false;

    [[nodiscard]] const std::vector<LoggedFrame>& pcFrames() const { return frames; }
    [[nodiscard]] std::vector<Byte> pcCommands() const
    {
        std::vector<Byte> out;
        for (const LoggedFrame& f : frames)
            out.push_back(f.command());
        return out;
    }

    // SerialLink
    [[nodiscard]] bool isOpen() const override { return open_; }
    [[nodiscard]] bool open(std::string& why) override
    {
        if (refuseOpen)
            why = whyNot;
        else
            ++opens;
        open_ = !refuseOpen;
        return open_;
    }
    // Nothing in flight arrives anywhere once the port is closed.
    void close() override
    {
        open_ = false;
        std::erase_if(events_, [](const auto& entry) { return entry.second.kind != Kind::Timer; });
    }
    void purge(unsigned flags) override
    {
        purges.push_back(flags);
        std::erase_if(events_, [this, flags](const auto& entry) {
            const auto& [at, event] = entry;
            if (event.kind == Kind::Bytes)
                return (flags & kPurgeRxClear) != 0 && at <= now_;
            return (flags & kPurgeTxClear) != 0 && at > now_ && event.kind != Kind::Timer;
        });
    }
    void armTimer(Tick at) override
    {
        const auto ahead = static_cast<std::int32_t>(at - clock_.time);
        timerAt_ = now_ + static_cast<std::uint64_t>(std::max(ahead, 0));
    }
    void write(std::span<const Byte> frame) override
    {
        frames.push_back({clock_.time, {frame.begin(), frame.end()}});
        const std::uint64_t sent = now_ + wireTime(frame.size());
        if (!writeNeverFinishes)
            events_.emplace(sent, Event{Kind::WriteFinished, {}});
        events_.emplace(sent, Event{Kind::Arrive, {frame.begin(), frame.end()}, frames.size() - 1});
    }

    // Runs until the engine is idle; false when `limit` ms of virtual time pass first,
    // or `until` holds after an event.
    bool run(Tick limit = 3'600'000, const std::function<bool()>& until = {})
    {
        const std::uint64_t end = now_ + limit;
        std::optional<std::uint64_t> nextBabble;
        if (babbleEvery)
            nextBabble = now_ + *babbleEvery;
        while (engine_->busy()) {
            std::optional<std::uint64_t> next;
            if (!events_.empty())
                next = events_.begin()->first;
            for (const auto& candidate : {timerAt_, nextBabble})
                if (candidate && (!next || *candidate < *next))
                    next = candidate;
            if (!next || *next > end)
                return false;
            now_ = *next;
            clock_.time = static_cast<Tick>(now_);
            if (!events_.empty() && events_.begin()->first == now_) {
                const Event event = std::move(events_.begin()->second);
                events_.erase(events_.begin());
                deliver(event);
            } else if (nextBabble && *nextBabble == now_) {
                nextBabble = now_ + *babbleEvery;
                deliver(Event{Kind::Bytes, {0x00}});
            } else {
                timerAt_.reset();
                deliver(Event{Kind::Timer, {}});
            }
            if (until && until())
                return !engine_->busy();
        }
        return true;
    }

  private:
    static constexpr std::size_t kChunk = 64;
    enum class Kind { Bytes, WriteFinished, Arrive, Timer };
    struct Event {
        Kind kind;
        std::vector<Byte> bytes;
        std::size_t frameIndex = 0; // Arrive: which frame from the PC
    };

    // A frame from the PC is at the far end; its answer sets off.
    void arrive(const Event& event)
    {
        std::vector<Byte> answer = farEnd_(event.bytes);
        const std::optional<Tick> delay = answerDelay ? answerDelay(event.frameIndex) : Tick{0};
        if (!delay)
            answer.clear();
        std::uint64_t at = std::max(now_ + turnaround + delay.value_or(0), lineFreeAt_);
        for (std::size_t done = 0; done < answer.size(); done += kChunk) {
            const auto from = answer.begin() + static_cast<std::ptrdiff_t>(done);
            const std::size_t n = std::min(kChunk, answer.size() - done);
            at += wireTime(n);
            events_.emplace(at, Event{Kind::Bytes, {from, from + static_cast<std::ptrdiff_t>(n)}});
        }
        if (!answer.empty())
            lineFreeAt_ = at;
    }

    [[nodiscard]] Tick wireTime(std::size_t bytes) const
    {
        return wireSpeed ? static_cast<Tick>((bytes * 10 * 1000 + 38400 - 1) / 38400) : 0;
    }

    void deliver(const Event& event)
    {
        const long readsBefore = clock_.reads;
        const Tick before = clock_.time;
        if (event.kind == Kind::Arrive)
            arrive(event);
        else if (event.kind == Kind::WriteFinished)
            engine_->writeFinished();
        else if (event.kind == Kind::Bytes)
            engine_->bytesArrived(event.bytes);
        else
            engine_->timerFired();
        maxClockReadsPerEvent = std::max(maxClockReadsPerEvent, clock_.reads - readsBefore);
        clockMovedInsideEvent = clockMovedInsideEvent || clock_.time != before;
    }

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
