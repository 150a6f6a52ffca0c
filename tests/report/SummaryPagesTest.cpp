#include "report/PageText.h"
#include "report/ReportModel.h"

#include "ReportImages.h"

#include <gtest/gtest.h>

namespace veskar {
namespace {

using Lines = std::vector<std::string>;
using test::NewImage;
using test::SetDirectory;

const std::string kHeading = "Corvane Veskar Worker Monitor  ---  Drummel Engineering Ltd.";

TEST(SystemPage, NewImageReadsAsItsDefaults)
{
    const std::vector<ReportPage> pages = BuildPages(NewImage(), PageKind::System);
    ASSERT_EQ(pages.size(), 1U);
    EXPECT_EQ(PageText(pages[0]), (Lines{
                                      "",
                                      kHeading,
                                      "",
                                      "System Summary",
                                      "",
                                      "Site ID: RidIvav Alarm   ",
                                      "Access Code:          ",
                                      "Acknowledge Code: 2580     ",
                                      "Status Code: 1470     ",
                                      "60 Minute Acknowledge Code: 2580#    ",
                                      "Change Directory Code: <not used>",
                                      "Timer A: 2 Minutes.",
                                      "Timer B: 10 Minutes.",
                                      "Times A: 3",
                                      "Use Acknowledge Request: YES",
                                      "Announce when system is busy on the phone: YES",
                                      "Use Call Progress Detection: YES",
                                      "Squelch Polarity: Busy when low",
                                      "Dial Format: Tone Dial",
                                      "Default Timer: 20 min.",
                                      "Rings Before Answering: 4",
                                      "Radio Transmit Tone Level: 0 dBm",
                                      "Radio Transmit DTMF Level: 0 dBm",
                                      "Radio Transmit Voice Level: 0 dBm",
                                      "Radio Receive Level: 0 dBm",
                                      "Phone Receive Level: 0 dBm",
                                      "Modbus Address: 100",
                                      "Modbus Baud Rate: 9600",
                                  }));
}

TEST(SystemPage, ChoicesAndMissingCodes)
{
    struct Case {
        void (*change)(SystemBlock&);
        int row;
        const char* text;
    };
    const Case cases[] = {
        {[](SystemBlock& g) { g.ackCode.length = 0; }, 9,
         "60 Minute Acknowledge Code: < none - no Ack Code >"},
        {[](SystemBlock& g) { g.dirChangeCode = CodeFromText("*#0D"); }, 10,
         "Change Directory Code: *#0D     "},
        {[](SystemBlock& g) { g.squelchHigh = 1; }, 17, "Squelch Polarity: Busy when high"},
        {[](SystemBlock& g) { g.pulseDial = 1; }, 18, "Dial Format: Rotary Dial"},
        {[](SystemBlock& g) { g.ringsBeforeAnswer = 0; }, 20, "Rings Before Answering: Never"},
        {[](SystemBlock& g) { g.ringsBeforeAnswer = 12; }, 20,
         "Rings Before Answering: Automatic Acknowledge"},
        {[](SystemBlock& g) { g.levelTxTone = 20; }, 21, "Radio Transmit Tone Level: -10 dBm"},
        {[](SystemBlock& g) { g.levelRadioRx = 23; }, 24, "Radio Receive Level: +4 dBm"},
        {[](SystemBlock& g) { g.modbusBaud = 0; }, 27, "Modbus Baud Rate: 300"},
        {[](SystemBlock& g) { g.modbusBaud = 4; }, 27, "Modbus Baud Rate: 4800"},
        {[](SystemBlock& g) { g.siteName = NameFromText("\x1b[2Jx\xe9"); }, 5,
         "Site ID: ?[2Jx\xc3\xa9          "},
    };
    for (const Case& c : cases) {
        Image image = NewImage();
        c.change(image.gen);
        EXPECT_EQ(PageText(BuildPages(image, PageKind::System)[0])[static_cast<std::size_t>(c.row)], c.text);
    }
}

TEST(OperatorPages, TwoOperatorsAPageAllSixteenShown)
{
    Image image = NewImage();
    UserRecord& user = image.User[2];
    user.userName = NameFromText("Ann");
    user.startCode = CodeFromText("1234");
    user.stopCode = CodeFromText("D1D");
    user.emergencyCode = CodeFromText("12345678");
    user.speakTimerNumber = 1;
    user.askTimer = 0;
    const std::vector<ReportPage> pages = BuildPages(image, PageKind::Operators);
    ASSERT_EQ(pages.size(), 8U);
    for (std::size_t p = 0; p < pages.size(); ++p) {
        EXPECT_EQ(pages[p].firstItem, static_cast<int>(2 * p));
        EXPECT_EQ(pages[p].lineAt(3)->text, "Operator Summary");
        EXPECT_TRUE(
            pages[p].lineAt(25)->text.starts_with("Operator " + std::to_string(2 * p + 2) + "  Name"));
    }
    const Lines second = PageText(pages[1]);
    const Lines expected{
        "Operator 3  Name: Ann             ",
        "  Start Code: 1234     Emergency Code:   12345678 ",
        "  Stop Code:  D1D      Interrogate Code:          ",
        "  Warning Timer: 5 min.  ",
        "  Function Settings:",
        "    ON  Alarm callout with timeout",
        "    ON  Let user change timer value",
        "    ON  Speak timer number",
        "    ON  Use Voice message for users name",
        "    ON  Use Voice message for users location",
        "    OFF Use DTMF code for the users name",
        "    OFF Use DTMF code for the users location",
        "    ON  Ask for users name when timer is started",
        "    ON  Ask for users location when timer is started",
        "    OFF Ask for users timer value when timer is started",
        "    ON  Ask for emergency confirmation",
        "    ON  Ask for confirmation of the settings",
        "    ON  Play the settings when entering timer startup",
        "",
        "",
    };
    EXPECT_EQ(Lines(second.begin() + kFirstBodyRow, second.begin() + kFirstBodyRow + 20), expected);
    EXPECT_EQ(pages[1].lineAt(6)->x, 20);
    EXPECT_EQ(pages[1].lineAt(5)->x, 10);
}

TEST(DirectoryPages, LinesDecodedByTheirCommand)
{
    struct Case {
        const char* name;
        std::string bytes;
        Lines lines; // from the directory's heading on
    };
    const Case cases[] = {
        {"new", "RNV&", {"Directory A", "", " [RADIO] [ALERT] [VOICE]", "", "", "Directory B"}},
        {"empty", "&", {"Directory A", "", "(Empty)", "", "Directory B"}},
        {"starts with 0", "", {"Directory A", "", "(Empty)", "", "Directory B"}},
        {"no closing &", "R", {"Directory A", "", " [RADIO]", "", "Directory B"}},
        {"digits", "P:;<=>?0!&", {"Directory A", "", " [DIAL]0*#ABCD!", "", "", "Directory B"}},
        {"tap", "H\xb1\xb2", {"Directory A", "", " [TAP]12", "", "Directory B"}},
        {"five tone suffix",
         "F.54321U&W010&",
         {"Directory A", "", " [5 TONE].54321U", " [WAIT]010", "", "", "Directory B"}},
        {"control byte in a value",
         "T1\x1b"
         "2&",
         {"Directory A", "", " [2 TONE]1?2", "", "", "Directory B"}},
        {"empty lines skipped", "R&&V&", {"Directory A", "", " [RADIO]", " [VOICE]", "", "", "Directory B"}},
    };
    for (const Case& c : cases) {
        Image image = NewImage();
        SetDirectory(image, 0, c.bytes);
        Lines text = PageText(BuildPages(image, PageKind::Directories)[0]);
        for (std::string& row : text) {
            if (!row.empty() && row.starts_with("    ")) // directory lines are two steps in
                row.erase(0, 4);
        }
        ASSERT_GE(text.size(), kFirstBodyRow + c.lines.size()) << c.name;
        EXPECT_EQ(Lines(text.begin() + kFirstBodyRow,
                        text.begin() + kFirstBodyRow + static_cast<long>(c.lines.size())),
                  c.lines)
            << c.name;
    }
}

std::string Lines20(char command)
{
    std::string bytes;
    for (int i = 0; i < 20; ++i)
        bytes += std::string(1, command) + "&";
    return bytes;
}

TEST(DirectoryPages, ADirectoryThatWouldRunPastTheLastRowStartsANewPage)
{
    struct Case {
        std::vector<int> fullDirectories;
        std::vector<int> firstDirectories;
    };
    const Case cases[] = {
        {{}, {0}},
        {{0, 1}, {0, 2}}, // 5 + 24 + 24 rows, then C does not fit
        {{0, 1, 2, 3}, {0, 2}},
        {{1}, {0}},
        {{0, 2}, {0, 2}}, // A, B on page 1; C alone is too long for what is left
    };
    for (const Case& c : cases) {
        Image image = NewImage();
        for (int d : c.fullDirectories)
            SetDirectory(image, d, Lines20('R'));
        const std::vector<ReportPage> pages = BuildPages(image, PageKind::Directories);
        ASSERT_EQ(pages.size(), c.firstDirectories.size());
        for (std::size_t p = 0; p < pages.size(); ++p) {
            EXPECT_EQ(pages[p].firstItem, c.firstDirectories[p]);
            EXPECT_EQ(pages[p].lineAt(3)->text, "Directory Summary - Page " + std::to_string(p + 1));
            EXPECT_EQ(pages[p].lineAt(kFirstBodyRow)->text,
                      "Directory " + std::string(1, char('A' + c.firstDirectories[p])));
            EXPECT_LE(pages[p].rows, kPageRows);
            for (const ReportLine& line : pages[p].lines)
                EXPECT_LE(line.row, kLastPageRow);
        }
    }
}

TEST(DirectoryPages, ADirectoryLongerThanAPageContinuesOnTheNext)
{
    Image image = NewImage();
    std::string bytes;
    for (int i = 0; i < 100; ++i)
        bytes += i % 2 ? "V&" : "R&";
    bytes.resize(255);
    SetDirectory(image, 1, bytes);
    int radio = 0;
    int voice = 0;
    const std::vector<ReportPage> pages = BuildPages(image, PageKind::Directories);
    for (const ReportPage& page : pages) {
        for (const ReportLine& line : page.lines) {
            radio += line.text == " [RADIO]";
            voice += line.text == " [VOICE]";
        }
    }
    EXPECT_EQ(radio, 50);
    EXPECT_EQ(voice, 50);
    ASSERT_EQ(pages.size(), 3U);
    EXPECT_EQ(pages[1].firstItem, 1);
    EXPECT_EQ(pages[0].lineAt(10)->text, "Directory B"); // starts at once: it cannot fit on any page
    EXPECT_EQ(pages[2].lineAt(kFirstBodyRow)->text, " [VOICE]");
}

TEST(PagesText, OneLinePerRowAFormFeedBetweenPages)
{
    const std::vector<ReportPage> pages =
        BuildPages(NewImage(), std::vector{PageKind::System, PageKind::Warnings});
    ASSERT_EQ(pages.size(), 2U);
    const std::string text = PagesText(pages);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 1);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), pages[0].rows + pages[1].rows);
    EXPECT_NE(text.find("\n\f\n" + kHeading + "\n\nWarnings - Page 1\n\nThere are no phone numbers"),
              std::string::npos);
}

} // namespace
} // namespace veskar
