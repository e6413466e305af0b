#include "certificate_factory.hpp"

#include <memory>
#include <stdexcept>

#include <openssl/x509.h>
#include <openssl/x509v3.h>

namespace testsupport::cardsim::detail {
namespace {

using X509Ptr = std::unique_ptr<X509, decltype(&X509_free)>;

void require(bool ok, char const* what) {
    if (!ok) {
        throw std::runtime_error(std::string("certificate: ") + what);
    }
}

X509Ptr parse(ByteVector const& der) {
    unsigned char const* p = der.data();
    X509Ptr cert(d2i_X509(nullptr, &p, static_cast<long>(der.size())), &X509_free);
    require(cert != nullptr, "issuer certificate is not DER");
    return cert;
}

void addExtension(X509* cert, X509V3_CTX* ctx, int nid, std::string const& value) {
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, ctx, nid, value.c_str());
    require(ext != nullptr, "bad extension");
    int const added = X509_add_ext(cert, ext, -1);
    X509_EXTENSION_free(ext);
    require(added == 1, "extension not added");
}

void setName(X509_NAME* name, std::string const& commonName) {
    auto const* o = reinterpret_cast<unsigned char const*>("Velk Test");
    auto const* cn = reinterpret_cast<unsigned char const*>(commonName.c_str());
    require(X509_NAME_add_entry_by_txt(name, "O", MBSTRING_UTF8, o, -1, -1, 0) == 1 &&
                X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8, cn, -1, -1, 0) == 1,
            "bad name");
}

}  // namespace

ByteVector issueCertificate(CertificateFields const& fields, RsaKey const& subjectKey,
                            ByteVector const& issuerCertificate, RsaKey const& issuerKey) {
    X509Ptr cert(X509_new(), &X509_free);
    require(cert != nullptr, "out of memory");
    X509Ptr issuer =
        issuerCertificate.empty() ? X509Ptr(nullptr, &X509_free) : parse(issuerCertificate);
    X509* issuerOrSelf = issuer ? issuer.get() : cert.get();

    require(X509_set_version(cert.get(), X509_VERSION_3) == 1, "version");
    require(ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), fields.serialNumber) == 1,
            "serial number");
    // A fixed validity keeps the certificates identical from run to run.
    require(ASN1_TIME_set_string_X509(X509_getm_notBefore(cert.get()), "20200101000000Z") == 1 &&
                ASN1_TIME_set_string_X509(X509_getm_notAfter(cert.get()), "20491231235959Z") == 1,
            "validity");
    setName(X509_get_subject_name(cert.get()), fields.commonName);
    require(X509_set_issuer_name(cert.get(), X509_get_subject_name(issuerOrSelf)) == 1, "issuer");
    require(X509_set_pubkey(cert.get(), subjectKey.get()) == 1, "public key");

    X509V3_CTX ctx;
    X509V3_set_ctx(&ctx, issuerOrSelf, cert.get(), nullptr, nullptr, 0);
    addExtension(cert.get(), &ctx, NID_basic_constraints,
                 fields.authority ? "critical,CA:TRUE" : "critical,CA:FALSE");
    addExtension(cert.get(), &ctx, NID_key_usage, fields.keyUsage);
    addExtension(cert.get(), &ctx, NID_subject_key_identifier, "hash");
    addExtension(cert.get(), &ctx, NID_authority_key_identifier, "keyid:always");

    require(X509_sign(cert.get(), issuerKey.get(), EVP_sha256()) > 0, "signature");
    int const length = i2d_X509(cert.get(), nullptr);
    require(length > 0, "encoding");
    ByteVector der(static_cast<std::size_t>(length));
    unsigned char* out = der.data();
    i2d_X509(cert.get(), &out);
    return der;
}

}  // namespace testsupport::cardsim::detail
