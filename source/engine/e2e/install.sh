#!/usr/bin/env bash
# cmake --install puts the library where OpenSSL looks for engines, with the name OpenSSL looks
# for (Enabler.so), so that "-engine Enabler" needs no path. Installed into a throwaway root.
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/common.sh"

require_pcscd
step "cmake --install into a throwaway root"
DESTDIR=$work/root cmake --install "$BUILD_DIR" --component engine
link=$(find "$work/root" -name Enabler.so)
[ -n "$link" ] || fail "no Enabler.so installed"
engines_dir=$(dirname "$link")
[ "${engines_dir#"$work/root"}" = "$(pkg-config --variable=enginesdir libcrypto)" ] ||
    fail "installed into ${engines_dir#"$work/root"}, not OpenSSL's engines directory"
[ "$(readlink "$link")" = libNl.Velk.Ravo.Enabler.Engine.so ] || fail "Enabler.so is no link"
[ -f "$engines_dir/libNl.Velk.Ravo.Enabler.Engine.so" ] || fail "the library is not installed"

step "openssl engine -t Enabler finds it by its id"
out=$(OPENSSL_CONF=/dev/null OPENSSL_ENGINES=$engines_dir ossl engine -t Enabler 2>&1)
echo "$out"
expect_text "$out" "(Enabler) Enabler engine by Velk"
expect_text "$out" "[ available ]"

step "openssl.cnf without dynamic_path signs with the installed engine"
start_card
printf '%s\n' "openssl_conf = openssl_init" "[openssl_init]" "engines = engine_section" \
    "[engine_section]" "enabler = enabler_section" "[enabler_section]" "engine_id = Enabler" \
    "init = 1" "PIN = 1234" >"$work/openssl.cnf"
chmod 600 "$work/openssl.cnf"
card_certificate >"$work/card.pem"
openssl x509 -in "$work/card.pem" -noout -pubkey >"$work/card-public.pem"
echo "signed through the installed engine" >"$work/data"
OPENSSL_CONF=$work/openssl.cnf OPENSSL_ENGINES=$engines_dir ossl dgst -sha256 \
    -engine Enabler -keyform engine -sign card -out "$work/data.sig" "$work/data"
openssl dgst -sha256 -verify "$work/card-public.pem" -signature "$work/data.sig" "$work/data"
