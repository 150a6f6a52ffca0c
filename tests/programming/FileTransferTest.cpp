#include "EngineFixture.h"
#include "programming/TransferFiles.h"
#include "programming/TransferTexts.h"

#include <gmock/gmock.h>

namespace veskar::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

std::size_t CountCommand(const VirtualLine& line, Byte command)
{
    return static_cast<std::size_t>(std::ranges::count(line.pcCommands(), command));
}

bool AllZero(std::span<const Byte> bytes)
{
    return std::ranges::all_of(bytes, [](Byte b) { return b == 0; });
}

class FileTransfer : public EngineTest {};

// Whole blocks with a zero tail; 64 blocks whatever the size once the link took the
// second pass; a failure says whether the link or the data failed.
TEST_F(FileTransfer, VocabularyGoesInWholeBlocksWithAZeroTail)
{
    struct Case {
        std::size_t size;
        UnitFaults faults;
        std::size_t blocks;
        std::string_view dialog;
    };
    const Case cases[] = {{10000, {}, 3, texts::kVocabSuccess},
                          {8192, {}, 3, texts::kVocabSuccess},
                          {45000, {}, 11, texts::kVocabSuccess},
                          {5000, {.ignoreFirst = 3}, 64, texts::kVocabSuccess},
                          {100, {.silent = true}, 0, texts::kVocabFailedNoComms},
                          {100, {.cutAfterBytes = 14}, 1, texts::kVocabFailed}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dialog);
        SCOPED_TRACE(c.size);
        Faults(c.faults);
        line.frames.clear();
        const auto content = Pattern(c.size, static_cast<unsigned>(c.size));
        const auto path = dir.path / "voc91.bin";
        WriteFile(path, content);
        ASSERT_TRUE(engine.StartVocabWrite(OpenSendFile(path)));
        RunToEnd();
        EXPECT_EQ(Recorder::Last(seen.dialog), c.dialog);
        EXPECT_EQ(line.pcCommands().back(), kCmdEndOfTransfer);
        EXPECT_EQ(ReadFile(path), content);
        if (c.dialog != texts::kVocabSuccess)
            continue;
        EXPECT_EQ(CountCommand(line, kCmdData), c.blocks);
        ASSERT_EQ(memory.vocabulary.size(), c.blocks * kBlockSize);
        EXPECT_TRUE(std::ranges::equal(content, std::span(memory.vocabulary).first(c.size)));
        EXPECT_TRUE(AllZero(std::span(memory.vocabulary).subspan(c.size)));
        const std::string last = std::to_string(c.blocks);
        EXPECT_THAT(Recorder::Texts(seen.activity), Contains("Transmitting packet " + last + " of " + last));
        EXPECT_EQ(Recorder::Last(seen.status), texts::kVocabTransferred);
    }
}

TEST_F(FileTransfer, VoiceWriteWaitsTenSecondsAfterTheFirstBlock)
{
    ExactTiming();
    const auto content = Pattern(2 * kBlockSize, 3);
    WriteFile(dir.path / "veskar.msg", content);
    ASSERT_TRUE(engine.StartVoiceWrite(OpenSendFile(dir.path / "veskar.msg")));
    RunToEnd();

    EXPECT_EQ(memory.voices, content);
    const auto& frames = line.pcFrames();
    ASSERT_EQ(frames.size(), 5U);
    EXPECT_EQ(frames[1].command(), kCmdWriteVoices);
    EXPECT_EQ(frames[3].at - frames[2].at, 10010U);
    std::vector<std::string> countdown;
    for (int left = 10; left > 0; --left)
        countdown.push_back(std::to_string(left) + " seconds remaining.");
    std::vector<std::string> shown;
    for (const auto& status : seen.status)
        if (status.text.ends_with(" seconds remaining."))
            shown.push_back(status.text);
    EXPECT_THAT(shown, ElementsAreArray(countdown));
    EXPECT_THAT(Recorder::Texts(seen.activity), Contains(std::string(texts::kWaitingForVoiceMemory)));
    EXPECT_EQ(Recorder::Last(seen.dialog), texts::kVoicesTransferred);
}

// Out to the unit and back, across the engine's ten-block buffer; the saved file
// replaces what was there, and each block is announced once.
TEST_F(FileTransfer, VoicesRoundTripAcrossBufferBoundaries)
{
    for (std::size_t blocks : {1U, 10U, 11U}) {
        SCOPED_TRACE(blocks);
        const auto content = Pattern(blocks * kBlockSize, static_cast<unsigned>(blocks));
        WriteFile(dir.path / "out.msg", content);
        ASSERT_TRUE(engine.StartVoiceWrite(OpenSendFile(dir.path / "out.msg")));
        RunToEnd();
        ASSERT_EQ(memory.voices, content);
        EXPECT_EQ(seen.ended.back(), TransferResult::Succeeded);

        const auto target = dir.path / "back.msg";
        WriteFile(target, {1, 2, 3});
        seen.saveAs = target;
        seen.activity.clear();
        seen.packets.clear();
        line.frames.clear();
        ASSERT_TRUE(engine.StartVoiceRead(OpenVoiceStore(dir.path)));
        RunToEnd();
        // How many blocks there are is known only at the end.
        for (std::size_t i = 0; i + 1 < seen.packets.size(); ++i)
            EXPECT_EQ(seen.packets[i].second, 0) << i;
        EXPECT_EQ(ReadFile(target), content);
        EXPECT_EQ(CountCommand(line, kCmdData), blocks + 1); // the last request is answered "no more"
        EXPECT_EQ(Recorder::Texts(seen.activity, texts::kReceivingPacket).size(), blocks);
        EXPECT_EQ(Recorder::Texts(seen.activity, texts::kReceivingPacket).back(),
                  "Receiving packet " + std::to_string(blocks));
        EXPECT_THAT(seen.packets.back(), ::testing::Pair(blocks, blocks)); // from the end marker
        EXPECT_EQ(seen.ended.back(), TransferResult::Succeeded);
        EXPECT_FALSE(ScratchLeft(dir.path));
        EXPECT_EQ(Recorder::Last(seen.dialog), texts::kVoiceDataRead);
    }
}

TEST_F(FileTransfer, VoiceReadOfAFullMemoryStopsAfterFiveHundredAndOneRequests)
{
    line.wireSpeed = false;
    memory.voices = Pattern(502 * kBlockSize, 4);
    seen.saveAs = dir.path / "full.msg";
    ASSERT_TRUE(engine.StartVoiceRead(OpenVoiceStore(dir.path)));
    RunToEnd(10'000'000);
    EXPECT_EQ(CountCommand(line, kCmdData), 501U);
    EXPECT_EQ(ReadFile(dir.path / "full.msg"),
              std::vector(memory.voices.begin(), memory.voices.end() - kBlockSize));
}

struct VoiceEnding {
    const char* name;
    std::size_t blocks;
    const char* target; // what the save dialog returns; nullptr: cancelled
    UnitFaults faults;
    Tamper tamper;
    std::string_view status;
    TransferResult result;
    bool endFrame;
    bool asked;
    std::string_view box;
};

constexpr auto Ok = TransferResult::Succeeded, Bad = TransferResult::Failed;
constexpr auto None = Tamper::None;
using namespace texts;

// clang-format off
const VoiceEnding kVoiceEndings[] = {
    {"TwelveBlocks", 12, "v.msg", {}, None, "", Ok, true, true, ""},
    // The scratch file has no name, so the old temporary name is a name like any other.
    {"SavedAsVoiceTmp", 3, "voice.tmp", {}, None, "", Ok, true, true, ""},
    {"NothingRecorded", 0, "v.msg", {}, None, kNotEnoughVoiceData, Bad, true, false, ""},
    {"EndOfDataAtOnce", 3, "v.msg", {.endOfDataAtPacket = 0}, None, kNotEnoughVoiceData, Bad, true, false, ""},
    {"SaveCancelled", 3, nullptr, {}, None, "", TransferResult::Cancelled, true, true, ""},
    {"SaveFolderMissing", 2, "no such folder/v.msg", {}, None, "", Bad, true, true, kCannotSaveVoiceFile},
    {"DataCorrupt", 8, "v.msg", {}, Tamper::DataCrc, "Transfer failed at packet number 1", Bad, false, false, ""},
    {"NoLink", 8, "v.msg", {.silent = true}, None, kCheckConnection, Bad, false, false, ""},
};
// clang-format on

void PrintTo(const VoiceEnding& ending, std::ostream* out)
{
    *out << ending.name;
}

class VoiceRead : public EngineTest, public ::testing::WithParamInterface<VoiceEnding> {};

TEST_P(VoiceRead, EndsWithItsTextAndFile)
{
    const VoiceEnding& c = GetParam();
    memory.voices = Pattern(c.blocks * kBlockSize, 5);
    Faults(c.faults, c.tamper);
    const auto target = dir.path / (c.target ? c.target : "v.msg");
    if (c.target)
        seen.saveAs = target;
    ASSERT_TRUE(engine.StartVoiceRead(OpenVoiceStore(dir.path)));
    RunToEnd();
    EXPECT_EQ(Recorder::Last(seen.status), c.status);
    EXPECT_THAT(seen.ended, ElementsAre(c.result));
    EXPECT_EQ(line.pcCommands().back() == kCmdEndOfTransfer, c.endFrame);
    const bool saved = c.result == TransferResult::Succeeded;
    EXPECT_EQ(std::filesystem::exists(target), saved);
    if (saved) {
        EXPECT_EQ(ReadFile(target), memory.voices);
    }
    EXPECT_EQ(seen.saveAsked, c.asked ? 1 : 0);
    if (c.box.empty()) {
        EXPECT_THAT(seen.boxes, IsEmpty());
    } else {
        ASSERT_EQ(seen.boxes.size(), 1U);
        EXPECT_EQ(seen.boxes[0].caption, texts::kCaptionFileError);
        EXPECT_EQ(seen.boxes[0].text, c.box);
    }
    EXPECT_FALSE(ScratchLeft(dir.path, target));
}

INSTANTIATE_TEST_SUITE_P(Endings, VoiceRead, ::testing::ValuesIn(kVoiceEndings),
                         [](const auto& info) { return std::string(info.param.name); });

// Two reads at once into one temporary folder, with another user's leftover in
// it: each keeps its own voices and leaves nothing behind.
TEST_F(FileTransfer, ConcurrentVoiceReadsKeepTheirOwnData)
{
    // A leftover this user cannot remove.
    std::filesystem::create_directories(dir.path / "voice.tmp");
    WriteFile(dir.path / "voice.tmp" / "owned-by-someone-else", {1});
    memory.voices = Pattern(3 * kBlockSize, 11);
    UnitMemory otherMemory = UnitMemory::Fresh();
    otherMemory.voices = Pattern(5 * kBlockSize, 12);
    SimulatedUnit otherUnit(otherMemory);
    VirtualClock otherClock;
    VirtualLine otherLine(otherClock, [&](std::span<const Byte> frame) { return otherUnit.receive(frame); });
    Recorder otherSeen;
    otherSeen.clock = &otherClock;
    TransferEngine other(otherLine, otherClock, otherSeen);
    otherLine.attach(other);

    seen.saveAs = dir.path / "first.msg";
    otherSeen.saveAs = dir.path / "second.msg";
    ASSERT_TRUE(engine.StartVoiceRead(OpenVoiceStore(dir.path)));
    ASSERT_TRUE(other.StartVoiceRead(OpenVoiceStore(dir.path)));
    RunToEnd();
    ASSERT_TRUE(otherLine.run());
    EXPECT_EQ(ReadFile(dir.path / "first.msg"), memory.voices);
    EXPECT_EQ(ReadFile(dir.path / "second.msg"), otherMemory.voices);
    EXPECT_EQ(seen.ended.back(), TransferResult::Succeeded);
    EXPECT_EQ(otherSeen.ended.back(), TransferResult::Succeeded);
    EXPECT_FALSE(ScratchLeft(dir.path));
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
        {"missing vocabulary", [&] { return engine.StartVocabWrite(OpenSendFile(dir.path / "none.bin")); },
         texts::kCannotOpenVocab},
        {"vocabulary is a folder",
         [&] { return engine.StartVocabWrite(OpenSendFile(dir.path / "folder.bin")); },
         texts::kCannotOpenVocab},
        {"empty vocabulary", [&] { return engine.StartVocabWrite(OpenSendFile(dir.path / "empty.msg")); },
         texts::kVocabNotValid},
        {"missing voices", [&] { return engine.StartVoiceWrite(OpenSendFile(dir.path / "none.msg")); },
         texts::kCannotOpenVoiceFile},
        {"voices not whole blocks",
         [&] { return engine.StartVoiceWrite(OpenSendFile(dir.path / "short.msg")); },
         texts::kVoiceFileNotValid},
        {"empty voice file", [&] { return engine.StartVoiceWrite(OpenSendFile(dir.path / "empty.msg")); },
         texts::kVoiceFileNotValid},
        {"no temporary folder", [&] { return engine.StartVoiceRead(OpenVoiceStore(dir.path / "gone")); },
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

// Sources and sinks that fail where a disk or a network share might.
class FailingSource final : public TransferSource {
  public:
    FailingSource(std::uintmax_t size, int goodReads) : size_(size), goodReads_(goodReads) {}
    [[nodiscard]] std::uintmax_t size() const override { return size_; }
    bool Read(std::span<Byte> into) override
    {
        std::ranges::fill(into, Byte{0x5A});
        return goodReads_-- > 0;
    }

  private:
    std::uintmax_t size_;
    int goodReads_;
};

class FailingSink final : public VoiceSink {
  public:
    explicit FailingSink(int goodAppends) : goodAppends_(goodAppends) {}
    bool Append(std::span<const Byte>) override { return goodAppends_-- > 0; }
    bool Keep(const std::filesystem::path&) override { return true; }

  private:
    int goodAppends_;
};

// An acknowledge that comes after its wait must not be taken for the retry's, or
// every later acknowledge answers the packet before it and a lost packet goes unnoticed.
TEST_F(FileTransfer, LateAcknowledgeDoesNotShiftTheRest)
{
    // Frames: link, command, data 1, data 2, data 2 again, data 3, ...
    line.answerDelay = [](std::size_t frame) -> std::optional<Tick> {
        if (frame == 3)
            return 5100; // past the 5-second wait, during the retry pause
        if (frame == 5)
            return std::nullopt; // the unit drops the first copy of packet 3
        return 0;
    };
    const auto content = Pattern(2 * kBlockSize + 100, 11);
    WriteFile(dir.path / "voc.bin", content);
    ASSERT_TRUE(engine.StartVocabWrite(OpenSendFile(dir.path / "voc.bin")));
    RunToEnd();
    std::vector<int> packets;
    for (const LoggedFrame& frame : line.pcFrames())
        if (frame.command() == kCmdData)
            packets.push_back(frame.bytes[3] << 8 | frame.bytes[4]);
    EXPECT_THAT(packets, ElementsAre(0, 1, 1, 2, 2));
    EXPECT_EQ(seen.ended.back(), TransferResult::Succeeded);
    EXPECT_TRUE(std::ranges::equal(content, std::span(memory.vocabulary).first(content.size())));
}

// A file that fails mid-way is a failed send, closed with the end-of-transfer frame, never zeros sent as
// data.
TEST_F(FileTransfer, SourceFailingMidwayFailsTheSend)
{
    struct Case {
        const char* name;
        bool vocabulary;
        std::string_view box;
        std::string_view dialog;
    };
    const Case cases[] = {
        {"vocabulary", true, texts::kCannotReadVocab, texts::kVocabFailed},
        {"voices", false, texts::kCannotReadVoiceFile, texts::kVoiceTransferFailure},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        line.frames.clear();
        seen.boxes.clear();
        seen.ended.clear();
        auto source = std::make_unique<FailingSource>(15 * kBlockSize, 1);
        ASSERT_TRUE(c.vocabulary ? engine.StartVocabWrite(std::move(source))
                                 : engine.StartVoiceWrite(std::move(source)));
        RunToEnd();
        EXPECT_EQ(CountCommand(line, kCmdData), 10U) << "only the blocks that were read";
        EXPECT_EQ(line.pcCommands().back(), kCmdEndOfTransfer);
        EXPECT_THAT(seen.ended, ElementsAre(TransferResult::Failed));
        ASSERT_EQ(seen.boxes.size(), 1U);
        EXPECT_EQ(seen.boxes[0].text, c.box);
        EXPECT_EQ(Recorder::Last(seen.dialog), c.dialog);
    }
}

TEST_F(FileTransfer, VocabularyTooLargeForPacketNumbersSaysSo)
{
    const std::pair<std::uintmax_t, bool> cases[] = {{65535ULL * kBlockSize - 1, true},
                                                     {65535ULL * kBlockSize, false}};
    for (const auto& [size, fits] : cases) {
        SCOPED_TRACE(size);
        seen.boxes.clear();
        if (fits) {
            ASSERT_TRUE(engine.StartVocabWrite(std::make_unique<FailingSource>(size, 0)));
            RunToEnd();
            EXPECT_NE(seen.boxes.at(0).text, texts::kVocabTooLarge);
            continue;
        }
        EXPECT_FALSE(engine.StartVocabWrite(std::make_unique<FailingSource>(size, 0)));
        ASSERT_EQ(seen.boxes.size(), 1U);
        EXPECT_EQ(seen.boxes[0].text, texts::kVocabTooLarge);
    }
}

TEST_F(FileTransfer, VoicesThatCannotBeStoredAreAFailureNotAShortFile)
{
    memory.voices = Pattern(12 * kBlockSize, 9);
    seen.saveAs = dir.path / "never.msg";
    ASSERT_TRUE(engine.StartVoiceRead(std::make_unique<FailingSink>(1)));
    line.run();
    ASSERT_EQ(seen.boxes.size(), 1U);
    EXPECT_EQ(seen.boxes[0].text, texts::kCannotOpenVoiceTemp);
    EXPECT_THAT(seen.ended, ElementsAre(TransferResult::Failed));
    EXPECT_EQ(seen.saveAsked, 0);
    EXPECT_EQ(Recorder::Last(seen.dialog), texts::kVoiceTransferFailure);
}

TEST_F(FileTransfer, TemporaryVoiceFileHasNoPathLengthLimit)
{
    std::filesystem::path deep = dir.path;
    for (int i = 0; i < 6; ++i)
        deep /= std::string(60, static_cast<char>('a' + i));
    std::filesystem::create_directories(deep);
    ASSERT_GT(deep.string().size(), 256U);
    seen.saveAs = dir.path / "deep.msg";
    ASSERT_TRUE(engine.StartVoiceRead(OpenVoiceStore(deep)));
    RunToEnd();
    EXPECT_EQ(ReadFile(dir.path / "deep.msg"), memory.voices);
}

} // namespace
} // namespace veskar::testing
