#include "iso7816/interchange/apdu_cla.hpp"

#include "velk/exceptions.hpp"

namespace iso7816::interchange {

void ApduCla::SetChannel(unsigned char channel) {
    if (channel > ChannelMask) {
        throw velk::InputError("Logical channel does not fit the class byte");
    }
    value_ = static_cast<std::uint8_t>((value_ & ~ChannelMask) | channel);
}

}  // namespace iso7816::interchange
