#pragma once

#include "teappletlib/interchange/auth_object_id.hpp"
#include "teappletlib/interchange/cmd/access_control_commands.hpp"
#include "teappletlib/interchange/pin_verify_result.hpp"
#include "velk/allocated_string.hpp"

namespace teappletlib::interchange::obj::driver {

// One PIN object on the card. PINs are handed to the card as given: fitting them to the card's
// length is the caller's business.
class AuthObjectDriver {
public:
    using Pin = velk::basic_allocated_string<char>;

    virtual ~AuthObjectDriver() = default;

    virtual AuthObjectId getId() const = 0;
    // False when the card does not know the object.
    virtual bool exists() const = 0;
    virtual PinVerifyResult authenticatePin(Pin const& pin) const = 0;
    virtual bool changePin(Pin const& newPin) = 0;
    virtual PinVerifyResult changePin(Pin const& oldPin, Pin const& newPin) = 0;
    virtual bool expirePin() = 0;
    virtual cmd::RetryCounter getRetryCounter() const = 0;
    // Whether the object is verified, asked without presenting a PIN.
    virtual PinVerifyResult getAuthenticationState() const = 0;
    virtual bool deauthenticateAllChannels() const = 0;
    virtual bool deauthenticate() const = 0;
};

}  // namespace teappletlib::interchange::obj::driver
