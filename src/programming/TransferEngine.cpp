#include "programming/TransferEngine.h"

#include "programming/ConfigPreparation.h"
#include "programming/Frame.h"
#include "programming/TransferSteps.h"
#include "programming/TransferTexts.h"

#include <algorithm>

namespace veskar {

using namespace transfer;

TransferEngine::TransferEngine(SerialLink& link, const Clock& clock, TransferObserver& observer)
    : link_(link), clock_(clock), observer_(observer), reply_(kDataFrameSize), buffer_(kBufferSize)
{
}

// Going away mid-transfer sends nothing more; the unit has its own time-outs.
TransferEngine::~TransferEngine()
{
    CloseFile();
    RemoveTemp();
}

// ---- Starting ----

bool TransferEngine::Refuse(StartRefusal why)
{
    refusal_ = why;
    CloseFile();
    RemoveTemp();
    mode_ = Mode::Idle;
    return false;
}

bool TransferEngine::RefuseFile(std::string_view text)
{
    observer_.Message(texts::kCaptionFileError, MessageIcon::Exclamation, text);
    return Refuse(StartRefusal::File);
}

bool TransferEngine::Begin(Mode mode, bool sending)
{
    if (busy()) {
        refusal_ = StartRefusal::Busy;
        return false;
    }
    refusal_ = StartRefusal::None;
    mode_ = mode;
    sending_ = sending;
    state_ = kOpen;
    packetNumber_ = 0;
    blocksReceived_ = 0;
    retryCount_ = 0;
    secondPass_ = false;
    blockIndex_ = 0;
    result_ = TransferResult::Failed;
    lostWhy_.reset();
    counts_ = LineCounts();
    dataLeft_ = false;
    failureTold_ = false;
    writing_ = false;
    replyStarted_ = false;
    pauseAfterWrite_.reset();
    input_.clear();
    sinkFailed_ = false;
    observer_.DialogStatus("");
    return true;
}

bool TransferEngine::StartConfigWrite(Image& image)
{
    if (!Begin(Mode::Config, true))
        return false;
    totalPackets_ = 1;
    PrepareForSending(image, CodesPresent(image.gen), PhonePresent(image));
    image_ = &image;
    return OpenPort();
}

bool TransferEngine::StartConfigRead(Image& image)
{
    if (!Begin(Mode::Config, false))
        return false;
    totalPackets_ = 1;
    image_ = &image;
    return OpenPort();
}

bool TransferEngine::StartVocabWrite(std::unique_ptr<TransferSource> source)
{
    if (!Begin(Mode::Vocab, true))
        return false;
    source_ = std::move(source);
    if (!source_)
        return RefuseFile(texts::kCannotOpenVocab);
    // An empty vocabulary would still erase every voice on the unit.
    const std::uintmax_t size = source_->size();
    if (size == 0)
        return RefuseFile(texts::kVocabNotValid);
    if (size / kBlockSize + 1 > kMaxPacketNumber)
        return RefuseFile(texts::kVocabTooLarge);
    totalPackets_ = static_cast<int>(size / kBlockSize + 1);
    return OpenPort();
}

bool TransferEngine::StartVoiceWrite(std::unique_ptr<TransferSource> source)
{
    if (!Begin(Mode::Voices, true))
        return false;
    source_ = std::move(source);
    if (!source_)
        return RefuseFile(texts::kCannotOpenVoiceFile);
    // An empty file would never reach its last packet; packet numbers are 16 bits.
    const std::uintmax_t size = source_->size();
    if (size == 0 || size % kBlockSize != 0 || size / kBlockSize > kMaxPacketNumber)
        return RefuseFile(texts::kVoiceFileNotValid);
    totalPackets_ = static_cast<int>(size / kBlockSize);
    return OpenPort();
}

bool TransferEngine::StartVoiceRead(std::unique_ptr<VoiceSink> sink)
{
    if (!Begin(Mode::Voices, false))
        return false;
    sink_ = std::move(sink);
    if (!sink_)
        return RefuseFile(texts::kCannotOpenVoiceTemp);
    totalPackets_ = kVoiceReadPackets;
    return OpenPort();
}

bool TransferEngine::OpenPort()
{
    ShowProgress(true);
    showReceiving_ = false;
    if (link_.isOpen()) {
        state_ = kLinkStart;
    } else {
        std::string whyNot;
        if (!link_.open(whyNot)) {
            std::string text(texts::kErrorOpeningPort);
            if (!whyNot.empty())
                text += "\n" + whyNot;
            observer_.Message(texts::kCaptionNone, MessageIcon::None, text);
            ShowProgress(false);
            return Refuse(StartRefusal::Port);
        }
        deadline_ = clock_.now() + kSettleMs;
        state_ = kSettle;
    }
    Run();
    return true;
}

// ---- Stopping ----

StopEffect TransferEngine::stopEffect() const
{
    if (!busy() || result_ == TransferResult::Stopped)
        return StopEffect::None;
    const bool running = state_ < kDone || state_ == kSettle || state_ == kVoiceMemoryWait;
    if (!running)
        return StopEffect::None;
    if (!sending_)
        return StopEffect::NothingChanged;
    // Once the unit has taken the last packet, a stop would only spoil a finished write.
    const bool lastPacketTaken = (state_ == kDataPause || state_ == kDataNext || state_ == kVoiceMemoryWait) &&
                                 packetNumber_ + 1 == totalPackets_;
    if (lastPacketTaken)
        return StopEffect::None;
    return dataLeft_ ? StopEffect::LeavesPartial : StopEffect::NothingChanged;
}

std::string_view TransferEngine::stopConsequence() const
{
    switch (stopEffect()) {
    case StopEffect::None: return {};
    case StopEffect::NothingChanged: return texts::kStopChangesNothing;
    case StopEffect::LeavesPartial: break;
    }
    switch (mode_) {
    case Mode::Vocab: return texts::kStopLeavesVocabPartial;
    case Mode::Voices: return texts::kStopLeavesVoicesPartial;
    case Mode::Config:
    case Mode::Idle: break;
    }
    return texts::kStopLeavesConfigPartial;
}

void TransferEngine::Stop()
{
    const StopEffect effect = stopEffect();
    if (effect == StopEffect::None)
        return;
    std::string_view said = texts::kTransferStopped;
    if (!sending_)
        said = texts::kReadStopped;
    else if (effect == StopEffect::LeavesPartial)
        said = mode_ == Mode::Vocab    ? texts::kStoppedVocabPartial
               : mode_ == Mode::Voices ? texts::kStoppedVoicesPartial
                                       : texts::kStoppedConfigPartial;
    result_ = TransferResult::Stopped;
    Activity(said);
    Status("");
    observer_.DialogStatus(said);
    if (sending_)
        CloseFile();
    // A frame still going out is cut short, so the unit drops it as a bad frame.
    if (writing_) {
        Purge(kPurgeTxClear | kPurgeRxClear);
        writing_ = false;
        pauseAfterWrite_.reset();
    }
    deadline_ = clock_.now();
    state_ = kEnd;
    Run();
}

// ---- Events ----

void TransferEngine::bytesArrived(std::span<const Byte> bytes)
{
    if (!busy())
        return;
    input_.insert(input_.end(), bytes.begin(), bytes.end());
    Run();
}

void TransferEngine::writeFinished()
{
    if (writing_)
        writeDone_ = true;
    Run();
}

void TransferEngine::timerFired()
{
    Run();
}

void TransferEngine::lineLost(std::string_view why)
{
    if (!busy())
        return;
    lostWhy_ = why;
    Run();
}

void TransferEngine::EndLost()
{
    const std::string why = *lostWhy_;
    lostWhy_.reset();
    // A write has not taken effect until its end-of-transfer frame is out.
    const bool endSent = state_ == kClosing && !writing_;
    if (result_ == TransferResult::Succeeded && sending_ && !endSent)
        result_ = TransferResult::Failed;
    writing_ = false;
    input_.clear();
    link_.close();
    if (result_ == TransferResult::Failed) {
        std::string text(texts::kCheckConnection);
        text += "\n";
        text += texts::kPortWentAway;
        text += why.empty() ? std::string(".") : ": " + std::string(why);
        Failed(text);
    }
    Finish();
}

// Steps until the machine has to wait for an event. A step that shows a
// modal window may see events arrive underneath it; they only queue up here.
void TransferEngine::Run()
{
    if (running_)
        return;
    running_ = true;
    while (busy()) {
        if (lostWhy_) {
            EndLost();
            break;
        }
        if (!Step())
            break;
    }
    running_ = false;
    if (busy())
        link_.armTimer(wake_ + 1);
}

bool TransferEngine::Wait(Tick deadline)
{
    wake_ = deadline;
    return false;
}

bool TransferEngine::Pause(Tick now, int next)
{
    if (!DeadlinePassed(now, deadline_))
        return Wait(deadline_);
    state_ = next;
    return true;
}

void TransferEngine::PauseThen(Tick now, int ms, int next)
{
    deadline_ = now + static_cast<Tick>(ms);
    state_ = next;
}

bool TransferEngine::Step()
{
    Tick now = clock_.now();
    if (writing_) {
        if (!writeDone_ && !DeadlinePassed(now, writeDeadline_))
            return Wait(writeDeadline_);
        // A write that never reports back counts as sent; the missing reply shows the loss.
        writing_ = false;
        FrameLeft();
        if (pauseAfterWrite_)
            deadline_ = now + static_cast<Tick>(*pauseAfterWrite_);
        pauseAfterWrite_.reset();
    }
    bool handled = false;
    const bool progressed = StepCommon(now, handled);
    if (handled)
        return progressed;
    return sending_ ? StepSend(now) : StepReceive(now);
}

// ---- Writing and receiving frames ----

void TransferEngine::Purge(unsigned flags)
{
    link_.purge(flags);
    if (watcher_)
        watcher_->Purged(flags);
    if (flags & kPurgeRxClear)
        input_.clear();
}

void TransferEngine::Transmit(std::vector<Byte> frame, std::size_t replyLength, bool carriesData)
{
    outFrame_ = std::move(frame);
    outCarriesData_ = carriesData;
    replyLength_ = replyLength;
    replyStarted_ = false;
    writing_ = true;
    writeDone_ = false;
    writeDeadline_ = clock_.now() + static_cast<Tick>(outFrame_.size() + kWriteSlackMs);
    link_.write(outFrame_);
    if (watcher_)
        watcher_->Sent(outFrame_);
}

// The first data frame of a write to leave is the moment the unit may change.
void TransferEngine::FrameLeft()
{
    if (!outCarriesData_ || dataLeft_)
        return;
    dataLeft_ = true;
    if (mode_ == Mode::Config) {
        Image sent{};
        sent.assign(std::span<const Byte, kImageSize>(buffer_.data(), kImageSize));
        observer_.ConfigurationDelivered(sent);
    }
}

void TransferEngine::TransmitEndOfTransfer(std::optional<int> pauseAfter)
{
    Transmit(BuildFrame(kSourcePc, kCmdEndOfTransfer, 0), 0);
    pauseAfterWrite_ = pauseAfter;
}

// ---- The states both machines share ----

Byte TransferEngine::TransferCommand() const
{
    switch (mode_) {
    case Mode::Config: return sending_ ? kCmdWriteConfig : kCmdReadConfig;
    case Mode::Vocab: return kCmdWriteVocab;
    case Mode::Voices: return sending_ ? kCmdWriteVoices : kCmdReadVoices;
    case Mode::Idle: break;
    }
    return kCmdEndOfTransfer;
}

void TransferEngine::Failed(std::string_view dialogText)
{
    observer_.DialogStatus(dialogText);
    failureTold_ = true;
}

// A failure of the line: the text is followed by what the line showed.
void TransferEngine::LineFailed(std::string_view dialogText)
{
    std::string text(dialogText);
    if (const std::string diagnosis = counts_.Diagnosis(); !diagnosis.empty())
        text += "\n" + diagnosis;
    Status(text);
    Failed(text);
}

void TransferEngine::LinkFailed(Tick now)
{
    ++retryCount_;
    Status(Numbered(texts::kNoResponseRetry, retryCount_));
    if (!sending_)
        Purge(kPurgeRxAbort | kPurgeRxClear);
    if (retryCount_ < kAttempts) {
        PauseThen(now, kRetryPauseMs, kLinkRetryPause);
    } else if (!secondPass_) {
        secondPass_ = true;
        retryCount_ = 0;
        Status(texts::kStartingSecondPass);
        observer_.DialogStatus(texts::kStartingSecondPass);
        if (mode_ == Mode::Vocab)
            totalPackets_ = kSecondPassVocabPackets;
        PauseThen(now, kRetryPauseMs, kLinkRetryPause);
    } else {
        CloseFile();
        if (mode_ == Mode::Vocab) {
            Status(texts::kCheckConnection);
            LineFailed(texts::kVocabFailedNoComms);
        } else {
            LineFailed(texts::kCheckConnection);
        }
        state_ = kEnd;
    }
}

bool TransferEngine::StepCommon(Tick now, bool& handled)
{
    handled = true;
    switch (state_) {
    case kSettle: return Pause(now, kLinkStart);
    case kLinkStart:
        retryCount_ = 0;
        secondPass_ = false;
        Activity(texts::kSettingUpLink);
        state_ = kLinkSend;
        return true;
    case kLinkSend: {
        Purge(sending_ ? kPurgeRxAbort | kPurgeRxClear : kPurgeRxClear);
        Transmit(BuildFrame(kSourcePc, secondPass_ ? kCmdLinkSecondPass : kCmdLinkFirstPass, 0),
                 kShortFrameSize);
        state_ = kLinkWait;
        return true;
    }
    case kLinkWait:
        switch (AwaitReply(now, kCmdAcknowledge)) {
        case Reply::Pending: return Wait(replyDeadline_);
        case Reply::Valid: PauseThen(now, kStepPauseMs, kLinkPause); return true;
        case Reply::Invalid: LinkFailed(now); return true;
        }
        return true;
    case kLinkRetryPause: return Pause(now, kLinkSend);
    case kLinkPause:
        if (!DeadlinePassed(now, deadline_))
            return Wait(deadline_);
        if (sending_ && mode_ == Mode::Config) {
            SetPlusDefaults(image_->gen);
            std::ranges::copy(image_->bytes(), buffer_.begin());
            std::fill(buffer_.begin() + kImageSize, buffer_.begin() + kBlockSize, Byte{0});
        }
        state_ = kCommandStart;
        return true;
    case kCommandStart:
        retryCount_ = 0;
        state_ = kCommandSend;
        return true;
    case kCommandSend:
        Purge(kPurgeRxAbort | kPurgeRxClear);
        Transmit(BuildFrame(kSourcePc, TransferCommand(), 0), kShortFrameSize);
        state_ = kCommandWait;
        return true;
    case kCommandWait:
        switch (AwaitReply(now, kCmdAcknowledge)) {
        case Reply::Pending: return Wait(replyDeadline_);
        case Reply::Valid: PauseThen(now, kStepPauseMs, kCommandPause); return true;
        case Reply::Invalid:
            if (++retryCount_ < kAttempts) {
                PauseThen(now, kRetryPauseMs, kCommandRetryPause);
            } else {
                CloseFile();
                LineFailed(mode_ == Mode::Vocab ? texts::kVocabFailed : texts::kCheckConnection);
                state_ = kEnd;
            }
            return true;
        }
        return true;
    case kCommandRetryPause: return Pause(now, kCommandSend);
    case kCommandPause: return Pause(now, kDataStart);
    case kDataRetryPause: return Pause(now, kDataSend);
    case kDataPause: return Pause(now, kDataNext);
    case kClosing:
        if (!DeadlinePassed(now, deadline_))
            return Wait(deadline_);
        Purge(kPurgeRxClear | kPurgeTxClear);
        Finish();
        return true;
    default: handled = false; return false;
    }
}

// ---- The end of a transfer ----

void TransferEngine::CloseFile()
{
    source_.reset();
}

void TransferEngine::RemoveTemp()
{
    sink_.reset();
}


void TransferEngine::ShowProgress(bool shown)
{
    if (progressShown_ == shown)
        return;
    progressShown_ = shown;
    observer_.ProgressShown(shown);
}

void TransferEngine::Finish()
{
    // The status line says a transfer failed, never just how many tries it took.
    if (result_ == TransferResult::Failed && !failureTold_)
        LineFailed(texts::kCheckConnection);
    CloseFile();
    RemoveTemp();
    ShowProgress(false);
    mode_ = Mode::Idle;
    state_ = kOpen;
    image_ = nullptr;
    observer_.TransferEnded(result_);
}

} // namespace veskar
