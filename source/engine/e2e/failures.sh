#!/usr/bin/env bash
# Every failure a user meets through openssl names its cause on OpenSSL's error queue: no PC/SC
# daemon, no reader, a reader without a card, a foreign card, the card removed. (The wrong and
# the blocked PIN: pin.sh.)
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/common.sh"

require_pcscd
write_config "$work/openssl.cnf" 1234
head -c 1000 /dev/urandom >"$work/data"
reader="Virtual PCD 00 00"

sign() {
    OPENSSL_CONF=$work/openssl.cnf ossl dgst -sha256 -engine Enabler -keyform engine -sign card \
        -out "$work/data.sig" "$@"
}

step "no PC/SC daemon"
out=$(PCSCLITE_CSOCK_NAME=$work/no-daemon.comm must_fail sign "$work/data")
expect_error "$out" "card service not available" "pcscd not reachable (Service not available.)"
expect_text "$out" "systemctl start pcscd.socket"

step "a reader without a card"
expect_error "$(must_fail sign "$work/data")" "no card in reader" "$reader"

step "a foreign card"
start_card --expect "card not supported" --type foreign
expect_error "$(must_fail sign "$work/data")" "card not supported" "in reader $reader"
stop_card

step "the card removed while openssl holds its key"
start_card
# openssl opens its input only after it has loaded the key; a FIFO holds it there.
mkfifo "$work/input"
sign "$work/input" >"$work/removed.out" 2>&1 &
signer_pid=$!
background_pids+=("$signer_pid")
exec 3>"$work/input"
remove_card
echo "data" >&3
exec 3>&-
if wait "$signer_pid"; then
    fail "signing succeeded without the card"
fi
cat "$work/removed.out"
expect_error "$(cat "$work/removed.out")" "card removed" ""

step "no reader at all: a daemon of its own without readers, in a mount namespace of its own"
if ! unshare --mount --propagation private true 2>/dev/null; then
    echo "not checked: no mount namespace may be made here"
    exit 0
fi
mkdir "$work/no-readers"
out=$(OPENSSL_CONF=$work/openssl.cnf unshare --mount --propagation private \
    bash "$here/no_reader.sh" "$work/no-readers" "$work/data" 2>&1) || true
echo "$out"
expect_text "$out" "no card reader found"
echo "every failure names its cause"
