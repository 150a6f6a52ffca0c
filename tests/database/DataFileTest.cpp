#include "database/Defaults.h"
#include "database/Document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace veskar {
namespace {

namespace fs = std::filesystem;

class DataFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() /
                   ("veskar-datafile-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override
    {
        fs::permissions(m_folder, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(m_folder);
    }

    std::string path(const std::string& name) const { return (m_folder / name).string(); }

    void writeBytes(const std::string& name, const std::vector<Byte>& bytes) const
    {
        std::ofstream(path(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                          static_cast<std::streamsize>(bytes.size()));
    }

    std::vector<Byte> readBytes(const std::string& name) const
    {
        std::ifstream file(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }

    static Document Edited()
    {
        Document document;
        document.CreateDatabase();
        document.image.gen.modbusAddress = 7;
        return document;
    }

    fs::path m_folder;
};

TEST(CheckFileExt, NameRule)
{
    const std::pair<const char*, bool> cases[] = {
        {"site.dat", true},     {"SITE.DAT", true},       {"Site.DaT", true},   {"site.dat.bak", true},
        {"a/b/c.dat", true},    {"site.da", false},       {"sitedat", false},   {"site.txt", false},
        {"", false},            {".dat", true},           {"dat.", false},
    };
    for (const auto& [name, ok] : cases)
        EXPECT_EQ(CheckFileExt(name), ok) << name;
}

TEST(CheckFileExt, OnlyTheFirstHundredCharactersCount)
{
    EXPECT_TRUE(CheckFileExt(std::string(96, 'x') + ".dat"));
    EXPECT_FALSE(CheckFileExt(std::string(97, 'x') + ".dat"));
}

TEST_F(DataFileTest, OpenRefusesAnyOtherSizeAndChangesNothing)
{
    for (std::size_t size : {std::size_t{0}, kImageSize - 1, kImageSize + 1}) {
        writeBytes("odd.dat", std::vector<Byte>(size, 0x11));
        Document document = Edited();
        document.workingFile = "current.dat";
        const Image before = document.image;
        EXPECT_EQ(document.Open(path("odd.dat")), FileError::WrongSize) << size;
        EXPECT_EQ(document.image, before);
        EXPECT_TRUE(document.DatabaseChanged);
        EXPECT_EQ(document.workingFile, "current.dat");
    }
}

TEST_F(DataFileTest, OpenChecksTheNameBeforeTheFile)
{
    writeBytes("good.txt", std::vector<Byte>(kImageSize, 0));
    Document document = Edited();
    EXPECT_EQ(document.Open(path("good.txt")), FileError::NeedDatExtension);
    EXPECT_EQ(document.Open(path("missing.dat")), FileError::CannotOpen);
    EXPECT_EQ(document.Open(m_folder.string() + "/sub.dat/"), FileError::CannotOpen);
    EXPECT_TRUE(document.DatabaseChanged);
}

TEST_F(DataFileTest, DeepFolderDoesNotHideTheExtension)
{
    const std::string deep = std::string(120, 'f');
    fs::create_directories(m_folder / deep);
    const std::string name = path(deep + "/site.dat");
    Document document = Edited();
    ASSERT_EQ(document.SaveAs(name), FileError::None);
    EXPECT_EQ(document.Save(), FileError::None);
    EXPECT_EQ(document.Open(name), FileError::None);
    EXPECT_EQ(document.Open(path(deep + "/site.txt")), FileError::NeedDatExtension);
}

TEST_F(DataFileTest, OpenReadsRepairsAndAdopts)
{
    Image stored{};
    CreateDatabase(stored);
    stored.User[0].startCode.length = 9;
    stored.gen.timesA = 9;
    stored.gen.levelRadioRx = 36;
    writeBytes("site.dat", std::vector<Byte>(stored.bytes().begin(), stored.bytes().end()));

    Document document = Edited();
    ASSERT_EQ(document.Open(path("site.dat")), FileError::None);
    EXPECT_EQ(document.image.User[0].startCode.length, 0);
    EXPECT_EQ(document.image.gen.timesA, 3);
    EXPECT_EQ(document.image.gen.levelRadioRx, 25);
    EXPECT_FALSE(document.DatabaseChanged);
    EXPECT_EQ(document.workingFile, path("site.dat"));
}

TEST_F(DataFileTest, StartupReadTakesAShortFileOverZeros)
{
    writeBytes("Veskar.dat", std::vector<Byte>(100, 0x01));
    Document document;
    ASSERT_EQ(document.LoadStartupFile(path("Veskar.dat")), FileError::None);
    EXPECT_EQ(document.image.bytes()[99], 0x01);
    EXPECT_EQ(document.image.bytes()[100], 0x00);
    EXPECT_EQ(document.image.gen.timesA, 3) << "repaired after reading";
    EXPECT_EQ(document.workingFile, path("Veskar.dat"));
}

TEST_F(DataFileTest, SaveRepairsSaveAsWritesAsItStands)
{
    Document document = Edited();
    document.image.gen.fixedCode = CodeField{};
    ASSERT_EQ(document.SaveAs(path("as-is.dat")), FileError::None);
    EXPECT_EQ(readBytes("as-is.dat")[2048 + 15], 0) << "no repair on Save As";
    EXPECT_EQ(document.workingFile, path("as-is.dat"));
    EXPECT_FALSE(document.DatabaseChanged);

    document.DatabaseChanged = true;
    ASSERT_EQ(document.Save(), FileError::None);
    const auto saved = readBytes("as-is.dat");
    ASSERT_EQ(saved.size(), kImageSize);
    EXPECT_EQ(saved[2048 + 15], 9) << "Save repairs first";
    EXPECT_EQ(saved[2048 + 0x96], 7);
    EXPECT_FALSE(document.DatabaseChanged);
}

TEST_F(DataFileTest, SaveWithoutANameWritesNothing)
{
    Document document = Edited();
    EXPECT_EQ(document.Save(), FileError::NeedDatExtension);
    EXPECT_TRUE(document.DatabaseChanged);
    EXPECT_EQ(document.SaveAs(path("notes.txt")), FileError::NeedDatExtension);
    EXPECT_FALSE(fs::exists(path("notes.txt")));
}

TEST_F(DataFileTest, FailedWriteKeepsTheOldFileAndTheChangedMark)
{
    // A folder in the way of the rename: the temporary file is written, the replace fails.
    fs::create_directory(path("blocked.dat"));
    Document document = Edited();
    EXPECT_EQ(document.SaveAs(path("blocked.dat")), FileError::CannotWrite);
    EXPECT_TRUE(fs::is_directory(path("blocked.dat")));
    EXPECT_TRUE(document.DatabaseChanged);
    EXPECT_TRUE(document.workingFile.empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder), fs::directory_iterator{}), 1)
        << "no temporary file left behind";
}

TEST_F(DataFileTest, SaveIntoAMissingFolderCannotOpen)
{
    Document document = Edited();
    document.workingFile = path("gone/site.dat");
    EXPECT_EQ(document.Save(), FileError::CannotOpen);
    EXPECT_TRUE(document.DatabaseChanged);
}

TEST_F(DataFileTest, SaveIntoAReadOnlyFolderKeepsTheOldFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    Document document = Edited();
    ASSERT_EQ(document.SaveAs(path("site.dat")), FileError::None);
    const auto before = readBytes("site.dat");
    fs::permissions(m_folder, fs::perms::owner_read | fs::perms::owner_exec);
    document.image.gen.modbusAddress = 99;
    document.DatabaseChanged = true;
    EXPECT_EQ(document.Save(), FileError::CannotOpen);
    EXPECT_EQ(readBytes("site.dat"), before);
    EXPECT_TRUE(document.DatabaseChanged);
}

TEST_F(DataFileTest, ReplacingKeepsTheFileMode)
{
    Document document = Edited();
    ASSERT_EQ(document.SaveAs(path("site.dat")), FileError::None);
    fs::permissions(path("site.dat"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_EQ(document.Save(), FileError::None);
    EXPECT_EQ(fs::status(path("site.dat")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

}  // namespace
}  // namespace veskar
