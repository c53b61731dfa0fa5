#!/usr/bin/env bash
# Cross-builds the whole project for 64-bit ARM Linux (into build-arm64/) and runs every test,
# goldens included, under qemu user-mode emulation: every output must match x86-64 bit for bit.
# Installs the missing Debian packages first (the cross compiler, qemu-user and the arm64
# multiarch libraries), as scripts/setup.sh does for the host.
# Usage: scripts/arm64.sh [cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."

# libgfortran-12-dev-arm64-cross: the Fortran runtime archive for the cross compiler's version.
scripts/need_packages.sh cmake make g++-aarch64-linux-gnu libgfortran-12-dev-arm64-cross qemu-user \
  libgtest-dev:arm64 libgmock-dev:arm64 liblapack-dev:arm64 libblas-dev:arm64 libf2c2-dev:arm64 \
  zlib1g-dev:arm64

cmake -S . -B build-arm64 -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake "$@"
cmake --build build-arm64 -j2
# The toolchain file makes ctest run every test program through qemu-aarch64. Scratch files go
# into the build directory, away from those of a native run of the same tests. No core files:
# every death test aborts on purpose.
export TEST_TMPDIR=$PWD/build-arm64/scratch/
mkdir -p "$TEST_TMPDIR"
ulimit -c 0
# qemu-user writes "qemu: uncaught target signal 6 (Aborted) - core dumped" to the standard error
# of every program that aborts, so the three tests that require a fatal report to end the error
# output (or every line after it to be a stack frame) cannot pass under it; they run natively in
# scripts/test.sh.
ctest --test-dir build-arm64 --output-on-failure -j2 --timeout 900 \
      -E '^(ContainerError\.(StackTraceHasOneNumberedLinePerFrame|FatalIsCodeOne)|AssertionDeathTest\.TheHelperReportsAsAssertDoes)$'
