#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing), then configures and builds.
# Usage: scripts/setup.sh [build-dir [cmake options...]]   (default build dir: build)
# TOOLKIT_BUILD_TARGET=name builds that target alone instead of everything.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake make g++ clang clang-format libgtest-dev libbenchmark-dev liblapack-dev libblas-dev
          libf2c2-dev zlib1g-dev valgrind)
missing=()
for p in "${packages[@]}"; do
  # dpkg -s also succeeds for removed packages that left configuration behind.
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing missing packages: ${missing[*]}"
  sudo=""
  [[ $(id -u) -eq 0 ]] || sudo=sudo
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

build=${1:-build}
shift || true
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release "$@"
cmake --build "$build" -j2 ${TOOLKIT_BUILD_TARGET:+--target "$TOOLKIT_BUILD_TARGET"}
