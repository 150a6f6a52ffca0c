#include "programming/unit/SimulatedUnit.h"

#include "database/Defaults.h"
#include "programming/Frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace veskar {
namespace {

using Bytes = std::vector<Byte>;

Bytes Pc(Byte command, std::uint16_t packet = 0, std::span<const Byte> data = {})
{
    return BuildFrame(kSourcePc, command, packet, data);
}

Bytes Ack()
{
    return BuildFrame(kSourceUnit, kCmdAcknowledge, 0);
}

Bytes Block(Byte seed)
{
    Bytes block(kBlockSize);
    std::iota(block.begin(), block.end(), seed);
    return block;
}

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes DataReply(std::uint16_t packet, std::span<const Byte> memory)
{
    return BuildFrame(kSourceUnit, kCmdData, packet, memory.subspan(packet * kBlockSize, kBlockSize));
}

struct Exchange {
    Bytes request;
    Bytes reply;
};

class SimulatedUnitTest : public ::testing::Test {
  protected:
    UnitMemory memory = UnitMemory::Fresh();
};

TEST_F(SimulatedUnitTest, FreshMemoryHoldsDefaultConfigurationAndDistinctVoiceBlocks)
{
    Image image{};
    CreateDatabase(image);
    ASSERT_EQ(memory.configuration.size(), kBlockSize);
    EXPECT_TRUE(std::ranges::equal(image.bytes(), std::span(memory.configuration).first(kImageSize)));
    EXPECT_TRUE(std::all_of(memory.configuration.begin() + kImageSize, memory.configuration.end(),
                            [](Byte b) { return b == 0; }));

    ASSERT_GE(memory.voices.size(), 2 * kBlockSize);
    ASSERT_EQ(memory.voices.size() % kBlockSize, 0U);
    const std::span voices(memory.voices);
    EXPECT_FALSE(std::ranges::equal(voices.first(kBlockSize), voices.subspan(kBlockSize, kBlockSize)));
    EXPECT_TRUE(memory.vocabulary.empty());
}

// Each step of every kind of transfer, in one session, with the reply it must get.
TEST_F(SimulatedUnitTest, AnswersEveryStepOfEveryTransfer)
{
    const UnitMemory before = memory;
    const Bytes config = Block(7);
    const std::vector<Exchange> session = {
        {Pc(kCmdLinkFirstPass), Ack()},
        {Pc(kCmdLinkSecondPass), Ack()},
        // configuration read: one block, then end of data
        {Pc(kCmdReadConfig), Ack()},
        {Pc(kCmdData, 0), DataReply(0, before.configuration)},
        {Pc(kCmdData, 1), Ack()},
        {Pc(kCmdEndOfTransfer), {}},
        // voice read: every block held, then end of data
        {Pc(kCmdLinkFirstPass), Ack()},
        {Pc(kCmdReadVoices), Ack()},
        {Pc(kCmdData, 0), DataReply(0, before.voices)},
        {Pc(kCmdData, 1), DataReply(1, before.voices)},
        {Pc(kCmdData, 2), DataReply(2, before.voices)},
        {Pc(kCmdData, 3), Ack()},
        {Pc(kCmdEndOfTransfer), {}},
        // configuration write
        {Pc(kCmdLinkFirstPass), Ack()},
        {Pc(kCmdWriteConfig), Ack()},
        {Pc(kCmdData, 0, config), Ack()},
        {Pc(kCmdEndOfTransfer), {}},
        // and read back
        {Pc(kCmdLinkFirstPass), Ack()},
        {Pc(kCmdReadConfig), Ack()},
        {Pc(kCmdData, 0), DataReply(0, config)},
        {Pc(kCmdEndOfTransfer), {}},
    };
    SimulatedUnit unit(memory);
    for (std::size_t i = 0; i < session.size(); ++i)
        EXPECT_EQ(unit.receive(session[i].request), session[i].reply) << "step " << i;
    EXPECT_EQ(memory.configuration, config);
    EXPECT_EQ(memory.voices, before.voices);
}

TEST_F(SimulatedUnitTest, WritesTakeEffectAtEndOfTransferOnly)
{
    const UnitMemory before = memory;
    int stored = 0;
    SimulatedUnit unit(memory);
    unit.onStored = [&] { ++stored; };

    // Voices: blocks in order, a repeat replaces the block, a gap is not answered.
    EXPECT_EQ(unit.receive(Pc(kCmdWriteVoices)), Ack());
    EXPECT_EQ(unit.receive(Pc(kCmdData, 0, Block(1))), Ack());
    EXPECT_EQ(unit.receive(Pc(kCmdData, 1, Block(2))), Ack());
    EXPECT_EQ(unit.receive(Pc(kCmdData, 1, Block(3))), Ack());
    EXPECT_EQ(unit.receive(Pc(kCmdData, 3, Block(4))), Bytes{});
    EXPECT_EQ(memory, before);
    EXPECT_EQ(unit.receive(Pc(kCmdEndOfTransfer)), Bytes{});
    EXPECT_EQ(memory.voices, Concat({Block(1), Block(3)}));
    EXPECT_EQ(stored, 1);

    // A transfer abandoned for a new link request leaves the memory as it was.
    const UnitMemory afterVoices = memory;
    EXPECT_EQ(unit.receive(Pc(kCmdWriteConfig)), Ack());
    EXPECT_EQ(unit.receive(Pc(kCmdData, 0, Block(9))), Ack());
    EXPECT_EQ(unit.receive(Pc(kCmdData, 1, Block(9))), Bytes{}); // the configuration is one block
    EXPECT_EQ(unit.receive(Pc(kCmdLinkFirstPass)), Ack());
    EXPECT_EQ(unit.receive(Pc(kCmdEndOfTransfer)), Bytes{});
    EXPECT_EQ(memory, afterVoices);
    EXPECT_EQ(stored, 1);

    // A new vocabulary wipes the voices.
    EXPECT_EQ(unit.receive(Pc(kCmdWriteVocab)), Ack());
    EXPECT_EQ(unit.receive(Pc(kCmdData, 0, Block(5))), Ack());
    EXPECT_EQ(unit.receive(Pc(kCmdEndOfTransfer)), Bytes{});
    EXPECT_EQ(memory.vocabulary, Block(5));
    EXPECT_TRUE(memory.voices.empty());
    EXPECT_EQ(memory.configuration, before.configuration);
    EXPECT_EQ(stored, 2);

    // With no voices held the first request already gets the end of data.
    EXPECT_EQ(unit.receive(Pc(kCmdReadVoices)), Ack());
    EXPECT_EQ(unit.receive(Pc(kCmdData, 0)), Ack());
}

TEST_F(SimulatedUnitTest, RefusesWritesBeyondItsVoiceMemory)
{
    SimulatedUnit unit(memory);
    EXPECT_EQ(unit.receive(Pc(kCmdWriteVoices)), Ack());
    const Bytes block = Block(0);
    for (std::uint16_t packet = 0; packet < kUnitVoiceBlocks; ++packet)
        ASSERT_EQ(unit.receive(Pc(kCmdData, packet, block)), Ack()) << packet;
    EXPECT_EQ(unit.receive(Pc(kCmdData, kUnitVoiceBlocks, block)), Bytes{});
    EXPECT_EQ(unit.receive(Pc(kCmdEndOfTransfer)), Bytes{});
    EXPECT_EQ(memory.voices.size(), kUnitVoiceBlocks * kBlockSize);
}

TEST_F(SimulatedUnitTest, GivesTheSameBytesWhateverTheChunking)
{
    const Bytes session = Concat({Pc(kCmdLinkFirstPass), Pc(kCmdWriteVoices), Pc(kCmdData, 0, Block(3)),
                                  Pc(kCmdData, 1, Block(4)), Pc(kCmdEndOfTransfer), Pc(kCmdLinkFirstPass),
                                  Pc(kCmdReadVoices), Pc(kCmdData, 0), Pc(kCmdData, 1), Pc(kCmdData, 2)});
    const Bytes expected =
        Concat({Ack(), Ack(), Ack(), Ack(), Ack(), Ack(), BuildFrame(kSourceUnit, kCmdData, 0, Block(3)),
                BuildFrame(kSourceUnit, kCmdData, 1, Block(4)), Ack()});

    for (std::size_t chunk : {std::size_t{1}, std::size_t{2}, std::size_t{5}, std::size_t{7},
                              std::size_t{4096}, session.size()}) {
        UnitMemory local = UnitMemory::Fresh();
        SimulatedUnit unit(local);
        Bytes out;
        for (std::size_t at = 0; at < session.size(); at += chunk) {
            const Bytes part =
                unit.receive(std::span(session).subspan(at, std::min(chunk, session.size() - at)));
            out.insert(out.end(), part.begin(), part.end());
        }
        EXPECT_EQ(out, expected) << "chunks of " << chunk;
    }
}

// Whatever comes before it, a good frame is still found and answered, once.
TEST_F(SimulatedUnitTest, ResynchronisesAfterGarbage)
{
    Bytes badCrc = Pc(kCmdLinkFirstPass);
    badCrc.back() ^= 0x01;
    Bytes fromUnit = Ack();
    const Bytes link = Pc(kCmdLinkFirstPass);
    const std::vector<std::pair<const char*, Bytes>> garbage = {
        {"noise", {0x00, 0xFF, 0x55, 0x13}},
        {"lone starts", {0x16, 0x16, 0x16}},
        {"start and PC source", {0x16, 0x00}},
        {"unknown command", {0x16, 0x00, 0x77, 0x00, 0x00, 0x12, 0x34}},
        {"bad CRC", badCrc},
        {"frame from the unit", fromUnit},
        {"truncated frame", Bytes(link.begin(), link.begin() + 4)},
    };
    for (const auto& [name, prefix] : garbage) {
        UnitMemory local = UnitMemory::Fresh();
        SimulatedUnit unit(local);
        EXPECT_EQ(unit.receive(prefix), Bytes{}) << name;
        EXPECT_EQ(unit.receive(link), Ack()) << name;
    }
}

TEST_F(SimulatedUnitTest, FindsAShortFrameInsideACorruptDataFrame)
{
    SimulatedUnit unit(memory);
    EXPECT_EQ(unit.receive(Pc(kCmdWriteVoices)), Ack());
    Bytes data = Pc(kCmdData, 0, Block(0));
    data.resize(100); // the rest never came
    EXPECT_EQ(unit.receive(data), Bytes{});
    // What follows fills the broken frame; the link request inside it is still found.
    Bytes restart = Pc(kCmdLinkFirstPass);
    restart.resize(kDataFrameSize - data.size(), 0);
    const Bytes out = unit.receive(restart);
    EXPECT_EQ(out, Ack());
}

TEST_F(SimulatedUnitTest, ReportsEveryFrameEitherWay)
{
    std::vector<std::pair<FrameDirection, Bytes>> frames;
    SimulatedUnit unit(memory);
    unit.onFrame = [&](FrameDirection direction, std::span<const Byte> frame) {
        frames.emplace_back(direction, Bytes(frame.begin(), frame.end()));
    };
    Bytes bad = Pc(kCmdReadVoices);
    bad[5] ^= 0xFF;
    (void)unit.receive(
        Concat({Pc(kCmdLinkFirstPass), bad, Pc(kCmdReadConfig), Pc(kCmdData, 0), Pc(kCmdEndOfTransfer)}));
    const std::vector<std::pair<FrameDirection, Bytes>> expected = {
        {FrameDirection::FromPc, Pc(kCmdLinkFirstPass)},
        {FrameDirection::FromUnit, Ack()},
        {FrameDirection::FromPc, Pc(kCmdReadConfig)},
        {FrameDirection::FromUnit, Ack()},
        {FrameDirection::FromPc, Pc(kCmdData, 0)},
        {FrameDirection::FromUnit, DataReply(0, memory.configuration)},
        {FrameDirection::FromPc, Pc(kCmdEndOfTransfer)},
    };
    EXPECT_EQ(frames, expected);
}

// --- faults ---------------------------------------------------------------

// The replies to a fixed session: link, read voices, requests 0..3, end.
std::vector<Bytes> RunReadSession(UnitFaults faults, const UnitMemory& start)
{
    UnitMemory memory = start;
    SimulatedUnit unit(memory, faults);
    std::vector<Bytes> replies;
    for (const Bytes& request : {Pc(kCmdLinkFirstPass), Pc(kCmdReadVoices), Pc(kCmdData, 0), Pc(kCmdData, 1),
                                 Pc(kCmdData, 2), Pc(kCmdData, 3), Pc(kCmdEndOfTransfer)})
        replies.push_back(unit.receive(request));
    return replies;
}

TEST_F(SimulatedUnitTest, FaultsChangeExactlyTheRepliesTheyName)
{
    const std::vector<Bytes> normal = RunReadSession({}, memory);
    ASSERT_EQ(normal.size(), 7U);
    ASSERT_EQ(normal[2], DataReply(0, memory.voices));

    const auto withCrcBroken = [&](std::size_t index) {
        std::vector<Bytes> replies = normal;
        replies[index].back() ^= 0xFF;
        return replies;
    };
    const Bytes wrong = BuildFrame(kSourceUnit, kWrongReplyCommand, 0);
    const Bytes ack = Ack();

    struct Case {
        const char* name;
        UnitFaults faults;
        std::vector<Bytes> expected;
    };
    const std::vector<Case> cases = {
        {"silent", {.silent = true}, std::vector<Bytes>(7)},
        {"ignore=1", {.ignoreFirst = 1}, {{}, normal[1], normal[2], normal[3], normal[4], normal[5], {}}},
        // the read command is dropped too, so the requests find no read running
        {"ignore=2", {.ignoreFirst = 2}, std::vector<Bytes>(7)},
        {"bad-crc=3", {.corruptReply = 3}, withCrcBroken(2)},
        {"bad-crc=2", {.corruptReply = 2}, withCrcBroken(1)},
        {"end-at=1",
         {.endOfDataAtPacket = 1},
         {normal[0], normal[1], normal[2], Ack(), normal[4], Ack(), {}}},
        {"end-at=0",
         {.endOfDataAtPacket = 0},
         {normal[0], normal[1], Ack(), normal[3], normal[4], Ack(), {}}},
        {"wrong-command", {.wrongCommand = true}, {wrong, wrong, wrong, wrong, wrong, wrong, {}}},
        {"wrong-command=3",
         {.wrongCommand = true, .wrongCommandReply = 3},
         {normal[0], normal[1], wrong, normal[3], normal[4], normal[5], {}}},
        {"cut=10", {.cutAfterBytes = 10}, {ack, Bytes(ack.begin(), ack.begin() + 3), {}, {}, {}, {}, {}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RunReadSession(c.faults, memory), c.expected) << c.name;
}

TEST_F(SimulatedUnitTest, NoiseComesBeforeEachReplyAndNeverHoldsAFrameStart)
{
    const std::vector<Bytes> normal = RunReadSession({}, memory);
    const std::vector<Bytes> noisy = RunReadSession({.noise = true}, memory);
    ASSERT_EQ(noisy.size(), normal.size());
    for (std::size_t i = 0; i < normal.size(); ++i) {
        if (normal[i].empty()) {
            EXPECT_TRUE(noisy[i].empty());
            continue;
        }
        ASSERT_GT(noisy[i].size(), normal[i].size()) << i;
        const std::size_t noise = noisy[i].size() - normal[i].size();
        EXPECT_TRUE(std::equal(normal[i].begin(), normal[i].end(), noisy[i].begin() + noise)) << i;
        EXPECT_EQ(std::find(noisy[i].begin(), noisy[i].begin() + noise, kFrameStart),
                  noisy[i].begin() + noise)
            << i;
    }
}

TEST_F(SimulatedUnitTest, EchoSendsBackEveryByteBeforeTheReply)
{
    SimulatedUnit unit(memory, {.echo = true});
    const Bytes garbage = {0x01, 0x16, 0x02};
    EXPECT_EQ(unit.receive(garbage), garbage);
    const Bytes link = Pc(kCmdLinkFirstPass);
    EXPECT_EQ(unit.receive(link), Concat({link, Ack()}));
}

TEST_F(SimulatedUnitTest, CutLineStaysDeadAndTheFrameIsReportedAsFarAsItGot)
{
    std::vector<Bytes> sent;
    SimulatedUnit unit(memory, {.cutAfterBytes = 100});
    unit.onFrame = [&](FrameDirection direction, std::span<const Byte> frame) {
        if (direction == FrameDirection::FromUnit)
            sent.emplace_back(frame.begin(), frame.end());
    };
    EXPECT_EQ(unit.receive(Pc(kCmdReadVoices)), Ack());
    EXPECT_EQ(unit.receive(Pc(kCmdData, 0)).size(), 93U);
    EXPECT_EQ(unit.receive(Pc(kCmdData, 0)), Bytes{});
    ASSERT_EQ(sent.size(), 2U);
    const Bytes data = DataReply(0, memory.voices);
    EXPECT_EQ(sent[1], Bytes(data.begin(), data.begin() + 93));
}

TEST_F(SimulatedUnitTest, IgnoredAndSilentRequestsChangeNothing)
{
    const UnitMemory before = memory;
    for (UnitFaults faults : {UnitFaults{.silent = true}, UnitFaults{.ignoreFirst = 3}}) {
        SimulatedUnit unit(memory, faults);
        for (const Bytes& request : {Pc(kCmdWriteConfig), Pc(kCmdData, 0, Block(1)),
                                     Pc(kCmdData, 0, Block(1)), Pc(kCmdEndOfTransfer)})
            (void)unit.receive(request);
        EXPECT_EQ(memory, before);
    }
}

TEST_F(SimulatedUnitTest, ForgetsAHalfFrameAfterASilenceOrADroppedLine)
{
    const UnitMemory before = memory;
    SimulatedUnit unit(memory);
    const Bytes data = Pc(kCmdData, 0, Block(1));

    EXPECT_EQ(unit.receive(Pc(kCmdWriteConfig)), Ack());
    EXPECT_EQ(unit.receive(std::span(data).first(50)), Bytes{});
    unit.lineIdle();
    EXPECT_EQ(unit.receive(data), Ack()); // the transfer goes on

    EXPECT_EQ(unit.receive(std::span(data).first(50)), Bytes{});
    unit.lineDropped();
    EXPECT_EQ(unit.receive(Pc(kCmdEndOfTransfer)), Bytes{});
    EXPECT_EQ(memory, before); // the transfer is gone with the line
}

} // namespace
} // namespace veskar
