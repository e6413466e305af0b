#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/sha.h>
#include <openssl/x509.h>

#include <memory>
#include <string>
#include <vector>

#include "file_command_bytes.hpp"
#include "simulated_card_stack.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/object_driver_cmd.hpp"
#include "teappletlib/interchange/obj/object_provider.hpp"
#include "teappletlib/interchange/obj/read_all.hpp"
#include "testsupport/cardsim/pkcs15_content.hpp"
#include "testsupport/cardsim/test_credentials.hpp"
#include "thrown_message.hpp"
#include "velk/exceptions.hpp"

namespace teappletlib::interchange::obj {
namespace {

using namespace iso7816::interchange::literals;
using driver::impl::cmd::KeyValueCache;
using driver::impl::cmd::ObjectDriverCmd;
using test::ByteVector;
using testsupport::cardsim::CardProfile;
using testsupport::cardsim::CardSimulator;
using Bytes = std::basic_string<unsigned char>;
using SecureBytes = velk::basic_allocated_string<unsigned char>;

AuthObjectId const CardPin{3};
KeyId const AuthenticationKey{1};
AbsoluteFid const CertificateDirectory{0x4404_fid};
AbsoluteFid const AuthenticationCertificate{0x4302_fid, 0x0001_fid};

// The PIN as the card object sends it: cut or padded with zero bytes to 15.
velk::basic_allocated_string<char> fitted(char const* pin) {
    velk::basic_allocated_string<char> result(pin);
    result.resize(15, '\0');
    return result;
}

Bytes sha256(std::string const& message) {
    Bytes digest(SHA256_DIGEST_LENGTH, 0);
    SHA256(reinterpret_cast<unsigned char const*>(message.data()), message.size(), digest.data());
    return digest;
}

// The DigestInfo of a SHA-256 digest, as OpenSSL hands it to the engine.
SecureBytes digestInfo(Bytes const& digest) {
    Bytes const prefix{0x30, 0x31, 0x30, 0x0D, 0x06, 0x09, 0x60, 0x86, 0x48, 0x01,
                       0x65, 0x03, 0x04, 0x02, 0x01, 0x05, 0x00, 0x04, 0x20};
    Bytes const block = prefix + digest;
    return SecureBytes(block.data(), block.size());
}

bool verifies(ByteVector const& certificate, Bytes const& signature, Bytes const& digest) {
    unsigned char const* der = certificate.data();
    std::unique_ptr<X509, decltype(&X509_free)> x509(
        d2i_X509(nullptr, &der, static_cast<long>(certificate.size())), X509_free);
    if (!x509) {
        return false;
    }
    std::unique_ptr<EVP_PKEY_CTX, decltype(&EVP_PKEY_CTX_free)> context(
        EVP_PKEY_CTX_new(X509_get0_pubkey(x509.get()), nullptr), EVP_PKEY_CTX_free);
    return context && EVP_PKEY_verify_init(context.get()) == 1 &&
           EVP_PKEY_CTX_set_rsa_padding(context.get(), RSA_PKCS1_PADDING) == 1 &&
           EVP_PKEY_CTX_set_signature_md(context.get(), EVP_sha256()) == 1 &&
           EVP_PKEY_verify(context.get(), signature.data(), signature.size(), digest.data(),
                           digest.size()) == 1;
}

// One card operation as the enabler runs it: a fresh cache and object layer per transaction.
class Road {
public:
    explicit Road(CardProfile profile = CardProfile::standard()) : card(std::move(profile)) {}

    void operate(std::function<void(ObjectProvider&)> const& work) {
        stack_.perform([&](cmd::CommandProvider& commands) {
            KeyValueCache cache(std::make_shared<KeyValueCache::Storage>());
            ObjectDriverCmd objects(commands, cache);
            ObjectProvider provider(objects);
            work(provider);
        });
    }

    ByteVector readFile(AbsoluteFid const& path) {
        ByteVector content;
        operate([&](ObjectProvider& objects) {
            content = test::vectorOf(readAll(*objects.getFile(path)));
        });
        return content;
    }

    // VERIFY with the fitted PIN, whose result is kept but not acted on, then the signature with
    // the authentication key.
    Bytes sign(char const* pin, SecureBytes const& data) {
        Bytes signature;
        operate([&](ObjectProvider& objects) {
            lastVerify = objects.getAuthObject(CardPin)->authenticatePin(fitted(pin));
            signature = objects.getRsaKeySlot(AuthenticationKey)->sign(data, HashAlg::NoHash);
        });
        return signature;
    }

    std::vector<ByteVector> sentSinceLastLook() {
        auto const sent = test::commandsSent(card);
        card.clearLog();
        return sent;
    }

    CardSimulator card;
    PinVerifyResult lastVerify{};

private:
    test::SimulatedCardStack stack_{card};
};

ByteVector const OpenChannel{0x00, 0x70, 0x00, 0x00, 0x01};

ByteVector selectApplet(std::uint8_t cla) {
    return {cla,  0xA4, 0x04, 0x00, 0x0C, 0xA0, 0x00, 0x00, 0x00,
            0x63, 0x50, 0x4B, 0x43, 0x53, 0x2D, 0x31, 0x35, 0x00};
}

// READ BINARY commands of a whole file, 256 bytes each.
std::vector<ByteVector> readsOf(std::uint8_t cla, std::size_t size) {
    std::vector<ByteVector> reads;
    for (std::size_t offset = 0; offset < size; offset += 256) {
        auto const le = static_cast<std::uint8_t>(std::min<std::size_t>(size - offset, 256));
        reads.push_back(test::readBinary(static_cast<std::uint16_t>(offset), le, cla));
    }
    return reads;
}

std::vector<ByteVector> signingCommands(std::uint8_t cla, SecureBytes const& data) {
    auto const proprietary = static_cast<std::uint8_t>(0x80 | cla);
    ByteVector verify{cla, 0x20, 0x00, 0x03, 0x0F, 0x31, 0x32, 0x33, 0x34};
    verify.resize(verify.size() + 11, 0x00);
    ByteVector write{cla, 0xD6, 0xFF, 0x00, static_cast<std::uint8_t>(data.size())};
    write.insert(write.end(), data.begin(), data.end());
    return {verify,
            {cla, 0x22, 0x41, 0xB6, 0x06, 0x84, 0x01, 0x01, 0x80, 0x01, 0x02},
            write,
            {proprietary, 0x2A, 0x9E, 0x9A, 0x04, 0x00, 0x00, 0x00,
             static_cast<std::uint8_t>(data.size()), 0x00}};
}

template <class... Runs>
std::vector<ByteVector> concat(Runs const&... runs) {
    std::vector<ByteVector> all;
    (all.insert(all.end(), runs.begin(), runs.end()), ...);
    return all;
}

TEST(SigningRoadTest, SignatureVerifiesWithTheCertificateReadFromTheCard) {
    Road road;
    auto const directory = road.readFile(CertificateDirectory);
    auto const certificate = road.readFile(AuthenticationCertificate);
    EXPECT_EQ(directory, testsupport::cardsim::encodeCertificateDirectory(
                             testsupport::cardsim::Pkcs15Content::standard().certificates));
    EXPECT_EQ(certificate, testsupport::cardsim::TestCredentials::shared().certificate(1));
    road.sentSinceLastLook();

    auto const digest = sha256("message to sign");
    auto const data = digestInfo(digest);
    auto const signature = road.sign("1234", data);
    EXPECT_EQ(road.lastVerify, (PinVerifyResult{true, 0}));
    EXPECT_TRUE(verifies(certificate, signature, digest));
}

TEST(SigningRoadTest, ChannelAndAppletAreSetUpInTheFirstTransactionOnly) {
    Road road;
    auto const directory = road.readFile(CertificateDirectory);
    auto const certificate = road.readFile(AuthenticationCertificate);
    auto const data = digestInfo(sha256("message to sign"));
    road.sign("1234", data);

    std::uint8_t const channel1 = 0x01;
    EXPECT_EQ(road.sentSinceLastLook(),
              concat(std::vector<ByteVector>{OpenChannel, selectApplet(channel1),
                                             test::selectFile(0x3F00, channel1),
                                             test::selectFile(0x4404, channel1)},
                     readsOf(channel1, directory.size()),
                     std::vector<ByteVector>{test::selectFile(0x3F00, channel1),
                                             test::selectFile(0x4302, channel1),
                                             test::selectFile(0x0001, channel1)},
                     readsOf(channel1, certificate.size()), signingCommands(channel1, data)));
}

TEST(SigningRoadTest, BasicChannelSelectsTheAppletInEveryTransaction) {
    auto profile = CardProfile::standard();
    profile.channelCount = 1;  // no logical channel free: 6A81
    Road road(profile);
    auto const data = digestInfo(sha256("message to sign"));
    road.sign("1234", data);
    road.sign("1234", data);

    std::uint8_t const channel0 = 0x00;
    EXPECT_EQ(
        road.sentSinceLastLook(),
        concat(std::vector<ByteVector>{OpenChannel, selectApplet(channel0)},
               signingCommands(channel0, data), std::vector<ByteVector>{selectApplet(channel0)},
               signingCommands(channel0, data)));
}

TEST(SigningRoadFailureTest, WrongPinLeavesTheSignatureRefused) {
    Road road;
    EXPECT_EQ(test::thrownMessage<velk::secure_elt_err::SecurityCondNotSatisfied>(
                  [&] { road.sign("9999", digestInfo(sha256("m"))); }),
              "Security condition not satisfied");
    EXPECT_EQ(road.lastVerify, (PinVerifyResult{false, 2}));
    EXPECT_EQ(road.card.pinTriesRemaining(), 2);
}

TEST(SigningRoadFailureTest, BlockedPinIsReported) {
    auto profile = CardProfile::standard();
    profile.pin.triesRemaining = 0;
    Road road(profile);
    EXPECT_THROW(road.sign("1234", digestInfo(sha256("m"))),
                 velk::secure_elt_err::AuthMethodBlocked);
}

TEST(SigningRoadFailureTest, MissingAppletIsTriedAgainInTheNextTransaction) {
    auto profile = CardProfile::standard();
    profile.appletPresent = false;
    Road road(profile);
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_EQ(test::thrownMessage<velk::secure_elt_err::FileNotFound>(
                      [&] { road.operate([](ObjectProvider&) { ADD_FAILURE() << "operated"; }); }),
                  "No Tessaro applet available");
    }
    EXPECT_EQ(road.sentSinceLastLook(),
              (std::vector<ByteVector>{OpenChannel, selectApplet(0x01), selectApplet(0x01)}));
}

TEST(SigningRoadFailureTest, MissingFileIsReported) {
    Road road;
    EXPECT_EQ(test::thrownMessage<velk::secure_elt_err::FileNotFound>([&] {
                  road.readFile({0x4302_fid, 0x0009_fid});
              }),
              "File not found");
}

TEST(SigningRoadFailureTest, InputLongerThanTheBufferIsRefusedBeforeTheSignature) {
    Road road;
    EXPECT_EQ(test::thrownMessage<velk::secure_elt_err::WrongLength>(
                  [&] { road.sign("1234", SecureBytes(511, 0x01)); }),
              "Cryptographic input buffer data too long");
    auto const sent = road.sentSinceLastLook();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back()[1], 0x20);  // the VERIFY was the last command
}

}  // namespace
}  // namespace teappletlib::interchange::obj
