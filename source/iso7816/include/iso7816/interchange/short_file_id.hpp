#pragma once

#include <cstdint>

#include "iso7816/interchange/tagged_value.hpp"

namespace iso7816::interchange {

// A short file identifier.
class ShortFileId : public TaggedValue<std::uint8_t, ShortFileId> {
public:
    using TaggedValue::TaggedValue;
};

}  // namespace iso7816::interchange
