#pragma once

#include "iso7816/interchange/apdu_transmit.hpp"
#include "teappletlib/interchange/cmd/crypto_commands.hpp"

namespace teappletlib::interchange::cmd::impl::apdu {

class CryptoCommands : public cmd::CryptoCommands {
public:
    explicit CryptoCommands(iso7816::interchange::ApduTransmit& transmit) : transmit_(transmit) {}

    using cmd::CryptoCommands::unwrapPrivateKey;

    unsigned long getMaxExpectedLength() const override;
    KeyId createKeySlot(AsymAlg alg, unsigned int bits, KeyControlFlags flags, Acl const& first,
                        Acl const& second, bool flag) override;
    void generateKeyPair(AsymAlg alg, KeyId keyId) override;
    KeyId unwrapPrivateKey(AsymAlg alg, KeyControlFlags flags, Acl const& first, Acl const& second,
                           bool flag) override;
    bool deleteKey(KeyId keyId, KeyPart part) override;
    boost::optional<std::basic_string<unsigned char>> readComponent(
        RsaComponent component, KeyId keyId, unsigned long maxLength) const override;
    void manageSecEnvSign(HashAlg hashAlg, KeyId keyId) const override;
    void manageSecEnvDecrypt(DecryptAlg decryptAlg, KeyId keyId) const override;
    velk::basic_allocated_string<unsigned char> computeDecrypt(
        unsigned short length, unsigned long maxLength) const override;
    std::basic_string<unsigned char> computeSignature(unsigned short length,
                                                      unsigned long maxLength) const override;
    void unwrapSecretKey(KeyId keyId, unsigned short offset, unsigned short length) override;

private:
    iso7816::interchange::ApduTransmit& transmit_;
};

}  // namespace teappletlib::interchange::cmd::impl::apdu
