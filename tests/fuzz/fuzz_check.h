#pragma once

#include <QString>
#include <cstdio>
#include <cstdlib>

// A property every input must keep. When one does not, the run ends with the property and the
// values it was about, and libFuzzer keeps the input that broke it.
#define FUZZ_REQUIRE(condition, detail)                                                            \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "property failed: %s\n%s\n", #condition, qUtf8Printable(detail)); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
