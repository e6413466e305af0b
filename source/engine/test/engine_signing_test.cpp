#include <openssl/engine.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

#include <cstdint>
#include <functional>
#include <sstream>
#include <stdexcept>

#include "cardservice/memory/memory_service.hpp"
#include "engine/exported_functions.hpp"
#include "engine_fixture.hpp"
#include "testsupport/cardsim/test_credentials.hpp"

namespace engine::test {
namespace {

using testsupport::cardsim::TestCredentials;

std::string const Message = "message to be signed";

TEST_F(EngineTest, SignsWithTheCardKeyAfterThePinCameAsText) {
    initEngine();
    ASSERT_EQ(ENGINE_ctrl_cmd_string(engine_, "PIN", Pin, 0), 1) << takeErrorText();
    PkeyPtr const privateKey = loadPrivateKey();
    ASSERT_TRUE(privateKey) << takeErrorText();
    PkeyPtr const publicKey(ENGINE_load_public_key(engine_, "authentication", nullptr, nullptr));
    ASSERT_TRUE(publicKey);
    EXPECT_EQ(EVP_PKEY_eq(privateKey.get(), publicKey.get()), 1);

    std::string const signature = signMessage(privateKey.get(), Message);
    ASSERT_FALSE(signature.empty()) << takeErrorText();
    EXPECT_TRUE(verifiesWithCardCertificate(Message, signature));
}

TEST_F(EngineTest, CertificateComesAsPemOfTheCardAndIsReadOnce) {
    initEngine();
    struct {
        char* text;
        std::uint32_t length;
    } record{nullptr, 0};
    EXPECT_EQ(ENGINE_ctrl(engine_, 205, 0, &record, nullptr), 0);
    ASSERT_NE(record.text, nullptr);
    std::string const pem(record.text, record.length);
    delete[] record.text;

    std::istringstream lines(pem);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "-----BEGIN CERTIFICATE-----");
    while (std::getline(lines, line) && line.front() != '-') {
        EXPECT_LE(line.size(), 64u);
    }
    EXPECT_EQ(line, "-----END CERTIFICATE-----");

    std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new_mem_buf(pem.data(), pem.size()),
                                                  BIO_free);
    std::unique_ptr<X509, decltype(&X509_free)> parsed(
        PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr), X509_free);
    ASSERT_TRUE(parsed);
    unsigned char* der = nullptr;
    int const derLength = i2d_X509(parsed.get(), &der);
    auto const& expected = TestCredentials::shared().certificate(1);
    EXPECT_EQ(std::string(der, der + derLength), std::string(expected.begin(), expected.end()));
    OPENSSL_free(der);

    ASSERT_TRUE(waitUntilCardIsQuiet(*card_));
    auto const exchanges = card_->log().size();
    char* again = nullptr;
    unsigned int length = 0;
    EXPECT_EQ(getAuthenticationCertificate(&again, &length), pem.size());
    EXPECT_EQ(again[length], '\0');
    delete[] again;
    EXPECT_EQ(card_->log().size(), exchanges);
}

TEST_F(EngineTest, WrongPinFailsWithTheTriesLeftAndCostsOneTry) {
    initEngine();
    PkeyPtr const key = loadPrivateKey();
    ASSERT_TRUE(key);
    for (char const* expected : {"wrong PIN: 2 tries left", "wrong PIN: 1 try left"}) {
        EXPECT_EQ(ENGINE_ctrl_cmd_string(engine_, "PIN", "9999", 0), 0);
        EXPECT_EQ(takeErrorText(), expected);
        // The refusal is told again: OpenSSL drops the errors of the PIN line of openssl.cnf.
        EXPECT_TRUE(signMessage(key.get(), Message).empty());
        EXPECT_EQ(takeErrorText(), expected);
    }
    EXPECT_EQ(card_->pinTriesRemaining(), 1);

    ASSERT_EQ(ENGINE_ctrl_cmd_string(engine_, "PIN", Pin, 0), 1);
    ASSERT_TRUE(ERR_peek_error() == 0);
    ASSERT_EQ(card_->pinTriesRemaining(), 3);
}

TEST_F(EngineTest, BlockedPinIsToldAtLoginAndAtSigning) {
    initEngine();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ENGINE_ctrl_cmd_string(engine_, "PIN", "9999", 0), 0);
        ERR_clear_error();
    }
    EXPECT_EQ(ENGINE_ctrl_cmd_string(engine_, "PIN", Pin, 0), 0);
    EXPECT_EQ(takeErrorText().rfind("PIN blocked", 0), 0u);
    PkeyPtr const key = loadPrivateKey();
    ASSERT_TRUE(key);
    EXPECT_TRUE(signMessage(key.get(), Message).empty());
    EXPECT_EQ(takeErrorText().rfind("PIN blocked", 0), 0u);
}

TEST_F(EngineTest, RefusedPinOutlivesARestartButNotTheCard) {
    initEngine();
    EXPECT_EQ(ENGINE_ctrl_cmd_string(engine_, "PIN", "9999", 0), 0);
    ERR_clear_error();
    // OpenSSL finishes the engine when a line of openssl.cnf fails, and the host starts it again.
    ENGINE_finish(engine_);
    ASSERT_NE(ENGINE_init(engine_), 0);
    PkeyPtr key = loadPrivateKey();
    ASSERT_TRUE(key);
    EXPECT_TRUE(signMessage(key.get(), Message).empty());
    EXPECT_EQ(takeErrorText(), "wrong PIN: 2 tries left");

    ASSERT_TRUE(waitUntilCardIsQuiet(*card_));
    cardservice::memory::removeCard(ReaderName);
    ASSERT_TRUE(waitUntil([] { return !hasCurrentCard(); }));
    cardservice::memory::insertCard(ReaderName, newCard());
    ASSERT_TRUE(waitUntil(hasCurrentCard));
    key = loadPrivateKey();
    ASSERT_TRUE(key);
    EXPECT_TRUE(signMessage(key.get(), Message).empty());
    EXPECT_EQ(takeErrorText().rfind("no PIN given for the card", 0), 0u);
}

// The card is swapped while the engine is stopped, so no removal is seen.
TEST_F(EngineTest, BlockedPinOfAnEarlierCardIsNotToldAboutAFreshOne) {
    initEngine();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ENGINE_ctrl_cmd_string(engine_, "PIN", "9999", 0), 0);
    }
    ERR_clear_error();
    ASSERT_TRUE(waitUntilCardIsQuiet(*card_));
    ENGINE_finish(engine_);
    cardservice::memory::removeCard(ReaderName);
    cardservice::memory::insertCard(ReaderName, newCard());
    ASSERT_NE(ENGINE_init(engine_), 0);

    PkeyPtr const key = loadPrivateKey();
    ASSERT_TRUE(key);
    EXPECT_TRUE(signMessage(key.get(), Message).empty());
    EXPECT_EQ(takeErrorText().rfind("no PIN given for the card", 0), 0u);
}

TEST_F(EngineTest, WithoutCardTheCInterfaceThrowsAndTheEngineFailsCleanly) {
    cardservice::memory::removeCard(ReaderName);
    initEngine();
    EXPECT_FALSE(loadPrivateKey());
    EXPECT_EQ(takeErrorText(), "no card in reader: Reader 1");
    EXPECT_EQ(ENGINE_ctrl_cmd_string(engine_, "PIN", Pin, 0), 0);
    EXPECT_EQ(takeErrorText(), "no card in reader: Reader 1");

    unsigned char data[] = {1, 2, 3};
    unsigned char* out = nullptr;
    unsigned long outLength = 0;
    try {
        sign(data, sizeof data, &out, &outLength);
        ADD_FAILURE() << "sign without a card returned";
    } catch (std::invalid_argument* noCard) {
        EXPECT_STREQ(noCard->what(), "_smartcard is still nullptr. failing");
        delete noCard;
    }
}

TEST_F(EngineTest, RemovedCardEmptiesTheCurrentCardAndItsKeyFails) {
    initEngine();
    ASSERT_EQ(ENGINE_ctrl_cmd_string(engine_, "PIN", Pin, 0), 1);
    PkeyPtr const key = loadPrivateKey();
    ASSERT_TRUE(key);

    cardservice::memory::removeCard(ReaderName);
    ASSERT_TRUE(waitUntil([] { return !hasCurrentCard(); }));
    EXPECT_TRUE(signMessage(key.get(), Message).empty());
    EXPECT_NE(takeErrorText().find("card removed"), std::string::npos);
}

// What comes between loading the key and signing with it; the key never signs afterwards.
struct StaleKeyCase {
    char const* name;
    std::function<void()> change;
    char const* error;
};

class StaleKeyTest : public EngineTest, public ::testing::WithParamInterface<StaleKeyCase> {};

void swapCard(CardPtr const& card) {
    cardservice::memory::removeCard(ReaderName);
    ASSERT_TRUE(waitUntil([] { return !hasCurrentCard(); }));
    cardservice::memory::insertCard(ReaderName, card);
    ASSERT_TRUE(waitUntil(hasCurrentCard));
}

TEST_P(StaleKeyTest, KeyLoadedBeforeTheChangeNeverSignsAndSaysWhy) {
    initEngine();
    ASSERT_EQ(ENGINE_ctrl_cmd_string(engine_, "PIN", Pin, 0), 1);
    PkeyPtr const key = loadPrivateKey();
    ASSERT_TRUE(key);
    ASSERT_TRUE(waitUntilCardIsQuiet(*card_));

    GetParam().change();
    ASSERT_EQ(ENGINE_ctrl_cmd_string(engine_, "PIN", Pin, 0), 1);
    EXPECT_TRUE(signMessage(key.get(), Message).empty());
    EXPECT_EQ(takeErrorText().rfind(GetParam().error, 0), 0u);
    PkeyPtr const newKey = loadPrivateKey();
    EXPECT_TRUE(verifiesWithCardCertificate(Message, signMessage(newKey.get(), Message)));
}

INSTANTIATE_TEST_SUITE_P(
    Changes, StaleKeyTest,
    ::testing::Values(StaleKeyCase{"AnotherCard", [] { swapCard(otherCard()); }, "card changed"},
                      StaleKeyCase{"SameCardInsertedAgain", [] { swapCard(newCard()); },
                                   "key must be loaded again"},
                      // The key holds the engine, so only the C interface restarts it now.
                      StaleKeyCase{"EngineRestarted", [] { enabler_init(); },
                                   "key must be loaded again"}),
    [](auto const& info) { return std::string(info.param.name); });

using RsaPtr = std::unique_ptr<RSA, decltype(&RSA_free)>;

RsaPtr generatedKey() {
    RsaPtr rsa(RSA_new(), RSA_free);
    std::unique_ptr<BIGNUM, decltype(&BN_free)> exponent(BN_new(), BN_free);
    BN_set_word(exponent.get(), RSA_F4);
    EXPECT_EQ(RSA_generate_key_ex(rsa.get(), 2048, exponent.get(), nullptr), 1);
    return rsa;
}

// A key of n, e and d only, as hosts build from stored parameters: OpenSSL signs with it
// without the prime factors.
RsaPtr keyWithoutFactors() {
    RsaPtr const full = generatedKey();
    RsaPtr rsa(RSA_new(), RSA_free);
    EXPECT_EQ(RSA_set0_key(rsa.get(), BN_dup(RSA_get0_n(full.get())),
                           BN_dup(RSA_get0_e(full.get())), BN_dup(RSA_get0_d(full.get()))),
              1);
    return rsa;
}

struct SoftwareKeyCase {
    char const* name;
    RsaPtr (*make)();
};

class SoftwareKeyTest : public EngineTest, public ::testing::WithParamInterface<SoftwareKeyCase> {};

// With the engine as OpenSSL's default RSA implementation every RSA key passes through its
// method; keys that no card issued must work in software.
TEST_P(SoftwareKeyTest, SignsAndDecryptsWithTheEngineAsDefault) {
    initEngine();
    ASSERT_EQ(ENGINE_set_default_RSA(engine_), 1);
    RsaPtr const rsa = GetParam().make();
    EXPECT_EQ(RSA_get0_engine(rsa.get()), engine_);
    EXPECT_EQ(RSA_test_flags(rsa.get(), RSA_FLAG_EXT_PKEY), 0);

    unsigned char const digest[32] = {7};
    std::string signature(RSA_size(rsa.get()), '\0');
    unsigned int signatureLength = 0;
    ASSERT_EQ(
        RSA_sign(NID_sha256, digest, sizeof digest,
                 reinterpret_cast<unsigned char*>(signature.data()), &signatureLength, rsa.get()),
        1)
        << takeErrorText();
    EXPECT_EQ(RSA_verify(NID_sha256, digest, sizeof digest,
                         reinterpret_cast<unsigned char const*>(signature.data()), signatureLength,
                         rsa.get()),
              1);

    unsigned char const secret[] = "plaintext";
    std::string cryptogram(RSA_size(rsa.get()), '\0');
    int const cryptogramLength = RSA_public_encrypt(
        sizeof secret, secret, reinterpret_cast<unsigned char*>(cryptogram.data()), rsa.get(),
        RSA_PKCS1_PADDING);
    ASSERT_GT(cryptogramLength, 0);
    std::string plain(RSA_size(rsa.get()), '\0');
    int const plainLength = RSA_private_decrypt(
        cryptogramLength, reinterpret_cast<unsigned char const*>(cryptogram.data()),
        reinterpret_cast<unsigned char*>(plain.data()), rsa.get(), RSA_PKCS1_PADDING);
    ASSERT_EQ(plainLength, static_cast<int>(sizeof secret));
    EXPECT_EQ(plain.substr(0, plainLength), std::string(secret, secret + sizeof secret));
    ENGINE_unregister_RSA(engine_);
}

INSTANTIATE_TEST_SUITE_P(Keys, SoftwareKeyTest,
                         ::testing::Values(SoftwareKeyCase{"Generated", generatedKey},
                                           SoftwareKeyCase{"WithoutFactors", keyWithoutFactors}),
                         [](auto const& info) { return std::string(info.param.name); });

TEST_F(EngineTest, CardKeySaysItDoesNotDecrypt) {
    initEngine();
    ASSERT_EQ(ENGINE_ctrl_cmd_string(engine_, "PIN", Pin, 0), 1);
    PkeyPtr const key = loadPrivateKey();
    ASSERT_TRUE(key);
    RsaPtr const card(EVP_PKEY_get1_RSA(key.get()), RSA_free);
    RSA* const rsa = card.get();
    std::string const cryptogram(RSA_size(rsa), '\1');
    std::string plain(RSA_size(rsa), '\0');
    EXPECT_EQ(
        RSA_private_decrypt(static_cast<int>(cryptogram.size()),
                            reinterpret_cast<unsigned char const*>(cryptogram.data()),
                            reinterpret_cast<unsigned char*>(plain.data()), rsa, RSA_PKCS1_PADDING),
        -1);
    EXPECT_EQ(takeErrorText(),
              "the card's key does not decrypt: the card's authentication key only signs");
}

TEST_F(EngineTest, CardKeyRefusesPaddingsTheCardCannotMake) {
    initEngine();
    ASSERT_EQ(ENGINE_ctrl_cmd_string(engine_, "PIN", Pin, 0), 1);
    PkeyPtr const key = loadPrivateKey();
    ASSERT_TRUE(key);
    std::unique_ptr<EVP_PKEY_CTX, decltype(&EVP_PKEY_CTX_free)> context(
        EVP_PKEY_CTX_new(key.get(), nullptr), EVP_PKEY_CTX_free);
    unsigned char const digest[32] = {1};
    unsigned char signature[512];
    size_t length = sizeof signature;
    ASSERT_EQ(EVP_PKEY_sign_init(context.get()), 1);
    ASSERT_EQ(EVP_PKEY_CTX_set_rsa_padding(context.get(), RSA_PKCS1_PSS_PADDING), 1);
    ASSERT_EQ(EVP_PKEY_CTX_set_signature_md(context.get(), EVP_sha256()), 1);
    EXPECT_LE(EVP_PKEY_sign(context.get(), signature, &length, digest, sizeof digest), 0);
    EXPECT_NE(takeErrorText().find("only PKCS#1 v1.5"), std::string::npos);
}

}  // namespace
}  // namespace engine::test
