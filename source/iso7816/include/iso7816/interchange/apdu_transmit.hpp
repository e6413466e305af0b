#pragma once

#include <cstddef>

#include "iso7816/interchange/apdu.hpp"
#include "iso7816/interchange/apdu_response.hpp"

namespace iso7816::interchange {

// Sends one command APDU and returns the card's response. Layers of the transmission stack
// implement it over the layer beneath them.
class ApduTransmit {
public:
    virtual ~ApduTransmit() = default;

    // Sends a copy through Transmit(Apdu&&); the copy's data is erased when the call ends.
    virtual ApduResponse Transmit(Apdu const& apdu);
    // The layer may rewrite the APDU (the channel layer writes its class byte).
    virtual ApduResponse Transmit(Apdu&& apdu) = 0;

    virtual std::size_t GetMaxDataLength() const = 0;
    virtual std::size_t GetMaxResponseLength() const = 0;
};

}  // namespace iso7816::interchange
