#pragma once

// The time a transfer has left, from the pace of its packets. The pace is
// measured from the first packet done (from the last time that count was
// given, so the unit's voice-memory countdown after the first voice block,
// like the link set-up, is no packet time), and nothing is estimated while the total is not known (a voice read
// learns it only when the unit says there is no more).

#include <cstdint>
#include <optional>

namespace veskar {

class PacketPace {
  public:
    // `total` 0: not known yet. `nowMs` on any steady clock.
    void Done(int done, int total, std::int64_t nowMs);
    [[nodiscard]] std::optional<std::int64_t> LeftMs() const;

  private:
    std::optional<int> firstDone_;
    std::int64_t firstAt_ = 0;
    int done_ = 0;
    int total_ = 0;
    std::int64_t now_ = 0;
};

} // namespace veskar
