#!/usr/bin/env bash
# CI's fuzzing: builds the libFuzzer targets with clang and runs each from its committed corpus
# in fuzz/corpus/<target>/ with a fixed seed for a fixed number of executions, on one core, so
# that every run tries the same inputs and passes or fails alike (about 30 seconds a target).
# Any finding (sanitizer report, assertion, container error handler, leak, hang, memory blow-up)
# fails the run; the input that caused it is kept in BUILD-DIR/findings/. Long campaigns with
# fresh seeds, whose findings join the corpora: fuzz/campaign.sh.
# Usage: fuzz/run.sh [BUILD-DIR]   (default build-fuzz)
set -euo pipefail
cd "$(dirname "$0")/.."
source fuzz/common.sh
build=${1:-build-fuzz}
seed=1

# Executions of each target: under 30 seconds each on one core of a two-core machine under a
# load of 12 (about 10 seconds of processor time each).
declare -A runs=(
  [matrix_reader_fuzzer]=9000
  [token_reader_fuzzer]=34000
  [initial_assignment_fuzzer]=1900
  [command_line_fuzzer]=4700
  [taxaset_read_fuzzer]=35000
  [alignment_reader_fuzzer]=50000
  [table_reader_fuzzer]=2000
  [gzip_input_fuzzer]=45000
  [delimited_row_fuzzer]=20000
  [tree_reader_fuzzer]=30000
)

build_fuzzers "$build"
# On one core the code under test runs its parallel parts on one thread, so that coverage, and
# with it the inputs tried, repeats exactly.
core=$(taskset -pc $$ | sed 's/.*: //; s/[,-].*//')
taskset -pc "$core" $$ > /dev/null
findings=$PWD/$build/findings
mkdir -p "$findings"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

failed=()
for target in "${fuzz_targets[@]}"; do
  log=$scratch/$target.log
  status=0
  start=$SECONDS
  fuzz_target "$build" "$scratch" "$target" "$findings/$target-" "$log" \
    -seed="$seed" -runs="${runs[$target]}" || status=$?
  echo "$target: $(executions "$log") executions in $((SECONDS - start)) s, exit status $status"
  if ((status != 0)); then
    failed+=("$target")
    grep -v '^#[0-9]' "$log" | tail -60
  fi
done

if ((${#failed[@]})); then
  echo "fuzzing found faults in: ${failed[*]} (inputs in $findings)"
  exit 1
fi
echo "fuzzing found nothing"
