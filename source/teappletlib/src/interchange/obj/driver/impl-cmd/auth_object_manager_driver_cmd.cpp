#include "teappletlib/interchange/obj/driver/impl/cmd/auth_object_manager_driver_cmd.hpp"

#include "teappletlib/interchange/obj/driver/impl/cmd/auth_object_driver_cmd.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {

std::shared_ptr<AuthObjectDriver> AuthObjectManagerDriverCmd::create(PinLengthRange const& range,
                                                                     unsigned int tries, bool flag,
                                                                     Acl const& acl) {
    return get(commands_.createPin(range, tries, flag, acl));
}

std::shared_ptr<AuthObjectDriver> AuthObjectManagerDriverCmd::get(AuthObjectId id) {
    return std::make_shared<AuthObjectDriverCmd>(commands_, id);
}

std::shared_ptr<AuthObjectDriver> AuthObjectManagerDriverCmd::get(AuthObjectId id) const {
    return std::make_shared<AuthObjectDriverCmd>(commands_, id);
}

void AuthObjectManagerDriverCmd::disableSecureMessaging() {
    commands_.disableSecureMessaging();
}

}  // namespace teappletlib::interchange::obj::driver::impl::cmd
