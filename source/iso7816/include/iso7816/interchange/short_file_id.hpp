#pragma once

#include <cstdint>

#include "iso7816/interchange/detail/tagged_value.hpp"

namespace iso7816::interchange {

// A short file identifier.
class ShortFileId : public detail::TaggedValue<std::uint8_t, ShortFileId> {
public:
    using TaggedValue::TaggedValue;
};

}  // namespace iso7816::interchange
