#include "app/Startup.h"
#include "database/Defaults.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string_view>

#include <sys/stat.h>
#include <unistd.h>

namespace veskar {
namespace {

namespace fs = std::filesystem;

class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        m_folder =
            fs::temp_directory_path() / ("veskar-startup-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string folder() const { return m_folder.string(); }
    fs::path path(const char* name) const { return m_folder / name; }

    fs::path m_folder;
};

TEST_F(StartupTest, EmptyFolderGetsBothFiles)
{
    Document document;
    PortSettings cfg;
    cfg.setPortIndex(5);
    const StartupOutcome outcome = InitFile(document, cfg, folder());

    EXPECT_EQ(outcome.StartupFailures, kCfgReadFailed | kDatReadFailed);
    EXPECT_TRUE(outcome.errors.empty());
    EXPECT_EQ(cfg.portIndex(), 0);
    EXPECT_EQ(fs::file_size(path("Veskar.cfg")), 16u);
    EXPECT_EQ(fs::file_size(path("Veskar.dat")), kImageSize);
    EXPECT_TRUE(document.workingFile.empty());
    EXPECT_FALSE(document.DatabaseChanged);

    const std::vector<std::string_view> expected = {kCfgCreatedNotice, kDatCreatedNotice};
    EXPECT_EQ(StartupNotices(outcome.StartupFailures), expected);
    ApplyStartupNotices(document, outcome.StartupFailures);
    EXPECT_TRUE(document.DatabaseChanged);
}

TEST_F(StartupTest, CreatedPortFileKeepsTheConfigurationJustRead)
{
    Image stored{};
    CreateDatabase(stored);
    stored.gen.modbusAddress = 42;
    ASSERT_EQ(WriteImageFile(path("Veskar.dat"), stored), FileError::None);

    Document document;
    PortSettings cfg;
    const StartupOutcome outcome = InitFile(document, cfg, folder());
    EXPECT_EQ(outcome.StartupFailures, kCfgReadFailed);
    EXPECT_EQ(StartupNotices(outcome.StartupFailures), std::vector<std::string_view>{kCfgCreatedNotice});

    ApplyStartupNotices(document, outcome.StartupFailures);
    EXPECT_EQ(document.image, stored);
    EXPECT_FALSE(document.DatabaseChanged);
    EXPECT_EQ(document.workingFile, path("Veskar.dat").string());
}

// Neither default can be created: the file errors tell it, and no notice
// says a default was created; the defaults are in use all the same.
TEST_F(StartupTest, UnwritableFolderReportsBothFiles)
{
    Document document;
    PortSettings cfg;
    const StartupOutcome outcome = InitFile(document, cfg, (m_folder / "gone").string());
    EXPECT_TRUE(StartupNotices(outcome.StartupFailures).empty());
    EXPECT_EQ(outcome.errors, (std::vector<FileError>{FileError::CannotOpen, FileError::CannotOpen}));
    Image defaults{};
    CreateDatabase(defaults);
    EXPECT_TRUE(std::ranges::equal(document.image.bytes(), defaults.bytes()));
}

// A file there that cannot be read is not replaced, and nothing waits on it:
// the defaults are in use and the file error says so.
TEST_F(StartupTest, UnreadableFilesAreNotReplaced)
{
    const struct {
        const char* name;
        bool pipe; // else a file of the user's without read permission
    } cases[] = {
        {"Veskar.dat", false},
        {"Veskar.dat", true},
        {"Veskar.cfg", true},
    };
    for (const auto& row : cases) {
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        // The other file is there and fine.
        const bool dat = row.name == std::string_view("Veskar.dat");
        if (dat)
            std::ofstream(path("Veskar.cfg"), std::ios::binary) << std::string(16, '\0');
        else
            ASSERT_EQ(WriteImageFile(path("Veskar.dat"), Image{}), FileError::None);
        if (row.pipe) {
            ASSERT_EQ(::mkfifo(path(row.name).c_str(), 0600), 0);
        } else {
            std::ofstream(path(row.name)) << "the user's own file";
            fs::permissions(path(row.name), fs::perms::none);
        }
        // Root reads every file: start up as an ordinary user then, one who could replace the file.
        fs::permissions(m_folder, fs::perms::all);
        const uid_t user = ::geteuid();
        Document document;
        PortSettings cfg;
        ASSERT_TRUE(user != 0 || ::seteuid(65534) == 0);
        const StartupOutcome outcome = InitFile(document, cfg, folder());
        ASSERT_TRUE(user != 0 || ::seteuid(0) == 0);
        fs::permissions(path(row.name), fs::perms::owner_all);

        EXPECT_EQ(outcome.errors, std::vector<FileError>{FileError::CannotOpen}) << row.name;
        EXPECT_TRUE(StartupNotices(outcome.StartupFailures).empty()) << "nothing was created";
        if (row.pipe)
            EXPECT_TRUE(fs::is_fifo(path(row.name))) << row.name;
        else
            EXPECT_EQ(fs::file_size(path(row.name)), std::string("the user's own file").size());
        EXPECT_EQ(document.workingFile.empty(), dat) << row.name;
    }
}

TEST(RecentFiles, NewestFirstNoRepeatsAtMostFour)
{
    std::vector<std::string> list;
    for (const char* name : {"a", "b", "c", "a", "d", "e"})
        list = AddRecentFile(list, name);
    EXPECT_EQ(list, (std::vector<std::string>{"e", "d", "a", "c"}));
    EXPECT_EQ(RemoveRecentFile(list, "a"), (std::vector<std::string>{"e", "d", "c"}));
    EXPECT_EQ(RemoveRecentFile(list, "zzz"), list);
}

} // namespace
} // namespace veskar
