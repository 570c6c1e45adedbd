// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>

// A property the storage core must keep whatever the input: when it breaks,
// say which one and stop with a trap, so that libFuzzer keeps the input as a
// crash.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition);           \
            __builtin_trap();                                                                      \
        }                                                                                          \
    } while (false)
