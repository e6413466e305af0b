#pragma once

#include "iso7816/interchange/apdu_transmit.hpp"

namespace cardlayer::transmission {

// One APDU layer of a transmission stack.
class TransmissionProvider {
public:
    virtual iso7816::interchange::ApduTransmit& getApduTransmit() = 0;

protected:
    // Never owned through this interface.
    ~TransmissionProvider() = default;
};

}  // namespace cardlayer::transmission
