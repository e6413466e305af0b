#include "cardlayer/transmission/auto_channel_provider.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "cachelib/persistent_memory_cache.hpp"
#include "cardlayer/rawtransmission/logger_provider.hpp"
#include "cardlayer/transmission/changed_channel_notifier.hpp"
#include "cardlayer/transmission/encoder_provider.hpp"
#include "iso7816/interchange/exceptions.hpp"
#include "testsupport/scripted_card.hpp"
#include "velk/exceptions.hpp"

namespace cardlayer::transmission {
namespace {

using iso7816::interchange::Apdu;
using iso7816::interchange::ApduCla;
using iso7816::interchange::ApduIns;
using iso7816::interchange::ChannelId;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StrEq;
using ::testing::ThrowsMessage;
using testsupport::ScriptedCard;

// One card with its channel storage; each transaction builds the stack anew over it.
class AutoChannelProviderTest : public ::testing::Test {
protected:
    void sendReadBinary() {
        provider().getApduTransmit().Transmit(Apdu(ApduCla{0x80}, ApduIns{0xB0}, 0, 0, 0));
    }

    AutoChannelProvider& provider() { return *provider_; }

    void startTransaction() {
        provider_ = std::make_unique<AutoChannelProvider>(encoder, storage, observer);
    }

    std::vector<std::uint8_t> notified;
    ChangedChannelNotifier observer{
        [this](ChannelId channel) { notified.push_back(channel.GetValue()); }};

    cachelib::PersistentMemoryCache<void> cache{
        std::make_shared<cachelib::PersistentMemoryStorage<void>>()};
    AutoChannelProvider::Storage storage{cache};

    ScriptedCard card;
    rawtransmission::LoggerProvider logger{card};
    EncoderProvider encoder{logger};
    std::unique_ptr<AutoChannelProvider> provider_;
};

TEST_F(AutoChannelProviderTest, GrantedChannelIsKeptAndCarriedByEveryCommand) {
    card.expect({0x00, 0x70, 0x00, 0x00, 0x01}).answer({0x01, 0x90, 0x00});
    card.expect({0x81, 0xB0, 0x00, 0x00}).answer({0x90, 0x00});
    card.expect({0x81, 0xB0, 0x00, 0x00}).answer({0x90, 0x00});
    startTransaction();
    sendReadBinary();
    sendReadBinary();
    EXPECT_THAT(notified, ElementsAre(1));

    // The next transaction takes the channel from the storage and still tells its observer.
    std::vector<std::uint8_t> nextNotified;
    ChangedChannelNotifier nextObserver{
        [&](ChannelId channel) { nextNotified.push_back(channel.GetValue()); }};
    card.expect({0x81, 0xB0, 0x00, 0x00}).answer({0x90, 0x00});
    AutoChannelProvider next(encoder, storage, nextObserver);
    next.getApduTransmit().Transmit(Apdu(ApduCla{0x80}, ApduIns{0xB0}, 0, 0, 0));
    EXPECT_THAT(nextNotified, ElementsAre(1));
}

TEST_F(AutoChannelProviderTest, NoFreeChannelUsesTheBasicChannel) {
    card.expect({0x00, 0x70, 0x00, 0x00, 0x01}).answer({0x6A, 0x81});
    card.expect({0x80, 0xB0, 0x00, 0x00}).answer({0x90, 0x00});
    startTransaction();
    sendReadBinary();
    EXPECT_THAT(notified, ElementsAre(0));

    // The basic-channel decision is kept too: the card is not asked again.
    card.expect({0x80, 0xB0, 0x00, 0x00}).answer({0x90, 0x00});
    startTransaction();
    sendReadBinary();
}

TEST_F(AutoChannelProviderTest, CardWithoutLogicalChannelsFailsAndLeavesTheSlotEmpty) {
    card.expect({0x00, 0x70, 0x00, 0x00, 0x01}).answer({0x68, 0x81});
    EXPECT_THAT([&] { startTransaction(); },
                ThrowsMessage<iso7816::interchange::LogicalChannelsNotSupported>(
                    StrEq("Logical channels are not supported")));
    EXPECT_THAT(notified, IsEmpty());

    // The empty slot makes the next transaction ask again.
    card.expect({0x00, 0x70, 0x00, 0x00, 0x01}).answer({0x02, 0x90, 0x00});
    startTransaction();
    EXPECT_THAT(notified, ElementsAre(2));
}

TEST_F(AutoChannelProviderTest, ChannelBeyondTheClassByteIsClosedAgain) {
    card.expect({0x00, 0x70, 0x00, 0x00, 0x01}).answer({0x05, 0x90, 0x00});
    card.expect({0x00, 0x70, 0x80, 0x05}).answer({0x90, 0x00});
    card.expect({0x80, 0xB0, 0x00, 0x00}).answer({0x90, 0x00});
    startTransaction();
    sendReadBinary();
    EXPECT_THAT(notified, ElementsAre(0));

    // The basic channel is what the slot keeps: the card is not asked again.
    card.expect({0x80, 0xB0, 0x00, 0x00}).answer({0x90, 0x00});
    startTransaction();
    sendReadBinary();
}

TEST_F(AutoChannelProviderTest, FailedCloseOfAnUnusableChannelPropagates) {
    card.expect({0x00, 0x70, 0x00, 0x00, 0x01}).answer({0x04, 0x90, 0x00});
    card.expect({0x00, 0x70, 0x80, 0x04}).answer({0x69, 0x85});
    EXPECT_THROW(startTransaction(), velk::secure_elt_err::PreconditionError);
    EXPECT_THAT(notified, IsEmpty());
}

TEST_F(AutoChannelProviderTest, MalformedAnswerFailsAndLeavesTheSlotEmpty) {
    card.expect({0x00, 0x70, 0x00, 0x00, 0x01}).answer({0x90, 0x00});
    EXPECT_THAT([&] { startTransaction(); },
                ThrowsMessage<velk::secure_elt_err::ResponseError>(StrEq("Invalid response")));
    // Two channel bytes are more than the one asked for: the encoder refuses them.
    card.expect({0x00, 0x70, 0x00, 0x00, 0x01}).answer({0x01, 0x02, 0x90, 0x00});
    EXPECT_THAT([&] { startTransaction(); },
                ThrowsMessage<velk::secure_elt_err::ResponseError>(
                    StrEq("Invalid response length. The response size is bigger than expected.")));
    EXPECT_THAT(notified, IsEmpty());

    // Both failures left the slot empty.
    card.expect({0x00, 0x70, 0x00, 0x00, 0x01}).answer({0x01, 0x90, 0x00});
    startTransaction();
    EXPECT_THAT(notified, ElementsAre(1));
}

TEST_F(AutoChannelProviderTest, StoragesOfDifferentCardsAreIndependent) {
    AutoChannelProvider::Storage otherCard{cache};
    card.expect({0x00, 0x70, 0x00, 0x00, 0x01}).answer({0x01, 0x90, 0x00});
    card.expect({0x00, 0x70, 0x00, 0x00, 0x01}).answer({0x03, 0x90, 0x00});
    startTransaction();
    AutoChannelProvider other(encoder, otherCard, observer);
    EXPECT_THAT(notified, ElementsAre(1, 3));
}

}  // namespace
}  // namespace cardlayer::transmission
