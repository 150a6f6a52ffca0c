#include "report/PageText.h"

namespace veskar {

std::vector<std::string> PageText(const ReportPage& page)
{
    std::vector<std::string> rows(static_cast<std::size_t>(page.rows));
    for (const ReportLine& line : page.lines) {
        if (line.row >= page.rows)
            rows.resize(static_cast<std::size_t>(line.row) + 1);
        const auto indent = static_cast<std::size_t>(2 * (line.x - kMarginX) / kIndentStepX);
        rows[static_cast<std::size_t>(line.row)] = std::string(indent, ' ') + line.text;
    }
    return rows;
}

std::string PagesText(const std::vector<ReportPage>& pages)
{
    std::string text;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0)
            text += '\f';
        for (const std::string& row : PageText(pages[i]))
            text += row + '\n';
    }
    return text;
}

} // namespace veskar
