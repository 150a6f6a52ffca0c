#include "EngineFixture.h"
#include "database/Defaults.h"
#include "programming/LineTrace.h"
#include "programming/TraceFile.h"
#include "programming/TransferFiles.h"

#include <gmock/gmock.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sstream>

namespace veskar::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(TraceLineTest, ShortFramesWholeDataFramesShortenedPurgesAndTimeOutsNamed)
{
    EXPECT_EQ(TraceLine(0, FrameDirection::FromPc, BuildFrame(kSourcePc, kCmdLinkFirstPass, 0)),
              "0 PC 16 00 89 00 00 29 BC");
    EXPECT_EQ(TraceLine(52, FrameDirection::FromUnit, BuildFrame(kSourceUnit, kCmdAcknowledge, 0)),
              "52 UNIT 16 01 90 00 00 12 6C");
    const std::vector<Byte> frame = BuildFrame(kSourceUnit, kCmdData, 0x0102, std::vector<Byte>(kBlockSize, 0xAB));
    char tail[8];
    std::snprintf(tail, sizeof tail, " %02X %02X", frame[4101], frame[4102]);
    EXPECT_EQ(TraceLine(123456, FrameDirection::FromUnit, frame),
              std::string("123456 UNIT 16 01 20 01 02 AB AB ...") + tail);
    EXPECT_EQ(PurgeTraceLine(7, kPurgeRxAbort | kPurgeTxClear), "7 PURGE RX-ABORT TX-CLEAR");
    EXPECT_EQ(PurgeTraceLine(7, kPurgeRxClear), "7 PURGE RX-CLEAR");
    EXPECT_EQ(TimeOutTraceLine(5001, 3, 4103), "5001 TIMEOUT 3 of 4103 bytes");
}

class LineTraceTest : public EngineTest {
  protected:
    LineTraceTest()
    {
        ExactTiming();
        CreateDatabase(image);
        engine.setLineWatcher(&trace);
    }

    [[nodiscard]] std::vector<std::string> Lines(std::string_view kind) const
    {
        std::vector<std::string> out;
        std::istringstream in(text.str());
        for (std::string line; std::getline(in, line);)
            if (line.find(kind) != std::string::npos)
                out.push_back(line);
        return out;
    }

    Image image{};
    std::ostringstream text;
    LineTrace trace{text, clock};
};

TEST_F(LineTraceTest, EveryFrameBothWaysWithItsTimeAndEveryPurge)
{
    ASSERT_TRUE(engine.StartConfigRead(image));
    RunToEnd();

    std::vector<std::string> sent;
    for (const LoggedFrame& frame : line.pcFrames())
        sent.push_back(TraceLine(frame.at, FrameDirection::FromPc, frame.bytes));
    EXPECT_EQ(Lines(" PC "), sent);
    // The link and the command are acknowledged, then the one block comes.
    EXPECT_THAT(Lines(" UNIT "), ElementsAre(HasSubstr("2001 UNIT 16 01 90"), HasSubstr("2052 UNIT 16 01 90"),
                                             HasSubstr("2103 UNIT 16 01 20 00 00")));
    EXPECT_EQ(Lines(" PURGE").size(), line.purges.size());
}

// What each step clears before it goes on: the purges between the frames.
TEST_F(LineTraceTest, EachStepPurgesWhatItMustBeforeItsFrame)
{
    WriteFile(dir.path / "voices.msg", Pattern(kBlockSize, 4));
    const struct {
        const char* name;
        std::function<bool()> start;
        std::vector<std::string> steps;
    } cases[] = {
        {"config write", [this] { return engine.StartConfigWrite(image); },
         {"PURGE RX-ABORT RX-CLEAR", "PC 16 00 89", "UNIT", "PURGE RX-ABORT RX-CLEAR", "PC 16 00 00", "UNIT",
          "PURGE RX-ABORT", "PC 16 00 20", "UNIT", "PC 16 00 83", "PURGE RX-CLEAR TX-CLEAR"}},
        {"config read", [this] { return engine.StartConfigRead(image); },
         {"PURGE RX-CLEAR", "PC 16 00 89", "UNIT", "PURGE RX-ABORT RX-CLEAR", "PC 16 00 40", "UNIT",
          "PURGE RX-ABORT RX-CLEAR", "PC 16 00 20", "UNIT", "PC 16 00 83", "PURGE RX-CLEAR TX-CLEAR"}},
        {"voice write", [this] { return engine.StartVoiceWrite(OpenSendFile(dir.path / "voices.msg")); },
         {"PURGE RX-ABORT RX-CLEAR", "PC 16 00 89", "UNIT", "PURGE RX-ABORT RX-CLEAR", "PC 16 00 01", "UNIT",
          "PURGE RX-ABORT", "PC 16 00 20", "UNIT", "PC 16 00 83", "PURGE RX-CLEAR TX-CLEAR"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        text.str("");
        ASSERT_TRUE(c.start());
        RunToEnd();
        std::vector<std::string> steps;
        std::istringstream in(text.str());
        for (std::string line; std::getline(in, line);) {
            const std::string event = line.substr(line.find(' ') + 1);
            steps.push_back(event.starts_with("UNIT") ? "UNIT" : event.starts_with("PC") ? event.substr(0, 11) : event);
        }
        EXPECT_EQ(steps, c.steps);
    }
}

TEST_F(LineTraceTest, ASilentUnitShowsEachAttemptTimingOut)
{
    Faults({.silent = true});
    ASSERT_TRUE(engine.StartConfigWrite(image));
    RunToEnd();

    EXPECT_EQ(Lines(" TIMEOUT 0 of 7 bytes").size(), 6U);
    EXPECT_TRUE(Lines(" UNIT ").empty());
    EXPECT_EQ(Lines(" PC ").size(), line.pcFrames().size());
}

// A trace that ran out of room says so when it closes; one with room does not.
TEST_F(LineTraceTest, TraceCutShortByAFullDiskIsToldAtTheEnd)
{
    for (const rlim_t room : {RLIM_INFINITY, rlim_t{100}}) {
        rlimit before{};
        ::getrlimit(RLIMIT_FSIZE, &before);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = before;
        limited.rlim_cur = room;
        ::setrlimit(RLIMIT_FSIZE, &limited);
        TraceFile trace;
        const bool opened = trace.Open(dir.path / "trace.txt", "write configuration on COM1", clock, 0);
        for (int i = 0; opened && i < 20; ++i)
            trace.watcher()->Sent(BuildFrame(kSourcePc, kCmdLinkFirstPass, 0));
        const bool whole = trace.Close();
        ::setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, previous);
        ASSERT_TRUE(opened);
        EXPECT_EQ(whole, room == RLIM_INFINITY);
        std::filesystem::remove(dir.path / "trace.txt");
    }
}

} // namespace
} // namespace veskar::testing
