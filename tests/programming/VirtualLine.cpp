#include "VirtualLine.h"

#include <algorithm>

namespace veskar::testing {

namespace {
constexpr std::size_t kChunk = 64;
constexpr std::uint64_t kBitsPerByte = 10;
constexpr std::uint64_t kBaud = 38400;
} // namespace

Tick VirtualLine::wireTime(std::size_t bytes) const
{
    if (!wireSpeed)
        return 0;
    return static_cast<Tick>((bytes * kBitsPerByte * 1000 + kBaud - 1) / kBaud);
}

bool VirtualLine::open(std::string& why)
{
    if (refuseOpen) {
        why = whyNot;
        return false;
    }
    ++opens;
    open_ = true;
    return true;
}

void VirtualLine::armTimer(Tick at)
{
    const auto ahead = static_cast<std::int32_t>(at - clock_.time);
    timerAt_ = now_ + static_cast<std::uint64_t>(std::max(ahead, 0));
}

void VirtualLine::write(std::span<const Byte> frame)
{
    frames.push_back({clock_.time, true, {frame.begin(), frame.end()}});
    const std::uint64_t sent = now_ + wireTime(frame.size());
    if (!writeNeverFinishes)
        events_.emplace(sent, Event{Kind::WriteFinished, {}});

    std::vector<Byte> answer = farEnd_ ? farEnd_(frame) : std::vector<Byte>{};
    if (answer.empty())
        return;
    std::uint64_t at = std::max(sent + turnaround, lineFreeAt_);
    frames.push_back({static_cast<Tick>(at), false, answer});
    for (std::size_t done = 0; done < answer.size(); done += kChunk) {
        const std::size_t n = std::min(kChunk, answer.size() - done);
        at += wireTime(n);
        events_.emplace(at, Event{Kind::Bytes,
                                  {answer.begin() + static_cast<std::ptrdiff_t>(done),
                                   answer.begin() + static_cast<std::ptrdiff_t>(done + n)}});
    }
    lineFreeAt_ = at;
}

void VirtualLine::deliver(const Event& event)
{
    const long readsBefore = clock_.reads;
    const Tick before = clock_.time;
    if (event.kind == Kind::WriteFinished)
        engine_->writeFinished();
    else if (event.kind == Kind::Bytes)
        engine_->bytesArrived(event.bytes);
    else
        engine_->timerFired();
    maxClockReadsPerEvent = std::max(maxClockReadsPerEvent, clock_.reads - readsBefore);
    clockMovedInsideEvent = clockMovedInsideEvent || clock_.time != before;
}

bool VirtualLine::run(Tick limit)
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
    }
    return true;
}

std::vector<LoggedFrame> VirtualLine::pcFrames() const
{
    std::vector<LoggedFrame> out;
    std::ranges::copy_if(frames, std::back_inserter(out), [](const LoggedFrame& f) { return f.fromPc; });
    return out;
}

std::vector<Byte> VirtualLine::pcCommands() const
{
    std::vector<Byte> out;
    for (const LoggedFrame& f : pcFrames())
        out.push_back(f.command());
    return out;
}

} // namespace veskar::testing
