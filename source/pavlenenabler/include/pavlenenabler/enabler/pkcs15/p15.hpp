#pragma once

#include "der/der_string.hpp"

// Slice paths to the fields of the PKCS#15 structures, one per field, named structure_group_field.
// Object paths start at the object's own element (a directory entry); see der/der_iterator.hpp
// for the path language.
namespace P15 {

// Object directories of the PKCS15Objects file: the path of each choice [0] to [8].
extern char const* const PKCS15Objects_privateKeys_path;
extern char const* const PKCS15Objects_publicKeys_path;
extern char const* const PKCS15Objects_trustedPublicKeys_path;
extern char const* const PKCS15Objects_secretKeys_path;
extern char const* const PKCS15Objects_certificates_path;
extern char const* const PKCS15Objects_trustedCertificates_path;
extern char const* const PKCS15Objects_usefulCertificates_path;
extern char const* const PKCS15Objects_dataObjects_path;
extern char const* const PKCS15Objects_authObjects_path;

// UnusedSpace.
extern char const* const UnusedSpace_path_path;
extern char const* const UnusedSpace_path_index;
extern char const* const UnusedSpace_path_length;
extern char const* const UnusedSpace_authID;

// Path.
extern char const* const Path_path;
extern char const* const Path_index;
extern char const* const Path_length;

// Private RSA key (SEQUENCE).
extern char const* const privateRSAKey_commonObjectAttributes_label;
extern char const* const privateRSAKey_commonObjectAttributes_flags;
extern char const* const privateRSAKey_commonObjectAttributes_authID;
extern char const* const privateRSAKey_classAttributes_iD;
extern char const* const privateRSAKey_classAttributes_usage;
extern char const* const privateRSAKey_classAttributes_native;
extern char const* const privateRSAKey_classAttributes_accessFlags;
extern char const* const privateRSAKey_classAttributes_keyReference;
extern char const* const privateRSAKey_subClassAttributes_subjectName_rdnSequence;
extern char const* const privateRSAKey_typeAttributes_value_indirect_path;
extern char const* const privateRSAKey_typeAttributes_modulusLength;
extern char const* const privateRSAKey_typeAttributes_keyInfo;

// Private ECC key ([0]).
extern char const* const privateECCKey_commonObjectAttributes_label;
extern char const* const privateECCKey_commonObjectAttributes_flags;
extern char const* const privateECCKey_commonObjectAttributes_authID;
extern char const* const privateECCKey_classAttributes_iD;
extern char const* const privateECCKey_classAttributes_usage;
extern char const* const privateECCKey_classAttributes_native;
extern char const* const privateECCKey_classAttributes_accessFlags;
extern char const* const privateECCKey_classAttributes_keyReference;
extern char const* const privateECCKey_subClassAttributes_subjectName_rdnSequence;
extern char const* const privateECCKey_typeAttributes_value_indirect_path;
extern char const* const privateECCKey_typeAttributes_keyInfo;

// Public RSA key (SEQUENCE).
extern char const* const publicRSAKey_commonObjectAttributes_label;
extern char const* const publicRSAKey_commonObjectAttributes_flags;
extern char const* const publicRSAKey_commonObjectAttributes_authID;
extern char const* const publicRSAKey_classAttributes_iD;
extern char const* const publicRSAKey_classAttributes_usage;
extern char const* const publicRSAKey_classAttributes_native;
extern char const* const publicRSAKey_classAttributes_accessFlags;
extern char const* const publicRSAKey_classAttributes_keyReference;
extern char const* const publicRSAKey_subClassAttributes_subjectName;
extern char const* const publicRSAKey_typeAttributes_value;
extern char const* const publicRSAKey_typeAttributes_modulusLength;
extern char const* const publicRSAKey_typeAttributes_keyInfo;

// Public ECC key ([0]).
extern char const* const publicECCKey_commonObjectAttributes_label;
extern char const* const publicECCKey_commonObjectAttributes_flags;
extern char const* const publicECCKey_commonObjectAttributes_authID;
extern char const* const publicECCKey_classAttributes_iD;
extern char const* const publicECCKey_classAttributes_usage;
extern char const* const publicECCKey_classAttributes_native;
extern char const* const publicECCKey_classAttributes_accessFlags;
extern char const* const publicECCKey_classAttributes_keyReference;
extern char const* const publicECCKey_subClassAttributes_subjectName;
extern char const* const publicECCKey_typeAttributes_value;
extern char const* const publicECCKey_typeAttributes_keyInfo;

// Secret key: the choice's own tag varies, so the path starts by descending into it.
extern char const* const secretKey_commonObjectAttributes_label;
extern char const* const secretKey_commonObjectAttributes_flags;
extern char const* const secretKey_commonObjectAttributes_authID;
extern char const* const secretKey_classAttributes_iD;
extern char const* const secretKey_classAttributes_usage;
extern char const* const secretKey_classAttributes_native;
extern char const* const secretKey_classAttributes_accessFlags;
extern char const* const secretKey_classAttributes_keyReference;
extern char const* const secretKey_subClassAttributes_keyLen;
extern char const* const secretKey_typeAttributes_value;

// X.509 certificate (SEQUENCE).
extern char const* const x509Certificate_commonObjectAttributes_label;
extern char const* const x509Certificate_commonObjectAttributes_flags;
extern char const* const x509Certificate_commonObjectAttributes_authID;
extern char const* const x509Certificate_classAttributes_iD;
extern char const* const x509Certificate_classAttributes_authority;
extern char const* const x509Certificate_typeAttributes_value;
extern char const* const x509Certificate_typeAttributes_subject;
extern char const* const x509Certificate_typeAttributes_issuer;
extern char const* const x509Certificate_typeAttributes_serialNumber;

// X.509 attribute certificate ([0]).
extern char const* const x509AttributeCertificate_commonObjectAttributes_label;
extern char const* const x509AttributeCertificate_commonObjectAttributes_flags;
extern char const* const x509AttributeCertificate_commonObjectAttributes_authID;
extern char const* const x509AttributeCertificate_classAttributes_iD;
extern char const* const x509AttributeCertificate_classAttributes_authority;
extern char const* const x509AttributeCertificate_typeAttributes_value;
extern char const* const x509AttributeCertificate_typeAttributes_issuer;
extern char const* const x509AttributeCertificate_typeAttributes_serialNumber;
extern char const* const x509AttributeCertificate_typeAttributes_attrTypes;

// Opaque data object (SEQUENCE).
extern char const* const opaqueDO_commonObjectAttributes_label;
extern char const* const opaqueDO_commonObjectAttributes_flags;
extern char const* const opaqueDO_commonObjectAttributes_authID;
extern char const* const opaqueDO_classAttributes_applicationName;
extern char const* const opaqueDO_classAttributes_applicationOID;
extern char const* const opaqueDO_typeAttributes;

// PIN object (SEQUENCE).
extern char const* const pin_commonObjectAttributes_label;
extern char const* const pin_commonObjectAttributes_flags;
extern char const* const pin_commonObjectAttributes_authID;
extern char const* const pin_classAttributes_authID;
extern char const* const pin_typeAttributes_pinFlags;
extern char const* const pin_typeAttributes_pinType;
extern char const* const pin_typeAttributes_minLength;
extern char const* const pin_typeAttributes_storedLength;
extern char const* const pin_typeAttributes_maxLength;
extern char const* const pin_typeAttributes_pinReference;
extern char const* const pin_typeAttributes_padChar;
extern char const* const pin_typeAttributes_lastPinChange;
extern char const* const pin_typeAttributes_path;

// Authentication key ([1]).
extern char const* const authKey_commonObjectAttributes_label;
extern char const* const authKey_commonObjectAttributes_flags;
extern char const* const authKey_commonObjectAttributes_authId;
extern char const* const authKey_classAttributes_authId;

// TokenInfo: the content octets of the label [0].
extern char const* const tokenInfo_label;

// Reads the file identifiers of a Path element into fids[0..capacity) and its index and
// length (-1 when absent). Stops with count == capacity when more identifiers follow. False
// when the path has no identifier, an odd octet count or the identifier FFFF; when
// `allowBare` is not set, also when index or length is missing.
bool PathDecode(CDerString const& path, unsigned short* fids, unsigned int capacity,
                unsigned int& count, int& index, int& length, bool allowBare);

}  // namespace P15
