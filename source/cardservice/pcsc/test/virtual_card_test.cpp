#include "virtual_card_test.hpp"

#include "pcsc_test_support.hpp"

namespace cardservice::pcsc::testing {

void VirtualCardTest::SetUp() {
    manager_ = SlotManager::defaultManager();
    if (!manager_) {
        if (daemonRequired()) {
            FAIL() << "No PC/SC daemon answers, though the test run started one";
        }
        GTEST_SKIP() << "No PC/SC daemon running; scripts/test.sh starts one";
    }
    slot_ = slotNamed(*manager_, VirtualReader);
    if (!slot_) {
        if (daemonRequired()) {
            FAIL() << "The daemon has no reader \"" << VirtualReader << "\"";
        }
        GTEST_SKIP() << "No vpcd reader \"" << VirtualReader << "\" in the PC/SC daemon";
    }
    recorder_ = std::make_unique<StateRecorder>(slot_);
    // A card program stopped just before may not have been seen leaving yet.
    ASSERT_TRUE(recorder_->waitForState(StateEmpty)) << "another card is in " << VirtualReader;
}

void VirtualCardTest::insertCard(std::vector<std::string> const& options) {
    std::size_t const from = recorder_->count();
    virtualCard_ = std::make_unique<VirtualCardProcess>(options);
    ASSERT_TRUE(recorder_->waitForSequence(from, {StateProbing, StateValidCard}))
        << "the virtual card was not reported inserted";
}

}  // namespace cardservice::pcsc::testing
