#include "cli/CliCommand.h"

#include <algorithm>
#include <ostream>
#include <vector>

namespace veskar::cli {

namespace {

constexpr std::string_view kToolName = "veskar-cli";

std::vector<const CliCommand*> AllCommands()
{
    std::vector<const CliCommand*> commands;
    for (const CliCommand& command : FileCommands())
        commands.push_back(&command);
    for (const CliCommand& command : ReportCommands())
        commands.push_back(&command);
    for (const CliCommand& command : TransferCommands())
        commands.push_back(&command);
    return commands;
}

// Words of the usage outside "[...]": the arguments every call gives. A command
// with bracketed options checks the rest of its arguments itself.
int UsageWordCount(std::string_view usage)
{
    int words = 0;
    int depth = 0;
    bool inWord = false;
    for (char c : usage) {
        depth += c == '[' ? 1 : c == ']' ? -1 : 0;
        const bool wordChar = c != ' ' && c != '[' && c != ']';
        if (wordChar && !inWord && depth == 0)
            ++words;
        inWord = wordChar;
    }
    return words;
}

bool HasOptions(std::string_view usage)
{
    return usage.find('[') != std::string_view::npos;
}

void PrintToolHelp(std::ostream& out)
{
    out << "Usage: " << kToolName << " [--port NAME] [--yes] COMMAND ARGUMENTS...\n"
        << "       " << kToolName << " COMMAND --help\n\n"
        << "Reads, writes and compares configuration data files (.dat), and transfers\n"
        << "configurations, vocabularies and voices to and from the unit over a serial\n"
        << "port. --port NAME is COM1..COM8 or a device path; without it the port saved\n"
        << "in Veskar.cfg is used. COMn maps to a device through the [Ports] group of\n"
        << "CorvaneVeskar.ini (e.g. COM1=/dev/ttyUSB0).\n\nCommands:\n";
    for (const CliCommand* command : AllCommands()) {
        std::string left = std::string(command->name) + " " + std::string(command->usage);
        left.resize(std::max<std::size_t>(left.size() + 2, 30), ' ');
        out << "  " << left << command->summary << "\n";
    }
    out << "\nExit status: 0 success; 1 differences or a failed transfer, and a refused\n"
        << "file for the file commands; 2 bad usage, and a refused file for transfers.\n"
        << "warnings: 0 none, 1 there are warnings, 2 a refused file.\n";
}

void PrintCommandHelp(const CliCommand& command, std::ostream& out)
{
    out << "Usage: " << kToolName << " " << command.name << " " << command.usage << "\n\n"
        << command.details << "\n";
}

int BadUsage(std::string_view problem, Streams streams)
{
    streams.err << kToolName << ": " << problem << "\nTry '" << kToolName << " --help'.\n";
    return kExitUsage;
}

} // namespace

int RunCli(std::span<const std::string> arguments, Streams streams)
{
    Invocation invocation;
    std::size_t next = 0;
    while (next < arguments.size() && arguments[next].starts_with("--")) {
        const std::string& option = arguments[next];
        if (option == "--help") {
            PrintToolHelp(streams.out);
            return kExitSuccess;
        }
        if (option == "--yes") {
            invocation.yes = true;
            ++next;
            continue;
        }
        if (option == "--port" && next + 1 < arguments.size()) {
            invocation.port = arguments[next + 1];
            next += 2;
            continue;
        }
        return BadUsage("unknown option '" + option + "'", streams);
    }
    if (next == arguments.size())
        return BadUsage("no command given", streams);

    const std::string& name = arguments[next++];
    const auto commands = AllCommands();
    const auto found = std::ranges::find(commands, name, &CliCommand::name);
    if (found == commands.end())
        return BadUsage("unknown command '" + name + "'", streams);
    const CliCommand& command = **found;

    const auto rest = arguments.subspan(next);
    if (std::ranges::find(rest, std::string("--help")) != rest.end()) {
        PrintCommandHelp(command, streams.out);
        return kExitSuccess;
    }
    const int required = UsageWordCount(command.usage);
    const int given = static_cast<int>(rest.size());
    if (given < required || (given > required && !HasOptions(command.usage)))
        return BadUsage("usage: " + std::string(kToolName) + " " + name + " " + std::string(command.usage), streams);
    invocation.arguments = rest;
    return command.run(invocation, streams);
}

} // namespace veskar::cli
