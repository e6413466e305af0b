#pragma once

#include <cstdint>

#include "iso7816/interchange/tagged_value.hpp"

namespace iso7816::interchange {

// A logical channel number.
class ChannelId : public TaggedValue<std::uint8_t, ChannelId> {
public:
    using TaggedValue::TaggedValue;
};

constexpr ChannelId BasicChannel{0};

}  // namespace iso7816::interchange
