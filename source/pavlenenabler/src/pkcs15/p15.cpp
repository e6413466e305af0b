#include "pavlenenabler/enabler/pkcs15/p15.hpp"

namespace P15 {

// Object directories of the PKCS15Objects file: the path of each choice [0] to [8].
char const* const PKCS15Objects_privateKeys_path = "!CC0{!SEQ{!OCT";
char const* const PKCS15Objects_publicKeys_path = "!CC1{!SEQ{!OCT";
char const* const PKCS15Objects_trustedPublicKeys_path = "!CC2{!SEQ{!OCT";
char const* const PKCS15Objects_secretKeys_path = "!CC3{!SEQ{!OCT";
char const* const PKCS15Objects_certificates_path = "!CC4{!SEQ{!OCT";
char const* const PKCS15Objects_trustedCertificates_path = "!CC5{!SEQ{!OCT";
char const* const PKCS15Objects_usefulCertificates_path = "!CC6{!SEQ{!OCT";
char const* const PKCS15Objects_dataObjects_path = "!CC7{!SEQ{!OCT";
char const* const PKCS15Objects_authObjects_path = "!CC8{!SEQ{!OCT";

// UnusedSpace.
char const* const UnusedSpace_path_path = "!SEQ{!SEQ{!OCT";
char const* const UnusedSpace_path_index = "!SEQ{!SEQ{!OCT!INT";
char const* const UnusedSpace_path_length = "!SEQ{!SEQ{!OCT!INT!CP0";
char const* const UnusedSpace_authID = "!SEQ{!SEQ?OCT";

// Path.
char const* const Path_path = "!SEQ{!OCT";
char const* const Path_index = "!SEQ{!OCT?INT";
char const* const Path_length = "!SEQ{!OCT?INT?CP0";

// Private RSA key (SEQUENCE).
char const* const privateRSAKey_commonObjectAttributes_label = "!SEQ{!SEQ{?UT8";
char const* const privateRSAKey_commonObjectAttributes_flags = "!SEQ{!SEQ{?UT8?BIT";
char const* const privateRSAKey_commonObjectAttributes_authID = "!SEQ{!SEQ{?UT8?BIT?OCT";
char const* const privateRSAKey_classAttributes_iD = "!SEQ{!SEQ!SEQ{!OCT";
char const* const privateRSAKey_classAttributes_usage = "!SEQ{!SEQ!SEQ{!OCT!BIT";
char const* const privateRSAKey_classAttributes_native = "!SEQ{!SEQ!SEQ{!OCT!BIT?BOO";
char const* const privateRSAKey_classAttributes_accessFlags = "!SEQ{!SEQ!SEQ{!OCT!BIT?BOO?BIT";
char const* const privateRSAKey_classAttributes_keyReference = "!SEQ{!SEQ!SEQ{!OCT!BIT?BOO?BIT?INT";
char const* const privateRSAKey_subClassAttributes_subjectName_rdnSequence =
    "!SEQ{!SEQ!SEQ?CC0{!SEQ{?SEQ";
char const* const privateRSAKey_typeAttributes_value_indirect_path =
    "!SEQ{!SEQ!SEQ?CC0!CC1{!SEQ{!SEQ";
char const* const privateRSAKey_typeAttributes_modulusLength =
    "!SEQ{!SEQ!SEQ?CC0!CC1{!SEQ{!SEQ!INT";
char const* const privateRSAKey_typeAttributes_keyInfo = "!SEQ{!SEQ!SEQ?CC0!CC1{!SEQ{!SEQ!INT?INT";

// Private ECC key ([0]).
char const* const privateECCKey_commonObjectAttributes_label = "!CC0{!SEQ{?UT8";
char const* const privateECCKey_commonObjectAttributes_flags = "!CC0{!SEQ{?UT8?BIT";
char const* const privateECCKey_commonObjectAttributes_authID = "!CC0{!SEQ{?UT8?BIT?OCT";
char const* const privateECCKey_classAttributes_iD = "!CC0{!SEQ!SEQ{!OCT";
char const* const privateECCKey_classAttributes_usage = "!CC0{!SEQ!SEQ{!OCT!BIT";
char const* const privateECCKey_classAttributes_native = "!CC0{!SEQ!SEQ{!OCT!BIT?BOO";
char const* const privateECCKey_classAttributes_accessFlags = "!CC0{!SEQ!SEQ{!OCT!BIT?BOO?BIT";
char const* const privateECCKey_classAttributes_keyReference = "!CC0{!SEQ!SEQ{!OCT!BIT?BOO?BIT?INT";
char const* const privateECCKey_subClassAttributes_subjectName_rdnSequence =
    "!CC0{!SEQ!SEQ?CC0{!SEQ{?SEQ";
char const* const privateECCKey_typeAttributes_value_indirect_path =
    "!CC0{!SEQ!SEQ?CC0!CC1{!SEQ{!SEQ";
char const* const privateECCKey_typeAttributes_keyInfo = "!CC0{!SEQ!SEQ?CC0!CC1{!SEQ{!SEQ?INT";

// Public RSA key (SEQUENCE).
char const* const publicRSAKey_commonObjectAttributes_label = "!SEQ{!SEQ{?UT8";
char const* const publicRSAKey_commonObjectAttributes_flags = "!SEQ{!SEQ{?UT8?BIT";
char const* const publicRSAKey_commonObjectAttributes_authID = "!SEQ{!SEQ{?UT8?BIT?OCT";
char const* const publicRSAKey_classAttributes_iD = "!SEQ{!SEQ!SEQ{!OCT";
char const* const publicRSAKey_classAttributes_usage = "!SEQ{!SEQ!SEQ{!OCT!BIT";
char const* const publicRSAKey_classAttributes_native = "!SEQ{!SEQ!SEQ{!OCT!BIT?BOO";
char const* const publicRSAKey_classAttributes_accessFlags = "!SEQ{!SEQ!SEQ{!OCT!BIT?BOO?BIT";
char const* const publicRSAKey_classAttributes_keyReference = "!SEQ{!SEQ!SEQ{!OCT!BIT?BOO?BIT?INT";
char const* const publicRSAKey_subClassAttributes_subjectName = "!SEQ{!SEQ!SEQ?CC0{!SEQ{?SEQ";
char const* const publicRSAKey_typeAttributes_value = "!SEQ{!SEQ!SEQ?CC0!CC1{!SEQ{!SEQ";
char const* const publicRSAKey_typeAttributes_modulusLength = "!SEQ{!SEQ!SEQ?CC0!CC1{!SEQ{!SEQ!INT";
char const* const publicRSAKey_typeAttributes_keyInfo = "!SEQ{!SEQ!SEQ?CC0!CC1{!SEQ{!SEQ!INT?INT";

// Public ECC key ([0]).
char const* const publicECCKey_commonObjectAttributes_label = "!CC0{!SEQ{?UT8";
char const* const publicECCKey_commonObjectAttributes_flags = "!CC0{!SEQ{?UT8?BIT";
char const* const publicECCKey_commonObjectAttributes_authID = "!CC0{!SEQ{?UT8?BIT?OCT";
char const* const publicECCKey_classAttributes_iD = "!CC0{!SEQ!SEQ{!OCT";
char const* const publicECCKey_classAttributes_usage = "!CC0{!SEQ!SEQ{!OCT!BIT";
char const* const publicECCKey_classAttributes_native = "!CC0{!SEQ!SEQ{!OCT!BIT?BOO";
char const* const publicECCKey_classAttributes_accessFlags = "!CC0{!SEQ!SEQ{!OCT!BIT?BOO?BIT";
char const* const publicECCKey_classAttributes_keyReference = "!CC0{!SEQ!SEQ{!OCT!BIT?BOO?BIT?INT";
char const* const publicECCKey_subClassAttributes_subjectName = "!CC0{!SEQ!SEQ?CC0{!SEQ{?SEQ";
char const* const publicECCKey_typeAttributes_value = "!CC0{!SEQ!SEQ?CC0!CC1{!SEQ{!SEQ";
char const* const publicECCKey_typeAttributes_keyInfo = "!CC0{!SEQ!SEQ?CC0!CC1{!SEQ{!SEQ?INT";

// Secret key: the choice's own tag varies, so the path starts by descending into it.
char const* const secretKey_commonObjectAttributes_label = "{!SEQ{?UT8";
char const* const secretKey_commonObjectAttributes_flags = "{!SEQ{?UT8?BIT";
char const* const secretKey_commonObjectAttributes_authID = "{!SEQ{?UT8?BIT?OCT";
char const* const secretKey_classAttributes_iD = "{!SEQ!SEQ{!OCT";
char const* const secretKey_classAttributes_usage = "{!SEQ!SEQ{!OCT!BIT";
char const* const secretKey_classAttributes_native = "{!SEQ!SEQ{!OCT!BIT?BOO";
char const* const secretKey_classAttributes_accessFlags = "{!SEQ!SEQ{!OCT!BIT?BOO?BIT";
char const* const secretKey_classAttributes_keyReference = "{!SEQ!SEQ{!OCT!BIT?BOO?BIT?INT";
char const* const secretKey_subClassAttributes_keyLen = "{!SEQ!SEQ?CC0{!SEQ{?INT";
char const* const secretKey_typeAttributes_value = "{!SEQ!SEQ?CC0!CC1{!SEQ{!SEQ";

// X.509 certificate (SEQUENCE).
char const* const x509Certificate_commonObjectAttributes_label = "!SEQ{!SEQ{?UT8";
char const* const x509Certificate_commonObjectAttributes_flags = "!SEQ{!SEQ{?UT8?BIT";
char const* const x509Certificate_commonObjectAttributes_authID = "!SEQ{!SEQ{?UT8?BIT?OCT";
char const* const x509Certificate_classAttributes_iD = "!SEQ{!SEQ!SEQ{!OCT";
char const* const x509Certificate_classAttributes_authority = "!SEQ{!SEQ!SEQ{!OCT?BOO";
char const* const x509Certificate_typeAttributes_value = "!SEQ{!SEQ!SEQ?CC0!CC1{!SEQ{!SEQ";
char const* const x509Certificate_typeAttributes_subject = "!SEQ{!SEQ!SEQ?CC0!CC1{!SEQ{!SEQ?SEQ";
char const* const x509Certificate_typeAttributes_issuer =
    "!SEQ{!SEQ!SEQ?CC0!CC1{!SEQ{!SEQ?SEQ?CC0{!SEQ";
char const* const x509Certificate_typeAttributes_serialNumber =
    "!SEQ{!SEQ!SEQ?CC0!CC1{!SEQ{!SEQ?SEQ?CC0?INT";

// X.509 attribute certificate ([0]).
char const* const x509AttributeCertificate_commonObjectAttributes_label = "!CC0{!SEQ{?UT8";
char const* const x509AttributeCertificate_commonObjectAttributes_flags = "!CC0{!SEQ{?UT8?BIT";
char const* const x509AttributeCertificate_commonObjectAttributes_authID = "!CC0{!SEQ{?UT8?BIT?OCT";
char const* const x509AttributeCertificate_classAttributes_iD = "!CC0{!SEQ!SEQ{!OCT";
char const* const x509AttributeCertificate_classAttributes_authority = "!CC0{!SEQ!SEQ{!OCT?BOO";
char const* const x509AttributeCertificate_typeAttributes_value = "!CC0{!SEQ!SEQ?CC0!CC1{!SEQ{!SEQ";
char const* const x509AttributeCertificate_typeAttributes_issuer =
    "!CC0{!SEQ!SEQ?CC0!CC1{!SEQ{!ANY?SEQ";
char const* const x509AttributeCertificate_typeAttributes_serialNumber =
    "!CC0{!SEQ!SEQ?CC0!CC1{!SEQ{!ANY?SEQ?INT";
char const* const x509AttributeCertificate_typeAttributes_attrTypes =
    "!CC0{!SEQ!SEQ?CC0!CC1{!SEQ{!ANY?SEQ?INT?CC0";

// Opaque data object (SEQUENCE).
char const* const opaqueDO_commonObjectAttributes_label = "!SEQ{!SEQ{?UT8";
char const* const opaqueDO_commonObjectAttributes_flags = "!SEQ{!SEQ{?UT8?BIT";
char const* const opaqueDO_commonObjectAttributes_authID = "!SEQ{!SEQ{?UT8?BIT?OCT";
char const* const opaqueDO_classAttributes_applicationName = "!SEQ{!SEQ!SEQ{?UT8";
char const* const opaqueDO_classAttributes_applicationOID = "!SEQ{!SEQ!SEQ{?UT8?OID";
char const* const opaqueDO_typeAttributes = "!SEQ{!SEQ!SEQ?CC0!CC1{!SEQ";

// PIN object (SEQUENCE).
char const* const pin_commonObjectAttributes_label = "!SEQ{!SEQ{?UT8";
char const* const pin_commonObjectAttributes_flags = "!SEQ{!SEQ{?UT8?BIT";
char const* const pin_commonObjectAttributes_authID = "!SEQ{!SEQ{?UT8?BIT?OCT";
char const* const pin_classAttributes_authID = "!SEQ{!SEQ!SEQ{!OCT";
char const* const pin_typeAttributes_pinFlags = "!SEQ{!SEQ!SEQ?CC0!CC1{!SEQ{!BIT";
char const* const pin_typeAttributes_pinType = "!SEQ{!SEQ!SEQ?CC0!CC1{!SEQ{!BIT!ENU";
char const* const pin_typeAttributes_minLength = "!SEQ{!SEQ!SEQ?CC0!CC1{!SEQ{!BIT!ENU!INT";
char const* const pin_typeAttributes_storedLength = "!SEQ{!SEQ!SEQ?CC0!CC1{!SEQ{!BIT!ENU!INT!INT";
char const* const pin_typeAttributes_maxLength = "!SEQ{!SEQ!SEQ?CC0!CC1{!SEQ{!BIT!ENU!INT!INT?INT";
char const* const pin_typeAttributes_pinReference =
    "!SEQ{!SEQ!SEQ?CC0!CC1{!SEQ{!BIT!ENU!INT!INT?INT?CP0";
char const* const pin_typeAttributes_padChar =
    "!SEQ{!SEQ!SEQ?CC0!CC1{!SEQ{!BIT!ENU!INT!INT?INT?CP0?OCT";
char const* const pin_typeAttributes_lastPinChange =
    "!SEQ{!SEQ!SEQ?CC0!CC1{!SEQ{!BIT!ENU!INT!INT?INT?CP0?OCT?GTM";
char const* const pin_typeAttributes_path =
    "!SEQ{!SEQ!SEQ?CC0!CC1{!SEQ{!BIT!ENU!INT!INT?INT?CP0?OCT?GTM?SEQ";

// Authentication key ([1]).
char const* const authKey_commonObjectAttributes_label = "!CC1{!SEQ{?UT8";
char const* const authKey_commonObjectAttributes_flags = "!CC1{!SEQ{?UT8?BIT";
char const* const authKey_commonObjectAttributes_authId = "!CC1{!SEQ{?UT8?BIT?OCT";
char const* const authKey_classAttributes_authId = "!CC1{!SEQ!SEQ{!OCT";

// TokenInfo: the content octets of the label [0].
char const* const tokenInfo_label = "!SEQ{!INT!OCT?UT8!CP0{";

}  // namespace P15
