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

const Bytes kAck = BuildFrame(kSourceUnit, kCmdAcknowledge, 0);

Bytes Block(Byte seed)
{
    Bytes block(kBlockSize);
    std::iota(block.begin(), block.end(), seed);
    return block;
}

Bytes DataReply(std::uint16_t packet, std::span<const Byte> memory)
{
    return BuildFrame(kSourceUnit, kCmdData, packet, memory.subspan(packet * kBlockSize, kBlockSize));
}

// The reply to each request, one entry per request.
std::vector<Bytes> Replies(SimulatedUnit& unit, const std::vector<Bytes>& requests)
{
    std::vector<Bytes> replies;
    for (const Bytes& request : requests)
        replies.push_back(unit.receive(request));
    return replies;
}

TEST(SimulatedUnitTest, FreshMemoryHoldsDefaultConfigurationAndDistinctVoiceBlocks)
{
    const UnitMemory memory = UnitMemory::Fresh();
    Image image{};
    CreateDatabase(image);
    Bytes expected(kBlockSize, 0);
    std::ranges::copy(image.bytes(), expected.begin());
    EXPECT_EQ(memory.configuration, expected);
    ASSERT_EQ(memory.voices.size() % kBlockSize, 0U);
    ASSERT_GE(memory.voices.size(), 2 * kBlockSize);
    EXPECT_FALSE(std::equal(memory.voices.begin(), memory.voices.begin() + kBlockSize,
                            memory.voices.begin() + kBlockSize));
}

// Every kind of transfer in one session, with the reply each step must get.
TEST(SimulatedUnitTest, AnswersEveryStepOfEveryTransfer)
{
    UnitMemory memory = UnitMemory::Fresh();
    const UnitMemory fresh = memory;
    int stored = 0;
    SimulatedUnit unit(memory);
    unit.onStored = [&] { ++stored; };
    const std::vector<std::pair<Bytes, Bytes>> session = {
        {Pc(kCmdLinkFirstPass), kAck},
        {Pc(kCmdLinkSecondPass), kAck},
        {Pc(kCmdReadConfig), kAck},
        {Pc(kCmdData, 0), DataReply(0, fresh.configuration)},
        {Pc(kCmdData, 1), kAck}, // one block only
        {Pc(kCmdEndOfTransfer), {}},
        {Pc(kCmdReadVoices), kAck},
        {Pc(kCmdData, 0), DataReply(0, fresh.voices)},
        {Pc(kCmdData, 2), DataReply(2, fresh.voices)},
        {Pc(kCmdData, 3), kAck}, // no more voices
        {Pc(kCmdEndOfTransfer), {}},
        {Pc(kCmdWriteConfig), kAck},
        {Pc(kCmdData, 0, Block(7)), kAck},
        {Pc(kCmdData, 1, Block(7)), {}}, // beyond the configuration block
        {Pc(kCmdEndOfTransfer), {}},
        {Pc(kCmdReadConfig), kAck},
        {Pc(kCmdData, 0), DataReply(0, Block(7))},
        {Pc(kCmdEndOfTransfer), {}},
        {Pc(kCmdData, 0), {}}, // no read running
    };
    for (std::size_t i = 0; i < session.size(); ++i)
        EXPECT_EQ(unit.receive(session[i].first), session[i].second) << "step " << i;
    EXPECT_EQ(memory.configuration, Block(7));
    EXPECT_EQ(memory.voices, fresh.voices);
    EXPECT_EQ(stored, 1);
}

TEST(SimulatedUnitTest, WritesTakeEffectAtEndOfTransferOnly)
{
    UnitMemory memory = UnitMemory::Fresh();
    const UnitMemory fresh = memory;
    SimulatedUnit unit(memory);

    // Blocks in order; a repeat replaces the block; a gap gets no answer.
    EXPECT_EQ(Replies(unit, {Pc(kCmdWriteVoices), Pc(kCmdData, 0, Block(1)), Pc(kCmdData, 1, Block(2)),
                             Pc(kCmdData, 1, Block(3)), Pc(kCmdData, 3, Block(4))}),
              (std::vector<Bytes>{kAck, kAck, kAck, kAck, {}}));
    EXPECT_EQ(memory, fresh);
    (void)unit.receive(Pc(kCmdEndOfTransfer));
    Bytes voices = Block(1);
    const Bytes second = Block(3);
    voices.insert(voices.end(), second.begin(), second.end());
    EXPECT_EQ(memory.voices, voices);

    // Abandoned for a new link request, a write leaves the memory as it was.
    const UnitMemory before = memory;
    (void)Replies(
        unit, {Pc(kCmdWriteConfig), Pc(kCmdData, 0, Block(9)), Pc(kCmdLinkFirstPass), Pc(kCmdEndOfTransfer)});
    EXPECT_EQ(memory, before);

    // A new vocabulary wipes the voices; then the first request already gets the end of data.
    (void)Replies(unit, {Pc(kCmdWriteVocab), Pc(kCmdData, 0, Block(5)), Pc(kCmdEndOfTransfer)});
    EXPECT_EQ(memory.vocabulary, Block(5));
    EXPECT_TRUE(memory.voices.empty());
    EXPECT_EQ(Replies(unit, {Pc(kCmdReadVoices), Pc(kCmdData, 0)}), (std::vector<Bytes>{kAck, kAck}));
}

TEST(SimulatedUnitTest, RefusesWritesBeyondItsVoiceMemory)
{
    UnitMemory memory = UnitMemory::Fresh();
    SimulatedUnit unit(memory);
    (void)unit.receive(Pc(kCmdWriteVoices));
    const Bytes block = Block(0);
    for (std::uint16_t packet = 0; packet < kUnitVoiceBlocks; ++packet)
        ASSERT_EQ(unit.receive(Pc(kCmdData, packet, block)), kAck) << packet;
    EXPECT_EQ(unit.receive(Pc(kCmdData, kUnitVoiceBlocks, block)), Bytes{});
    (void)unit.receive(Pc(kCmdEndOfTransfer));
    EXPECT_EQ(memory.voices.size(), kUnitVoiceBlocks * kBlockSize);
}

// Whatever garbage comes first and however the bytes are chunked, the same replies come back.
TEST(SimulatedUnitTest, ResynchronisesAfterGarbageWhateverTheChunking)
{
    Bytes session;
    for (const Bytes& frame : {Pc(kCmdWriteVoices), Pc(kCmdData, 0, Block(3)), Pc(kCmdEndOfTransfer),
                               Pc(kCmdReadVoices), Pc(kCmdData, 0), Pc(kCmdData, 1)})
        session.insert(session.end(), frame.begin(), frame.end());
    Bytes expected = kAck;
    for (const Bytes& reply : {kAck, kAck, BuildFrame(kSourceUnit, kCmdData, 0, Block(3)), kAck})
        expected.insert(expected.end(), reply.begin(), reply.end());

    Bytes badCrc = Pc(kCmdLinkFirstPass);
    badCrc.back() ^= 0x01;
    const std::vector<std::pair<const char*, Bytes>> garbage = {
        {"none", {}},
        {"noise", {0x00, 0xFF, 0x55, 0x13}},
        {"lone starts", {0x16, 0x16, 0x16}},
        {"unknown command", {0x16, 0x00, 0x77, 0x00, 0x00, 0x12, 0x34}},
        {"bad CRC", badCrc},
        {"frame from the unit", kAck},
        {"truncated frame", Bytes(badCrc.begin(), badCrc.begin() + 4)},
    };
    for (const auto& [name, prefix] : garbage) {
        Bytes in = prefix;
        in.insert(in.end(), session.begin(), session.end());
        for (std::size_t chunk : {1, 2, 7, 4096, 100000}) {
            UnitMemory memory = UnitMemory::Fresh();
            SimulatedUnit unit(memory);
            Bytes out;
            for (std::size_t at = 0; at < in.size(); at += chunk) {
                const Bytes part = unit.receive(std::span(in).subspan(at, std::min(chunk, in.size() - at)));
                out.insert(out.end(), part.begin(), part.end());
            }
            EXPECT_EQ(out, expected) << name << ", chunks of " << chunk;
        }
    }
}

TEST(SimulatedUnitTest, ForgetsAHalfFrameAfterASilenceOrADroppedLine)
{
    UnitMemory memory = UnitMemory::Fresh();
    const UnitMemory fresh = memory;
    SimulatedUnit unit(memory);
    const Bytes data = Pc(kCmdData, 0, Block(1));
    EXPECT_EQ(unit.receive(Pc(kCmdWriteConfig)), kAck);
    EXPECT_EQ(unit.receive(std::span(data).first(50)), Bytes{});
    unit.lineIdle();
    EXPECT_EQ(unit.receive(data), kAck); // the transfer goes on

    EXPECT_EQ(unit.receive(std::span(data).first(50)), Bytes{});
    unit.lineDropped();
    EXPECT_EQ(unit.receive(Pc(kCmdEndOfTransfer)), Bytes{});
    EXPECT_EQ(memory, fresh); // the transfer went with the line
}

TEST(SimulatedUnitTest, ReportsEveryFrameEitherWayAsItGoesOnTheLine)
{
    UnitMemory memory = UnitMemory::Fresh();
    std::vector<std::pair<FrameDirection, Bytes>> frames;
    SimulatedUnit unit(memory, {.cutAfterBytes = 100});
    unit.onFrame = [&](FrameDirection direction, std::span<const Byte> frame) {
        frames.emplace_back(direction, Bytes(frame.begin(), frame.end()));
    };
    Bytes bad = Pc(kCmdReadVoices);
    bad[5] ^= 0xFF;
    (void)Replies(unit,
                  {bad, Pc(kCmdReadConfig), Pc(kCmdData, 0), Pc(kCmdEndOfTransfer), Pc(kCmdLinkFirstPass)});
    const Bytes data = DataReply(0, memory.configuration);
    const std::vector<std::pair<FrameDirection, Bytes>> expected = {
        {FrameDirection::FromPc, Pc(kCmdReadConfig)},
        {FrameDirection::FromUnit, kAck},
        {FrameDirection::FromPc, Pc(kCmdData, 0)},
        {FrameDirection::FromUnit, Bytes(data.begin(), data.begin() + 93)}, // then the line is cut
        {FrameDirection::FromPc, Pc(kCmdEndOfTransfer)},
        {FrameDirection::FromPc, Pc(kCmdLinkFirstPass)},
    };
    EXPECT_EQ(frames, expected);
}

// --- faults: the replies to one read session -------------------------------

const std::vector<Bytes> kReadSession = {Pc(kCmdLinkFirstPass), Pc(kCmdReadVoices), Pc(kCmdData, 0),
                                         Pc(kCmdData, 1),       Pc(kCmdData, 2),    Pc(kCmdData, 3),
                                         Pc(kCmdEndOfTransfer)};

std::vector<Bytes> ReadSessionReplies(UnitFaults faults)
{
    UnitMemory memory = UnitMemory::Fresh();
    SimulatedUnit unit(memory, faults);
    return Replies(unit, kReadSession);
}

TEST(SimulatedUnitTest, FaultsChangeExactlyTheRepliesTheyName)
{
    const std::vector<Bytes> normal = ReadSessionReplies({});
    ASSERT_EQ(normal[2], DataReply(0, UnitMemory::Fresh().voices));
    const auto crcBroken = [&](std::size_t index) {
        std::vector<Bytes> replies = normal;
        replies[index].back() ^= 0xFF;
        return replies;
    };
    const Bytes wrong = BuildFrame(kSourceUnit, kWrongReplyCommand, 0);
    const Bytes cut(kAck.begin(), kAck.begin() + 3);
    Bytes echoOfLink = kReadSession[0];
    echoOfLink.insert(echoOfLink.end(), kAck.begin(), kAck.end());

    struct Case {
        const char* name;
        UnitFaults faults;
        std::vector<Bytes> expected;
    };
    const std::vector<Case> cases = {
        {"silent", {.silent = true}, std::vector<Bytes>(7)},
        {"ignore=1", {.ignoreFirst = 1}, {{}, normal[1], normal[2], normal[3], normal[4], normal[5], {}}},
        {"ignore=2", {.ignoreFirst = 2}, std::vector<Bytes>(7)}, // the read command went too
        {"bad-crc=3", {.corruptReply = 3}, crcBroken(2)},
        {"bad-crc=2", {.corruptReply = 2}, crcBroken(1)},
        {"end-at=1", {.endOfDataAtPacket = 1}, {normal[0], normal[1], normal[2], kAck, normal[4], kAck, {}}},
        {"end-at=0", {.endOfDataAtPacket = 0}, {normal[0], normal[1], kAck, normal[3], normal[4], kAck, {}}},
        {"wrong-command", {.wrongCommand = true}, {wrong, wrong, wrong, wrong, wrong, wrong, {}}},
        {"wrong-command=3",
         {.wrongCommand = true, .wrongCommandReply = 3},
         {normal[0], normal[1], wrong, normal[3], normal[4], normal[5], {}}},
        {"cut=10", {.cutAfterBytes = 10}, {kAck, cut, {}, {}, {}, {}, {}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadSessionReplies(c.faults), c.expected) << c.name;

    const std::vector<Bytes> echoed = ReadSessionReplies({.echo = true});
    EXPECT_EQ(echoed[0], echoOfLink);
    EXPECT_EQ(echoed[6], kReadSession[6]);
}

TEST(SimulatedUnitTest, NoiseComesBeforeEachReplyEveryThirdBurstWithAFalseFrameStart)
{
    const std::vector<Bytes> normal = ReadSessionReplies({});
    const std::vector<Bytes> noisy = ReadSessionReplies({.noise = true});
    for (std::size_t i = 0; i + 1 < normal.size(); ++i) {
        ASSERT_GT(noisy[i].size(), normal[i].size()) << i;
        const auto replyStart = noisy[i].end() - static_cast<std::ptrdiff_t>(normal[i].size());
        EXPECT_TRUE(std::equal(normal[i].begin(), normal[i].end(), replyStart)) << i;
    }
    EXPECT_TRUE(noisy.back().empty());

    UnitMemory memory = UnitMemory::Fresh();
    SimulatedUnit unit(memory, {.noise = true});
    for (int i = 1; i <= 300; ++i) {
        const Bytes reply = unit.receive(Pc(kCmdLinkFirstPass));
        EXPECT_EQ(std::ranges::count(reply, kFrameStart), i % 3 == 0 ? 2 : 1) << i;
    }
}

} // namespace
} // namespace veskar
