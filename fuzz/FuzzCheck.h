#pragma once

#include <cstdio>
#include <cstdlib>

// An invariant of the code under test that must hold for every input. A
// broken one aborts, so that libFuzzer keeps the input as a crash reproducer
// and names the check that failed.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
