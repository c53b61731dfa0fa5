#!/usr/bin/env bash
# Sets everything up on a fresh machine and runs every test twice: as shipped (optimised, with
# assertions) and under AddressSanitizer and UndefinedBehaviorSanitizer. Any failure fails.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh build
scripts/check_format.sh
ctest --test-dir build --output-on-failure -j2 --timeout 600
# The heatmap and report of the example, rendered in a real browser.
scripts/browser_check.sh build

# Death tests abort on purpose: the sanitizers must let SIGABRT through untouched. Exhausted
# storage must come back as a null pointer so that the code under test can report it.
export ASAN_OPTIONS=halt_on_error=1:handle_abort=0:detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# Unoptimised: the instrumented build compiles much faster and the suite runs in seconds anyway.
scripts/setup.sh build-asan -DTOOLKIT_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
ctest --test-dir build-asan --output-on-failure -j2 --timeout 900

# Fuzzing: each reader of user input for 60 seconds from its seeds; any finding fails.
fuzz/run.sh 60

# The whole suite again, cross-built for 64-bit ARM and run under qemu-user: the same bits there.
scripts/arm64.sh
