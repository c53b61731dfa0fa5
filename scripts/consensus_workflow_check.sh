#!/usr/bin/env bash
# The consensus workflow run locally in three shards must write what one process writes.
# Usage: scripts/consensus_workflow_check.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
clusterer=$PWD/$1/cluster/clusterer
input=$PWD/tests/cluster/consensus/data/planted.txt
work=$(mktemp -d "$PWD/$1/consensus_workflow.XXXXXX")
trap 'rm -rf "$work"' EXIT

snakemake --quiet all -s workflows/consensus/Snakefile --cores 2 --directory "$work" \
  --config input="$input" k_range=2..5 runs=30 shards=3 seed=21 outdir=out options=-center \
  clusterer="$clusterer" >"$work/snakemake.log" 2>&1 || { cat "$work/snakemake.log"; exit 1; }
"$clusterer" -i "$input" -center -consensus 30 -k_range 2..5 -seed 21 \
  -consensus_table "$work/table.tsv" -consensus_labels "$work/labels.tsv"
cmp "$work/out/consensus_table.tsv" "$work/table.tsv"
cmp "$work/out/consensus_labels.tsv" "$work/labels.tsv"
echo "consensus workflow: 3 shards merged == one process"
