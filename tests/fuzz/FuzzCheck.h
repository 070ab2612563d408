#pragma once

#include <cstdio>
#include <cstdlib>

// A broken rule of the program stops the run at once with the rule and where it was checked,
// so libFuzzer keeps the input. Unlike assert it is never compiled out.
#define FUZZ_CHECK(condition, rule)                                                       \
    do {                                                                                  \
        if (!(condition)) {                                                               \
            std::fprintf(stderr, "%s:%d: broken: %s\n  (%s)\n", __FILE__, __LINE__, rule, \
                         #condition);                                                     \
            std::abort();                                                                 \
        }                                                                                 \
    } while (0)
