#!/usr/bin/env bash
# Installs what is missing, builds Brevio with its tests and runs them all.
#   test.sh              the normal build, in build/
#   test.sh --sanitize   with AddressSanitizer and UndefinedBehaviorSanitizer, in build-asan/
# The benchmarks are built too, so that they keep compiling; they are not run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test

build=build
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DBREVIO_BENCHMARKS=ON)
if [[ "${1:-}" == --sanitize ]]; then
    build=build-asan
    options=(-DCMAKE_BUILD_TYPE=Debug -DBREVIO_SANITIZE=ON -DBUILD_TESTING=ON -DBREVIO_BENCHMARKS=ON)
    # Qt and fontconfig keep some memory until exit; the project's own leaks still count.
    export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi

cmake -S . -B "$build" "${options[@]}" >/dev/null
cmake --build "$build" -j2
ctest --test-dir "$build" --output-on-failure --no-tests=error -j2
