#pragma once

#include <openssl/evp.h>
#include <openssl/rsa.h>
#include <openssl/sha.h>
#include <openssl/x509.h>

#include <memory>
#include <string>

#include "velk/allocated_string.hpp"

namespace pavlenenabler::test {

using Bytes = velk::basic_allocated_string<unsigned char>;
using Plain = std::basic_string<unsigned char>;

inline Plain sha256(std::string const& message) {
    Plain digest(SHA256_DIGEST_LENGTH, 0);
    SHA256(reinterpret_cast<unsigned char const*>(message.data()), message.size(), digest.data());
    return digest;
}

// The DigestInfo of a SHA-256 digest, as OpenSSL hands it to the engine.
inline Bytes digestInfo(Plain const& digest) {
    Plain const block = Plain{0x30, 0x31, 0x30, 0x0D, 0x06, 0x09, 0x60, 0x86, 0x48, 0x01,
                              0x65, 0x03, 0x04, 0x02, 0x01, 0x05, 0x00, 0x04, 0x20} +
                        digest;
    return Bytes(block.data(), block.size());
}

using PublicKey = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;

inline PublicKey keyOf(std::string const& certificate) {
    auto const* der = reinterpret_cast<unsigned char const*>(certificate.data());
    std::unique_ptr<X509, decltype(&X509_free)> x509(
        d2i_X509(nullptr, &der, static_cast<long>(certificate.size())), X509_free);
    return PublicKey(x509 ? X509_get_pubkey(x509.get()) : nullptr, EVP_PKEY_free);
}

using Context = std::unique_ptr<EVP_PKEY_CTX, decltype(&EVP_PKEY_CTX_free)>;

inline bool verifies(std::string const& certificate, Bytes const& signature, Plain const& digest) {
    auto const key = keyOf(certificate);
    if (!key) {
        return false;
    }
    Context context(EVP_PKEY_CTX_new(key.get(), nullptr), EVP_PKEY_CTX_free);
    return context && EVP_PKEY_verify_init(context.get()) == 1 &&
           EVP_PKEY_CTX_set_rsa_padding(context.get(), RSA_PKCS1_PADDING) == 1 &&
           EVP_PKEY_CTX_set_signature_md(context.get(), EVP_sha256()) == 1 &&
           EVP_PKEY_verify(context.get(), signature.data(), signature.size(), digest.data(),
                           digest.size()) == 1;
}

}  // namespace pavlenenabler::test
