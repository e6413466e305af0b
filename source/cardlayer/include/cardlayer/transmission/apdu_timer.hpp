#pragma once

#include <chrono>
#include <functional>

#include "iso7816/interchange/apdu_transmit.hpp"

namespace cardlayer::transmission {

// Measures every exchange through the inner layer (encoding, card round trip and decoding) and
// reports it to a callback after each successful exchange.
template <class Duration>
class ApduTimer : public iso7816::interchange::ApduTransmit {
public:
    using Callback =
        std::function<void(iso7816::interchange::Apdu const&,
                           iso7816::interchange::ApduResponse const&, Duration const&)>;

    // The callback is held by reference and belongs to the stack's builder.
    ApduTimer(iso7816::interchange::ApduTransmit& inner, Callback const& callback)
        : inner_(inner), callback_(callback) {}
    ApduTimer(iso7816::interchange::ApduTransmit& inner, Callback&& callback) = delete;

    using ApduTransmit::Transmit;

    // The callback sees the APDU as it was sent, channel bits included. An empty callback throws
    // std::bad_function_call after the exchange.
    iso7816::interchange::ApduResponse Transmit(iso7816::interchange::Apdu&& apdu) override {
        auto const start = std::chrono::steady_clock::now();
        iso7816::interchange::ApduResponse response =
            inner_.Transmit(static_cast<iso7816::interchange::Apdu const&>(apdu));
        Duration const elapsed =
            std::chrono::duration_cast<Duration>(std::chrono::steady_clock::now() - start);
        callback_(apdu, response, elapsed);
        return response;
    }

    std::size_t GetMaxDataLength() const override { return inner_.GetMaxDataLength(); }
    std::size_t GetMaxResponseLength() const override { return inner_.GetMaxResponseLength(); }

private:
    iso7816::interchange::ApduTransmit& inner_;
    Callback const& callback_;
};

}  // namespace cardlayer::transmission
