#include <gtest/gtest.h>
#include <openssl/crypto.h>

#include <memory>

#include "cardservice/memory/memory_service.hpp"
#include "engine/exported_functions.hpp"
#include "stress_loop.hpp"
#include "testsupport/cardsim/card_profile.hpp"
#include "testsupport/cardsim/card_simulator.hpp"
#include "testsupport/cardsim/test_credentials.hpp"

namespace engine::stress {
namespace {

using testsupport::cardsim::CardProfile;
using testsupport::cardsim::CardSimulator;

constexpr char const* ReaderName = "Reader 1";

class MemoryCardControl : public CardControl {
public:
    void insert() override {
        cardservice::memory::insertCard(ReaderName,
                                        std::make_shared<CardSimulator>(CardProfile::standard()));
    }
    void remove() override { cardservice::memory::removeCard(ReaderName); }
    void reset() override { cardservice::memory::resetCard(ReaderName); }
};

TEST(MemoryStress, OperationsEndWithAResultOrATypedErrorWhileTheCardGoesOrResets) {
    // libcrypto first: the card service's worker thread signs for the simulated cards, and a
    // service made before libcrypto would outlive libcrypto's clean-up at exit.
    OPENSSL_init_crypto(0, nullptr);
    testsupport::cardsim::TestCredentials::shared();
    cardservice::memory::reset();
    cardservice::memory::addReader(ReaderName);
    MemoryCardControl card;
    card.insert();
    enabler_init();

    runLoop(card, {roundsFromEnvironment(200), std::chrono::seconds(30), std::chrono::seconds(10)});
}

}  // namespace
}  // namespace engine::stress
