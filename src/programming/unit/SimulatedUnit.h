#pragma once

// The unit's side of the serial protocol, as a pure byte-in/bytes-out model:
// a stand-in for the real unit in tests (in-process, on virtual time) and in
// the veskar-unit-sim program (on a pseudo-terminal).
//
// What it does with what it gets:
//   link request 0x89/0x88        acknowledge; any transfer in progress is dropped
//   write command 0x00/0x02/0x01  acknowledge; then each data frame 0x20 with data is
//                                 held and acknowledged, packet numbers in order from 0
//                                 (a repeat of the last one replaces it)
//   read command 0x40/0x41        acknowledge; then each request 0x20 for packet n is
//                                 answered by the data frame for block n, or by the
//                                 acknowledge when there is no block n
//   end of transfer 0x83          no answer; what a write delivered becomes the memory
// Frames with a bad CRC, an unknown command or a source other than the PC are
// dropped without answer; the parser picks up again at the next 0x16.

#include "database/Image.h"
#include "programming/LineTrace.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <vector>

namespace veskar {

// What goes wrong in the field. Counts are 1-based; 0 means "not set".
struct UnitFaults {
    bool silent = false;        // never answer
    int ignoreFirst = 0;        // drop the first N requests without answering
    int corruptReply = 0;       // corrupt the CRC of the Nth reply
    bool corruptEvery = false;  // corrupt the CRC of every reply
    bool noise = false;         // line noise before every reply; every third burst holds a frame start
    bool echo = false;          // echo every byte received
    long cutAfterBytes = 0;     // the line goes dead after N bytes from the unit
    int endOfDataAtPacket = -1; // answer the request for packet N with the acknowledge (-1: never)
    bool wrongCommand = false;  // answer with a valid frame carrying the wrong command
    int wrongCommandReply = 0;  // with wrongCommand: only the Nth reply (0: every reply)
    long slowReplyMs = 0;       // every reply leaves only this long after its request (the line's job)

    friend bool operator==(const UnitFaults&, const UnitFaults&) = default;
};

// Command of the short, valid frame the unit sends under the wrong-command fault;
// no frame of the protocol uses it.
inline constexpr Byte kWrongReplyCommand = 0x91;

// How much the unit holds, in 4096-byte blocks.
inline constexpr std::size_t kUnitVoiceBlocks = 500;
inline constexpr std::size_t kUnitVocabularyBlocks = 1024;

// The unit's memory. The configuration is one 4096-byte block as last written;
// voices are whole 4096-byte blocks; the vocabulary is whatever was last sent,
// in whole blocks.
struct UnitMemory {
    std::vector<Byte> configuration; // 4096 bytes
    std::vector<Byte> vocabulary;
    std::vector<Byte> voices; // a multiple of 4096 bytes

    [[nodiscard]] static UnitMemory Fresh(); // default configuration, a short voice recording
    [[nodiscard]] static std::vector<Byte> FreshConfiguration();
    [[nodiscard]] static std::vector<Byte> FreshVoices();

    friend bool operator==(const UnitMemory&, const UnitMemory&) = default;
};

class SimulatedUnit {
  public:
    explicit SimulatedUnit(UnitMemory& memory, UnitFaults faults = {});

    // Bytes written by the PC, in any chunking. Returns the bytes the unit sends back, in order.
    [[nodiscard]] std::vector<Byte> receive(std::span<const Byte> bytes);

    // Nothing came for a while: a half-received frame will not be completed.
    void lineIdle();

    // The PC side dropped the line: a half-received frame and any transfer in
    // progress are forgotten. Fault counters keep counting.
    void lineDropped();

    // Called for every complete frame either way (for traces and tests): frames
    // from the PC once they pass their CRC, frames from the unit as they go on
    // the line (faults applied, a cut frame as far as it got).
    std::function<void(FrameDirection, std::span<const Byte>)> onFrame;

    // Called after an end of transfer has put what a write delivered into the memory.
    std::function<void()> onStored;

  private:
    enum class Mode { Idle, WriteConfiguration, WriteVocabulary, WriteVoices, ReadConfiguration, ReadVoices };

    void step(Byte byte, std::vector<Byte>& out);
    void resynchronise();
    [[nodiscard]] std::size_t expectedLength() const;
    void handleFrame(std::span<const Byte> frame, std::vector<Byte>& out);
    void handleData(std::span<const Byte> frame, std::vector<Byte>& out);
    void handleRequest(std::uint16_t packet, std::vector<Byte>& out);
    void commit();
    void reply(std::vector<Byte> frame, std::vector<Byte>& out);
    void put(std::span<const Byte> bytes, std::vector<Byte>& out);
    [[nodiscard]] bool writing() const;

    UnitMemory& memory_;
    UnitFaults faults_;
    Mode mode_ = Mode::Idle;
    std::vector<Byte> frame_;  // the frame being received, from its 0x16
    std::deque<Byte> pending_; // bytes still to parse (refilled on resynchronisation)
    std::vector<Byte> staged_; // what the running write has delivered
    std::size_t stagedBlocks_ = 0;
    int requestsIgnored_ = 0;
    int repliesSent_ = 0;
    long bytesSent_ = 0;
    std::uint32_t noiseSeed_ = 0x2545F491U;
    long noiseBursts_ = 0;
};

} // namespace veskar
