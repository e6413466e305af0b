#!/usr/bin/env bash
# The signing benchmark in an optimised build without sanitizers: one signature through the
# whole stack against the simulator's own RSA work and a software RSA-2048 signature, repeated,
# then the stack's overhead per signature. Further arguments go to the benchmark.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${BENCH_BUILD_DIR:-"$here/build/bench"}

cmake -S "$here" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELK_SANITIZE=OFF \
  -DVELK_SANITIZE_THREAD=OFF
cmake --build "$build_dir" -j "${JOBS:-$(nproc)}" --target engine_signature_benchmark
"$build_dir/source/engine/bench/engine_signature_benchmark" --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true "$@"
