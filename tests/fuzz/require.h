#pragma once

#include <cstdio>
#include <cstdlib>

// The fuzzers' one check: a broken invariant names itself and ends the run,
// so that libFuzzer keeps the input.
inline void require(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}
