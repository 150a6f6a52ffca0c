// The simulated unit fed any bytes in any chunking, with any faults: it never
// fails, what it sends is whole frames (or, under noise, echo and cut, what
// those faults make of them), and its memory keeps its shape.

#include "FuzzCheck.h"
#include "programming/Frame.h"
#include "programming/unit/SimulatedUnit.h"

#include <algorithm>
#include <cstdint>
#include <span>

using namespace veskar;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const Byte faultBits = data[0];
    UnitFaults faults;
    faults.ignoreFirst = faultBits & 1 ? 1 : 0;
    faults.corruptReply = faultBits & 2 ? 2 : 0;
    faults.noise = (faultBits & 4) != 0;
    faults.echo = (faultBits & 8) != 0;
    faults.cutAfterBytes = faultBits & 16 ? 5000 : 0;
    faults.endOfDataAtPacket = faultBits & 32 ? 1 : -1;
    faults.wrongCommand = (faultBits & 64) != 0;
    const bool framesOnly = !faults.noise && !faults.echo && !faults.cutAfterBytes;

    // A small memory keeps each run quick; the shapes checked are the same.
    UnitMemory memory;
    memory.configuration.assign(kBlockSize, 0);
    memory.voices.assign(kBlockSize, 0x11);
    SimulatedUnit unit(memory, faults);
    std::span<const Byte> rest(data + 2, size - 2);
    const std::size_t chunk = 1 + data[1] % 64;
    while (!rest.empty()) {
        const std::size_t n = std::min(chunk, rest.size());
        const std::vector<Byte> reply = unit.receive(rest.first(n));
        rest = rest.subspan(n);
        if (framesOnly && !reply.empty()) {
            fuzz::Require(reply[0] == kFrameStart, "a reply starts a frame");
            fuzz::Require(reply.size() % kShortFrameSize == 0 || reply.size() % kDataFrameSize == 0 ||
                              reply.size() >= kShortFrameSize,
                          "replies are whole frames");
        }
        if (data[1] & 0x80)
            unit.lineIdle();
    }
    unit.lineDropped();
    fuzz::Require(memory.configuration.size() == kBlockSize, "one configuration block");
    fuzz::Require(memory.voices.size() % kBlockSize == 0 && memory.voices.size() <= kUnitVoiceBlocks * kBlockSize,
                  "voices in whole blocks, within the memory");
    fuzz::Require(memory.vocabulary.size() % kBlockSize == 0 &&
                      memory.vocabulary.size() <= kUnitVocabularyBlocks * kBlockSize,
                  "vocabulary in whole blocks, within the memory");
    return 0;
}
