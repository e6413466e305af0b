#pragma once

#include <string>

#include "testsupport/cardsim/byte_vector.hpp"
#include "testsupport/cardsim/rsa_key.hpp"

namespace testsupport::cardsim::detail {

struct CertificateFields {
    std::string commonName;
    long serialNumber;
    bool authority;
    // In the text form of libcrypto's configuration, e.g. "critical,digitalSignature".
    std::string keyUsage;
};

// The DER of an X.509 v3 certificate for subjectKey with a fixed validity, signed with
// SHA-256 by issuerKey; issuerCertificate names the issuer, or is empty for a self-signed one.
// Throws std::runtime_error when libcrypto fails.
ByteVector issueCertificate(CertificateFields const& fields, RsaKey const& subjectKey,
                            ByteVector const& issuerCertificate, RsaKey const& issuerKey);

}  // namespace testsupport::cardsim::detail
