#include "programming/unit/UnitStore.h"

#include "programming/Frame.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace veskar {
namespace {

namespace fs = std::filesystem;

std::vector<Byte> ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& path, std::size_t size, Byte fill)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::vector<char> bytes(size, static_cast<char>(fill));
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

class UnitStoreTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/veskar-store-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root = pattern;
    }
    void TearDown() override { fs::remove_all(root); }

    fs::path root;
};

TEST_F(UnitStoreTest, AbsentStoreIsCreatedWithTheFreshUnit)
{
    const fs::path folder = root / "nested" / "store";
    UnitMemory memory;
    std::string error;
    ASSERT_TRUE(LoadUnitStore(folder, memory, error)) << error;
    const UnitMemory fresh = UnitMemory::Fresh();
    EXPECT_EQ(memory, fresh);
    EXPECT_EQ(ReadAll(folder / kStoreConfigurationFile), fresh.configuration);
    EXPECT_EQ(ReadAll(folder / kStoreVoicesFile), fresh.voices);
    EXPECT_TRUE(fs::exists(folder / kStoreVocabularyFile));
    EXPECT_EQ(fs::file_size(folder / kStoreVocabularyFile), 0U);
}

// A write through the unit lands in the files and comes back at the next run.
TEST_F(UnitStoreTest, WriteTransferSurvivesARestart)
{
    UnitMemory memory;
    std::string error;
    ASSERT_TRUE(LoadUnitStore(root, memory, error)) << error;
    {
        SimulatedUnit unit(memory);
        unit.onStored = [&] { ASSERT_TRUE(SaveUnitStore(root, memory, error)) << error; };
        std::vector<Byte> block(kBlockSize, 0x5A);
        for (const std::vector<Byte>& frame :
             {BuildFrame(kSourcePc, kCmdWriteVoices, 0), BuildFrame(kSourcePc, kCmdData, 0, block),
              BuildFrame(kSourcePc, kCmdData, 1, block), BuildFrame(kSourcePc, kCmdEndOfTransfer, 0)})
            (void)unit.receive(frame);
    }
    UnitMemory reloaded;
    ASSERT_TRUE(LoadUnitStore(root, reloaded, error)) << error;
    EXPECT_EQ(reloaded, memory);
    EXPECT_EQ(reloaded.voices, std::vector<Byte>(2 * kBlockSize, 0x5A));
    EXPECT_EQ(reloaded.configuration, UnitMemory::FreshConfiguration());
}

TEST_F(UnitStoreTest, RefusesFilesOfImpossibleSizeAndTouchesNothing)
{
    const std::vector<std::tuple<const char*, std::size_t, std::string>> cases = {
        {kStoreConfigurationFile, 100, "config.bin: holds 100 bytes; it must hold exactly 4096 bytes"},
        {kStoreConfigurationFile, 0, "config.bin: holds 0 bytes; it must hold exactly 4096 bytes"},
        {kStoreVoicesFile, 5000,
         "voices.bin: holds 5000 bytes; it must hold a multiple of 4096 bytes, at most 2048000"},
        {kStoreVoicesFile, 501 * kBlockSize,
         "voices.bin: holds more than 2048001 bytes; it must hold a multiple of 4096 bytes, at most 2048000"},
        {kStoreVocabularyFile, 1,
         "vocab.bin: holds 1 bytes; it must hold a multiple of 4096 bytes, at most 4194304"},
    };
    for (const auto& [name, size, message] : cases) {
        fs::remove_all(root / "s");
        fs::create_directories(root / "s");
        WriteAll(root / "s" / name, size, 0x11);
        UnitMemory memory;
        memory.vocabulary = {1, 2, 3};
        const UnitMemory before = memory;
        std::string error;
        EXPECT_FALSE(LoadUnitStore(root / "s", memory, error)) << name;
        EXPECT_EQ(error, (root / "s" / name).string() + message.substr(message.find(':'))) << name;
        EXPECT_EQ(memory, before);
        EXPECT_EQ(std::distance(fs::directory_iterator(root / "s"), fs::directory_iterator()), 1) << name;
        EXPECT_EQ(fs::file_size(root / "s" / name), size);
    }
}

TEST_F(UnitStoreTest, RefusesAFileWhereTheFolderShouldBe)
{
    WriteAll(root / "plain", 10, 0);
    UnitMemory memory;
    std::string error;
    EXPECT_FALSE(LoadUnitStore(root / "plain", memory, error));
    EXPECT_EQ(error, (root / "plain").string() + ": is not a folder");
}

} // namespace
} // namespace veskar
