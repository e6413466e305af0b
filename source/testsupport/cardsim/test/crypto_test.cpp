#include <memory>

#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/rsa.h>
#include <openssl/sha.h>
#include <openssl/x509.h>

#include "simulator_test_util.hpp"
#include "testsupport/cardsim/test_credentials.hpp"

namespace testsupport::cardsim::test {
namespace {

ByteVector const Ok{0x90, 0x00};
ByteVector const SetSignatureKey1{0x00, 0x22, 0x41, 0xB6, 0x06, 0x84, 0x01, 0x01, 0x80, 0x01, 0x02};

// The DigestInfo of SHA-256 over "card": what an OpenSSL host hands the engine to sign.
ByteVector digestInfo(ByteVector& hash) {
    ByteVector const message = text("card");
    hash.resize(SHA256_DIGEST_LENGTH);
    SHA256(message.data(), message.size(), hash.data());
    return concat({{0x30, 0x31, 0x30, 0x0D, 0x06, 0x09, 0x60, 0x86, 0x48, 0x01, 0x65, 0x03, 0x04,
                    0x02, 0x01, 0x05, 0x00, 0x04, 0x20},
                   hash});
}

ByteVector writeBuffer(CardSimulator& card, std::uint8_t offset, ByteVector const& data) {
    return card.transmit(
        concat({{0x00, 0xD6, 0xFF, offset, static_cast<std::uint8_t>(data.size())}, data}));
}

ByteVector computeSignature(CardSimulator& card, std::size_t length) {
    return card.transmit(
        {0x80, 0x2A, 0x9E, 0x9A, 0x04, 0x00, 0x00, 0x00, static_cast<std::uint8_t>(length), 0x00});
}

// Checks a PKCS#1 v1.5 SHA-256 signature with the public key of the slot's certificate.
bool signatureVerifies(std::uint8_t slot, ByteVector const& hash, ByteVector const& signature) {
    ByteVector const& der = TestCredentials::shared().certificate(slot);
    unsigned char const* p = der.data();
    std::unique_ptr<X509, decltype(&X509_free)> cert(d2i_X509(nullptr, &p, long(der.size())),
                                                     &X509_free);
    if (!cert) {
        return false;
    }
    std::unique_ptr<EVP_PKEY_CTX, decltype(&EVP_PKEY_CTX_free)> ctx(
        EVP_PKEY_CTX_new(X509_get0_pubkey(cert.get()), nullptr), &EVP_PKEY_CTX_free);
    return ctx && EVP_PKEY_verify_init(ctx.get()) == 1 &&
           EVP_PKEY_CTX_set_rsa_padding(ctx.get(), RSA_PKCS1_PADDING) == 1 &&
           EVP_PKEY_CTX_set_signature_md(ctx.get(), EVP_sha256()) == 1 &&
           EVP_PKEY_verify(ctx.get(), signature.data(), signature.size(), hash.data(),
                           hash.size()) == 1;
}

class CardSimulatorCrypto : public ::testing::Test {
protected:
    CardSimulatorCrypto() {
        selectApplet(card);
        block = digestInfo(hash);
    }

    CardSimulator card;
    ByteVector hash;
    ByteVector block;
};

TEST_F(CardSimulatorCrypto, SignsTheBufferWithTheSlotKeyOnceThePinIsVerified) {
    EXPECT_EQ(verifyPin(card, "1234"), Ok);
    EXPECT_EQ(card.transmit(SetSignatureKey1), Ok);
    EXPECT_EQ(writeBuffer(card, 0x00, block), Ok);
    ByteVector const answer = computeSignature(card, block.size());
    ASSERT_EQ(answer.size(), 258U);
    EXPECT_EQ(statusOf(answer), Ok);
    EXPECT_TRUE(signatureVerifies(1, hash, dataOf(answer)));
    EXPECT_FALSE(signatureVerifies(3, hash, dataOf(answer)));
}

TEST_F(CardSimulatorCrypto, SignsWithTheKeyOfSlotThree) {
    verifyPin(card, "1234");
    EXPECT_EQ(card.transmit({0x00, 0x22, 0x41, 0xB6, 0x06, 0x84, 0x01, 0x03, 0x80, 0x01, 0x02}),
              Ok);
    writeBuffer(card, 0x00, block);
    EXPECT_TRUE(signatureVerifies(3, hash, dataOf(computeSignature(card, block.size()))));
}

TEST_F(CardSimulatorCrypto, BufferWrittenInPiecesSignsTheSame) {
    verifyPin(card, "1234");
    card.transmit(SetSignatureKey1);
    writeBuffer(card, 0x00, block);
    ByteVector const whole = computeSignature(card, block.size());
    card.transmit({0x00, 0xD6, 0xFF, 0x00, 0x05, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE});
    writeBuffer(card, 0x00, ByteVector(block.begin(), block.begin() + 20));
    writeBuffer(card, 20, ByteVector(block.begin() + 20, block.end()));
    EXPECT_EQ(computeSignature(card, block.size()), whole);
}

TEST_F(CardSimulatorCrypto, SignatureNeedsThePinOnTheSameChannel) {
    card.transmit(SetSignatureKey1);
    writeBuffer(card, 0x00, block);
    EXPECT_EQ(computeSignature(card, block.size()), (ByteVector{0x69, 0x82}));
    card.transmit({0x00, 0x70, 0x00, 0x00, 0x01});
    selectApplet(card, 0x01);
    verifyPin(card, "1234", 0x01);
    EXPECT_EQ(computeSignature(card, block.size()), (ByteVector{0x69, 0x82}));
}

TEST_F(CardSimulatorCrypto, SignatureNeedsASignatureEnvironment) {
    verifyPin(card, "1234");
    writeBuffer(card, 0x00, block);
    EXPECT_EQ(computeSignature(card, block.size()), (ByteVector{0x69, 0x85}));
    card.transmit({0x00, 0x22, 0x41, 0xB8, 0x06, 0x84, 0x01, 0x02, 0x80, 0x01, 0x02});
    EXPECT_EQ(computeSignature(card, block.size()), (ByteVector{0x69, 0x85}));
}

TEST_F(CardSimulatorCrypto, SelectingTheAppletAgainStartsAFreshSession) {
    verifyPin(card, "1234");
    card.transmit(SetSignatureKey1);
    selectApplet(card);
    writeBuffer(card, 0x00, block);
    EXPECT_EQ(computeSignature(card, block.size()), (ByteVector{0x69, 0x85}));
    card.transmit(SetSignatureKey1);
    EXPECT_EQ(computeSignature(card, block.size()), (ByteVector{0x69, 0x82}));
}

TEST_F(CardSimulatorCrypto, SignatureRefusesBlocksAndLeItCannotServe) {
    verifyPin(card, "1234");
    card.transmit(SetSignatureKey1);
    // 246 bytes leave no room for the padding of a 2048-bit key.
    writeBuffer(card, 0x00, ByteVector(246, 0x11));
    EXPECT_EQ(computeSignature(card, 246), (ByteVector{0x67, 0x00}));
    EXPECT_EQ(statusOf(computeSignature(card, 245)), Ok);
    EXPECT_EQ(card.transmit({0x80, 0x2A, 0x9E, 0x9A, 0x04, 0x00, 0x00, 0x00, 0x10, 0x80}),
              (ByteVector{0x6C, 0x00}));
    EXPECT_EQ(card.transmit({0x80, 0x2A, 0x9E, 0x9A, 0x04, 0x00, 0x00, 0x02, 0x01, 0x00}),
              (ByteVector{0x67, 0x00}));
    EXPECT_EQ(card.transmit({0x80, 0x2A, 0x9E, 0x9A, 0x04, 0x00, 0x01, 0x00, 0x10, 0x00}),
              (ByteVector{0x6A, 0x80}));
    EXPECT_EQ(card.transmit({0x80, 0x2A, 0x9E, 0x9B, 0x04, 0x00, 0x00, 0x00, 0x10, 0x00}),
              (ByteVector{0x6A, 0x86}));
}

class CardSimulatorEnvironment : public ::testing::TestWithParam<CommandCase> {};

TEST_P(CardSimulatorEnvironment, AnswersTheFaultOfTheEnvironment) {
    CardSimulator card;
    selectApplet(card);
    EXPECT_EQ(card.transmit(GetParam().command), GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(
    ManageSecurityEnvironment, CardSimulatorEnvironment,
    ::testing::Values(
        // Slot 2 deciphers and does not sign; slot 1 signs and does not decipher.
        CommandCase{{0x00, 0x22, 0x41, 0xB6, 0x06, 0x84, 0x01, 0x02, 0x80, 0x01, 0x02},
                    {0x69, 0x88}},
        CommandCase{{0x00, 0x22, 0x41, 0xB8, 0x06, 0x84, 0x01, 0x01, 0x80, 0x01, 0x02},
                    {0x69, 0x88}},
        CommandCase{{0x00, 0x22, 0x41, 0xB6, 0x06, 0x84, 0x01, 0x04, 0x80, 0x01, 0x02},
                    {0x6A, 0x88}},
        CommandCase{{0x00, 0x22, 0x41, 0xB6, 0x06, 0x84, 0x01, 0x01, 0x80, 0x01, 0x12},
                    {0x6A, 0x81}},
        CommandCase{{0x00, 0x22, 0x41, 0xB6, 0x03, 0x84, 0x01, 0x01}, {0x6A, 0x80}},
        CommandCase{{0x00, 0x22, 0x41, 0xB6, 0x05, 0x84, 0x01, 0x01, 0x80, 0x02}, {0x6A, 0x80}},
        CommandCase{{0x00, 0x22, 0x81, 0xB6, 0x06, 0x84, 0x01, 0x01, 0x80, 0x01, 0x02},
                    {0x6A, 0x86}},
        CommandCase{{0x00, 0x22, 0x41, 0xB6, 0x06, 0x84, 0x01, 0x01, 0x80, 0x01, 0x02},
                    {0x90, 0x00}}));

TEST_F(CardSimulatorCrypto, DeciphersWithTheConfidentialityKey) {
    ByteVector const secret = text("session key");
    EVP_PKEY* key = TestCredentials::shared().key(2).get();
    std::unique_ptr<EVP_PKEY_CTX, decltype(&EVP_PKEY_CTX_free)> ctx(EVP_PKEY_CTX_new(key, nullptr),
                                                                    &EVP_PKEY_CTX_free);
    ASSERT_EQ(EVP_PKEY_encrypt_init(ctx.get()), 1);
    ASSERT_EQ(EVP_PKEY_CTX_set_rsa_padding(ctx.get(), RSA_PKCS1_PADDING), 1);
    ByteVector cryptogram(256);
    std::size_t length = cryptogram.size();
    ASSERT_EQ(EVP_PKEY_encrypt(ctx.get(), cryptogram.data(), &length, secret.data(), secret.size()),
              1);

    verifyPin(card, "1234");
    EXPECT_EQ(card.transmit({0x00, 0x22, 0x41, 0xB8, 0x06, 0x84, 0x01, 0x02, 0x80, 0x01, 0x02}),
              Ok);
    writeBuffer(card, 0x00, ByteVector(cryptogram.begin(), cryptogram.begin() + 255));
    writeBuffer(card, 0xFF, ByteVector(cryptogram.begin() + 255, cryptogram.end()));
    EXPECT_EQ(card.transmit({0x80, 0x2A, 0x80, 0x86, 0x04, 0x00, 0x00, 0x01, 0x00, 0x00}),
              concat({secret, Ok}));
    EXPECT_EQ(card.transmit({0x80, 0x2A, 0x80, 0x86, 0x04, 0x00, 0x00, 0x00, 0xFF, 0x00}),
              (ByteVector{0x6A, 0x80}));
}

TEST_F(CardSimulatorCrypto, ReadsThePublicKeyOfASlot) {
    RsaKey const& key = TestCredentials::shared().key(1);
    EXPECT_EQ(card.transmit({0x80, 0x3A, 0x01, 0x01, 0x00}), concat({key.modulus(), Ok}));
    EXPECT_EQ(card.transmit({0x80, 0x3A, 0x01, 0x02, 0x00}),
              (ByteVector{0x01, 0x00, 0x01, 0x90, 0x00}));
    EXPECT_EQ(card.transmit({0x80, 0x3A, 0x05, 0x02, 0x00}), (ByteVector{0x6A, 0x88}));
    EXPECT_EQ(card.transmit({0x80, 0x3A, 0x01, 0x03, 0x00}), (ByteVector{0x6A, 0x86}));
    EXPECT_EQ(card.transmit({0x80, 0x3A, 0x01, 0x01, 0x10}), (ByteVector{0x6C, 0x00}));
}

}  // namespace
}  // namespace testsupport::cardsim::test
