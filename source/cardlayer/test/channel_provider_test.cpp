#include "cardlayer/transmission/channel_provider.hpp"

#include <gtest/gtest.h>

#include "cardlayer/rawtransmission/logger_provider.hpp"
#include "cardlayer/transmission/changed_channel_notifier.hpp"
#include "cardlayer/transmission/encoder_provider.hpp"
#include "testsupport/scripted_card.hpp"

namespace cardlayer::transmission {
namespace {

using iso7816::interchange::Apdu;
using iso7816::interchange::ApduIns;
using iso7816::interchange::ChannelId;

TEST(ChannelProvider, UsesTheGivenChannelWithoutOpeningOrNotifying) {
    testsupport::ScriptedCard card;
    rawtransmission::LoggerProvider logger(card);
    EncoderProvider encoder(logger);
    int notifications = 0;
    ChangedChannelNotifier observer([&](ChannelId) { ++notifications; });

    card.expect({0x02, 0xB0, 0x00, 0x00}).answer({0x90, 0x00});
    ChannelProvider provider(encoder, observer, ChannelId{2});
    provider.getApduTransmit().Transmit(Apdu(ApduIns{0xB0}, 0, 0, 0));
    EXPECT_EQ(notifications, 0);
}

}  // namespace
}  // namespace cardlayer::transmission
