#include "app/DisplayCheck.h"

#include <algorithm>
#include <string>

namespace veskar {

namespace {

bool Set(const char* value)
{
    return value != nullptr && *value != '\0';
}

} // namespace

bool DisplayAvailable(const std::function<const char*(const char*)>& environment,
                      std::span<char* const> arguments)
{
    for (const char* argument : arguments)
        if (argument != nullptr && std::string_view(argument) == "-platform")
            return true;
    const bool x11 = Set(environment("DISPLAY"));
    const bool wayland = Set(environment("WAYLAND_DISPLAY"));
    const char* chosen = environment("QT_QPA_PLATFORM");
    if (!Set(chosen))
        return x11 || wayland;
    // "wayland;xcb" tries each in turn.
    const std::string platforms(chosen);
    std::size_t start = 0;
    while (start <= platforms.size()) {
        const std::size_t end = std::min(platforms.find(';', start), platforms.size());
        const std::string_view name = std::string_view(platforms).substr(start, end - start);
        const std::string_view plugin = name.substr(0, name.find(':')); // "offscreen:fontengine=..."
        if (plugin.starts_with("wayland") ? wayland : plugin == "xcb" ? x11 : !plugin.empty())
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace veskar
