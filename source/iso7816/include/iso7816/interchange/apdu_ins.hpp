#pragma once

#include <cstdint>

#include "iso7816/interchange/tagged_value.hpp"

namespace iso7816::interchange {

// The instruction byte of a command APDU.
class ApduIns : public TaggedValue<std::uint8_t, ApduIns> {
public:
    using TaggedValue::TaggedValue;
};

}  // namespace iso7816::interchange
