#pragma once

#include <memory>
#include <utility>

#include "teappletlib/interchange/obj/driver/auth_object_driver.hpp"

namespace teappletlib::interchange::obj {

// A PIN object of the card. Valid only inside the card transaction that handed it out.
class AuthObject {
public:
    using Pin = driver::AuthObjectDriver::Pin;

    explicit AuthObject(std::shared_ptr<driver::AuthObjectDriver> driver)
        : driver_(std::move(driver)) {}

    AuthObjectId getId() const { return driver_->getId(); }
    bool exists() const { return driver_->exists(); }
    PinVerifyResult authenticatePin(Pin const& pin) const { return driver_->authenticatePin(pin); }
    bool changePin(Pin const& newPin) { return driver_->changePin(newPin); }
    PinVerifyResult changePin(Pin const& oldPin, Pin const& newPin) {
        return driver_->changePin(oldPin, newPin);
    }
    bool expirePin() { return driver_->expirePin(); }
    cmd::RetryCounter getRetryCounter() const { return driver_->getRetryCounter(); }
    PinVerifyResult getAuthenticationState() const { return driver_->getAuthenticationState(); }
    bool deauthenticateAllChannels() const { return driver_->deauthenticateAllChannels(); }
    bool deauthenticate() const { return driver_->deauthenticate(); }

private:
    std::shared_ptr<driver::AuthObjectDriver> driver_;
};

}  // namespace teappletlib::interchange::obj
