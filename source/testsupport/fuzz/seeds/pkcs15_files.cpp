#include "pkcs15_files.hpp"

#include "testsupport/cardsim/pkcs15_content.hpp"

namespace testsupport::fuzz::seeds {

namespace {

using cardsim::CertificateEntry;
using cardsim::Pkcs15Content;

}  // namespace

std::vector<std::pair<std::string, Seed>> pkcs15Files() {
    auto const standard = Pkcs15Content::standard();
    std::vector<std::pair<std::string, Seed>> files;
    files.emplace_back("directory", cardsim::encodeCertificateDirectory(standard.certificates));
    for (std::size_t i = 0; i < standard.certificates.size(); ++i) {
        auto const& certificate = standard.certificates[i];
        auto const number = std::to_string(i + 1);
        files.emplace_back("entry_" + number, cardsim::encodeCertificateEntry(
                                                  certificate, static_cast<std::uint8_t>(i + 1)));
        files.emplace_back("certificate_" + number, certificate.certificate);
    }
    auto unlabelled = standard.certificates.front();
    unlabelled.label.clear();
    files.emplace_back("entry_unlabelled", cardsim::encodeCertificateEntry(unlabelled, 1));

    files.emplace_back("token_info", cardsim::encodeTokenInfo(standard));
    auto bare = standard;
    bare.manufacturer.clear();
    bare.tokenLabel.reset();
    files.emplace_back("token_info_bare", cardsim::encodeTokenInfo(bare));
    auto emptyLabel = standard;
    emptyLabel.tokenLabel = "";
    files.emplace_back("token_info_empty_label", cardsim::encodeTokenInfo(emptyLabel));
    return files;
}

}  // namespace testsupport::fuzz::seeds
