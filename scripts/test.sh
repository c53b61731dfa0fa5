#!/usr/bin/env bash
# Sets everything up on a fresh machine and runs every test twice: as shipped (optimised, with
# assertions) and under AddressSanitizer and UndefinedBehaviorSanitizer. Any failure fails.
set -euo pipefail
cd "$(dirname "$0")/.."

# Scratch files of each run go into its build directory, away from any other checkout's runs.
scratch() { mkdir -p "$1/scratch" && export TEST_TMPDIR=$PWD/$1/scratch/; }

scripts/setup.sh build
scripts/check_format.sh
scratch build
ctest --test-dir build --output-on-failure -j2 --timeout 600
# The heatmap and report of the example, rendered in a real browser.
scripts/browser_check.sh build

# Death tests abort on purpose: the sanitizers must let SIGABRT through untouched. Exhausted
# storage must come back as a null pointer so that the code under test can report it.
export ASAN_OPTIONS=halt_on_error=1:handle_abort=0:detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# Unoptimised: the instrumented build compiles much faster and the suite runs in seconds anyway.
scripts/setup.sh build-asan -DTOOLKIT_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
scratch build-asan
ctest --test-dir build-asan --output-on-failure -j2 --timeout 900

# Fuzzing: each reader of user input from its seeds, a fixed seed and number of executions
# (about 30 seconds a target); any finding fails.
fuzz/run.sh

# The whole suite again, cross-built for 64-bit ARM and run under qemu-user: the same bits there.
scripts/arm64.sh
