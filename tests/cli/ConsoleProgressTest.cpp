#include "cli/ConsoleProgress.h"

#include <gtest/gtest.h>

#include <sstream>

namespace veskar::cli {
namespace {

using std::chrono::milliseconds;

TEST(ConsoleProgressTest, BarShowsPacketsElapsedAndEstimate)
{
    struct Case {
        int done;
        int total;
        long elapsedMs;
        const char* expected;
    };
    const Case cases[] = {
        {0, 64, 0, "[--------------------]  0/64 packets  0:00 elapsed"},
        {16, 64, 10000, "[#####---------------]  16/64 packets  0:10 elapsed  0:30 left"},
        {64, 64, 75000, "[####################]  64/64 packets  1:15 elapsed"},
        {70, 64, 1000, "[####################]  64/64 packets  0:01 elapsed"},  // clamped
        {1, 0, 0, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ConsoleProgress::Bar(c.done, c.total, milliseconds(c.elapsedMs)), c.expected) << c.done;
}

TEST(ConsoleProgressTest, OffTerminalEveryTextIsOneLineAndRepeatsAreDropped)
{
    std::ostringstream err;
    ConsoleProgress progress(err, false, [] { return milliseconds(0); });
    progress.Activity("Setting up communications link");
    progress.PacketsDone(0, 2);
    progress.Activity("Transmitting packet 1 of 2");
    progress.Status("");
    progress.Status("Communications Failure - Check connection.");
    progress.DialogStatus("Communications Failure - Check connection.");
    progress.Message("File Error", MessageIcon::Exclamation, " CANNOT OPEN VOICE MESSAGE FILE ");
    EXPECT_EQ(err.str(), "Setting up communications link\n"
                         "Transmitting packet 1 of 2\n"
                         "Communications Failure - Check connection.\n"
                         "File Error: CANNOT OPEN VOICE MESSAGE FILE \n");
}

TEST(ConsoleProgressTest, OnTerminalPacketTextsStayInTheBar)
{
    std::ostringstream err;
    ConsoleProgress progress(err, true, [] { return milliseconds(0); });
    progress.PacketsDone(0, 2);
    progress.Activity("Transmitting packet 1 of 2");
    progress.Activity("Success");
    progress.TransferEnded(TransferResult::Succeeded);
    const std::string shown = err.str();
    EXPECT_EQ(shown.find("Transmitting packet 1 of 2\n"), std::string::npos);
    EXPECT_NE(shown.find("0/2 packets  0:00 elapsed  Transmitting packet 1 of 2"), std::string::npos);
    EXPECT_NE(shown.find("\r\033[KSuccess\n"), std::string::npos);
    EXPECT_EQ(progress.result(), TransferResult::Succeeded);
}

}  // namespace
}  // namespace veskar::cli
