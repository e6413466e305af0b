#pragma once

#include <cstdint>
#include <vector>

#include "channel_state.hpp"
#include "pin_object.hpp"
#include "testsupport/cardsim/card_profile.hpp"

namespace testsupport::cardsim::detail {

// The whole card: what it was made with, its PIN object and its channels.
struct CardState {
    // Throws std::invalid_argument for a profile no card could have.
    explicit CardState(CardProfile cardProfile);

    // Only the basic channel open, nothing selected or verified anywhere.
    void reset();

    // nullptr for a slot without a key.
    KeySlot const* keySlot(std::uint8_t keyId) const;

    CardProfile profile;
    PinObject pin;
    std::vector<ChannelState> channels;
};

}  // namespace testsupport::cardsim::detail
