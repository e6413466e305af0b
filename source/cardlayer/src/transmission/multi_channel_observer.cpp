#include "cardlayer/transmission/multi_channel_observer.hpp"

namespace cardlayer::transmission {

void MultiChannelObserver::add(std::reference_wrapper<ChannelObserver> const& observer) {
    observers_.push_back(observer);
}

void MultiChannelObserver::notify(iso7816::interchange::ChannelId channel) {
    for (ChannelObserver& observer : observers_) {
        observer.notify(channel);
    }
}

}  // namespace cardlayer::transmission
