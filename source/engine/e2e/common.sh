# Shared by the end-to-end tests: the openssl tool against the engine library, with the virtual
# card behind pcscd. Sourced; expects ENGINE_LIBRARY, VIRTUALCARD and CARD_CERTIFICATE.
set -euo pipefail

readonly SKIP=77

work=$(mktemp -d)
card_pid=
background_pids=()

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

step() { echo "== $*"; }

source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/stop_pid.sh"

stop_card() {
    if [ -n "$card_pid" ]; then
        stop_pid "$card_pid"
        card_pid=
    fi
}

cleanup() {
    stop_card
    for pid in "${background_pids[@]}"; do
        stop_pid "$pid"
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' HUP INT PIPE TERM

# The test library may be built with the sanitizers, /usr/bin/openssl is not: the ASan runtime
# must be loaded first, and libstdc++ with it or ASan cannot intercept C++ throws (openssl does
# not link it). openssl does not free everything at exit, so leaks are not checked.
ossl_env=()
if ldd "$ENGINE_LIBRARY" | grep -q libasan; then
    ossl_env=(LD_PRELOAD="$(gcc -print-file-name=libasan.so) $(gcc -print-file-name=libstdc++.so)"
              ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0")
fi
# Every openssl run that may load the engine goes through here, bounded in time.
ossl() { timeout 60 env "${ossl_env[@]}" openssl "$@"; }

# Inside the test command a missing daemon is a failure, elsewhere the test is skipped.
require_pcscd() {
    if ! pidof pcscd >/dev/null || [ ! -S /run/pcscd/pcscd.comm ]; then
        [ "${VELK_PCSC_REQUIRED:-}" = 1 ] && fail "no PC/SC daemon is running"
        echo "SKIP: no PC/SC daemon is running"
        exit $SKIP
    fi
    # The card of an earlier test may take a moment to leave the reader.
    wait_for_probe "no card in reader"
}

# openssl.cnf that loads the engine and, when a PIN is given, logs in with it. The file is
# private: the PIN stays out of process arguments.
write_config() {
    local file=$1 pin=${2:-}
    {
        echo "openssl_conf = openssl_init"
        echo "[openssl_init]"
        echo "engines = engine_section"
        echo "[engine_section]"
        echo "enabler = enabler_section"
        echo "[enabler_section]"
        echo "engine_id = Enabler"
        echo "dynamic_path = $ENGINE_LIBRARY"
        echo "init = 1"
        [ -z "$pin" ] || echo "PIN = $pin"
    } >"$file"
    chmod 600 "$file"
}

# Asks the engine, loaded by path without any openssl.cnf, for the card's public key; prints
# what openssl says.
probe_card() {
    OPENSSL_CONF=/dev/null ossl pkey -engine "$ENGINE_LIBRARY" -inform engine -in card -pubin \
        -pubout 2>&1 || true
}

# The card's certificate as the engine reads it, to verify signatures with.
card_certificate() {
    OPENSSL_CONF=/dev/null "$CARD_CERTIFICATE" "$ENGINE_LIBRARY"
}

# Polls until the engine's view of the readers shows text; bounded.
wait_for_probe() {
    local text=$1 out=
    for _ in $(seq 100); do
        out=$(probe_card)
        [[ $out == *"$text"* ]] && return 0
        sleep 0.1
    done
    echo "$out" >&2
    fail "the engine never showed: $text"
}

# Starts the virtual card with the given options and waits until the engine sees what is
# expected of it (the public key by default).
start_card() {
    local expect="BEGIN PUBLIC KEY"
    if [ "${1:-}" = --expect ]; then
        expect=$2
        shift 2
    fi
    "$VIRTUALCARD" "$@" >"$work/virtualcard.log" 2>&1 &
    card_pid=$!
    wait_for_probe "$expect"
}

# Removes the card and waits until the engine sees the reader empty.
remove_card() {
    stop_card
    wait_for_probe "no card in reader"
}

# Runs a command that must fail and prints its output; fails the test if it succeeds.
must_fail() {
    local out
    if out=$("$@" 2>&1); then
        echo "$out" >&2
        fail "succeeded: $*"
    fi
    echo "$out"
}

# An error line of openssl's output with the engine's reason text and the detail after it.
expect_error() {
    local out=$1 reason=$2 detail=$3
    printf '%s\n' "$out" | grep -F -- "$reason" | grep -qF -- "$detail" || {
        echo "$out" >&2
        fail "missing: $reason ... $detail"
    }
}

expect_text() {
    local out=$1 text=$2
    [[ $out == *"$text"* ]] || {
        echo "$out" >&2
        fail "missing: $text"
    }
}
