#include "cli/CliCommand.h"

#include <csignal>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

// Questions are asked only when someone is there to answer them.
std::optional<bool> AskOnTerminal(std::string_view question)
{
    if (isatty(STDIN_FILENO) != 1 || isatty(STDERR_FILENO) != 1)
        return std::nullopt;
    std::cerr << question << " [y/N] " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer))
        return false;
    return answer == "y" || answer == "Y" || answer == "yes";
}

} // namespace

int main(int argc, char** argv)
{
    // A file size limit fails the write, which is reported, instead of killing the program mid-save.
    std::signal(SIGXFSZ, SIG_IGN);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return veskar::cli::RunCli(arguments, {std::cout, std::cerr, AskOnTerminal});
}
