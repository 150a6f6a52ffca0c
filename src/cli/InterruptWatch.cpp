#include "cli/InterruptWatch.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace veskar::cli {

namespace {

// A signal handler may only write to a descriptor: the loop reads the other end.
int gPipe[2] = {-1, -1};
struct sigaction gPrevious {};

void OnInterrupt(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(gPipe[1], &byte, 1);
}

} // namespace

InterruptWatch::InterruptWatch(std::function<void()> interrupted) : interrupted_(std::move(interrupted))
{
    if (::pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // Ctrl+C then ends the program as it always does
    notifier_ = std::make_unique<QSocketNotifier>(gPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
        char bytes[16];
        while (::read(gPipe[0], bytes, sizeof bytes) > 0) {
        }
        interrupted_();
    });
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, &gPrevious);
}

InterruptWatch::~InterruptWatch()
{
    if (!notifier_)
        return;
    ::sigaction(SIGINT, &gPrevious, nullptr);
    notifier_.reset();
    ::close(gPipe[0]);
    ::close(gPipe[1]);
    gPipe[0] = gPipe[1] = -1;
}

} // namespace veskar::cli
