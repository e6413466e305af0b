// A host that keeps the card's key in an object made before the engine started and frees it at
// exit, after the engine library's statics are gone (the key holds the engine, so the library
// stays loaded). It must end with status 0 and nothing reported by the sanitizers.
#include <openssl/engine.h>
#include <openssl/err.h>
#include <openssl/evp.h>

#include <cstdio>
#include <memory>

#include "cardservice/memory/memory_service.hpp"
#include "testsupport/cardsim/card_simulator.hpp"
#include "testsupport/cardsim/test_credentials.hpp"

namespace {

struct KeyHolder {
    EVP_PKEY* key = nullptr;
    ~KeyHolder() { EVP_PKEY_free(key); }
};

int fail(char const* step) {
    std::fprintf(stderr, "FAIL: %s\n", step);
    ERR_print_errors_fp(stderr);
    return 1;
}

bool signs(EVP_PKEY* key) {
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                    EVP_MD_CTX_free);
    unsigned char const message[] = "signed before exit";
    unsigned char signature[512];
    size_t length = sizeof signature;
    return context && EVP_DigestSignInit(context.get(), nullptr, EVP_sha256(), nullptr, key) == 1 &&
           EVP_DigestSign(context.get(), signature, &length, message, sizeof message) == 1;
}

}  // namespace

int main() {
    // OpenSSL's exit handler is registered first, so it runs last.
    OPENSSL_init_crypto(OPENSSL_INIT_ENGINE_DYNAMIC, nullptr);
    testsupport::cardsim::TestCredentials::shared();
    static KeyHolder holder;

    cardservice::memory::reset();
    cardservice::memory::addReader("Reader 1");
    cardservice::memory::insertCard("Reader 1",
                                    std::make_shared<testsupport::cardsim::CardSimulator>());
    ENGINE* engine = ENGINE_by_id("dynamic");
    if (engine == nullptr || ENGINE_ctrl_cmd_string(engine, "SO_PATH", VELK_ENGINE_PATH, 0) != 1 ||
        ENGINE_ctrl_cmd_string(engine, "LOAD", nullptr, 0) != 1) {
        return fail("loading the engine");
    }
    if (ENGINE_init(engine) == 0 || ENGINE_ctrl_cmd_string(engine, "PIN", "1234", 0) != 1) {
        return fail("starting the engine");
    }
    holder.key = ENGINE_load_private_key(engine, "authentication", nullptr, nullptr);
    if (holder.key == nullptr || !signs(holder.key)) {
        return fail("signing with the card's key");
    }
    // The key keeps the engine; the holder lets go of both at exit.
    ENGINE_finish(engine);
    ENGINE_free(engine);
    return 0;
}
