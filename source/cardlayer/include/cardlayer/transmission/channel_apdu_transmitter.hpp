#pragma once

#include "iso7816/interchange/apdu_transmit.hpp"
#include "iso7816/interchange/channel_id.hpp"

namespace cardlayer::transmission {

// Writes the logical channel into the class byte of every command. Only this layer sets channel
// bits; command builders never do.
class ChannelApduTransmitter : public iso7816::interchange::ApduTransmit {
public:
    ChannelApduTransmitter(iso7816::interchange::ApduTransmit& inner,
                           iso7816::interchange::ChannelId channel)
        : inner_(inner), channel_(channel) {}

    iso7816::interchange::ChannelId GetChannel() const noexcept { return channel_; }

    using ApduTransmit::Transmit;
    // The caller's APDU keeps the rewritten class byte.
    iso7816::interchange::ApduResponse Transmit(iso7816::interchange::Apdu&& apdu) override;

    std::size_t GetMaxDataLength() const override { return inner_.GetMaxDataLength(); }
    std::size_t GetMaxResponseLength() const override { return inner_.GetMaxResponseLength(); }

private:
    iso7816::interchange::ApduTransmit& inner_;
    iso7816::interchange::ChannelId channel_;
};

}  // namespace cardlayer::transmission
