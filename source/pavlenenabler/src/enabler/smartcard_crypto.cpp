#include <string>

#include "card_pin.hpp"
#include "pavlenenabler/enabler/smartcard.hpp"
#include "teappletlib/interchange/algorithms.hpp"
#include "teappletlib/interchange/key_id.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/crypto_input_buffer.hpp"
#include "velk/exceptions.hpp"

namespace pavlenenabler::enabler {

namespace {

using iface::KeyCertType;
using teappletlib::interchange::KeyId;
using teappletlib::interchange::cmd::CommandProvider;
using teappletlib::interchange::obj::ObjectProvider;
namespace driver = teappletlib::interchange::obj::driver::impl::cmd;

// PKCS#1 v1.5 decryption with the key of keyId: security environment for decryption, the
// cryptogram into the crypto input buffer, then the decryption command.
iface::Smartcard::Bytes decryptWith(CommandProvider& commands, KeyId keyId,
                                    iface::Smartcard::Bytes const& cryptogram) {
    // Checked first, so that input the buffer cannot take leaves no security environment set.
    driver::checkCryptoInputLength(commands, cryptogram.size());
    auto const& crypto = commands.getCryptoCommands();
    crypto.manageSecEnvDecrypt(teappletlib::interchange::DecryptAlg::Ref02, keyId);
    driver::writeCryptoInputBuffer(commands, cryptogram);
    return crypto.computeDecrypt(static_cast<unsigned short>(cryptogram.size()),
                                 crypto.getMaxExpectedLength());
}

}  // namespace

Smartcard::Bytes Smartcard::sign(KeyCertType type, Bytes data) {
    std::lock_guard<std::mutex> const lock(operationMutex_);
    if ((static_cast<std::uint32_t>(type) & ~std::uint32_t{2}) != 0) {
        throw velk::InputError("Cannot sign with this KeyCertType");
    }
    return cryptoOperation_(type, data);
}

Smartcard::Bytes Smartcard::decrypt(KeyCertType type, Bytes data) {
    std::lock_guard<std::mutex> const lock(operationMutex_);
    if (type != KeyCertType::Confidentiality) {
        throw velk::InputError("Cannot decrypt with this KeyCertType");
    }
    return cryptoOperation_(type, data);
}

Smartcard::Bytes Smartcard::cryptoOperation_(KeyCertType type, Bytes const& data) {
    if (!pin_) {
        throw velk::AuthenticationRequired("Must be logged in for this crypto operation");
    }
    // Only the presence of the key's certificate counts.
    if (!getCertificate_(type)) {
        throw velk::MissingData("Missing key file");
    }
    Bytes result;
    perform_([&](ObjectProvider& objects, CommandProvider& commands) {
        // The certificate lookup has refused every type without a key.
        KeyId const keyId{static_cast<std::uint8_t>(static_cast<std::uint32_t>(type) + 1)};
        auto const key = objects.getRsaKeySlot(keyId);
        bool verified = false;
        {
            auto const pinObject =
                objects.getAuthObject(detail::authObjectIdOf(authenticationObject_));
            Pin const fitted = detail::fitPin(*pin_);
            try {
                verified = pinObject->authenticatePin(fitted).verified;
            } catch (velk::secure_elt_err::AuthMethodBlocked const&) {
                verified = false;
            }
        }
        if (!verified) {
            // Changed or blocked elsewhere: presenting it again would only use up tries.
            pin_.reset();
            throw velk::AuthenticationRequired("The card rejected the PIN");
        }
        try {
            if (type == KeyCertType::Confidentiality) {
                result = decryptWith(commands, keyId, data);
            } else {
                auto const signature = key->sign(data, teappletlib::interchange::HashAlg::NoHash);
                result = Bytes(signature.data(), signature.size());
            }
        } catch (velk::secure_elt_err::WrongLength const& e) {
            throw velk::InputError(std::string("Wrong data length: ") + e.what());
        }
    });
    return result;
}

}  // namespace pavlenenabler::enabler
