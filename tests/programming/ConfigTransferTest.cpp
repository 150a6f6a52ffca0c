#include "EngineFixture.h"
#include "database/Defaults.h"
#include "directories/CommandTable.h"
#include "programming/ConfigPreparation.h"
#include "programming/TransferTexts.h"

#include <gmock/gmock.h>

namespace veskar::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

std::vector<Tick> Times(const std::vector<LoggedFrame>& frames)
{
    std::vector<Tick> out;
    for (const LoggedFrame& f : frames)
        out.push_back(f.at);
    return out;
}

class ConfigTransfer : public EngineTest {
  protected:
    ConfigTransfer() { CreateDatabase(image); }
    Image image{};
};

TEST_F(ConfigTransfer, WriteSendsLinkCommandOneBlockAndEnd)
{
    ExactTiming();
    image.gen.levelRadioRx = 40;
    image.gen.ackCode = CodeField{}; // no codes, but a line that dials
    image.dir[2][0] = kOpRadio;
    image.dir[2][1] = kLineEnd;
    image.dir[2][2] = kOpDial;
    ASSERT_TRUE(engine.StartConfigWrite(image));
    RunToEnd();

    const auto& frames = line.pcFrames();
    ASSERT_EQ(frames.size(), 4U);
    EXPECT_EQ(frames[0].bytes, (std::vector<Byte>{0x16, 0x00, 0x89, 0x00, 0x00, 0x29, 0xBC}));
    EXPECT_EQ(frames[1].bytes, (std::vector<Byte>{0x16, 0x00, 0x00, 0x00, 0x00, 0xC3, 0x6D}));
    EXPECT_EQ(frames[3].bytes, (std::vector<Byte>{0x16, 0x00, 0x83, 0x00, 0x00, 0x2B, 0x9C}));
    // Settle 2000, then 50 after each acknowledge and 50 + 50 after the data.
    EXPECT_THAT(Times(frames), ElementsAre(2001, 2052, 2103, 2205));
    EXPECT_EQ(clock.time, 2205U + 1001U);

    // The block is the adjusted image with a zero tail; the adjustments stay in the image.
    EXPECT_EQ(image.gen.levelRadioRx, 25);
    EXPECT_EQ(image.gen.sendFlags, kSendFlagPhone);
    std::vector<Byte> block(kBlockSize, 0);
    std::ranges::copy(image.bytes(), block.begin());
    EXPECT_EQ(memory.configuration, block);

    EXPECT_EQ(Recorder::Last(seen.dialog), texts::kDatabaseTransferred);
    EXPECT_EQ(Recorder::Last(seen.status), texts::kDatabaseTransferred);
    EXPECT_EQ(Recorder::Last(seen.activity), texts::kSuccess);
    EXPECT_THAT(seen.progress, ElementsAre(true, false));
    EXPECT_THAT(seen.ended, ElementsAre(TransferResult::Succeeded));
}

TEST_F(ConfigTransfer, ReadReplacesTheImageAndRepairsItThenTheOpenPortIsReused)
{
    ExactTiming();
    Image theirs{};
    CreateDatabase(theirs);
    theirs.gen.siteName.fill('X');
    theirs.User[3].startCode.length = 12; // repaired on arrival
    memory.configuration.assign(kBlockSize, Byte{0xEE});
    std::ranges::copy(theirs.bytes(), memory.configuration.begin());

    ASSERT_TRUE(engine.StartConfigRead(image));
    RunToEnd();
    EXPECT_THAT(line.pcCommands(),
                ElementsAre(kCmdLinkFirstPass, kCmdReadConfig, kCmdData, kCmdEndOfTransfer));
    EXPECT_EQ(line.pcFrames()[2].bytes, (std::vector<Byte>{0x16, 0x00, 0x20, 0x00, 0x00, 0x09, 0x6C}));
    EXPECT_THAT(Times(line.pcFrames()), ElementsAre(2001, 2052, 2103, 2154));
    EXPECT_EQ(clock.time, 2154U + 2002U);
    DefaultValues(theirs);
    EXPECT_EQ(image, theirs);
    EXPECT_EQ(seen.configurationRead, 1);
    EXPECT_EQ(Recorder::Last(seen.dialog), texts::kConfigurationRead);
    EXPECT_EQ(Recorder::Last(seen.status), texts::kSuccess);
    EXPECT_THAT(seen.ended, ElementsAre(TransferResult::Succeeded));

    const Tick second = clock.time;
    ASSERT_TRUE(engine.StartConfigWrite(image));
    RunToEnd();
    EXPECT_EQ(line.opens, 1);
    EXPECT_EQ(line.pcFrames()[4].at, second); // no settling wait
}

TEST_F(ConfigTransfer, SixSilentAttemptsTakeAboutThirtyOneSeconds)
{
    ExactTiming();
    Faults({.silent = true});
    for (bool write : {true, false}) {
        SCOPED_TRACE(write ? "write" : "read");
        line.frames.clear();
        seen = Recorder{};
        seen.clock = &clock;
        ASSERT_TRUE(write ? engine.StartConfigWrite(image) : engine.StartConfigRead(image));
        const Image before = image; // a write's adjustments are expected to stay
        RunToEnd();

        std::vector<Byte> expected = {0x89, 0x89, 0x89, 0x88, 0x88, 0x88};
        if (write)
            expected.push_back(kCmdEndOfTransfer);
        EXPECT_THAT(line.pcCommands(), ElementsAreArray(expected));
        const auto start = Recorder::When(seen.activity, texts::kSettingUpLink);
        const auto gaveUp = Recorder::When(seen.status, texts::kCheckConnection);
        ASSERT_TRUE(start && gaveUp);
        EXPECT_NEAR(static_cast<double>(*gaveUp - *start), 31000.0, 100.0);
        EXPECT_THAT(Recorder::Texts(seen.status),
                    ElementsAre("No response - retry 1", "No response - retry 2", "No response - retry 3",
                                texts::kStartingSecondPass, "No response - retry 1", "No response - retry 2",
                                "No response - retry 3", texts::kCheckConnection));
        EXPECT_THAT(Recorder::Texts(seen.dialog),
                    ElementsAre("", texts::kStartingSecondPass, texts::kCheckConnection));
        EXPECT_THAT(seen.ended, ElementsAre(TransferResult::Failed));
        EXPECT_EQ(image, before);
    }
}

constexpr std::string_view kAt1 = "Transfer failed at packet number 1";

TEST_F(ConfigTransfer, EndMarkerInPlaceOfDataIsJudgedAfterTheByteTimeout)
{
    ExactTiming();
    Faults({.endOfDataAtPacket = 0});
    const Image before = image;
    ASSERT_TRUE(engine.StartConfigRead(image));
    RunToEnd();
    // The request at 2103 is answered at once with 7 bytes; the wait for the
    // rest of a data frame runs out 1000 ms later and ends the reception.
    EXPECT_EQ(Recorder::When(seen.status, kAt1), Tick{2103 + 1001});
    EXPECT_EQ(seen.configurationRead, 0);
    EXPECT_EQ(image, before);
    // A failed read, but the unit completed its exchange and gets its closing frame.
    EXPECT_THAT(seen.ended, ElementsAre(TransferResult::Failed));
    EXPECT_EQ(line.pcCommands().back(), kCmdEndOfTransfer);
}

TEST_F(ConfigTransfer, PortThatWillNotOpenStopsBeforeAnyFrame)
{
    line.refuseOpen = true;
    const Image before = image;
    for (const std::string& why : {std::string(), std::string("Add yourself to the dialout group.")}) {
        line.whyNot = why;
        seen.boxes.clear();
        EXPECT_FALSE(engine.StartConfigRead(image));
        EXPECT_EQ(engine.lastRefusal(), StartRefusal::Port);
        ASSERT_EQ(seen.boxes.size(), 1U);
        EXPECT_EQ(seen.boxes[0].caption, "");
        EXPECT_EQ(seen.boxes[0].text,
                  why.empty() ? "Error opening COM port" : "Error opening COM port\n" + why);
        EXPECT_EQ(image, before);
    }
    EXPECT_TRUE(line.frames.empty());
    EXPECT_FALSE(engine.busy());
    EXPECT_THAT(seen.progress, ElementsAre(true, false, true, false));
    EXPECT_TRUE(seen.ended.empty());
}

// Each frame waits out length + 500 ms when the port never reports the write
// done, and the gaps hold while the tick wraps between the first two frames.
TEST_F(ConfigTransfer, WriteThatNeverReportsBackCountsAsSentAfterItsTimeoutAcrossTheWrap)
{
    ExactTiming();
    line.writeNeverFinishes = true;
    line.startAt(0xFFFFFFFFU - 2500U);
    ASSERT_TRUE(engine.StartConfigWrite(image));
    RunToEnd();
    const auto& frames = line.pcFrames();
    ASSERT_EQ(frames.size(), 4U);
    ASSERT_GT(frames[0].at, frames[1].at); // wrapped
    EXPECT_EQ(static_cast<Tick>(frames[1].at - frames[0].at), 7U + 501U + 51U);
    EXPECT_EQ(static_cast<Tick>(frames[3].at - frames[2].at), kDataFrameSize + 501U + 102U);
    EXPECT_THAT(seen.ended, ElementsAre(TransferResult::Succeeded));
}

TEST_F(ConfigTransfer, ReplyWaitIsBoundedOnABabblingLine)
{
    ExactTiming();
    Faults({.silent = true});
    line.babbleEvery = 400; // a stray byte well inside every byte time-out
    ASSERT_TRUE(engine.StartConfigRead(image));
    RunToEnd(60'000);
    EXPECT_THAT(line.pcCommands(), ElementsAre(0x89, 0x89, 0x89, 0x88, 0x88, 0x88));
}

TEST_F(ConfigTransfer, EventsOutsideATransferAndSpuriousTimersAreHarmless)
{
    engine.timerFired();
    engine.writeFinished();
    const Byte ack[] = {0x16, 0x01, 0x90, 0x00, 0x00, 0x12, 0x6C};
    engine.bytesArrived(ack);
    EXPECT_FALSE(engine.busy());

    ASSERT_TRUE(engine.StartConfigWrite(image));
    for (int i = 0; i < 5; ++i)
        engine.timerFired();
    EXPECT_TRUE(line.frames.empty()); // still settling
    EXPECT_FALSE(engine.StartConfigRead(image));
    EXPECT_EQ(engine.lastRefusal(), StartRefusal::Busy);
    RunToEnd();
    EXPECT_THAT(seen.ended, ElementsAre(TransferResult::Succeeded));
}

} // namespace
} // namespace veskar::testing
