#!/usr/bin/env bash
# Fails, naming the files, when a tracked C++ source differs from what clang-format makes of it
# with the repository's .clang-format. `scripts/check_format.sh --fix` formats them in place.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t sources < <(git ls-files '*.cpp' '*.hpp' '*.h' '*.c')
if [[ ${1:-} == --fix ]]; then
  clang-format -i "${sources[@]}"
  exit 0
fi
unformatted=()
for f in "${sources[@]}"; do
  clang-format --dry-run --Werror "$f" > /dev/null 2>&1 || unformatted+=("$f")
done
if ((${#unformatted[@]})); then
  echo "Not formatted as .clang-format says (scripts/check_format.sh --fix mends them):" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
echo "All ${#sources[@]} C++ sources are formatted."
