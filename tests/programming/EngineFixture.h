#pragma once

#include "VirtualLine.h"
#include "programming/Frame.h"
#include "programming/TransferEngine.h"
#include "programming/unit/SimulatedUnit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace veskar::testing {

struct Recorder : TransferObserver {
    // A text as said, split at its line break: the fixed text, then what the line showed.
    struct Line {
        Tick at;
        std::string text;
        std::string more;
    };
    static Line Split(Tick at, std::string_view said)
    {
        const std::size_t br = said.find('\n');
        if (br == std::string_view::npos)
            return {at, std::string(said), {}};
        return {at, std::string(said.substr(0, br)), std::string(said.substr(br + 1))};
    }
    struct Box {
        std::string caption;
        MessageIcon icon;
        std::string text;
    };
    const VirtualClock* clock = nullptr;
    std::vector<Line> activity, status, dialog;
    std::vector<Box> boxes;
    std::vector<bool> progress;
    std::vector<TransferResult> ended;
    std::vector<std::pair<int, int>> packets;
    int configurationRead = 0;
    std::optional<Image> delivered;
    int saveAsked = 0;
    std::optional<std::filesystem::path> saveAs;

    void ProgressShown(bool shown) override { progress.push_back(shown); }
    void Activity(std::string_view text) override { activity.push_back(Split(clock->time, text)); }
    void Status(std::string_view text) override { status.push_back(Split(clock->time, text)); }
    void DialogStatus(std::string_view text) override { dialog.push_back(Split(clock->time, text)); }
    void PacketsDone(int done, int total) override { packets.emplace_back(done, total); }
    void Message(std::string_view caption, MessageIcon icon, std::string_view text) override
    {
        boxes.push_back({std::string(caption), icon, std::string(text)});
    }
    std::optional<std::filesystem::path> ChooseVoiceSaveFile() override
    {
        ++saveAsked;
        return saveAs;
    }
    void ConfigurationRead() override { ++configurationRead; }
    void ConfigurationDelivered(const Image& sent) override { delivered = sent; }
    void TransferEnded(TransferResult result) override { ended.push_back(result); }

    // The texts of `lines` that start with `prefix`.
    [[nodiscard]] static std::vector<std::string> Texts(const std::vector<Line>& lines,
                                                        std::string_view prefix = {})
    {
        std::vector<std::string> out;
        for (const Line& line : lines)
            if (line.text.starts_with(prefix))
                out.push_back(line.text);
        return out;
    }
    [[nodiscard]] static std::string Last(const std::vector<Line>& lines)
    {
        return lines.empty() ? std::string() : lines.back().text;
    }
    [[nodiscard]] static std::string LastMore(const std::vector<Line>& lines)
    {
        return lines.empty() ? std::string() : lines.back().more;
    }
    [[nodiscard]] static std::optional<Tick> When(const std::vector<Line>& lines, std::string_view text)
    {
        for (const Line& line : lines)
            if (line.text == text)
                return line.at;
        return std::nullopt;
    }
};

// A fresh folder under the system's temporary folder, removed afterwards.
struct TempDir {
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("veskar-engine-" + std::to_string(std::random_device()()));
    TempDir() { std::filesystem::create_directories(path); }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

// Whether a transfer left a scratch or half-written file in `dir` (folders a test plants do not count).
inline bool ScratchLeft(const std::filesystem::path& dir, const std::filesystem::path& kept = {})
{
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || entry.path() == kept)
            continue;
        if (name.starts_with("scratch") || name.find(".writing-") != std::string::npos || name.ends_with(".tmp"))
            return true;
    }
    return false;
}

inline std::vector<Byte> Pattern(std::size_t size, unsigned seed)
{
    std::vector<Byte> bytes(size);
    std::minstd_rand random(seed);
    for (Byte& byte : bytes)
        byte = static_cast<Byte>(random());
    return bytes;
}

inline void WriteFile(const std::filesystem::path& path, const std::vector<Byte>& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<Byte> ReadFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// What the simulated unit cannot do: spoil each of its data frames.
enum class Tamper { None, DataCrc, DataCommand };

// The engine against the simulated unit on a virtual line.
class EngineTest : public ::testing::Test {
  protected:
    EngineTest()
    {
        seen.clock = &clock;
        line.attach(engine);
    }

    // A unit with `faults` and fresh fault counters, on the same memory.
    void Faults(UnitFaults faults, Tamper how = Tamper::None)
    {
        unit.emplace(memory, faults);
        tamper = how;
        if (faults.slowReplyMs > 0)
            line.answerDelay = [ms = static_cast<Tick>(faults.slowReplyMs)](std::size_t) { return ms; };
    }

    // Runs the transfer to its end and checks that no event ever waited on the clock.
    void RunToEnd(Tick limit = 3'600'000)
    {
        ASSERT_TRUE(line.run(limit)) << "the transfer did not end";
        EXPECT_FALSE(line.clockMovedInsideEvent);
        EXPECT_LT(line.maxClockReadsPerEvent, 64) << "an event handler polls the clock";
        EXPECT_FALSE(engine.busy());
    }

    void ExactTiming()
    {
        line.wireSpeed = false;
        line.turnaround = 0;
    }

    std::vector<Byte> Answer(std::span<const Byte> frame)
    {
        std::vector<Byte> answer = unit->receive(frame);
        if (tamper != Tamper::None && answer.size() == kDataFrameSize) {
            if (tamper == Tamper::DataCrc)
                answer[100] ^= 0xFF;
            else
                answer = BuildFrame(kSourceUnit, kWrongReplyCommand, 0);
        }
        return answer;
    }

    UnitMemory memory = UnitMemory::Fresh();
    std::optional<SimulatedUnit> unit{std::in_place, memory};
    Tamper tamper = Tamper::None;
    VirtualClock clock;
    VirtualLine line{clock, [this](std::span<const Byte> frame) { return Answer(frame); }};
    Recorder seen;
    TransferEngine engine{line, clock, seen};
    TempDir dir;
};

} // namespace veskar::testing
