# Shared by fuzz/run.sh and fuzz/campaign.sh (sourced from the repository root): the targets,
# the clang build and one libFuzzer run of a target.

# Every fuzz target, as fuzz/CMakeLists.txt builds them.
fuzz_targets=(matrix_reader_fuzzer token_reader_fuzzer initial_assignment_fuzzer
              command_line_fuzzer taxaset_read_fuzzer alignment_reader_fuzzer
              table_reader_fuzzer gzip_input_fuzzer delimited_row_fuzzer
              tree_reader_fuzzer)

# build_fuzzers BUILD-DIR: configures with clang and builds every target.
build_fuzzers() {
  # libFuzzer's runtime is packaged apart from clang itself and named after clang's version.
  scripts/need_packages.sh clang
  scripts/need_packages.sh "libclang-rt-$(clang++ -dumpversion | cut -d. -f1)-dev"
  cmake -S . -B "$1" -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DTOOLKIT_FUZZ=ON -DTOOLKIT_TESTS=OFF > /dev/null
  cmake --build "$1" --target fuzzers -j2
  export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
}

# fuzz_target BUILD-DIR SCRATCH TARGET ARTIFACT-PREFIX LOG LIBFUZZER-FLAGS...: runs the target
# from its committed corpus, which is only read; new inputs go to a scratch corpus. Paths are
# absolute: the command-line target works in a scratch directory of its own. Returns libFuzzer's
# exit status (0: nothing found).
fuzz_target() {
  local build=$1 scratch=$2 target=$3 artifacts=$4 log=$5 root=$PWD
  shift 5
  mkdir -p "$scratch/$target/corpus"
  # A target may come with a dictionary of words worth trying.
  local dictionary=()
  [[ -f fuzz/$target.dict ]] && dictionary=(-dict="$root/fuzz/$target.dict")
  (cd "$scratch/$target" && TMPDIR=$scratch/$target "$root/$build/fuzz/$target" \
    "${dictionary[@]}" "$@" -timeout=10 -rss_limit_mb=4096 -close_fd_mask=3 \
    -print_final_stats=1 -artifact_prefix="$artifacts" \
    "$scratch/$target/corpus" "$root/fuzz/corpus/$target") > "$log" 2>&1
}

# The executions a finished run reports in its log.
executions() {
  sed -n 's/^stat::number_of_executed_units: *//p' "$1"
}
