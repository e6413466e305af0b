#include "iso7816/interchange/raw_transmit.hpp"

namespace iso7816::interchange {

velk::basic_allocated_string<unsigned char> RawTransmit::Transmit(
    velk::basic_allocated_string<unsigned char> const& bytes) {
    return Transmit(bytes.data(), bytes.size());
}

}  // namespace iso7816::interchange
