#pragma once

// Texts of the Programming dialog that are not the engine's.

#include <string_view>

namespace veskar {

inline constexpr std::string_view kStopQuestion =
    "A transfer is running. Do you want to stop it?\nThe unit and your files are left as they were.";

} // namespace veskar
