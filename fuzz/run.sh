#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS seconds (default 60), seeded
# from its committed corpus in fuzz/corpus/<target>/. Prints the executions of every target.
# Any finding (sanitizer report, assertion, container error handler, leak, hang, memory blow-up)
# fails the run; the input that caused it is kept in BUILD-DIR/findings/.
# Usage: fuzz/run.sh [SECONDS [BUILD-DIR]]   (default build dir: build-fuzz)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${1:-60}
build=${2:-build-fuzz}
targets=(matrix_reader_fuzzer token_reader_fuzzer initial_assignment_fuzzer command_line_fuzzer
         taxaset_read_fuzzer alignment_reader_fuzzer table_reader_fuzzer gzip_input_fuzzer
         tree_reader_fuzzer)

# libFuzzer's runtime is packaged apart from clang itself and named after clang's version.
scripts/need_packages.sh clang
scripts/need_packages.sh "libclang-rt-$(clang++ -dumpversion | cut -d. -f1)-dev"

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DTOOLKIT_FUZZ=ON -DTOOLKIT_TESTS=OFF > /dev/null
cmake --build "$build" --target fuzzers -j2

export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
findings=$root/$build/findings
mkdir -p "$findings"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

failed=()
for target in "${targets[@]}"; do
  # New inputs go to a scratch corpus; the committed seeds are only read.
  # Paths are absolute: the command-line target works in a scratch directory of its own.
  mkdir -p "$scratch/$target/corpus"
  log=$scratch/$target/log
  # A target may come with a dictionary of words worth trying.
  dictionary=()
  [[ -f fuzz/$target.dict ]] && dictionary=(-dict="$root/fuzz/$target.dict")
  status=0
  (cd "$scratch/$target" && TMPDIR=$scratch/$target "$root/$build/fuzz/$target" "${dictionary[@]}" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -close_fd_mask=3 \
    -print_final_stats=1 -artifact_prefix="$findings/$target-" \
    "$scratch/$target/corpus" "$root/fuzz/corpus/$target") > "$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  echo "$target: ${runs:-?} executions in $seconds s, exit status $status"
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
