#include "cardlayer/transmission/channel_apdu_transmitter.hpp"

namespace cardlayer::transmission {

iso7816::interchange::ApduResponse ChannelApduTransmitter::Transmit(
    iso7816::interchange::Apdu&& apdu) {
    apdu.GetCla().SetChannel(channel_.GetValue());
    return inner_.Transmit(std::move(apdu));
}

}  // namespace cardlayer::transmission
