// veskar-cli against veskar-unit-sim through a real pseudo-terminal and the
// real serial stack. These run at wire speed with the protocol's own pauses,
// so there are few of them.

#include "cli/CliCommand.h"
#include "database/DataFile.h"
#include "database/Defaults.h"
#include "support/ChildProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

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

class TransferEndToEndTest : public ::testing::Test {
  protected:
    void startUnit(std::vector<std::string> faults = {})
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
    EXPECT_EQ(cli({"write-config", path("sent.dat")}), kExitFailure);
    EXPECT_NE(err_.str().find("Communications Failure - Starting second pass."), std::string::npos);
    EXPECT_NE(err_.str().find("Communications Failure - Check connection."), std::string::npos);
}

} // namespace
} // namespace veskar::cli
