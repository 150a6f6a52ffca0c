// Frames and their CRC: a frame built from any fields passes its check, any
// single changed byte fails it, and any bytes at all can be checked.

#include "FuzzCheck.h"
#include "programming/Frame.h"

#include <cstdint>
#include <span>
#include <vector>

using namespace veskar;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const Byte> input(data, size);
    if (input.size() >= 2)
        (void)HasValidCrc(input);
    if (input.size() < 4)
        return 0;

    const Byte command = input[1];
    const auto packet = static_cast<std::uint16_t>(input[2] << 8 | input[3]);
    std::vector<Byte> block;
    if (command == kCmdData && input.size() >= 4 + kBlockSize)
        block.assign(input.begin() + 4, input.begin() + 4 + kBlockSize);
    std::vector<Byte> frame = BuildFrame(input[0] & 1, command, packet, block);
    fuzz::Require(frame.size() == (block.empty() ? kShortFrameSize : kDataFrameSize), "frame length");
    fuzz::Require(frame[0] == kFrameStart && HasValidCrc(frame), "a built frame passes its check");
    fuzz::Require(FramePacketNumber(frame) == (command == kCmdData ? packet : 0), "packet number only in data frames");

    const std::size_t at = (static_cast<std::size_t>(input[0]) * 31 + input[1]) % frame.size();
    frame[at] ^= static_cast<Byte>(input[input.size() - 1] | 1);
    fuzz::Require(!HasValidCrc(frame), "a changed byte fails the check");
    return 0;
}
