#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz into build-fuzz/ (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) if needed, and runs each for SECONDS seconds (60 unless given),
# starting from its seed corpus tests/fuzz/corpus/<target>/. What a run learns is kept in
# build-fuzz/corpus/<target>/ for the next run; an input that breaks a target is saved in
# build-fuzz/artifacts/<target>/ and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: scripts/fuzz.sh [SECONDS]" >&2
  exit 2
fi

scripts/setup.sh
build_dir=build-fuzz
BUILD_DIR=$build_dir BUILD_TYPE=Debug BUILD_TARGET=fuzz_targets \
  scripts/build.sh -DCMAKE_CXX_COMPILER=clang++ -DBILLING_FUZZ=ON

export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
failed=()
while read -r target; do
  corpus=$build_dir/corpus/$target
  artifacts=$build_dir/artifacts/$target
  log=$build_dir/fuzz-$target.log
  mkdir -p "$corpus" "$artifacts"
  # New inputs go into the first folder only: the seeds in the source tree stay as they are.
  if "$build_dir/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$corpus" "tests/fuzz/corpus/$target" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz: $target: $runs inputs in ${seconds} s, no failure"
  else
    tail -n 40 "$log" >&2
    echo "fuzz: $target FAILED, the input is in $artifacts/ (log: $log)" >&2
    failed+=("$target")
  fi
done <"$build_dir/fuzz_targets.txt"

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: failed: ${failed[*]}" >&2
  exit 1
fi
