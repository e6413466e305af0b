#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "card_bench.hpp"
#include "testsupport/cardsim/pkcs15_content.hpp"
#include "velk/exceptions.hpp"

namespace pavlenenabler::test {
namespace {

using iface::KeyCertType;
using testsupport::cardsim::AuthenticationLabel;
using testsupport::cardsim::CertificateEntry;
using testsupport::cardsim::Pkcs15Content;
using testsupport::cardsim::SignatureLabel;

// A card whose directory lists these entries, each file holding "certificate <fileId>".
CardProfile cardWith(std::vector<CertificateEntry> entries) {
    for (auto& entry : entries) {
        std::string const content = "certificate " + std::to_string(entry.fileId);
        entry.certificate.assign(content.begin(), content.end());
    }
    auto content = Pkcs15Content::standard();
    content.certificates = std::move(entries);
    auto profile = CardProfile::standard();
    profile.files = testsupport::cardsim::buildPkcs15Files(content);
    return profile;
}

CertificateEntry entry(std::string label, std::uint16_t fileId) {
    return CertificateEntry{std::move(label), fileId, {}, false};
}

bool selects(std::vector<ByteVector> const& commands, std::uint16_t fid) {
    for (auto const& command : commands) {
        if (command == selectFile(fid, 1)) {
            return true;
        }
    }
    return false;
}

TEST(SmartcardCertificatesTest, FirstEntryWithTheLabelWins) {
    CardBench bench(cardWith({entry(AuthenticationLabel, 1), entry(AuthenticationLabel, 2)}));
    EXPECT_EQ(bench.card->getCertificate(KeyCertType::Authentication), "certificate 1");
}

TEST(SmartcardCertificatesTest, LabelsCompareByteForByte) {
    CardBench bench(cardWith({entry("authenticiteitcertificaat", 1)}));
    try {
        bench.card->getCertificate(KeyCertType::Authentication);
        ADD_FAILURE() << "a lower-case label matched";
    } catch (velk::MissingData const& e) {
        EXPECT_STREQ(e.what(), "No certificate available with label Authenticiteitcertificaat");
    }
}

struct ChainCase {
    char const* name;
    std::vector<CertificateEntry> entries;
    std::vector<std::string> chain;
};

class ChainTest : public ::testing::TestWithParam<ChainCase> {};

TEST_P(ChainTest, ChainHoldsTheUnlabelledCertificatesWithoutTheFirst) {
    CardBench bench(cardWith(GetParam().entries));
    EXPECT_EQ(bench.card->getCertificateChain(KeyCertType::Signature), GetParam().chain);
}

INSTANTIATE_TEST_SUITE_P(
    Directories, ChainTest,
    ::testing::Values(
        ChainCase{"TwoAuthorities",
                  {entry(AuthenticationLabel, 1), entry("CA-1", 4), entry("CA-2", 5),
                   entry(SignatureLabel, 3)},
                  {"certificate 5"}},
        ChainCase{"ThreeAuthorities",
                  {entry("CA-1", 4), entry("CA-2", 5), entry("", 6)},
                  {"certificate 5", "certificate 6"}},
        ChainCase{"OneAuthority", {entry(AuthenticationLabel, 1), entry("CA-1", 4)}, {}},
        ChainCase{"OnlyKeyCertificates",
                  {entry(AuthenticationLabel, 1),
                   entry(testsupport::cardsim::ConfidentialityLabel, 2), entry(SignatureLabel, 3)},
                  {}}),
    [](auto const& info) { return std::string(info.param.name); });

TEST(SmartcardCertificatesTest, DirectoryAndCertificatesAreReadOnceAlsoAcrossAReset) {
    CardBench bench;
    bench.card->getCertificate(KeyCertType::Authentication);
    EXPECT_TRUE(selects(bench.sent(), 0x4404));

    bench.card->getCertificate(KeyCertType::Signature);
    auto sent = bench.sent();
    EXPECT_FALSE(selects(sent, 0x4404));
    EXPECT_TRUE(selects(sent, 0x0003));

    bench.connection->reset();
    bench.card->getCertificate(KeyCertType::Confidentiality);
    sent = bench.sent();
    EXPECT_FALSE(selects(sent, 0x4404));
    EXPECT_TRUE(selects(sent, 0x0002));

    bench.card->getCertificate(KeyCertType::Authentication);
    EXPECT_TRUE(bench.sent().empty());
}

TEST(SmartcardCertificatesTest, UnsupportedTypeIsRefusedWithoutCardTraffic) {
    CardBench bench;
    try {
        bench.card->getCertificate(static_cast<KeyCertType>(3));
        ADD_FAILURE() << "type 3 accepted";
    } catch (velk::InputError const& e) {
        EXPECT_STREQ(e.what(), "Unsupported KeyCertType");
    }
    EXPECT_EQ(bench.connection->transactionCount(), 0u);
}

struct TokenLabelCase {
    char const* name;
    std::optional<std::string> label;
};

class TokenLabelTest : public ::testing::TestWithParam<TokenLabelCase> {};

TEST_P(TokenLabelTest, TokenLabelComesFromTheTokenInfo) {
    auto content = Pkcs15Content::standard();
    content.tokenLabel = GetParam().label;
    auto profile = CardProfile::standard();
    profile.files = testsupport::cardsim::buildPkcs15Files(content);
    CardBench bench(profile);
    EXPECT_EQ(bench.card->getTokenLabel(), GetParam().label.value_or(""));
}

INSTANTIATE_TEST_SUITE_P(Labels, TokenLabelTest,
                         ::testing::Values(TokenLabelCase{"Present", "VELK TEST CARD"},
                                           TokenLabelCase{"Empty", ""},
                                           TokenLabelCase{"Absent", std::nullopt}),
                         [](auto const& info) { return std::string(info.param.name); });

// Card data is not trusted: a damaged file gives a typed error or nothing, never a read past it.
enum class Outcome { Value, MissingData, CodingError };

struct DamagedCase {
    char const* name;
    std::uint16_t fid;
    std::function<void(ByteVector&)> damage;
    std::function<void(enabler::Smartcard&)> call;
    Outcome outcome;
};

Outcome outcomeOf(std::function<void()> const& call) {
    try {
        call();
        return Outcome::Value;
    } catch (velk::MissingData const&) {
        return Outcome::MissingData;
    } catch (velk::CodingError const&) {
        return Outcome::CodingError;
    }
}

class DamagedFileTest : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedFileTest, DamagedFileGivesATypedErrorOrNothing) {
    auto profile = CardProfile::standard();
    auto* file = profile.files.find({GetParam().fid});
    ASSERT_NE(file, nullptr);
    GetParam().damage(file->content);
    CardBench bench(profile);
    EXPECT_EQ(outcomeOf([&bench] { GetParam().call(*bench.card); }), GetParam().outcome);
}

auto const truncate = [](std::size_t keep) {
    return [keep](ByteVector& bytes) { bytes.resize(std::min(keep, bytes.size())); };
};
auto const lengthBeyondTheData = [](ByteVector& bytes) { bytes[1] = 0x84; };
auto const readCertificate = [](enabler::Smartcard& card) {
    card.getCertificate(KeyCertType::Authentication);
};
auto const readChain = [](enabler::Smartcard& card) {
    card.getCertificateChain(KeyCertType::Authentication);
};
auto const readLabel = [](enabler::Smartcard& card) { card.getTokenLabel(); };

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedFileTest,
    ::testing::Values(DamagedCase{"DirectoryCutInsideAnEntry", 0x4404, truncate(20),
                                  readCertificate, Outcome::MissingData},
                      DamagedCase{"DirectoryCutInsideTheChain", 0x4404, truncate(200), readChain,
                                  Outcome::Value},
                      DamagedCase{"DirectoryLengthPastItsEnd", 0x4404, lengthBeyondTheData,
                                  readCertificate, Outcome::MissingData},
                      DamagedCase{"TokenInfoCut", 0x5032, truncate(7), readLabel, Outcome::Value},
                      DamagedCase{"TokenInfoLengthPastItsEnd", 0x5032, lengthBeyondTheData,
                                  readLabel, Outcome::Value}),
    [](auto const& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pavlenenabler::test
