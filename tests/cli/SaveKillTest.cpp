// A save killed at any moment leaves the old file or the new one, whole, and
// nothing that piles up beside it. The writer is the real veskar-cli.

#include "database/DataFile.h"
#include "database/Defaults.h"
#include "support/ChildProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace veskar {
namespace {

namespace fs = std::filesystem;
using std::chrono::microseconds;
using std::chrono::steady_clock;

std::vector<Byte> Bytes(const Image& image)
{
    return {image.bytes().begin(), image.bytes().end()};
}

std::vector<Byte> ReadBack(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t EntriesIn(const fs::path& folder)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(SaveKillTest, KilledAnywhereTheFileIsOldOrNewAndNothingPilesUp)
{
    const testing::TempFolder folder{"veskar-kill"};
    Image source{};
    CreateDatabase(source);
    source.gen.timesA = 0; // the repair sets it
    Image before = source;
    before.gen.siteName[0] = 'Z';
    ASSERT_EQ(WriteImageFile(folder / "in.dat", source), FileError::None);
    Image after = source;
    DefaultValues(after);
    ASSERT_NE(Bytes(after), Bytes(before));
    const std::string target = folder / "site.dat";
    const auto reset = [&] { ASSERT_EQ(WriteImageFile(target, before), FileError::None); };
    const auto repair = [&] {
        return std::make_unique<testing::ChildProcess>(VESKAR_CLI,
                                                       std::vector<std::string>{"repair", folder / "in.dat", target});
    };

    // How long a whole run takes here sets the points to kill it at.
    reset();
    const auto started = steady_clock::now();
    ASSERT_EQ(repair()->finish().status, 0);
    const auto whole = std::chrono::duration_cast<microseconds>(steady_clock::now() - started);
    ASSERT_EQ(ReadBack(target), Bytes(after));

    constexpr int kPoints = 60;
    int sawOld = 0;
    int sawNew = 0;
    for (int point = 0; point <= kPoints; ++point) {
        reset();
        auto writer = repair();
        std::this_thread::sleep_for(whole * point * 3 / (2 * kPoints)); // up to half as long again
        writer->finish(SIGKILL);
        const std::vector<Byte> left = ReadBack(target);
        ASSERT_TRUE(left == Bytes(before) || left == Bytes(after)) << "torn at point " << point;
        (left == Bytes(before) ? sawOld : sawNew)++;
        EXPECT_LE(EntriesIn(folder.path()), 3U) << "in.dat, site.dat and at most one leftover, at point " << point;
    }
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);

    // The next save of the file clears what a killed one left.
    ASSERT_EQ(repair()->finish().status, 0);
    EXPECT_EQ(EntriesIn(folder.path()), 2U);
}

} // namespace
} // namespace veskar
