#pragma once

#include "cardlayer/transmission/apdu_timer.hpp"
#include "cardlayer/transmission/transmission_provider.hpp"

namespace cardlayer::transmission {

// An ApduTimer over the layer beneath.
template <class Duration>
class TimerProvider : public TransmissionProvider {
public:
    using Callback = typename ApduTimer<Duration>::Callback;

    TimerProvider(TransmissionProvider& inner, Callback const& callback)
        : timer_(inner.getApduTransmit(), callback) {}
    TimerProvider(TransmissionProvider& inner, Callback&& callback) = delete;

    iso7816::interchange::ApduTransmit& getApduTransmit() override { return timer_; }

private:
    ApduTimer<Duration> timer_;
};

}  // namespace cardlayer::transmission
