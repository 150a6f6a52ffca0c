#include "programming/TransferEngine.h"

#include "programming/Frame.h"
#include "programming/TransferSteps.h"
#include "programming/TransferTexts.h"

namespace veskar {

using namespace transfer;

// ---- Sending: configuration, vocabulary, voices ----

bool TransferEngine::StepSend(Tick now)
{
    switch (state_) {
    case kDataStart:
        retryCount_ = 0;
        packetNumber_ = 0;
        blockIndex_ = kBufferBlocks;
        observer_.PacketsDone(0, totalPackets_);
        state_ = kDataSend;
        return true;
    case kDataSend: {
        std::span<const Byte> block;
        if (mode_ == Mode::Config) {
            block = std::span<const Byte>(buffer_).subspan(
                static_cast<std::size_t>(packetNumber_) * kBlockSize, kBlockSize);
        } else {
            if (blockIndex_ == kBufferBlocks && !FillFromSource()) {
                SourceFailed();
                return true;
            }
            block = std::span<const Byte>(buffer_).subspan(static_cast<std::size_t>(blockIndex_) * kBlockSize,
                                                           kBlockSize);
        }
        Activity(Numbered(texts::kTransmittingPacket, packetNumber_ + 1) + std::string(texts::kOf) +
                 std::to_string(totalPackets_));
        Status("");
        Purge(kPurgeRxAbort);
        // A late acknowledge of an earlier attempt must not count for this one.
        input_.clear();
        Transmit(BuildFrame(kSourcePc, kCmdData, static_cast<std::uint16_t>(packetNumber_), block),
                 kShortFrameSize, true);
        state_ = kDataWait;
        return true;
    }
    case kDataWait:
        switch (AwaitReply(now, kCmdAcknowledge)) {
        case Reply::Pending: return Wait(replyDeadline_);
        case Reply::Valid:
            observer_.PacketsDone(packetNumber_ + 1, totalPackets_);
            if (mode_ == Mode::Voices && packetNumber_ == 0) {
                // The unit clears its voice memory after the first block.
                Activity(texts::kWaitingForVoiceMemory);
                countdown_ = kVoiceMemorySeconds;
                Status(Numbered("", countdown_) + std::string(texts::kSecondsRemaining));
                PauseThen(now, 1000, kVoiceMemoryWait);
            } else {
                PauseThen(now, kStepPauseMs, kDataPause);
            }
            return true;
        case Reply::Invalid:
            ++retryCount_;
            Status(Numbered(texts::kNoResponseRetry, retryCount_));
            if (retryCount_ < kAttempts) {
                PauseThen(now, kRetryPauseMs, kDataRetryPause);
            } else {
                CloseFile();
                LineFailed(mode_ == Mode::Vocab ? texts::kVocabFailed : texts::kCheckConnection);
                state_ = kEnd;
            }
            return true;
        }
        return true;
    case kVoiceMemoryWait:
        if (!DeadlinePassed(now, deadline_))
            return Wait(deadline_);
        // Told every second, so the time spent runs on; the pace of the packets
        // starts again from the last of these.
        observer_.PacketsDone(packetNumber_ + 1, totalPackets_);
        if (--countdown_ < 1) {
            state_ = kDataPause;
        } else {
            deadline_ = now + 1000;
            Status(Numbered("", countdown_) + std::string(texts::kSecondsRemaining));
        }
        return true;
    case kDataNext:
        ++packetNumber_;
        ++blockIndex_;
        if (packetNumber_ == totalPackets_) {
            PauseThen(now, kStepPauseMs, kDone);
        } else {
            retryCount_ = 0;
            state_ = kDataSend;
        }
        return true;
    case kDone: return Pause(now, kAfterDone);
    case kAfterDone:
        CloseFile();
        state_ = kLast;
        return true;
    case kLast:
        switch (mode_) {
        case Mode::Config:
            Status(texts::kDatabaseTransferred);
            observer_.DialogStatus(texts::kDatabaseTransferred);
            break;
        case Mode::Vocab:
            Status(texts::kVocabTransferred);
            observer_.DialogStatus(texts::kVocabSuccess);
            break;
        case Mode::Voices:
            Status(texts::kVoicesTransferred);
            observer_.DialogStatus(texts::kVoicesTransferred);
            break;
        case Mode::Idle: break;
        }
        Activity(texts::kSuccess);
        result_ = TransferResult::Succeeded;
        state_ = kEnd;
        return true;
    case kEnd:
        // Every send that got the port ends by telling the unit, success or not.
        TransmitEndOfTransfer(kEndPauseMs);
        state_ = kClosing;
        return true;
    default: break;
    }
    return false;
}

// The next ten blocks of the source; past its end the blocks are zero.
bool TransferEngine::FillFromSource()
{
    blockIndex_ = 0;
    return source_ && source_->Read(buffer_);
}

// A file that fails mid-way is a failed send, closed on the wire as one.
void TransferEngine::SourceFailed()
{
    CloseFile();
    observer_.Message(texts::kCaptionFileError, MessageIcon::Exclamation,
                      mode_ == Mode::Vocab ? texts::kCannotReadVocab : texts::kCannotReadVoiceFile);
    Failed(mode_ == Mode::Vocab ? texts::kVocabFailed : texts::kVoiceTransferFailure);
    state_ = kEnd;
}

} // namespace veskar
