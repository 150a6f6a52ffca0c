#pragma once

// The unit's side of the serial protocol, as a pure byte-in/bytes-out model:
// a stand-in for the real unit in tests (in-process, on virtual time) and in
// the veskar-unit-sim program (on a pseudo-terminal).

#include "database/Image.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace veskar {

// What goes wrong in the field. Counts are 1-based; 0 means "not set".
struct UnitFaults {
    bool silent = false;              // never answer
    int ignoreFirst = 0;              // drop the first N requests without answering
    int corruptReply = 0;             // corrupt the CRC of the Nth reply
    bool noise = false;               // line noise before every reply
    bool echo = false;                // echo every byte received
    long cutAfterBytes = 0;           // the line goes dead after N bytes from the unit
    int endOfDataAtPacket = -1;       // answer the request for packet N with the acknowledge (-1: never)
    bool wrongCommand = false;        // answer with a valid frame carrying the wrong command
};

// The unit's memory. The configuration is one 4096-byte block as last written;
// voices are whole 4096-byte blocks; the vocabulary is whatever was last sent.
struct UnitMemory {
    std::vector<Byte> configuration;  // 4096 bytes
    std::vector<Byte> vocabulary;
    std::vector<Byte> voices;         // a multiple of 4096 bytes

    [[nodiscard]] static UnitMemory Fresh();  // default configuration, a short voice recording
};

enum class FrameDirection { FromPc, FromUnit };

class SimulatedUnit {
public:
    explicit SimulatedUnit(UnitMemory& memory, UnitFaults faults = {});

    // Bytes written by the PC, in any chunking. Returns the bytes the unit sends back, in order.
    [[nodiscard]] std::vector<Byte> receive(std::span<const Byte> bytes);

    // Called for every complete frame either way (for traces and tests).
    std::function<void(FrameDirection, std::span<const Byte>)> onFrame;
};

}  // namespace veskar
