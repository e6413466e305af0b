#pragma once

#include "cardlayer/rawtransmission/raw_transmission_provider.hpp"
#include "cardlayer/transmission/transmission_provider.hpp"
#include "iso7816/interchange/apdu_encoder.hpp"

namespace cardlayer::transmission {

// The short-APDU encoder over a raw layer.
class EncoderProvider : public TransmissionProvider {
public:
    explicit EncoderProvider(rawtransmission::RawTransmissionProvider& inner)
        : encoder_(inner.getRawTransmit()) {}

    iso7816::interchange::ApduTransmit& getApduTransmit() override { return encoder_; }

private:
    iso7816::interchange::ApduEncoder encoder_;
};

}  // namespace cardlayer::transmission
