// veskar-cli against veskar-unit-sim through a real pseudo-terminal and the
// real serial stack. These run at wire speed with the protocol's own pauses,
// so there are few of them.

#include "cli/CliCommand.h"
#include "database/DataFile.h"
#include "database/Defaults.h"
#include "support/ChildProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace veskar::cli {
namespace {

namespace fs = std::filesystem;

std::vector<char> Contents(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Backups land in the working folder: the test's own, for as long as it runs.
class TransferEndToEndTest : public ::testing::Test {
  protected:
    TransferEndToEndTest() : before_(fs::current_path()) { fs::current_path(folder_.path()); }
    ~TransferEndToEndTest() override { fs::current_path(before_); }

    std::vector<fs::path> backups() const
    {
        std::vector<fs::path> names;
        if (fs::exists(path("backups")))
            for (const auto& entry : fs::directory_iterator(path("backups")))
                names.push_back(entry.path());
        std::ranges::sort(names, {}, [](const fs::path& p) { return p.filename().string().substr(16); });
        return names;
    }

    void startUnit(const std::vector<std::string>& faults = {})
    {
        std::vector<std::string> arguments = {"--pty", port(), "--store", path("store")};
        for (const std::string& fault : faults) {
            arguments.push_back("--fault");
            arguments.push_back(fault);
        }
        unit_ = std::make_unique<veskar::testing::ChildProcess>(VESKAR_UNIT_SIM, arguments);
        ASSERT_EQ(unit_->firstLine(), "veskar-unit-sim: serving " + port() + "\n");
    }

    std::string path(const std::string& name) const { return folder_ / name; }
    std::string port() const { return path("unit"); }

    int cli(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), {"--port", port()});
        out_.str("");
        err_.str("");
        return RunCli(arguments, {out_, err_});
    }

    veskar::testing::TempFolder folder_{"veskar-e2e"};
    fs::path before_;
    std::unique_ptr<veskar::testing::ChildProcess> unit_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(TransferEndToEndTest, ConfigurationWrittenIsTheOneReadBack)
{
    startUnit();
    Image image{};
    CreateDatabase(image);
    image.gen.siteName[0] = 'Q'; // differs from the unit's fresh store
    ASSERT_EQ(WriteImageFile(path("sent.dat"), image), FileError::None);

    ASSERT_EQ(cli({"write-config", path("sent.dat")}), kExitSuccess) << err_.str();
    EXPECT_NE(err_.str().find("Database transferred to the Corvane VWM"), std::string::npos);
    ASSERT_EQ(cli({"read-config", path("read.dat")}), kExitSuccess) << err_.str();
    Image read{};
    ASSERT_EQ(ReadImageFile(path("read.dat"), read, SizeRule::Exact), FileError::None);
    EXPECT_EQ(read.gen.siteName[0], 'Q');
    const auto users = [](const Image& i) {
        return std::vector<Byte>(i.bytes().begin(), i.bytes().begin() + offsetof(Image, gen));
    };
    EXPECT_EQ(users(read), users(image));
    EXPECT_EQ(read.dir, image.dir);
    EXPECT_EQ(cli({"verify", path("sent.dat")}), kExitSuccess) << out_.str() << err_.str();

    // What was sent and what was read, as the file names say; verify keeps none.
    const std::vector<fs::path> kept = backups();
    ASSERT_EQ(kept.size(), 2U);
    EXPECT_TRUE(kept[0].string().ends_with("-read.dat"));
    EXPECT_TRUE(kept[1].string().ends_with("-write.dat"));
    EXPECT_EQ(Contents(kept[0]), Contents(path("read.dat")));
    EXPECT_EQ(Contents(kept[1]), Contents(path("sent.dat")));

    ASSERT_EQ(cli({"--no-backup", "read-config", path("again.dat")}), kExitSuccess) << err_.str();
    EXPECT_EQ(backups().size(), 2U);
}

TEST_F(TransferEndToEndTest, VoicesWrittenAreTheOnesReadBack)
{
    startUnit();
    std::vector<char> voices(2 * 4096);
    for (std::size_t i = 0; i < voices.size(); ++i)
        voices[i] = static_cast<char>(i * 7 + i / 4096);
    std::ofstream(path("sent.msg"), std::ios::binary)
        .write(voices.data(), static_cast<std::streamsize>(voices.size()));

    ASSERT_EQ(cli({"write-voices", path("sent.msg")}), kExitSuccess) << err_.str();
    ASSERT_EQ(cli({"read-voices", path("read.msg")}), kExitSuccess) << err_.str();
    EXPECT_EQ(Contents(path("read.msg")), voices);
}

TEST_F(TransferEndToEndTest, EndOfDataForTheFirstPacketWritesNoFile)
{
    startUnit({"end-at=0"});
    EXPECT_EQ(cli({"read-config", path("read.dat")}), kExitFailure);
    EXPECT_FALSE(fs::exists(path("read.dat")));
}

TEST_F(TransferEndToEndTest, SilentUnitIsACommunicationsFailure)
{
    startUnit({"silent"});
    EXPECT_EQ(cli({"write-config", path("missing.dat")}), kExitUsage); // refused before the port is touched

    Image image{};
    CreateDatabase(image);
    ASSERT_EQ(WriteImageFile(path("sent.dat"), image), FileError::None);
    EXPECT_EQ(cli({"write-config", "--trace", path("trace.txt"), path("sent.dat")}), kExitFailure);
    EXPECT_NE(err_.str().find("Communications Failure - Starting second pass."), std::string::npos);
    EXPECT_NE(err_.str().find("Communications Failure - Check connection."), std::string::npos);

    // A trace for support: the heading, every attempt, and each one timing out.
    const std::vector<char> bytes = Contents(path("trace.txt"));
    const std::string trace(bytes.begin(), bytes.end());
    EXPECT_TRUE(trace.starts_with("# ")) << trace;
    EXPECT_NE(trace.find(" write-config on " + port()), std::string::npos) << trace;
    std::size_t timeOuts = 0;
    for (std::size_t at = trace.find(" TIMEOUT 0 of 7 bytes"); at != std::string::npos;
         at = trace.find(" TIMEOUT 0 of 7 bytes", at + 1))
        ++timeOuts;
    EXPECT_EQ(timeOuts, 6U);
}

} // namespace
} // namespace veskar::cli
