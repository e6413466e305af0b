#include "card_state.hpp"

#include <stdexcept>

namespace testsupport::cardsim::detail {

CardState::CardState(CardProfile cardProfile) : profile(std::move(cardProfile)), pin(profile.pin) {
    if (profile.channelCount == 0 || profile.channelCount > MaxChannelCount) {
        throw std::invalid_argument("a card has 1 to 20 channels");
    }
    reset();
}

void CardState::reset() {
    channels.assign(profile.channelCount, ChannelState{});
    channels.front() = ChannelState::opened();
}

KeySlot const* CardState::keySlot(std::uint8_t keyId) const {
    auto const it = profile.keySlots.find(keyId);
    return it == profile.keySlots.end() ? nullptr : &it->second;
}

}  // namespace testsupport::cardsim::detail
