#include "cardlayer/transmission/auto_channel_provider.hpp"

#include "cardlayer/transmission/open_channel.hpp"

namespace cardlayer::transmission {

namespace {

using iso7816::interchange::ChannelId;

// Opening runs under the entry's lock, so one card's storage never opens two channels.
ChannelId storedOrOpenedChannel(TransmissionProvider& inner, cachelib::Entry<ChannelId>& entry) {
    return *entry.fetch([&inner] { return openChannel(inner.getApduTransmit()); });
}

}  // namespace

AutoChannelProvider::AutoChannelProvider(TransmissionProvider& inner, Storage& storage,
                                         ChannelObserver& observer)
    : transmitter_(inner.getApduTransmit(), storedOrOpenedChannel(inner, *storage.entry_)) {
    observer.notify(transmitter_.GetChannel());
}

}  // namespace cardlayer::transmission
