// Every fault of the simulated unit against every kind of transfer: how it
// ends (result and the dialog's last status text), the frames the PC sent,
// and what is left in the unit's memory, the image and the files.

#include "EngineFixture.h"
#include "database/Defaults.h"
#include "programming/ConfigPreparation.h"
#include "programming/TransferFiles.h"
#include "programming/TransferTexts.h"

#include <map>

namespace veskar::testing {
namespace {

enum class Kind { ConfigWrite, ConfigRead, VocabWrite, VoiceWrite, VoiceRead };
// What the unit's memory (sends) or the image and output file (reads) hold afterwards.
enum class Left { AsBefore, New, Part };

struct Cell {
    const char* fault;
    Kind kind;
    TransferResult result;
    const char* dialog; // the dialog's last status text
    const char* frames; // the PC's frames: L/l link passes, C V W R r commands, D data, E end
    Left left;
};

std::string Letters(const std::vector<Byte>& commands)
{
    static const std::map<Byte, char> kLetters = {
        {kCmdLinkFirstPass, 'L'}, {kCmdLinkSecondPass, 'l'}, {kCmdWriteConfig, 'C'}, {kCmdWriteVocab, 'V'},
        {kCmdWriteVoices, 'W'},   {kCmdReadConfig, 'R'},     {kCmdReadVoices, 'r'},  {kCmdData, 'D'},
        {kCmdEndOfTransfer, 'E'},
    };
    std::string out;
    for (Byte command : commands)
        out += kLetters.contains(command) ? kLetters.at(command) : '?';
    return out;
}

// A fault of the unit, or of the line after it ("spoiled-..." damages every data frame).
std::pair<UnitFaults, Tamper> FaultNamed(const std::string& name)
{
    if (name == "spoiled-crc")
        return {{}, Tamper::DataCrc};
    if (name == "spoiled-command")
        return {{}, Tamper::DataCommand};
    static const std::map<std::string, UnitFaults> kFaults = {
        {"none", {}},
        {"silent", {.silent = true}},
        {"ignore=2", {.ignoreFirst = 2}},
        {"ignore=4", {.ignoreFirst = 4}},
        {"bad-crc=3", {.corruptReply = 3}},
        {"noise", {.noise = true}},
        {"echo", {.echo = true}},
        {"cut=7", {.cutAfterBytes = 7}},
        {"cut=14", {.cutAfterBytes = 14}},
        {"cut=20", {.cutAfterBytes = 20}},
        {"end-at=1", {.endOfDataAtPacket = 1}},
        {"wrong-command", {.wrongCommand = true}},
        {"wrong-command=3", {.wrongCommand = true, .wrongCommandReply = 3}},
        {"slow=4000", {.slowReplyMs = 4000}},
        {"slow=6000", {.slowReplyMs = 6000}},
    };
    return {kFaults.at(name), Tamper::None};
}

constexpr auto Ok = TransferResult::Succeeded, Bad = TransferResult::Failed;
using enum Kind;
using enum Left;

// The dialog column is the last status text: every failure says that it failed.
// clang-format off
const Cell kMatrix[] = {
    {"none", ConfigWrite, Ok, "Database transferred to the Corvane VWM", "LCDE", New},
    {"none", ConfigRead, Ok, "Configuration data read from the Corvane VWM", "LRDE", New},
    {"none", VocabWrite, Ok, "Vocab succesfully transferred to the Corvane VWM", "LVDDDE", New},
    {"none", VoiceWrite, Ok, "Voices transferred to the Corvane VWM", "LWDDE", New},
    {"none", VoiceRead, Ok, "Voice data read from the Corvane VWM", "LrDDDE", New},
    {"silent", ConfigWrite, Bad, "Communications Failure - Check connection.", "LLLlllE", AsBefore},
    {"silent", ConfigRead, Bad, "Communications Failure - Check connection.", "LLLlll", AsBefore},
    {"silent", VocabWrite, Bad, "Vocab transfer FAILED - no communications.", "LLLlllE", AsBefore},
    {"silent", VoiceWrite, Bad, "Communications Failure - Check connection.", "LLLlllE", AsBefore},
    {"silent", VoiceRead, Bad, "Communications Failure - Check connection.", "LLLlll", AsBefore},
    {"ignore=2", ConfigWrite, Ok, "Database transferred to the Corvane VWM", "LLLCDE", New},
    {"ignore=2", ConfigRead, Ok, "Configuration data read from the Corvane VWM", "LLLRDE", New},
    {"ignore=2", VocabWrite, Ok, "Vocab succesfully transferred to the Corvane VWM", "LLLVDDDE", New},
    {"ignore=2", VoiceWrite, Ok, "Voices transferred to the Corvane VWM", "LLLWDDE", New},
    {"ignore=2", VoiceRead, Ok, "Voice data read from the Corvane VWM", "LLLrDDDE", New},
    {"bad-crc=3", ConfigWrite, Ok, "Database transferred to the Corvane VWM", "LCDDE", New},
    {"bad-crc=3", ConfigRead, Ok, "Configuration data read from the Corvane VWM", "LRDDE", New},
    {"bad-crc=3", VocabWrite, Ok, "Vocab succesfully transferred to the Corvane VWM", "LVDDDDE", New},
    {"bad-crc=3", VoiceWrite, Ok, "Voices transferred to the Corvane VWM", "LWDDDE", New},
    {"bad-crc=3", VoiceRead, Ok, "Voice data read from the Corvane VWM", "LrDDDDE", New},
    {"noise", ConfigWrite, Ok, "Database transferred to the Corvane VWM", "LCDDE", New},
    {"noise", ConfigRead, Ok, "Configuration data read from the Corvane VWM", "LRDDE", New},
    {"noise", VocabWrite, Ok, "Vocab succesfully transferred to the Corvane VWM", "LVDDDDDE", New},
    {"noise", VoiceWrite, Ok, "Voices transferred to the Corvane VWM", "LWDDDE", New},
    {"noise", VoiceRead, Ok, "Voice data read from the Corvane VWM", "LrDDDDDE", New},
    {"echo", ConfigWrite, Bad, "Communications Failure - Check connection.", "LLLlllE", AsBefore},
    {"echo", ConfigRead, Bad, "Communications Failure - Check connection.", "LLLlll", AsBefore},
    {"echo", VocabWrite, Bad, "Vocab transfer FAILED - no communications.", "LLLlllE", AsBefore},
    {"echo", VoiceWrite, Bad, "Communications Failure - Check connection.", "LLLlllE", AsBefore},
    {"echo", VoiceRead, Bad, "Communications Failure - Check connection.", "LLLlll", AsBefore},
    {"cut=20", ConfigWrite, Bad, "Communications Failure - Check connection.", "LCDDDE", New},
    {"cut=20", ConfigRead, Bad, "Transfer failed at packet number 1", "LRDDD", AsBefore},
    {"cut=20", VocabWrite, Bad, "Vocab transfer FAILED.", "LVDDDE", Part},
    {"cut=20", VoiceWrite, Bad, "Communications Failure - Check connection.", "LWDDDE", Part},
    {"cut=20", VoiceRead, Bad, "Transfer failed at packet number 1", "LrDDD", AsBefore},
    {"end-at=1", ConfigWrite, Ok, "Database transferred to the Corvane VWM", "LCDE", New},
    {"end-at=1", ConfigRead, Ok, "Configuration data read from the Corvane VWM", "LRDE", New},
    {"end-at=1", VocabWrite, Ok, "Vocab succesfully transferred to the Corvane VWM", "LVDDDE", New},
    {"end-at=1", VoiceWrite, Ok, "Voices transferred to the Corvane VWM", "LWDDE", New},
    {"end-at=1", VoiceRead, Ok, "Voice data read from the Corvane VWM", "LrDDE", Part},
    {"wrong-command", ConfigWrite, Bad, "Communications Failure - Check connection.", "LLLlllE", AsBefore},
    {"wrong-command", ConfigRead, Bad, "Communications Failure - Check connection.", "LLLlll", AsBefore},
    {"wrong-command", VocabWrite, Bad, "Vocab transfer FAILED - no communications.", "LLLlllE", AsBefore},
    {"wrong-command", VoiceWrite, Bad, "Communications Failure - Check connection.", "LLLlllE", AsBefore},
    {"wrong-command", VoiceRead, Bad, "Communications Failure - Check connection.", "LLLlll", AsBefore},
    {"wrong-command=3", ConfigWrite, Ok, "Database transferred to the Corvane VWM", "LCDDE", New},
    {"wrong-command=3", ConfigRead, Ok, "Configuration data read from the Corvane VWM", "LRDDE", New},
    {"wrong-command=3", VocabWrite, Ok, "Vocab succesfully transferred to the Corvane VWM", "LVDDDDE", New},
    {"wrong-command=3", VoiceWrite, Ok, "Voices transferred to the Corvane VWM", "LWDDDE", New},
    {"wrong-command=3", VoiceRead, Ok, "Voice data read from the Corvane VWM", "LrDDDDE", New},
    {"ignore=4", ConfigWrite, Ok, "Database transferred to the Corvane VWM", "LLLllCDE", New},
    {"cut=7", ConfigWrite, Bad, "Communications Failure - Check connection.", "LCCCE", AsBefore},
    {"cut=7", ConfigRead, Bad, "Communications Failure - Check connection.", "LRRR", AsBefore},
    {"cut=14", ConfigWrite, Bad, "Communications Failure - Check connection.", "LCDDDE", New},
    {"spoiled-crc", ConfigRead, Bad, "Transfer failed at packet number 1", "LRDDD", AsBefore},
    {"spoiled-command", ConfigRead, Bad, "Transfer failed at packet number 1", "LRDDD", AsBefore},
    {"slow=4000", ConfigWrite, Ok, "Database transferred to the Corvane VWM", "LCDE", New},
    {"slow=4000", ConfigRead, Ok, "Configuration data read from the Corvane VWM", "LRDE", New},
    {"slow=6000", ConfigWrite, Ok, "Database transferred to the Corvane VWM", "LLCCDE", New},
    {"slow=6000", ConfigRead, Ok, "Configuration data read from the Corvane VWM", "LLRRDDE", New},
    {"slow=6000", VocabWrite, Ok, "Vocab succesfully transferred to the Corvane VWM", "LLVVDDDE", New},
    {"slow=6000", VoiceWrite, Ok, "Voices transferred to the Corvane VWM", "LLWWDDDE", New},
    {"slow=6000", VoiceRead, Ok, "Voice data read from the Corvane VWM", "LLrrDDDDDDE", New},
};
// clang-format on

class FaultBench : public EngineTest {
  protected:
    FaultBench()
    {
        CreateDatabase(image);
        image.gen.siteName[0] = 'P';
        memory.configuration[offsetof(Image, gen) + offsetof(SystemBlock, siteName)] = 'U';
        memory.voices = Pattern(2 * kBlockSize, 7);
        WriteFile(dir.path / "send.bin", Pattern(2 * kBlockSize + 100, 8));
        WriteFile(dir.path / "send.msg", Pattern(2 * kBlockSize, 9));
        WriteFile(dir.path / "out.msg", {1, 2, 3});
        seen.saveAs = dir.path / "out.msg";
    }

    bool Start(Kind kind)
    {
        switch (kind) {
        case ConfigWrite: return engine.StartConfigWrite(image);
        case ConfigRead: return engine.StartConfigRead(image);
        case VocabWrite: return engine.StartVocabWrite(OpenSendFile(dir.path / "send.bin"));
        case VoiceWrite: return engine.StartVoiceWrite(OpenSendFile(dir.path / "send.msg"));
        case VoiceRead: return engine.StartVoiceRead(OpenVoiceStore(dir.path));
        }
        return false;
    }

    // What the unit holds of what was sent, or the image and file of what was read.
    Left Outcome(Kind kind, const UnitMemory& unitBefore, const Image& imageBefore) const
    {
        const auto of = [](const std::vector<Byte>& now, const std::vector<Byte>& before,
                           const std::vector<Byte>& sent) {
            if (now == before)
                return AsBefore;
            if (now == sent)
                return New;
            return Part;
        };
        std::vector<Byte> vocabulary = ReadFile(dir.path / "send.bin");
        vocabulary.resize(3 * kBlockSize, 0);
        switch (kind) {
        case ConfigWrite: {
            std::vector<Byte> block(kBlockSize, 0);
            std::ranges::copy(ExpectedInUnit(imageBefore).bytes(), block.begin());
            return of(memory.configuration, unitBefore.configuration, block);
        }
        case ConfigRead: return image == imageBefore ? AsBefore : image.gen.siteName[0] == 'U' ? New : Part;
        case VocabWrite: return of(memory.vocabulary, unitBefore.vocabulary, vocabulary);
        case VoiceWrite: return of(memory.voices, unitBefore.voices, ReadFile(dir.path / "send.msg"));
        case VoiceRead: return of(ReadFile(dir.path / "out.msg"), {1, 2, 3}, unitBefore.voices);
        }
        return Part;
    }

    Image image{};
};

class FaultMatrix : public FaultBench, public ::testing::WithParamInterface<Cell> {};

TEST_P(FaultMatrix, EndsAsItMust)
{
    const Cell& cell = GetParam();
    const auto [faults, tamper] = FaultNamed(cell.fault);
    Faults(faults, tamper);
    const UnitMemory unitBefore = memory;
    const Image imageBefore = image;
    ASSERT_TRUE(Start(cell.kind));
    RunToEnd();

    const std::string frames = Letters(line.pcCommands());
    const Left left = Outcome(cell.kind, unitBefore, imageBefore);
    ASSERT_EQ(seen.ended.size(), 1U) << "every transfer ends exactly once";
    EXPECT_EQ(seen.ended[0], cell.result);
    EXPECT_EQ(Recorder::Last(seen.dialog), cell.dialog);
    EXPECT_EQ(frames, cell.frames);
    EXPECT_EQ(left, cell.left);
    const bool sending = cell.kind != ConfigRead && cell.kind != VoiceRead;
    if (sending) {
        EXPECT_EQ(frames.back(), 'E') << "a send always ends with the end-of-transfer frame";
    }
    EXPECT_FALSE(ScratchLeft(dir.path));
    EXPECT_EQ(ReadFile(dir.path / "send.msg"), Pattern(2 * kBlockSize, 9)) << "a file sent is never touched";
}

std::string Name(const ::testing::TestParamInfo<Cell>& info)
{
    static const char* const kKinds[] = {"ConfigWrite", "ConfigRead", "VocabWrite", "VoiceWrite", "VoiceRead"};
    std::string name = std::string(kKinds[static_cast<int>(info.param.kind)]) + "_" + info.param.fault;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(EveryFaultAndKind, FaultMatrix, ::testing::ValuesIn(kMatrix), Name);

// What a failure says the line showed, beneath its fixed text.
TEST_F(FaultBench, FailureSaysWhatTheLineShowed)
{
    const struct {
        const char* what;
        UnitFaults faults;
        std::optional<Tick> babble;
        std::string more;
    } cases[] = {
        {"silent", {.silent = true}, {}, std::string(texts::kLineSilent)},
        {"only stray bytes", {.silent = true}, 700, std::string(texts::kLineNoise)},
        {"every reply damaged", {.corruptEvery = true}, {}, "6 of 6" + std::string(texts::kLineDamaged)},
        {"another device", {.wrongCommand = true}, {}, std::string(texts::kLineOtherAnswers)},
        {"echo", {.echo = true}, {}, std::string(texts::kLineEchoes)},
        {"cut partway", {.cutAfterBytes = 20}, {}, std::string(texts::kLineWentDead)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Faults(c.faults);
        line.babbleEvery = c.babble;
        seen = Recorder{};
        seen.clock = &clock;
        ASSERT_TRUE(Start(ConfigWrite));
        RunToEnd();
        EXPECT_EQ(Recorder::Last(seen.dialog), texts::kCheckConnection);
        EXPECT_EQ(Recorder::LastMore(seen.dialog), c.more);
    }
}

// The port fails for good as a data frame goes out: the transfer ends at once,
// nothing more is written, and the unit (which drops a transfer it cannot
// finish) and the files keep what they held.
class LostLine : public FaultBench, public ::testing::WithParamInterface<Kind> {};

TEST_P(LostLine, EndsAtOnceAndSaysThePortWentAway)
{
    const Kind kind = GetParam();
    const UnitMemory unitBefore = memory;
    const Image imageBefore = image;
    ASSERT_TRUE(Start(kind));
    const long dataFrames = kind == ConfigWrite || kind == ConfigRead ? 1 : 2;
    ASSERT_FALSE(line.run(3'600'000, [&] { return std::ranges::count(line.pcCommands(), kCmdData) == dataFrames; }));
    const std::size_t framesBefore = line.frames.size();
    unit->lineDropped();
    engine.lineLost("gone");

    EXPECT_FALSE(engine.busy());
    EXPECT_FALSE(line.isOpen());
    EXPECT_EQ(line.frames.size(), framesBefore);
    EXPECT_EQ(seen.ended, std::vector<TransferResult>{TransferResult::Failed});
    EXPECT_EQ(Recorder::Last(seen.dialog), texts::kCheckConnection);
    EXPECT_EQ(Recorder::LastMore(seen.dialog), "The port went away: gone");
    EXPECT_EQ(Outcome(kind, unitBefore, imageBefore), AsBefore);
    EXPECT_FALSE(ScratchLeft(dir.path));
}

// Every block acknowledged, but the port went as the end-of-transfer frame was
// going out: the unit may not have taken the write, so it is no success.
TEST_F(FaultBench, WriteLostBeforeItsEndIsNoSuccess)
{
    const UnitMemory unitBefore = memory;
    ASSERT_TRUE(Start(ConfigWrite));
    ASSERT_FALSE(line.run(3'600'000, [this] { return line.pcCommands().back() == kCmdEndOfTransfer; }));
    unit->lineDropped();
    engine.lineLost("gone");
    EXPECT_EQ(seen.ended, std::vector<TransferResult>{TransferResult::Failed});
    EXPECT_EQ(memory, unitBefore);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, LostLine,
                         ::testing::Values(ConfigWrite, ConfigRead, VocabWrite, VoiceWrite, VoiceRead));

} // namespace
} // namespace veskar::testing
