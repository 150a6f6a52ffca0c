#include "EngineFixture.h"
#include "programming/Frame.h"
#include "programming/TransferTexts.h"

#include <gmock/gmock.h>

#include <csignal>
#include <cstdlib>

#include <sys/resource.h>

namespace veskar::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::size_t CountCommand(const VirtualLine& line, Byte command)
{
    const auto commands = line.pcCommands();
    return static_cast<std::size_t>(std::ranges::count(commands, command));
}

class FileTransfer : public EngineTest {};

TEST_F(FileTransfer, VocabularyGoesInWholeBlocksWithAZeroTail)
{
    struct Case {
        std::size_t size;
        std::size_t blocks;
    };
    for (const Case& c : {Case{10000, 3}, Case{8192, 3}, Case{0, 1}, Case{45000, 11}}) {
        SCOPED_TRACE(c.size);
        unit.received.clear();
        const auto content = Pattern(c.size, static_cast<unsigned>(c.size));
        const auto path = dir.path / "voc91.bin";
        WriteFile(path, content);
        ASSERT_TRUE(engine.StartVocabWrite(path));
        RunToEnd();
        ASSERT_EQ(unit.received.size(), c.blocks * kBlockSize);
        EXPECT_TRUE(std::equal(content.begin(), content.end(), unit.received.begin()));
        EXPECT_TRUE(std::all_of(unit.received.begin() + static_cast<std::ptrdiff_t>(c.size),
                                unit.received.end(), [](Byte b) { return b == 0; }));
        EXPECT_EQ(Recorder::Last(seen.dialog), texts::kVocabSuccess);
        EXPECT_EQ(Recorder::Last(seen.status), texts::kVocabTransferred);
        EXPECT_EQ(ReadFile(path), content);
    }
}

TEST_F(FileTransfer, VocabularyAfterASecondPassLinkIsSixtyFourBlocks)
{
    unit.ignoreFirst = 3;
    const auto content = Pattern(5000, 1);
    WriteFile(dir.path / "v.bin", content);
    ASSERT_TRUE(engine.StartVocabWrite(dir.path / "v.bin"));
    RunToEnd();
    EXPECT_EQ(CountCommand(line, kCmdData), 64U);
    ASSERT_EQ(unit.received.size(), 64 * kBlockSize);
    EXPECT_TRUE(std::equal(content.begin(), content.end(), unit.received.begin()));
    EXPECT_TRUE(
        std::all_of(unit.received.begin() + 5000, unit.received.end(), [](Byte b) { return b == 0; }));
    EXPECT_THAT(Recorder::Texts(seen.activity), Contains("Transmitting packet 64 of 64"));
}

TEST_F(FileTransfer, VocabularyFailuresSayWhichKind)
{
    WriteFile(dir.path / "v.bin", Pattern(100, 2));
    unit.silent = true;
    ASSERT_TRUE(engine.StartVocabWrite(dir.path / "v.bin"));
    RunToEnd();
    EXPECT_EQ(Recorder::Last(seen.dialog), texts::kVocabFailedNoComms);
    EXPECT_EQ(line.pcCommands().back(), kCmdEndOfTransfer);

    unit = ScriptedUnit{};
    unit.ignoreCommand = kCmdData;
    ASSERT_TRUE(engine.StartVocabWrite(dir.path / "v.bin"));
    RunToEnd();
    EXPECT_EQ(Recorder::Last(seen.dialog), texts::kVocabFailed);
    EXPECT_EQ(line.pcCommands().back(), kCmdEndOfTransfer);
}

TEST_F(FileTransfer, VoiceWriteWaitsTenSecondsAfterTheFirstBlock)
{
    ExactTiming();
    const auto content = Pattern(2 * kBlockSize, 3);
    WriteFile(dir.path / "veskar.msg", content);
    ASSERT_TRUE(engine.StartVoiceWrite(dir.path / "veskar.msg"));
    RunToEnd();

    EXPECT_EQ(unit.received, content);
    const auto frames = line.pcFrames();
    ASSERT_EQ(frames.size(), 5U);
    EXPECT_EQ(frames[1].command(), kCmdWriteVoices);
    EXPECT_EQ(frames[3].at - frames[2].at, 10010U);
    std::vector<std::string> countdown;
    for (const auto& line : seen.status)
        if (line.text.find("seconds") != std::string::npos)
            countdown.push_back(line.text);
    EXPECT_THAT(countdown, ElementsAre("10 seconds remaining.", "9 seconds remaining.",
                                       "8 seconds remaining.", "7 seconds remaining.", "6 seconds remaining.",
                                       "5 seconds remaining.", "4 seconds remaining.", "3 seconds remaining.",
                                       "2 seconds remaining.", "1 seconds remaining."));
    EXPECT_THAT(Recorder::Texts(seen.activity), Contains(std::string(texts::kWaitingForVoiceMemory)));
    EXPECT_EQ(Recorder::Last(seen.dialog), texts::kVoicesTransferred);
}

TEST_F(FileTransfer, VoicesRoundTripAcrossBufferBoundaries)
{
    for (std::size_t blocks : {1U, 10U, 11U, 64U}) {
        SCOPED_TRACE(blocks);
        unit = ScriptedUnit{};
        const auto content = Pattern(blocks * kBlockSize, static_cast<unsigned>(blocks));
        const auto source = dir.path / "out.msg";
        WriteFile(source, content);
        ASSERT_TRUE(engine.StartVoiceWrite(source));
        RunToEnd();
        ASSERT_EQ(unit.received, content);
        EXPECT_EQ(seen.ended.back(), TransferResult::Succeeded);

        unit.voices = unit.received;
        const auto target = dir.path / "back.msg";
        WriteFile(target, {1, 2, 3}); // replaced
        seen.saveAs = target;
        line.frames.clear();
        ASSERT_TRUE(engine.StartVoiceRead(dir.path));
        RunToEnd();
        EXPECT_EQ(ReadFile(target), content);
        EXPECT_EQ(CountCommand(line, kCmdData), blocks + 1); // the last request is answered "no more"
        EXPECT_EQ(seen.ended.back(), TransferResult::Succeeded);
        EXPECT_FALSE(std::filesystem::exists(dir.path / "voice.tmp"));
        EXPECT_EQ(Recorder::Last(seen.dialog), texts::kVoiceDataRead);
    }
}

TEST_F(FileTransfer, VoiceReadOfAFullMemoryStopsAfterFiveHundredAndOneRequests)
{
    line.wireSpeed = false;
    unit.voices = Pattern(501 * kBlockSize, 4);
    seen.saveAs = dir.path / "full.msg";
    ASSERT_TRUE(engine.StartVoiceRead(dir.path));
    RunToEnd(10'000'000);
    EXPECT_EQ(CountCommand(line, kCmdData), 501U);
    EXPECT_EQ(ReadFile(dir.path / "full.msg"), unit.voices);
}

TEST_F(FileTransfer, VoiceReadEndings)
{
    struct Case {
        const char* name;
        std::size_t blocks;
        bool cancel;
        std::function<void(ScriptedUnit&)> fault;
        std::string status;
        TransferResult result;
        bool endFrame;
        bool saved;
    };
    const std::vector<Case> cases = {
        {"twelve blocks", 12, false, [](ScriptedUnit&) {}, "", TransferResult::Succeeded, true, true},
        {"nothing recorded", 0, false, [](ScriptedUnit&) {}, texts::kNotEnoughVoiceData.data(),
         TransferResult::Failed, true, false},
        {"save cancelled", 3, true, [](ScriptedUnit&) {}, "", TransferResult::Cancelled, true, false},
        {"data fails at block 5", 8, false,
         [](ScriptedUnit& u) { u.ignoreFirst = 0, u.corruptAllData = true; },
         "Transfer failed at packet number 1", TransferResult::Failed, false, false},
        {"no link", 8, false, [](ScriptedUnit& u) { u.silent = true; }, texts::kCheckConnection.data(),
         TransferResult::Failed, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        unit = ScriptedUnit{};
        unit.voices = Pattern(c.blocks * kBlockSize, 5);
        c.fault(unit);
        line.frames.clear();
        seen.saveAsked = 0;
        const auto target = dir.path / (std::string(c.name) + ".msg");
        seen.saveAs = c.cancel ? std::nullopt : std::optional(target);
        ASSERT_TRUE(engine.StartVoiceRead(dir.path));
        RunToEnd();
        EXPECT_EQ(Recorder::Last(seen.status), c.status);
        EXPECT_EQ(seen.ended.back(), c.result);
        EXPECT_EQ(line.pcCommands().back() == kCmdEndOfTransfer, c.endFrame);
        EXPECT_EQ(std::filesystem::exists(target), c.saved);
        if (c.saved) {
            EXPECT_EQ(ReadFile(target), unit.voices);
        }
        EXPECT_EQ(seen.saveAsked, c.endFrame && c.blocks > 0 ? 1 : 0);
        EXPECT_FALSE(std::filesystem::exists(dir.path / "voice.tmp"));
    }
}

TEST_F(FileTransfer, FilesThatCannotBeUsedAreRefusedBeforeThePort)
{
    WriteFile(dir.path / "short.msg", Pattern(8000, 6));
    WriteFile(dir.path / "empty.msg", {});
    std::filesystem::create_directories(dir.path / "folder.bin");
    struct Case {
        const char* name;
        std::function<bool()> start;
        std::string_view text;
    };
    const std::vector<Case> cases = {
        {"missing vocabulary", [&] { return engine.StartVocabWrite(dir.path / "none.bin"); },
         texts::kCannotOpenVocab},
        {"vocabulary is a folder", [&] { return engine.StartVocabWrite(dir.path / "folder.bin"); },
         texts::kCannotOpenVocab},
        {"missing voices", [&] { return engine.StartVoiceWrite(dir.path / "none.msg"); },
         texts::kCannotOpenVoiceFile},
        {"voices not whole blocks", [&] { return engine.StartVoiceWrite(dir.path / "short.msg"); },
         texts::kVoiceFileNotValid},
        {"empty voice file", [&] { return engine.StartVoiceWrite(dir.path / "empty.msg"); },
         texts::kVoiceFileNotValid},
        {"no temporary folder", [&] { return engine.StartVoiceRead(dir.path / "gone"); },
         texts::kCannotOpenVoiceTemp},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        seen.boxes.clear();
        EXPECT_FALSE(c.start());
        EXPECT_EQ(engine.lastRefusal(), StartRefusal::File);
        ASSERT_EQ(seen.boxes.size(), 1U);
        EXPECT_EQ(seen.boxes[0].caption, texts::kCaptionFileError);
        EXPECT_EQ(seen.boxes[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(seen.boxes[0].text, c.text);
        EXPECT_FALSE(engine.busy());
    }
    EXPECT_EQ(line.opens, 0);
    EXPECT_THAT(line.frames, IsEmpty());
    EXPECT_EQ(ReadFile(dir.path / "short.msg").size(), 8000U);
}

TEST_F(FileTransfer, VoicesThatCannotBeStoredAreAFailureNotAShortFile)
{
    unit.voices = Pattern(12 * kBlockSize, 9);
    const auto target = dir.path / "never.msg";
    seen.saveAs = target;
    // In a child process whose files may not grow past one group of ten blocks.
    const auto child = [&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{40960, 40960};
        setrlimit(RLIMIT_FSIZE, &limit);
        const bool started = engine.StartVoiceRead(dir.path);
        line.run();
        const bool ok = started && seen.boxes.size() == 1 &&
                        seen.boxes[0].text == texts::kCannotOpenVoiceTemp &&
                        seen.ended == std::vector{TransferResult::Failed} && seen.saveAsked == 0 &&
                        Recorder::Last(seen.dialog) == texts::kVoiceTransferFailure;
        std::_Exit(ok ? 0 : 1);
    };
    EXPECT_EXIT(child(), ::testing::ExitedWithCode(0), "");
    EXPECT_FALSE(std::filesystem::exists(target));
}

TEST_F(FileTransfer, VoicesThatCannotBeSavedWhereChosenSaySo)
{
    unit.voices = Pattern(2 * kBlockSize, 10);
    seen.saveAs = dir.path / "no such folder" / "v.msg";
    ASSERT_TRUE(engine.StartVoiceRead(dir.path));
    RunToEnd();
    ASSERT_EQ(seen.boxes.size(), 1U);
    EXPECT_EQ(seen.boxes[0].text, texts::kCannotSaveVoiceFile);
    EXPECT_EQ(seen.boxes[0].caption, texts::kCaptionFileError);
    EXPECT_THAT(seen.ended, ElementsAre(TransferResult::Failed));
    EXPECT_FALSE(std::filesystem::exists(dir.path / "voice.tmp"));
}

TEST_F(FileTransfer, TemporaryVoiceFileHasNoPathLengthLimit)
{
    std::filesystem::path deep = dir.path;
    for (int i = 0; i < 6; ++i)
        deep /= std::string(60, static_cast<char>('a' + i));
    std::filesystem::create_directories(deep);
    ASSERT_GT(deep.string().size(), 256U);
    unit.voices = Pattern(2 * kBlockSize, 7);
    seen.saveAs = dir.path / "deep.msg";
    ASSERT_TRUE(engine.StartVoiceRead(deep));
    RunToEnd();
    EXPECT_EQ(ReadFile(dir.path / "deep.msg"), unit.voices);
}

TEST_F(FileTransfer, ReceivingIsAnnouncedOncePerBlock)
{
    unit.voices = Pattern(3 * kBlockSize, 8);
    seen.saveAs = dir.path / "r.msg";
    ASSERT_TRUE(engine.StartVoiceRead(dir.path));
    RunToEnd();
    std::vector<std::string> receiving;
    for (const auto& line : seen.activity)
        if (line.text.starts_with(texts::kReceivingPacket))
            receiving.push_back(line.text);
    EXPECT_THAT(receiving, ElementsAre("Receiving packet 1", "Receiving packet 2", "Receiving packet 3"));
    // The end marker shows the memory held three blocks.
    EXPECT_THAT(seen.packets.back(), ::testing::Pair(3, 3));
}

} // namespace
} // namespace veskar::testing
