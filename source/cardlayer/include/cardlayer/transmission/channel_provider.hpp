#pragma once

#include "cardlayer/transmission/channel_apdu_transmitter.hpp"
#include "cardlayer/transmission/channel_observer.hpp"
#include "cardlayer/transmission/transmission_provider.hpp"

namespace cardlayer::transmission {

// Sends every command on a channel that the caller already holds. Sends nothing of its own.
class ChannelProvider : public TransmissionProvider {
public:
    // The observer is not notified: the caller chose the channel and knows it.
    ChannelProvider(TransmissionProvider& inner, ChannelObserver& observer,
                    iso7816::interchange::ChannelId channel);

    iso7816::interchange::ApduTransmit& getApduTransmit() override { return transmitter_; }

private:
    ChannelApduTransmitter transmitter_;
};

}  // namespace cardlayer::transmission
