// A property that must hold for every input: a failure stops the fuzzer with
// the input that broke it.
#pragma once
#include <cstdio>
#include <cstdlib>

#define FUZZCHECK(condition)                                                                      \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (0)
