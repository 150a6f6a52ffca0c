#include "cli/TransferSession.h"

#include "programming/PortDirectory.h"
#include "programming/PortMap.h"
#include "programming/PortSettings.h"
#include "programming/SerialPortLink.h"
#include "programming/SteadyClock.h"
#include "programming/TraceFile.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <ctime>
#include <filesystem>
#include <iostream>
#include <ostream>
#include <unistd.h>

namespace veskar::cli {

namespace {

void EnsureEventLoop()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "veskar-cli";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

bool IsTerminal(const std::ostream& stream)
{
    return &stream == &std::cerr && isatty(STDERR_FILENO) == 1;
}

} // namespace

std::string ChosenPort(const Invocation& invocation)
{
    if (!invocation.port.empty())
        return invocation.port;
    const auto cfg = ReadPortSettings(std::string(kPortSettingsFile));
    return PortName(cfg ? cfg->portIndex() : 0);
}

int RunTransfer(const Invocation& invocation, const Streams& streams,
                const std::function<bool(TransferEngine&, ConsoleProgress&)>& start)
{
    EnsureEventLoop();
    const std::string name = ChosenPort(invocation);
    std::error_code ignored;
    if (PortIndexFromName(name) < 0 && !std::filesystem::exists(name, ignored)) {
        streams.err << "veskar-cli: '" << name << "' is neither COM1..COM8 nor an existing device\n";
        return kExitUsage;
    }
    SteadyClock clock;
    SerialPortLink link(ResolvePortDevice(name), clock);
    TraceFile trace;
    if (!invocation.trace.empty() &&
        !trace.Open(invocation.trace, invocation.command + " on " + PortLabel(name, link.device()), clock,
                    std::time(nullptr))) {
        streams.err << invocation.trace << ": the trace cannot be written\n";
        return kExitUsage;
    }
    ConsoleProgress progress(streams.err, IsTerminal(streams.err),
                             [&clock] { return std::chrono::milliseconds(clock.now()); });
    TransferEngine engine(link, clock, progress);
    engine.setLineWatcher(trace.watcher());
    link.setEvents({[&engine](std::span<const Byte> bytes) { engine.bytesArrived(bytes); },
                    [&engine] { engine.writeFinished(); }, [&engine] { engine.timerFired(); }});

    streams.err << "Port " << PortLabel(name, link.device()) << "\n";
    QEventLoop loop;
    progress.setEnded([&loop] { loop.quit(); });
    if (!start(engine, progress)) {
        progress.NotStarted();
        return engine.lastRefusal() == StartRefusal::File ? kExitUsage : kExitFailure;
    }
    if (!progress.result())
        loop.exec();
    return progress.result() == TransferResult::Succeeded ? kExitSuccess : kExitFailure;
}

} // namespace veskar::cli
