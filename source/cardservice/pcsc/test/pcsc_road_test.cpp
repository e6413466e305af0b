// The reader-access backend through the bridge over the real PC/SC daemon and the virtual card.
#include <gtest/gtest.h>

#include "cachelib/persistent_memory_cache.hpp"
#include "cardlayer/rawtransmission/logger_provider.hpp"
#include "cardlayer/transmission/auto_channel_provider.hpp"
#include "cardlayer/transmission/basic_channel_notifier.hpp"
#include "cardlayer/transmission/encoder_provider.hpp"
#include "other_client.hpp"
#include "pcsc_test_support.hpp"
#include "sclib/exceptions.hpp"
#include "sclib/provider.hpp"
#include "sclib/reader.hpp"
#include "sclib/smartcard.hpp"
#include "teappletlib/cardlayer/tessaro_selector_provider.hpp"
#include "teappletlib/interchange/cmd/impl/apdu/command_provider.hpp"
#include "teappletlib/interchange/cmd/tessaro_aid.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/object_driver_cmd.hpp"
#include "teappletlib/interchange/obj/object_provider.hpp"
#include "teappletlib/interchange/obj/read_all.hpp"
#include "testsupport/cardsim/pkcs15_content.hpp"
#include "virtual_card_test.hpp"

namespace cardservice::pcsc::testing {
namespace {

using namespace iso7816::interchange::literals;
using testsupport::cardsim::ByteVector;
namespace cmd = teappletlib::interchange::cmd;
namespace obj = teappletlib::interchange::obj;

// The channel and applet selection a card keeps between its transactions.
struct CardStackState {
    using SlotCache = cachelib::PersistentMemoryCache<void>;

    SlotCache channelCache{std::make_shared<SlotCache::Storage>()};
    SlotCache selectorCache{std::make_shared<SlotCache::Storage>()};
    cardlayer::transmission::BasicChannelNotifier basicChannel{
        [this](iso7816::interchange::ChannelId) { selectorCache.getStorage().invalidateAll(); }};
    cardlayer::transmission::AutoChannelProvider::Storage channelStorage{channelCache};
    teappletlib::cardlayer::TessaroSelectorProvider::Storage selectorStorage{selectorCache};
};

ByteVector readCertificateDirectory(cardlayer::smartcard::SmartcardProvider& provider,
                                    CardStackState& state) {
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
    return ByteVector(content.begin(), content.end());
}

ByteVector const& expectedDirectory() {
    static ByteVector const directory = testsupport::cardsim::encodeCertificateDirectory(
        testsupport::cardsim::Pkcs15Content::standard().certificates);
    return directory;
}

using PcscRoadTest = VirtualCardTest;

TEST_F(PcscRoadTest, DefaultProviderReadsTheCertificateDirectoryAndSeesAReset) {
    insertCard();
    std::shared_ptr<sclib::Reader> const reader =
        sclib::env::GetDefaultProvider().GetReaderByName("virtual pcd 00 00");
    ASSERT_NE(reader, nullptr);
    std::unique_ptr<sclib::Smartcard> const card = reader->ConnectSmartcard();
    std::vector<bool> resets;
    std::vector<ByteVector> directories;
    auto const transaction = [&](CardStackState& state) {
        card->transaction([&](cardlayer::smartcard::SmartcardProvider& provider, bool wasReset) {
            resets.push_back(wasReset);
            directories.push_back(readCertificateDirectory(provider, state));
        });
    };
    CardStackState before;
    transaction(before);
    ASSERT_TRUE(OtherClient::resetCard(VirtualReader));
    // The reset cost the card its channel and selection, as a caller told of it forgets them.
    CardStackState after;
    transaction(after);
    transaction(after);

    EXPECT_EQ(resets, (std::vector<bool>{false, true, false}));
    EXPECT_EQ(directories, (std::vector<ByteVector>(3, expectedDirectory())));
}

TEST_F(PcscRoadTest, RemovedCardFailsTheNextTransactionAsNoSmartcard) {
    insertCard();
    std::unique_ptr<sclib::Smartcard> const card =
        sclib::env::GetDefaultProvider().GetReaderByName(VirtualReader)->ConnectSmartcard();
    EXPECT_EQ(virtualCard_->stop(), 0);
    ASSERT_TRUE(recorder_->waitForState(StateEmpty));
    bool ran = false;
    EXPECT_THROW(
        card->transaction([&](cardlayer::smartcard::SmartcardProvider&, bool) { ran = true; }),
        sclib::NoSmartcardError);
    EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace cardservice::pcsc::testing
