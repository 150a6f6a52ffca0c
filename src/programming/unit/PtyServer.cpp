#include "programming/unit/PtyServer.h"

#include "programming/LineTrace.h"
#include "programming/unit/SimulatedUnit.h"
#include "programming/unit/UnitStore.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace veskar {

namespace {

using Nanoseconds = std::int64_t;

constexpr Nanoseconds kMillisecond = 1'000'000;
// One byte at 38400 baud 8N1 is ten bits: 260.4 us. Kept as a ratio so a
// schedule of many bytes does not drift.
constexpr Nanoseconds kBitsPerByteTimesNs = 10LL * 1'000'000'000;
constexpr Nanoseconds kBaud = 38400;
constexpr Nanoseconds kByteTime = kBitsPerByteTimesNs / kBaud;
constexpr Nanoseconds kTurnaround = 3 * kMillisecond;
// Without the PC side the master reports a hang-up at once; look again after this.
constexpr Nanoseconds kReconnectPoll = 50 * kMillisecond;
// Bytes due on the simulated wire are handled in batches at most this often, as
// a UART's FIFO would hand them over; it keeps the wake-ups to a thousand a second.
constexpr Nanoseconds kBatch = kMillisecond;
// A frame from the PC arrives in one go; a gap this long inside one means the rest is lost.
constexpr Nanoseconds kFrameGap = 500 * kMillisecond;

volatile std::sig_atomic_t g_stop = 0;

extern "C" void OnStopSignal(int)
{
    g_stop = 1;
}

Nanoseconds Now()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<Nanoseconds>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

void Fail(const std::string& what)
{
    std::fprintf(stderr, "veskar-unit-sim: %s\n", what.c_str());
}

std::string Errno(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

// Bytes on a simulated wire: byte i is complete at `start` + i byte times,
// rounded up to the nanosecond.
class WireSchedule {
  public:
    void begin(Nanoseconds start)
    {
        start_ = start;
        index_ = 0;
    }
    [[nodiscard]] Nanoseconds due() const { return at(index_); }
    void advance(std::size_t bytes, Nanoseconds now)
    {
        index_ += static_cast<Nanoseconds>(bytes);
        lastBatch_ = now;
    }
    // When to look again: at the next byte, but not sooner than a batch after the last one.
    [[nodiscard]] Nanoseconds wakeUp() const { return std::max(due(), lastBatch_ + kBatch); }
    // How many of the bytes from the next one on are complete by `now`.
    [[nodiscard]] std::size_t dueBy(Nanoseconds now) const
    {
        if (now < due())
            return 0;
        const Nanoseconds last = (now - start_) * kBaud / kBitsPerByteTimesNs;
        return static_cast<std::size_t>(last - index_ + 1);
    }

  private:
    [[nodiscard]] Nanoseconds at(Nanoseconds index) const
    {
        return start_ + (index * kBitsPerByteTimesNs + kBaud - 1) / kBaud;
    }

    Nanoseconds start_ = 0;
    Nanoseconds index_ = 0;
    Nanoseconds lastBatch_ = 0;
};

class Server {
  public:
    explicit Server(const UnitSimOptions& options) : options_(options) {}
    ~Server();

    [[nodiscard]] bool setUp();
    // Until SIGINT or SIGTERM (true) or a failure of the terminal (false).
    [[nodiscard]] bool run();

  private:
    [[nodiscard]] bool openTerminal();
    [[nodiscard]] bool linkPath();
    void trace(FrameDirection direction, std::span<const Byte> frame);
    void readInput(Nanoseconds now);
    void feedUnit(std::span<const Byte> bytes, Nanoseconds now);
    void deliverDueInput(Nanoseconds now);
    void queueOutput(const std::vector<Byte>& bytes, Nanoseconds now);
    void releaseHeldReplies(Nanoseconds now);
    void writeDueOutput(Nanoseconds now);
    void dropLine();
    [[nodiscard]] std::optional<Nanoseconds> nextWakeUp(Nanoseconds now) const;

    const UnitSimOptions& options_;
    UnitMemory memory_;
    std::optional<SimulatedUnit> unit_;
    int master_ = -1;
    std::string slavePath_;
    bool linked_ = false;
    std::FILE* trace_ = nullptr;
    Nanoseconds started_ = Now();

    bool connected_ = false;
    std::deque<Byte> inbound_; // realtime: read but still on the simulated wire
    WireSchedule inboundWire_;
    std::deque<Byte> outbound_;
    WireSchedule outboundWire_;
    // Under the slow fault: each reply with the time it may leave.
    std::deque<std::pair<Nanoseconds, std::vector<Byte>>> held_;
    Nanoseconds lastArrival_ = 0; // the last byte handed to the unit
    bool frameGapSeen_ = true;
};

Server::~Server()
{
    if (linked_) {
        // Only our own link: another instance may have taken the name since.
        std::error_code failure;
        if (std::filesystem::read_symlink(options_.ptyPath, failure) == slavePath_)
            std::filesystem::remove(options_.ptyPath, failure);
    }
    if (master_ >= 0)
        ::close(master_);
    if (trace_)
        std::fclose(trace_);
}

bool Server::setUp()
{
    if (!options_.storeFolder.empty()) {
        std::string error;
        if (!LoadUnitStore(options_.storeFolder, memory_, error)) {
            Fail(error);
            return false;
        }
    } else {
        memory_ = UnitMemory::Fresh();
    }
    if (!options_.traceFile.empty()) {
        trace_ = std::fopen(options_.traceFile.c_str(), "a");
        if (!trace_) {
            Fail(Errno(options_.traceFile));
            return false;
        }
    }

    unit_.emplace(memory_, options_.faults);
    unit_->onFrame = [this](FrameDirection direction, std::span<const Byte> frame) {
        trace(direction, frame);
    };
    if (!options_.storeFolder.empty()) {
        unit_->onStored = [this] {
            std::string error;
            if (!SaveUnitStore(options_.storeFolder, memory_, error))
                Fail(error);
        };
    }
    return openTerminal() && linkPath();
}

bool Server::openTerminal()
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        Fail(Errno("cannot create a pseudo-terminal"));
        return false;
    }
    const char* name = ::ptsname(master_);
    if (!name) {
        Fail(Errno("cannot name the pseudo-terminal"));
        return false;
    }
    slavePath_ = name;

    // Raw from the start, so whatever opens it before setting its own modes sees
    // no echo and no line editing. The settings stay with the terminal after close.
    const int slave = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) {
        Fail(Errno(slavePath_));
        return false;
    }
    termios modes{};
    const bool raw = ::tcgetattr(slave, &modes) == 0 && (::cfmakeraw(&modes), true) &&
                     ::cfsetspeed(&modes, B38400) == 0 && ::tcsetattr(slave, TCSANOW, &modes) == 0;
    if (!raw)
        Fail(Errno("cannot set raw mode on " + slavePath_));
    ::close(slave);
    if (!raw)
        return false;

    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    return true;
}

// A symlink left by an earlier run is replaced in one rename, so the name never
// points nowhere; anything else at that name is not ours to remove.
bool Server::linkPath()
{
    const std::filesystem::path path = options_.ptyPath;
    std::error_code failure;
    const auto status = std::filesystem::symlink_status(path, failure);
    if (std::filesystem::exists(status) && !std::filesystem::is_symlink(status)) {
        Fail(path.string() + ": exists and is not a symlink; not replacing it");
        return false;
    }
    std::filesystem::path temporary = path;
    temporary += ".linking-" + std::to_string(::getpid());
    std::filesystem::remove(temporary, failure);
    if (::symlink(slavePath_.c_str(), temporary.c_str()) != 0) {
        Fail(Errno(path.string() + ": cannot create the symlink"));
        return false;
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        Fail(Errno(path.string() + ": cannot create the symlink"));
        ::unlink(temporary.c_str());
        return false;
    }
    linked_ = true;
    return true;
}

void Server::trace(FrameDirection direction, std::span<const Byte> frame)
{
    if (!trace_)
        return;
    const auto milliseconds = static_cast<std::uint64_t>((Now() - started_) / kMillisecond);
    const std::string line = TraceLine(milliseconds, direction, frame);
    std::fprintf(trace_, "%s\n", line.c_str());
    std::fflush(trace_);
}

// What the PC wrote before it closed still reaches the unit (an end of transfer
// must not be lost); the replies have nobody to go to.
void Server::dropLine()
{
    if (!connected_)
        return;
    connected_ = false;
    if (!inbound_.empty()) {
        const std::vector<Byte> rest(inbound_.begin(), inbound_.end());
        inbound_.clear();
        (void)unit_->receive(rest);
    }
    outbound_.clear();
    held_.clear();
    unit_->lineDropped();
}

void Server::readInput(Nanoseconds now)
{
    Byte buffer[8192];
    for (;;) {
        const ssize_t got = ::read(master_, buffer, sizeof buffer);
        if (got > 0) {
            connected_ = true;
            const std::span<const Byte> bytes(buffer, static_cast<std::size_t>(got));
            if (!options_.realtime) {
                feedUnit(bytes, now);
                continue;
            }
            // The bytes are in the unit only once the wire could have carried them.
            if (inbound_.empty())
                inboundWire_.begin(std::max(now + kByteTime, inboundWire_.due()));
            inbound_.insert(inbound_.end(), bytes.begin(), bytes.end());
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        dropLine(); // EIO: nobody holds the terminal open any more
        return;
    }
}

void Server::deliverDueInput(Nanoseconds now)
{
    const std::size_t due = std::min(inboundWire_.dueBy(now), inbound_.size());
    if (due == 0)
        return;
    const std::vector<Byte> bytes(inbound_.begin(), inbound_.begin() + static_cast<std::ptrdiff_t>(due));
    inbound_.erase(inbound_.begin(), inbound_.begin() + static_cast<std::ptrdiff_t>(due));
    inboundWire_.advance(due, now);
    feedUnit(bytes, now);
}

void Server::feedUnit(std::span<const Byte> bytes, Nanoseconds now)
{
    lastArrival_ = now;
    frameGapSeen_ = false;
    std::vector<Byte> reply = unit_->receive(bytes);
    if (options_.faults.slowReplyMs > 0 && !reply.empty()) {
        held_.emplace_back(now + options_.faults.slowReplyMs * kMillisecond, std::move(reply));
        return;
    }
    queueOutput(reply, now);
}

void Server::releaseHeldReplies(Nanoseconds now)
{
    while (!held_.empty() && held_.front().first <= now) {
        queueOutput(held_.front().second, now);
        held_.pop_front();
    }
}

void Server::queueOutput(const std::vector<Byte>& bytes, Nanoseconds now)
{
    if (bytes.empty())
        return;
    if (outbound_.empty())
        outboundWire_.begin(std::max(now + kTurnaround + kByteTime, outboundWire_.due()));
    outbound_.insert(outbound_.end(), bytes.begin(), bytes.end());
    writeDueOutput(now);
}

void Server::writeDueOutput(Nanoseconds now)
{
    while (!outbound_.empty()) {
        std::size_t count =
            options_.realtime ? std::min(outboundWire_.dueBy(now), outbound_.size()) : outbound_.size();
        if (count == 0)
            return;
        Byte buffer[8192];
        count = std::min(count, sizeof buffer);
        std::copy_n(outbound_.begin(), count, buffer);
        const ssize_t written = ::write(master_, buffer, count);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK)
                dropLine();
            return;
        }
        outbound_.erase(outbound_.begin(), outbound_.begin() + written);
        outboundWire_.advance(static_cast<std::size_t>(written), now);
    }
}

std::optional<Nanoseconds> Server::nextWakeUp(Nanoseconds now) const
{
    std::optional<Nanoseconds> at;
    const auto consider = [&at](Nanoseconds t) { at = at ? std::min(*at, t) : t; };
    if (!inbound_.empty())
        consider(inboundWire_.wakeUp());
    if (!outbound_.empty() && options_.realtime)
        consider(outboundWire_.wakeUp());
    if (!frameGapSeen_ && inbound_.empty())
        consider(lastArrival_ + kFrameGap);
    if (!held_.empty())
        consider(held_.front().first);
    if (at && *at < now)
        return now;
    return at;
}

bool Server::run()
{
    std::printf("veskar-unit-sim: serving %s\n", options_.ptyPath.c_str());
    std::fflush(stdout);

    sigset_t waitMask;
    ::sigprocmask(SIG_SETMASK, nullptr, &waitMask);
    ::sigdelset(&waitMask, SIGINT);
    ::sigdelset(&waitMask, SIGTERM);

    while (!g_stop) {
        const Nanoseconds now = Now();
        pollfd fd{master_, POLLIN, 0};
        if (!outbound_.empty() && (!options_.realtime || outboundWire_.wakeUp() <= now))
            fd.events |= POLLOUT;
        const std::optional<Nanoseconds> wake = nextWakeUp(now);
        timespec timeout{};
        if (wake) {
            const Nanoseconds wait = *wake - now;
            timeout = {static_cast<time_t>(wait / 1'000'000'000), static_cast<long>(wait % 1'000'000'000)};
        }
        const int ready = ::ppoll(&fd, 1, wake ? &timeout : nullptr, &waitMask);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            Fail(Errno("poll"));
            return false;
        }

        const Nanoseconds after = Now();
        if (fd.revents & (POLLIN | POLLHUP | POLLERR))
            readInput(after);
        if (fd.revents & (POLLHUP | POLLERR)) {
            // The PC side has closed the terminal; until it opens it again the
            // hang-up stays set, so wait a little rather than spin.
            dropLine();
            const timespec pause{0, static_cast<long>(kReconnectPoll)};
            ::ppoll(nullptr, 0, &pause, &waitMask);
            continue;
        }
        deliverDueInput(after);
        releaseHeldReplies(after);
        writeDueOutput(after);
        if (!frameGapSeen_ && inbound_.empty() && after - lastArrival_ >= kFrameGap) {
            frameGapSeen_ = true;
            unit_->lineIdle();
        }
    }
    return true;
}

} // namespace

int ServeOnPty(const UnitSimOptions& options)
{
    // Signals are blocked except while waiting, so a stop request is never lost between checks.
    struct sigaction stop {};
    stop.sa_handler = OnStopSignal;
    ::sigemptyset(&stop.sa_mask);
    ::sigaction(SIGINT, &stop, nullptr);
    ::sigaction(SIGTERM, &stop, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    sigset_t blocked;
    ::sigemptyset(&blocked);
    ::sigaddset(&blocked, SIGINT);
    ::sigaddset(&blocked, SIGTERM);
    ::sigprocmask(SIG_BLOCK, &blocked, nullptr);

    Server server(options);
    if (!server.setUp())
        return 1;
    return server.run() ? 0 : 1;
}

} // namespace veskar
