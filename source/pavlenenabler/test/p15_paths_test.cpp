// The slice paths this system evaluates, on the directory and token-info files of the card
// simulator, so that a path and the card's encoding are checked against each other.
#include <gtest/gtest.h>

#include <string>

#include "der/der_iterator.hpp"
#include "pavlenenabler/enabler/pkcs15/codec/certificate_choice.hpp"
#include "pavlenenabler/enabler/pkcs15/codec/directory.hpp"
#include "pavlenenabler/enabler/pkcs15/codec/token_info.hpp"
#include "pavlenenabler/enabler/pkcs15/p15.hpp"
#include "testsupport/cardsim/pkcs15_content.hpp"

namespace pavlenenabler::enabler::pkcs15::codec {
namespace {

using Bytes = std::basic_string<unsigned char>;
namespace cardsim = testsupport::cardsim;

Bytes Plain(cardsim::ByteVector const& bytes) {
    return Bytes(bytes.begin(), bytes.end());
}
Bytes Text(std::string const& text) {
    return Bytes(text.begin(), text.end());
}

// Printable by the test framework: "none" or the label as quoted text.
std::string Shown(boost::optional<Bytes> const& label) {
    return label ? "'" + std::string(label->begin(), label->end()) + "'" : "none";
}

TEST(P15PathsTest, CardDirectoryGivesEveryLabelAndCertificateFile) {
    cardsim::Pkcs15Content content = cardsim::Pkcs15Content::standard();
    content.certificates.push_back({"", 0x0006, {}, false});
    cardsim::ByteVector file = cardsim::encodeCertificateDirectory(content.certificates);
    Directory<CertificateChoice> const directory(file.data(), file.data() + file.size());

    ASSERT_EQ(directory.getEntries().size(), content.certificates.size());
    for (std::size_t i = 0; i < content.certificates.size(); ++i) {
        SCOPED_TRACE(i);
        CertificateChoice const& entry = directory.getEntries()[i];
        EXPECT_EQ(entry.getLabel(), Text(content.certificates[i].label));
        EXPECT_EQ(entry.getPath(0), 0x3F00);
        EXPECT_EQ(entry.getPath(1), cardsim::CertificateParentFileId);
        EXPECT_EQ(entry.getPath(2), content.certificates[i].fileId);
    }
}

TEST(P15PathsTest, CertificateAttributesPickTheirFields) {
    CDerIterator const entry(
        Plain(cardsim::encodeCertificateEntry({"Velk Test Root CA", 0x0004, {}, true}, 7)));
    EXPECT_EQ(entry.SliceValue(P15::x509Certificate_commonObjectAttributes_label),
              Text("Velk Test Root CA"));
    EXPECT_EQ(entry.SliceValue(P15::x509Certificate_classAttributes_iD), Bytes{0x07});
    EXPECT_EQ(entry.Slice(P15::x509Certificate_classAttributes_authority),
              (Bytes{0x01, 0x01, 0xFF}));
    CDerIterator const path(entry.Slice(P15::x509Certificate_typeAttributes_value));
    EXPECT_EQ(path.SliceValue(P15::Path_path), (Bytes{0x3F, 0x00, 0x43, 0x02, 0x00, 0x04}));
    bool found = true;
    EXPECT_EQ(path.Slice(P15::Path_index, found), Bytes{});
    EXPECT_FALSE(found);
}

TEST(P15PathsTest, TokenLabelIsReadWithAndWithoutManufacturer) {
    cardsim::Pkcs15Content content = cardsim::Pkcs15Content::standard();
    for (std::string const manufacturer : {"Velk", ""}) {
        SCOPED_TRACE(manufacturer);
        content.manufacturer = manufacturer;
        content.tokenLabel = "VELK TEST CARD";
        EXPECT_EQ(Shown(TokenInfo(Plain(cardsim::encodeTokenInfo(content))).getTokenLabel()),
                  "'VELK TEST CARD'");
        content.tokenLabel.reset();
        EXPECT_EQ(Shown(TokenInfo(Plain(cardsim::encodeTokenInfo(content))).getTokenLabel()),
                  "none");
    }
}

}  // namespace
}  // namespace pavlenenabler::enabler::pkcs15::codec
