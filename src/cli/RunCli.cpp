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
    return commands;
}

int UsageWordCount(std::string_view usage)
{
    return usage.empty() ? 0 : static_cast<int>(std::ranges::count(usage, ' ')) + 1;
}

void PrintToolHelp(std::ostream& out)
{
    out << "Usage: " << kToolName << " [--port NAME] COMMAND ARGUMENTS...\n"
        << "       " << kToolName << " COMMAND --help\n\n"
        << "Reads, writes and compares configuration data files (.dat).\n\nCommands:\n";
    for (const CliCommand* command : AllCommands()) {
        std::string left = std::string(command->name) + " " + std::string(command->usage);
        left.resize(std::max<std::size_t>(left.size() + 2, 30), ' ');
        out << "  " << left << command->summary << "\n";
    }
    out << "\nExit status: 0 success, 1 refused file or differences, 2 bad usage.\n";
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

}  // namespace

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
    if (static_cast<int>(rest.size()) != UsageWordCount(command.usage))
        return BadUsage("usage: " + std::string(kToolName) + " " + name + " " + std::string(command.usage), streams);
    invocation.arguments = rest;
    return command.run(invocation, streams);
}

}  // namespace veskar::cli
