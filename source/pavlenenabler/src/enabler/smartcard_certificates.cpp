#include <algorithm>
#include <string>

#include "pavlenenabler/enabler/pkcs15/codec/token_info.hpp"
#include "pavlenenabler/enabler/smartcard.hpp"
#include "teappletlib/interchange/absolute_fid.hpp"
#include "teappletlib/interchange/obj/read_all.hpp"
#include "velk/exceptions.hpp"
#include "velk/string_conversions.hpp"

namespace pavlenenabler::enabler {

namespace {

using iface::KeyCertType;
using iso7816::interchange::FileId;
using pkcs15::codec::CertificateChoice;
using teappletlib::interchange::AbsoluteFid;
using teappletlib::interchange::cmd::CommandProvider;
using teappletlib::interchange::obj::ObjectProvider;

FileId const TokenInfoFid{0x5032};
FileId const CertificateParentFid{0x4302};
AbsoluteFid const tokenInfoPath{TokenInfoFid};

std::string const AuthenticationCertificateLabel = "Authenticiteitcertificaat";
std::string const ConfidentialityCertificateLabel = "Vertrouwelijkheidcertificaat";
std::string const SignatureCertificateLabel = "Handtekeningcertificaat";

std::string const& getCertificateLabel(KeyCertType type) {
    switch (type) {
        case KeyCertType::Authentication:
            return AuthenticationCertificateLabel;
        case KeyCertType::Confidentiality:
            return ConfidentialityCertificateLabel;
        case KeyCertType::Signature:
            return SignatureCertificateLabel;
    }
    throw velk::InputError("Unsupported KeyCertType");
}

bool isKeyCertificateLabel(std::string const& label) {
    return label == AuthenticationCertificateLabel || label == ConfidentialityCertificateLabel ||
           label == SignatureCertificateLabel;
}

// The directory's paths start at the MF (3F00 4302 xxxx) while the file manager's paths start
// below it: the third identifier names the file in the certificate directory.
AbsoluteFid certificateFileOf(CertificateChoice const& entry) {
    return AbsoluteFid{CertificateParentFid, FileId{entry.getPath(2)}};
}

std::string readCertificate(ObjectProvider& objects, CertificateChoice const& entry) {
    auto const bytes =
        teappletlib::interchange::obj::readAll(*objects.getFile(certificateFileOf(entry)));
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

boost::optional<std::string> Smartcard::getCertificate_(KeyCertType type) {
    if (std::string const* kept = directoryCache_->findCertificate(type)) {
        return *kept;
    }
    auto const wanted = velk::ToUnsignedString(getCertificateLabel(type));
    boost::optional<std::string> certificate;
    perform_([&](ObjectProvider& objects, CommandProvider&) {
        auto const& entries = directoryCache_->getCertificateDirectory(objects).getEntries();
        // Labels compare byte for byte; the first entry with the label wins.
        auto const found = std::find_if(
            entries.begin(), entries.end(),
            [&wanted](CertificateChoice const& entry) { return entry.getLabel() == wanted; });
        if (found != entries.end()) {
            certificate = readCertificate(objects, *found);
        }
    });
    if (certificate) {
        directoryCache_->keepCertificate(type, *certificate);
    }
    return certificate;
}

std::string Smartcard::getCertificate(KeyCertType type) {
    std::lock_guard<std::mutex> const lock(operationMutex_);
    auto certificate = getCertificate_(type);
    if (!certificate) {
        throw velk::MissingData("No certificate available with label " + getCertificateLabel(type));
    }
    return std::move(*certificate);
}

std::vector<std::string> Smartcard::getCertificateChain(KeyCertType) {
    std::lock_guard<std::mutex> const lock(operationMutex_);
    std::vector<std::string> chain;
    perform_([&](ObjectProvider& objects, CommandProvider&) {
        for (auto const& entry : directoryCache_->getCertificateDirectory(objects).getEntries()) {
            if (!isKeyCertificateLabel(velk::FromUnsignedString(entry.getLabel()))) {
                chain.push_back(readCertificate(objects, entry));
            }
        }
    });
    // The first of the authorities' certificates is not part of the chain handed out.
    if (!chain.empty()) {
        chain.erase(chain.begin());
    }
    return chain;
}

std::string Smartcard::getTokenLabel() {
    std::lock_guard<std::mutex> const lock(operationMutex_);
    std::basic_string<unsigned char> contents;
    perform_([&contents](ObjectProvider& objects, CommandProvider&) {
        auto const bytes = teappletlib::interchange::obj::readAll(*objects.getFile(tokenInfoPath));
        contents.assign(bytes.begin(), bytes.end());
    });
    auto const label = pkcs15::codec::TokenInfo(std::move(contents)).getTokenLabel();
    return label ? velk::FromUnsignedString(*label) : std::string();
}

}  // namespace pavlenenabler::enabler
