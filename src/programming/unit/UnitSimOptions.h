#pragma once

// Command line of veskar-unit-sim and the text of its trace, apart from the
// program so both can be tested without a terminal.

#include "programming/unit/SimulatedUnit.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veskar {

struct UnitSimOptions {
    std::string ptyPath;
    std::string storeFolder; // empty: memory lives only as long as the program
    std::string traceFile;   // empty: no trace
    bool realtime = false;
    UnitFaults faults;
};

enum class UnitSimParse { Run, Help, Version, Bad };

// On Bad, `error` is one line saying what was wrong.
[[nodiscard]] UnitSimParse ParseUnitSimArguments(std::span<const std::string_view> arguments,
                                                 UnitSimOptions& options, std::string& error);

// Applies one `--fault` value ("silent", "ignore=3", ...); false with `error` set when unknown or malformed.
[[nodiscard]] bool ApplyFault(std::string_view fault, UnitFaults& faults, std::string& error);

[[nodiscard]] std::string UnitSimUsage();

} // namespace veskar
