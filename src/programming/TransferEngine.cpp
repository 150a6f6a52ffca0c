#include "programming/TransferEngine.h"

#include "database/Defaults.h"
#include "programming/ConfigPreparation.h"
#include "programming/Frame.h"
#include "programming/TransferTexts.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace veskar {

namespace {

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

std::string Numbered(std::string_view text, int number)
{
    return std::string(text) + std::to_string(number);
}

} // namespace

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

// ---- Files and the end of a transfer ----

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

void TransferEngine::AppendToTemp(std::size_t blocks)
{
    if (!sink_ || !sink_->Append(std::span<const Byte>(buffer_).first(blocks * kBlockSize)))
        sinkFailed_ = true;
}

void TransferEngine::CloseFile()
{
    source_.reset();
}

void TransferEngine::RemoveTemp()
{
    sink_.reset();
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
