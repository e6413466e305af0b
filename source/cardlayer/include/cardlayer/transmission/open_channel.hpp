#pragma once

#include "iso7816/interchange/apdu_transmit.hpp"
#include "iso7816/interchange/channel_id.hpp"

namespace cardlayer::transmission {

// The channel policy: asks the card for a logical channel and returns it, or the basic channel
// when none is free or the card's channel does not fit the class byte (such a channel is closed
// again). A card that refuses logical channels throws
// iso7816::interchange::LogicalChannelsNotSupported.
iso7816::interchange::ChannelId openChannel(iso7816::interchange::ApduTransmit& transmit);

}  // namespace cardlayer::transmission
