#pragma once

#include "iso7816/interchange/channel_id.hpp"

namespace cardlayer::transmission {

// Told which logical channel a transaction uses.
class ChannelObserver {
public:
    virtual ~ChannelObserver() = default;
    virtual void notify(iso7816::interchange::ChannelId channel) = 0;
};

}  // namespace cardlayer::transmission
