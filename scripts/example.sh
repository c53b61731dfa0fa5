#!/usr/bin/env bash
# Sets everything up on a fresh machine and runs the main job on the shipped example data,
# writing its heatmap and report beside the build.
set -euo pipefail
cd "$(dirname "$0")/.."
TOOLKIT_BUILD_TARGET=clusterer scripts/setup.sh build
mkdir -p build/example
build/cluster/clusterer -i examples/bladder_top1000.txt -num_clusters 5 -center -normalize \
  -seed 2024 -restarts 10 -v \
  -heatmap build/example/heatmap.svg -report build/example/report.html
echo "Heatmap: $PWD/build/example/heatmap.svg"
echo "Report:  $PWD/build/example/report.html"
