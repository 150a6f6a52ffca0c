#pragma once

// The line trace of one transfer, appended to a file so that earlier traces
// are never lost: a heading line "# 20261207-103512 write configuration on
// COM1 (/dev/ttyUSB0)", then the lines of LineTrace.

#include "database/FileWriting.h"
#include "programming/LineTrace.h"

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace veskar {

inline constexpr std::string_view kTraceFileName = "veskar-trace.txt";

class TraceFile {
  public:
    // False when the file cannot be opened for appending (problem() says why); nothing is traced then.
    [[nodiscard]] bool Open(const std::filesystem::path& path, std::string_view heading, const Clock& clock,
                            std::time_t when);
    // False when some of the trace could not be written (a full disk).
    bool Close();

    // What to hand the engine: the trace while open, else nullptr.
    [[nodiscard]] LineWatcher* watcher() { return trace_ ? &*trace_ : nullptr; }
    // Why the last Open failed.
    [[nodiscard]] FileProblem problem() const { return problem_; }

  private:
    AppendFile file_;
    FileProblem problem_ = FileProblem::None;
    std::optional<LineTrace> trace_;
};

// What to tell the user when the trace could not be opened; the transfer goes on.
[[nodiscard]] std::string TraceFailureText(const std::filesystem::path& path,
                                           FileProblem problem = FileProblem::None);
// ... and when part of it was lost.
[[nodiscard]] std::string TraceIncompleteText(const std::filesystem::path& path);

} // namespace veskar
