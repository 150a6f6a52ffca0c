#include "report/Paging.h"

#include "report/ReportTexts.h"

#include <algorithm>

namespace veskar {

namespace {

constexpr int kHeadingRow = 1;
constexpr int kTitleRow = 3;

std::string Title(PageKind kind, int index)
{
    const std::string number = std::to_string(index + 1);
    switch (kind) {
    case PageKind::Operators: return std::string(kOperatorTitle);
    case PageKind::System: return std::string(kSystemTitle);
    case PageKind::Directories: return std::string(kDirectoryTitle) + number;
    case PageKind::Warnings: return std::string(kWarningsTitle) + number;
    }
    return {};
}

} // namespace

std::vector<ReportPage> Paginate(PageKind kind, const std::vector<Block>& blocks)
{
    std::vector<ReportPage> pages;
    int row = kFirstBodyRow;
    auto newPage = [&](int item) {
        const int index = static_cast<int>(pages.size());
        pages.push_back(ReportPage{kind,
                                   index,
                                   item,
                                   kFirstBodyRow,
                                   {ReportLine{kHeadingRow, kMarginX, std::string(kReportHeading)},
                                    ReportLine{kTitleRow, kMarginX, Title(kind, index)}}});
        row = kFirstBodyRow;
    };

    newPage(blocks.empty() ? 0 : blocks.front().item);
    for (const Block& block : blocks) {
        const int needed = static_cast<int>(block.lines.size());
        const bool fitsAPage = needed <= kPageRows - kFirstBodyRow;
        if (row > kFirstBodyRow && row + needed - 1 > kLastPageRow && fitsAPage)
            newPage(block.item);
        for (const BodyLine& line : block.lines) {
            if (row > kLastPageRow)
                newPage(block.item);
            if (!line.text.empty())
                pages.back().lines.push_back(ReportLine{row, line.x, line.text});
            pages.back().rows = ++row;
        }
        row += block.gapAfter;
        pages.back().rows = std::min(row, kPageRows);
    }
    return pages;
}

std::string ShownText(std::string_view bytes)
{
    std::string shown;
    shown.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || (byte >= 0x7F && byte < 0xA0)) {
            shown.push_back('?');
        } else if (byte < 0x80) {
            shown.push_back(c);
        } else {
            shown.push_back(static_cast<char>(0xC0 | (byte >> 6)));
            shown.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        }
    }
    return shown;
}

const ReportLine* ReportPage::lineAt(int row) const
{
    const auto found = std::ranges::find(lines, row, &ReportLine::row);
    return found == lines.end() ? nullptr : &*found;
}

std::vector<ReportPage> BuildPages(const Image& image, PageKind kind)
{
    switch (kind) {
    case PageKind::Operators: return Paginate(kind, OperatorBlocks(image));
    case PageKind::System: return Paginate(kind, SystemBlocks(image));
    case PageKind::Directories: return Paginate(kind, DirectoryBlocks(image));
    case PageKind::Warnings: return Paginate(kind, WarningBlocks(image));
    }
    return {};
}

std::vector<ReportPage> BuildPages(const Image& image, const std::vector<PageKind>& kinds)
{
    std::vector<ReportPage> pages;
    for (PageKind kind : kinds) {
        std::vector<ReportPage> more = BuildPages(image, kind);
        pages.insert(pages.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
    }
    return pages;
}

} // namespace veskar
