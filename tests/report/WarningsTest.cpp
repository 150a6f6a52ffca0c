#include "report/Warnings.h"

#include "ReportImages.h"
#include "report/ReportModel.h"

#include <gtest/gtest.h>

#include <functional>

namespace veskar {
namespace {

using Lines = std::vector<std::string>;
using test::CleanImage;
using test::NewImage;
using test::SetDirectory;

TEST(Warnings, NewImageGivesTheRadioOnlyAndAccessLinesThenTheSeparator)
{
    EXPECT_EQ(WarningLines(NewImage()),
              (Lines{
                  "There are no phone numbers in any directory.",
                  "    (OK if you only want to make radio calls.)",
                  "The Access Code is missing.",
                  "    Remote dial-in operations are available to anyone calling in.",
                  "",
                  "",
              }));
    EXPECT_TRUE(WarningLines(CleanImage()).empty());
}

TEST(Warnings, EachCheckAlone)
{
    struct Case {
        const char* name;
        std::function<void(Image&)> fault;
        Lines lines;
    };
    const Lines sep{"", ""};
    const Lines closing{" ", " "};
    auto then = [](Lines lines, const Lines& more) {
        lines.insert(lines.end(), more.begin(), more.end());
        return lines;
    };
    const Case cases[] = {
        {"no phone number", [](Image& i) { SetDirectory(i, 0, "RNV&"); },
         then({"There are no phone numbers in any directory.",
               "    (OK if you only want to make radio calls.)"},
              sep)},
        {"no ack code", [](Image& i) { i.gen.ackCode.length = 0; },
         then({"The Acknowledge Code is missing."}, sep)},
        {"access same as start",
         [](Image& i) {
             i.User[2].startCode = CodeFromText("9876");
             i.User[2].stopCode = CodeFromText("55");
         },
         then({"The System Access Code is the same as the Start Code for User 3."}, sep)},
        {"status same as emergency", [](Image& i) { i.User[15].emergencyCode = CodeFromText("1470"); },
         then({"The System Status Code is the same as the Emergency Code for User 16."}, sep)},
        {"ack same as stop", [](Image& i) { i.User[0].stopCode = CodeFromText("2580"); },
         then({"The System Acknowledge Code is the same as the Stop Code for User 1."}, sep)},
        {"directory change same as interrogate",
         [](Image& i) {
             i.gen.dirChangeCode = CodeFromText("4D");
             i.User[1].interrogateCode = CodeFromText("4D");
         },
         then({"The System Directory Change Code is the same as the Interrogate Code for User 2."}, sep)},
        {"start without stop", [](Image& i) { i.User[4].startCode = CodeFromText("11"); },
         then({"User 5 has a Start Code but no Stop Code."}, sep)},
        {"ask name unusable", [](Image& i) { i.User[6].useVoiceName = 0; },
         then({"User 7 has the Ask for Name set but neither Use Voice nor Use Code are enabled."}, sep)},
        {"ask location unusable", [](Image& i) { i.User[7].useVoiceLocation = 0; },
         then({"User 8 has the Ask for Location set but neither Use Voice nor Use Code are enabled."}, sep)},
        {"no status code, radio used",
         [](Image& i) {
             i.gen.statusCode.length = 0;
             SetDirectory(i, 1, "R&");
         },
         then({"The Interrogate Code is missing but the radio is being used.",
               "    (OK if used for a Public Address system.)"},
              sep)},
        {"timer B zero", [](Image& i) { i.gen.timerB = SplitValue(0); },
         then({"Timer B is set to 0 - Alarms will be automatically acknowledged.  Do you want this?",
               "    (OK if used for a Public Address system.)"},
              sep)},
        {"answer after dial", [](Image& i) { SetDirectory(i, 1, "P:123456M&"); },
         then({"Using Call Progress and ANSWER immediately after a Dial command in a directory",
               "duplicates the requirement for a response by the called party.",
               "The ANSWER command appears immediately after a Dial command in Directory B"},
              sep)},
        {"second dial of a line before answer", [](Image& i) { SetDirectory(i, 0, "P:123456P7654321M&"); },
         then({"Using Call Progress and ANSWER immediately after a Dial command in a directory",
               "duplicates the requirement for a response by the called party.",
               "The ANSWER command appears immediately after a Dial command in Directory A"},
              sep)},
        {"answer after dial without call progress",
         [](Image& i) {
             i.gen.useCallProgress = 0;
             SetDirectory(i, 1, "P:123456M&");
         },
         {}},
        {"answer after a wait", [](Image& i) { SetDirectory(i, 1, "P:123456W010M&"); }, {}},
        {"blank site name", [](Image& i) { i.gen.siteName = NameFromText(""); },
         then({"The Corvane VWM does not have a site name"}, sep)},
        {"site name ends early", [](Image& i) { i.gen.siteName[0] = 0; },
         then({"The Corvane VWM does not have a site name"}, sep)},
        {"auto ack only", [](Image& i) { SetDirectory(i, 2, "X&"); },
         then({"Directory C has Auto Ack as the only entry - no alarms will be reported."}, closing)},
        {"dial default", [](Image& i) { SetDirectory(i, 1, "P::::&"); },
         then({"Directory B, Line 1 has a Dial command with the default value '0000'."}, closing)},
        {"dial empty on line 2", [](Image& i) { SetDirectory(i, 0, "P:123456&PR&"); },
         then({"Directory A, Line 2 has a Dial command without any numbers."}, closing)},
        {"dial empty before a single tone", [](Image& i) { SetDirectory(i, 3, "PK1234.5&"); },
         then({"Directory D, Line 1 has a Dial command without any numbers."}, closing)},
        {"dial short", [](Image& i) { SetDirectory(i, 3, "P123456&"); },
         then({"Directory D, Line 1 has a Dial command with less than 7 digits."}, closing)},
        {"dtmf default", [](Image& i) { SetDirectory(i, 1, "R&Q::::&"); },
         then({"Directory B, Line 2 contains a DTMF command with the default value '0000'."}, closing)},
        {"dtmf empty", [](Image& i) { SetDirectory(i, 1, "QV&"); },
         then({"Directory B, Line 1 contains a DTMF command with no digits."}, closing)},
        {"wait 0000", [](Image& i) { SetDirectory(i, 1, "W0000&"); },
         then({"Directory B, Line 1 contains a Wait command with the default value '0000'."}, closing)},
        {"wait as the editor inserts it", [](Image& i) { SetDirectory(i, 1, "RW000&"); },
         then({"Directory B, Line 1 contains a Wait command with the default value '0000'."}, closing)},
        {"wait empty", [](Image& i) { SetDirectory(i, 1, "W&"); },
         then({"Directory B, Line 1 contains a Wait command with no value."}, closing)},
        {"stale bytes after the end",
         [](Image& i) { SetDirectory(i, 0, std::string_view("RNV&\0&P1234567", 14)); },
         then({"There are no phone numbers in any directory.",
               "    (OK if you only want to make radio calls.)"},
              sep)},
        {"phone number on a later line", [](Image& i) { SetDirectory(i, 0, "RNV&P:123456&"); }, {}},
    };
    for (const Case& c : cases) {
        Image image = CleanImage();
        c.fault(image);
        EXPECT_EQ(WarningLines(image), c.lines) << c.name;
    }
}

TEST(Warnings, BothGroupsAreSeparatedAndClosed)
{
    Image image = CleanImage();
    image.gen.ackCode.length = 0;
    SetDirectory(image, 2, "W&");
    EXPECT_EQ(WarningLines(image),
              (Lines{"The Acknowledge Code is missing.", "", "",
                     "Directory C, Line 1 contains a Wait command with no value.", " ", " "}));
    EXPECT_EQ(WarningCount(image), 2);
    image.gen.timerB = SplitValue(0); // a warning of two lines is one warning
    EXPECT_EQ(WarningCount(image), 3);
}

TEST(Warnings, MarkedDirectoriesAreListed)
{
    struct Case {
        std::vector<int> marked;
        const char* list;
    };
    const Case cases[] = {
        {{1}, "Directory B"},
        {{0, 2}, "Directories A and C."},
        {{0, 1, 3}, "Directories A, B and D."},
    };
    for (const Case& c : cases) {
        Image image = CleanImage();
        for (int d : c.marked)
            SetDirectory(image, d, "P:123456M&");
        const Lines lines = WarningLines(image);
        ASSERT_EQ(lines.size(), 5U) << c.list;
        EXPECT_EQ(lines[2],
                  std::string("The ANSWER command appears immediately after a Dial command in ") + c.list);
    }
}

TEST(Warnings, CodesClashOnlyWithTheSameLengthAndDigits)
{
    struct Case {
        const char* access;
        const char* start;
        bool clash;
    };
    const Case cases[] = {
        {"123", "123", true},  {"123", "1234", false}, {"1234", "123", false},
        {"123", "124", false}, {"D", "D", true},       {"D0", "D", false},
    };
    for (const Case& c : cases) {
        Image image = CleanImage();
        image.gen.accessCode = CodeFromText(c.access);
        image.User[0].startCode = CodeFromText(c.start);
        image.User[0].stopCode = CodeFromText("77");
        const Lines lines = WarningLines(image);
        const bool clash =
            !lines.empty() && lines[0] == "The System Access Code is the same as the Start Code for User 1.";
        EXPECT_EQ(clash, c.clash) << c.access << " / " << c.start;
        EXPECT_EQ(lines.size(), c.clash ? 3U : 0U) << c.access << " / " << c.start;
    }
}

// Every system code equal to `codes` user codes: that many clash lines and the separator.
Image ClashingImage(int users, int extraStops)
{
    Image image = CleanImage();
    for (CodeField* code :
         {&image.gen.accessCode, &image.gen.statusCode, &image.gen.ackCode, &image.gen.dirChangeCode})
        *code = CodeFromText("1");
    for (int n = 0; n < users; ++n) {
        UserRecord& user = image.User[static_cast<std::size_t>(n)];
        user.startCode = user.stopCode = user.interrogateCode = user.emergencyCode = CodeFromText("1");
    }
    for (int n = 0; n < extraStops; ++n)
        image.User[static_cast<std::size_t>(users) + static_cast<std::size_t>(n)].stopCode = CodeFromText("1");
    return image;
}

TEST(WarningPages, ALongListContinuesOnAsManyPagesAsItNeeds)
{
    struct Case {
        int users;
        int extraStops;
        int lines;
        std::vector<int> firstLines;
    };
    const Case cases[] = {
        {2, 3, 4 * (2 * 4 + 3) + 2, {0}},     // 46 lines: exactly one full page, no empty second page
        {2, 4, 4 * (2 * 4 + 4) + 2, {0, 46}}, // 50 lines: four on page 2
        {16, 0, 4 * 64 + 2, {0, 46, 92, 138, 184, 230}},
    };
    for (const Case& c : cases) {
        const Image image = ClashingImage(c.users, c.extraStops);
        const Lines lines = WarningLines(image);
        ASSERT_EQ(static_cast<int>(lines.size()), c.lines) << c.users;
        const std::vector<ReportPage> pages = BuildPages(image, PageKind::Warnings);
        ASSERT_EQ(pages.size(), c.firstLines.size()) << c.users;
        for (std::size_t p = 0; p < pages.size(); ++p) {
            const ReportPage& page = pages[p];
            EXPECT_EQ(page.firstItem, c.firstLines[p]) << p;
            EXPECT_EQ(page.lineAt(3)->text, "Warnings - Page " + std::to_string(p + 1)) << p;
            const std::string& first = lines[static_cast<std::size_t>(c.firstLines[p])];
            if (first.empty())
                EXPECT_EQ(page.lineAt(kFirstBodyRow), nullptr) << p;
            else
                EXPECT_EQ(page.lineAt(kFirstBodyRow)->text, first) << p;
        }
        EXPECT_LE(pages.back().rows, kPageRows);
    }
}

TEST(WarningPages, EveryLineIsOnExactlyOnePageInOrder)
{
    const Image image = ClashingImage(16, 0);
    std::vector<std::string> shown;
    for (const ReportPage& page : BuildPages(image, PageKind::Warnings)) {
        for (int row = kFirstBodyRow; row < page.rows; ++row) {
            const ReportLine* line = page.lineAt(row);
            shown.push_back(line ? line->text : "");
            EXPECT_LE(row, kLastPageRow);
        }
    }
    EXPECT_EQ(shown, WarningLines(image));
}

} // namespace
} // namespace veskar
