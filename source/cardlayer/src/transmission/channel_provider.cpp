#include "cardlayer/transmission/channel_provider.hpp"

namespace cardlayer::transmission {

ChannelProvider::ChannelProvider(TransmissionProvider& inner, ChannelObserver& /*observer*/,
                                 iso7816::interchange::ChannelId channel)
    : transmitter_(inner.getApduTransmit(), channel) {}

}  // namespace cardlayer::transmission
