#pragma once

#include <cstdint>

#include "iso7816/interchange/tagged_value.hpp"

namespace teappletlib::interchange {

// Reference of a PIN (authentication) object on the applet.
class AuthObjectId : public iso7816::interchange::TaggedValue<std::uint8_t, AuthObjectId> {
public:
    using TaggedValue::TaggedValue;
};

}  // namespace teappletlib::interchange
