#include "testsupport/cardsim/rsa_key.hpp"

#include <stdexcept>

#include <openssl/bio.h>
#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

namespace testsupport::cardsim {
namespace {

using PkeyCtx = std::unique_ptr<EVP_PKEY_CTX, decltype(&EVP_PKEY_CTX_free)>;

ByteVector bigNumber(EVP_PKEY* key, char const* name) {
    BIGNUM* value = nullptr;
    if (EVP_PKEY_get_bn_param(key, name, &value) != 1) {
        return {};
    }
    ByteVector bytes(static_cast<std::size_t>(BN_num_bytes(value)));
    BN_bn2bin(value, bytes.data());
    BN_free(value);
    return bytes;
}

// Runs one private-key operation with the given padding; empty when libcrypto refuses it.
template <typename Init, typename Apply>
std::optional<ByteVector> privateOperation(EVP_PKEY* key, int padding, Init init, Apply apply,
                                           std::uint8_t const* in, std::size_t length) {
    PkeyCtx ctx(EVP_PKEY_CTX_new(key, nullptr), &EVP_PKEY_CTX_free);
    if (!ctx || init(ctx.get()) != 1 || EVP_PKEY_CTX_set_rsa_padding(ctx.get(), padding) != 1) {
        return std::nullopt;
    }
    std::size_t outLength = 0;
    if (apply(ctx.get(), nullptr, &outLength, in, length) != 1) {
        return std::nullopt;
    }
    ByteVector out(outLength);
    if (apply(ctx.get(), out.data(), &outLength, in, length) != 1) {
        return std::nullopt;
    }
    out.resize(outLength);
    return out;
}

}  // namespace

RsaKey RsaKey::fromPem(std::string_view pem) {
    std::unique_ptr<BIO, decltype(&BIO_free)> bio(
        BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())), &BIO_free);
    EVP_PKEY* key = bio ? PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr) : nullptr;
    if (key == nullptr || EVP_PKEY_get_base_id(key) != EVP_PKEY_RSA) {
        EVP_PKEY_free(key);
        throw std::invalid_argument("no RSA private key in the PEM text");
    }
    return RsaKey(std::shared_ptr<EVP_PKEY>(key, &EVP_PKEY_free));
}

std::size_t RsaKey::modulusLength() const {
    return static_cast<std::size_t>(EVP_PKEY_get_size(key_.get()));
}

ByteVector RsaKey::modulus() const {
    return bigNumber(key_.get(), OSSL_PKEY_PARAM_RSA_N);
}

ByteVector RsaKey::publicExponent() const {
    return bigNumber(key_.get(), OSSL_PKEY_PARAM_RSA_E);
}

std::optional<ByteVector> RsaKey::signBlock(std::uint8_t const* block, std::size_t length) const {
    // Without a digest set, the RSA sign operation pads the raw block with type 1.
    return privateOperation(key_.get(), RSA_PKCS1_PADDING, EVP_PKEY_sign_init, EVP_PKEY_sign, block,
                            length);
}

std::optional<ByteVector> RsaKey::decipher(std::uint8_t const* cryptogram, std::size_t length,
                                           bool removePadding) const {
    if (length != modulusLength()) {
        return std::nullopt;
    }
    return privateOperation(key_.get(), removePadding ? RSA_PKCS1_PADDING : RSA_NO_PADDING,
                            EVP_PKEY_decrypt_init, EVP_PKEY_decrypt, cryptogram, length);
}

}  // namespace testsupport::cardsim
