#include "programming/TransferEngine.h"

#include "database/Defaults.h"
#include "programming/Frame.h"
#include "programming/TransferSteps.h"
#include "programming/TransferTexts.h"

namespace veskar {

using namespace transfer;

// ---- Receiving: configuration, voices ----

// A voice read learns how many blocks the unit holds only when it says there
// are no more (or its memory is read to the end).
int TransferEngine::ReceiveTotal() const
{
    return mode_ == Mode::Voices && packetNumber_ < totalPackets_ ? 0 : totalPackets_;
}

bool TransferEngine::StepReceive(Tick now)
{
    switch (state_) {
    case kDataStart:
        retryCount_ = 0;
        packetNumber_ = 0;
        blockIndex_ = 0;
        Status("");
        observer_.PacketsDone(0, ReceiveTotal());
        state_ = kDataSend;
        return true;
    case kDataSend:
        Activity(Numbered(texts::kWaitingForPacket, packetNumber_ + 1));
        showReceiving_ = true;
        Purge(kPurgeRxAbort | kPurgeRxClear);
        Transmit(BuildFrame(kSourcePc, kCmdData, static_cast<std::uint16_t>(packetNumber_)), kDataFrameSize);
        state_ = kDataWait;
        return true;
    case kDataWait:
        switch (AwaitReply(now, kCmdData)) {
        case Reply::Pending: return Wait(replyDeadline_);
        case Reply::Valid: PauseThen(now, kStepPauseMs, kDataPause); return true;
        case Reply::Invalid: break;
        }
        if (ShortFrameIsEndOfData()) {
            packetNumber_ = totalPackets_;
            if (blocksReceived_ > 0) // the unit held fewer blocks than it might have
                observer_.PacketsDone(blocksReceived_, blocksReceived_);
            if (mode_ == Mode::Voices && blockIndex_ != 0)
                AppendToTemp(static_cast<std::size_t>(blockIndex_));
            state_ = kDone;
            return true;
        }
        // Anything else, a sound frame with another command included, is a failed attempt.
        if (++retryCount_ < kAttempts) {
            PauseThen(now, kRetryPauseMs, kDataRetryPause);
        } else {
            Activity(texts::kDataTransferFromUnit);
            LineFailed(Numbered(texts::kTransferFailedAtPacket, packetNumber_ + 1));
            PauseThen(now, kEndPauseMs, kEnd);
        }
        return true;
    case kDataNext:
        if (mode_ == Mode::Voices && blockIndex_ == 0)
            AppendToTemp(kBufferBlocks);
        Status(Numbered(texts::kReceivedPacket, packetNumber_));
        retryCount_ = 0;
        observer_.PacketsDone(packetNumber_, ReceiveTotal());
        if (packetNumber_ == totalPackets_) {
            if (mode_ == Mode::Voices && blockIndex_ != 0)
                AppendToTemp(static_cast<std::size_t>(blockIndex_));
            state_ = kDone;
        } else {
            state_ = kDataSend;
        }
        return true;
    case kDone:
        if (mode_ == Mode::Config) {
            if (blocksReceived_ == 0) {
                // "No more data" before any data: the unit has no configuration to give,
                // but it finished the exchange and waits for its closing frame.
                Activity(texts::kDataTransferFromUnit);
                Status(Numbered(texts::kTransferFailedAtPacket, 1));
                Failed(Numbered(texts::kTransferFailedAtPacket, 1));
                deadline_ = now + kEndPauseMs;
                TransmitEndOfTransfer(std::nullopt);
                state_ = kEnd;
                return true;
            }
            image_->assign(std::span<const Byte, kImageSize>(buffer_.data(), kImageSize));
            DefaultValues(*image_);
            observer_.ConfigurationRead();
            Activity(texts::kConfigurationRead);
            observer_.DialogStatus(texts::kConfigurationRead);
            Status(texts::kSuccess);
            result_ = TransferResult::Succeeded;
            deadline_ = now + kEndPauseMs;
            TransmitEndOfTransfer(std::nullopt);
            state_ = kEnd;
            return true;
        }
        if (sinkFailed_) {
            observer_.Message(texts::kCaptionFileError, MessageIcon::Exclamation,
                              texts::kCannotOpenVoiceTemp);
            Activity(texts::kVoiceTransferFailure);
            Failed(texts::kVoiceTransferFailure);
            Status("");
            TransmitEndOfTransfer(kVoiceFailurePauseMs);
            state_ = kEnd;
        } else if (blocksReceived_ == 0) {
            Activity(texts::kVoiceTransferFailure);
            Failed(texts::kVoiceTransferFailure);
            Status(texts::kNotEnoughVoiceData);
            TransmitEndOfTransfer(kVoiceFailurePauseMs);
            state_ = kEnd;
        } else {
            Activity(texts::kVoiceDataRead);
            observer_.DialogStatus(texts::kVoiceDataRead);
            Status(texts::kSuccess);
            deadline_ = now + kEndPauseMs;
            TransmitEndOfTransfer(std::nullopt);
            state_ = kAfterDone;
        }
        return true;
    case kAfterDone:
        if (!DeadlinePassed(now, deadline_))
            return Wait(deadline_);
        Activity(texts::kSelectFileForStorage);
        Status("");
        PauseThen(now, kEndPauseMs, kLast);
        return true;
    case kLast:
        SaveVoices();
        state_ = kClosing;
        return true;
    case kEnd:
        if (mode_ == Mode::Voices) {
            state_ = kClosing;
            return true;
        }
        if (!DeadlinePassed(now, deadline_))
            return Wait(deadline_);
        PauseThen(now, kEndPauseMs, kClosing);
        return true;
    default: break;
    }
    return false;
}

void TransferEngine::AppendToTemp(std::size_t blocks)
{
    if (!sink_ || !sink_->Append(std::span<const Byte>(buffer_).first(blocks * kBlockSize)))
        sinkFailed_ = true;
}

void TransferEngine::SaveVoices()
{
    ShowProgress(false);
    result_ = TransferResult::Cancelled;
    if (const std::optional<std::filesystem::path> target = observer_.ChooseVoiceSaveFile()) {
        if (sink_ && sink_->Keep(*target)) {
            result_ = TransferResult::Succeeded;
        } else {
            observer_.Message(texts::kCaptionFileError, MessageIcon::Exclamation,
                              texts::kCannotSaveVoiceFile);
            Failed(texts::kVoiceTransferFailure);
            result_ = TransferResult::Failed;
        }
    }
    RemoveTemp();
}

} // namespace veskar
