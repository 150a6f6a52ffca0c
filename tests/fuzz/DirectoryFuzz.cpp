// The directory codec over any block. What the window shows of a block it
// shows whole writes back with nothing lost or added (a stray byte in a digit
// value may come back as the digit it shows); any block read and written once
// reads and writes the same from then on.

#include "FuzzCheck.h"
#include "directories/DirectoryCodec.h"
#include "directories/DirectoryEditing.h"

#include <algorithm>
#include <cstdint>

using namespace veskar;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    DirectoryBlock block{};
    std::copy_n(data, std::min(size, block.size()), block.begin());
    fuzz::Require(DirectoryContentLength(block) <= block.size(), "content lies inside the block");
    const LineTable read = ReadDirectory(block);

    if (UnshownEntries(block).empty()) {
        // A full block whose last line lacks its end mark needs one byte more
        // than it has: refused, and the block stays as it was.
        const LineTable shown = ReadForWindow(block);
        DirectoryBlock written{};
        if (WriteDirectory(shown, written)) {
            fuzz::Require(DirectoryByteCount(ReadDirectory(written)) == DirectoryByteCount(read),
                          "what the window shows keeps every line, command and character");
        } else {
            fuzz::Require(DirectoryByteCount(shown) + 1 > static_cast<int>(block.size()),
                          "only what does not fit is refused");
        }
    }

    DirectoryBlock once{};
    if (!WriteDirectory(read, once)) {
        fuzz::Require(DirectoryByteCount(read) > kMaxDirectoryBytes, "only a table that does not fit is refused");
        return 0;
    }
    const LineTable settled = ReadDirectory(once);
    DirectoryBlock twice{};
    fuzz::Require(WriteDirectory(settled, twice) && twice == once, "encode, decode, encode is stable");
    fuzz::Require(ReadDirectory(twice) == settled, "decode, encode, decode is stable");
    return 0;
}
