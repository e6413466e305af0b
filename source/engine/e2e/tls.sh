#!/usr/bin/env bash
# TLS 1.2 client authentication with the card: openssl s_server demands a client certificate,
# openssl s_client answers with the card's certificate and key; data crosses both ways.
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/common.sh"

require_pcscd
write_config "$work/openssl.cnf" 1234
start_card
card_certificate >"$work/card.pem"

step "the server's own key and certificate"
openssl req -new -x509 -newkey rsa:2048 -nodes -keyout "$work/server.key" -days 1 \
    -subj "/CN=127.0.0.1" -out "$work/server.pem" 2>/dev/null

# Serves one connection, reversing each line. The server demands a client certificate, trusts
# the card's certificate itself (its issuer is not at hand) and accepts only the given
# signature algorithms for the client's signature.
start_server() {
    : >"$work/server.out"
    openssl s_server -accept 127.0.0.1:0 -naccept 1 -rev -tls1_2 \
        -key "$work/server.key" -cert "$work/server.pem" \
        -Verify 1 -verify_return_error -partial_chain -CAfile "$work/card.pem" \
        -client_sigalgs "$1" \
        >"$work/server.out" 2>&1 </dev/null &
    server_pid=$!
    background_pids+=("$server_pid")
    port=
    for _ in $(seq 100); do
        port=$(sed -n 's/^ACCEPT .*:\([0-9][0-9]*\)$/\1/p' "$work/server.out")
        [ -n "$port" ] && return 0
        sleep 0.1
    done
    cat "$work/server.out" >&2
    fail "s_server did not start"
}

client() {
    printf 'hello card\nCLOSE\n' | OPENSSL_CONF=$work/openssl.cnf ossl s_client \
        -connect "127.0.0.1:$port" -tls1_2 -ign_eof \
        -engine Enabler -keyform engine -key card -cert "$work/card.pem" -sigalgs "$1" -CAfile "$work/server.pem" 2>&1
}

step "TLS 1.2 with RSA+SHA256"
start_server RSA+SHA256
out=$(client RSA+SHA256) || {
    echo "$out" >&2
    fail "the handshake failed"
}
expect_text "$out" "Verify return code: 0 (ok)"
expect_text "$out" "drac olleh"
wait "$server_pid" 2>/dev/null || true
server_out=$(cat "$work/server.out")
expect_text "$server_out" "Peer certificate: O = Velk Test, CN = Test Holder (authentication)"
expect_text "$server_out" "Signature type: RSA"
[[ $server_out != *"Verification error"* ]] || fail "the server did not verify the card: $server_out"

step "RSA-PSS is refused by the engine, with the reason"
start_server RSA-PSS+SHA256
out=$(client RSA-PSS+SHA256) && fail "a PSS handshake succeeded"
expect_text "$out" "only PKCS#1 v1.5 padding is supported"
echo "TLS 1.2 client authentication with the card works"
