#pragma once

#include <memory>

#include "teappletlib/interchange/acl.hpp"
#include "teappletlib/interchange/auth_object_id.hpp"
#include "teappletlib/interchange/obj/driver/auth_object_driver.hpp"
#include "teappletlib/interchange/pin_length_range.hpp"

namespace teappletlib::interchange::obj::driver {

// The card's PIN objects.
class AuthObjectManagerDriver {
public:
    virtual ~AuthObjectManagerDriver() = default;

    virtual std::shared_ptr<AuthObjectDriver> create(PinLengthRange const& range,
                                                     unsigned int tries, bool flag,
                                                     Acl const& acl) = 0;
    // Talks to nothing: the object need not exist on the card.
    virtual std::shared_ptr<AuthObjectDriver> get(AuthObjectId id) = 0;
    virtual std::shared_ptr<AuthObjectDriver> get(AuthObjectId id) const = 0;
    virtual void disableSecureMessaging() = 0;
};

}  // namespace teappletlib::interchange::obj::driver
