#pragma once

#include <cstdint>

#include "iso7816/interchange/tagged_value.hpp"

namespace teappletlib::interchange {

// Reference of a key slot on the applet.
class KeyId : public iso7816::interchange::TaggedValue<std::uint8_t, KeyId> {
public:
    using TaggedValue::TaggedValue;
};

}  // namespace teappletlib::interchange
