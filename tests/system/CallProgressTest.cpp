#include "system/CallProgress.h"

#include <gtest/gtest.h>

#include <cstring>

namespace veskar {
namespace {

constexpr std::string_view kAdvice =
    "\nUsing Call Progress and ANSWER duplicates the requirement for a response by the called party."
    "\nUse the What's This help for Call Progress to get a full explanation.";

using namespace std::string_view_literals;

std::array<DirectoryBlock, kDirectoryCount> Directories(std::array<std::string_view, kDirectoryCount> lines)
{
    std::array<DirectoryBlock, kDirectoryCount> dir{};
    for (std::size_t d = 0; d < dir.size(); ++d)
        std::memcpy(dir[d].data(), lines[d].data(), lines[d].size());
    return dir;
}

TEST(CallProgressTest, DirectoriesThatAnswerRightAfterDialling)
{
    struct Case {
        std::string_view line;
        bool affected;
    };
    const Case cases[] = {
        {"P123M&", true},     {"P:;<=>?M&", true}, // every digit of a number is stepped over
        {"P12LYM&", true},                         // neither L nor Y ends the number
        {"P12&M&", false},                         // the line ended
        {"P12WM&", false},                         // Wait ends dialling, as does every command of the set
        {"P12FM&", false},    {"P12ZM&", false},
        {"P12XM&", false},    {"M&P12&", false}, // Answer before the Dial
        {"RNV&", false},      {"P12MM&", true},
        {"R&P1P2M&", true},   // a Dial after a Dial starts its own number
        {"P12\0M&"sv, false}, // the directory ends at its first 0 byte
        {"", false},
    };
    for (const Case& c : cases) {
        const auto dir = Directories({"&", c.line, "&", "&"});
        const std::vector<int> found = DirectoriesAnsweringAfterDial(dir);
        EXPECT_EQ(found, c.affected ? std::vector<int>{1} : std::vector<int>{}) << c.line;
    }
}

TEST(CallProgressTest, AFullBlockWithoutEndIsScannedToItsLastByte)
{
    std::array<DirectoryBlock, kDirectoryCount> dir{};
    dir[0].fill('1');
    dir[0][0] = 'P';
    EXPECT_TRUE(DirectoriesAnsweringAfterDial(dir).empty());
    dir[0][kDirectoryBlockSize - 1] = 'M';
    EXPECT_EQ(DirectoriesAnsweringAfterDial(dir), std::vector<int>{0});
}

TEST(CallProgressTest, WarningNamesTheDirectories)
{
    const std::string start = "The ANSWER command appears immediately after a Dial command in ";
    struct Case {
        std::array<std::string_view, kDirectoryCount> lines;
        std::string named; // empty: no warning
    };
    const Case cases[] = {
        {{"&", "&", "&", "&"}, ""},
        {{"P1M&", "&", "P2M&", "&"}, "Directories A and C."},
        {{"P1M&P2M&", "&", "&", "&"}, "Directory A"},
        {{"P1M&", "P2M&", "&", "P3M&"}, "Directories A, B and D."},
        {{"P1M&", "P2M&", "P3M&", "P4M&"}, "Directories A, B, C and D."},
        {{"&", "&", "&", "P4M&"}, "Directory D"},
    };
    for (const Case& c : cases) {
        const std::string text = CallProgressWarning(DirectoriesAnsweringAfterDial(Directories(c.lines)));
        if (c.named.empty())
            EXPECT_EQ(text, "");
        else
            EXPECT_EQ(text, start + c.named + std::string(kAdvice));
    }
}

} // namespace
} // namespace veskar
