#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <boost/optional.hpp>

#include "iso7816/interchange/channel_id.hpp"
#include "pavlenenabler/iface/key_cert_type.hpp"
#include "teappletlib/interchange/pin_verify_result.hpp"
#include "velk/allocated_string.hpp"

namespace pavlenenabler::iface {

// One accepted card. Its operations may be called from several threads; they run one at a time.
class Smartcard {
public:
    using PinVerifyResult = teappletlib::interchange::PinVerifyResult;
    using Pin = velk::basic_allocated_string<char>;
    using Bytes = velk::basic_allocated_string<unsigned char>;

    virtual ~Smartcard() = default;

    // The card's 8 serial-number bytes, binary.
    virtual std::string getSerialNumber() = 0;
    virtual std::string getTokenLabel() = 0;
    virtual std::string getReaderName() = 0;
    // The logical channel of the most recent card transaction; empty before the first.
    virtual boost::optional<iso7816::interchange::ChannelId> getChannelId() = 0;
    virtual PinVerifyResult login(Pin const& pin) = 0;
    virtual std::uint32_t getLoginTriesRemaining() = 0;
    virtual void logout() = 0;
    virtual bool changePin(Pin const& oldPin, Pin const& newPin) = 0;
    // DER bytes.
    virtual std::string getCertificate(KeyCertType type) = 0;
    virtual std::vector<std::string> getCertificateChain(KeyCertType type) = 0;
    virtual Bytes sign(KeyCertType type, Bytes data) = 0;
    virtual Bytes decrypt(KeyCertType type, Bytes data) = 0;
};

}  // namespace pavlenenabler::iface
