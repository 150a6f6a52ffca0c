#include "programming/TransferEngine.h"

#include "programming/Frame.h"
#include "programming/TransferSteps.h"
#include "programming/TransferTexts.h"

#include <algorithm>

namespace veskar {

using namespace transfer;

// Takes arrived bytes into the reply until it is complete or its deadline passes.
TransferEngine::Reply TransferEngine::AwaitReply(Tick now, Byte expected)
{
    if (!replyStarted_) {
        replyStarted_ = true;
        replyStored_ = 0;
        replyNoise_ = false;
        replyDeadline_ = now + kFirstByteMs;
    }
    while (!input_.empty() && replyStored_ < replyLength_) {
        const Byte byte = input_.front();
        input_.pop_front();
        // Bytes before a frame start are line noise; they must not keep the wait alive.
        if (replyStored_ == 0 && byte != kFrameStart) {
            replyNoise_ = true;
            continue;
        }
        replyDeadline_ = now + kNextByteMs;
        if (showReceiving_ && replyStored_ > kReceivingShownAfter) {
            showReceiving_ = false;
            Activity(Numbered(texts::kReceivingPacket, packetNumber_ + 1));
        }
        reply_[replyStored_++] = byte;
    }
    if (replyStored_ < replyLength_ && !DeadlinePassed(now, replyDeadline_))
        return Reply::Pending;

    replyStarted_ = false;
    if (watcher_) {
        if (replyStored_ > 0)
            watcher_->Received(std::span<const Byte>(reply_.data(), replyStored_));
        if (replyStored_ < replyLength_)
            watcher_->TimedOut(replyStored_, replyLength_);
    }
    const std::span<const Byte> frame(reply_.data(), replyLength_);
    const bool valid = replyStored_ == replyLength_ && frame[1] == kSourceUnit && HasValidCrc(frame);
    bool expectedFrame = false;
    if (valid && replyLength_ == kShortFrameSize)
        expectedFrame = FrameCommand(frame) == expected;
    else if (valid) // a block the unit sent late for an earlier request must not be taken for this one
        expectedFrame = FrameCommand(frame) == kCmdData && FramePacketNumber(frame) == packetNumber_;
    counts_.Reply(expectedFrame ? ReplySeen::Whole : JudgeFailedReply());
    if (!expectedFrame)
        return Reply::Invalid;
    if (replyLength_ == kDataFrameSize)
        StoreDataBlock();
    return Reply::Valid;
}

// What a reply that will not do looked like, for the words of a failure.
ReplySeen TransferEngine::JudgeFailedReply() const
{
    if (replyStored_ == 0)
        return replyNoise_ ? ReplySeen::Noise : ReplySeen::Silent;
    // A short frame in place of a data block is how a read ends.
    if (replyLength_ == kDataFrameSize && ShortFrameIsEndOfData())
        return ReplySeen::Whole;
    const std::size_t length = replyStored_ >= kShortFrameSize && replyLength_ > kShortFrameSize &&
                                       HasValidCrc(std::span<const Byte>(reply_.data(), kShortFrameSize))
                                   ? kShortFrameSize
                                   : replyLength_;
    if (replyStored_ < length)
        return ReplySeen::Cut;
    const std::span<const Byte> frame(reply_.data(), length);
    if (!HasValidCrc(frame))
        return ReplySeen::BadCrc;
    return frame[1] == kSourceUnit ? ReplySeen::Other : ReplySeen::Echo;
}

void TransferEngine::StoreDataBlock()
{
    const auto data = std::span<const Byte>(reply_).subspan(kFrameHeaderSize, kBlockSize);
    if (mode_ == Mode::Config) {
        std::ranges::copy(data, buffer_.begin() + static_cast<std::ptrdiff_t>(packetNumber_ * kBlockSize));
    } else {
        std::ranges::copy(data, buffer_.begin() + static_cast<std::ptrdiff_t>(blockIndex_ * kBlockSize));
        if (++blockIndex_ == kBufferBlocks)
            blockIndex_ = 0;
    }
    ++packetNumber_;
    ++blocksReceived_;
}

// After a failed data reply: does what arrived start with a whole, sound short frame saying "no more"?
bool TransferEngine::ShortFrameIsEndOfData() const
{
    if (replyStored_ < kShortFrameSize)
        return false;
    const std::span<const Byte> frame(reply_.data(), kShortFrameSize);
    return HasValidCrc(frame) && FrameCommand(frame) == kCmdAcknowledge;
}

} // namespace veskar
