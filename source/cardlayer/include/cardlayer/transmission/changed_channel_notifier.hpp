#pragma once

#include <functional>

#include <boost/optional.hpp>

#include "cardlayer/transmission/channel_observer.hpp"

namespace cardlayer::transmission {

// Calls its function on the first notification and whenever the channel differs from the last
// one it reported.
class ChangedChannelNotifier : public ChannelObserver {
public:
    using Function = std::function<void(iso7816::interchange::ChannelId)>;

    explicit ChangedChannelNotifier(Function function) : function_(std::move(function)) {}

    // When the function throws, the channel counts as not reported.
    void notify(iso7816::interchange::ChannelId channel) override;

private:
    Function function_;
    boost::optional<iso7816::interchange::ChannelId> last_;
};

}  // namespace cardlayer::transmission
