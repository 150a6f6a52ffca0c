#include "ProtocolFloor.h"

#include "programming/Frame.h"

#include <sstream>

namespace veskar::bench {

namespace {

constexpr double kByteMs = 10.0 * 1000.0 / 38400.0;
// Pauses of a clean run: no retries, the port opened afresh.
constexpr double kSettleMs = 2000;
constexpr double kStepPauseMs = 50;
constexpr double kVoiceMemoryWaitMs = 10000;

}  // namespace

std::vector<TracedFrame> ParseTrace(const std::vector<std::string>& lines)
{
    std::vector<TracedFrame> frames;
    for (const std::string& line : lines) {
        std::istringstream words(line);
        std::string time;
        std::string side;
        words >> time >> side;
        std::vector<std::string> bytes;
        bool shortened = false;
        for (std::string word; words >> word;) {
            if (word == "...")
                shortened = true;
            else
                bytes.push_back(word);
        }
        if ((side != "PC" && side != "UNIT") || bytes.size() < kShortFrameSize)
            continue;
        TracedFrame frame;
        frame.fromPc = side == "PC";
        frame.command = static_cast<std::uint8_t>(std::stoi(bytes[2], nullptr, 16));
        frame.packetNumber = std::stoi(bytes[3], nullptr, 16) * 256 + std::stoi(bytes[4], nullptr, 16);
        frame.length = shortened ? kDataFrameSize : bytes.size();
        frames.push_back(frame);
    }
    return frames;
}

double FloorMilliseconds(const std::vector<TracedFrame>& frames, TransferKind kind, bool portWasOpen)
{
    double floor = portWasOpen ? 0 : kSettleMs;
    const TracedFrame* previousPc = nullptr;
    for (const TracedFrame& frame : frames) {
        floor += static_cast<double>(frame.length) * kByteMs;
        if (frame.fromPc && previousPc) {
            if (frame.command == kCmdEndOfTransfer && previousPc->command == kCmdData && kind != TransferKind::Read)
                floor += 2 * kStepPauseMs;  // after the last data packet, and before closing the file
            else if (kind == TransferKind::VoiceWrite && previousPc->command == kCmdData && previousPc->packetNumber == 0)
                floor += kVoiceMemoryWaitMs;
            else
                floor += kStepPauseMs;
        }
        if (frame.fromPc)
            previousPc = &frame;
    }
    // The progress window stays up after the end-of-transfer frame: one second
    // after a write, two after a read.
    floor += kind == TransferKind::Read ? 2000 : 1000;
    return floor;
}

}  // namespace veskar::bench
