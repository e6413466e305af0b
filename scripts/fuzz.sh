#!/usr/bin/env bash
# Builds the libFuzzer targets, checks them on their seeds (scripts/fuzz_corpora.sh), then runs
# each fuzzer for the given seconds (default 60), one at a time. New inputs collect in
# build/fuzz/corpus/<fuzzer>; crashing inputs land in build/fuzz/findings/<fuzzer>/.
#
#   scripts/fuzz.sh [seconds]
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-60}
build_dir=${FUZZ_BUILD_DIR:-"$here/build/fuzz"}
export FUZZ_BUILD_DIR=$build_dir

if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 [seconds]" >&2
  exit 2
fi

"$here/scripts/fuzz_corpora.sh"

export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

failed=()
for fuzzer in "$build_dir"/fuzzers/*_fuzz; do
  name=$(basename "$fuzzer")
  corpus="$build_dir/corpus/$name"
  findings="$build_dir/findings/$name"
  mkdir -p "$corpus" "$findings"
  echo "Fuzzing $name for ${seconds}s (log: $build_dir/$name.fuzz.log)"
  # New inputs go to the first corpus directory; the seeds are only read.
  if "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$findings/" "$corpus" "$build_dir/seeds/$name" \
       >"$build_dir/$name.fuzz.log" 2>&1; then
    grep -E '^stat::(number_of_executed_units|new_units_added)' "$build_dir/$name.fuzz.log" || true
  else
    echo "FINDING in $name: see $findings/ and the log"
    grep -E 'ERROR|Broken invariant|SUMMARY' "$build_dir/$name.fuzz.log" | head -n 5 || true
    failed+=("$name")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzers with findings: ${failed[*]}"
  exit 1
fi
echo "No findings in ${seconds}s per fuzzer"
