#pragma once

#include "iso7816/interchange/raw_transmit.hpp"

namespace cardlayer::rawtransmission {

// One raw layer of a transmission stack.
class RawTransmissionProvider {
public:
    virtual iso7816::interchange::RawTransmit& getRawTransmit() = 0;

protected:
    // Never owned through this interface.
    ~RawTransmissionProvider() = default;
};

}  // namespace cardlayer::rawtransmission
