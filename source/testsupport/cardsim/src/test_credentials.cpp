#include "testsupport/cardsim/test_credentials.hpp"

#include <stdexcept>

#include "certificate_factory.hpp"
#include "test_key_material.hpp"

namespace testsupport::cardsim {
namespace {

std::size_t slotIndex(std::uint8_t slot) {
    if (slot < 1 || slot > 3) {
        throw std::out_of_range("test credentials exist for key slots 1 to 3 only");
    }
    return slot - 1U;
}

}  // namespace

TestCredentials const& TestCredentials::shared() {
    static TestCredentials const credentials;
    return credentials;
}

TestCredentials::TestCredentials()
    : keys_{RsaKey::fromPem(detail::AuthenticationKeyPem),
            RsaKey::fromPem(detail::ConfidentialityKeyPem),
            RsaKey::fromPem(detail::SignatureKeyPem)} {
    RsaKey const root = RsaKey::fromPem(detail::RootCaKeyPem);
    RsaKey const issuing = RsaKey::fromPem(detail::IssuingCaKeyPem);
    rootCa_ = detail::issueCertificate(
        {"Velk Test Root CA", 1, true, "critical,keyCertSign,cRLSign"}, root, {}, root);
    issuingCa_ = detail::issueCertificate(
        {"Velk Test Issuing CA", 2, true, "critical,keyCertSign,cRLSign"}, issuing, rootCa_, root);
    detail::CertificateFields const holders[] = {
        {"Test Holder (authentication)", 3, false, "critical,digitalSignature"},
        {"Test Holder (confidentiality)", 4, false, "critical,keyEncipherment,dataEncipherment"},
        {"Test Holder (signature)", 5, false, "critical,nonRepudiation"},
    };
    for (std::size_t i = 0; i < certificates_.size(); ++i) {
        certificates_[i] = detail::issueCertificate(holders[i], keys_[i], issuingCa_, issuing);
    }
}

RsaKey const& TestCredentials::key(std::uint8_t slot) const {
    return keys_[slotIndex(slot)];
}

ByteVector const& TestCredentials::certificate(std::uint8_t slot) const {
    return certificates_[slotIndex(slot)];
}

}  // namespace testsupport::cardsim
