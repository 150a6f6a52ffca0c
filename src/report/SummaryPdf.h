#pragma once

// The summary pages as a PDF, for callers without a window (the command
// line): draws them as the summary window prints them, on no display.

#include "database/Image.h"
#include "report/ReportModel.h"

#include <optional>
#include <vector>

namespace veskar {

// The PDF's bytes, drawn in memory; nothing when they could not be drawn.
[[nodiscard]] std::optional<std::vector<Byte>> SummaryPdf(const std::vector<ReportPage>& pages);

} // namespace veskar
