#pragma once

#include <functional>
#include <memory>

#include "cachelib/persistent_memory_cache.hpp"
#include "cardlayer/rawtransmission/logger_provider.hpp"
#include "cardlayer/transmission/auto_channel_provider.hpp"
#include "cardlayer/transmission/basic_channel_notifier.hpp"
#include "cardlayer/transmission/encoder_provider.hpp"
#include "simulator_bench.hpp"
#include "teappletlib/cardlayer/tessaro_selector_provider.hpp"
#include "teappletlib/interchange/cmd/impl/apdu/command_provider.hpp"
#include "teappletlib/interchange/cmd/tessaro_aid.hpp"

namespace teappletlib::test {

// The per-card stack of the enabler in miniature: the channel number and the selected applet
// are kept between transactions, every transaction builds the layers afresh over the card I/O,
// and work on the shared basic channel forgets the selection first.
class SimulatedCardStack {
public:
    using Operation = std::function<void(interchange::cmd::CommandProvider&)>;

    explicit SimulatedCardStack(testsupport::cardsim::CardSimulator& card) : card_(card) {}

    void perform(Operation const& operation) {
        SimulatorCardIo io(card_);
        ::cardlayer::rawtransmission::LoggerProvider raw(io);
        ::cardlayer::transmission::EncoderProvider encoder(raw);
        ::cardlayer::transmission::AutoChannelProvider channel(encoder, channelStorage_,
                                                               basicChannel_);
        teappletlib::cardlayer::TessaroSelectorProvider selector(channel, selectorStorage_,
                                                                 interchange::cmd::TessaroAid);
        interchange::cmd::impl::apdu::CommandProvider commands(selector);
        operation(commands);
    }

private:
    using SlotCache = cachelib::PersistentMemoryCache<void>;

    testsupport::cardsim::CardSimulator& card_;
    SlotCache channelCache_{std::make_shared<SlotCache::Storage>()};
    SlotCache selectorCache_{std::make_shared<SlotCache::Storage>()};
    ::cardlayer::transmission::BasicChannelNotifier basicChannel_{
        [this](iso7816::interchange::ChannelId) { selectorCache_.getStorage().invalidateAll(); }};
    ::cardlayer::transmission::AutoChannelProvider::Storage channelStorage_{channelCache_};
    teappletlib::cardlayer::TessaroSelectorProvider::Storage selectorStorage_{selectorCache_};
};

}  // namespace teappletlib::test
