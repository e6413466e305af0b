#include "teappletlib/interchange/cmd/impl/apdu/crypto_commands.hpp"

#include <array>
#include <cstdint>
#include <type_traits>

#include "apdu_fields.hpp"
#include "response_checks.hpp"
#include "teappletlib/interchange/cmd/impl/apdu/encoding.hpp"
#include "teappletlib/interchange/cmd/impl/apdu/status_rules.hpp"
#include "teappletlib/interchange/cmd/impl/apdu/status_words.hpp"
#include "teappletlib/interchange/spec/delete_key.hpp"
#include "velk/exceptions.hpp"

namespace teappletlib::interchange::cmd::impl::apdu {

namespace {

using iso7816::interchange::Apdu;
using iso7816::interchange::ApduCla;
using iso7816::interchange::ApduIns;
using iso7816::interchange::ApduResponse;
using velk::secure_elt_err::AlgorithmUnsupported;

constexpr ApduIns InsReadQueryPublicKey{0x3A};
constexpr ApduIns InsCreateKeySlot{0x38};
// GENERATE ASYMMETRIC KEY PAIR (ISO 7816-8), class 00.
constexpr ApduIns InsGenerateAsymKeyPair{0x46};
// PERFORM SECURITY OPERATION (ISO 7816-8) P1-P2 pairs, under the applet class.
constexpr ApduIns InsPerformSecOp{0x2A};
namespace pso {
constexpr std::uint8_t DigitalSignatureP1 = 0x9E;
constexpr std::uint8_t DataToSignP2 = 0x9A;
constexpr std::uint8_t PlainValueP1 = 0x80;
constexpr std::uint8_t CryptogramP2 = 0x86;
}  // namespace pso

namespace ins_import_wrap_unwrap_key {
constexpr ApduCla Cla{0x80};
constexpr ApduIns Ins{0x3C};
}  // namespace ins_import_wrap_unwrap_key

// MANAGE SECURITY ENVIRONMENT (ISO 7816-4), SET form.
namespace ins_manage_security_environment {
constexpr ApduCla Cla{0x00};
constexpr ApduIns Ins{0x22};
constexpr std::uint8_t Set = 0x41;
constexpr std::uint8_t SignatureTemplate = 0xB6;
constexpr std::uint8_t ConfidentialityTemplate = 0xB8;
}  // namespace ins_manage_security_environment

// Parameter codes, indexed by the enum's value.
constexpr std::array<std::uint8_t, 2> CreateKeySlotAlgCodes{0x00, 0x02};
constexpr std::array<std::uint8_t, 2> GenerateKeyPairAlgCodes{0x00, 0x84};
constexpr std::array<std::uint8_t, 2> UnwrapPrivateKeyAlgCodes{0x02, 0x08};
constexpr std::array<std::uint8_t, 6> HashAlgReferences{0x02, 0x12, 0x32, 0x42, 0x52, 0x62};
constexpr std::array<std::uint8_t, 2> DecryptAlgReferences{0x00, 0x02};

// The key size travels in two bytes; a larger one would reach the card as some other size.
constexpr unsigned int MaxKeyBits = 0xFFFF;

// A caller's enum indexes a table only after a range check of its unsigned value, so that no
// out-of-range or negative value reaches the table.
template <class Enum, std::size_t N>
std::uint8_t codeOf(Enum value, std::array<std::uint8_t, N> const& codes, char const* refusal) {
    static_assert(std::is_unsigned_v<std::underlying_type_t<Enum>>);
    auto const index = static_cast<std::underlying_type_t<Enum>>(value);
    if (index >= N) {
        throw AlgorithmUnsupported(refusal);
    }
    return codes[index];
}

// The key attributes shared by slot creation and private-key unwrap; tag 22 marks a key
// created without the flag.
Bytes keyAttributes(KeyControlFlags flags, Acl const& first, Acl const& second, bool flag) {
    Bytes data = encodeTlvInt<1, unsigned char>(0x21, static_cast<unsigned char>(flags));
    if (!flag) {
        data += encodeTlvInt<0, int>(0x22, 0);
    }
    data += encodeTlv(0x06, encodeTlv(first));
    data += encodeTlv(0x07, encodeTlv(second));
    return data;
}

// The new slot's reference comes back as the single data byte.
KeyId sendNewKeyCommand(iso7816::interchange::ApduTransmit& transmit, Apdu const& apdu) {
    auto const response = transmit.Transmit(apdu);
    switch (statusWord(response)) {
        case SwSuccess:
            return KeyId{singleResponseByte(response)};
        case SwFunctionNotSupported:
            throw AlgorithmUnsupported("Asymmetric algorithm not supported by token");
        default:
            processError(response);
    }
}

void sendManageSecurityEnvironment(iso7816::interchange::ApduTransmit& transmit, std::uint8_t crt,
                                   KeyId keyId, std::uint8_t algorithm, char const* unsupported) {
    namespace mse = ins_manage_security_environment;
    Bytes const data{0x84, 0x01, keyId.GetValue(), 0x80, 0x01, algorithm};
    Apdu const apdu(mse::Cla, mse::Ins, mse::Set, crt, toApduData(data), 0);
    auto const response = transmit.Transmit(apdu);
    switch (statusWord(response)) {
        case SwSuccess:
            return;
        case SwReferenceNotSupported:
        case SwFunctionNotSupported:
            throw AlgorithmUnsupported(unsupported);
        case SwKeyUsageRefused:
            throw velk::secure_elt_err::FeatureRestricted(
                "The key could not be used for the selected operation");
        default:
            processError(response);
    }
}

// Signature and decryption: the two zero bytes stand where unwrapSecretKey has its offset.
ApduResponse::Data sendPerformSecurityOperation(iso7816::interchange::ApduTransmit& transmit,
                                                std::uint8_t p1, std::uint8_t p2,
                                                unsigned short length, unsigned long maxLength) {
    Apdu const apdu(ProprietaryCommandClass, InsPerformSecOp, p1, p2,
                    toApduData(bigEndian16(0) + bigEndian16(length)), expectedLength(maxLength));
    auto const response = transmit.Transmit(apdu);
    switch (statusWord(response)) {
        case SwSuccess:
            return response.GetData();
        case SwKeyUsageRefused:
            throw velk::secure_elt_err::FeatureRestricted(
                "The key could not be used for the selected operation");
        default:
            processError(response);
    }
}

}  // namespace

unsigned long CryptoCommands::getMaxExpectedLength() const {
    return transmit_.GetMaxResponseLength();
}

KeyId CryptoCommands::createKeySlot(AsymAlg alg, unsigned int bits, KeyControlFlags flags,
                                    Acl const& first, Acl const& second, bool flag) {
    auto const p1 = codeOf(alg, CreateKeySlotAlgCodes, "Asymmetric algorithm unsupported");
    if (bits > MaxKeyBits) {
        throw velk::InputError("Key size too large");
    }
    Bytes const data =
        encodeTlvInt<2, unsigned int>(0x20, bits) + keyAttributes(flags, first, second, flag);
    return sendNewKeyCommand(
        transmit_, Apdu(ProprietaryCommandClass, InsCreateKeySlot, p1, 0x00, toApduData(data), 1));
}

void CryptoCommands::generateKeyPair(AsymAlg alg, KeyId keyId) {
    auto const p1 = codeOf(alg, GenerateKeyPairAlgCodes, "Asymmetric algorithm unsupported");
    Apdu const apdu(InsGenerateAsymKeyPair, p1, keyId.GetValue(), 0);
    auto const response = transmit_.Transmit(apdu);
    switch (statusWord(response)) {
        case SwSuccess:
            return;
        case SwFunctionNotSupported:
            throw AlgorithmUnsupported("Asymmetric algorithm not supported by token");
        default:
            processError(response);
    }
}

KeyId CryptoCommands::unwrapPrivateKey(AsymAlg alg, KeyControlFlags flags, Acl const& first,
                                       Acl const& second, bool flag) {
    namespace unwrap = ins_import_wrap_unwrap_key;
    auto const p1 = codeOf(alg, UnwrapPrivateKeyAlgCodes, "Asymmetric algorithm not supported");
    return sendNewKeyCommand(transmit_,
                             Apdu(unwrap::Cla, unwrap::Ins, p1, 0x00,
                                  toApduData(keyAttributes(flags, first, second, flag)), 1));
}

// DELETE KEY: P1 names the part to keep, 3 - part, so Both deletes with P1 00.
bool CryptoCommands::deleteKey(KeyId keyId, KeyPart part) {
    auto const partBits = static_cast<std::uint32_t>(part);
    if (partBits < static_cast<std::uint32_t>(KeyPart::First) ||
        partBits > static_cast<std::uint32_t>(KeyPart::Both)) {
        throw velk::InputError("Incorrect or unsupported key part specified");
    }
    auto const p1 = static_cast<std::uint8_t>(3 - partBits);
    spec::delete_key::Response const response(transmit_.Transmit(
        Apdu(spec::delete_key::Cla, spec::delete_key::Ins, p1, keyId.GetValue(), 0)));
    if (!response.IsError()) {
        return true;
    }
    if (response.HasCode(SwSecurityNotSatisfied)) {
        return false;
    }
    if (response.HasCode(SwFileNotFound)) {
        throw velk::secure_elt_err::RefDataNotFound("Key ID not found");
    }
    processError(response);
}

boost::optional<Bytes> CryptoCommands::readComponent(RsaComponent component, KeyId keyId,
                                                     unsigned long maxLength) const {
    auto const p2 = static_cast<std::uint32_t>(component);
    if (p2 < static_cast<std::uint32_t>(RsaComponent::Modulus) ||
        p2 > static_cast<std::uint32_t>(RsaComponent::PublicExponent)) {
        throw velk::InputError("Incorrect or unsupported RSA component specified");
    }
    Apdu const apdu(ProprietaryCommandClass, InsReadQueryPublicKey, keyId.GetValue(),
                    static_cast<std::uint8_t>(p2), expectedLength(maxLength));
    auto const response = transmit_.Transmit(apdu);
    switch (statusWord(response)) {
        case SwSuccess:
            return publicBytes(response.GetData());
        case SwReferenceNotFound:
            return boost::none;
        default:
            processError(response);
    }
}

void CryptoCommands::manageSecEnvSign(HashAlg hashAlg, KeyId keyId) const {
    auto const reference = codeOf(hashAlg, HashAlgReferences, "Hash Algorithm unsupported");
    sendManageSecurityEnvironment(transmit_, ins_manage_security_environment::SignatureTemplate,
                                  keyId, reference, "Hashing algorithm not supported by token");
}

void CryptoCommands::manageSecEnvDecrypt(DecryptAlg decryptAlg, KeyId keyId) const {
    auto const reference =
        codeOf(decryptAlg, DecryptAlgReferences, "Decryption algorithm unsupported");
    sendManageSecurityEnvironment(transmit_,
                                  ins_manage_security_environment::ConfidentialityTemplate, keyId,
                                  reference, "Decryption algorithm not supported by token");
}

velk::basic_allocated_string<unsigned char> CryptoCommands::computeDecrypt(
    unsigned short length, unsigned long maxLength) const {
    return sendPerformSecurityOperation(transmit_, pso::PlainValueP1, pso::CryptogramP2, length,
                                        maxLength);
}

Bytes CryptoCommands::computeSignature(unsigned short length, unsigned long maxLength) const {
    return publicBytes(sendPerformSecurityOperation(transmit_, pso::DigitalSignatureP1,
                                                    pso::DataToSignP2, length, maxLength));
}

void CryptoCommands::unwrapSecretKey(KeyId keyId, unsigned short offset, unsigned short length) {
    namespace unwrap = ins_import_wrap_unwrap_key;
    Apdu const apdu(unwrap::Cla, unwrap::Ins, 0x00, keyId.GetValue(),
                    toApduData(bigEndian16(offset) + bigEndian16(length)), 0);
    expectSuccess(transmit_.Transmit(apdu));
}

}  // namespace teappletlib::interchange::cmd::impl::apdu
