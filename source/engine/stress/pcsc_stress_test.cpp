#include <gtest/gtest.h>
#include <openssl/crypto.h>

#include <memory>

#include "engine/exported_functions.hpp"
#include "other_client.hpp"
#include "pcsc_test_support.hpp"
#include "stress_loop.hpp"
#include "virtual_card_program.hpp"
#include "virtual_card_test.hpp"

namespace engine::stress {
namespace {

using cardservice::pcsc::testing::OtherClient;
using cardservice::pcsc::testing::VirtualReader;

// The card program goes by its process id; a reset comes from another application.
class VirtualCardControl : public CardControl {
public:
    void insert() override { program_ = std::make_unique<VirtualCardProgram>(); }
    void remove() override {
        EXPECT_TRUE(program_->stop()) << "the virtual card program had to be killed";
        program_.reset();
    }
    void reset() override { resets_ += OtherClient::resetCard(VirtualReader) ? 1 : 0; }

    int resets() const { return resets_; }

private:
    std::unique_ptr<VirtualCardProgram> program_;
    int resets_ = 0;
};

// The fixture skips without a daemon (fails where one is required) and waits for an empty
// reader.
using PcscStress = cardservice::pcsc::testing::VirtualCardTest;

TEST_F(PcscStress, OperationsEndWithAResultOrATypedErrorWhileTheCardGoesOrResets) {
    OPENSSL_init_crypto(0, nullptr);
    VirtualCardControl card;
    card.insert();
    enabler_init();

    runLoop(card, {roundsFromEnvironment(200), std::chrono::seconds(60), std::chrono::seconds(15)});
    EXPECT_GT(card.resets(), 0) << "no reset reached the card";
}

}  // namespace
}  // namespace engine::stress
