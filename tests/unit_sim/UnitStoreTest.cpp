#include "programming/unit/UnitStore.h"

#include "programming/Frame.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace veskar {
namespace {

namespace fs = std::filesystem;

class UnitStoreTest : public ::testing::Test {
  protected:
    veskar::testing::TempFolder folder{"veskar-store"};
    const fs::path root = folder.path();
};

// A fresh store is created, a write through the unit lands in the files, and
// the next run finds it there.
TEST_F(UnitStoreTest, FreshStoreAndWriteTransferSurviveARestart)
{
    const fs::path folder = root / "nested" / "store";
    UnitMemory memory;
    std::string error;
    ASSERT_TRUE(LoadUnitStore(folder, memory, error)) << error;
    EXPECT_EQ(memory, UnitMemory::Fresh());
    std::ifstream voicesFile(folder / kStoreVoicesFile, std::ios::binary);
    EXPECT_EQ(std::vector<Byte>(std::istreambuf_iterator<char>(voicesFile), {}), UnitMemory::FreshVoices());
    EXPECT_EQ(fs::file_size(folder / kStoreVocabularyFile), 0U);

    SimulatedUnit unit(memory);
    unit.onStored = [&] { EXPECT_TRUE(SaveUnitStore(folder, memory, error)) << error; };
    const std::vector<Byte> block(kBlockSize, 0x5A);
    for (const std::vector<Byte>& frame :
         {BuildFrame(kSourcePc, kCmdWriteVoices, 0), BuildFrame(kSourcePc, kCmdData, 0, block),
          BuildFrame(kSourcePc, kCmdData, 1, block), BuildFrame(kSourcePc, kCmdEndOfTransfer, 0)})
        (void)unit.receive(frame);

    UnitMemory reloaded;
    ASSERT_TRUE(LoadUnitStore(folder, reloaded, error)) << error;
    EXPECT_EQ(reloaded.voices, std::vector<Byte>(2 * kBlockSize, 0x5A));
    EXPECT_EQ(reloaded.configuration, UnitMemory::FreshConfiguration());
}

TEST_F(UnitStoreTest, RefusesImpossibleFilesAndTouchesNothing)
{
    const std::vector<std::tuple<const char*, std::size_t, std::string>> cases = {
        {kStoreConfigurationFile, 100, ": holds 100 bytes; it must hold exactly 4096 bytes"},
        {kStoreVoicesFile, 5000,
         ": holds 5000 bytes; it must hold a multiple of 4096 bytes, at most 2048000"},
        {kStoreVoicesFile, 501 * kBlockSize,
         ": holds more than 2048001 bytes; it must hold a multiple of 4096 bytes, at most 2048000"},
    };
    for (const auto& [name, size, message] : cases) {
        const fs::path folder = root / std::to_string(size);
        fs::create_directories(folder);
        std::ofstream(folder / name) << std::string(size, 'x');
        UnitMemory memory;
        memory.vocabulary = {1, 2, 3};
        const UnitMemory before = memory;
        std::string error;
        EXPECT_FALSE(LoadUnitStore(folder, memory, error)) << name;
        EXPECT_EQ(error, (folder / name).string() + message);
        EXPECT_EQ(memory, before);
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1) << "no file added";
        EXPECT_EQ(fs::file_size(folder / name), size);
    }
    std::ofstream(root / "plain") << "x";
    UnitMemory memory;
    std::string error;
    EXPECT_FALSE(LoadUnitStore(root / "plain", memory, error));
    EXPECT_EQ(error, (root / "plain").string() + ": is not a folder");
}

} // namespace
} // namespace veskar
