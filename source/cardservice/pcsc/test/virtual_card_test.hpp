#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cardservice/card_service.hpp"
#include "state_recorder.hpp"
#include "virtual_card_process.hpp"

namespace cardservice::pcsc::testing {

// A test with the PC/SC daemon's vpcd reader, empty at the start. Without a daemon the test is
// skipped, unless the run requires one (scripts/test.sh), where it fails.
class VirtualCardTest : public ::testing::Test {
protected:
    void SetUp() override;

    // Starts the virtual card program and waits until the reader reports the card.
    void insertCard(std::vector<std::string> const& options = {});

    std::shared_ptr<SlotManager> manager_;
    std::shared_ptr<Slot> slot_;
    std::unique_ptr<StateRecorder> recorder_;
    std::unique_ptr<VirtualCardProcess> virtualCard_;
};

}  // namespace cardservice::pcsc::testing
