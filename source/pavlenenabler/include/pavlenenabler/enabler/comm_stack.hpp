#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>

#include <boost/optional.hpp>

#include "cachelib/persistent_memory_cache.hpp"
#include "cardlayer/smartcard/smartcard_provider.hpp"
#include "cardlayer/transmission/apdu_timer.hpp"
#include "cardlayer/transmission/auto_channel_provider.hpp"
#include "cardlayer/transmission/basic_channel_notifier.hpp"
#include "cardlayer/transmission/changed_channel_notifier.hpp"
#include "cardlayer/transmission/multi_channel_observer.hpp"
#include "iso7816/interchange/channel_id.hpp"
#include "sclib/smartcard.hpp"
#include "teappletlib/cardlayer/tessaro_selector_provider.hpp"
#include "teappletlib/interchange/cmd/command_provider.hpp"

namespace pavlenenabler::enabler {

namespace detail {

// A value kept between card transactions: the cache slot storage and the storage built over it.
// The storage holds a slot of the cache, so this one object builds the cache first and the
// storage after it; no owner can get the order wrong.
template <class Storage>
class PersistentSlot {
public:
    PersistentSlot() = default;
    PersistentSlot(PersistentSlot const&) = delete;
    PersistentSlot& operator=(PersistentSlot const&) = delete;

    Storage& storage() { return storage_; }
    // Drops the kept value; the slot stays registered.
    void forget() { cache_.getStorage().invalidateAll(); }

private:
    using Cache = cachelib::PersistentMemoryCache<void>;

    Cache cache_{std::make_shared<Cache::Storage>()};
    Storage storage_{cache_};
};

}  // namespace detail

// The road of every operation on one card: one exclusive transaction per operation, with the
// transmission layers built afresh on the stack frame. The logical channel and the selected
// applet are kept between transactions. Holds pointers to itself: it never moves.
class CommStack : private cardlayer::transmission::BasicChannelNotifier,
                  private cardlayer::transmission::ChangedChannelNotifier {
public:
    using LatencyCallback = cardlayer::transmission::ApduTimer<std::chrono::milliseconds>::Callback;
    using Operation = std::function<void(teappletlib::interchange::cmd::CommandProvider&)>;

    // Sends nothing.
    CommStack(std::unique_ptr<sclib::Smartcard> smartcard, LatencyCallback latencyCallback);
    // Sends nothing: an opened logical channel stays open.
    ~CommStack();
    CommStack(CommStack const&) = delete;
    CommStack& operator=(CommStack const&) = delete;

    // Runs operation once inside one card transaction; operations on one card run one after the
    // other, and an operation must not call perform of its own stack. Everything thrown reaches
    // the caller unchanged. A transmission failure, a malformed answer or 6985 drops the kept
    // selection, so that the next operation selects the applet anew on the same channel; only a
    // card that no longer knows the channel (6881) or a reset makes the next one open another.
    void perform(Operation const& operation);

    // The channel of the most recent transaction; does not wait for a running one.
    boost::optional<iso7816::interchange::ChannelId> getChannelId() const;

private:
    using ChannelSlot =
        detail::PersistentSlot<cardlayer::transmission::AutoChannelProvider::Storage>;
    using SelectorSlot =
        detail::PersistentSlot<teappletlib::cardlayer::TessaroSelectorProvider::Storage>;

    void transact_(cardlayer::smartcard::SmartcardProvider& provider, bool wasReset,
                   Operation const& operation);
    void onUsingBasicChannel_(iso7816::interchange::ChannelId channel);
    void onUsingChangedChannel_(iso7816::interchange::ChannelId channel);
    // The next transaction selects the applet again on the kept channel.
    void dropSelection_();
    // For a channel the card has already closed (reset, 6881): the next transaction opens one.
    void forgetClosedChannel_();
    void setChannelId_(iso7816::interchange::ChannelId channel);

    std::unique_ptr<sclib::Smartcard> smartcard_;
    // The timer layer holds it by reference.
    LatencyCallback const latencyCallback_;
    ChannelSlot channel_;
    SelectorSlot selector_;
    cardlayer::transmission::MultiChannelObserver channelObservers_;
    // Held for the whole of each perform.
    std::mutex mutex_;
    mutable std::mutex channelIdMutex_;
    boost::optional<iso7816::interchange::ChannelId> channelId_;  // under channelIdMutex_
};

}  // namespace pavlenenabler::enabler
