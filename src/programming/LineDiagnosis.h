#pragma once

// What the line showed during a transfer, reply by reply, and what a failure
// most likely means in plain words: the second line under the failure text.

#include <array>
#include <string>

namespace veskar {

// How one awaited reply turned out.
enum class ReplySeen {
    Whole,  // a sound frame from the unit, as expected
    Silent, // not a byte
    Noise,  // bytes, but never the start of a frame
    Cut,    // a frame begun and never finished
    BadCrc, // a frame of the right length whose checksum is wrong
    Echo,   // the program's own frame came back
    Other,  // a sound frame from the unit, but not the one expected
};

class LineCounts {
  public:
    void Reply(ReplySeen seen);
    // Empty while nothing went wrong.
    [[nodiscard]] std::string Diagnosis() const;

  private:
    std::array<int, 7> seen_{};
    // Since the last whole reply the line has only gone quiet (or cut a reply short).
    bool quietSinceWhole_ = false;
};

} // namespace veskar
