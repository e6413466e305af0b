#pragma once

#include <openssl/rsa.h>

#include "engine_state.hpp"

namespace engine::detail {

// The engine's RSA method: private encryption (signing) on the card for keys loaded from a
// card, OpenSSL's own software for every other key, public operations in software. Built once.
RSA_METHOD* enablerRsaMethod();

// Ties rsa, which must use the engine's method, to the card it was loaded from, until it is
// freed. Such a key signs only while its card is the current card. Reads the card's serial
// number, to tell a re-inserted card from another; throws what the card throws.
void bindKeyToCard(RSA const* rsa, CardPtr const& card);

}  // namespace engine::detail

extern "C" int rsa_enabler_priv_enc(int flen, unsigned char const* from, unsigned char* to,
                                    RSA* rsa, int padding);
