#include <memory>

#include <gtest/gtest.h>
#include <openssl/x509.h>

#include "simulator_test_util.hpp"
#include "testsupport/cardsim/pkcs15_content.hpp"
#include "testsupport/cardsim/test_credentials.hpp"

namespace testsupport::cardsim::test {
namespace {

using X509Ptr = std::unique_ptr<X509, decltype(&X509_free)>;

X509Ptr parse(ByteVector const& der) {
    unsigned char const* p = der.data();
    return X509Ptr(d2i_X509(nullptr, &p, static_cast<long>(der.size())), &X509_free);
}

TEST(Pkcs15Content, CertificateEntryIsAnX509ObjectWithLabelIdAndPath) {
    EXPECT_EQ(encodeCertificateEntry({"A", 0x0001, {}, false}, 1),
              (ByteVector{0x30, 0x18,                          // certificate object
                          0x30, 0x03, 0x0C, 0x01, 0x41,        // label "A"
                          0x30, 0x03, 0x04, 0x01, 0x01,        // iD 01
                          0xA1, 0x0C, 0x30, 0x0A, 0x30, 0x08,  // [1] attributes, value
                          0x04, 0x06, 0x3F, 0x00, 0x43, 0x02, 0x00, 0x01}));  // path
}

TEST(Pkcs15Content, AuthorityEntryCarriesTheFlagAndUnlabelledEntryNoLabel) {
    EXPECT_EQ(
        encodeCertificateEntry({"", 0xC001, {}, true}, 7),
        (ByteVector{0x30, 0x18, 0x30, 0x00, 0x30, 0x06, 0x04, 0x01, 0x07, 0x01, 0x01, 0xFF, 0xA1,
                    0x0C, 0x30, 0x0A, 0x30, 0x08, 0x04, 0x06, 0x3F, 0x00, 0x43, 0x02, 0xC0, 0x01}));
}

TEST(Pkcs15Content, LongLabelsGetTheLongLengthForm) {
    ByteVector const entry = encodeCertificateEntry({std::string(200, 'x'), 0x0001, {}, false}, 1);
    EXPECT_EQ((ByteVector(entry.begin(), entry.begin() + 7)),
              (ByteVector{0x30, 0x81, 0xE1, 0x30, 0x81, 0xCB, 0x0C}));
    EXPECT_EQ(entry[7], 0x81);
    EXPECT_EQ(entry[8], 200);
    EXPECT_EQ(entry.size(), 3U + 0xE1);
}

TEST(Pkcs15Content, TokenInfoHoldsSerialManufacturerAndLabel) {
    Pkcs15Content content;
    content.tokenSerialNumber = {0x12, 0x34};
    content.tokenLabel = "Test";
    EXPECT_EQ(encodeTokenInfo(content),
              (ByteVector{0x30, 0x11, 0x02, 0x01, 0x00, 0x04, 0x02, 0x12, 0x34, 0x80, 0x04, 0x54,
                          0x65, 0x73, 0x74, 0x03, 0x02, 0x06, 0xC0}));
    content.manufacturer = "A";
    content.tokenLabel.reset();
    EXPECT_EQ(encodeTokenInfo(content),
              (ByteVector{0x30, 0x0E, 0x02, 0x01, 0x00, 0x04, 0x02, 0x12, 0x34, 0x0C, 0x01, 0x41,
                          0x03, 0x02, 0x06, 0xC0}));
}

TEST(Pkcs15Content, FilesHoldDirectoryTokenInfoAndCertificates) {
    Pkcs15Content const content = Pkcs15Content::standard();
    FileSystem const files = buildPkcs15Files(content);
    ASSERT_NE(files.find({0x4404}), nullptr);
    EXPECT_EQ(files.find({0x4404})->content, encodeCertificateDirectory(content.certificates));
    ASSERT_NE(files.find({0x5032}), nullptr);
    EXPECT_EQ(files.find({0x5032})->content, encodeTokenInfo(content));
    ASSERT_NE(files.find({0x4302}), nullptr);
    EXPECT_TRUE(files.find({0x4302})->directory);
    EXPECT_EQ(files.find({0x4302})->children.size(), 5U);
    ASSERT_NE(files.find({0x4302, 0x0003}), nullptr);
    EXPECT_EQ(files.find({0x4302, 0x0003})->content, TestCredentials::shared().certificate(3));
}

TEST(Pkcs15Content, StandardCertificatesCarryTheSlotKeysAndChainToTheRoot) {
    TestCredentials const& credentials = TestCredentials::shared();
    X509Ptr const root = parse(credentials.rootCaCertificate());
    X509Ptr const issuing = parse(credentials.issuingCaCertificate());
    ASSERT_TRUE(root && issuing);
    EXPECT_EQ(X509_verify(root.get(), X509_get0_pubkey(root.get())), 1);
    EXPECT_EQ(X509_verify(issuing.get(), X509_get0_pubkey(root.get())), 1);
    for (std::uint8_t slot = 1; slot <= 3; ++slot) {
        X509Ptr const holder = parse(credentials.certificate(slot));
        ASSERT_TRUE(holder);
        EXPECT_EQ(EVP_PKEY_eq(X509_get0_pubkey(holder.get()), credentials.key(slot).get()), 1);
        EXPECT_EQ(X509_verify(holder.get(), X509_get0_pubkey(issuing.get())), 1);
    }
    EXPECT_THROW(credentials.key(4), std::out_of_range);
}

TEST(FileSystem, RefusesPathsNoCardCouldHold) {
    FileSystem files;
    files.putFile({0x1000}, {0x01});
    EXPECT_THROW(files.putFile({0x1000, 0x1001}, {0x02}), std::invalid_argument);
    EXPECT_THROW(files.putFile({}, {0x02}), std::invalid_argument);
    EXPECT_THROW(files.putFile({0x3F00}, {0x02}), std::invalid_argument);
    EXPECT_THROW(files.putDirectory({0x1000}), std::invalid_argument);
    EXPECT_TRUE(files.remove({0x1000}));
    EXPECT_FALSE(files.remove({0x1000}));
    EXPECT_EQ(files.find({0x1000}), nullptr);
}

TEST(CardSimulatorPkcs15, EditedFilesAreWhatTheCardReads) {
    CardProfile profile = CardProfile::standard();
    profile.files.putFile({0x4404}, {0x30, 0x00, 0x00, 0x00});
    CardSimulator card(std::move(profile));
    selectApplet(card);
    card.transmit({0x00, 0xA4, 0x00, 0x0C, 0x02, 0x44, 0x04});
    EXPECT_EQ(card.transmit({0x00, 0xB0, 0x00, 0x00, 0x00}),
              (ByteVector{0x30, 0x00, 0x00, 0x00, 0x90, 0x00}));
}

}  // namespace
}  // namespace testsupport::cardsim::test
