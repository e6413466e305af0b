#!/usr/bin/env bash
# Installs what the build needs (Debian 12, as root), builds with the sanitizers on
# and runs every test.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${BUILD_DIR:-"$here/build/test"}

packages=(cmake g++ make libboost-dev libssl-dev libgtest-dev libgmock-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$here" -B "$build_dir" -DCMAKE_BUILD_TYPE=Debug -DVELK_SANITIZE=ON
cmake --build "$build_dir" -j "$(nproc)"

# Halt on the first sanitizer report, so that a memory fault fails the run.
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:abort_on_error=1:detect_leaks=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"
