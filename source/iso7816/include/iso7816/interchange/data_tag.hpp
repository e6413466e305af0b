#pragma once

#include <cstdint>

#include "iso7816/interchange/tagged_value.hpp"

namespace iso7816::interchange {

// The tag of a data object read by GET DATA; sent as P1 (high byte) and P2 (low byte).
class DataTag : public TaggedValue<std::uint16_t, DataTag> {
public:
    using TaggedValue::TaggedValue;
};

}  // namespace iso7816::interchange
