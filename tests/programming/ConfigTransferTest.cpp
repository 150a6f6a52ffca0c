#include "EngineFixture.h"
#include "database/Defaults.h"
#include "directories/CommandTable.h"
#include "programming/ConfigPreparation.h"
#include "programming/Frame.h"
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
    ASSERT_TRUE(engine.StartConfigWrite(image));
    RunToEnd();

    const auto frames = line.pcFrames();
    ASSERT_EQ(frames.size(), 4U);
    EXPECT_EQ(frames[0].bytes, (std::vector<Byte>{0x16, 0x00, 0x89, 0x00, 0x00, 0x29, 0xBC}));
    EXPECT_EQ(frames[1].bytes, (std::vector<Byte>{0x16, 0x00, 0x00, 0x00, 0x00, 0xC3, 0x6D}));
    EXPECT_EQ(frames[2].bytes.size(), kDataFrameSize);
    EXPECT_EQ(frames[3].bytes, (std::vector<Byte>{0x16, 0x00, 0x83, 0x00, 0x00, 0x2B, 0x9C}));
    // Settle 2000, then 50 after each acknowledge and 50 + 50 after the data.
    EXPECT_THAT(Times(frames), ElementsAre(2001, 2052, 2103, 2205));
    EXPECT_EQ(clock.time, 2205U + 1001U);

    // The packet is the adjusted image with a zero tail; the adjustments stay in the image.
    ASSERT_EQ(unit.received.size(), kBlockSize);
    EXPECT_EQ(image.gen.levelRadioRx, 25);
    const auto sent = std::span<const Byte>(unit.received).first(kImageSize);
    EXPECT_TRUE(std::ranges::equal(sent, image.bytes()));
    EXPECT_TRUE(
        std::all_of(unit.received.begin() + kImageSize, unit.received.end(), [](Byte b) { return b == 0; }));

    EXPECT_EQ(Recorder::Last(seen.dialog), texts::kDatabaseTransferred);
    EXPECT_EQ(Recorder::Last(seen.status), texts::kDatabaseTransferred);
    EXPECT_EQ(Recorder::Last(seen.activity), texts::kSuccess);
    EXPECT_THAT(seen.progress, ElementsAre(true, false));
    EXPECT_THAT(seen.ended, ElementsAre(TransferResult::Succeeded));
}

TEST_F(ConfigTransfer, SendFlagsFollowCodesAndPhoneNumbers)
{
    image.gen.ackCode = CodeField{}; // access code set, acknowledge code missing
    image.dir[2][0] = kOpRadio;
    image.dir[2][1] = kLineEnd;
    image.dir[2][2] = kOpDial;
    ASSERT_TRUE(engine.StartConfigWrite(image));
    RunToEnd();
    ASSERT_EQ(unit.received.size(), kBlockSize);
    EXPECT_EQ(unit.received[offsetof(Image, gen) + offsetof(SystemBlock, sendFlags)], kSendFlagPhone);
}

TEST_F(ConfigTransfer, ReadReplacesTheImageAndRepairsIt)
{
    ExactTiming();
    Image theirs{};
    CreateDatabase(theirs);
    theirs.gen.siteName.fill('X');
    theirs.User[3].startCode.length = 12; // repaired on arrival
    std::ranges::copy(theirs.bytes(), unit.configuration.begin());
    std::fill(unit.configuration.begin() + kImageSize, unit.configuration.end(), Byte{0xEE});

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
}

TEST_F(ConfigTransfer, SecondTransferReusesTheOpenPort)
{
    ExactTiming();
    ASSERT_TRUE(engine.StartConfigWrite(image));
    RunToEnd();
    const Tick second = clock.time;
    ASSERT_TRUE(engine.StartConfigRead(image));
    RunToEnd();
    EXPECT_EQ(line.opens, 1);
    EXPECT_EQ(line.pcFrames()[4].at, second); // no settling wait
}

TEST_F(ConfigTransfer, SixSilentAttemptsTakeAboutThirtyOneSeconds)
{
    ExactTiming();
    unit.silent = true;
    for (bool write : {true, false}) {
        SCOPED_TRACE(write ? "write" : "read");
        line.frames.clear();
        seen = Recorder{};
        seen.clock = &clock;
        const Image before = image;
        ASSERT_TRUE(write ? engine.StartConfigWrite(image) : engine.StartConfigRead(image));
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
        if (!write) {
            EXPECT_EQ(image, before);
        }
    }
}

TEST_F(ConfigTransfer, SecondPassRescuesTheLink)
{
    unit.ignoreFirst = 4;
    ASSERT_TRUE(engine.StartConfigWrite(image));
    RunToEnd();
    EXPECT_THAT(line.pcCommands(),
                ElementsAre(0x89, 0x89, 0x89, 0x88, 0x88, kCmdWriteConfig, kCmdData, 0x83));
    EXPECT_THAT(seen.ended, ElementsAre(TransferResult::Succeeded));
}

// How each fault ends: the frames the PC sent, the last Activity and Status, and the result.
TEST_F(ConfigTransfer, FaultsEndWithTheirTextsAndFrames)
{
    const Byte link = kCmdLinkFirstPass, data = kCmdData, end = kCmdEndOfTransfer;
    struct Case {
        const char* name;
        bool write;
        std::function<void(ScriptedUnit&)> fault;
        std::vector<Byte> commands;
        std::string activity;
        std::string status;
        TransferResult result;
    };
    const std::vector<Case> cases = {
        {"write: data never acknowledged",
         true,
         [](ScriptedUnit& u) { u.ignoreCommand = kCmdData; },
         {link, kCmdWriteConfig, data, data, data, end},
         "Transmitting packet 1 of 1",
         "No response - retry 3",
         TransferResult::Failed},
        {"write: command never acknowledged",
         true,
         [](ScriptedUnit& u) { u.ignoreCommand = kCmdWriteConfig; },
         {link, kCmdWriteConfig, kCmdWriteConfig, kCmdWriteConfig, end},
         texts::kSettingUpLink.data(),
         "",
         TransferResult::Failed},
        {"write: one corrupt acknowledge",
         true,
         [](ScriptedUnit& u) { u.corruptReply = 3; },
         {link, kCmdWriteConfig, data, data, end},
         texts::kSuccess.data(),
         texts::kDatabaseTransferred.data(),
         TransferResult::Succeeded},
        {"read: command never acknowledged",
         false,
         [](ScriptedUnit& u) { u.ignoreCommand = kCmdReadConfig; },
         {link, kCmdReadConfig, kCmdReadConfig, kCmdReadConfig},
         texts::kSettingUpLink.data(),
         "",
         TransferResult::Failed},
        {"read: every data frame corrupt",
         false,
         [](ScriptedUnit& u) { u.corruptAllData = true; },
         {link, kCmdReadConfig, data, data, data},
         texts::kDataTransferFromUnit.data(),
         "Transfer failed at packet number 1",
         TransferResult::Failed},
        {"read: sound frame with the wrong command",
         false,
         [](ScriptedUnit& u) { u.wrongCommand = true; },
         {link, kCmdReadConfig, data, data, data},
         texts::kDataTransferFromUnit.data(),
         "Transfer failed at packet number 1",
         TransferResult::Failed},
        {"read: one corrupt data frame",
         false,
         [](ScriptedUnit& u) { u.corruptReply = 3; },
         {link, kCmdReadConfig, data, data, end},
         texts::kConfigurationRead.data(),
         texts::kSuccess.data(),
         TransferResult::Succeeded},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VirtualClock clock;
        ScriptedUnit unit;
        unit.configuration.assign(kBlockSize, 0);
        unit.configuration[offsetof(Image, gen) + offsetof(SystemBlock, siteName)] = 'Q';
        c.fault(unit);
        VirtualLine line(clock, [&unit](std::span<const Byte> frame) { return unit(frame); });
        Recorder seen;
        seen.clock = &clock;
        TransferEngine engine(line, clock, seen);
        line.attach(engine);
        Image mine{};
        CreateDatabase(mine);
        Image before = mine;

        ASSERT_TRUE(c.write ? engine.StartConfigWrite(mine) : engine.StartConfigRead(mine));
        if (c.write)
            before = mine; // the preparation's adjustments are expected to stay
        ASSERT_TRUE(line.run());
        EXPECT_THAT(line.pcCommands(), ElementsAreArray(c.commands));
        EXPECT_EQ(Recorder::Last(seen.activity), c.activity);
        EXPECT_EQ(Recorder::Last(seen.status), c.status);
        EXPECT_THAT(seen.ended, ElementsAre(c.result));
        if (c.result == TransferResult::Failed) {
            EXPECT_EQ(mine, before);
        } else if (!c.write) {
            EXPECT_EQ(mine.gen.siteName[0], 'Q');
        }
        EXPECT_FALSE(engine.busy());
    }
}

TEST_F(ConfigTransfer, EndMarkerInPlaceOfDataIsJudgedAfterTheByteTimeout)
{
    ExactTiming();
    unit.endOfDataAt = 0;
    ASSERT_TRUE(engine.StartConfigRead(image));
    RunToEnd();
    // The request at 2103 is answered at once with 7 bytes; the wait for the
    // rest of a data frame runs out 1000 ms later and ends the reception.
    EXPECT_EQ(Recorder::When(seen.status, "Transfer failed at packet number 1"), Tick{2103 + 1001});
    EXPECT_EQ(seen.configurationRead, 0);
}

TEST_F(ConfigTransfer, PortThatWillNotOpenStopsBeforeAnyFrame)
{
    line.refuseOpen = true;
    for (std::string why : {std::string(), std::string("Add yourself to the dialout group.")}) {
        line.whyNot = why;
        seen.boxes.clear();
        const Image before = image;
        Image copy = image;
        EXPECT_FALSE(engine.StartConfigRead(copy));
        EXPECT_EQ(engine.lastRefusal(), StartRefusal::Port);
        ASSERT_EQ(seen.boxes.size(), 1U);
        EXPECT_EQ(seen.boxes[0].caption, "");
        EXPECT_EQ(seen.boxes[0].text,
                  why.empty() ? "Error opening COM port" : "Error opening COM port\n" + why);
        EXPECT_EQ(copy, before);
    }
    EXPECT_TRUE(line.frames.empty());
    EXPECT_FALSE(engine.busy());
    EXPECT_THAT(seen.progress, ElementsAre(true, false, true, false));
    EXPECT_TRUE(seen.ended.empty());
}

TEST_F(ConfigTransfer, WriteThatNeverReportsBackCountsAsSentAfterItsTimeout)
{
    ExactTiming();
    line.writeNeverFinishes = true;
    ASSERT_TRUE(engine.StartConfigWrite(image));
    RunToEnd();
    const auto frames = line.pcFrames();
    ASSERT_EQ(frames.size(), 4U);
    // Each frame waits out length + 500 ms before the reply is taken in.
    EXPECT_EQ(frames[1].at - frames[0].at, 7U + 501U + 51U);
    EXPECT_EQ(frames[3].at - frames[2].at, kDataFrameSize + 501U + 102U);
    EXPECT_THAT(seen.ended, ElementsAre(TransferResult::Succeeded));
}

TEST_F(ConfigTransfer, ReplyWaitIsBoundedOnABabblingLine)
{
    ExactTiming();
    unit.silent = true;
    line.babbleEvery = 400; // a stray byte well inside every byte time-out
    ASSERT_TRUE(engine.StartConfigRead(image));
    RunToEnd(60'000);
    EXPECT_THAT(line.pcCommands(), ElementsAre(0x89, 0x89, 0x89, 0x88, 0x88, 0x88));
}

TEST_F(ConfigTransfer, DeadlinesSurviveTheTickWrapping)
{
    ExactTiming();
    line.startAt(0xFFFFFFFFU - 2500U);
    ASSERT_TRUE(engine.StartConfigWrite(image));
    RunToEnd();
    const auto frames = line.pcFrames();
    ASSERT_EQ(frames.size(), 4U);
    EXPECT_EQ(static_cast<Tick>(frames[1].at - frames[0].at), 51U);
    EXPECT_EQ(static_cast<Tick>(frames[3].at - frames[2].at), 102U);
    EXPECT_THAT(seen.ended, ElementsAre(TransferResult::Succeeded));
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
