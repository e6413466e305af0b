#pragma once

#include <memory>

#include "cachelib/entry.hpp"
#include "cardlayer/transmission/channel_apdu_transmitter.hpp"
#include "cardlayer/transmission/channel_observer.hpp"
#include "cardlayer/transmission/transmission_provider.hpp"
#include "iso7816/interchange/channel_id.hpp"

namespace cardlayer::transmission {

// Sends every command on the card's logical channel: opened once and kept in the storage, so
// later transactions reuse it without asking the card again.
class AutoChannelProvider : public TransmissionProvider {
public:
    // The per-card home of the channel number: one slot of a cache, removed with the storage.
    // A channel opened here is never closed by the system.
    class Storage {
    public:
        template <class Cache>
        explicit Storage(Cache& cache)
            : entry_(cache.template createEntry<iso7816::interchange::ChannelId>()) {}

    private:
        friend class AutoChannelProvider;
        std::unique_ptr<cachelib::Entry<iso7816::interchange::ChannelId>> entry_;
    };

    // Takes the channel from the storage or opens one (sending MANAGE CHANNEL through inner), then
    // tells the observer the channel in use, in either case. When opening fails, the slot stays
    // empty and the exception leaves the constructor.
    AutoChannelProvider(TransmissionProvider& inner, Storage& storage, ChannelObserver& observer);

    iso7816::interchange::ApduTransmit& getApduTransmit() override { return transmitter_; }

private:
    ChannelApduTransmitter transmitter_;
};

}  // namespace cardlayer::transmission
