#!/bin/sh
# The whole test run, as the README's test command and CI call it, with compiler warnings as
# errors:
#   0. every source kept in the one style of .clang-format;
#   1. the suite built with the default compiler (gcc) in build/;
#   2. the suite again, built with clang under AddressSanitizer and UndefinedBehaviorSanitizer
#      in build-asan/ (only what the tests need; the install and package test is left out there);
#   3. every fuzz target of that tree for Q57_FUZZ_SECONDS (45 s) from its seed corpus, two at a
#      time.
# A failing test, a sanitizer report or a fuzz crash ends the run with a non-zero status.
set -eu
cd "$(dirname "$0")/.."

git ls-files -z 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'tools/*.cpp' 'tools/*.h' \
    'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h' | xargs -0 clang-format --dry-run -Werror

cmake -S . -B build -DQ57_WERROR=ON
cmake --build build -j2
ctest --test-dir build --output-on-failure

# -O1 keeps the sanitized build and its tests quick; line tables are enough for stack traces.
cmake -S . -B build-asan -DCMAKE_CXX_COMPILER=clang++ -DQ57_FUZZ=ON -DQ57_WERROR=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake --build build-asan -j2 --target test_programs

# How the sanitizers report, for these runs only: stop at the first report with a non-zero
# status, and leave out the leaks of system libraries listed, with their reasons, in lsan.supp.
ASAN_OPTIONS="halt_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1"
UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
LSAN_OPTIONS="suppressions=$(pwd)/tools/lsan.supp:print_suppressions=0"
export ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS
ctest --test-dir build-asan --output-on-failure --label-exclude "fuzz|install"
ctest --test-dir build-asan --output-on-failure --label-regex fuzz -j2
