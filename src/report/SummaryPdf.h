#pragma once

// The summary pages as a PDF file, for callers without a window (the command
// line): draws them as the summary window prints them, on no display.

#include "report/ReportModel.h"

#include <string>
#include <vector>

namespace veskar {

// False when the file cannot be written; an existing file of that name is then kept.
[[nodiscard]] bool WriteSummaryPdf(const std::string& fileName, const std::vector<ReportPage>& pages);

} // namespace veskar
