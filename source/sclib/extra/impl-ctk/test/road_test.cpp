#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "cachelib/persistent_memory_cache.hpp"
#include "cardlayer/rawtransmission/logger_provider.hpp"
#include "cardlayer/transmission/auto_channel_provider.hpp"
#include "cardlayer/transmission/basic_channel_notifier.hpp"
#include "cardlayer/transmission/encoder_provider.hpp"
#include "sclib/provider.hpp"
#include "sclib/smartcard.hpp"
#include "service_test.hpp"
#include "teappletlib/cardlayer/tessaro_selector_provider.hpp"
#include "teappletlib/interchange/cmd/impl/apdu/command_provider.hpp"
#include "teappletlib/interchange/cmd/tessaro_aid.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/object_driver_cmd.hpp"
#include "teappletlib/interchange/obj/object_provider.hpp"
#include "teappletlib/interchange/obj/read_all.hpp"
#include "testsupport/cardsim/pkcs15_content.hpp"

namespace sclib::impl::ctk {
namespace {

using namespace iso7816::interchange::literals;
using testsupport::cardsim::ByteVector;
namespace cmd = teappletlib::interchange::cmd;
namespace obj = teappletlib::interchange::obj;

// The channel and applet selection kept between the transactions of one card.
struct CardStackState {
    using SlotCache = cachelib::PersistentMemoryCache<void>;

    SlotCache channelCache{std::make_shared<SlotCache::Storage>()};
    SlotCache selectorCache{std::make_shared<SlotCache::Storage>()};
    cardlayer::transmission::BasicChannelNotifier basicChannel{
        [this](iso7816::interchange::ChannelId) { selectorCache.getStorage().invalidateAll(); }};
    cardlayer::transmission::AutoChannelProvider::Storage channelStorage{channelCache};
    teappletlib::cardlayer::TessaroSelectorProvider::Storage selectorStorage{selectorCache};
};

class RoadTest : public test::ServiceTest {};

TEST_F(RoadTest, CertificateDirectoryIsReadThroughTheDefaultProvider) {
    cardservice::memory::addReader("Reader 1");
    auto const simulator = insertCard("Reader 1");
    simulator->clearLog();

    auto const card =
        sclib::env::GetDefaultProvider().GetReaderByName("reader 1")->ConnectSmartcard();
    CardStackState state;
    ByteVector directory;
    card->transaction([&](cardlayer::smartcard::SmartcardProvider& provider, bool wasReset) {
        EXPECT_FALSE(wasReset);
        cardlayer::rawtransmission::LoggerProvider raw(provider.getCardIo());
        cardlayer::transmission::EncoderProvider encoder(raw);
        cardlayer::transmission::AutoChannelProvider channel(encoder, state.channelStorage,
                                                             state.basicChannel);
        teappletlib::cardlayer::TessaroSelectorProvider selector(channel, state.selectorStorage,
                                                                 cmd::TessaroAid);
        cmd::impl::apdu::CommandProvider commands(selector);
        obj::driver::impl::cmd::KeyValueCache cache(
            std::make_shared<obj::driver::impl::cmd::KeyValueCache::Storage>());
        obj::driver::impl::cmd::ObjectDriverCmd drivers(commands, cache);
        obj::ObjectProvider objects(drivers);
        auto const content =
            obj::readAll(*objects.getFile(teappletlib::interchange::AbsoluteFid{0x4404_fid}));
        directory.assign(content.begin(), content.end());
    });

    EXPECT_EQ(directory, testsupport::cardsim::encodeCertificateDirectory(
                             testsupport::cardsim::Pkcs15Content::standard().certificates));
    auto const log = simulator->log();
    ASSERT_GE(log.size(), 2U);
    // MANAGE CHANNEL open, then SELECT of the applet on the new channel 1.
    EXPECT_EQ(log[0].command, (ByteVector{0x00, 0x70, 0x00, 0x00, 0x01}));
    EXPECT_EQ(log[1].command, (ByteVector{0x01, 0xA4, 0x04, 0x00, 0x0C, 0xA0, 0x00, 0x00, 0x00,
                                          0x63, 0x50, 0x4B, 0x43, 0x53, 0x2D, 0x31, 0x35, 0x00}));
}

}  // namespace
}  // namespace sclib::impl::ctk
