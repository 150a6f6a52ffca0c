#pragma once

// Cutting a kind's body into pages. A block (an operator, a directory, a
// warning line) moves to a fresh page when its lines would run past the last
// row; a block longer than a whole page starts where it is and continues on
// the next, so nothing is ever cut off.

#include "report/ReportModel.h"

#include <string>
#include <vector>

namespace veskar {

struct BodyLine {
    int x;
    std::string text; // empty: a blank row
};

struct Block {
    int item;
    std::vector<BodyLine> lines;
    int gapAfter; // blank rows after the block, not needed on its page
};

[[nodiscard]] std::vector<ReportPage> Paginate(PageKind kind, const std::vector<Block>& blocks);

// Text of the image as the report shows it: Latin-1 bytes as UTF-8, control
// bytes as "?", so a crafted file cannot send terminal escapes to a console.
[[nodiscard]] std::string ShownText(std::string_view bytes);

// The body blocks of each kind.
[[nodiscard]] std::vector<Block> OperatorBlocks(const Image& image);
[[nodiscard]] std::vector<Block> SystemBlocks(const Image& image);
[[nodiscard]] std::vector<Block> DirectoryBlocks(const Image& image);
[[nodiscard]] std::vector<Block> WarningBlocks(const Image& image);

} // namespace veskar
