#!/usr/bin/env bash
# The card removal and reset loops under valgrind's memcheck, in a build without sanitizers and
# with fewer rounds (VELK_STRESS_ROUNDS, default 20): any invalid memory access or leak fails.
# The PC/SC loop needs pcscd with the vpcd reader, free of other virtual cards; without a daemon
# it is skipped, unless VELK_PCSC_REQUIRED is set (scripts/test.sh sets it and starts pcscd).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${VALGRIND_BUILD_DIR:-"$here/build/valgrind"}
stress_tests=(engine_memory_stress_test engine_pcsc_stress_test)

cmake -S "$here" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELK_SANITIZE=OFF \
  -DVELK_SANITIZE_THREAD=OFF
cmake --build "$build_dir" -j "${JOBS:-$(nproc)}" --target "${stress_tests[@]}"

export VELK_STRESS_ROUNDS=${VELK_STRESS_ROUNDS:-20}
for test in "${stress_tests[@]}"; do
  echo "valgrind memcheck: $test, $VELK_STRESS_ROUNDS rounds"
  valgrind --quiet --error-exitcode=1 --leak-check=full \
    "$build_dir/source/engine/stress/$test"
done
