#include <gtest/gtest.h>

#include "simulator_test_util.hpp"
#include "testsupport/cardsim/pkcs15_content.hpp"
#include "testsupport/cardsim/test_credentials.hpp"

namespace testsupport::cardsim::test {
namespace {

ByteVector const Ok{0x90, 0x00};
ByteVector const SelectMf{0x00, 0xA4, 0x00, 0x00, 0x02, 0x3F, 0x00, 0x09};
ByteVector const SelectCertificateDir{0x00, 0xA4, 0x00, 0x00, 0x02, 0x43, 0x02, 0x09};
ByteVector const SelectAuthCertificate{0x00, 0xA4, 0x00, 0x00, 0x02, 0x00, 0x01, 0x09};

std::uint8_t high(std::size_t n) {
    return static_cast<std::uint8_t>(n >> 8);
}
std::uint8_t low(std::size_t n) {
    return static_cast<std::uint8_t>(n & 0xFF);
}

// Reads the current EF as a reader does: 256 bytes at a time until an answer is short.
ByteVector readWholeFile(CardSimulator& card, std::size_t& commands) {
    ByteVector content;
    for (commands = 0;; ++commands) {
        ByteVector const answer =
            card.transmit({0x00, 0xB0, high(content.size()), low(content.size()), 0x00});
        EXPECT_EQ(statusOf(answer), (ByteVector{0x90, 0x00}));
        ByteVector const data = dataOf(answer);
        EXPECT_LE(data.size(), 256U);
        content.insert(content.end(), data.begin(), data.end());
        if (data.size() < 256 || statusOf(answer) != ByteVector{0x90, 0x00}) {
            return content;
        }
    }
}

TEST(CardSimulatorFiles, SelectsTheAppletByItsAid) {
    CardSimulator card;
    EXPECT_EQ(card.transmit(concat({{0x00, 0xA4, 0x04, 0x00, 0x0C}, AppletAid})),
              (ByteVector{0x90, 0x00}));
    ByteVector otherAid = AppletAid;
    otherAid.back() = 0x36;
    EXPECT_EQ(card.transmit(concat({{0x00, 0xA4, 0x04, 0x00, 0x0C}, otherAid})),
              (ByteVector{0x6A, 0x82}));
}

TEST(CardSimulatorFiles, CardWithoutTheAppletAnswers6A82) {
    CardProfile profile = CardProfile::standard();
    profile.appletPresent = false;
    CardSimulator card(std::move(profile));
    EXPECT_EQ(selectApplet(card), (ByteVector{0x6A, 0x82}));
    EXPECT_EQ(card.transmit(SelectMf), (ByteVector{0x6A, 0x82}));
    EXPECT_EQ(card.transmit({0x00, 0xCA, 0x01, 0x00, 0x08}), (ByteVector{0x69, 0x85}));
}

TEST(CardSimulatorFiles, FileInformationTellsDirectoriesFromFiles) {
    CardSimulator card;
    selectApplet(card);
    ByteVector const mf = card.transmit(SelectMf);
    ASSERT_EQ(mf.size(), 11U);
    EXPECT_EQ(mf[8], 0x38);
    EXPECT_EQ(statusOf(mf), (ByteVector{0x90, 0x00}));

    ByteVector const dir = card.transmit(SelectCertificateDir);
    ASSERT_EQ(dir.size(), 11U);
    EXPECT_EQ(dir[8], 0x38);

    std::size_t const size = TestCredentials::shared().certificate(1).size();
    ByteVector const cert = card.transmit(SelectAuthCertificate);
    ASSERT_EQ(cert.size(), 11U);
    EXPECT_EQ(cert[8], 0x01);
    EXPECT_EQ(cert[4], high(size));
    EXPECT_EQ(cert[5], low(size));
}

TEST(CardSimulatorFiles, SelectWithoutInformationAnswersOnlyTheStatus) {
    CardSimulator card;
    selectApplet(card);
    EXPECT_EQ(card.transmit({0x00, 0xA4, 0x00, 0x0C, 0x02, 0x3F, 0x00}), (ByteVector{0x90, 0x00}));
    EXPECT_EQ(card.transmit({0x00, 0xA4, 0x00, 0x0C, 0x02, 0x44, 0x04}), (ByteVector{0x90, 0x00}));
    EXPECT_EQ(card.transmit({0x00, 0xA4, 0x00, 0x00, 0x02, 0x44, 0x04}), (ByteVector{0x6C, 0x09}));
    EXPECT_EQ(card.transmit({0x00, 0xA4, 0x00, 0x04, 0x02, 0x44, 0x04}), (ByteVector{0x6A, 0x86}));
}

TEST(CardSimulatorFiles, SelectRefusedForItsLeLeavesTheSelectionAsItWas) {
    CardSimulator card;
    selectApplet(card);
    card.transmit({0x00, 0xA4, 0x00, 0x0C, 0x02, 0x50, 0x32});
    EXPECT_EQ(card.transmit({0x00, 0xA4, 0x00, 0x00, 0x02, 0x43, 0x02, 0x08}),
              (ByteVector{0x6C, 0x09}));
    ByteVector const tokenInfo = encodeTokenInfo(Pkcs15Content::standard());
    EXPECT_EQ(card.transmit({0x00, 0xB0, 0x00, 0x00, 0x02}),
              (ByteVector{tokenInfo[0], tokenInfo[1], 0x90, 0x00}));
    // Still in the MF: a certificate file is not found.
    EXPECT_EQ(card.transmit({0x00, 0xA4, 0x00, 0x0C, 0x02, 0x00, 0x01}), (ByteVector{0x6A, 0x82}));
}

TEST(CardSimulatorFiles, FilesAreFoundInTheCurrentDirectoryOnly) {
    CardSimulator card;
    selectApplet(card);
    // After an EF of the MF, another EF of the MF needs no SELECT of the MF.
    EXPECT_EQ(statusOf(card.transmit({0x00, 0xA4, 0x00, 0x00, 0x02, 0x44, 0x04, 0x09})),
              (ByteVector{0x90, 0x00}));
    EXPECT_EQ(statusOf(card.transmit({0x00, 0xA4, 0x00, 0x00, 0x02, 0x50, 0x32, 0x09})),
              (ByteVector{0x90, 0x00}));
    // A certificate file lies in DF 4302, not in the MF.
    EXPECT_EQ(card.transmit(SelectAuthCertificate), (ByteVector{0x6A, 0x82}));
    card.transmit(SelectCertificateDir);
    EXPECT_EQ(statusOf(card.transmit(SelectAuthCertificate)), (ByteVector{0x90, 0x00}));
    EXPECT_EQ(statusOf(card.transmit(SelectMf)), (ByteVector{0x90, 0x00}));
}

TEST(CardSimulatorFiles, ReadsAFileInChunksOfAtMost256Bytes) {
    CardSimulator card;
    selectApplet(card);
    card.transmit(SelectMf);
    card.transmit(SelectCertificateDir);
    card.transmit(SelectAuthCertificate);
    std::size_t commands = 0;
    ByteVector const& certificate = TestCredentials::shared().certificate(1);
    EXPECT_EQ(readWholeFile(card, commands), certificate);
    EXPECT_EQ(commands, certificate.size() / 256);
}

TEST(CardSimulatorFiles, ReadsTheCertificateDirectoryAsEncoded) {
    CardSimulator card;
    selectApplet(card);
    card.transmit({0x00, 0xA4, 0x00, 0x0C, 0x02, 0x44, 0x04});
    std::size_t commands = 0;
    EXPECT_EQ(readWholeFile(card, commands),
              encodeCertificateDirectory(Pkcs15Content::standard().certificates));
}

TEST(CardSimulatorFiles, ReadBinaryRefusesWhatItCannotRead) {
    CardSimulator card;
    selectApplet(card);
    EXPECT_EQ(card.transmit({0x00, 0xB0, 0x00, 0x00, 0x10}), (ByteVector{0x69, 0x86}));
    card.transmit(SelectCertificateDir);
    EXPECT_EQ(card.transmit({0x00, 0xB0, 0x00, 0x00, 0x10}), (ByteVector{0x69, 0x86}));
    card.transmit(SelectAuthCertificate);
    std::size_t const size = TestCredentials::shared().certificate(1).size();
    EXPECT_EQ(card.transmit({0x00, 0xB0, high(size), low(size), 0x10}), (ByteVector{0x90, 0x00}));
    EXPECT_EQ(card.transmit({0x00, 0xB0, high(size + 1), low(size + 1), 0x10}),
              (ByteVector{0x6A, 0x86}));
    EXPECT_EQ(card.transmit({0x00, 0xB0, 0x00, 0x00}), (ByteVector{0x67, 0x00}));
    EXPECT_EQ(card.transmit({0x00, 0xB0, 0x81, 0x00, 0x10}), (ByteVector{0x6A, 0x86}));
}

TEST(CardSimulatorFiles, SelectionThatFailsKeepsTheCurrentFile) {
    CardSimulator card;
    selectApplet(card);
    card.transmit({0x00, 0xA4, 0x00, 0x0C, 0x02, 0x50, 0x32});
    EXPECT_EQ(card.transmit({0x00, 0xA4, 0x00, 0x0C, 0x02, 0x50, 0x33}), (ByteVector{0x6A, 0x82}));
    ByteVector const answer = card.transmit({0x00, 0xB0, 0x00, 0x00, 0x02});
    EXPECT_EQ(answer,
              (ByteVector{0x30, encodeTokenInfo(Pkcs15Content::standard())[1], 0x90, 0x00}));
}

TEST(CardSimulatorFiles, UpdateBinaryWritesInsideTheCurrentFile) {
    CardProfile profile = CardProfile::standard();
    profile.files.putFile({0x2001}, {0x01, 0x02, 0x03, 0x04});
    CardSimulator card(std::move(profile));
    selectApplet(card);
    EXPECT_EQ(card.transmit({0x00, 0xD6, 0x00, 0x00, 0x01, 0xAA}), (ByteVector{0x69, 0x86}));
    card.transmit({0x00, 0xA4, 0x00, 0x0C, 0x02, 0x20, 0x01});
    EXPECT_EQ(card.transmit({0x00, 0xD6, 0x00, 0x01, 0x02, 0xAA, 0xBB}), Ok);
    EXPECT_EQ(card.transmit({0x00, 0xD6, 0x00, 0x03, 0x01, 0xCC}), Ok);
    // Past the end: from the end on, and across it.
    EXPECT_EQ(card.transmit({0x00, 0xD6, 0x00, 0x04, 0x01, 0xDD}), (ByteVector{0x6A, 0x86}));
    EXPECT_EQ(card.transmit({0x00, 0xD6, 0x00, 0x03, 0x02, 0xDD, 0xDD}), (ByteVector{0x67, 0x00}));
    EXPECT_EQ(card.transmit({0x00, 0xD6, 0x00, 0x00}), (ByteVector{0x67, 0x00}));
    EXPECT_EQ(card.transmit({0x00, 0xB0, 0x00, 0x00, 0x00}),
              (ByteVector{0x01, 0xAA, 0xBB, 0xCC, 0x90, 0x00}));
    // A short identifier names only the crypto input buffer.
    EXPECT_EQ(card.transmit({0x00, 0xD6, 0x81, 0x00, 0x01, 0xAA}), (ByteVector{0x6A, 0x82}));
}

TEST(CardSimulatorFiles, ResizeCutsOrFillsTheCurrentFile) {
    CardProfile profile = CardProfile::standard();
    profile.files.putFile({0x2001}, {0x01, 0x02, 0x03, 0x04});
    CardSimulator card(std::move(profile));
    selectApplet(card);
    ByteVector const resizeTo2{0x80, 0xE2, 0x00, 0x00, 0x02, 0x00, 0x02};
    EXPECT_EQ(card.transmit(resizeTo2), (ByteVector{0x69, 0x86}));
    EXPECT_EQ(card.transmit({0x00, 0xA4, 0x00, 0x00, 0x02, 0x20, 0x01, 0x09}),
              (ByteVector{0x20, 0x01, 0x20, 0x00, 0x00, 0x04, 0x00, 0x00, 0x01, 0x90, 0x00}));
    EXPECT_EQ(card.transmit(resizeTo2), Ok);
    EXPECT_EQ(card.transmit({0x80, 0xE2, 0x00, 0x00, 0x02, 0x00, 0x05}), Ok);
    EXPECT_EQ(card.transmit({0x00, 0xB0, 0x00, 0x00, 0x00}),
              (ByteVector{0x01, 0x02, 0x00, 0x00, 0x00, 0x90, 0x00}));
    EXPECT_EQ(card.transmit({0x00, 0xA4, 0x00, 0x00, 0x02, 0x20, 0x01, 0x09}),
              (ByteVector{0x20, 0x01, 0x20, 0x00, 0x00, 0x05, 0x00, 0x00, 0x01, 0x90, 0x00}));
    EXPECT_EQ(card.transmit({0x80, 0xE2, 0x01, 0x00, 0x02, 0x00, 0x02}), (ByteVector{0x6A, 0x86}));
    EXPECT_EQ(card.transmit({0x80, 0xE2, 0x00, 0x00, 0x01, 0x02}), (ByteVector{0x67, 0x00}));
}

TEST(CardSimulatorFiles, GetDataAnswersSerialNumberModelAndCapabilities) {
    CardSimulator card;
    selectApplet(card);
    ByteVector const serial{0x00, 0x19, 0x00, 0x73, 0x52, 0x00, 0x64, 0x01};
    EXPECT_EQ(card.transmit({0x00, 0xCA, 0x01, 0x00, 0x08}), concat({serial, {0x90, 0x00}}));
    EXPECT_EQ(card.transmit({0x00, 0xCA, 0x01, 0x01, 0x0A}),
              concat({serial, {0x01, 0xA2, 0x90, 0x00}}));
    EXPECT_EQ(card.transmit({0x00, 0xCA, 0x01, 0x05, 0x00}),
              (ByteVector{0x03, 0x05, 0x04, 0x00, 0x00, 0x80, 0x00, 0x90, 0x00}));
    EXPECT_EQ(card.transmit({0x00, 0xCA, 0x01, 0x00, 0x04}), (ByteVector{0x6C, 0x08}));
    EXPECT_EQ(card.transmit({0x00, 0xCA, 0x9F, 0x7F, 0x00}), (ByteVector{0x6A, 0x88}));
}

TEST(CardSimulatorFiles, GetDataReflectsTheProfile) {
    CardProfile profile = CardProfile::standard();
    profile.serialNumber = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0A, 0x0B, 0x0C, 0x0D};
    profile.modelId = {0x7E, 0x01};
    profile.capabilities = {true};
    CardSimulator card(std::move(profile));
    selectApplet(card);
    EXPECT_EQ(card.transmit({0x00, 0xCA, 0x01, 0x00, 0x00}),
              (ByteVector{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0A, 0x0B, 0x0C, 0x0D,
                          0x90, 0x00}));
    EXPECT_EQ(card.transmit({0x00, 0xCA, 0x01, 0x01, 0x0A}),
              (ByteVector{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x7E, 0x01, 0x90, 0x00}));
    EXPECT_EQ(card.transmit({0x00, 0xCA, 0x01, 0x05, 0x00}),
              (ByteVector{0x03, 0x02, 0x07, 0x80, 0x90, 0x00}));
}

}  // namespace
}  // namespace testsupport::cardsim::test
