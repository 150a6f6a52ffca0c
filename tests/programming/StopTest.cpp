#include "EngineFixture.h"
#include "database/Defaults.h"
#include "programming/TransferFiles.h"
#include "programming/TransferTexts.h"

#include <functional>

namespace veskar::testing {
namespace {

class StopTest : public EngineTest {
  protected:
    StopTest()
    {
        CreateDatabase(image);
        WriteFile(dir.path / "voc91.bin", Pattern(20000, 1));
        WriteFile(dir.path / "veskar.msg", Pattern(3 * kBlockSize, 2));
    }

    struct Kind {
        const char* name;
        bool sending;
        std::function<bool(StopTest&)> start;
    };
    static std::vector<Kind> Kinds()
    {
        return {
            {"config write", true, [](StopTest& t) { return t.engine.StartConfigWrite(t.image); }},
            {"config read", false, [](StopTest& t) { return t.engine.StartConfigRead(t.image); }},
            {"vocab write", true,
             [](StopTest& t) { return t.engine.StartVocabWrite(OpenSendFile(t.dir.path / "voc91.bin")); }},
            {"voice write", true,
             [](StopTest& t) { return t.engine.StartVoiceWrite(OpenSendFile(t.dir.path / "veskar.msg")); }},
            {"voice read", false, [](StopTest& t) { return t.engine.StartVoiceRead(OpenVoiceStore(t.dir.path)); }},
        };
    }

    Image image{};
};

// Stopped at each stage before the unit has been given anything: the unit, the
// image and the files stay as they were, and a send still closes the exchange.
class StopBeforeDelivery : public StopTest, public ::testing::WithParamInterface<std::tuple<int, Tick>> {};

TEST_P(StopBeforeDelivery, ChangesNothingAndEndsAsAFailureOfItsDirection)
{
    const Kind kind = Kinds()[static_cast<std::size_t>(std::get<0>(GetParam()))];
    const UnitMemory unitBefore = memory;
    const Image imageBefore = image;
    ASSERT_TRUE(kind.start(*this));
    EXPECT_FALSE(line.run(std::get<1>(GetParam())));
    ASSERT_TRUE(engine.stoppable());
    const std::size_t framesBefore = line.frames.size();
    engine.Stop();
    RunToEnd();

    EXPECT_EQ(seen.ended, std::vector<TransferResult>{TransferResult::Stopped});
    EXPECT_EQ(Recorder::Last(seen.dialog), texts::kTransferStopped);
    EXPECT_EQ(memory, unitBefore);
    EXPECT_EQ(seen.configurationRead, 0);
    EXPECT_EQ(seen.saveAsked, 0);
    std::vector<Byte> after;
    for (std::size_t i = framesBefore; i < line.frames.size(); ++i)
        after.push_back(line.frames[i].command());
    EXPECT_EQ(after, kind.sending ? std::vector<Byte>{kCmdEndOfTransfer} : std::vector<Byte>{});
    if (!kind.sending) {
        EXPECT_EQ(image, imageBefore);
    }
    EXPECT_EQ(ReadFile(dir.path / "veskar.msg"), Pattern(3 * kBlockSize, 2));
    EXPECT_FALSE(ScratchLeft(dir.path));
}

// Settling after the port opened; link set up, command on its way.
INSTANTIATE_TEST_SUITE_P(EveryKind, StopBeforeDelivery,
                         ::testing::Combine(::testing::Range(0, 5), ::testing::Values<Tick>(500, 2030)));

TEST_F(StopTest, FrameGoingOutIsCutShortThenTheEndIsSent)
{
    line.writeNeverFinishes = true;
    ASSERT_TRUE(engine.StartConfigWrite(image));
    EXPECT_FALSE(line.run(2001)); // the link request is being written
    ASSERT_EQ(line.frames.size(), 1u);
    line.purges.clear();
    engine.Stop();
    RunToEnd();
    ASSERT_FALSE(line.purges.empty());
    EXPECT_TRUE(line.purges.front() & kPurgeTxClear);
    EXPECT_EQ(line.pcCommands(), (std::vector<Byte>{kCmdLinkFirstPass, kCmdEndOfTransfer}));
}

TEST_F(StopTest, DataPacketCutShortNeverReachesTheUnit)
{
    std::vector<Byte> reached;
    unit->onFrame = [&reached](FrameDirection direction, std::span<const Byte> frame) {
        if (direction == FrameDirection::FromPc)
            reached.push_back(FrameCommand(frame));
    };
    const UnitMemory unitBefore = memory;
    ASSERT_TRUE(engine.StartConfigWrite(image));
    EXPECT_FALSE(line.run(2600)); // the 4103-byte packet takes about a second to send
    ASSERT_EQ(line.pcCommands().back(), kCmdData);
    engine.Stop();
    RunToEnd();
    EXPECT_EQ(reached, (std::vector<Byte>{kCmdLinkFirstPass, kCmdWriteConfig, kCmdEndOfTransfer}));
    EXPECT_EQ(memory, unitBefore);
}

TEST_F(StopTest, ReadStoppedMidwayKeepsNothingOfWhatArrived)
{
    memory.voices = Pattern(40 * kBlockSize, 3);
    const UnitMemory unitBefore = memory;
    ASSERT_TRUE(engine.StartVoiceRead(OpenVoiceStore(dir.path)));
    EXPECT_FALSE(line.run(6000));
    ASSERT_GT(seen.packets.size(), 2u) << "blocks should be arriving by now";
    engine.Stop();
    RunToEnd();
    EXPECT_EQ(seen.ended, std::vector<TransferResult>{TransferResult::Stopped});
    EXPECT_EQ(seen.saveAsked, 0);
    EXPECT_EQ(memory, unitBefore);
    EXPECT_FALSE(ScratchLeft(dir.path));
}

TEST_F(StopTest, NothingToStopOnceDelivered)
{
    ASSERT_TRUE(engine.StartConfigWrite(image));
    RunToEnd();
    EXPECT_FALSE(engine.stoppable());
    engine.Stop();
    EXPECT_EQ(seen.ended, std::vector<TransferResult>{TransferResult::Succeeded});
    EXPECT_EQ(memory.configuration[0], image.bytes()[0]);

    // A stop in the closing pause of a good read keeps what was read.
    Image read{};
    Tick started = clock.time;
    ASSERT_TRUE(engine.StartConfigRead(read));
    RunToEnd();
    const Tick readAfter = *Recorder::When(seen.dialog, texts::kConfigurationRead) - started;

    started = clock.time;
    ASSERT_TRUE(engine.StartConfigRead(read));
    EXPECT_FALSE(line.run(readAfter + 10));
    ASSERT_EQ(seen.configurationRead, 2);
    EXPECT_FALSE(engine.stoppable());
    engine.Stop();
    RunToEnd();
    EXPECT_EQ(seen.ended.back(), TransferResult::Succeeded);
}

} // namespace
} // namespace veskar::testing
