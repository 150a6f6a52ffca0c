#pragma once

// Every command of the main window in one table: menu text, shortcut, status-bar
// hint, toolbar icon and help topic. Menus, toolbar, hints and help lookup are
// all built from it, so a new command is one row here.

#include "widgets/CommandId.h"

#include <span>
#include <string_view>

namespace veskar {

struct CommandInfo {
    CommandId id;
    std::string_view menuText;  // with the '&' of its mnemonic
    std::string_view shortcut;  // portable key text, empty for none
    std::string_view hint;      // status bar, empty for none
    std::string_view icon;      // toolbar icon name, empty when not on the toolbar
    std::string_view helpTopic; // page of the help resource
};

[[nodiscard]] std::span<const CommandInfo> Commands();
[[nodiscard]] const CommandInfo* FindCommand(int id);

// Menu bar layout. A popup lists its items; an entry without a popup title is a
// command directly on the menu bar.
inline constexpr int kSeparator = 0;
inline constexpr int kRecentFiles = -1; // where the recent-files entries go

struct MenuLayout {
    std::string_view popup;
    std::span<const int> items;
};

[[nodiscard]] std::span<const MenuLayout> MenuBar();
// Toolbar, left to right; kSeparator between groups.
[[nodiscard]] std::span<const int> ToolBar();

inline constexpr std::string_view kContentsTopic = "index.html";
inline constexpr std::string_view kUsingHelpTopic = "using-help.html";

} // namespace veskar
