#!/usr/bin/env bash
# The PIN comes from openssl.cnf. A wrong PIN fails with the tries left and costs exactly one
# try per run; a right one restores them; a blocked PIN says so; -passin does not reach the card.
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/common.sh"

require_pcscd
start_card
head -c 1000 /dev/urandom >"$work/data"
write_config "$work/right.cnf" 1234
write_config "$work/wrong.cnf" 9999
write_config "$work/none.cnf"

sign() {
    OPENSSL_CONF=$work/$1.cnf ossl dgst -sha256 -engine Enabler -keyform engine -sign card \
        -out "$work/data.sig" "${@:2}" "$work/data"
}

step "a wrong PIN fails with the tries left, one try per run"
expect_error "$(must_fail sign wrong)" "wrong PIN" "2 tries left"
expect_error "$(must_fail sign wrong)" "wrong PIN" "1 try left"

step "the right PIN signs and restores the tries"
sign right
expect_error "$(must_fail sign wrong)" "wrong PIN" "2 tries left"
sign right

step "-passin does not reach the card: the engine takes the PIN from openssl.cnf only"
printf '1234\n' >"$work/pin"
chmod 600 "$work/pin"
expect_text "$(must_fail sign none -passin "file:$work/pin")" "no PIN given for the card"

step "three wrong PINs block it, and then the right one is refused too"
must_fail sign wrong >/dev/null
must_fail sign wrong >/dev/null
expect_text "$(must_fail sign wrong)" "PIN blocked"
expect_text "$(must_fail sign right)" "PIN blocked"
echo "PIN handling through openssl.cnf works"
