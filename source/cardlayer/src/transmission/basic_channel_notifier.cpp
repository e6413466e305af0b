#include "cardlayer/transmission/basic_channel_notifier.hpp"

namespace cardlayer::transmission {

void BasicChannelNotifier::notify(iso7816::interchange::ChannelId channel) {
    if (channel == iso7816::interchange::BasicChannel) {
        function_(channel);
    }
}

}  // namespace cardlayer::transmission
