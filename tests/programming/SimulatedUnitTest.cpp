#include "programming/unit/SimulatedUnit.h"
#include "EngineFixture.h"
#include "database/Defaults.h"
#include "programming/TransferTexts.h"

#include <gmock/gmock.h>

namespace veskar::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// The engine against the unit the simulator program runs, on virtual time.
class AgainstSimulatedUnit : public ::testing::Test {
  protected:
    explicit AgainstSimulatedUnit(UnitFaults faults = {}) : unit(memory, faults)
    {
        seen.clock = &clock;
        line.attach(engine);
    }

    void RunToEnd()
    {
        ASSERT_TRUE(line.run()) << "the transfer did not end";
        EXPECT_FALSE(line.clockMovedInsideEvent);
        EXPECT_LT(line.maxClockReadsPerEvent, 64);
    }

    UnitMemory memory = UnitMemory::Fresh();
    SimulatedUnit unit;
    VirtualClock clock;
    VirtualLine line{clock, [this](std::span<const Byte> frame) { return unit.receive(frame); }};
    Recorder seen;
    TransferEngine engine{line, clock, seen};
    TempDir dir;
};

TEST_F(AgainstSimulatedUnit, ConfigurationWrittenIsReadBack)
{
    Image mine{};
    CreateDatabase(mine);
    mine.gen.siteName.fill('S');
    mine.User[5].userName.fill('U');
    ASSERT_TRUE(engine.StartConfigWrite(mine));
    RunToEnd();
    const Image sent = mine;

    Image back{};
    ASSERT_TRUE(engine.StartConfigRead(back));
    RunToEnd();
    EXPECT_EQ(back, sent);
    EXPECT_THAT(seen.ended, ElementsAre(TransferResult::Succeeded, TransferResult::Succeeded));
}

TEST_F(AgainstSimulatedUnit, VocabularyAndVoicesArriveWhole)
{
    const auto vocabulary = Pattern(3 * kBlockSize + 100, 11);
    WriteFile(dir.path / "voc91.bin", vocabulary);
    ASSERT_TRUE(engine.StartVocabWrite(dir.path / "voc91.bin"));
    RunToEnd();
    ASSERT_EQ(memory.vocabulary.size(), 4 * kBlockSize);
    EXPECT_TRUE(std::equal(vocabulary.begin(), vocabulary.end(), memory.vocabulary.begin()));

    for (std::size_t blocks : {1U, 10U, 11U, 64U}) {
        SCOPED_TRACE(blocks);
        const auto voices = Pattern(blocks * kBlockSize, static_cast<unsigned>(blocks));
        WriteFile(dir.path / "in.msg", voices);
        ASSERT_TRUE(engine.StartVoiceWrite(dir.path / "in.msg"));
        RunToEnd();
        EXPECT_EQ(memory.voices, voices);

        seen.saveAs = dir.path / "out.msg";
        ASSERT_TRUE(engine.StartVoiceRead(dir.path));
        RunToEnd();
        EXPECT_EQ(ReadFile(dir.path / "out.msg"), voices);
    }
}

// Each fault of the field: what the PC sent, how it ended, and that nothing held was touched.
TEST(AgainstSimulatedUnitFaults, EachFaultEndsCleanly)
{
    enum class Kind { ConfigWrite, ConfigRead, VoiceRead };
    struct Case {
        const char* name;
        UnitFaults faults;
        Kind kind;
        TransferResult result;
        std::string status; // last Status line
        bool endFrame;      // 0x83 sent at the end
    };
    const auto fault = [](auto set) {
        UnitFaults f;
        set(f);
        return f;
    };
    const std::vector<Case> cases = {
        {"silent, write", fault([](UnitFaults& f) { f.silent = true; }), Kind::ConfigWrite,
         TransferResult::Failed, std::string(texts::kCheckConnection), true},
        {"silent, read", fault([](UnitFaults& f) { f.silent = true; }), Kind::ConfigRead,
         TransferResult::Failed, std::string(texts::kCheckConnection), false},
        {"first two ignored", fault([](UnitFaults& f) { f.ignoreFirst = 2; }), Kind::ConfigRead,
         TransferResult::Succeeded, std::string(texts::kSuccess), true},
        {"corrupt data reply", fault([](UnitFaults& f) { f.corruptReply = 3; }), Kind::ConfigRead,
         TransferResult::Succeeded, std::string(texts::kSuccess), true},
        {"noise before replies", fault([](UnitFaults& f) { f.noise = true; }), Kind::ConfigWrite,
         TransferResult::Succeeded, std::string(texts::kDatabaseTransferred), true},
        {"echo", fault([](UnitFaults& f) { f.echo = true; }), Kind::ConfigWrite, TransferResult::Failed,
         std::string(texts::kCheckConnection), true},
        {"line cut inside the data", fault([](UnitFaults& f) { f.cutAfterBytes = 2000; }), Kind::ConfigRead,
         TransferResult::Failed, "Transfer failed at packet number 1", false},
        {"end of data at once", fault([](UnitFaults& f) { f.endOfDataAtPacket = 0; }), Kind::ConfigRead,
         TransferResult::Failed, "Transfer failed at packet number 1", false},
        {"end of data at once, voices", fault([](UnitFaults& f) { f.endOfDataAtPacket = 0; }),
         Kind::VoiceRead, TransferResult::Failed, std::string(texts::kNotEnoughVoiceData), true},
        {"wrong command", fault([](UnitFaults& f) { f.wrongCommand = true; }), Kind::ConfigRead,
         TransferResult::Failed, std::string(texts::kCheckConnection), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UnitMemory memory = UnitMemory::Fresh();
        memory.configuration[offsetof(Image, gen) + offsetof(SystemBlock, siteName)] = 'Z';
        const UnitMemory before = memory;
        SimulatedUnit unit(memory, c.faults);
        VirtualClock clock;
        VirtualLine line(clock, [&unit](std::span<const Byte> frame) { return unit.receive(frame); });
        Recorder seen;
        seen.clock = &clock;
        TempDir dir;
        seen.saveAs = dir.path / "voices.msg";
        TransferEngine engine(line, clock, seen);
        line.attach(engine);
        Image mine{};
        CreateDatabase(mine);

        bool started = false;
        switch (c.kind) {
        case Kind::ConfigWrite: started = engine.StartConfigWrite(mine); break;
        case Kind::ConfigRead: started = engine.StartConfigRead(mine); break;
        case Kind::VoiceRead: started = engine.StartVoiceRead(dir.path); break;
        }
        const Image prepared = mine;
        ASSERT_TRUE(started);
        ASSERT_TRUE(line.run());
        EXPECT_THAT(seen.ended, ElementsAre(c.result));
        EXPECT_EQ(Recorder::Last(seen.status), c.status);

        EXPECT_EQ(line.pcCommands().back() == kCmdEndOfTransfer, c.endFrame);
        if (c.result == TransferResult::Failed) {
            EXPECT_EQ(mine, prepared);
            EXPECT_EQ(memory, before);
            EXPECT_FALSE(std::filesystem::exists(dir.path / "voices.msg"));
        } else if (c.kind == Kind::ConfigRead) {
            EXPECT_EQ(mine.gen.siteName[0], 'Z');
        }
    }
}

} // namespace
} // namespace veskar::testing
