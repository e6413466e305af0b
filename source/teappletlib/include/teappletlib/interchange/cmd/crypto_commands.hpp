#pragma once

#include <string>

#include <boost/optional.hpp>

#include "iso7816/interchange/short_file_id.hpp"
#include "teappletlib/interchange/acl.hpp"
#include "teappletlib/interchange/algorithms.hpp"
#include "teappletlib/interchange/cmd/rsa_component.hpp"
#include "teappletlib/interchange/key_flags.hpp"
#include "teappletlib/interchange/key_id.hpp"
#include "velk/allocated_string.hpp"

namespace teappletlib::interchange::cmd {

// Key slots and the security operations on them. The data to sign, decrypt or unwrap is written
// into the crypto input buffer beforehand; these commands name only its length.
class CryptoCommands {
public:
    // The EF that holds the input of the security operations.
    static constexpr iso7816::interchange::ShortFileId CryptoInputBufferShortFid{0x7F};

    virtual ~CryptoCommands() = default;

    // The largest response the transmission chain accepts.
    virtual unsigned long getMaxExpectedLength() const = 0;
    // Returns the reference of the new slot. bits must fit in 16 bits; without flag the key
    // attributes carry the applet's tag 22.
    virtual KeyId createKeySlot(AsymAlg alg, unsigned int bits, KeyControlFlags flags,
                                Acl const& first, Acl const& second, bool flag) = 0;
    virtual void generateKeyPair(AsymAlg alg, KeyId keyId) = 0;
    // Unwraps the private key in the crypto input buffer into a new slot, whose reference is
    // returned.
    virtual KeyId unwrapPrivateKey(AsymAlg alg, KeyControlFlags flags, Acl const& first,
                                   Acl const& second, bool flag) = 0;
    virtual KeyId unwrapPrivateKey(AsymAlg alg, KeyControlFlags flags, Acl const& first,
                                   Acl const& second) {
        return unwrapPrivateKey(alg, flags, first, second, true);
    }
    // False when the security condition for deleting is not met.
    virtual bool deleteKey(KeyId keyId, KeyPart part) = 0;
    // Empty when the slot holds no key.
    virtual boost::optional<std::basic_string<unsigned char>> readComponent(
        RsaComponent component, KeyId keyId, unsigned long maxLength) const = 0;
    virtual void manageSecEnvSign(HashAlg hashAlg, KeyId keyId) const = 0;
    virtual void manageSecEnvDecrypt(DecryptAlg decryptAlg, KeyId keyId) const = 0;
    virtual velk::basic_allocated_string<unsigned char> computeDecrypt(
        unsigned short length, unsigned long maxLength) const = 0;
    virtual std::basic_string<unsigned char> computeSignature(unsigned short length,
                                                              unsigned long maxLength) const = 0;
    // Unwraps the secret key found at offset in the crypto input buffer with the key of keyId.
    virtual void unwrapSecretKey(KeyId keyId, unsigned short offset, unsigned short length) = 0;
};

}  // namespace teappletlib::interchange::cmd
