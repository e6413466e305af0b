#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "card_bench.hpp"
#include "signature_check.hpp"
#include "testsupport/cardsim/pkcs15_content.hpp"
#include "testsupport/cardsim/test_credentials.hpp"
#include "velk/exceptions.hpp"

namespace pavlenenabler::test {
namespace {

using iface::KeyCertType;

// PKCS#1 v1.5 encryption with the certificate's key.
Bytes encryptFor(std::string const& certificate, std::string const& message) {
    auto const key = keyOf(certificate);
    Context context(EVP_PKEY_CTX_new(key.get(), nullptr), EVP_PKEY_CTX_free);
    std::size_t length = 0;
    auto const* plain = reinterpret_cast<unsigned char const*>(message.data());
    if (!context || EVP_PKEY_encrypt_init(context.get()) != 1 ||
        EVP_PKEY_CTX_set_rsa_padding(context.get(), RSA_PKCS1_PADDING) != 1 ||
        EVP_PKEY_encrypt(context.get(), nullptr, &length, plain, message.size()) != 1) {
        return {};
    }
    Bytes cryptogram(length, 0);
    if (EVP_PKEY_encrypt(context.get(), cryptogram.data(), &length, plain, message.size()) != 1) {
        return {};
    }
    cryptogram.resize(length);
    return cryptogram;
}

class SignatureTest : public ::testing::TestWithParam<KeyCertType> {};

TEST_P(SignatureTest, SignatureVerifiesWithTheCertificatesKey) {
    CardBench bench;
    ASSERT_TRUE(bench.card->login("1234").verified);
    auto const certificate = bench.card->getCertificate(GetParam());
    auto const digest = sha256("message to sign");
    bench.sent();

    auto const signature = bench.card->sign(GetParam(), digestInfo(digest));
    EXPECT_TRUE(verifies(certificate, signature, digest));
    // The certificate was read before and is kept: VERIFY and the key slot's signing sequence.
    auto const key = static_cast<std::uint8_t>(static_cast<std::uint32_t>(GetParam()) + 1);
    auto const signing = bench.sent();
    ASSERT_EQ(signing.size(), 4u);
    EXPECT_EQ(signing[0], verify(1, "1234"));
    EXPECT_EQ(signing[1],
              (ByteVector{0x01, 0x22, 0x41, 0xB6, 0x06, 0x84, 0x01, key, 0x80, 0x01, 0x02}));
    EXPECT_EQ(signing[2][1], 0xD6);
    EXPECT_EQ(signing[3], (ByteVector{0x81, 0x2A, 0x9E, 0x9A, 0x04, 0x00, 0x00, 0x00, 0x33, 0x00}));
}

INSTANTIATE_TEST_SUITE_P(Keys, SignatureTest,
                         ::testing::Values(KeyCertType::Authentication, KeyCertType::Signature));

TEST(SmartcardCryptoTest, DecryptionReturnsThePlaintext) {
    CardBench bench;
    ASSERT_TRUE(bench.card->login("1234").verified);
    auto const cryptogram =
        encryptFor(bench.card->getCertificate(KeyCertType::Confidentiality), "session key");
    ASSERT_EQ(cryptogram.size(), 256u);
    bench.sent();

    auto const plain = bench.card->decrypt(KeyCertType::Confidentiality, cryptogram);
    EXPECT_EQ(std::string(plain.begin(), plain.end()), "session key");
    auto const sent = bench.sent();
    ASSERT_GE(sent.size(), 5u);
    EXPECT_EQ(instructionsOf({sent.end() - 5, sent.end()}),
              (std::vector<std::uint8_t>{0x20, 0x22, 0xD6, 0xD6, 0x2A}));
    EXPECT_EQ(sent[sent.size() - 4],
              (ByteVector{0x01, 0x22, 0x41, 0xB8, 0x06, 0x84, 0x01, 0x02, 0x80, 0x01, 0x02}));
    EXPECT_EQ(sent.back(),
              (ByteVector{0x81, 0x2A, 0x80, 0x86, 0x04, 0x00, 0x00, 0x01, 0x00, 0x00}));
}

// A refused call: its exception and message, and no crypto command sent.
struct RefusalCase {
    char const* name;
    bool login;
    std::function<void(iface::Smartcard&)> call;
    std::function<void()> rethrowAs;  // rethrows the current exception as the expected type
    char const* message;
};

template <class Expected>
std::function<void()> expecting() {
    return [] {
        try {
            throw;
        } catch (Expected const&) {
        } catch (std::exception const& e) {
            ADD_FAILURE() << "unexpected exception: " << e.what();
        }
    };
}

Bytes const Block{0x01, 0x02, 0x03};

class RefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(RefusalTest, RefusedCallSendsNoCryptoCommand) {
    auto content = testsupport::cardsim::Pkcs15Content::standard();
    content.certificates.erase(content.certificates.begin() + 2);  // no signature certificate
    auto profile = CardProfile::standard();
    profile.files = testsupport::cardsim::buildPkcs15Files(content);
    CardBench bench(profile);
    if (GetParam().login) {
        ASSERT_TRUE(bench.card->login("1234").verified);
    }
    bench.sent();
    try {
        GetParam().call(*bench.card);
        ADD_FAILURE() << "call accepted";
    } catch (std::exception const& e) {
        GetParam().rethrowAs();
        EXPECT_STREQ(e.what(), GetParam().message);
    }
    for (auto const instruction : instructionsOf(bench.sent())) {
        EXPECT_TRUE(instruction == 0xA4 || instruction == 0xB0) << int(instruction);
    }
}

auto const signWith = [](KeyCertType type, std::size_t length = 3) {
    return [type, length](iface::Smartcard& card) { card.sign(type, Bytes(length, 0x5A)); };
};
auto const decryptWith = [](KeyCertType type) {
    return [type](iface::Smartcard& card) { card.decrypt(type, Block); };
};

INSTANTIATE_TEST_SUITE_P(
    Calls, RefusalTest,
    ::testing::Values(
        RefusalCase{"SignBeforeLogin", false, signWith(KeyCertType::Authentication),
                    expecting<velk::AuthenticationRequired>(),
                    "Must be logged in for this crypto operation"},
        RefusalCase{"DecryptBeforeLogin", false, decryptWith(KeyCertType::Confidentiality),
                    expecting<velk::AuthenticationRequired>(),
                    "Must be logged in for this crypto operation"},
        RefusalCase{"SignWithConfidentialityKey", true, signWith(KeyCertType::Confidentiality),
                    expecting<velk::InputError>(), "Cannot sign with this KeyCertType"},
        RefusalCase{"SignWithUnknownType", true, signWith(static_cast<KeyCertType>(6)),
                    expecting<velk::InputError>(), "Cannot sign with this KeyCertType"},
        RefusalCase{"DecryptWithAuthenticationKey", true, decryptWith(KeyCertType::Authentication),
                    expecting<velk::InputError>(), "Cannot decrypt with this KeyCertType"},
        RefusalCase{"SignWithoutCertificate", true, signWith(KeyCertType::Signature),
                    expecting<velk::MissingData>(), "Missing key file"}),
    [](auto const& info) { return std::string(info.param.name); });

TEST(SmartcardCryptoTest, DataTooLongForTheInputBufferIsAnInputError) {
    CardBench bench;
    ASSERT_TRUE(bench.card->login("1234").verified);
    try {
        bench.card->sign(KeyCertType::Authentication, Bytes(511, 0x5A));
        ADD_FAILURE() << "511 bytes accepted";
    } catch (velk::InputError const& e) {
        EXPECT_STREQ(e.what(), "Wrong data length: Cryptographic input buffer data too long");
    }
    auto const sent = bench.sent();
    EXPECT_EQ(instructionsOf(sent).back(), 0x20);
    // The PIN stays cached: the next signature goes through.
    auto const digest = sha256("after a refusal");
    auto const signature = bench.card->sign(KeyCertType::Authentication, digestInfo(digest));
    EXPECT_TRUE(
        verifies(bench.card->getCertificate(KeyCertType::Authentication), signature, digest));
}

// Holds the first MANAGE SECURITY ENVIRONMENT that reaches the card, in the middle of a signing
// transaction, until another VERIFY arrives or the window closes. A card object that keeps its
// transactions apart lets nothing in for the whole window; one that does not lets the other
// thread's VERIFY in, which ends the hold at once.
class MidSigningLatch {
public:
    static constexpr std::uint8_t Verify = 0x20;
    static constexpr std::uint8_t ManageSecurityEnvironment = 0x22;

    void see(ByteVector const& command) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!held_ && command[1] == ManageSecurityEnvironment) {
            held_ = true;
            changed_.notify_all();
            changed_.wait_for(lock, std::chrono::milliseconds(300),
                              [this] { return verifiedMeanwhile_; });
        } else if (held_ && command[1] == Verify) {
            verifiedMeanwhile_ = true;
            changed_.notify_all();
        }
    }

    bool waitUntilHeld() {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(10), [this] { return held_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool held_ = false;
    bool verifiedMeanwhile_ = false;
};

TEST(SmartcardCryptoTest, LoginWaitsForTheSigningTransactionToEnd) {
    CardBench bench;
    ASSERT_TRUE(bench.card->login("1234").verified);
    auto const certificate = bench.card->getCertificate(KeyCertType::Authentication);
    bench.sent();
    MidSigningLatch latch;
    bench.connection->setTransmitHook([&latch](ByteVector const& command) { latch.see(command); });
    auto const digest = sha256("signed while a login waits");

    auto signing = std::async(std::launch::async, [&] {
        return bench.card->sign(KeyCertType::Authentication, digestInfo(digest));
    });
    ASSERT_TRUE(latch.waitUntilHeld());
    // A wrong PIN: presented inside the signing transaction, it would undo its verification.
    auto login = std::async(std::launch::async, [&] { return bench.card->login("9999"); });

    Bytes signature;
    EXPECT_NO_THROW(signature = signing.get());
    EXPECT_TRUE(verifies(certificate, signature, digest));
    EXPECT_EQ(login.get(), (teappletlib::interchange::PinVerifyResult{false, 2}));
    EXPECT_EQ(instructionsOf(bench.sent()),
              (std::vector<std::uint8_t>{0x20, 0x22, 0xD6, 0x2A, 0x20}));
}

}  // namespace
}  // namespace pavlenenabler::test
