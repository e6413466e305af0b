#pragma once

#include <cstdint>

#include "iso7816/interchange/detail/tagged_value.hpp"

namespace teappletlib::interchange {

// Reference of a PIN (authentication) object on the applet.
class AuthObjectId : public iso7816::interchange::detail::TaggedValue<std::uint8_t, AuthObjectId> {
public:
    using TaggedValue::TaggedValue;
};

}  // namespace teappletlib::interchange
