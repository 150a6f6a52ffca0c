#pragma once

// The least time a transfer can take: every byte of the trace at 38400 baud
// 8N1 plus every pause and settle time the protocol mandates between frames.

#include <cstdint>
#include <string>
#include <vector>

namespace veskar::bench {

struct TracedFrame {
    bool fromPc = false;
    std::uint8_t command = 0;
    int packetNumber = 0;
    std::size_t length = 0;
};

// Lines of veskar-unit-sim's trace: "ms PC|UNIT 16 00 89 ..." (a data frame may be
// shortened to its first 7 and last 2 bytes around "...").
[[nodiscard]] std::vector<TracedFrame> ParseTrace(const std::vector<std::string>& lines);

enum class TransferKind { Write, Read, VoiceWrite };

// `portWasOpen`: the port stayed open from an earlier transfer, so there is no settle time.
[[nodiscard]] double FloorMilliseconds(const std::vector<TracedFrame>& frames, TransferKind kind,
                                       bool portWasOpen = false);

}  // namespace veskar::bench
