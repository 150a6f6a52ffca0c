// veskar-cli against veskar-unit-sim through a real pseudo-terminal and the
// real serial stack. These run at wire speed with the protocol's own pauses,
// so there are few of them.

#include "cli/CliCommand.h"
#include "database/DataFile.h"
#include "database/Defaults.h"
#include "support/ChildProcess.h"
#include "support/TempFolder.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <functional>
#include <thread>
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

    // Runs `act` from another thread once the trace at `trace` satisfies `seen`,
    // as a user watching the transfer would.
    void whenTraced(const std::string& trace, std::function<bool(const std::string&)> seen,
                    std::function<void()> act)
    {
        watcher_ = std::thread([trace, seen = std::move(seen), act = std::move(act)] {
            for (int i = 0; i < 6000; ++i) {
                const std::vector<char> bytes = Contents(trace);
                if (seen(std::string(bytes.begin(), bytes.end()))) {
                    act();
                    return;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        });
    }
    // The trace holds a frame the PC sent with this command byte, and the unit's answer after it.
    static bool Answered(const std::string& trace, const std::string& command)
    {
        const std::size_t sent = trace.find(" PC 16 00 " + command);
        return sent != std::string::npos && trace.find(" UNIT 16 01", sent) != std::string::npos;
    }
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
    std::thread watcher_; // joined before the unit goes
    struct Join {
        std::thread& thread;
        ~Join()
        {
            if (thread.joinable())
                thread.join();
        }
    } join_{watcher_};
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
    std::vector<char> inUnit = Contents(path("store/config.bin"));
    inUnit.resize(kImageSize);
    EXPECT_EQ(Contents(kept[1]), inUnit) << "the write backup holds the bytes sent, as prepared";

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

// Ctrl+C once the unit has taken a block warns what a stop leaves; the second stops.
TEST_F(TransferEndToEndTest, InterruptAfterDataWarnsThenStopsAndSaysWhatTheUnitHolds)
{
    startUnit();
    std::vector<char> voices(3 * 4096, 'v');
    std::ofstream(path("sent.msg"), std::ios::binary).write(voices.data(), static_cast<std::streamsize>(voices.size()));
    whenTraced(path("trace.txt"), [](const std::string& trace) { return Answered(trace, "20 00 00"); }, [] {
        ::kill(::getpid(), SIGINT);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ::kill(::getpid(), SIGINT);
    });
    EXPECT_EQ(cli({"--trace", path("trace.txt"), "write-voices", path("sent.msg")}), kExitFailure);
    const std::string said = err_.str();
    EXPECT_NE(said.find("The unit has already taken part of the new voices"), std::string::npos) << said;
    EXPECT_NE(said.find("Press Ctrl+C again to stop anyway."), std::string::npos) << said;
    EXPECT_TRUE(said.ends_with("Transfer stopped - the unit holds incomplete voices: write them again.\n")) << said;
    voices.resize(4096);
    EXPECT_EQ(Contents(path("store/voices.bin")), voices) << "the one block it took";
}

// The unit's end of the line closes as the first data frame goes out: the
// transfer ends at once, says so, and nothing more is sent to the closed port.
class LostPortTest : public TransferEndToEndTest, public ::testing::WithParamInterface<const char*> {
  protected:
    LostPortTest() { qInstallMessageHandler(Record); }
    ~LostPortTest() override { qInstallMessageHandler(nullptr); }
    static void Record(QtMsgType, const QMessageLogContext&, const QString& text) { warnings.append(text); }
    static inline QStringList warnings;
};

TEST_P(LostPortTest, EndsAtOnceSayingThePortWentAway)
{
    startUnit();
    std::vector<char> data(2 * 4096, 'd');
    std::ofstream(path("send.bin"), std::ios::binary).write(data.data(), static_cast<std::streamsize>(data.size()));
    Image image{};
    CreateDatabase(image);
    ASSERT_EQ(WriteImageFile(path("send.dat"), image), FileError::None);
    const std::string command = GetParam();
    const std::string argument = command == "write-config"  ? path("send.dat")
                                 : command == "read-config" ? path("out.dat")
                                 : command == "read-voices" ? path("out.msg")
                                                            : path("send.bin");
    whenTraced(path("trace.txt"), [](const std::string& trace) { return trace.find(" PC 16 00 20") != std::string::npos; },
               [this] { unit_->finish(SIGKILL); });
    std::vector<std::string> arguments = {"--trace", path("trace.txt"), command, argument};
    if (command == "write-vocab")
        arguments.insert(arguments.begin(), "--yes");
    EXPECT_EQ(cli(arguments), kExitFailure);
    EXPECT_NE(err_.str().find("The port went away: "), std::string::npos) << err_.str();
    EXPECT_EQ(err_.str().find("No response - retry"), std::string::npos) << "a port that is gone is not retried";
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
    EXPECT_FALSE(fs::exists(path("out.dat")) || fs::exists(path("out.msg")));
}

INSTANTIATE_TEST_SUITE_P(EveryKind, LostPortTest,
                         ::testing::Values("write-config", "read-config", "write-vocab", "write-voices", "read-voices"));

} // namespace
} // namespace veskar::cli
