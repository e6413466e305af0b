#pragma once

#include <functional>

#include "cardlayer/transmission/channel_observer.hpp"

namespace cardlayer::transmission {

// Calls its function whenever the basic channel is in use.
class BasicChannelNotifier : public ChannelObserver {
public:
    using Function = std::function<void(iso7816::interchange::ChannelId)>;

    explicit BasicChannelNotifier(Function function) : function_(std::move(function)) {}

    void notify(iso7816::interchange::ChannelId channel) override;

private:
    Function function_;
};

}  // namespace cardlayer::transmission
