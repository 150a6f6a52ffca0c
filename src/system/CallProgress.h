#pragma once

// The advice given when "Use Call Progress" is ticked: call progress already
// waits for the called party, so a directory that answers a call right after
// dialling asks for the response twice.

#include "database/Image.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veskar {

// After a Dial command, these bytes end its stepping: the end of the line and
// the commands that are not part of dialling. Any other byte is the number.
inline constexpr std::string_view kDialStepEnders = "&FGHKNPQRSTUVWXZ";

// The directories (0-3 for A-D) in which an Answer command follows a Dial command.
[[nodiscard]] std::vector<int>
DirectoriesAnsweringAfterDial(std::span<const DirectoryBlock, kDirectoryCount> dir);

// The warning text for those directories; empty when there are none.
[[nodiscard]] std::string CallProgressWarning(const std::vector<int>& directories);

} // namespace veskar
