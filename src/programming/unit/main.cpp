// veskar-unit-sim: a simulated unit on a pseudo-terminal, for development,
// tests and demonstrations without the hardware.

#include "about/ProjectVersion.h"
#include "programming/unit/PtyServer.h"
#include "programming/unit/UnitSimOptions.h"

#include <cstdio>
#include <string_view>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    veskar::UnitSimOptions options;
    std::string error;
    switch (veskar::ParseUnitSimArguments(arguments, options, error)) {
    case veskar::UnitSimParse::Help: std::fputs(veskar::UnitSimUsage().c_str(), stdout); return 0;
    case veskar::UnitSimParse::Version:
        std::fputs(veskar::VersionText("veskar-unit-sim").c_str(), stdout);
        return 0;
    case veskar::UnitSimParse::Bad: std::fprintf(stderr, "veskar-unit-sim: %s\n", error.c_str()); return 2;
    case veskar::UnitSimParse::Run: break;
    }
    return veskar::ServeOnPty(options);
}
