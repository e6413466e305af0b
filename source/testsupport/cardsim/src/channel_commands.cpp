#include "command_handlers.hpp"
#include "status_words.hpp"

namespace testsupport::cardsim::detail {
namespace {

constexpr std::uint8_t Open = 0x00;
constexpr std::uint8_t Close = 0x80;

Response openAnyChannel(CardState& card, CommandApdu const& command) {
    if (command.ne == 0) {
        return status(sw::wrongLe(1));
    }
    for (std::size_t id = 1; id < card.channels.size(); ++id) {
        if (!card.channels[id].open) {
            card.channels[id] = ChannelState::opened();
            return dataResponse({static_cast<std::uint8_t>(id)}, command.ne);
        }
    }
    return status(sw::FunctionNotSupported);
}

Response openChannel(CardState& card, std::uint8_t id) {
    if (id >= card.channels.size()) {
        return status(sw::ChannelNotSupported);
    }
    if (card.channels[id].open) {
        return status(sw::IncorrectParameters);
    }
    card.channels[id] = ChannelState::opened();
    return status(sw::Ok);
}

Response closeChannel(CardState& card, std::uint8_t current, std::uint8_t p2) {
    // P2 00 closes the channel the command came in on.
    std::size_t const id = p2 != 0 ? p2 : current;
    if (id == 0) {
        return status(sw::IncorrectParameters);
    }
    if (id >= card.channels.size() || !card.channels[id].open) {
        return status(sw::NothingDone);
    }
    card.channels[id] = ChannelState{};
    return status(sw::Ok);
}

}  // namespace

Response manageChannel(CardState& card, ChannelState&, CommandApdu const& command) {
    if (!card.profile.logicalChannelsSupported) {
        return status(sw::ChannelNotSupported);
    }
    if (!command.data.empty()) {
        return status(sw::WrongLength);
    }
    switch (command.p1) {
        case Open:
            return command.p2 == 0 ? openAnyChannel(card, command) : openChannel(card, command.p2);
        case Close:
            return closeChannel(card, command.channel, command.p2);
        default:
            return status(sw::IncorrectParameters);
    }
}

}  // namespace testsupport::cardsim::detail
