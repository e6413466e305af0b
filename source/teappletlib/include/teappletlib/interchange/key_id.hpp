#pragma once

#include <cstdint>

#include "iso7816/interchange/detail/tagged_value.hpp"

namespace teappletlib::interchange {

// Reference of a key slot on the applet.
class KeyId : public iso7816::interchange::detail::TaggedValue<std::uint8_t, KeyId> {
public:
    using TaggedValue::TaggedValue;
};

}  // namespace teappletlib::interchange
