#pragma once

// A report page as plain text: one line per row, blank rows as empty lines,
// each line indented by its pen position (two blanks a step).

#include "report/ReportModel.h"

#include <string>
#include <vector>

namespace veskar {

[[nodiscard]] std::vector<std::string> PageText(const ReportPage& page);

// Pages one after the other, a form feed between them.
[[nodiscard]] std::string PagesText(const std::vector<ReportPage>& pages);

} // namespace veskar
