#pragma once

// What the main window shows of the loaded configuration: the file, the site
// and system codes, the users that have codes, the lines of each directory and
// the warnings, taken from the summary pages.

#include "database/Image.h"

#include <string>
#include <string_view>
#include <vector>

namespace veskar {

// What a click on a section opens.
enum class OverviewTarget { System, Users, DirA, DirB, DirC, DirD, Warnings };

struct OverviewSection {
    OverviewTarget target;
    std::string heading;
    std::vector<std::string> lines;

    friend bool operator==(const OverviewSection&, const OverviewSection&) = default;
};

[[nodiscard]] std::vector<OverviewSection> BuildOverview(const Image& image, std::string_view fileName);

} // namespace veskar
