#include "pavlenenabler/enabler/smartcard_registration.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "testsupport/cardsim/card_simulator.hpp"
#include "testsupport/readers/fake_provider.hpp"
#include "testsupport/readers/simulated_smartcard.hpp"

namespace pavlenenabler::test {
namespace {

using enabler::CardConnection;
using enabler::SmartcardRegistration;
using testsupport::cardsim::CardSimulator;
using testsupport::readers::CardInsertion;
using testsupport::readers::FakeProvider;
using testsupport::readers::FakeReader;
using testsupport::readers::SimulatedSmartcard;

class RegistrationTest : public ::testing::Test {
protected:
    void insertCard() { provider.insertCard("Reader 1", std::make_shared<CardSimulator>()); }
    void swapCard() {
        provider.removeCard("Reader 1");
        insertCard();
    }

    FakeProvider provider;
    std::shared_ptr<FakeReader> reader = provider.addReader("Reader 1");
    SmartcardRegistration registration;
};

TEST_F(RegistrationTest, RegisteredCardIsHandedOutWithoutConnectingAgain) {
    insertCard();
    auto const registered = registration.registerInsertedCard(reader);
    ASSERT_TRUE(registered);
    auto const connections = reader->connectionCount();

    EXPECT_EQ(registration.cardInReader(reader, true), registered);
    EXPECT_EQ(reader->connectionCount(), connections);
}

TEST_F(RegistrationTest, RemovalForgetsTheObjectASearchHandedOut) {
    insertCard();
    auto const found = registration.cardInReader(reader, true);
    ASSERT_TRUE(found);

    EXPECT_FALSE(registration.erase(reader));
    auto const inserted = registration.registerInsertedCard(reader);
    ASSERT_TRUE(inserted);
    EXPECT_NE(inserted, found);
    EXPECT_EQ(registration.erase(reader), inserted);
    EXPECT_NE(registration.cardInReader(reader, true), inserted);
}

TEST_F(RegistrationTest, KeptObjectGoesOnlyToTheSameCard) {
    insertCard();
    auto const found = registration.cardInReader(reader, true);
    EXPECT_EQ(registration.cardInReader(reader, true), found);
    EXPECT_EQ(registration.registerInsertedCard(reader), found);

    // The card changes while no event tells: the registered object is kept only while events
    // run, and no kept object goes to the other card.
    swapCard();
    EXPECT_EQ(registration.cardInReader(reader, true), found);
    auto const other = registration.cardInReader(reader, false);
    EXPECT_NE(other, found);
    swapCard();
    EXPECT_NE(registration.registerInsertedCard(reader), other);
}

TEST_F(RegistrationTest, UnexpectedErrorWhileLookingAtTheCardDropsNothingKept) {
    insertCard();
    auto const found = registration.cardInReader(reader, true);
    reader->insertion()->failNextSession(std::make_exception_ptr(std::runtime_error("unexpected")));

    EXPECT_THROW(registration.registerInsertedCard(reader), std::runtime_error);
    EXPECT_EQ(registration.registerInsertedCard(reader), found);
}

TEST(CardConnectionTest, ResetSeenByACheckReachesTheNextTransaction) {
    auto const insertion = std::make_shared<CardInsertion>(std::make_shared<CardSimulator>());
    CardConnection connection(std::make_unique<SimulatedSmartcard>(insertion));
    insertion->reset();

    EXPECT_TRUE(connection.isStillInReader());
    std::vector<bool> resets;
    for (int i = 0; i < 2; ++i) {
        connection.transaction([&](auto&, bool wasReset) { resets.push_back(wasReset); });
    }
    EXPECT_EQ(resets, (std::vector<bool>{true, false}));
    insertion->remove();
    EXPECT_FALSE(connection.isStillInReader());
}

}  // namespace
}  // namespace pavlenenabler::test
