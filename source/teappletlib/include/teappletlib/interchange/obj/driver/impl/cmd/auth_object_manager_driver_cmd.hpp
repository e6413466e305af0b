#pragma once

#include "teappletlib/interchange/cmd/access_control_commands.hpp"
#include "teappletlib/interchange/obj/driver/auth_object_manager_driver.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {

class AuthObjectManagerDriverCmd : public AuthObjectManagerDriver {
public:
    explicit AuthObjectManagerDriverCmd(interchange::cmd::AccessControlCommands& commands)
        : commands_(commands) {}

    std::shared_ptr<AuthObjectDriver> create(PinLengthRange const& range, unsigned int tries,
                                             bool flag, Acl const& acl) override;
    std::shared_ptr<AuthObjectDriver> get(AuthObjectId id) override;
    std::shared_ptr<AuthObjectDriver> get(AuthObjectId id) const override;
    void disableSecureMessaging() override;

private:
    interchange::cmd::AccessControlCommands& commands_;
};

}  // namespace teappletlib::interchange::obj::driver::impl::cmd
