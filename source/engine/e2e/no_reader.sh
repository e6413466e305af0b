#!/usr/bin/env bash
# Runs inside a mount namespace of its own (see failures.sh): a pcscd without readers on a
# socket of its own, and openssl signing against it. Arguments: an empty reader configuration
# directory, the file to sign.
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/common.sh"

mount -t tmpfs tmpfs /run/pcscd
/usr/sbin/pcscd --foreground --config "$1" >"$work/pcscd.log" 2>&1 &
background_pids+=($!)
for _ in $(seq 100); do
    [ -S /run/pcscd/pcscd.comm ] && break
    sleep 0.1
done
ossl dgst -sha256 -engine Enabler -keyform engine -sign card -out "$work/data.sig" "$2"
