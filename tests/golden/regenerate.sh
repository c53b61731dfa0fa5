#!/usr/bin/env bash
# Rewrites every golden output of cases.txt with the independent reference (plain Python 3).
# Run it only after a change of the inputs or of reference.py, never to match the clusterer.
set -euo pipefail
cd "$(dirname "$0")/data"
python=${PYTHON:-python3}
grep -v '^#' ../cases.txt | while read -r name args; do
  [ -n "$name" ] || continue
  # shellcheck disable=SC2086
  "$python" ../reference.py $args -o2 "$name.o2" -o "$name.o" -bits "$name.bits" > "$name.stdout"
done
