#pragma once

#include <openssl/engine.h>

extern "C" {

// The card's authentication key: public parameters from its certificate, private operations
// on the card. NULL with an error on OpenSSL's queue when there is no usable card key.
EVP_PKEY* load_privKey(ENGINE* e, char const* keyId, UI_METHOD* ui, void* callbackData);

// The public key of the card's authentication certificate.
EVP_PKEY* load_pubKey(ENGINE* e, char const* keyId, UI_METHOD* ui, void* callbackData);

}  // extern "C"
