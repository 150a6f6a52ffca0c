#pragma once

// One sub-command of veskar-cli: its name, usage line, one-line summary,
// longer help and the function that runs it.

#include <functional>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veskar::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1; // a difference, a failed transfer; for file commands a refused file
inline constexpr int kExitUsage = 2;   // bad usage; for transfers a refused file

// An output named so goes to standard output, where a command can write there.
inline constexpr std::string_view kStandardOutput = "-";

struct Streams {
    std::ostream& out;
    std::ostream& err;
    // Asks a yes/no question on a terminal; empty, or nothing returned, when there is none to ask on.
    std::function<std::optional<bool>(std::string_view question)> ask = {};
};

// The options a command may be given, combinable.
enum CliOption : unsigned {
    kOptionPort = 1,     // --port NAME
    kOptionTrace = 2,    // --trace FILE
    kOptionNoBackup = 4, // --no-backup
    kOptionYes = 8,      // --yes
    kOptionKind = 16,    // --kind KIND
    kOptionPdf = 32,     // --pdf FILE
};

struct Invocation {
    std::string command;
    std::vector<std::string> arguments; // after the command name, exactly as many as the usage names
    std::string port;                   // empty when not given
    std::string trace;                  // empty: no trace
    bool backup = true;
    bool yes = false; // no confirmation asked
    std::string kind; // empty when not given
    std::string pdf;  // empty when not given
};

struct CliCommand {
    std::string_view name;
    std::string_view usage; // the arguments after the command name, options in brackets
    std::string_view summary;
    std::string_view details;
    int (*run)(const Invocation& invocation, const Streams& streams);
    unsigned options = 0; // the CliOption values it takes
    unsigned writes = 0;  // bit i set: arguments[i] is written; the others are read
};

[[nodiscard]] std::span<const CliCommand> FileCommands();
// The summary pages and the configuration warnings of a data file.
[[nodiscard]] std::span<const CliCommand> ReportCommands();
// Transfers with the unit over --port NAME (COM1..COM8 or a device path).
[[nodiscard]] std::span<const CliCommand> TransferCommands();

// Entry point shared by main() and the tests.
int RunCli(std::span<const std::string> arguments, const Streams& streams);

} // namespace veskar::cli
