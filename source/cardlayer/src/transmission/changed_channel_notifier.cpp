#include "cardlayer/transmission/changed_channel_notifier.hpp"

namespace cardlayer::transmission {

void ChangedChannelNotifier::notify(iso7816::interchange::ChannelId channel) {
    if (last_ && *last_ == channel) {
        return;
    }
    function_(channel);
    last_ = channel;
}

}  // namespace cardlayer::transmission
