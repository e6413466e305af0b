#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include <openssl/evp.h>

#include "testsupport/cardsim/byte_vector.hpp"

namespace testsupport::cardsim {

// An RSA key pair held by a key slot. Copies share the one key, which is never changed.
class RsaKey {
public:
    // Throws std::invalid_argument when the text holds no RSA private key.
    static RsaKey fromPem(std::string_view pem);

    std::size_t modulusLength() const;
    ByteVector modulus() const;
    ByteVector publicExponent() const;

    // Pads the block with PKCS#1 v1.5 type 1 and applies the private key; empty when the block
    // is too long for the padding.
    std::optional<ByteVector> signBlock(std::uint8_t const* block, std::size_t length) const;

    // Applies the private key to a cryptogram of the modulus length and removes PKCS#1 v1.5
    // type 2 padding when asked to; empty when the cryptogram or its padding is wrong.
    std::optional<ByteVector> decipher(std::uint8_t const* cryptogram, std::size_t length,
                                       bool removePadding) const;

    // For building certificates and checking results with libcrypto.
    EVP_PKEY* get() const { return key_.get(); }

private:
    explicit RsaKey(std::shared_ptr<EVP_PKEY> key) : key_(std::move(key)) {}

    std::shared_ptr<EVP_PKEY> key_;
};

}  // namespace testsupport::cardsim
