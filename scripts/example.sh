#!/usr/bin/env bash
# Sets everything up on a fresh machine and runs the main job on the shipped example data.
set -euo pipefail
cd "$(dirname "$0")/.."
TOOLKIT_BUILD_TARGET=clusterer scripts/setup.sh build
build/cluster/clusterer -i examples/bladder_top1000.txt -num_clusters 5 -normalize -v
