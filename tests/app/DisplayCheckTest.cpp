#include "app/DisplayCheck.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace veskar {
namespace {

TEST(DisplayCheckTest, WindowsNeedADisplayUnlessThePlatformNeedsNone)
{
    const struct {
        std::map<std::string, std::string> environment;
        bool available;
    } cases[] = {
        {{}, false},
        {{{"DISPLAY", ""}}, false},
        {{{"DISPLAY", ":0"}}, true},
        {{{"WAYLAND_DISPLAY", "wayland-0"}}, true},
        {{{"QT_QPA_PLATFORM", "offscreen"}}, true},
        {{{"QT_QPA_PLATFORM", "offscreen:fontengine=freetype"}}, true},
        {{{"QT_QPA_PLATFORM", "xcb"}}, false},
        {{{"QT_QPA_PLATFORM", "xcb"}, {"WAYLAND_DISPLAY", "w"}}, false},
        {{{"QT_QPA_PLATFORM", "wayland;xcb"}, {"DISPLAY", ":1"}}, true},
        {{{"QT_QPA_PLATFORM", "wayland-egl"}}, false},
    };
    for (const auto& c : cases) {
        const auto lookup = [&c](const char* name) {
            const auto found = c.environment.find(name);
            return found == c.environment.end() ? nullptr : found->second.c_str();
        };
        std::string shown;
        for (const auto& [name, value] : c.environment)
            shown.append(name).append("=").append(value).append(" ");
        EXPECT_EQ(DisplayAvailable(lookup, {}), c.available) << shown;
    }
    char program[] = "veskar";
    char option[] = "-platform";
    char name[] = "vnc";
    char* arguments[] = {program, option, name};
    EXPECT_TRUE(DisplayAvailable([](const char*) { return nullptr; }, arguments));
}

} // namespace
} // namespace veskar
