#include "CliFixture.h"
#include "database/Codes.h"
#include "database/Defaults.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>

#include <sys/stat.h>

namespace veskar::cli {
namespace {

namespace fs = std::filesystem;

class CliTest : public CliFixture {};

TEST_F(CliTest, NewWritesADefaultFile)
{
    ASSERT_EQ(run({"new", path("a.dat")}), kExitSuccess);
    EXPECT_EQ(fs::file_size(path("a.dat")), kImageSize);
}

TEST_F(CliTest, ShowListsFieldsInImageOrder)
{
    save("s.dat", [](Image& image) {
        image.User[1].stopCode = CodeFromText("12D#");
        image.User[1].userName = NameFromText("Jo \"Q\"");
        image.dir[1][0] = 'P';
        image.dir[1][1] = ':';
        image.dir[1][2] = '&';
        image.dir[1][3] = 0;
        std::ranges::copy("R&&N&", image.dir[3].begin()); // and its 0; the window shows line 1 only
        image.User[2].startCode = CodeFromText("12345678");
        image.User[2].startCode.digits[8] = 9;
        image.User[2].startCode.length = 9;
    });
    ASSERT_EQ(run({"show", path("s.dat")}), kExitSuccess);
    const std::string out = m_out.str();
    EXPECT_NE(out.find("user2.stopCode = 12D#\n"), std::string::npos);
    EXPECT_NE(out.find("user2.userName = \"Jo \\\"Q\\\"\"\n"), std::string::npos);
    EXPECT_NE(out.find("gen.siteName = \"RidIvav Alarm\"\n"), std::string::npos);
    EXPECT_NE(out.find("user3.startCode = invalid ["), std::string::npos)
        << "9 digits, as the repair sees it";
    EXPECT_EQ(out.find("gen.fixedCode = invalid"), std::string::npos);
    EXPECT_NE(out.find("gen.defaultTimer = 320 (20 minutes)\n"), std::string::npos);
    EXPECT_NE(out.find("dirA.line1 = \" [RADIO] [ALERT] [VOICE]\"\n"), std::string::npos);
    EXPECT_NE(out.find("dirB.line1 = \" [DIAL]0\"\n"), std::string::npos);
    EXPECT_NE(out.find("dirC = (empty)\n"), std::string::npos);
    EXPECT_NE(out.find("dirD.line2 = \"\"\ndirD.line3 = \" [ALERT]\"\n"), std::string::npos);
    EXPECT_LT(out.find("user1.startCode"), out.find("user2.startCode"));
    EXPECT_LT(out.find("user16.userName"), out.find("gen.fixedCode"));
    EXPECT_LT(out.find("gen.siteName"), out.find("dirA"));
}

// Refused files: exit 1 (2 for diff, where 1 means "they differ"), the
// program's message on stderr, and no file written or replaced.
TEST_F(CliTest, RefusedFilesExitWithTheProgramsMessage)
{
    m_folder.write("short.dat", std::string(kImageSize - 1, '\0'));
    m_folder.write("old.dat", "kept");
    fs::create_symlink(path("nowhere.dat"), path("dangling.dat"));
    save("good.dat", [](Image&) {});
    const struct {
        std::vector<std::string> arguments;
        int exit;
        std::string file; // named in the message
        std::string message;
    } cases[] = {
        {{"new", path("old.dat")},
         kExitFailure,
         "old.dat",
         ": already exists; remove it first to replace it"},
        {{"new", path("dangling.dat")}, kExitFailure, "dangling.dat",
         ": already exists; remove it first to replace it"},
        {{"new", path("a.txt")}, kExitFailure, "a.txt", ": FILE NAME MUST HAVE .DAT EXTENSION "},
        {{"show", path("short.dat")}, kExitFailure, "short.dat", ": FILE IS NOT THE CORRECT SIZE "},
        {{"show", path("missing.dat")}, kExitFailure, "missing.dat", ": CANNOT OPEN FILE (no such file)"},
        {{"repair", path("short.dat"), path("out.dat")},
         kExitFailure,
         "short.dat",
         ": FILE IS NOT THE CORRECT SIZE "},
        {{"diff", path("good.dat"), path("missing.dat")},
         kExitUsage,
         "missing.dat",
         ": CANNOT OPEN FILE (no such file)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.arguments), c.exit) << c.arguments[0] << " " << c.file;
        EXPECT_EQ(m_err.str(), path(c.file) + c.message + "\n");
    }
    EXPECT_EQ(m_folder.read("old.dat"), "kept");
    EXPECT_FALSE(fs::exists(path("out.dat")) || fs::exists(path("a.txt")) || fs::exists(path("nowhere.dat")));
}

// A deep folder does not hide the file's own ".dat" from any command.
TEST_F(CliTest, EveryCommandTakesALongPathEndingInDat)
{
    const std::string folder(120, 'f');
    fs::create_directory(path(folder));
    const std::string deep = path(folder + "/site.dat");
    EXPECT_EQ(run({"new", deep}), kExitSuccess) << m_err.str();
    EXPECT_EQ(run({"show", deep}), kExitSuccess) << m_err.str();
    EXPECT_EQ(run({"diff", deep, deep}), kExitSuccess) << m_err.str();
    EXPECT_EQ(run({"repair", deep, path(folder + "/copy.dat")}), kExitSuccess) << m_err.str();
}

// An output that cannot be written is refused before the port is touched.
TEST_F(CliTest, ReadsRefuseAnUnwritableOutputAtOnce)
{
    fs::create_directory(path("folder.dat"));
    m_folder.write("locked.msg", "old");
    fs::permissions(path("locked.msg"), fs::perms::owner_read);
    const struct {
        std::vector<std::string> arguments;
        std::string message;
    } cases[] = {
        {{"read-config", path("no-such-folder/out.dat")}, "CANNOT OPEN FILE (no such folder)"},
        {{"read-config", path("folder.dat")}, "CANNOT OPEN FILE (is a directory)"},
        {{"read-voices", path("no-such-folder/out.msg")}, "CANNOT SAVE VOICE MESSAGE FILE (no such folder)"},
        {{"read-voices", path("locked.msg")}, "CANNOT SAVE VOICE MESSAGE FILE (read-only)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.arguments), kExitUsage) << c.arguments[1];
        EXPECT_EQ(m_err.str(), c.arguments[1] + ": " + c.message + "\n");
    }
    EXPECT_EQ(m_folder.read("locked.msg"), "old");
}

// An output is never an input of the same command, nor anything but a regular
// file, and an input is read only when it is one: refused before anything is
// written, and nothing waits on a pipe.
TEST_F(CliTest, FilesAreOnlyRegularFilesAndNoOutputIsAnInput)
{
    const std::string site = save("site.dat", [](Image&) {});
    const std::string before = m_folder.read("site.dat");
    fs::create_symlink("site.dat", path("link.dat"));
    fs::create_directory(path("folder.dat"));
    ASSERT_EQ(::mkfifo(path("pipe.dat").c_str(), 0600), 0);
    const std::string same = " is the same file as ";
    const struct {
        std::vector<std::string> arguments;
        int exit;
        std::string message;
    } cases[] = {
        {{"summary", site, "--pdf", site}, kExitUsage, "veskar-cli summary: " + site + same + site},
        {{"summary", site, "--pdf", path("link.dat")},
         kExitUsage,
         "veskar-cli summary: " + path("link.dat") + same + site},
        {{"repair", path("link.dat"), site},
         kExitUsage,
         "veskar-cli repair: " + site + same + path("link.dat")},
        {{"write-config", site, "--trace", path("link.dat")},
         kExitUsage,
         "veskar-cli write-config: " + path("link.dat") + same + site},
        {{"repair", site, path("pipe.dat")},
         kExitFailure,
         path("pipe.dat") + ": CANNOT OPEN FILE (is a named pipe)"},
        {{"summary", site, "--pdf", path("pipe.dat")},
         kExitFailure,
         path("pipe.dat") + ": CANNOT OPEN FILE (is a named pipe)"},
        {{"summary", site, "--pdf", path("gone/out.pdf")},
         kExitFailure,
         path("gone/out.pdf") + ": CANNOT OPEN FILE (no such folder)"},
        {{"show", path("pipe.dat")}, kExitFailure, path("pipe.dat") + ": CANNOT OPEN FILE (is a named pipe)"},
        {{"summary", path("folder.dat")},
         kExitFailure,
         path("folder.dat") + ": CANNOT OPEN FILE (is a directory)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.arguments), c.exit) << c.message;
        EXPECT_TRUE(m_err.str().starts_with(c.message)) << m_err.str();
    }
    EXPECT_EQ(m_folder.read("site.dat"), before);
    EXPECT_TRUE(fs::is_fifo(path("pipe.dat")));
}

TEST_F(CliTest, DiffPrintsOnlyDifferingFields)
{
    save("a.dat", [](Image&) {});
    save("b.dat", [](Image& image) {
        image.gen.timerA = SplitValue(5);
        image.User[4].askName = 0;
        image.dir[3][0] = 'R';
    });
    EXPECT_EQ(run({"diff", path("a.dat"), path("a.dat")}), kExitSuccess);
    EXPECT_EQ(m_out.str(), "");
    EXPECT_EQ(run({"diff", path("a.dat"), path("b.dat")}), kExitFailure);
    EXPECT_EQ(m_out.str(), "user5.askName: 1 -> 0\n"
                           "gen.timerA: 2 -> 5\n"
                           "dirD.line1: (none) -> \" [RADIO]\"\n");
}

TEST_F(CliTest, DiffSeesStoredBytesThatReadTheSame)
{
    save("a.dat", [](Image&) {});
    // The same line, but the stale bytes behind its end differ: they go to the unit too.
    save("b.dat", [](Image& image) { image.dir[0][10] = 'X'; });
    EXPECT_EQ(run({"diff", path("a.dat"), path("b.dat")}), kExitFailure);
    EXPECT_EQ(m_out.str(), "offset 0x90A: 00 -> 58\n");
    // A paging code reads the same with or without bit 7 of its digits, but is stored as it is.
    save("c.dat", [](Image& image) {
        std::ranges::copy(std::array<Byte, 4>{'H', 0xB1, '&', 0}, image.dir[0].begin());
    });
    save("d.dat", [](Image& image) {
        std::ranges::copy(std::array<Byte, 4>{'H', '1', '&', 0}, image.dir[0].begin());
    });
    EXPECT_EQ(run({"diff", path("c.dat"), path("d.dat")}), kExitFailure);
    EXPECT_NE(m_out.str().find("dirA.stored: 48 B1 26 00 -> 48 31 26 00"), std::string::npos);
}

TEST_F(CliTest, RepairFixesWhatIsOutOfRange)
{
    save("bad.dat", [](Image& image) {
        image.gen.timesA = 0;
        image.gen.levelTxTone = 99;
    });
    ASSERT_EQ(run({"repair", path("bad.dat"), path("good.dat")}), kExitSuccess);
    EXPECT_EQ(run({"diff", path("bad.dat"), path("good.dat")}), kExitFailure);
    EXPECT_EQ(m_out.str(), "gen.timesA: 0 -> 3\ngen.levelTxTone: 99 -> 25\n");
}

// Refused before the port is touched, let alone the first frame: exit 2 and the reason.
TEST_F(CliTest, TransfersRefuseWhatCannotWorkBeforeTheFirstFrame)
{
    m_folder.write("voc.bin", "vocabulary");
    const struct {
        std::vector<std::string> arguments;
        std::string message;
    } cases[] = {
        {{"--port", "COM9", "read-config", path("out.dat")},
         "veskar-cli: 'COM9' is neither COM1..COM8 nor an existing device\n"},
        {{"--port", "COM1", "write-vocab", path("voc.bin")},
         "write-vocab erases every voice message on the unit; give --yes to go ahead.\n"},
        {{"--port", "COM1", "write-voices", path("none.msg")},
         path("none.msg") + ": CANNOT OPEN VOICE MESSAGE FILE (no such file)\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.arguments), kExitUsage) << c.arguments[2];
        EXPECT_EQ(m_err.str(), c.message);
    }
}

TEST_F(CliTest, UsageErrorsExitTwoAndHelpExitsZero)
{
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"frobnicate"},
        {"show"},
        {"show", "a.dat", "b.dat"},
        {"--colour", "show", "a.dat"},
        {"diff", "a.dat"},
        {"read-config", "out.dat", "--port"},
        {"show", "--pdf", "x.pdf", "a.dat"},
    };
    for (const auto& arguments : bad)
        EXPECT_EQ(run(arguments), kExitUsage) << (arguments.empty() ? "" : arguments[0]);
    EXPECT_EQ(m_err.str(), "veskar-cli: show does not take --pdf\nTry 'veskar-cli --help'.\n");
    run({"--port"});
    EXPECT_EQ(m_err.str(), "veskar-cli: Missing value after '--port'.\nTry 'veskar-cli --help'.\n");

    // After "--" nothing is an option: here a file that does not exist.
    EXPECT_EQ(run({"show", "--", "--help"}), kExitFailure);
    EXPECT_NE(m_err.str().find("--help:"), std::string::npos) << m_err.str();
    EXPECT_EQ(run({"--version"}), kExitSuccess);
    EXPECT_TRUE(m_out.str().starts_with("veskar-cli VWM Version ")) << m_out.str();

    EXPECT_EQ(run({"--help"}), kExitSuccess);
    for (const char* command : {"new", "show", "repair", "diff"})
        EXPECT_NE(m_out.str().find(command), std::string::npos);
    EXPECT_EQ(run({"diff", "--help"}), kExitSuccess);
    EXPECT_NE(m_out.str().find("Usage: veskar-cli diff A.dat B.dat"), std::string::npos);
    EXPECT_EQ(run({"read-config", "-h"}), kExitSuccess);
    EXPECT_NE(m_out.str().find("  --no-backup"), std::string::npos) << m_out.str();
    EXPECT_EQ(m_out.str().find("--pdf"), std::string::npos) << "only the options it takes";
}

} // namespace
} // namespace veskar::cli
