#include "cli/TransferSession.h"

#include "cli/InterruptWatch.h"
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

// Ctrl+C stops at once when that changes nothing on the unit; when the unit
// already holds part of the new data it warns first and stops on the second.
void Interrupted(TransferEngine& engine, ConsoleProgress& progress, bool& warned)
{
    switch (engine.stopEffect()) {
    case StopEffect::None: progress.Note("The transfer is all but over; it ends in a moment."); return;
    case StopEffect::NothingChanged: engine.Stop(); return;
    case StopEffect::LeavesPartial: break;
    }
    if (warned) {
        engine.Stop();
        return;
    }
    warned = true;
    progress.Note(std::string(engine.stopConsequence()) + "\nPress Ctrl+C again to stop anyway.");
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
    // The trace is for support, not for the transfer's safety: without it the transfer goes on.
    TraceFile trace;
    if (!invocation.trace.empty() &&
        !trace.Open(invocation.trace, invocation.command + " on " + PortLabel(name, link.device()), clock,
                    std::time(nullptr)))
        streams.err << TraceFailureText(invocation.trace, trace.problem()) << "\n";
    ConsoleProgress progress(streams.err, IsTerminal(streams.err),
                             [&clock] { return std::chrono::milliseconds(clock.now()); });
    TransferEngine engine(link, clock, progress);
    engine.setLineWatcher(trace.watcher());
    link.setEvents(EngineEvents(engine));

    streams.err << "Port " << PortLabel(name, link.device()) << "\n";
    QEventLoop loop;
    progress.setEnded([&loop, &trace, &streams, &invocation] {
        if (!trace.Close())
            streams.err << TraceIncompleteText(invocation.trace) << "\n";
        loop.quit();
    });
    bool warned = false;
    const InterruptWatch interrupts([&engine, &progress, &warned] { Interrupted(engine, progress, warned); });
    if (!start(engine, progress)) {
        progress.NotStarted();
        return engine.lastRefusal() == StartRefusal::File ? kExitUsage : kExitFailure;
    }
    if (!progress.result())
        loop.exec();
    return progress.result() == TransferResult::Succeeded ? kExitSuccess : kExitFailure;
}

} // namespace veskar::cli
