#include "testsupport/cardsim/pkcs15_content.hpp"

#include "der_writer.hpp"
#include "testsupport/cardsim/test_credentials.hpp"

namespace testsupport::cardsim {
namespace {

using namespace detail;

ByteVector fileIdBytes(std::uint16_t fid) {
    return {static_cast<std::uint8_t>(fid >> 8), static_cast<std::uint8_t>(fid & 0xFF)};
}

}  // namespace

Pkcs15Content Pkcs15Content::standard() {
    TestCredentials const& credentials = TestCredentials::shared();
    Pkcs15Content content;
    content.certificates = {
        {AuthenticationLabel, 0x0001, credentials.certificate(1), false},
        {ConfidentialityLabel, 0x0002, credentials.certificate(2), false},
        {SignatureLabel, 0x0003, credentials.certificate(3), false},
        {"Velk Test Root CA", 0x0004, credentials.rootCaCertificate(), true},
        {"Velk Test Issuing CA", 0x0005, credentials.issuingCaCertificate(), true},
    };
    content.tokenSerialNumber = {0x20, 0x24, 0x00, 0x01, 0x00, 0x00, 0x42, 0x17};
    content.manufacturer = "Velk";
    content.tokenLabel = "VELK TEST CARD";
    return content;
}

ByteVector encodeCertificateEntry(CertificateEntry const& entry, std::uint8_t id) {
    ByteVector const label =
        entry.label.empty() ? ByteVector{} : derText(der_tag::Utf8String, entry.label);
    ByteVector const authority =
        entry.authority ? derElement(der_tag::Boolean, ByteVector{0xFF}) : ByteVector{};
    ByteVector path = fileIdBytes(MasterFileId);
    for (std::uint16_t fid : {CertificateParentFileId, entry.fileId}) {
        ByteVector const bytes = fileIdBytes(fid);
        path.insert(path.end(), bytes.begin(), bytes.end());
    }
    return derElement(
        der_tag::Sequence,
        {derElement(der_tag::Sequence, label),
         derElement(der_tag::Sequence,
                    {derElement(der_tag::OctetString, ByteVector{id}), authority}),
         derElement(der_tag::ContextConstructed1,
                    {derElement(der_tag::Sequence,
                                {derElement(der_tag::Sequence,
                                            {derElement(der_tag::OctetString, path)})})})});
}

ByteVector encodeCertificateDirectory(std::vector<CertificateEntry> const& entries) {
    ByteVector file;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        ByteVector const entry =
            encodeCertificateEntry(entries[i], static_cast<std::uint8_t>(i + 1));
        file.insert(file.end(), entry.begin(), entry.end());
    }
    return file;
}

ByteVector encodeTokenInfo(Pkcs15Content const& content) {
    ByteVector const manufacturer = content.manufacturer.empty()
                                        ? ByteVector{}
                                        : derText(der_tag::Utf8String, content.manufacturer);
    ByteVector const label = content.tokenLabel
                                 ? derText(der_tag::ContextPrimitive0, *content.tokenLabel)
                                 : ByteVector{};
    // Token flags: read-only and login required.
    return derElement(der_tag::Sequence,
                      {derElement(der_tag::Integer, ByteVector{0x00}),
                       derElement(der_tag::OctetString, content.tokenSerialNumber), manufacturer,
                       label, derBitString({true, true})});
}

FileSystem buildPkcs15Files(Pkcs15Content const& content) {
    FileSystem files;
    files.putFile({CertificateDirectoryFileId}, encodeCertificateDirectory(content.certificates));
    files.putFile({TokenInfoFileId}, encodeTokenInfo(content));
    files.putDirectory({CertificateParentFileId});
    for (CertificateEntry const& entry : content.certificates) {
        files.putFile({CertificateParentFileId, entry.fileId}, entry.certificate);
    }
    return files;
}

}  // namespace testsupport::cardsim
