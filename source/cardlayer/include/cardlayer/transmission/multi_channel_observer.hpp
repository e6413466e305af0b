#pragma once

#include <functional>
#include <vector>

#include "cardlayer/transmission/channel_observer.hpp"

namespace cardlayer::transmission {

// Notifies several observers, in the order they were added. The observers are not owned.
class MultiChannelObserver : public ChannelObserver {
public:
    void add(std::reference_wrapper<ChannelObserver> const& observer);

    // An observer that throws stops the notification of those after it.
    void notify(iso7816::interchange::ChannelId channel) override;

private:
    std::vector<std::reference_wrapper<ChannelObserver>> observers_;
};

}  // namespace cardlayer::transmission
