// Stop at every phase of every kind of transfer: what the unit holds afterwards,
// how the transfer ends, and that what the user is told is true.

#include "EngineFixture.h"
#include "database/Defaults.h"
#include "programming/ConfigPreparation.h"
#include "programming/TransferFiles.h"
#include "programming/TransferTexts.h"

namespace veskar::testing {
namespace {

enum class Kind { ConfigWrite, ConfigRead, VocabWrite, VoiceWrite, VoiceRead };
enum class Phase {
    Link,           // the link request is out
    Command,        // the transfer's command is out
    FirstPacketOut, // the first data frame is still going out
    FirstPacketIn,  // the first data frame has left, its acknowledge is on its way
    VoiceMemory,    // the unit is clearing its voice memory
    SomePackets,    // two packets are done
    LastPacket,     // every packet is done
};
// What the unit holds of the data a write sent.
enum class Held { Old, Part, New };

struct Case {
    Kind kind;
    Phase phase;
    TransferResult result;
    std::string_view said; // the dialog's last status text
    Held held;
};

using enum Kind;
using enum Phase;
using enum Held;
constexpr auto Stopped = TransferResult::Stopped, Ok = TransferResult::Succeeded;

// clang-format off
const Case kCases[] = {
    {ConfigWrite, Link,           Stopped, texts::kTransferStopped, Old},
    {ConfigWrite, Command,        Stopped, texts::kTransferStopped, Old},
    {ConfigWrite, FirstPacketOut, Stopped, texts::kTransferStopped, Old},
    {ConfigWrite, FirstPacketIn,  Stopped, texts::kStoppedConfigPartial, New},
    {ConfigWrite, LastPacket,     Ok,      texts::kDatabaseTransferred, New},
    {VocabWrite,  Link,           Stopped, texts::kTransferStopped, Old},
    {VocabWrite,  Command,        Stopped, texts::kTransferStopped, Old},
    {VocabWrite,  FirstPacketOut, Stopped, texts::kTransferStopped, Old},
    {VocabWrite,  SomePackets,    Stopped, texts::kStoppedVocabPartial, Part},
    {VocabWrite,  LastPacket,     Ok,      texts::kVocabSuccess, New},
    {VoiceWrite,  Link,           Stopped, texts::kTransferStopped, Old},
    {VoiceWrite,  Command,        Stopped, texts::kTransferStopped, Old},
    {VoiceWrite,  FirstPacketOut, Stopped, texts::kTransferStopped, Old},
    {VoiceWrite,  VoiceMemory,    Stopped, texts::kStoppedVoicesPartial, Part},
    {VoiceWrite,  SomePackets,    Stopped, texts::kStoppedVoicesPartial, Part},
    {VoiceWrite,  LastPacket,     Ok,      texts::kVoicesTransferred, New},
    {ConfigRead,  Link,           Stopped, texts::kReadStopped, Old},
    {ConfigRead,  Command,        Stopped, texts::kReadStopped, Old},
    {VoiceRead,   Command,        Stopped, texts::kReadStopped, Old},
    {VoiceRead,   SomePackets,    Stopped, texts::kReadStopped, Old},
};
// clang-format on

class StopTest : public EngineTest, public ::testing::WithParamInterface<Case> {
  protected:
    StopTest()
    {
        CreateDatabase(image);
        image.gen.siteName[0] = 'P';
        memory.vocabulary = Pattern(2 * kBlockSize, 4);
        memory.voices = Pattern(4 * kBlockSize, 5);
        WriteFile(dir.path / "voc91.bin", Pattern(4 * kBlockSize + 100, 1)); // 5 packets
        WriteFile(dir.path / "veskar.msg", Pattern(3 * kBlockSize, 2));
        seen.saveAs = dir.path / "kept.msg";
    }

    bool Start(Kind kind)
    {
        switch (kind) {
        case ConfigWrite: return engine.StartConfigWrite(image);
        case ConfigRead: return engine.StartConfigRead(image);
        case VocabWrite: return engine.StartVocabWrite(OpenSendFile(dir.path / "voc91.bin"));
        case VoiceWrite: return engine.StartVoiceWrite(OpenSendFile(dir.path / "veskar.msg"));
        case VoiceRead: return engine.StartVoiceRead(OpenVoiceStore(dir.path));
        }
        return false;
    }

    [[nodiscard]] bool Reached(Phase phase) const
    {
        const std::vector<Byte> sent = line.pcCommands();
        const auto done = seen.packets.empty() ? 0 : seen.packets.back().first;
        switch (phase) {
        case Link: return !sent.empty();
        case Command: return sent.size() >= 2;
        case FirstPacketOut: return std::ranges::count(sent, kCmdData) == 1;
        case FirstPacketIn: return seen.delivered.has_value();
        case VoiceMemory: return Recorder::Last(seen.activity) == texts::kWaitingForVoiceMemory;
        case SomePackets: return done >= 2;
        case LastPacket: return done > 0 && done == seen.packets.back().second;
        }
        return false;
    }

    [[nodiscard]] Held HeldBy(Kind kind, const UnitMemory& before) const
    {
        const auto of = [](const std::vector<Byte>& now, const std::vector<Byte>& old,
                           const std::vector<Byte>& sent) { return now == old ? Old : now == sent ? New : Part; };
        std::vector<Byte> vocabulary = ReadFile(dir.path / "voc91.bin");
        vocabulary.resize(5 * kBlockSize, 0);
        std::vector<Byte> configuration(kBlockSize, 0);
        std::ranges::copy(ExpectedInUnit(image).bytes(), configuration.begin());
        switch (kind) {
        case ConfigWrite: return of(memory.configuration, before.configuration, configuration);
        case VocabWrite: return of(memory.vocabulary, before.vocabulary, vocabulary);
        case VoiceWrite: return of(memory.voices, before.voices, ReadFile(dir.path / "veskar.msg"));
        case ConfigRead:
        case VoiceRead: break;
        }
        return memory == before ? Old : Part;
    }

    Image image{};
};

TEST_P(StopTest, LeavesWhatItSaysItLeaves)
{
    const Case& c = GetParam();
    const UnitMemory before = memory;
    const Image imageBefore = image;
    ASSERT_TRUE(Start(c.kind));
    ASSERT_FALSE(line.run(3'600'000, [&] { return Reached(c.phase); })) << "the phase was never reached";
    EXPECT_EQ(engine.stoppable(), c.result == Stopped);
    engine.Stop();
    RunToEnd();

    EXPECT_EQ(seen.ended, std::vector<TransferResult>{c.result});
    EXPECT_EQ(Recorder::Last(seen.dialog), c.said);
    EXPECT_EQ(HeldBy(c.kind, before), c.held);
    const bool sending = c.kind != ConfigRead && c.kind != VoiceRead;
    if (sending) {
        EXPECT_EQ(line.pcCommands().back(), kCmdEndOfTransfer) << "a send always tells the unit it is over";
    } else {
        EXPECT_EQ(image, imageBefore);
        EXPECT_EQ(seen.saveAsked, 0);
        EXPECT_FALSE(std::filesystem::exists(dir.path / "kept.msg"));
    }
    EXPECT_FALSE(ScratchLeft(dir.path));
}

INSTANTIATE_TEST_SUITE_P(EveryPhase, StopTest, ::testing::ValuesIn(kCases));

// What the question says before it is asked, as the dialog and the command line show it.
TEST_F(EngineTest, StopConsequenceFollowsWhatTheUnitHasTaken)
{
    Image image{};
    CreateDatabase(image);
    WriteFile(dir.path / "veskar.msg", Pattern(3 * kBlockSize, 2));
    EXPECT_EQ(engine.stopConsequence(), "");
    ASSERT_TRUE(engine.StartVoiceWrite(OpenSendFile(dir.path / "veskar.msg")));
    EXPECT_EQ(engine.stopConsequence(), texts::kStopChangesNothing);
    line.run(3'600'000, [&] { return Recorder::Last(seen.activity) == texts::kWaitingForVoiceMemory; });
    EXPECT_EQ(engine.stopConsequence(), texts::kStopLeavesVoicesPartial);
    EXPECT_EQ(seen.packets.back(), std::make_pair(1, 3)) << "the block the unit has acknowledged";
    RunToEnd();
    EXPECT_EQ(engine.stopConsequence(), "");
}

TEST_F(EngineTest, FrameGoingOutIsCutShortThenTheEndIsSent)
{
    Image image{};
    CreateDatabase(image);
    line.writeNeverFinishes = true;
    ASSERT_TRUE(engine.StartConfigWrite(image));
    EXPECT_FALSE(line.run(2001)); // the link request is being written
    line.purges.clear();
    engine.Stop();
    RunToEnd();
    ASSERT_FALSE(line.purges.empty());
    EXPECT_TRUE(line.purges.front() & kPurgeTxClear);
    EXPECT_EQ(line.pcCommands(), (std::vector<Byte>{kCmdLinkFirstPass, kCmdEndOfTransfer}));
}

} // namespace
} // namespace veskar::testing
