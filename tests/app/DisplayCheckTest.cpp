#include "app/DisplayCheck.h"
#include "app/RuntimeFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include <unistd.h>

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

// Without XDG_RUNTIME_DIR the program makes a private one, and never takes a
// folder of that name that is not private.
TEST(RuntimeFolderTest, MadePrivateWhenTheSessionHasNone)
{
    const std::string temp = ::testing::TempDir() + "runtime-test";
    std::filesystem::create_directories(temp);
    const std::string previousTmp = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    ::setenv("TMPDIR", temp.c_str(), 1);
    const std::string expected = temp + "/veskar-runtime-" + std::to_string(::getuid());
    for (const bool planted : {false, true}) {
        ::unsetenv("XDG_RUNTIME_DIR");
        if (planted)
            std::filesystem::permissions(expected, std::filesystem::perms::all);
        EnsureRuntimeFolder();
        const char* chosen = std::getenv("XDG_RUNTIME_DIR");
        ASSERT_NE(chosen, nullptr);
        EXPECT_EQ(chosen == expected, !planted) << chosen;
        EXPECT_EQ(std::filesystem::status(chosen).permissions(), std::filesystem::perms::owner_all) << chosen;
    }
    ::unsetenv("XDG_RUNTIME_DIR");
    previousTmp.empty() ? ::unsetenv("TMPDIR") : ::setenv("TMPDIR", previousTmp.c_str(), 1);
    std::filesystem::remove_all(temp);
}

} // namespace
} // namespace veskar
