#!/usr/bin/env bash
# openssl signs with the card's key through the engine (pkeyutl, dgst, a self-signed
# certificate from req), and every signature verifies with the card's certificate.
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/common.sh"

require_pcscd
write_config "$work/openssl.cnf" 1234
start_card
# openssl with the engine of openssl.cnf.
card_ossl() { OPENSSL_CONF=$work/openssl.cnf ossl "$@"; }

step "the card's certificate, read through the engine"
card_certificate >"$work/card.pem"
openssl x509 -in "$work/card.pem" -noout -pubkey >"$work/card-public.pem"
head -c 100000 /dev/urandom >"$work/data"

step "openssl dgst -sha256 -sign"
card_ossl dgst -sha256 -engine Enabler -keyform engine -sign card -out "$work/dgst.sig" "$work/data"
openssl dgst -sha256 -verify "$work/card-public.pem" -signature "$work/dgst.sig" "$work/data"

step "openssl pkeyutl -sign of a SHA-256 digest"
openssl dgst -sha256 -binary -out "$work/digest" "$work/data"
card_ossl pkeyutl -sign -engine Enabler -keyform engine -inkey card -pkeyopt digest:sha256 \
    -in "$work/digest" -out "$work/pkeyutl.sig"
openssl pkeyutl -verify -certin -inkey "$work/card.pem" -pkeyopt digest:sha256 \
    -in "$work/digest" -sigfile "$work/pkeyutl.sig"

step "openssl req -new -x509 with the card's key"
card_ossl req -new -x509 -engine Enabler -keyform engine -key card -sha256 -days 1 \
    -subj "/CN=Velk end-to-end" -out "$work/self.pem"
# Self-signed with the card's key: it verifies with the card certificate's public key.
openssl x509 -in "$work/self.pem" -noout -pubkey | cmp - "$work/card-public.pem"
openssl verify -CAfile "$work/self.pem" -check_ss_sig "$work/self.pem"

step "a PSS signature is refused, with the reason"
out=$(must_fail card_ossl pkeyutl -sign -engine Enabler -keyform engine -inkey card \
    -pkeyopt digest:sha256 -pkeyopt rsa_padding_mode:pss -in "$work/digest" \
    -out "$work/pss.sig")
expect_text "$out" "only PKCS#1 v1.5 padding is supported"
step "decryption with the card's key is refused, with the reason"
head -c 32 /dev/urandom >"$work/secret"
openssl pkeyutl -encrypt -pubin -inkey "$work/card-public.pem" -in "$work/secret" \
    -out "$work/secret.enc"
out=$(must_fail card_ossl pkeyutl -decrypt -engine Enabler -keyform engine -inkey card \
    -in "$work/secret.enc" -out "$work/secret.dec")
expect_error "$out" "the card's key does not decrypt" "only signs"
echo "all signatures verified"
