#pragma once

// What the parts of the transfer engine share: its pauses and waits, and the
// numbered states of its two machines.

#include "programming/Frame.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace veskar::transfer {

constexpr int kSettleMs = 2000;
constexpr int kStepPauseMs = 50;
constexpr int kRetryPauseMs = 200;
constexpr int kEndPauseMs = 1000;
constexpr int kVoiceFailurePauseMs = 2000;
constexpr int kFirstByteMs = 5000;
constexpr int kNextByteMs = 1000;
constexpr int kWriteSlackMs = 500;
constexpr int kAttempts = 3;
constexpr int kVoiceMemorySeconds = 10;
constexpr std::size_t kReceivingShownAfter = 300;

constexpr int kBufferBlocks = 10;
constexpr std::size_t kBufferSize = kBufferBlocks * kBlockSize;
// The unit's voice memory is 500 blocks; one request more lets it say "no more" after a full memory.
constexpr int kVoiceReadPackets = 2048000 / kBlockSize + 1;
// After a second-pass link the unit takes a whole vocabulary whatever the file holds.
constexpr int kSecondPassVocabPackets = 64;
constexpr std::uintmax_t kMaxPacketNumber = std::numeric_limits<std::uint16_t>::max();

// Engine states; the numbers are the ones the unit's protocol notes use.
enum State : int {
    kOpen = 0,
    kLinkStart = 1,
    kLinkSend = 2,
    kLinkWait = 3,
    kLinkRetryPause = 4,
    kLinkPause = 5,
    kCommandStart = 6,
    kCommandSend = 7,
    kCommandWait = 8,
    kCommandRetryPause = 9,
    kCommandPause = 10,
    kDataStart = 11,
    kDataSend = 12, // a data packet, or the request for one
    kDataWait = 13,
    kDataRetryPause = 14,
    kDataPause = 15,
    kDataNext = 16,
    kDone = 17,      // sending: last pause; receiving: completion
    kAfterDone = 18, // sending: close the file; receiving voices: before saving
    kLast = 19,      // sending: success texts; receiving voices: save
    kVoiceMemoryWait = 40,
    kEnd = 100,
    kClosing = 101,
    kSettle = 120,
};

inline std::string Numbered(std::string_view text, int number)
{
    return std::string(text) + std::to_string(number);
}

} // namespace veskar::transfer
