#include "engine_fixture.hpp"

#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <stdexcept>
#include <thread>

#include "cardservice/memory/memory_service.hpp"
#include "engine/exported_functions.hpp"
#include "testsupport/cardsim/card_profile.hpp"
#include "testsupport/cardsim/test_credentials.hpp"

namespace engine::test {

using testsupport::cardsim::CardProfile;
using testsupport::cardsim::CardSimulator;
using testsupport::cardsim::TestCredentials;

bool waitUntilCardIsQuiet(CardSimulator const& card) {
    auto exchanges = card.log().size();
    int quietPolls = 0;
    return waitUntil([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        auto const now = card.log().size();
        quietPolls = now == exchanges ? quietPolls + 1 : 0;
        exchanges = now;
        return quietPolls == 3;
    });
}

namespace {

// Reason and data of the oldest error, which leaves the queue; empty when there is none.
std::string popErrorText() {
    char const* data = nullptr;
    int flags = 0;
    unsigned long const code = ERR_get_error_all(nullptr, nullptr, nullptr, &data, &flags);
    std::string text;
    if (code != 0) {
        char const* reason = ERR_reason_error_string(code);
        text = reason != nullptr ? reason : "?";
        if (data != nullptr && (flags & ERR_TXT_STRING) != 0 && *data != '\0') {
            text += ": ";
            text += data;
        }
    }
    return text;
}

}  // namespace

std::string takeErrorText() {
    std::string text = popErrorText();
    ERR_clear_error();
    return text;
}

std::vector<std::string> takeErrorTexts() {
    std::vector<std::string> texts;
    for (std::string text = popErrorText(); !text.empty(); text = popErrorText()) {
        texts.push_back(std::move(text));
    }
    return texts;
}

CardPtr newCard() {
    return std::make_shared<CardSimulator>(CardProfile::standard());
}

CardPtr otherCard() {
    CardProfile profile = CardProfile::standard();
    profile.serialNumber.back() ^= 0xFF;
    return std::make_shared<CardSimulator>(std::move(profile));
}

std::string signMessage(EVP_PKEY* key, std::string const& message) {
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                    EVP_MD_CTX_free);
    size_t length = 0;
    if (!context || EVP_DigestSignInit(context.get(), nullptr, EVP_sha256(), nullptr, key) != 1 ||
        EVP_DigestSign(context.get(), nullptr, &length,
                       reinterpret_cast<unsigned char const*>(message.data()),
                       message.size()) != 1) {
        return {};
    }
    std::string signature(length, '\0');
    if (EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(signature.data()), &length,
                       reinterpret_cast<unsigned char const*>(message.data()),
                       message.size()) != 1) {
        return {};
    }
    signature.resize(length);
    return signature;
}

bool verifiesWithCardCertificate(std::string const& message, std::string const& signature) {
    auto const& der = TestCredentials::shared().certificate(1);
    unsigned char const* cursor = der.data();
    std::unique_ptr<X509, decltype(&X509_free)> certificate(
        d2i_X509(nullptr, &cursor, static_cast<long>(der.size())), X509_free);
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                    EVP_MD_CTX_free);
    return certificate && context &&
           EVP_DigestVerifyInit(context.get(), nullptr, EVP_sha256(), nullptr,
                                X509_get0_pubkey(certificate.get())) == 1 &&
           EVP_DigestVerify(context.get(), reinterpret_cast<unsigned char const*>(signature.data()),
                            signature.size(),
                            reinterpret_cast<unsigned char const*>(message.data()),
                            message.size()) == 1;
}

void EngineTest::SetUp() {
    // libcrypto first: the card service's worker thread signs for the simulated cards, and a
    // service made before libcrypto would outlive libcrypto's clean-up at exit.
    OPENSSL_init_crypto(OPENSSL_INIT_ENGINE_DYNAMIC, nullptr);
    TestCredentials::shared();
    cardservice::memory::reset();
    cardservice::memory::addReader(ReaderName);
    card_ = newCard();
    cardservice::memory::insertCard(ReaderName, card_);

    engine_ = ENGINE_by_id("dynamic");
    ASSERT_NE(engine_, nullptr);
    ASSERT_EQ(ENGINE_ctrl_cmd_string(engine_, "SO_PATH", VELK_ENGINE_PATH, 0), 1);
    ASSERT_EQ(ENGINE_ctrl_cmd_string(engine_, "LOAD", nullptr, 0), 1) << takeErrorText();
    ERR_clear_error();
}

void EngineTest::initEngine() {
    // OpenSSL hands back what the init function returned; any non-zero value is success.
    ASSERT_NE(ENGINE_init(engine_), 0) << takeErrorText();
    initialised_ = true;
}

PkeyPtr EngineTest::loadPrivateKey() {
    return PkeyPtr(ENGINE_load_private_key(engine_, "authentication", nullptr, nullptr));
}

void EngineTest::TearDown() {
    if (initialised_) {
        ENGINE_finish(engine_);
    }
    if (engine_ != nullptr) {
        ENGINE_free(engine_);
    }
    cardservice::memory::reset();
    ERR_clear_error();
}

}  // namespace engine::test
