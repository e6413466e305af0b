#include "key_loaders.hpp"

#include <memory>

#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include "engine_errors.hpp"
#include "engine_state.hpp"
#include "rsa_method.hpp"

using namespace engine::detail;

namespace {

struct BioFree {
    void operator()(BIO* bio) const { BIO_free(bio); }
};
struct X509Free {
    void operator()(X509* certificate) const { X509_free(certificate); }
};
struct PkeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct RsaFree {
    void operator()(RSA* rsa) const { RSA_free(rsa); }
};
using PkeyPtr = std::unique_ptr<EVP_PKEY, PkeyFree>;

// The public key of the certificate in pem; null with an error raised when it does not parse.
PkeyPtr publicKeyOf(std::string const& pem) {
    std::unique_ptr<BIO, BioFree> const bio(
        BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
    if (!bio) {
        raiseError(Reason::Internal, "no memory for the certificate");
        return nullptr;
    }
    std::unique_ptr<X509, X509Free> const certificate(
        PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr));
    PkeyPtr key(certificate ? X509_get_pubkey(certificate.get()) : nullptr);
    if (!key) {
        raiseError(Reason::CertificateUnreadable);
    }
    return key;
}

// A key whose RSA object carries the engine's method before it joins the EVP_PKEY, so that
// OpenSSL treats it as the engine's and never tries to sign in software. The RSA object holds
// a reference to the engine, which keeps this library loaded while the key lives.
PkeyPtr cardKey(ENGINE* e, EVP_PKEY* publicKey) {
    RSA const* publicRsa = EVP_PKEY_get0_RSA(publicKey);
    if (publicRsa == nullptr) {
        raiseError(Reason::CertificateUnreadable, "the card's certificate holds no RSA key");
        return nullptr;
    }
    std::unique_ptr<RSA, RsaFree> rsa(RSA_new_method(e));
    if (!rsa || RSA_get_method(rsa.get()) != enablerRsaMethod()) {
        raiseError(Reason::Internal, "the engine's RSA method is not in place");
        return nullptr;
    }
    BIGNUM* n = BN_dup(RSA_get0_n(publicRsa));
    BIGNUM* exponent = BN_dup(RSA_get0_e(publicRsa));
    if (n == nullptr || exponent == nullptr || RSA_set0_key(rsa.get(), n, exponent, nullptr) != 1) {
        BN_free(n);
        BN_free(exponent);
        raiseError(Reason::Internal, "no memory for the key");
        return nullptr;
    }
    RSA_blinding_off(rsa.get());
    RSA_set_flags(rsa.get(), RSA_FLAG_EXT_PKEY);

    PkeyPtr key(EVP_PKEY_new());
    if (!key || EVP_PKEY_assign_RSA(key.get(), rsa.get()) != 1) {
        raiseError(Reason::Internal, "no memory for the key");
        return nullptr;
    }
    rsa.release();  // the key owns it now
    // Fails on OpenSSL 3 for an engine without key methods; the RSA object is what matters.
    ERR_set_mark();
    EVP_PKEY_set1_engine(key.get(), e);
    ERR_pop_to_mark();
    return key;
}

}  // namespace

extern "C" EVP_PKEY* load_privKey(ENGINE* e, char const*, UI_METHOD*, void*) {
    try {
        auto& state = EngineState::instance();
        CardPtr const card = state.requireCurrentCard();
        PkeyPtr const publicKey = publicKeyOf(state.pemOf(card));
        if (!publicKey) {
            return nullptr;
        }
        PkeyPtr key = cardKey(e, publicKey.get());
        if (!key) {
            return nullptr;
        }
        bindKeyToCard(EVP_PKEY_get0_RSA(key.get()), card);
        return key.release();
    } catch (...) {
        raiseCurrentException();
        return nullptr;
    }
}

extern "C" EVP_PKEY* load_pubKey(ENGINE*, char const*, UI_METHOD*, void*) {
    try {
        auto& state = EngineState::instance();
        return publicKeyOf(state.pemOf(state.requireCurrentCard())).release();
    } catch (...) {
        raiseCurrentException();
        return nullptr;
    }
}
