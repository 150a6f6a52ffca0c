#pragma once

// Command-availability flags: an editor window that would conflict with a
// main-window command clears its flag while open and restores it on close.
// The main window enables its menu items and toolbar buttons from them.

#include "widgets/CommandId.h"

namespace veskar {

struct CommandFlags {
    bool dirAon = true;
    bool dirBon = true;
    bool dirCon = true;
    bool dirDon = true;
    bool useron = true;
    bool genon = true;
    bool levelon = true;
    bool printon = true; // recomputed from the others whenever a command is enabled
    bool fileon = true;  // Open, Save, Save As and the clear command
    bool pgmon = true;
    bool defaulton = true;
    bool diron = true; // cleared while the summary window is open; no command reads it

    bool operator==(const CommandFlags&) const = default;
};

// The summary needs every directory, the levels and the users free.
[[nodiscard]] bool PrintAllowed(const CommandFlags& flags);

// Whether the flags allow the command; commands without a flag are always allowed.
[[nodiscard]] bool CommandAllowed(const CommandFlags& flags, CommandId id);

// Answer of the last discard-changes dialog: 0 = discard and close, 1 = keep editing.
inline unsigned char UniversalFlag = 0;

} // namespace veskar
