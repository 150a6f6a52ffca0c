#include "app/Commands.h"

#include <algorithm>
#include <array>

namespace veskar {

namespace {

constexpr std::array kCommands = {
    CommandInfo{CommandId::FileOpen, "&Open...", "Ctrl+O", "Opens an existing document", "open", "open.html"},
    CommandInfo{CommandId::FileSave, "&Save", "Ctrl+S", "Saves the active document", "save", "save.html"},
    CommandInfo{CommandId::FileSaveAs, "Save &As...", "", "Saves the active document with a new name",
                "saveas", "saveas.html"},
    CommandInfo{CommandId::Exit, "E&xit", "Alt+F4", "", "", "exit.html"},
    CommandInfo{CommandId::DefaultData, "&Default Database", "", "", "", "default-database.html"},
    CommandInfo{CommandId::ClearData, "", "", "", "", "clear-database.html"},
    CommandInfo{CommandId::Summary, "Summar&y", "", "View a printable summary of all settings", "summary",
                "summary.html"},
    CommandInfo{CommandId::Users, "&Users", "", "Edit user configuration settings", "users", "users.html"},
    CommandInfo{CommandId::System, "&System", "", "Set up the system operating parameters", "system",
                "system.html"},
    CommandInfo{CommandId::DirA, "Directory &A", "", "Edit directory A settings", "dira", "directories.html"},
    CommandInfo{CommandId::DirB, "Directory &B", "", "Edit directory B settings", "dirb", "directories.html"},
    CommandInfo{CommandId::DirC, "Directory &C", "", "Edit directory C settings", "dirc", "directories.html"},
    CommandInfo{CommandId::DirD, "Directory &D", "", "Edit directory D settings", "dird", "directories.html"},
    CommandInfo{CommandId::CopyDir, "C&opy Directory", "", "", "", "copy-directory.html"},
    CommandInfo{CommandId::Levels, "&Levels", "", "Edit audio level settings", "levels", "levels.html"},
    CommandInfo{CommandId::Program, "Progra&m", "",
                "Move the database to and from the Corvane Veskar Worker Monitor", "program", "program.html"},
    CommandInfo{CommandId::HelpContents, "&Contents", "", "", "", "index.html"},
    CommandInfo{CommandId::HelpUsing, "&Using help", "", "", "", "using-help.html"},
    CommandInfo{CommandId::HelpAbout, "&About...", "", "", "", "about.html"},
};

constexpr int Id(CommandId id)
{
    return static_cast<int>(id);
}

constexpr std::array kFileItems = {
    Id(CommandId::FileOpen),   kSeparator, Id(CommandId::FileSave),
    Id(CommandId::FileSaveAs), kSeparator, kRecentFiles,
    Id(CommandId::Exit),       kSeparator, Id(CommandId::DefaultData),
};
constexpr std::array kSummaryItem = {Id(CommandId::Summary)};
constexpr std::array kUsersItem = {Id(CommandId::Users)};
constexpr std::array kSystemItem = {Id(CommandId::System)};
constexpr std::array kDirectoryItems = {
    Id(CommandId::DirA), Id(CommandId::DirB), Id(CommandId::DirC),
    Id(CommandId::DirD), kSeparator,          Id(CommandId::CopyDir),
};
constexpr std::array kLevelsItem = {Id(CommandId::Levels)};
constexpr std::array kProgramItem = {Id(CommandId::Program)};
constexpr std::array kHelpItems = {Id(CommandId::HelpContents), Id(CommandId::HelpUsing), kSeparator,
                                   Id(CommandId::HelpAbout)};

constexpr std::array kMenuBar = {
    MenuLayout{"&File", kFileItems},
    MenuLayout{"", kSummaryItem},
    MenuLayout{"", kUsersItem},
    MenuLayout{"", kSystemItem},
    MenuLayout{"&Directory", kDirectoryItems},
    MenuLayout{"", kLevelsItem},
    MenuLayout{"", kProgramItem},
    MenuLayout{"&Help", kHelpItems},
};

constexpr std::array kToolBar = {
    Id(CommandId::FileOpen),   kSeparator, Id(CommandId::FileSave), kSeparator,
    Id(CommandId::FileSaveAs), kSeparator, Id(CommandId::Summary),  kSeparator,
    Id(CommandId::Users),      kSeparator, Id(CommandId::System),   kSeparator,
    Id(CommandId::DirA),       kSeparator, Id(CommandId::DirB),     kSeparator,
    Id(CommandId::DirC),       kSeparator, Id(CommandId::DirD),     kSeparator,
    Id(CommandId::Levels),     kSeparator, Id(CommandId::Program),
};

} // namespace

std::span<const CommandInfo> Commands()
{
    return kCommands;
}

const CommandInfo* FindCommand(int id)
{
    const auto found = std::find_if(kCommands.begin(), kCommands.end(), [id](const CommandInfo& info) {
        return static_cast<int>(info.id) == id;
    });
    return found == kCommands.end() ? nullptr : &*found;
}

std::span<const MenuLayout> MenuBar()
{
    return kMenuBar;
}

std::span<const int> ToolBar()
{
    return kToolBar;
}

} // namespace veskar
