#pragma once

// What a fuzz target does when a property does not hold: say which, and abort
// so that libFuzzer keeps the input (and the corpus replay test fails).

#include <cstdio>
#include <cstdlib>

namespace veskar::fuzz {

inline void Require(bool holds, const char* property)
{
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

} // namespace veskar::fuzz
