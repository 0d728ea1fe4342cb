#pragma once

#include <cstdio>
#include <cstdlib>

// A broken invariant ends the run like a crash, so libFuzzer keeps the input that broke it.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: %s does not hold\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)
