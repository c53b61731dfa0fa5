#!/usr/bin/env bash
# A long fuzzing campaign: builds the libFuzzer targets with clang and runs each for SECONDS
# seconds (default 3600) from a fresh random seed. Every input that makes a target fail (crash,
# sanitizer report, assertion, leak, hang, memory blow-up) is copied into the target's committed
# corpus, fuzz/corpus/<target>/finding-<kind>-<hash>, so that fuzz/run.sh, and CI with it, replays
# it from then on; commit those files with the fix. Exits 1 when anything was found.
# Usage: fuzz/campaign.sh [SECONDS [BUILD-DIR]]   (default build dir: build-fuzz)
set -euo pipefail
cd "$(dirname "$0")/.."
source fuzz/common.sh
seconds=${1:-3600}
build=${2:-build-fuzz}

build_fuzzers "$build"
findings=$PWD/$build/findings
mkdir -p "$findings"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

found=()
for target in "${fuzz_targets[@]}"; do
  log=$scratch/$target.log
  rm -f "$findings/$target-"*
  status=0
  fuzz_target "$build" "$scratch" "$target" "$findings/$target-" "$log" \
    -max_total_time="$seconds" || status=$?
  echo "$target: $(executions "$log") executions in $seconds s, exit status $status"
  ((status == 0)) && continue
  grep -v '^#[0-9]' "$log" | tail -60
  # libFuzzer names its artifacts <prefix><kind>-<hash>: crash, leak, timeout, oom, slow-unit.
  for artifact in "$findings/$target-"*; do
    [[ -e $artifact ]] || continue
    kept=fuzz/corpus/$target/finding-${artifact#"$findings/$target-"}
    cp "$artifact" "$kept"
    found+=("$kept")
  done
done

if ((${#found[@]})); then
  echo "Regression inputs added to the committed corpora (commit them with the fix):"
  printf '  %s\n' "${found[@]}"
  exit 1
fi
echo "the campaign found nothing"
