#include "teappletlib/interchange/obj/driver/impl/cmd/auth_object_driver_cmd.hpp"

#include "velk/exceptions.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {

namespace {

[[noreturn]] void throwNotFound() {
    throw velk::secure_elt_err::RefDataNotFound("Authentication object not found");
}

}  // namespace

bool AuthObjectDriverCmd::exists() const {
    return commands_.getRetryCounter(id_).has_value();
}

PinVerifyResult AuthObjectDriverCmd::authenticatePin(Pin const& pin) const {
    return commands_.verifyPin(id_, pin);
}

bool AuthObjectDriverCmd::changePin(Pin const& newPin) {
    return commands_.changePin(id_, newPin);
}

PinVerifyResult AuthObjectDriverCmd::changePin(Pin const& oldPin, Pin const& newPin) {
    return commands_.changePin(id_, oldPin, newPin);
}

bool AuthObjectDriverCmd::expirePin() {
    return commands_.expirePin(id_);
}

interchange::cmd::RetryCounter AuthObjectDriverCmd::getRetryCounter() const {
    auto const counter = commands_.getRetryCounter(id_);
    if (!counter) {
        throwNotFound();
    }
    return *counter;
}

PinVerifyResult AuthObjectDriverCmd::getAuthenticationState() const {
    return commands_.verifyPin(id_);
}

bool AuthObjectDriverCmd::deauthenticateAllChannels() const {
    if (!commands_.deauthenticateAllChannels(id_)) {
        throwNotFound();
    }
    return true;
}

bool AuthObjectDriverCmd::deauthenticate() const {
    if (!commands_.deauthenticate(id_)) {
        throwNotFound();
    }
    return true;
}

}  // namespace teappletlib::interchange::obj::driver::impl::cmd
