#pragma once

// Whether the windows can be shown at all, asked before Qt is started: Qt
// aborts with a long plugin report when there is no display.

#include <functional>
#include <span>
#include <string_view>

namespace veskar {

inline constexpr std::string_view kNeedsDisplay =
    "veskar: needs a display (DISPLAY or WAYLAND_DISPLAY), or QT_QPA_PLATFORM=offscreen to run without one";

// `environment` reads a variable (nullptr when unset). A platform chosen on
// the command line (-platform NAME) is trusted as given.
[[nodiscard]] bool DisplayAvailable(const std::function<const char*(const char*)>& environment,
                                    std::span<char* const> arguments);

} // namespace veskar
