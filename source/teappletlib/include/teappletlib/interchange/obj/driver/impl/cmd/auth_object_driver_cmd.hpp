#pragma once

#include "teappletlib/interchange/cmd/access_control_commands.hpp"
#include "teappletlib/interchange/obj/driver/auth_object_driver.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {

// Each operation is one access-control command on this object.
class AuthObjectDriverCmd : public AuthObjectDriver {
public:
    AuthObjectDriverCmd(interchange::cmd::AccessControlCommands& commands, AuthObjectId id)
        : commands_(commands), id_(id) {}

    AuthObjectId getId() const override { return id_; }
    bool exists() const override;
    PinVerifyResult authenticatePin(Pin const& pin) const override;
    bool changePin(Pin const& newPin) override;
    PinVerifyResult changePin(Pin const& oldPin, Pin const& newPin) override;
    bool expirePin() override;
    interchange::cmd::RetryCounter getRetryCounter() const override;
    PinVerifyResult getAuthenticationState() const override;
    bool deauthenticateAllChannels() const override;
    bool deauthenticate() const override;

private:
    interchange::cmd::AccessControlCommands& commands_;
    AuthObjectId id_;
};

}  // namespace teappletlib::interchange::obj::driver::impl::cmd
