// The transfer engine against a far end that answers from the fuzzer's bytes
// (sound frames, wrong ones, noise, silence, late answers), on virtual time.
// Every transfer that starts ends exactly once; a read that fails leaves the
// image as it was and keeps no voices; a send always ends with the
// end-of-transfer frame.

#include "FuzzCheck.h"
#include "database/Defaults.h"
#include "programming/Frame.h"
#include "programming/TransferEngine.h"
#include "programming/VirtualLine.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>

using namespace veskar;
using veskar::testing::VirtualClock;
using veskar::testing::VirtualLine;

namespace {

// Bounded so that one input is quick: at most this many blocks either way.
constexpr std::size_t kMaxBlocks = 3;

class Input {
  public:
    explicit Input(std::span<const Byte> bytes) : bytes_(bytes) {}
    Byte next() { return at_ < bytes_.size() ? bytes_[at_++] : Byte{0}; }
    std::span<const Byte> take(std::size_t n)
    {
        n = std::min(n, bytes_.size() - at_);
        const auto part = bytes_.subspan(at_, n);
        at_ += n;
        return part;
    }
    [[nodiscard]] bool done() const { return at_ >= bytes_.size(); }

  private:
    std::span<const Byte> bytes_;
    std::size_t at_ = 0;
};

struct Source final : TransferSource {
    std::uintmax_t bytes;
    bool failAt2;
    int reads = 0;
    Source(std::uintmax_t size, bool fail) : bytes(size), failAt2(fail) {}
    [[nodiscard]] std::uintmax_t size() const override { return bytes; }
    bool Read(std::span<Byte> into) override
    {
        std::ranges::fill(into, Byte{0x5A});
        return !(failAt2 && ++reads == 2);
    }
};

struct Sink final : VoiceSink {
    std::size_t* kept;
    std::size_t appended = 0;
    explicit Sink(std::size_t* keptBytes) : kept(keptBytes) {}
    bool Append(std::span<const Byte> blocks) override
    {
        appended += blocks.size();
        return true;
    }
    bool Keep(const std::filesystem::path&) override
    {
        *kept = appended;
        return true;
    }
};

struct Watcher final : TransferObserver {
    int ended = 0;
    TransferResult result = TransferResult::Failed;
    void TransferEnded(TransferResult r) override
    {
        ++ended;
        result = r;
    }
    std::optional<std::filesystem::path> ChooseVoiceSaveFile() override { return "voices.msg"; }
};

// One answer to a frame from the PC, chosen by the next input byte. At most
// kMaxBlocks data frames come back, so a voice read ends soon.
std::vector<Byte> Answer(Input& input, std::span<const Byte> frame, std::size_t& dataFrames)
{
    const Byte how = input.next();
    const bool data = how % 6 == 1;
    if (data && ++dataFrames > kMaxBlocks)
        return BuildFrame(kSourceUnit, kCmdAcknowledge, 0);
    switch (how % 6) {
    case 0: return BuildFrame(kSourceUnit, kCmdAcknowledge, 0);
    case 1: {
        std::vector<Byte> block(kBlockSize);
        const auto fill = input.take(16);
        for (std::size_t i = 0; i < block.size(); ++i)
            block[i] = fill.empty() ? Byte{0} : fill[i % fill.size()];
        const auto packet = how & 0x80 ? FramePacketNumber(frame) : static_cast<std::uint16_t>(input.next());
        return BuildFrame(kSourceUnit, kCmdData, packet, block);
    }
    case 2: {
        const auto raw = input.take(input.next() % 16);
        return {raw.begin(), raw.end()};
    }
    case 3: {
        std::vector<Byte> bad = BuildFrame(kSourceUnit, kCmdAcknowledge, 0);
        bad[input.next() % bad.size()] ^= 0x10;
        return bad;
    }
    case 4: return BuildFrame(kSourceUnit, static_cast<Byte>(input.next()), 0);
    default: return {};
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Input input({data, size});
    const Byte setup = input.next();
    VirtualClock clock;
    clock.time = static_cast<Tick>(input.next()) << 24; // near the wrap, too
    std::size_t dataFrames = 0;
    VirtualLine line(clock, [&](std::span<const Byte> frame) { return Answer(input, frame, dataFrames); });
    line.wireSpeed = (setup & 0x08) != 0;
    line.startAt(clock.time);
    line.answerDelay = [&input](std::size_t) -> std::optional<Tick> {
        const Byte late = input.next();
        if (late == 0xFF)
            return std::nullopt;
        return static_cast<Tick>(late & 0x0F) * 500; // up to 7.5 s: past the 5-second wait
    };
    Watcher watcher;
    TransferEngine engine(line, clock, watcher);
    line.attach(engine);

    Image image{};
    CreateDatabase(image);
    const Image before = image;
    std::size_t keptVoices = 0;
    const std::uintmax_t sendSize = kBlockSize * (1 + input.next() % kMaxBlocks);
    bool started = false;
    const int kind = setup % 5;
    switch (kind) {
    case 0: started = engine.StartConfigWrite(image); break;
    case 1: started = engine.StartConfigRead(image); break;
    case 2: started = engine.StartVocabWrite(std::make_unique<Source>(sendSize, setup & 0x10)); break;
    case 3: started = engine.StartVoiceWrite(std::make_unique<Source>(sendSize, setup & 0x10)); break;
    default: started = engine.StartVoiceRead(std::make_unique<Sink>(&keptVoices)); break;
    }
    fuzz::Require(started, "an idle engine starts");
    // A stop somewhere, or none.
    const Tick stopAfter = setup & 0x20 ? static_cast<Tick>(input.next()) * 100 : 0;
    if (stopAfter > 0 && !line.run(stopAfter) && engine.stoppable())
        engine.Stop();
    fuzz::Require(line.run(24 * 3'600'000), "the transfer ends");
    fuzz::Require(watcher.ended == 1, "ends exactly once");

    const bool sending = kind != 1 && kind != 4;
    if (sending)
        fuzz::Require(!line.pcFrames().empty() && line.pcFrames().back().command() == kCmdEndOfTransfer,
                      "a send ends with the end-of-transfer frame");
    if (kind == 1 && watcher.result != TransferResult::Succeeded)
        fuzz::Require(image == before, "a failed read leaves the image as it was");
    if (kind == 4 && watcher.result != TransferResult::Succeeded)
        fuzz::Require(keptVoices == 0, "a failed voice read keeps nothing");
    return 0;
}
