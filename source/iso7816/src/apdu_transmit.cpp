#include "iso7816/interchange/apdu_transmit.hpp"

namespace iso7816::interchange {

ApduResponse ApduTransmit::Transmit(Apdu const& apdu) {
    Apdu copy(apdu);
    return Transmit(std::move(copy));
}

}  // namespace iso7816::interchange
