#pragma once

#include <cstdint>

#include "iso7816/interchange/tagged_value.hpp"

namespace iso7816::interchange {

// The class byte of a command APDU.
class ApduCla : public TaggedValue<std::uint8_t, ApduCla> {
public:
    // The logical channel bits of a first-interindustry class byte (channels 0 to 3).
    static constexpr std::uint8_t ChannelMask = 0x03;

    using TaggedValue::TaggedValue;

    // Writes the logical channel into the class byte. A channel above 3 does not fit the two
    // channel bits and would corrupt the rest of the class byte, so it throws velk::InputError.
    void SetChannel(unsigned char channel);
};

}  // namespace iso7816::interchange
