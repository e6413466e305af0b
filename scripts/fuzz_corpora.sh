#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build/fuzz, writes their seed corpora from the card
# simulator and runs every fuzzer once over its seeds, without mutation. Fails on any crash,
# sanitizer report or broken invariant. Installs clang and the libFuzzer runtime when missing
# (Debian 12, as root). scripts/fuzz.sh runs this first, then fuzzes.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${FUZZ_BUILD_DIR:-"$here/build/fuzz"}
seed_dir="$build_dir/seeds"

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

install_packages() {
  echo "Installing: $*"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "$@"
}

packages=(cmake make clang libboost-dev libssl-dev libgtest-dev libgmock-dev pkg-config
          libpcsclite-dev)
missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  install_packages "${missing[@]}"
fi
# The libFuzzer runtime comes in a package of the compiler's major version.
clang_major=$(clang --version | sed -n 's/.*clang version \([0-9]*\).*/\1/p' | head -n 1)
runtime="libclang-rt-${clang_major}-dev"
if ! installed "$runtime"; then
  install_packages "$runtime"
fi

echo "Configuring the fuzz build (clang ${clang_major}, RelWithDebInfo) in $build_dir"
CC=clang CXX=clang++ cmake -S "$here" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELK_FUZZ=ON >/dev/null
echo "Building the fuzzers and the seed generator (2 jobs)"
cmake --build "$build_dir" --target velk_fuzzers -j 2

export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

echo "Testing the fuzz support"
"$build_dir/source/testsupport/fuzz/fuzzsupport_test" --gtest_brief=1

echo "Writing the seed corpora to $seed_dir"
rm -rf "$seed_dir"
"$build_dir/fuzzers/fuzzseeds" "$seed_dir"

failed=()
for fuzzer in "$build_dir"/fuzzers/*_fuzz; do
  name=$(basename "$fuzzer")
  if [ ! -d "$seed_dir/$name" ]; then
    echo "No seeds for $name"
    failed+=("$name")
    continue
  fi
  echo "Replaying $(find "$seed_dir/$name" -type f | wc -l) seeds through $name"
  # -runs=0: every seed is executed once while the corpus loads, then nothing is mutated.
  if ! "$fuzzer" -runs=0 "$seed_dir/$name" >"$build_dir/$name.replay.log" 2>&1; then
    echo "FAILED: $name (log: $build_dir/$name.replay.log)"
    tail -n 30 "$build_dir/$name.replay.log"
    failed+=("$name")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzers failing on their seeds: ${failed[*]}"
  exit 1
fi
echo "Every fuzzer ran its seeds without a finding"
