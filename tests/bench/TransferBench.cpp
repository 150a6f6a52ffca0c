// make bench: transfers against veskar-unit-sim --realtime on a pseudo-terminal,
// through veskar-cli's own code, measured against the protocol's floor.

#include "ProtocolFloor.h"
#include "cli/CliCommand.h"
#include "database/DataFile.h"
#include "database/Defaults.h"
#include "support/ChildProcess.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <sys/resource.h>

namespace {

namespace fs = std::filesystem;
using namespace veskar;

// Measures the longest single event dispatch: while one runs, the loop stands still.
class TimedApplication final : public QCoreApplication {
public:
    using QCoreApplication::QCoreApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        if (depth_++ > 0) {
            const bool handled = QCoreApplication::notify(receiver, event);
            --depth_;
            return handled;
        }
        QElapsedTimer timer;
        timer.start();
        const bool handled = QCoreApplication::notify(receiver, event);
        longestNs_ = std::max(longestNs_, timer.nsecsElapsed());
        --depth_;
        return handled;
    }

    qint64 takeLongestNs() { return std::exchange(longestNs_, 0); }

private:
    int depth_ = 0;
    qint64 longestNs_ = 0;
};

double CpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

std::vector<std::string> LinesFrom(const fs::path& file, std::size_t skip)
{
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(std::min(skip, lines.size())));
    return lines;
}

struct Run {
    const char* name;
    bench::TransferKind kind;
    std::vector<std::string> arguments;
};

}  // namespace

int main(int argc, char** argv)
{
    TimedApplication application(argc, argv);
    const fs::path folder = fs::temp_directory_path() / ("veskar-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string port = (folder / "unit").string();
    const fs::path trace = folder / "trace.txt";

    Image image{};
    CreateDatabase(image);
    if (WriteImageFile(folder / "config.dat", image) != FileError::None)
        return 1;
    std::vector<char> voices(64 * 4096);
    for (std::size_t i = 0; i < voices.size(); ++i)
        voices[i] = static_cast<char>(i % 251);
    std::ofstream(folder / "voices.msg", std::ios::binary).write(voices.data(), static_cast<std::streamsize>(voices.size()));

    testing::ChildProcess unit(VESKAR_UNIT_SIM, {"--pty", port, "--realtime", "--trace", trace.string()});
    if (unit.firstLine().find("serving") == std::string::npos) {
        std::cerr << "transfer-bench: veskar-unit-sim did not start\n";
        return 1;
    }

    const Run runs[] = {
        {"configuration write", bench::TransferKind::Write, {"write-config", (folder / "config.dat").string()}},
        {"configuration read", bench::TransferKind::Read, {"read-config", (folder / "read.dat").string()}},
        {"voice write, 64 blocks", bench::TransferKind::VoiceWrite, {"write-voices", (folder / "voices.msg").string()}},
    };

    std::printf("%-24s %10s %10s %7s %7s %14s\n", "transfer", "elapsed", "floor", "ratio", "CPU", "longest stall");
    bool allMet = true;
    for (const Run& run : runs) {
        std::vector<std::string> arguments = {"--port", port};
        arguments.insert(arguments.end(), run.arguments.begin(), run.arguments.end());
        const std::size_t traceLines = LinesFrom(trace, 0).size();
        std::ostringstream out;
        std::ostringstream err;

        application.takeLongestNs();
        const double cpuBefore = CpuSeconds();
        const auto started = std::chrono::steady_clock::now();
        const int status = cli::RunCli(arguments, {out, err});
        const double elapsedMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
        const double cpuShare = (CpuSeconds() - cpuBefore) * 1000.0 / elapsedMs;
        const double stallMs = static_cast<double>(application.takeLongestNs()) / 1e6;
        if (status != cli::kExitSuccess) {
            std::cerr << run.name << " failed:\n" << err.str();
            return 1;
        }
        const double floorMs = bench::FloorMilliseconds(bench::ParseTrace(LinesFrom(trace, traceLines)), run.kind);
        const double ratio = elapsedMs / floorMs;
        const bool met = ratio <= 1.02 && cpuShare <= 0.02 && stallMs <= 20;
        allMet = allMet && met;
        std::printf("%-24s %8.3f s %8.3f s %7.4f %6.2f %% %11.2f ms%s\n", run.name, elapsedMs / 1000, floorMs / 1000,
                    ratio, cpuShare * 100, stallMs, met ? "" : "  (target missed)");
    }
    std::printf("targets: ratio <= 1.02, CPU <= 2 %% of one core, no stall over 20 ms: %s\n",
                allMet ? "met" : "NOT met");
    unit.finish(SIGTERM);
    fs::remove_all(folder);
    return 0;
}
