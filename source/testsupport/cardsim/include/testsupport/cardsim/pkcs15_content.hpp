#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "testsupport/cardsim/byte_vector.hpp"
#include "testsupport/cardsim/file_system.hpp"

namespace testsupport::cardsim {

constexpr std::uint16_t CertificateDirectoryFileId = 0x4404;
constexpr std::uint16_t TokenInfoFileId = 0x5032;
constexpr std::uint16_t CertificateParentFileId = 0x4302;

constexpr char const* AuthenticationLabel = "Authenticiteitcertificaat";
constexpr char const* ConfidentialityLabel = "Vertrouwelijkheidcertificaat";
constexpr char const* SignatureLabel = "Handtekeningcertificaat";

// One certificate of the card: its directory entry and its file 4302/fileId.
struct CertificateEntry {
    std::string label;  // empty: the entry carries no label
    std::uint16_t fileId = 0;
    ByteVector certificate;
    bool authority = false;
};

// What the card's PKCS#15 files say.
struct Pkcs15Content {
    std::vector<CertificateEntry> certificates;
    ByteVector tokenSerialNumber;
    std::string manufacturer;  // empty: left out of the token information
    std::optional<std::string> tokenLabel;

    // The three labelled certificates of the test credentials (files 0001 to 0003) followed by
    // the root and the issuing authority (0004, 0005), and the label "VELK TEST CARD".
    static Pkcs15Content standard();
};

// The directory entry of a certificate: an X.509 certificate object with the label, the
// identifier id, the authority flag when set, and the path 3F00 4302 fileId.
ByteVector encodeCertificateEntry(CertificateEntry const& entry, std::uint8_t id);
// The entries one after the other, the i-th with identifier i + 1.
ByteVector encodeCertificateDirectory(std::vector<CertificateEntry> const& entries);
// TokenInfo: version 0, serial number, manufacturer, label [0] and the token flags.
ByteVector encodeTokenInfo(Pkcs15Content const& content);

// The files 4404 and 5032 below the MF and the certificate files in DF 4302.
FileSystem buildPkcs15Files(Pkcs15Content const& content);

}  // namespace testsupport::cardsim
