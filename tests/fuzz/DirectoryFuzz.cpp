// The directory codec over any block: what it reads it can write back, and
// reading that again gives the same lines.

#include "FuzzCheck.h"
#include "directories/DirectoryCodec.h"

#include <algorithm>
#include <cstdint>

using namespace veskar;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    DirectoryBlock block{};
    std::copy_n(data, std::min(size, block.size()), block.begin());
    const LineTable table = ReadDirectory(block);
    fuzz::Require(DirectoryContentLength(block) <= block.size(), "content lies inside the block");

    DirectoryBlock written{};
    if (!WriteDirectory(table, written)) {
        fuzz::Require(DirectoryByteCount(table) > kMaxDirectoryBytes, "only a table that does not fit is refused");
        return 0;
    }
    fuzz::Require(ReadDirectory(written) == table, "decode, encode, decode is stable");
    DirectoryBlock rewritten{};
    fuzz::Require(WriteDirectory(ReadDirectory(written), rewritten) && rewritten == written,
                  "encoding what was encoded changes nothing");
    return 0;
}
