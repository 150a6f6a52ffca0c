// veskar-unit-sim itself on a real pseudo-terminal, driven through its symlink
// with plain POSIX calls as any serial program would.

#include "programming/Frame.h"
#include "programming/unit/SimulatedUnit.h"
#include "programming/unit/UnitStore.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace veskar {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<Byte>;

constexpr int kGenerousMs = 10000;
const Bytes kAck = BuildFrame(kSourceUnit, kCmdAcknowledge, 0);

Bytes Pc(Byte command, std::uint16_t packet = 0, std::span<const Byte> data = {})
{
    return BuildFrame(kSourcePc, command, packet, data);
}

// Up to `count` bytes; fewer only when nothing came for the generous time-out.
std::string ReadSome(int fd, std::size_t count, char until = 0)
{
    std::string got;
    char buffer[8192];
    while (got.size() < count && (until == 0 || got.empty() || got.back() != until)) {
        pollfd p{fd, POLLIN, 0};
        const std::size_t want = until ? 1 : std::min(sizeof buffer, count - got.size());
        const ssize_t n = ::poll(&p, 1, kGenerousMs) > 0 ? ::read(fd, buffer, want) : 0;
        if (n <= 0)
            break;
        got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
}

Bytes Exchange(int port, const Bytes& frame, std::size_t replyLength)
{
    if (::write(port, frame.data(), frame.size()) != static_cast<ssize_t>(frame.size()))
        return {};
    const std::string reply = ReadSome(port, replyLength);
    return Bytes(reply.begin(), reply.end());
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

// The program with its stdout and stderr on pipes.
class Program {
  public:
    explicit Program(std::vector<std::string> arguments)
    {
        int out[2], err[2];
        if (::pipe(out) != 0 || ::pipe(err) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], 1);
            ::dup2(err[1], 2);
            std::vector<char*> argv{const_cast<char*>(VESKAR_UNIT_SIM)};
            for (std::string& argument : arguments)
                argv.push_back(argument.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        ::close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }
    ~Program()
    {
        if (pid_ > 0 && status < 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(out_);
        ::close(err_);
    }
    std::string firstLine() { return ReadSome(out_, 1000, '\n'); }
    // Sends `signal` (0: none), then collects everything up to the exit.
    void finish(int signal = 0)
    {
        if (signal)
            ::kill(pid_, signal);
        out += ReadSome(out_, 100000);
        err = ReadSome(err_, 100000);
        ::waitpid(pid_, &status, 0);
    }
    [[nodiscard]] bool exitedWith(int code) const { return WIFEXITED(status) && WEXITSTATUS(status) == code; }

    std::string out, err;
    int status = -1;

  private:
    pid_t pid_ = -1;
    int out_ = -1, err_ = -1;
};

class UnitSimProgramTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/veskar-unitsim-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root = pattern;
    }
    void TearDown() override { fs::remove_all(root); }

    fs::path root;
};

// A configuration write, the port closed and opened again, the configuration
// read back; then the store and the trace hold what went across.
TEST_F(UnitSimProgramTest, ServesThroughTheSymlinkAcrossReopensAndKeepsItsStore)
{
    const fs::path link = root / "ttyVESKAR";
    fs::create_symlink(root / "gone", link); // left by a run that was killed
    Program program({"--pty", link.string(), "--store", (root / "store").string(), "--trace",
                     (root / "trace.log").string()});
    ASSERT_EQ(program.firstLine(), "veskar-unit-sim: serving " + link.string() + "\n");
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

    program.finish(SIGTERM);
    EXPECT_TRUE(program.exitedWith(0)) << program.status << program.err;
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    std::ifstream stored(root / "store" / kStoreConfigurationFile, std::ios::binary);
    EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(stored), {}), config);
    std::ifstream trace(root / "trace.log");
    const std::string lines((std::istreambuf_iterator<char>(trace)), {});
    EXPECT_NE(lines.find(" PC 16 00 89 00 00 29 BC\n"), std::string::npos) << lines;
    EXPECT_NE(lines.find(" UNIT 16 01 20 00 00 00 07 ... "), std::string::npos) << lines;
}

TEST_F(UnitSimProgramTest, RealtimeWithNoiseStillDeliversTheFrames)
{
    const fs::path link = root / "tty";
    Program program({"--pty", link.string(), "--realtime", "--fault", "noise"});
    ASSERT_EQ(program.firstLine(), "veskar-unit-sim: serving " + link.string() + "\n");
    const int port = OpenPort(link);
    ASSERT_GE(port, 0);
    const Bytes voices = UnitMemory::FreshVoices();
    const Bytes data = BuildFrame(kSourceUnit, kCmdData, 0, std::span(voices).first(kBlockSize));
    for (const auto& [frame, reply] :
         {std::pair{Pc(kCmdLinkFirstPass), kAck}, std::pair{Pc(kCmdReadVoices), kAck},
          std::pair{Pc(kCmdData, 0), data}}) {
        Bytes got = Exchange(port, frame, reply.size());
        while (got.size() >= reply.size() && !std::equal(reply.rbegin(), reply.rend(), got.rbegin())) {
            const std::string more = ReadSome(port, 1); // the noise came first
            if (more.empty())
                break;
            got.push_back(static_cast<Byte>(more[0]));
        }
        EXPECT_TRUE(got.size() > reply.size() && std::equal(reply.rbegin(), reply.rend(), got.rbegin()));
    }
    ::close(port);
    program.finish(SIGINT);
    EXPECT_TRUE(program.exitedWith(0)) << program.err;
}

// A port closed right after the write still lets its bytes cross the wire, as a
// serial driver drains its output on close; the end of transfer must arrive.
TEST_F(UnitSimProgramTest, RealtimeWriteClosedAtOnceStillReachesTheStore)
{
    const fs::path link = root / "tty";
    const fs::path trace = root / "trace.log";
    Program program({"--pty", link.string(), "--realtime", "--store", (root / "store").string(), "--trace",
                     trace.string()});
    ASSERT_EQ(program.firstLine(), "veskar-unit-sim: serving " + link.string() + "\n");
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
    for (int waited = 0; waited < kGenerousMs && lines.find(" PC 16 00 83") == std::string::npos;
         waited += 20) {
        ::usleep(20000);
        std::ifstream log(trace);
        lines.assign(std::istreambuf_iterator<char>(log), {});
    }
    program.finish(SIGTERM);
    EXPECT_TRUE(program.exitedWith(0)) << program.err;
    EXPECT_NE(lines.find(" PC 16 00 83 00 00 2B 9C"), std::string::npos) << lines;
    std::ifstream stored(root / "store" / kStoreConfigurationFile, std::ios::binary);
    EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(stored), {}), config);
}

TEST_F(UnitSimProgramTest, RefusesBadUsageAndBadStoresWithAMessage)
{
    fs::create_directories(root / "badstore");
    std::ofstream(root / "badstore" / kStoreVoicesFile) << "short";
    std::ofstream(root / "plainfile") << "x";
    const std::string pty = (root / "t").string();
    const std::vector<std::tuple<std::vector<std::string>, int, std::string>> cases = {
        {{}, 2, "--pty PATH is required"},
        {{"--pty", pty, "--fault", "cut"}, 2, "fault 'cut' needs a number: cut=N"},
        {{"--pty", pty, "--store", (root / "badstore").string()},
         1,
         (root / "badstore" / kStoreVoicesFile).string() +
             ": holds 5 bytes; it must hold a multiple of 4096 bytes, at most 2048000"},
        {{"--pty", (root / "plainfile").string()},
         1,
         (root / "plainfile").string() + ": exists and is not a symlink; not replacing it"},
    };
    for (const auto& [arguments, code, message] : cases) {
        Program program(arguments);
        program.finish();
        EXPECT_TRUE(program.exitedWith(code)) << message;
        EXPECT_EQ(program.err, "veskar-unit-sim: " + message + "\n");
        EXPECT_EQ(program.out, "");
    }
    EXPECT_EQ(fs::file_size(root / "badstore" / kStoreVoicesFile), 5U);
    EXPECT_EQ(fs::file_size(root / "plainfile"), 1U);
    EXPECT_FALSE(fs::exists(fs::symlink_status(pty)));
}

} // namespace
} // namespace veskar
