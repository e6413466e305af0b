#!/usr/bin/env bash
# From a fresh Debian 12 machine to a file signed with a card: installs what is needed (as
# root), builds the release library, starts pcscd (unless one runs) with the virtual card in its
# reader, signs a file with openssl through the engine and verifies the signature with the
# card's certificate. Every process started here is stopped again by its process id.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${BUILD_DIR:-"$here/build/release"}
jobs=${JOBS:-$(nproc)}

say() { printf '\n== %s\n' "$*"; }
# Shows the command, also when its output goes to a file.
run() {
    printf '$ %s\n' "$*" >&2
    "$@"
}

pcscd_pid=
card_pid=
work=
source "$here/scripts/stop_pid.sh"
cleanup() {
    if [ -n "$card_pid" ]; then
        echo "Stopping the virtual card (pid $card_pid): the card leaves the reader"
        stop_pid "$card_pid"
    fi
    if [ -n "$pcscd_pid" ]; then
        echo "Stopping pcscd (pid $pcscd_pid)"
        stop_pid "$pcscd_pid"
    fi
    [ -z "$work" ] || rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' HUP INT PIPE TERM

say "Packages: compiler, CMake, Boost, OpenSSL, pcscd and the virtual reader driver"
packages=(cmake g++ make libboost-dev libssl-dev openssl pkg-config pcscd libpcsclite-dev
          vsmartcard-vpcd)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
        missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    run apt-get update -qq
    run apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
    echo "All installed: ${packages[*]}"
fi

say "Building the release library, the virtual card and the certificate tool"
run cmake -S "$here" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DVELK_BUILD_TESTS=OFF
run cmake --build "$build_dir" -j "$jobs" \
    --target enabler_engine virtualcard enabler_card_certificate
library=$build_dir/source/engine/libNl.Velk.Ravo.Enabler.Engine.so
virtualcard=$build_dir/source/testsupport/virtualcard/virtualcard
certificate_tool=$build_dir/source/engine/enabler_card_certificate

say "Starting pcscd"
if pidof pcscd >/dev/null; then
    echo "pcscd runs already (pid $(pidof pcscd)); using it"
else
    echo "$ /usr/sbin/pcscd --foreground &"
    /usr/sbin/pcscd --foreground >/dev/null 2>&1 &
    pcscd_pid=$!
    echo "pcscd started (pid $pcscd_pid)"
fi
# Ready once its socket is there and the virtual reader listens on TCP 35963 (8C7B).
for _ in $(seq 100); do
    [ -S /run/pcscd/pcscd.comm ] && grep -q ':8C7B 00000000:0000 0A' /proc/net/tcp && break
    sleep 0.1
done

say "Putting the virtual card into the reader \"Virtual PCD 00 00\""
echo "$ $virtualcard &"
"$virtualcard" &
card_pid=$!
echo "virtual card started (pid $card_pid)"
work=$(mktemp -d)
for _ in $(seq 100); do
    OPENSSL_CONF=/dev/null openssl pkey -engine "$library" -inform engine -in card -pubin \
        -noout >/dev/null 2>&1 && break
    sleep 0.1
done

say "openssl.cnf that loads the engine and logs in (private file; the PIN is the test card's)"
cat >"$work/openssl.cnf" <<CONF
openssl_conf = openssl_init
[openssl_init]
engines = engine_section
[engine_section]
enabler = enabler_section
[enabler_section]
engine_id = Enabler
dynamic_path = $library
init = 1
PIN = 1234
CONF
chmod 600 "$work/openssl.cnf"
sed 's/^PIN = .*/PIN = ****/' "$work/openssl.cnf"
export OPENSSL_CONF=$work/openssl.cnf

say "Signing a file with the card's key"
echo "A document signed by a smart card, $(date -u)" >"$work/document.txt"
run openssl dgst -sha256 -engine Enabler -keyform engine -sign card \
    -out "$work/document.sig" "$work/document.txt"

say "The card's certificate, read through the engine"
run "$certificate_tool" "$library" >"$work/card.pem"
OPENSSL_CONF=/dev/null openssl x509 -in "$work/card.pem" -noout -subject -issuer

say "Verifying the signature with the card's certificate"
OPENSSL_CONF=/dev/null openssl x509 -in "$work/card.pem" -noout -pubkey >"$work/card-public.pem"
OPENSSL_CONF=/dev/null run openssl dgst -sha256 -verify "$work/card-public.pem" \
    -signature "$work/document.sig" "$work/document.txt"

say "Done"
