#pragma once

// Images for the report tests: a new configuration, and one that gives no
// warning at all, for cases that add exactly one fault.

#include "database/Codes.h"
#include "database/Defaults.h"
#include "database/Image.h"

#include <algorithm>
#include <string_view>

namespace veskar::test {

// Stored bytes of a directory; the rest of the block is zero.
inline void SetDirectory(Image& image, int directory, std::string_view bytes)
{
    DirectoryBlock& block = image.dir[static_cast<std::size_t>(directory)];
    block.fill(0);
    std::ranges::copy(bytes, block.begin());
}

inline Image NewImage()
{
    Image image{};
    CreateDatabase(image);
    return image;
}

// An Access Code and a seven-digit telephone number ("0123456" as stored).
inline Image CleanImage()
{
    Image image = NewImage();
    image.gen.accessCode = CodeFromText("9876");
    SetDirectory(image, 0, "P:123456&");
    return image;
}

} // namespace veskar::test
