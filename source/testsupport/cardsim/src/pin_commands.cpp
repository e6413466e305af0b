#include "command_handlers.hpp"
#include "status_words.hpp"

namespace testsupport::cardsim::detail {
namespace {

constexpr std::uint8_t ChangeWithOldPin = 0x00;
constexpr std::uint8_t ChangeVerified = 0x01;
constexpr std::uint8_t PinRetryCounter = 0x00;
constexpr std::uint8_t ChallengeResponseRetryCounter = 0x01;
constexpr std::uint8_t DeauthenticateThisChannel = 0x00;
constexpr std::uint8_t DeauthenticateAllChannels = 0x80;

// The object states that GET RETRY COUNTER reports.
constexpr std::uint8_t StateActive = 0x01;
constexpr std::uint8_t StateExpired = 0x02;
constexpr std::uint8_t StateBlocked = 0x81;

void forgetEverywhere(CardState& card) {
    for (ChannelState& channel : card.channels) {
        channel.pinVerified = false;
    }
}

// Presents a PIN and books the outcome: a wrong PIN unverifies the channel, and a blocked object
// unverifies every channel.
Response presentPin(CardState& card, ChannelState& channel, unsigned char const* pin,
                    std::size_t length) {
    if (card.pin.present(pin, length)) {
        channel.pinVerified = true;
        return status(sw::Ok);
    }
    channel.pinVerified = false;
    if (card.pin.blocked()) {
        forgetEverywhere(card);
    }
    return status(sw::wrongPin(card.pin.triesRemaining()));
}

Response changeWithOldPin(CardState& card, ChannelState& channel, CommandApdu const& command) {
    std::size_t const length = command.data.size();
    // Old and new PIN in one field: each takes half of it.
    if (length % 2 != 0 || length > 2 * MaxPinLength) {
        return status(sw::WrongLength);
    }
    if (card.pin.blocked()) {
        return status(sw::AuthenticationBlocked);
    }
    std::size_t const half = length / 2;
    Response const old = presentPin(card, channel, command.data.data(), half);
    if (old.statusWord != sw::Ok) {
        return old;
    }
    if (!card.pin.acceptable(command.data.data() + half, half)) {
        return status(sw::PinPolicyViolated);
    }
    card.pin.replace(command.data.data() + half, half);
    return status(sw::Ok);
}

Response changeVerified(CardState& card, ChannelState const& channel, CommandApdu const& command) {
    if (command.data.size() > MaxPinLength) {
        return status(sw::WrongLength);
    }
    if (!channel.pinVerified) {
        return status(sw::SecurityStatusNotSatisfied);
    }
    if (!card.pin.acceptable(command.data.data(), command.data.size())) {
        return status(sw::PinPolicyViolated);
    }
    card.pin.replace(command.data.data(), command.data.size());
    return status(sw::Ok);
}

}  // namespace

Response verify(CardState& card, ChannelState& channel, CommandApdu const& command) {
    if (command.p1 != 0x00) {
        return status(sw::IncorrectParameters);
    }
    if (command.p2 != card.pin.id()) {
        return status(sw::ReferencedDataNotFound);
    }
    if (command.data.size() > MaxPinLength) {
        return status(sw::WrongLength);
    }
    if (card.pin.blocked()) {
        return status(sw::AuthenticationBlocked);
    }
    if (command.data.empty()) {
        // Without a PIN, VERIFY asks whether this channel is verified.
        return status(channel.pinVerified ? sw::Ok : sw::wrongPin(card.pin.triesRemaining()));
    }
    return presentPin(card, channel, command.data.data(), command.data.size());
}

Response changeReferenceData(CardState& card, ChannelState& channel, CommandApdu const& command) {
    if (command.p2 != card.pin.id()) {
        return status(sw::ReferencedDataNotFound);
    }
    if (command.data.empty()) {
        return status(sw::WrongLength);
    }
    switch (command.p1) {
        case ChangeWithOldPin:
            return changeWithOldPin(card, channel, command);
        case ChangeVerified:
            return changeVerified(card, channel, command);
        default:
            return status(sw::IncorrectParameters);
    }
}

Response getRetryCounter(CardState& card, ChannelState&, CommandApdu const& command) {
    if (!command.data.empty()) {
        return status(sw::WrongLength);
    }
    if (command.p1 == ChallengeResponseRetryCounter) {
        // The card holds no challenge-response object.
        return status(sw::ReferencedDataNotFound);
    }
    if (command.p1 != PinRetryCounter) {
        return status(sw::IncorrectParameters);
    }
    if (command.p2 != card.pin.id()) {
        return status(sw::ReferencedDataNotFound);
    }
    PinObject const& pin = card.pin;
    std::uint8_t const state = pin.blocked()   ? StateBlocked
                               : pin.expired() ? StateExpired
                                               : StateActive;
    return dataResponse({pin.maxTries(), pin.triesRemaining(), state}, command.ne);
}

Response deauthenticate(CardState& card, ChannelState& channel, CommandApdu const& command) {
    if (!command.data.empty()) {
        return status(sw::WrongLength);
    }
    if (command.p2 != card.pin.id()) {
        return status(sw::ReferencedDataNotFound);
    }
    // P1 names a channel, 00 the one the command came in on, 80 all of them.
    if (command.p1 == DeauthenticateAllChannels) {
        forgetEverywhere(card);
    } else if (command.p1 == DeauthenticateThisChannel) {
        channel.pinVerified = false;
    } else if (command.p1 < card.channels.size()) {
        card.channels[command.p1].pinVerified = false;
    } else {
        return status(sw::IncorrectParameters);
    }
    return status(sw::Ok);
}

Response expirePin(CardState& card, ChannelState& channel, CommandApdu const& command) {
    if (!command.data.empty()) {
        return status(sw::WrongLength);
    }
    if (command.p1 != 0x00) {
        return status(sw::IncorrectParameters);
    }
    if (command.p2 != card.pin.id()) {
        return status(sw::ReferencedDataNotFound);
    }
    if (!channel.pinVerified) {
        return status(sw::SecurityStatusNotSatisfied);
    }
    card.pin.expire();
    return status(sw::Ok);
}

Response disableSecureMessaging(CardState&, ChannelState&, CommandApdu const& command) {
    if (!command.data.empty()) {
        return status(sw::WrongLength);
    }
    if (command.p1 != 0x00 || command.p2 != 0x00) {
        return status(sw::IncorrectParameters);
    }
    return status(sw::Ok);
}

}  // namespace testsupport::cardsim::detail
