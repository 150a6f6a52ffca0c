#pragma once

#include "ScriptedUnit.h"
#include "VirtualLine.h"
#include "programming/TransferEngine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace veskar::testing {

struct Recorder : TransferObserver {
    struct Line {
        Tick at;
        std::string text;
    };
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
    int saveAsked = 0;
    std::optional<std::filesystem::path> saveAs;

    void ProgressShown(bool shown) override { progress.push_back(shown); }
    void Activity(std::string_view text) override { activity.push_back({clock->time, std::string(text)}); }
    void Status(std::string_view text) override { status.push_back({clock->time, std::string(text)}); }
    void DialogStatus(std::string_view text) override { dialog.push_back({clock->time, std::string(text)}); }
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
    void TransferEnded(TransferResult result) override { ended.push_back(result); }

    [[nodiscard]] static std::vector<std::string> Texts(const std::vector<Line>& lines)
    {
        std::vector<std::string> out;
        for (const Line& line : lines)
            out.push_back(line.text);
        return out;
    }
    [[nodiscard]] static std::string Last(const std::vector<Line>& lines)
    {
        return lines.empty() ? std::string() : lines.back().text;
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
    std::filesystem::path path;
    TempDir()
    {
        std::random_device random;
        path = std::filesystem::temp_directory_path() / ("veskar-engine-" + std::to_string(random()));
        std::filesystem::create_directories(path);
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

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

class EngineTest : public ::testing::Test {
  protected:
    EngineTest()
    {
        seen.clock = &clock;
        line.attach(engine);
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

    VirtualClock clock;
    ScriptedUnit unit;
    VirtualLine line{clock, [this](std::span<const Byte> frame) { return unit(frame); }};
    Recorder seen;
    TransferEngine engine{line, clock, seen};
    TempDir dir;
};

} // namespace veskar::testing
