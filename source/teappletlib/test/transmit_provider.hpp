#pragma once

#include "cardlayer/transmission/transmission_provider.hpp"
#include "iso7816/interchange/apdu_transmit.hpp"

namespace teappletlib::test {

// Hands out a transmitter as the top of a stack, counting how often it was asked.
class TransmitProvider : public ::cardlayer::transmission::TransmissionProvider {
public:
    explicit TransmitProvider(iso7816::interchange::ApduTransmit& transmit) : transmit_(transmit) {}

    iso7816::interchange::ApduTransmit& getApduTransmit() override {
        ++calls;
        return transmit_;
    }

    int calls = 0;

private:
    iso7816::interchange::ApduTransmit& transmit_;
};

}  // namespace teappletlib::test
