#pragma once

// Runs one transfer at a time between the program and the unit: link request
// (three attempts in each of two passes), the command, the data packets and
// the end-of-transfer frame, with the pauses and reply waits the unit expects.
//
// It never blocks. Its driver calls bytesArrived, writeFinished and timerFired;
// in return it writes, purges and arms the link's timer. Every wait is a
// deadline on the injected clock.

#include "database/Image.h"
#include "programming/LineDiagnosis.h"
#include "programming/LineTrace.h"
#include "programming/SerialLink.h"
#include "programming/TransferData.h"
#include "programming/TransferObserver.h"

#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace veskar {

// What stopping the running transfer now would leave behind.
enum class StopEffect {
    None,           // nothing is running, or everything has been delivered: Stop does nothing
    NothingChanged, // a read, or a write before any data has left: unit and files stay as they were
    LeavesPartial,  // a write that has sent data: the unit keeps part of the new data
};

// Why a Start call returned false.
enum class StartRefusal {
    None,
    Busy, // a transfer is already running
    File, // a file could not be opened or is not valid (the message box said so)
    Port, // the port could not be opened (the message box said so)
};

class TransferEngine {
  public:
    TransferEngine(SerialLink& link, const Clock& clock, TransferObserver& observer);
    ~TransferEngine();
    TransferEngine(const TransferEngine&) = delete;
    TransferEngine& operator=(const TransferEngine&) = delete;

    // Each returns false when the transfer did not start (see lastRefusal()).
    // The image must outlive the transfer.
    [[nodiscard]] bool StartConfigWrite(Image& image);
    // The image is replaced only when a whole valid configuration has arrived.
    [[nodiscard]] bool StartConfigRead(Image& image);
    // A missing source or sink is a file that could not be opened: refused with its message.
    [[nodiscard]] bool StartVocabWrite(std::unique_ptr<TransferSource> source);
    [[nodiscard]] bool StartVoiceWrite(std::unique_ptr<TransferSource> source);
    // Voices go to the sink as they arrive; at the end the observer chooses where they are kept.
    [[nodiscard]] bool StartVoiceRead(std::unique_ptr<VoiceSink> sink);

    [[nodiscard]] bool busy() const { return mode_ != Mode::Idle; }
    [[nodiscard]] StopEffect stopEffect() const;
    [[nodiscard]] bool stoppable() const { return stopEffect() != StopEffect::None; }
    // What a stop now leaves behind, in words for the user (empty when Stop does nothing).
    [[nodiscard]] std::string_view stopConsequence() const;
    // Ends the transfer as a failed one of its direction ends on the line: a
    // send still tells the unit it is over, a read keeps nothing it received.
    // Does nothing once everything has been delivered.
    void Stop();
    [[nodiscard]] StartRefusal lastRefusal() const { return refusal_; }

    // Shown every frame, purge and reply time-out from now on; nullptr for none.
    void setLineWatcher(LineWatcher* watcher) { watcher_ = watcher; }

    void bytesArrived(std::span<const Byte> bytes);
    void writeFinished();
    // May be called at any time; it only acts on deadlines that have passed.
    void timerFired();
    // The port failed for good (device removed, hung up): the transfer ends
    // now as a failed one, with nothing more written to the line.
    void lineLost(std::string_view why);

  private:
    enum class Mode { Idle, Config, Vocab, Voices };
    enum class Reply { Pending, Valid, Invalid };

    bool Begin(Mode mode, bool sending);
    bool Refuse(StartRefusal why);
    bool RefuseFile(std::string_view text);
    bool OpenPort();
    void Run();
    bool Step();
    bool StepSend(Tick now);
    bool StepReceive(Tick now);
    [[nodiscard]] int ReceiveTotal() const;
    // Shared by both machines: settle, link set-up, command, pauses and closing.
    bool StepCommon(Tick now, bool& handled);

    bool Wait(Tick deadline);
    bool Pause(Tick now, int next);
    void PauseThen(Tick now, int ms, int next);

    void Purge(unsigned flags);
    void Transmit(std::vector<Byte> frame, std::size_t replyLength, bool carriesData = false);
    void FrameLeft();
    void TransmitEndOfTransfer(std::optional<int> pauseAfter);
    Reply AwaitReply(Tick now, Byte expected);
    [[nodiscard]] bool ShortFrameIsEndOfData() const;
    void StoreDataBlock();

    void EndLost();
    void LinkFailed(Tick now);
    void Failed(std::string_view dialogText);
    void LineFailed(std::string_view dialogText);
    [[nodiscard]] ReplySeen JudgeFailedReply() const;
    Byte TransferCommand() const;
    [[nodiscard]] bool FillFromSource();
    void SourceFailed();
    void AppendToTemp(std::size_t blocks);
    void CloseFile();
    void RemoveTemp();
    void SaveVoices();
    void Finish();
    void ShowProgress(bool shown);
    void Activity(std::string_view text) { observer_.Activity(text); }
    void Status(std::string_view text) { observer_.Status(text); }

    SerialLink& link_;
    const Clock& clock_;
    TransferObserver& observer_;
    LineWatcher* watcher_ = nullptr;

    Mode mode_ = Mode::Idle;
    bool sending_ = true;
    int state_ = 0;
    int packetNumber_ = 0;
    int totalPackets_ = 0;
    int blocksReceived_ = 0;
    int retryCount_ = 0;
    bool secondPass_ = false;
    int countdown_ = 0;
    int blockIndex_ = 0;
    Tick deadline_ = 0;
    Tick wake_ = 0;
    TransferResult result_ = TransferResult::Failed;
    // A data frame of this write has left: the unit may hold part of the new data.
    bool dataLeft_ = false;
    // The dialog's status line already says how this failure ended.
    bool failureTold_ = false;
    // Why the port failed, until the machine has stopped on it.
    std::optional<std::string> lostWhy_;
    StartRefusal refusal_ = StartRefusal::None;
    bool progressShown_ = false;
    bool running_ = false;

    // The frame being written; nothing moves on until it has left or its time is up.
    std::vector<Byte> outFrame_;
    bool outCarriesData_ = false;
    bool writing_ = false;
    bool writeDone_ = false;
    Tick writeDeadline_ = 0;
    std::optional<int> pauseAfterWrite_;

    // Bytes that have arrived and not yet been taken into a reply.
    std::deque<Byte> input_;
    std::vector<Byte> reply_;
    std::size_t replyLength_ = 0;
    bool replyStarted_ = false;
    Tick replyDeadline_ = 0;
    std::size_t replyStored_ = 0;
    bool showReceiving_ = false;
    bool replyNoise_ = false; // bytes before any frame start during this wait
    LineCounts counts_;

    std::vector<Byte> buffer_; // ten 4096-byte blocks
    Image* image_ = nullptr;
    std::unique_ptr<TransferSource> source_;
    std::unique_ptr<VoiceSink> sink_;
    bool sinkFailed_ = false;
};

} // namespace veskar
