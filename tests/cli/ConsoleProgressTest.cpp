#include "cli/ConsoleProgress.h"
#include "programming/TransferTexts.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace veskar::cli {
namespace {

using std::chrono::milliseconds;

TEST(ConsoleProgressTest, BarShowsPacketsElapsedAndEstimate)
{
    struct Case {
        int done;
        int total;
        long elapsedMs;
        std::optional<long> leftMs;
        const char* expected;
    };
    const Case cases[] = {
        {0, 64, 0, std::nullopt, "[--------------------]  0/64 packets  0:00 elapsed"},
        {16, 64, 10000, 30000, "[#####---------------]  16/64 packets  0:10 elapsed  0:30 left"},
        {16, 64, 10000, std::nullopt, "[#####---------------]  16/64 packets  0:10 elapsed"},
        {64, 64, 75000, 0, "[####################]  64/64 packets  1:15 elapsed"},
        {70, 64, 1000, std::nullopt, "[####################]  64/64 packets  0:01 elapsed"}, // clamped
        {7, 0, 3000, std::nullopt, "7/? packets  0:03 elapsed"},
    };
    for (const Case& c : cases) {
        const auto left = c.leftMs ? std::optional(milliseconds(*c.leftMs)) : std::nullopt;
        EXPECT_EQ(ConsoleProgress::Bar(c.done, c.total, milliseconds(c.elapsedMs), left), c.expected) << c.done;
    }
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

// Whatever the engine said last, the transfer ends with one line saying how it ended.
TEST(ConsoleProgressTest, EveryTransferEndsWithOneFinalLine)
{
    struct Case {
        const char* name;
        std::vector<std::pair<char, std::string>> said; // a: activity, s: status, d: dialog, m: message
        TransferResult result;
        const char* last;
    };
    const Case cases[] = {
        {"stopped after data went out",
         {{'a', "Transmitting packet 2 of 3"}, {'d', std::string(texts::kStoppedVoicesPartial)}},
         TransferResult::Stopped,
         texts::kStoppedVoicesPartial.data()},
        {"port gone",
         {{'s', "No response - retry 1"}, {'d', "Communications Failure - Check connection.\nThe port went away: gone"}},
         TransferResult::Failed,
         "Transfer failed: Communications Failure - Check connection.\nThe port went away: gone."},
        {"no link",
         {{'s', "Communications Failure - Check connection."}, {'s', "Success"}},
         TransferResult::Failed,
         "Transfer failed: Communications Failure - Check connection."},
        {"voices not saved",
         {{'m', " CANNOT SAVE VOICE MESSAGE FILE "}},
         TransferResult::Failed,
         "Transfer failed: CANNOT SAVE VOICE MESSAGE FILE."},
        {"read cut short",
         {{'a', "Data transfer from Corvane VWM"}, {'s', "Transfer failed at packet number 1"}},
         TransferResult::Failed,
         "Transfer failed at packet number 1."},
        {"read",
         {{'d', "Voice data read from the Corvane VWM"},
          {'a', "Select a file for storage"},
          {'s', "Success"}},
         TransferResult::Succeeded,
         "Transfer succeeded."},
        {"not kept", {}, TransferResult::Cancelled, "Transfer stopped: the voices read were not kept."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::ostringstream err;
        ConsoleProgress progress(err, false, [] { return milliseconds(0); });
        for (const auto& [kind, text] : c.said) {
            switch (kind) {
            case 'a': progress.Activity(text); break;
            case 's': progress.Status(text); break;
            case 'd': progress.DialogStatus(text); break;
            default: progress.Message("File Error", MessageIcon::Exclamation, text); break;
            }
        }
        progress.TransferEnded(c.result);
        const std::string shown = err.str();
        EXPECT_TRUE(shown.ends_with(std::string("\n") + c.last + "\n") || shown == std::string(c.last) + "\n")
            << shown;
        EXPECT_EQ(shown.find("Select a file for storage"), std::string::npos) << "a direction for the window";
    }
}

} // namespace
} // namespace veskar::cli
