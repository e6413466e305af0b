// The PKCS#15 files and the capability BIT STRING of the simulated card, read back with the
// slice paths and decoders through which the enabler and the drivers read a real card.
#include <string>

#include <gtest/gtest.h>

#include "der/der_bit_string.hpp"
#include "der/der_iterator.hpp"
#include "simulator_test_util.hpp"
#include "testsupport/cardsim/pkcs15_content.hpp"

namespace testsupport::cardsim::test {
namespace {

// The paths of the directory entry's label and certificate Path, of the Path's file
// identifiers and of the token label.
char const* const CertificateLabel = "!SEQ{!SEQ{?UT8";
char const* const CertificateValue = "!SEQ{!SEQ!SEQ?CC0!CC1{!SEQ{!SEQ";
char const* const PathOctets = "!SEQ{!OCT";
char const* const TokenInfoLabel = "!SEQ{!INT!OCT?UT8!CP0{";

using Bytes = std::basic_string<unsigned char>;

Bytes bytes(ByteVector const& v) {
    return Bytes(v.begin(), v.end());
}

Bytes bytes(std::string const& s) {
    return Bytes(s.begin(), s.end());
}

// The data of a whole file, read 256 bytes at a time from its identifier below the MF.
Bytes readFile(CardSimulator& card, std::uint8_t high, std::uint8_t low) {
    card.transmit({0x00, 0xA4, 0x00, 0x0C, 0x02, high, low});
    Bytes content;
    for (;;) {
        ByteVector const data =
            dataOf(card.transmit({0x00, 0xB0, static_cast<std::uint8_t>(content.size() >> 8),
                                  static_cast<std::uint8_t>(content.size() & 0xFF), 0x00}));
        content += bytes(data);
        if (data.size() < 256) {
            return content;
        }
    }
}

TEST(Pkcs15Decoding, DirectoryEntriesGiveTheirLabelsAndCertificatePathsInFileOrder) {
    Pkcs15Content content = Pkcs15Content::standard();
    content.certificates.push_back({std::string(200, 'L'), 0x0006, {}, false});
    content.certificates.push_back({"", 0xC001, {}, true});
    CDerIterator const directory(bytes(encodeCertificateDirectory(content.certificates)));

    ASSERT_EQ(directory.NumDers(), content.certificates.size());
    for (unsigned long i = 0; i < directory.NumDers(); ++i) {
        CertificateEntry const& expected = content.certificates[i];
        CDerIterator const entry(directory.GetDer(i));
        EXPECT_EQ(entry.SliceValue(CertificateLabel), bytes(expected.label)) << i;
        bool found = false;
        Bytes const path = entry.Slice(CertificateValue, found);
        ASSERT_TRUE(found) << i;
        EXPECT_EQ(CDerIterator(path).SliceValue(PathOctets),
                  (Bytes{0x3F, 0x00, 0x43, 0x02, static_cast<unsigned char>(expected.fileId >> 8),
                         static_cast<unsigned char>(expected.fileId & 0xFF)}))
            << i;
    }
}

TEST(Pkcs15Decoding, CardDirectoryLeadsToTheCertificateFilesOfItsLabels) {
    CardSimulator card;
    selectApplet(card);
    CDerIterator const directory(readFile(card, 0x44, 0x04));
    ASSERT_EQ(directory.NumDers(), 5U);
    CDerIterator const entry(directory.GetDer(0));
    EXPECT_EQ(entry.SliceValue(CertificateLabel), bytes(std::string(AuthenticationLabel)));
    Bytes const fids = CDerIterator(entry.Slice(CertificateValue)).SliceValue(PathOctets);
    ASSERT_EQ(fids.size(), 6U);

    card.transmit({0x00, 0xA4, 0x00, 0x0C, 0x02, fids[2], fids[3]});
    EXPECT_EQ(readFile(card, fids[4], fids[5]),
              bytes(Pkcs15Content::standard().certificates[0].certificate));
}

TEST(Pkcs15Decoding, TokenInfoGivesItsLabelWithOrWithoutManufacturer) {
    Pkcs15Content content = Pkcs15Content::standard();
    bool found = false;
    EXPECT_EQ(CDerIterator(bytes(encodeTokenInfo(content))).Slice(TokenInfoLabel, found),
              bytes(std::string("VELK TEST CARD")));
    EXPECT_TRUE(found);

    content.manufacturer.clear();
    content.tokenLabel = "";
    EXPECT_EQ(CDerIterator(bytes(encodeTokenInfo(content))).Slice(TokenInfoLabel, found), Bytes{});
    EXPECT_TRUE(found);

    content.tokenLabel.reset();
    CDerIterator(bytes(encodeTokenInfo(content))).Slice(TokenInfoLabel, found);
    EXPECT_FALSE(found);
}

TEST(Pkcs15Decoding, CardTokenInfoFileGivesTheTokenLabel) {
    CardSimulator card;
    selectApplet(card);
    EXPECT_EQ(CDerIterator(readFile(card, 0x50, 0x32)).Slice(TokenInfoLabel),
              bytes(std::string("VELK TEST CARD")));
}

TEST(Pkcs15Decoding, CapabilitiesAreABitStringOfTheProfileFlags) {
    CardProfile profile = CardProfile::standard();
    profile.capabilities.assign(28, false);
    profile.capabilities[0] = true;
    profile.capabilities[27] = true;
    CardSimulator card(std::move(profile));
    selectApplet(card);
    CDerString const answer(bytes(dataOf(card.transmit({0x00, 0xCA, 0x01, 0x05, 0x00}))));
    ASSERT_EQ(answer.RawTag(), 0x03UL);
    unsigned char flags[28] = {};
    BitStringDecodeValue(answer.Val(), 28, flags);
    for (int i = 0; i < 28; ++i) {
        EXPECT_EQ(flags[i], i == 0 || i == 27 ? 1 : 0) << i;
    }
}

}  // namespace
}  // namespace testsupport::cardsim::test
