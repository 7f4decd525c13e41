# Every target of the project links project_options: the language standard, the warnings and
# the Qt hygiene switches live here once.
add_library(project_options INTERFACE)
target_compile_features(project_options INTERFACE cxx_std_20)
target_compile_options(project_options INTERFACE -Wall -Wextra -Wpedantic)
target_compile_definitions(project_options INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_URL_CAST_FROM_STRING
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_FOREACH
    QT_USE_QSTRINGBUILDER
    QT_DISABLE_DEPRECATED_BEFORE=0x060400
)

# `scripts/test.sh --sanitize` builds into build-sanitize/ with BILLING_SANITIZE: a memory error
# or undefined behaviour ends the test that meets it, so it cannot pass unnoticed.
option(BILLING_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
# `scripts/fuzz.sh` builds into build-fuzz/ with BILLING_FUZZ: the libFuzzer targets of
# tests/fuzz, and the library they link instrumented for libFuzzer under the same sanitizers.
option(BILLING_FUZZ "Build the libFuzzer targets of tests/fuzz (clang only)" OFF)

if(BILLING_FUZZ AND NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "BILLING_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++)")
endif()

if(BILLING_SANITIZE OR BILLING_FUZZ)
    set(sanitizers address,undefined)
    target_compile_options(project_options INTERFACE
        -fsanitize=${sanitizers} -fno-sanitize-recover=all -fno-omit-frame-pointer -O1
        $<$<BOOL:${BILLING_FUZZ}>:-fsanitize=fuzzer-no-link>)
    target_link_options(project_options INTERFACE -fsanitize=${sanitizers})
    # The standard library's own bounds and precondition checks, too.
    target_compile_definitions(project_options INTERFACE _GLIBCXX_ASSERTIONS)
endif()
