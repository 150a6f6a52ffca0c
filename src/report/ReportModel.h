#pragma once

// The summary as pages of text lines, with no device, font or toolkit type:
// the window, the printer, the PDF and the command line all draw this model.
// A page is 51 line slots (rows 0 to 50); its heading is on row 1, its title
// on row 3 and its body starts on row 5. A line's indent is the pen's x in
// screen pixels (10, 20 or 30); rows are in line heights.

#include "database/Image.h"

#include <string>
#include <vector>

namespace veskar {

enum class PageKind { Operators, System, Directories, Warnings };

inline constexpr int kPageRows = 51; // a line feed past row 50 ends the page
inline constexpr int kLastPageRow = 50;
inline constexpr int kFirstBodyRow = 5; // after the heading, the title and their blank lines
inline constexpr int kMarginX = 10;
inline constexpr int kIndentStepX = 10;

struct ReportLine {
    int row;
    int x;
    std::string text; // UTF-8; never empty (blank rows hold no line)

    friend bool operator==(const ReportLine&, const ReportLine&) = default;
};

struct ReportPage {
    PageKind kind;
    int index;     // within its kind, from 0
    int firstItem; // operator (0-15), directory (0-3) or warning line number at the top of the body
    int rows;      // rows the page takes, blank rows at its end included
    std::vector<ReportLine> lines;

    [[nodiscard]] const ReportLine* lineAt(int row) const;
};

// Every page of one kind, in order; a kind always has at least one page.
[[nodiscard]] std::vector<ReportPage> BuildPages(const Image& image, PageKind kind);

// The pages a print or an export of `kinds` gives, kind after kind.
[[nodiscard]] std::vector<ReportPage> BuildPages(const Image& image, const std::vector<PageKind>& kinds);

} // namespace veskar
