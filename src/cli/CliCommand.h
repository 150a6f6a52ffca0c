#pragma once

// One sub-command of veskar-cli: its name, usage line, one-line summary,
// longer help and the function that runs it.

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

namespace veskar::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // a difference, a failed transfer; for file commands a refused file
inline constexpr int kExitUsage = 2;    // bad usage; for transfers a refused file

struct Streams {
    std::ostream& out;
    std::ostream& err;
};

struct Invocation {
    std::span<const std::string> arguments;  // after the command name, exactly as many as the usage names
    std::string port;                        // --port NAME, empty when not given
};

struct CliCommand {
    std::string_view name;
    std::string_view usage;  // the arguments after the command name
    std::string_view summary;
    std::string_view details;
    int (*run)(const Invocation& invocation, Streams streams);
};

[[nodiscard]] std::span<const CliCommand> FileCommands();
// The summary pages and the configuration warnings of a data file.
[[nodiscard]] std::span<const CliCommand> ReportCommands();
// Transfers with the unit over --port NAME (COM1..COM8 or a device path).
[[nodiscard]] std::span<const CliCommand> TransferCommands();

// Entry point shared by main() and the tests.
int RunCli(std::span<const std::string> arguments, Streams streams);

}  // namespace veskar::cli
