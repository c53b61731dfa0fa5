#!/usr/bin/env bash
# Builds the Release benchmarks, generates the workloads once, and prints every performance
# figure of the clusterer next to its target (see bench/README.md).
# usage: bench/run.sh   (BUILD_DIR, default build-bench; WORK_DIR, default $BUILD_DIR/workloads)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-bench}
work=${WORK_DIR:-$build/workloads}
python=${PYTHON:-/usr/bin/python3}

mkdir -p "$build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTOOLKIT_BENCH=ON -DTOOLKIT_TESTS=ON \
  > "$build/configure.log" 2>&1 || { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j2 --target clusterer golden_bits_test cluster_read_matrix_benchmark \
  cluster_ksvd_phase_benchmark treelib_distance_benchmark distcorr distcorr_benchmark > "$build/build.log" 2>&1 ||
  { tail -50 "$build/build.log"; exit 1; }

# Workloads from fixed seeds, made once: W1 (also the largest W3 size), W2's assignment, W3.
mkdir -p "$work"
gen() { "$python" "$root/bench/workloads.py" "$@"; }
[ -s "$work/w1_init.txt" ] || gen 6999 1000 8 "$work/w1.txt" "$work/w1_init.txt" 20261207
[ -s "$work/w2_init.txt" ] || gen --init 1000 5 "$work/w2_init.txt" 11
# W1 as a TSV table (a header row with a corner cell) and gzip-compressed, for the reading figures.
[ -s "$work/w1.tsv" ] || awk 'NR == 1 { printf "gene"; for (j = 1; j <= $2; ++j) printf "\tS%d", j;
  print ""; next } { $1 = $1; gsub(/ /, "\t"); print }' "$work/w1.txt" > "$work/w1.tsv"
[ -s "$work/w1.tsv.gz" ] || gzip -6 -k -f "$work/w1.tsv"
# Figure 5: a 60,000 x 500 table, read with -top 6999.
if [ ! -s "$work/top_60000x500.tsv" ]; then
  gen 60000 500 8 "$work/top_60000x500.txt" /dev/null 60500
  awk 'NR == 1 { printf "gene"; for (j = 1; j <= $2; ++j) printf "\tS%d", j; print ""; next }
    { $1 = $1; gsub(/ /, "\t"); print }' "$work/top_60000x500.txt" > "$work/top_60000x500.tsv"
  rm "$work/top_60000x500.txt"
fi
for size in 1000x100 3000x300; do
  rows=${size%x*} cols=${size#*x}
  [ -s "$work/w3_$size.txt" ] || gen "$rows" "$cols" 8 "$work/w3_$size.txt" /dev/null 101
done
for rows in 1000 3000 6999; do
  for k in 4 8 16; do
    [ -s "$work/w3_${rows}_k${k}_init.txt" ] || gen --init "$rows" "$k" "$work/w3_${rows}_k${k}_init.txt" $((rows + k))
  done
done

"$python" "$root/bench/figures.py" "$build" "$work"
