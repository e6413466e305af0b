#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "pavlenenabler/enabler/smartcard.hpp"
#include "testsupport/cardsim/card_profile.hpp"
#include "testsupport/cardsim/card_simulator.hpp"
#include "testsupport/readers/simulated_smartcard.hpp"

namespace pavlenenabler::test {

using testsupport::cardsim::ByteVector;
using testsupport::cardsim::CardProfile;
using testsupport::cardsim::CardSimulator;
using testsupport::cardsim::CardType;

inline std::uint8_t high(std::uint16_t word) {
    return static_cast<std::uint8_t>(word >> 8);
}
inline std::uint8_t low(std::uint16_t word) {
    return static_cast<std::uint8_t>(word & 0xFF);
}

// MANAGE CHANNEL open, always on the basic channel.
inline ByteVector openChannel() {
    return {0x00, 0x70, 0x00, 0x00, 0x01};
}

// SELECT of the applet by its AID.
inline ByteVector selectApplet(std::uint8_t cla) {
    return {cla,  0xA4, 0x04, 0x00, 0x0C, 0xA0, 0x00, 0x00, 0x00,
            0x63, 0x50, 0x4B, 0x43, 0x53, 0x2D, 0x31, 0x35, 0x00};
}

// GET RETRY COUNTER of a PIN object, asking for its three bytes.
inline ByteVector retryCounter(std::uint8_t cla, std::uint8_t pinObject = 3) {
    return {static_cast<std::uint8_t>(0x80 | cla), 0x34, 0x00, pinObject, 0x03};
}

// VERIFY with the PIN as the card object sends it: 15 bytes, filled with 00.
inline ByteVector verify(std::uint8_t cla, std::string const& pin, std::uint8_t pinObject = 3) {
    ByteVector command{cla, 0x20, 0x00, pinObject, 0x0F};
    command.insert(command.end(), pin.begin(), pin.end());
    command.resize(5 + 15, 0x00);
    return command;
}

inline ByteVector selectFile(std::uint16_t fid, std::uint8_t cla) {
    return {cla, 0xA4, 0x00, 0x00, 0x02, high(fid), low(fid), 0x09};
}

template <class... Runs>
std::vector<ByteVector> concat(Runs const&... runs) {
    std::vector<ByteVector> all;
    (all.insert(all.end(), runs.begin(), runs.end()), ...);
    return all;
}

// The instruction bytes of the commands, in order.
inline std::vector<std::uint8_t> instructionsOf(std::vector<ByteVector> const& commands) {
    std::vector<std::uint8_t> instructions;
    for (auto const& command : commands) {
        instructions.push_back(command.size() > 1 ? command[1] : 0);
    }
    return instructions;
}

// The commands the card received since the last look.
inline std::vector<ByteVector> takeCommands(CardSimulator& card) {
    std::vector<ByteVector> commands;
    for (auto const& exchange : card.log()) {
        commands.push_back(exchange.command);
    }
    card.clearLog();
    return commands;
}

// A simulated card in a reader and the card object over it.
struct CardBench {
    explicit CardBench(
        CardProfile profile = CardProfile::standard(),
        enabler::AuthenticationObject pinObject = enabler::AuthenticationObject::CardGen3Pin)
        : simulator(std::make_shared<CardSimulator>(std::move(profile))) {
        auto smartcard = std::make_unique<testsupport::readers::SimulatedSmartcard>(simulator);
        connection = smartcard.get();
        card = std::make_shared<enabler::Smartcard>(std::move(smartcard), "Reader A", pinObject);
    }

    std::vector<ByteVector> sent() { return takeCommands(*simulator); }

    std::shared_ptr<CardSimulator> simulator;
    testsupport::readers::SimulatedSmartcard* connection;  // owned by the card object
    std::shared_ptr<enabler::Smartcard> card;
};

}  // namespace pavlenenabler::test
