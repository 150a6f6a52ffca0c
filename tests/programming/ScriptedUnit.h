#pragma once

// A small stand-in for the unit with the faults the engine must survive,
// driven frame by frame (the virtual line hands over whole frames).

#include "programming/Frame.h"

#include <span>
#include <vector>

namespace veskar::testing {

struct ScriptedUnit {
    // Memory.
    std::vector<Byte> configuration = std::vector<Byte>(kBlockSize, 0);
    std::vector<Byte> voices;   // whole blocks to hand out on a voice read
    std::vector<Byte> received; // data blocks written to the unit, in order

    // Faults.
    int ignoreFirst = 0; // requests not answered at all
    bool silent = false;
    Byte ignoreCommand = 0xFF;   // never answer this command
    int corruptReply = 0;        // 1-based number of the reply whose CRC is spoiled
    bool corruptAllData = false; // every data frame has a bad CRC
    int endOfDataAt = -1;        // answer the request for this packet with the acknowledge
    bool wrongCommand = false;   // a sound short frame with command 0x91 in place of the answer

    int requests = 0;
    int replies = 0;
    Byte mode = 0;

    std::vector<Byte> operator()(std::span<const Byte> frame)
    {
        ++requests;
        const Byte command = frame[2];
        if (silent || requests <= ignoreFirst || command == ignoreCommand || command == kCmdEndOfTransfer)
            return {};
        std::vector<Byte> answer;
        if (command == kCmdData && frame.size() == kDataFrameSize) {
            received.insert(received.end(), frame.begin() + kFrameHeaderSize, frame.end() - 2);
            answer = Ack();
        } else if (command == kCmdData) {
            answer = DataFor(FramePacketNumber(frame));
        } else {
            mode = command;
            answer = Ack();
        }
        if (wrongCommand && command == kCmdData)
            answer = BuildFrame(kSourceUnit, 0x91, 0);
        if (++replies == corruptReply)
            answer.back() ^= 0xFF;
        return answer;
    }

    static std::vector<Byte> Ack() { return BuildFrame(kSourceUnit, kCmdAcknowledge, 0); }

    std::vector<Byte> DataFor(int packet)
    {
        if (packet == endOfDataAt)
            return Ack();
        std::span<const Byte> block;
        if (mode == kCmdReadConfig && packet == 0)
            block = configuration;
        else if (mode == kCmdReadVoices && static_cast<std::size_t>(packet + 1) * kBlockSize <= voices.size())
            block = std::span<const Byte>(voices).subspan(static_cast<std::size_t>(packet) * kBlockSize,
                                                          kBlockSize);
        else
            return Ack();
        std::vector<Byte> data = BuildFrame(kSourceUnit, kCmdData, static_cast<std::uint16_t>(packet), block);
        if (corruptAllData)
            data[100] ^= 0xFF;
        return data;
    }
};

} // namespace veskar::testing
