#include "database/Defaults.h"
#include "database/Document.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace veskar {
namespace {

namespace fs = std::filesystem;

std::string BytesOf(const Image& image)
{
    return {image.bytes().begin(), image.bytes().end()};
}

class DataFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_document.CreateDatabase();
        m_document.image.gen.modbusAddress = 7;
    }
    std::string path(const std::string& name) const { return m_folder / name; }

    const testing::TempFolder m_folder{"veskar-datafile"};
    Document m_document;  // edited, not saved
};

TEST(CheckFileExt, NameRule)
{
    const std::pair<std::string, bool> cases[] = {
        {"site.dat", true}, {"SITE.DAT", true}, {"Site.DaT", true}, {"site.dat.bak", true}, {".dat", true},
        {"a/b/c.dat", true}, {"site.da", false}, {"sitedat", false}, {"site.txt", false}, {"", false},
        {"dat.", false}, {std::string(96, 'x') + ".dat", true}, {std::string(97, 'x') + ".dat", false},
    };
    for (const auto& [name, ok] : cases)
        EXPECT_EQ(CheckFileExt(name), ok) << name;
}

// Only a file of exactly the image size is taken, and then repaired; any other
// size leaves the document as it was.
TEST_F(DataFileTest, OpenTakesOnlyTheImageSize)
{
    Image stored = m_document.image;
    stored.User[0].startCode.length = 9;
    stored.gen.timesA = 9;
    stored.gen.modbusAddress = 1;
    for (std::size_t size : {std::size_t{0}, kImageSize - 1, kImageSize + 1, kImageSize}) {
        SCOPED_TRACE(size);
        std::string bytes = BytesOf(stored);
        bytes.resize(size, 0x11);
        m_folder.write("site.dat", bytes);
        m_document.workingFile = "current.dat";
        const Image before = m_document.image;
        const bool whole = size == kImageSize;
        ASSERT_EQ(m_document.Open(path("site.dat")), whole ? FileError::None : FileError::WrongSize);
        if (!whole) {
            EXPECT_TRUE(m_document.image == before && m_document.DatabaseChanged);
            EXPECT_EQ(m_document.workingFile, "current.dat");
            continue;
        }
        EXPECT_EQ(m_document.image.User[0].startCode.length, 0);
        EXPECT_EQ(m_document.image.gen.timesA, 3);
        EXPECT_EQ(m_document.image.gen.modbusAddress, 1);
        EXPECT_FALSE(m_document.DatabaseChanged);
        EXPECT_EQ(m_document.workingFile, path("site.dat"));
    }
}

TEST_F(DataFileTest, RefusedNamesAndMissingFilesChangeNothing)
{
    m_folder.write("good.txt", BytesOf(Image{}));
    EXPECT_EQ(m_document.Open(path("good.txt")), FileError::NeedDatExtension);
    EXPECT_EQ(m_document.Open(path("missing.dat")), FileError::CannotOpen);
    EXPECT_EQ(m_document.Open(m_folder.path().string() + "/sub.dat/"), FileError::CannotOpen);
    EXPECT_EQ(m_document.Save(), FileError::NeedDatExtension) << "no name yet";
    EXPECT_EQ(m_document.SaveAs(path("notes.txt")), FileError::NeedDatExtension);
    EXPECT_FALSE(fs::exists(path("notes.txt")));
    m_document.workingFile = path("gone/site.dat");
    EXPECT_EQ(m_document.Save(), FileError::CannotOpen);
    EXPECT_EQ(m_document.image.gen.modbusAddress, 7);
    EXPECT_TRUE(m_document.DatabaseChanged);
}

// The name rule sees only 100 characters, so a deep folder must not hide the file's own name.
TEST_F(DataFileTest, DeepFolderDoesNotHideTheExtension)
{
    const std::string deep = std::string(120, 'f') + "/site.";
    fs::create_directories(m_folder.path() / std::string(120, 'f'));
    ASSERT_EQ(m_document.SaveAs(path(deep + "dat")), FileError::None);
    EXPECT_EQ(m_document.Save(), FileError::None);
    EXPECT_EQ(m_document.Open(path(deep + "dat")), FileError::None);
    EXPECT_EQ(m_document.Open(path(deep + "txt")), FileError::NeedDatExtension);
}

TEST_F(DataFileTest, StartupReadTakesAShortFileOverZeros)
{
    m_folder.write("Veskar.dat", std::string(100, 0x01));
    Document document;
    ASSERT_EQ(document.LoadStartupFile(path("Veskar.dat")), FileError::None);
    EXPECT_EQ(document.image.bytes()[99], 0x01);
    EXPECT_EQ(document.image.bytes()[100], 0x00);
    EXPECT_EQ(document.image.gen.timesA, 3) << "repaired after reading";
    EXPECT_EQ(document.workingFile, path("Veskar.dat"));
}

TEST_F(DataFileTest, SaveRepairsSaveAsWritesAsItStandsBothKeepTheMode)
{
    m_document.image.gen.fixedCode = CodeField{};
    ASSERT_EQ(m_document.SaveAs(path("site.dat")), FileError::None);
    EXPECT_EQ(m_folder.read("site.dat")[2048 + 15], 0) << "no repair on Save As";
    EXPECT_EQ(m_document.workingFile, path("site.dat"));
    EXPECT_FALSE(m_document.DatabaseChanged);

    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(path("site.dat"), mode);
    m_document.DatabaseChanged = true;
    ASSERT_EQ(m_document.Save(), FileError::None);
    const auto saved = m_folder.read("site.dat");
    ASSERT_EQ(saved.size(), kImageSize);
    EXPECT_EQ(saved[2048 + 15], 9) << "Save repairs first";
    EXPECT_EQ(saved[2048 + 0x96], 7);
    EXPECT_FALSE(m_document.DatabaseChanged);
    EXPECT_EQ(fs::status(path("site.dat")).permissions() & fs::perms::all, mode);
}

// A failed write leaves the old file whole, no temporary file and the changed mark.
TEST_F(DataFileTest, FailedWritesKeepTheOldFileAndTheChangedMark)
{
    // A size limit stops the write part way: the temporary file is dropped, the replace never made.
    m_folder.write("blocked.dat", "old");
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit unlimited = limit;
    limit.rlim_cur = 100;
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    const FileResult result = m_document.SaveAs(path("blocked.dat"));
    ::setrlimit(RLIMIT_FSIZE, &unlimited);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(result, FileError::CannotWrite);
    EXPECT_EQ(result.problem, FileProblem::TooLarge);
    EXPECT_EQ(m_folder.read("blocked.dat"), "old");
    EXPECT_TRUE(m_document.workingFile.empty() && m_document.DatabaseChanged);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder.path()), fs::directory_iterator{}), 1);

    ASSERT_EQ(m_document.SaveAs(path("site.dat")), FileError::None);
    const auto before = m_folder.read("site.dat");
    // Only the folder is read-only: the file itself is written in place.
    const auto writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(path("site.dat"), writable, fs::perm_options::add);
    fs::permissions(m_folder.path(), writable, fs::perm_options::remove);
    m_document.image.gen.modbusAddress = 99;
    m_document.DatabaseChanged = true;
    // Root writes anywhere: save as an ordinary user then.
    const uid_t user = ::geteuid();
    ASSERT_TRUE(user != 0 || ::seteuid(65534) == 0);
    const FileError error = m_document.Save();
    ASSERT_TRUE(user != 0 || ::seteuid(0) == 0);
    fs::permissions(m_folder.path(), writable, fs::perm_options::add);
    EXPECT_EQ(error, FileError::None) << "written in place";
    EXPECT_EQ(m_folder.read("site.dat"), BytesOf(m_document.image));
    EXPECT_FALSE(m_document.DatabaseChanged);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder.path()), fs::directory_iterator{}), 2)
        << "nothing left beside it";
}

// The check before a long transfer agrees with what the save will do, and
// leaves nothing behind.
TEST_F(DataFileTest, CheckWritableAgreesWithTheSave)
{
    const auto writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    ASSERT_EQ(WriteImageFile(path("open.dat"), Image{}), FileError::None);
    fs::permissions(path("open.dat"), writable, fs::perm_options::add);
    ASSERT_EQ(WriteImageFile(path("locked.dat"), Image{}), FileError::None);
    fs::permissions(path("locked.dat"), fs::perms::owner_read | fs::perms::others_read);
    fs::create_directory(path("folder.dat"));
    fs::permissions(m_folder.path(), writable, fs::perm_options::remove);

    const struct {
        const char* name;
        FileError expected;
        FileProblem problem;
        const char* why;
    } cases[] = {
        {"open.dat", FileError::None, FileProblem::None, "written in place in a read-only folder"},
        {"new.dat", FileError::CannotOpen, FileProblem::NoPermission, "cannot be created in a read-only folder"},
        {"locked.dat", FileError::CannotOpen, FileProblem::ReadOnly, "read-only file"},
        {"folder.dat", FileError::CannotOpen, FileProblem::IsDirectory, "a folder"},
    };
    // Root writes anywhere: check as an ordinary user.
    const uid_t user = ::geteuid();
    ASSERT_TRUE(user != 0 || ::seteuid(65534) == 0);
    for (const auto& row : cases) {
        const FileResult result = CheckWritable(path(row.name));
        EXPECT_EQ(result, row.expected) << row.why;
        EXPECT_EQ(result.problem, row.problem) << row.why;
    }
    ASSERT_TRUE(user != 0 || ::seteuid(0) == 0);
    fs::permissions(m_folder.path(), writable, fs::perm_options::add);
    EXPECT_EQ(CheckWritable(path("new.dat")), FileError::None);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder.path()), fs::directory_iterator{}), 3);
}

// A new file never takes the place of anything there, whatever it is.
TEST_F(DataFileTest, NewFileReplacesNothing)
{
    m_folder.write("taken.dat", "mine");
    fs::create_symlink("nowhere.dat", path("dangling.dat"));
    fs::create_symlink("taken.dat", path("linked.dat"));
    for (const char* name : {"taken.dat", "dangling.dat", "linked.dat"}) {
        EXPECT_EQ(CreateImageFile(path(name), m_document.image), FileError::CannotOpen) << name;
        EXPECT_TRUE(fs::exists(fs::symlink_status(path(name)))) << name;
    }
    EXPECT_EQ(m_folder.read("taken.dat"), "mine");
    EXPECT_FALSE(fs::exists(path("nowhere.dat")));

    ASSERT_EQ(CreateImageFile(path("free.dat"), m_document.image), FileError::None);
    EXPECT_EQ(m_folder.read("free.dat"), BytesOf(m_document.image));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder.path()), fs::directory_iterator{}), 4)
        << "nothing left beside it";
}

// Saves never write through a planted link, never replace a read-only file,
// write a linked file's target, and leave nothing that piles up.
TEST_F(DataFileTest, SaveReplacesOnlyWhatItShould)
{
    ASSERT_EQ(WriteImageFile(path("victim.dat"), Image{}), FileError::None);
    const auto victim = m_folder.read("victim.dat");
    const std::string pid = std::to_string(::getpid());

    // A link planted where the temporary file would go.
    fs::create_symlink(path("victim.dat"), path("site.dat.writing-" + pid + "-0"));
    // What a killed save of the same file left behind.
    ASSERT_EQ(WriteImageFile(path("site.dat.writing-999999999-0"), Image{}), FileError::None);
    ASSERT_EQ(m_document.SaveAs(path("site.dat")), FileError::None);
    EXPECT_EQ(m_folder.read("site.dat"), BytesOf(m_document.image));
    EXPECT_TRUE(m_folder.read("victim.dat") == victim) << "written through a planted link";
    EXPECT_FALSE(fs::exists(path("site.dat.writing-999999999-0"))) << "stale temporary kept";

    // Through a link: the target gets the new image and the link stays a link.
    fs::create_directory(path("real"));
    fs::create_symlink(fs::path("real") / "linked.dat", path("link.dat"));
    ASSERT_EQ(WriteImageFile(path("real/linked.dat"), Image{}), FileError::None);
    ASSERT_EQ(m_document.SaveAs(path("link.dat")), FileError::None);
    EXPECT_TRUE(fs::is_symlink(path("link.dat")));
    EXPECT_EQ(m_folder.read("real/linked.dat"), BytesOf(m_document.image));

    // Links that never reach a file stay as they are.
    fs::create_symlink("loop.dat", path("loop.dat"));
    fs::create_symlink("ping.dat", path("pong.dat"));
    fs::create_symlink("pong.dat", path("ping.dat"));
    for (const char* name : {"loop.dat", "ping.dat"}) {
        EXPECT_EQ(m_document.SaveAs(path(name)), FileError::CannotOpen) << name;
        EXPECT_EQ(CheckWritable(path(name)), FileError::CannotOpen) << name;
        EXPECT_TRUE(fs::is_symlink(path(name))) << name;
    }

    // A read-only file is refused as it stands, whoever saves.
    fs::permissions(path("site.dat"), fs::perms::owner_read | fs::perms::group_read);
    const auto before = m_folder.read("site.dat");
    m_document.image.gen.modbusAddress = 42;
    EXPECT_EQ(m_document.SaveAs(path("site.dat")), FileError::CannotOpen);
    EXPECT_TRUE(m_folder.read("site.dat") == before);
}

// Only a regular file is ever read, replaced or appended to: anything else
// there is refused for what it is, left as it was, and nothing waits on it.
TEST_F(DataFileTest, OnlyRegularFilesAreReadOrWritten)
{
    fs::create_directory(path("folder.dat"));
    ASSERT_EQ(::mkfifo(path("pipe.dat").c_str(), 0600), 0);
    fs::create_symlink("pipe.dat", path("to-pipe.dat"));
    fs::create_symlink("gone/site.dat", path("dangling.dat"));
    // A device node of the test's own, the one /dev/null is: the machine's own are not to be risked.
    const bool device = ::mknod(path("device.dat").c_str(), S_IFCHR | 0600, ::makedev(1, 3)) == 0;
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path("socket.dat").c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);

    const struct {
        const char* name;
        FileProblem written; // by a save, its check and an append
        FileProblem read;
    } cases[] = {
        {"folder.dat", FileProblem::IsDirectory, FileProblem::IsDirectory},
        {"pipe.dat", FileProblem::IsPipe, FileProblem::IsPipe},
        {"to-pipe.dat", FileProblem::IsPipe, FileProblem::IsPipe},
        {"device.dat", FileProblem::IsDevice, FileProblem::IsDevice},
        {"socket.dat", FileProblem::IsSocket, FileProblem::IsSocket},
        {"dangling.dat", FileProblem::MissingFolder, FileProblem::Missing},
        {"gone/site.dat", FileProblem::MissingFolder, FileProblem::Missing},
    };
    for (const auto& row : cases) {
        if (row.written == FileProblem::IsDevice && !device)
            continue; // only root makes device nodes
        const fs::file_type before = fs::symlink_status(path(row.name)).type();
        EXPECT_EQ(WriteReplacing(path(row.name), m_document.image.bytes()).problem, row.written) << row.name;
        EXPECT_EQ(CheckReplacing(path(row.name)), row.written) << row.name;
        AppendFile append;
        EXPECT_EQ(append.Open(path(row.name)), row.written) << row.name;
        FileProblem problem = FileProblem::None;
        EXPECT_FALSE(ReadFile::Open(path(row.name), problem)) << row.name;
        EXPECT_EQ(problem, row.read) << row.name;
        EXPECT_EQ(fs::symlink_status(path(row.name)).type(), before) << row.name;
    }
    ::close(listener);
}

}  // namespace
}  // namespace veskar
