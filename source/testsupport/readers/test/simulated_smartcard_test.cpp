#include "testsupport/readers/simulated_smartcard.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "sclib/exceptions.hpp"
#include "testsupport/cardsim/card_simulator.hpp"
#include "transaction_recorder.hpp"

namespace testsupport::readers::test {
namespace {

using Bytes = std::basic_string<unsigned char>;

TEST(SimulatedSmartcard, ReportsEachResetOnceAndFailsOnceRemoved) {
    auto simulator = std::make_shared<cardsim::CardSimulator>();
    SimulatedSmartcard card(simulator);
    TransactionRecorder recorder;
    EXPECT_EQ(card.getAtr().getRaw(), Bytes(simulator->atr().begin(), simulator->atr().end()));

    card.transaction(recorder.body());
    card.reset();  // closes the channel, so the next open gets channel 1 again
    card.transaction(recorder.body());
    card.transaction(recorder.body());
    EXPECT_EQ(recorder.resets, (std::vector<bool>{false, true, false}));
    EXPECT_EQ(recorder.replies,
              (std::vector<Bytes>{{0x01, 0x90, 0x00}, {0x01, 0x90, 0x00}, {0x02, 0x90, 0x00}}));

    EXPECT_THROW(card.transaction([](auto&, bool) { throw std::out_of_range("body"); }),
                 std::out_of_range);
    EXPECT_EQ(thrownText<sclib::NoSmartcardError>([&] {
                  card.transaction([&](cardlayer::smartcard::SmartcardProvider& provider, bool) {
                      card.remove();  // pulled out during the transaction
                      provider.getCardIo().Transmit(OpenChannel, sizeof OpenChannel);
                  });
              }),
              "Transmit failed: Token not found");
    EXPECT_EQ(thrownText<sclib::NoSmartcardError>([&] { card.transaction(recorder.body()); }),
              "Unable to start session: Token not found");
    EXPECT_EQ(recorder.resets.size(), 3u);  // the refused transaction ran no body
    EXPECT_EQ(card.transactionCount(), 5u);
}

}  // namespace
}  // namespace testsupport::readers::test
