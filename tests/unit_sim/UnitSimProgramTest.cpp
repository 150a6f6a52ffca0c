// veskar-unit-sim itself on a real pseudo-terminal, driven through its symlink
// with plain POSIX calls as any serial program would.

#include "programming/Frame.h"
#include "programming/unit/UnitStore.h"
#include "support/ChildProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <fcntl.h>
#include <termios.h>

namespace veskar {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<Byte>;
using veskar::testing::ChildProcess;

const Bytes kAck = BuildFrame(kSourceUnit, kCmdAcknowledge, 0);

Bytes Pc(Byte command, std::uint16_t packet = 0, std::span<const Byte> data = {})
{
    return BuildFrame(kSourcePc, command, packet, data);
}

// Up to `count` bytes; fewer only when nothing came for the generous time-out.
Bytes ReadSome(int fd, std::size_t count)
{
    Bytes got(count);
    std::size_t have = 0;
    while (have < count) {
        pollfd p{fd, POLLIN, 0};
        const ssize_t n =
            ::poll(&p, 1, ChildProcess::kGenerousMs) > 0 ? ::read(fd, got.data() + have, count - have) : 0;
        if (n <= 0)
            break;
        have += static_cast<std::size_t>(n);
    }
    got.resize(have);
    return got;
}

Bytes Exchange(int port, const Bytes& frame, std::size_t replyLength)
{
    if (::write(port, frame.data(), frame.size()) != static_cast<ssize_t>(frame.size()))
        return {};
    return ReadSome(port, replyLength);
}

int OpenPort(const fs::path& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios modes{};
    if (fd >= 0 && ::tcgetattr(fd, &modes) == 0) {
        ::cfmakeraw(&modes);
        ::tcsetattr(fd, TCSANOW, &modes);
    }
    return fd;
}

std::string Contents(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

bool ExitedWith(const ChildProcess::Finished& run, int code)
{
    return WIFEXITED(run.status) && WEXITSTATUS(run.status) == code;
}

class UnitSimProgramTest : public ::testing::Test {
  protected:
    veskar::testing::TempFolder folder{"veskar-unitsim"};
    const fs::path root = folder.path();

    // Starts the program serving `link` and checks its first line.
    void Serve(std::optional<ChildProcess>& program, const fs::path& link, std::vector<std::string> more)
    {
        more.insert(more.begin(), {"--pty", link.string()});
        program.emplace(VESKAR_UNIT_SIM, more);
        ASSERT_EQ(program->firstLine(), "veskar-unit-sim: serving " + link.string() + "\n");
    }
};

// A configuration write, the port closed and opened again, the configuration
// read back; then the store and the trace hold what went across.
TEST_F(UnitSimProgramTest, ServesThroughTheSymlinkAcrossReopensAndKeepsItsStore)
{
    const fs::path link = root / "ttyVESKAR";
    fs::create_symlink(root / "gone", link); // left by a run that was killed
    std::optional<ChildProcess> program;
    Serve(program, link, {"--store", (root / "store").string(), "--trace", (root / "trace.log").string()});
    EXPECT_NE(fs::read_symlink(link), root / "gone");

    Bytes config(kBlockSize);
    for (std::size_t i = 0; i < config.size(); ++i)
        config[i] = static_cast<Byte>(i * 7);
    int port = OpenPort(link);
    ASSERT_GE(port, 0);
    for (const Bytes& frame : {Pc(kCmdLinkFirstPass), Pc(kCmdWriteConfig), Pc(kCmdData, 0, config)})
        ASSERT_EQ(Exchange(port, frame, kShortFrameSize), kAck);
    EXPECT_EQ(Exchange(port, Pc(kCmdEndOfTransfer), 0), Bytes{});
    ::close(port);

    port = OpenPort(link);
    ASSERT_GE(port, 0);
    for (const Bytes& frame : {Pc(kCmdLinkFirstPass), Pc(kCmdReadConfig)})
        ASSERT_EQ(Exchange(port, frame, kShortFrameSize), kAck);
    EXPECT_EQ(Exchange(port, Pc(kCmdData, 0), kDataFrameSize), BuildFrame(kSourceUnit, kCmdData, 0, config));
    ::close(port);

    const auto run = program->finish(SIGTERM);
    EXPECT_TRUE(ExitedWith(run, 0)) << run.status << run.err;
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    EXPECT_EQ(Contents(root / "store" / kStoreConfigurationFile), std::string(config.begin(), config.end()));
    const std::string lines = Contents(root / "trace.log");
    EXPECT_NE(lines.find(" PC 16 00 89 00 00 29 BC\n"), std::string::npos) << lines;
    EXPECT_NE(lines.find(" UNIT 16 01 20 00 00 00 07 ... "), std::string::npos) << lines;
}

// A port closed right after the write still lets its bytes cross the wire, as a
// serial driver drains its output on close; the end of transfer must arrive.
TEST_F(UnitSimProgramTest, RealtimeWriteClosedAtOnceStillReachesTheStore)
{
    const fs::path link = root / "tty";
    const fs::path trace = root / "trace.log";
    std::optional<ChildProcess> program;
    Serve(program, link, {"--realtime", "--store", (root / "store").string(), "--trace", trace.string()});
    const Bytes config(kBlockSize, 0x42);
    Bytes session;
    for (const Bytes& frame :
         {Pc(kCmdLinkFirstPass), Pc(kCmdWriteConfig), Pc(kCmdData, 0, config), Pc(kCmdEndOfTransfer)})
        session.insert(session.end(), frame.begin(), frame.end());
    const int port = OpenPort(link);
    ASSERT_GE(port, 0);
    ASSERT_EQ(::write(port, session.data(), session.size()), static_cast<ssize_t>(session.size()));
    ::close(port);

    // The end of transfer is in the trace once the unit has it.
    std::string lines;
    for (int waited = 0;
         waited < ChildProcess::kGenerousMs && lines.find(" PC 16 00 83") == std::string::npos;
         waited += 20) {
        ::usleep(20000);
        lines = Contents(trace);
    }
    const auto run = program->finish(SIGTERM);
    EXPECT_TRUE(ExitedWith(run, 0)) << run.err;
    EXPECT_NE(lines.find(" PC 16 00 83 00 00 2B 9C"), std::string::npos) << lines;
    EXPECT_EQ(Contents(root / "store" / kStoreConfigurationFile), std::string(kBlockSize, 0x42));
}

TEST_F(UnitSimProgramTest, RefusesBadUsageAndBadStoresWithAMessage)
{
    fs::create_directories(root / "badstore");
    std::ofstream(root / "badstore" / kStoreVoicesFile) << "short";
    std::ofstream(root / "plainfile") << "x";
    const std::string pty = (root / "t").string();
    const std::vector<std::tuple<std::vector<std::string>, int, std::string>> cases = {
        {{}, 2, "--pty PATH is required"},
        {{"--pty", pty, "--store", (root / "badstore").string()},
         1,
         (root / "badstore" / kStoreVoicesFile).string() +
             ": holds 5 bytes; it must hold a multiple of 4096 bytes, at most 2048000"},
        {{"--pty", (root / "plainfile").string()},
         1,
         (root / "plainfile").string() + ": exists and is not a symlink; not replacing it"},
    };
    for (const auto& [arguments, code, message] : cases) {
        const auto run = ChildProcess(VESKAR_UNIT_SIM, arguments).finish();
        EXPECT_TRUE(ExitedWith(run, code)) << message;
        EXPECT_EQ(run.err, "veskar-unit-sim: " + message + "\n");
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(fs::file_size(root / "badstore" / kStoreVoicesFile), 5U);
    EXPECT_EQ(fs::file_size(root / "plainfile"), 1U);
    EXPECT_FALSE(fs::exists(fs::symlink_status(pty)));
}

} // namespace
} // namespace veskar
