#pragma once

// veskar-unit-sim's terminal side: a pseudo-terminal whose slave is reachable
// through a symlink, serving one SimulatedUnit until SIGINT or SIGTERM.

#include "programming/unit/UnitSimOptions.h"

#include <string>

namespace veskar {

// Returns the process exit status: 0 after a signal, 1 when the terminal or
// the store could not be set up (the message is on stderr).
[[nodiscard]] int ServeOnPty(const UnitSimOptions& options);

} // namespace veskar
