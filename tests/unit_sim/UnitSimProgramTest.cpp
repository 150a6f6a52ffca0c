// veskar-unit-sim itself, on a real pseudo-terminal, driven through the symlink
// with plain POSIX calls as any serial program would.

#include "programming/Frame.h"
#include "programming/unit/SimulatedUnit.h"
#include "programming/unit/UnitStore.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

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

Bytes Pc(Byte command, std::uint16_t packet = 0, std::span<const Byte> data = {})
{
    return BuildFrame(kSourcePc, command, packet, data);
}

// Reads until `count` bytes came or nothing came for the generous time-out.
Bytes ReadBytes(int fd, std::size_t count)
{
    Bytes got;
    while (got.size() < count) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, kGenerousMs) <= 0)
            break;
        Byte buffer[8192];
        const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, count - got.size()));
        if (n <= 0)
            break;
        got.insert(got.end(), buffer, buffer + n);
    }
    return got;
}

struct Finished {
    int status = -1;
    std::string out;
    std::string err;
};

class Program {
  public:
    explicit Program(std::vector<std::string> arguments)
    {
        int out[2];
        int err[2];
        if (::pipe(out) != 0 || ::pipe(err) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], 1);
            ::dup2(err[1], 2);
            ::close(out[0]);
            ::close(err[0]);
            std::vector<char*> argv{const_cast<char*>(VESKAR_UNIT_SIM)};
            for (std::string& a : arguments)
                argv.push_back(a.data());
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
        if (pid_ > 0 && !finished_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(out_);
        ::close(err_);
    }

    // The first line on stdout, waited for with a generous time-out.
    std::string firstLine()
    {
        std::string line;
        char c = 0;
        while (line.empty() || line.back() != '\n') {
            pollfd p{out_, POLLIN, 0};
            if (::poll(&p, 1, kGenerousMs) <= 0 || ::read(out_, &c, 1) != 1)
                break;
            line += c;
        }
        return line;
    }

    Finished finish(int signal = 0)
    {
        if (signal)
            ::kill(pid_, signal);
        Finished run;
        run.out = drain(out_);
        run.err = drain(err_);
        ::waitpid(pid_, &run.status, 0);
        finished_ = true;
        return run;
    }

  private:
    static std::string drain(int fd)
    {
        std::string text;
        char buffer[4096];
        for (;;) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, kGenerousMs) <= 0)
                break;
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n <= 0)
                break;
            text.append(buffer, static_cast<std::size_t>(n));
        }
        return text;
    }

    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    bool finished_ = false;
};

int OpenPort(const fs::path& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0) {
        termios modes{};
        ::tcgetattr(fd, &modes);
        ::cfmakeraw(&modes);
        ::tcsetattr(fd, TCSANOW, &modes);
    }
    return fd;
}

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

TEST_F(UnitSimProgramTest, ServesThroughTheSymlinkAcrossReopensAndKeepsItsStore)
{
    const fs::path link = root / "ttyVESKAR";
    fs::create_symlink(root / "gone", link); // left by a run that was killed
    const fs::path store = root / "store";
    const fs::path trace = root / "trace.log";
    Program program({"--pty", link.string(), "--store", store.string(), "--trace", trace.string()});
    ASSERT_EQ(program.firstLine(), "veskar-unit-sim: serving " + link.string() + "\n");
    ASSERT_TRUE(fs::is_symlink(link));
    EXPECT_NE(fs::read_symlink(link), root / "gone");

    const Bytes ack = BuildFrame(kSourceUnit, kCmdAcknowledge, 0);
    Bytes config(kBlockSize);
    for (std::size_t i = 0; i < config.size(); ++i)
        config[i] = static_cast<Byte>(i * 7);

    // A configuration write, the port closed, then reopened for the read-back.
    int port = OpenPort(link);
    ASSERT_GE(port, 0);
    for (const Bytes& frame : {Pc(kCmdLinkFirstPass), Pc(kCmdWriteConfig), Pc(kCmdData, 0, config)}) {
        ASSERT_EQ(::write(port, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
        ASSERT_EQ(ReadBytes(port, ack.size()), ack);
    }
    const Bytes end = Pc(kCmdEndOfTransfer);
    ASSERT_EQ(::write(port, end.data(), end.size()), static_cast<ssize_t>(end.size()));
    ::close(port);

    port = OpenPort(link);
    ASSERT_GE(port, 0);
    for (const Bytes& frame : {Pc(kCmdLinkFirstPass), Pc(kCmdReadConfig)}) {
        ASSERT_EQ(::write(port, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
        ASSERT_EQ(ReadBytes(port, ack.size()), ack);
    }
    const Bytes request = Pc(kCmdData, 0);
    ASSERT_EQ(::write(port, request.data(), request.size()), static_cast<ssize_t>(request.size()));
    EXPECT_EQ(ReadBytes(port, kDataFrameSize), BuildFrame(kSourceUnit, kCmdData, 0, config));
    ::close(port);

    const Finished run = program.finish(SIGTERM);
    EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0) << run.status << run.err;
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));

    std::ifstream file(store / kStoreConfigurationFile, std::ios::binary);
    EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()), config);

    std::ifstream log(trace);
    std::string first;
    std::getline(log, first);
    EXPECT_TRUE(first.ends_with(" PC 16 00 89 00 00 29 BC")) << first;
    const std::string all((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    EXPECT_NE(all.find(" UNIT 16 01 20 00 00 00 07 ..."), std::string::npos) << all;
}

TEST_F(UnitSimProgramTest, RealtimeStillAnswersEveryFrame)
{
    const fs::path link = root / "tty";
    Program program({"--pty", link.string(), "--realtime", "--fault", "noise"});
    ASSERT_EQ(program.firstLine(), "veskar-unit-sim: serving " + link.string() + "\n");
    const int port = OpenPort(link);
    ASSERT_GE(port, 0);
    for (const Bytes& frame : {Pc(kCmdLinkFirstPass), Pc(kCmdReadVoices), Pc(kCmdData, 0)}) {
        ASSERT_EQ(::write(port, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
    }
    // Noise, ack, noise, ack, noise, data frame: the frames end the stream.
    const UnitMemory fresh = UnitMemory::Fresh();
    const Bytes data = BuildFrame(kSourceUnit, kCmdData, 0, std::span(fresh.voices).first(kBlockSize));
    Bytes got;
    while (got.size() < data.size() || !std::equal(data.rbegin(), data.rend(), got.rbegin())) {
        const Bytes more = ReadBytes(port, 1);
        if (more.empty())
            break;
        got.insert(got.end(), more.begin(), more.end());
    }
    ASSERT_GE(got.size(), data.size() + 14);
    EXPECT_TRUE(std::equal(data.rbegin(), data.rend(), got.rbegin()));
    ::close(port);
    const Finished run = program.finish(SIGINT);
    EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0) << run.err;
}

TEST_F(UnitSimProgramTest, RefusesBadUsageAndBadStoresWithAMessage)
{
    fs::create_directories(root / "badstore");
    std::ofstream(root / "badstore" / kStoreVoicesFile) << "short";
    std::ofstream(root / "plainfile") << "x";
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{}, 2, "veskar-unit-sim: --pty PATH is required\n"},
        {{"--pty", (root / "t").string(), "--fault", "cut"},
         2,
         "veskar-unit-sim: fault 'cut' needs a number: cut=N\n"},
        {{"--pty", (root / "t").string(), "--store", (root / "badstore").string()},
         1,
         "veskar-unit-sim: " + (root / "badstore" / kStoreVoicesFile).string() +
             ": holds 5 bytes; it must hold a multiple of 4096 bytes, at most 2048000\n"},
        {{"--pty", (root / "plainfile").string()},
         1,
         "veskar-unit-sim: " + (root / "plainfile").string() +
             ": exists and is not a symlink; not replacing it\n"},
    };
    for (const Case& c : cases) {
        Program program(c.arguments);
        const Finished run = program.finish();
        EXPECT_TRUE(WIFEXITED(run.status)) << c.message;
        EXPECT_EQ(WEXITSTATUS(run.status), c.status) << c.message;
        EXPECT_EQ(run.err, c.message);
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(fs::file_size(root / "badstore" / kStoreVoicesFile), 5U);
    EXPECT_EQ(fs::file_size(root / "plainfile"), 1U);
    EXPECT_FALSE(fs::exists(fs::symlink_status(root / "t")));
}

} // namespace
} // namespace veskar
