#!/usr/bin/env bash
# Installs what the build needs (Debian 12, as root), builds with the sanitizers on
# and runs every test.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${BUILD_DIR:-"$here/build/test"}

packages=(cmake g++ make libboost-dev libssl-dev libgtest-dev libgmock-dev
          pkg-config pcscd libpcsclite-dev vsmartcard-vpcd libbenchmark-dev valgrind)
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

# The PC/SC tests need the daemon, with the vpcd reader of the virtual card. One daemon per
# machine: a daemon already running is used; one started here is stopped by its process id.
pcscd_pid=
stop_pcscd() {
  if [ -n "$pcscd_pid" ]; then
    kill "$pcscd_pid" 2>/dev/null || true
    wait "$pcscd_pid" 2>/dev/null || true
  fi
}
trap stop_pcscd EXIT
if ! pidof pcscd >/dev/null; then
  /usr/sbin/pcscd --foreground >"$build_dir/pcscd.log" 2>&1 &
  pcscd_pid=$!
fi
# Ready once its socket is there and the vpcd reader listens on TCP 35963 (8C7B) for the
# virtual card; connecting there would insert a card, so the listening socket is looked up.
for _ in $(seq 100); do
  if [ -S /run/pcscd/pcscd.comm ] && grep -q ':8C7B 00000000:0000 0A' /proc/net/tcp; then
    break
  fi
  sleep 0.1
done
# Inside this script a missing daemon fails the PC/SC tests instead of skipping them.
export VELK_PCSC_REQUIRED=1

ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"

# The threaded tests once more under ThreadSanitizer, in a build of their own.
tsan_dir=${TSAN_BUILD_DIR:-"$here/build/tsan"}
# The PC/SC tests among them use the daemon started above.
threaded_tests=(foundation_test cachelib_test teappletlib_test sclib_test readersupport_test
                ctkwrapper_test cardservice_memory_test sclib_ctk_test pavlenenabler_test
                pavlenenabler_exit_test engine_test
                cardservice_pcsc_test cardservice_pcsc_road_test engine_memory_stress_test
                engine_pcsc_stress_test)
echo "Building the threaded tests with ThreadSanitizer: ${threaded_tests[*]}"
cmake -S "$here" -B "$tsan_dir" -DCMAKE_BUILD_TYPE=Debug -DVELK_SANITIZE_THREAD=ON
cmake --build "$tsan_dir" -j "$(nproc)" --target "${threaded_tests[@]}"
labels=$(IFS='|'; echo "${threaded_tests[*]}")
# The suppressions hide what ThreadSanitizer cannot see inside the uninstrumented libstdc++.
tsan_options="halt_on_error=1:second_deadlock_stack=1:suppressions=$here/scripts/tsan_suppressions.txt"
TSAN_OPTIONS=${TSAN_OPTIONS:-$tsan_options} \
  ctest --test-dir "$tsan_dir" --output-on-failure -j "$(nproc)" -L "^($labels)\$"

# Every fuzzer once over its seed corpus (a clang build of its own).
"$here/scripts/fuzz_corpora.sh"

# The card removal and reset loops, shorter, under valgrind's memcheck (a build of their own).
"$here/scripts/valgrind.sh"
