#include "app/Commands.h"
#include "widgets/CommandFlags.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace veskar {
namespace {

TEST(CommandTable, IdsAreUniqueAndFound)
{
    std::set<int> ids;
    for (const CommandInfo& info : Commands()) {
        EXPECT_TRUE(ids.insert(static_cast<int>(info.id)).second) << static_cast<int>(info.id);
        EXPECT_EQ(FindCommand(static_cast<int>(info.id)), &info);
        EXPECT_FALSE(info.helpTopic.empty()) << info.menuText;
    }
    EXPECT_EQ(FindCommand(12345), nullptr);
}

TEST(CommandTable, MenusAndToolbarOnlyNameKnownCommands)
{
    std::set<int> onMenus;
    for (const MenuLayout& menu : MenuBar()) {
        ASSERT_FALSE(menu.items.empty());
        for (int item : menu.items) {
            if (item == kSeparator || item == kRecentFiles)
                continue;
            ASSERT_NE(FindCommand(item), nullptr) << item;
            EXPECT_TRUE(onMenus.insert(item).second) << "twice on the menus: " << item;
        }
    }
    // Every command is on a menu except the clear command, which has none.
    for (const CommandInfo& info : Commands())
        EXPECT_EQ(onMenus.count(static_cast<int>(info.id)), info.id == CommandId::ClearData ? 0u : 1u)
            << info.menuText;

    for (int item : ToolBar()) {
        if (item == kSeparator)
            continue;
        ASSERT_NE(FindCommand(item), nullptr);
        EXPECT_FALSE(FindCommand(item)->icon.empty()) << item;
    }
}

using Flag = bool CommandFlags::*;

struct WindowCase {
    const char* window;
    std::vector<Flag> cleared;
    std::vector<CommandId> greyed;
    std::vector<CommandId> available;
};

class CommandFlagsTest : public ::testing::TestWithParam<WindowCase> {};

TEST_P(CommandFlagsTest, WindowGreysItsConflicts)
{
    const WindowCase& c = GetParam();
    CommandFlags flags;
    for (Flag flag : c.cleared)
        flags.*flag = false;
    for (CommandId id : c.greyed)
        EXPECT_FALSE(CommandAllowed(flags, id)) << c.window << ": " << static_cast<int>(id);
    for (CommandId id : c.available)
        EXPECT_TRUE(CommandAllowed(flags, id)) << c.window << ": " << static_cast<int>(id);
}

INSTANTIATE_TEST_SUITE_P(
    OpenWindows, CommandFlagsTest,
    ::testing::Values(
        WindowCase{"none",
                   {},
                   {},
                   {CommandId::FileOpen, CommandId::Summary, CommandId::Users, CommandId::CopyDir,
                    CommandId::Levels, CommandId::Program, CommandId::DefaultData}},
        WindowCase{
            "user list",
            {&CommandFlags::useron, &CommandFlags::genon, &CommandFlags::fileon, &CommandFlags::pgmon,
             &CommandFlags::defaulton},
            {CommandId::Users, CommandId::System, CommandId::FileOpen, CommandId::FileSave,
             CommandId::FileSaveAs, CommandId::ClearData, CommandId::Program, CommandId::DefaultData,
             CommandId::Summary},
            {CommandId::Levels, CommandId::DirA, CommandId::CopyDir, CommandId::Exit, CommandId::HelpAbout}},
        WindowCase{"summary",
                   {&CommandFlags::useron, &CommandFlags::diron, &CommandFlags::dirAon, &CommandFlags::dirBon,
                    &CommandFlags::dirCon, &CommandFlags::dirDon, &CommandFlags::genon,
                    &CommandFlags::printon, &CommandFlags::levelon},
                   {CommandId::Users, CommandId::System, CommandId::Summary, CommandId::Levels,
                    CommandId::DirA, CommandId::DirB, CommandId::DirC, CommandId::DirD},
                   {CommandId::FileOpen, CommandId::FileSave, CommandId::Program}},
        WindowCase{
            "directory C",
            {&CommandFlags::dirCon, &CommandFlags::fileon, &CommandFlags::pgmon, &CommandFlags::defaulton},
            {CommandId::DirC, CommandId::CopyDir, CommandId::Summary, CommandId::FileSave},
            {CommandId::DirA, CommandId::DirB, CommandId::DirD, CommandId::Levels, CommandId::Users}},
        WindowCase{"levels only",
                   {&CommandFlags::levelon},
                   {CommandId::Levels, CommandId::Summary},
                   {CommandId::CopyDir, CommandId::FileOpen}}),
    [](const ::testing::TestParamInfo<WindowCase>& info) {
        std::string name = info.param.window;
        for (char& c : name)
            if (c == ' ')
                c = '_';
        return name;
    });

} // namespace
} // namespace veskar
