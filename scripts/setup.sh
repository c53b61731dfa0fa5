#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing), then configures and builds.
# Usage: scripts/setup.sh [build-dir [cmake options...]]   (default build dir: build)
# TOOLKIT_BUILD_TARGET=name builds that target alone instead of everything.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/need_packages.sh cmake make g++ clang clang-format libgtest-dev libbenchmark-dev \
  liblapack-dev libblas-dev libf2c2-dev zlib1g-dev valgrind python3 snakemake \
  pybind11-dev python3-dev python3-numpy python3-sklearn python3-pytest python3-pandas

build=${1:-build}
shift || true
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release "$@"
cmake --build "$build" -j2 ${TOOLKIT_BUILD_TARGET:+--target "$TOOLKIT_BUILD_TARGET"}
