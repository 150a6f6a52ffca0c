#pragma once

// Runs one transfer from the command line: opens the named port through the
// real serial stack, drives the engine from a Qt event loop until the transfer
// ends, and turns the outcome into an exit status.

#include "cli/CliCommand.h"
#include "cli/ConsoleProgress.h"
#include "programming/TransferEngine.h"

#include <functional>
#include <string>

namespace veskar::cli {

// The port named by --port, else the one saved in "Veskar.cfg", else COM1.
[[nodiscard]] std::string ChosenPort(const Invocation& invocation);

// `start` begins the transfer and returns what the engine's Start call returned.
// Exit status: 0 success, 1 failed transfer or port, 2 refused file.
int RunTransfer(const Invocation& invocation, const Streams& streams,
                const std::function<bool(TransferEngine&, ConsoleProgress&)>& start);

} // namespace veskar::cli
