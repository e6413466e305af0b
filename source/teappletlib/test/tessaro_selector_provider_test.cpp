#include "teappletlib/cardlayer/tessaro_selector_provider.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "cachelib/persistent_memory_cache.hpp"
#include "simulator_bench.hpp"
#include "teappletlib/interchange/cmd/impl/apdu/command_provider.hpp"
#include "teappletlib/interchange/cmd/tessaro_aid.hpp"
#include "testsupport/scripted_card.hpp"
#include "thrown_message.hpp"
#include "transmit_provider.hpp"
#include "velk/exceptions.hpp"

namespace teappletlib {
namespace {

using interchange::cmd::TessaroAid;
using iso7816::interchange::Aid;
using testsupport::Bytes;
using testsupport::ScriptedCard;

Bytes const SelectTessaro{0x00, 0xA4, 0x04, 0x00, 0x0C, 0xA0, 0x00, 0x00, 0x00,
                          0x63, 0x50, 0x4B, 0x43, 0x53, 0x2D, 0x31, 0x35, 0x00};
Aid const OtherAid{{0xA0, 0x00, 0x00, 0x00, 0x01}};

class TessaroSelectorProviderTest : public ::testing::Test {
protected:
    std::shared_ptr<Aid> remembered() { return storage.entry().lock().getValue(); }

    ScriptedCard card;
    test::TransmitProvider provider{card.transmit()};
    cachelib::PersistentMemoryCache<void> cache{
        std::make_shared<cachelib::PersistentMemoryStorage<void>>()};
    cardlayer::TessaroSelectorProvider::Storage storage{cache};
};

TEST_F(TessaroSelectorProviderTest, SelectsOnceAndRemembersTheApplet) {
    card.expect(SelectTessaro).answer({0x90, 0x00});
    cardlayer::TessaroSelectorProvider first(provider, storage, TessaroAid);
    ASSERT_TRUE(remembered());
    EXPECT_EQ(*remembered(), TessaroAid);

    // The card holds no further expectation: a second SELECT would fail the test.
    cardlayer::TessaroSelectorProvider second(provider, storage, TessaroAid);
    EXPECT_EQ(&second.getApduTransmit(), &card.transmit());
    EXPECT_EQ(card.remaining(), 0u);
}

TEST_F(TessaroSelectorProviderTest, SelectsAgainWhenAnotherAppletIsRemembered) {
    storage.entry().update(OtherAid);
    card.expect(SelectTessaro).answer({0x90, 0x00});
    cardlayer::TessaroSelectorProvider selector(provider, storage, TessaroAid);
    EXPECT_EQ(*remembered(), TessaroAid);
}

TEST_F(TessaroSelectorProviderTest, SelectsAgainAfterTheSlotWasEmptied) {
    card.expect(SelectTessaro).answer({0x90, 0x00});
    card.expect(SelectTessaro).answer({0x90, 0x00});
    cardlayer::TessaroSelectorProvider first(provider, storage, TessaroAid);
    cache.getStorage().invalidateAll();
    cardlayer::TessaroSelectorProvider second(provider, storage, TessaroAid);
    EXPECT_EQ(card.remaining(), 0u);
}

TEST_F(TessaroSelectorProviderTest, MissingAppletLeavesTheSlotAsItWas) {
    card.expect(SelectTessaro).answer({0x6A, 0x82});
    EXPECT_EQ(test::thrownMessage<velk::secure_elt_err::FileNotFound>(
                  [&] { cardlayer::TessaroSelectorProvider(provider, storage, TessaroAid); }),
              "No Tessaro applet available");
    EXPECT_FALSE(remembered());

    storage.entry().update(OtherAid);
    card.expect(SelectTessaro).answer({0x6A, 0x82});
    EXPECT_THROW(cardlayer::TessaroSelectorProvider(provider, storage, TessaroAid),
                 velk::secure_elt_err::FileNotFound);
    EXPECT_EQ(*remembered(), OtherAid);
}

TEST_F(TessaroSelectorProviderTest, OtherRefusalPassesThroughAndTheLockIsFree) {
    card.expect(SelectTessaro).answer({0x69, 0x85});
    EXPECT_THROW(cardlayer::TessaroSelectorProvider(provider, storage, TessaroAid),
                 velk::secure_elt_err::PreconditionError);
    EXPECT_FALSE(remembered());  // would block if the failed selection had kept the lock
}

TEST(TessaroSelectorConcurrencyTest, ConcurrentFirstUsesSelectOnce) {
    testsupport::cardsim::CardSimulator card;
    cachelib::PersistentMemoryCache<void> cache{
        std::make_shared<cachelib::PersistentMemoryStorage<void>>()};
    cardlayer::TessaroSelectorProvider::Storage storage{cache};
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([&] {
            test::SimulatorCardIo io(card);
            ::cardlayer::rawtransmission::LoggerProvider raw(io);
            ::cardlayer::transmission::EncoderProvider encoder(raw);
            cardlayer::TessaroSelectorProvider selector(encoder, storage, TessaroAid);
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(card.log().size(), 1u);
}

TEST(CommandProviderTest, TakesOneTransmitterPerGroupAndSendsNothing) {
    ScriptedCard card;
    test::TransmitProvider provider(card.transmit());
    interchange::cmd::impl::apdu::CommandProvider commands(provider);
    EXPECT_EQ(provider.calls, 4);

    auto const& constCommands = commands;
    EXPECT_EQ(&commands.getAccessControlCommands(), &constCommands.getAccessControlCommands());
    EXPECT_EQ(&commands.getCryptoCommands(), &constCommands.getCryptoCommands());
    EXPECT_EQ(&commands.getFileCommands(), &constCommands.getFileCommands());
    EXPECT_EQ(&commands.getAuxCommands(), &constCommands.getAuxCommands());
}

}  // namespace
}  // namespace teappletlib
