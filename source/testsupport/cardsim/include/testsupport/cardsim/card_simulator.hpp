#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <mutex>
#include <vector>

#include "testsupport/cardsim/byte_vector.hpp"
#include "testsupport/cardsim/card_profile.hpp"

namespace testsupport::cardsim {

// A smart card with the applet on it, played in memory: command APDU bytes in, response bytes
// (data, SW1, SW2) out. Every input gets a well-formed answer; nothing is thrown from transmit.
// One card may be used from several threads: each exchange is atomic.
//
//     CardSimulator card(CardProfile::standard(CardType::Gen4));
//     card.transmit({0x00, 0x70, 0x00, 0x00, 0x01});  // -> 01 90 00
class CardSimulator {
public:
    struct Exchange {
        ByteVector command;
        ByteVector response;
    };

    // For the fault methods: the fault stays armed until clearFaults.
    static constexpr unsigned EveryTime = std::numeric_limits<unsigned>::max();

    // Throws std::invalid_argument for a profile no card could have.
    explicit CardSimulator(CardProfile profile = CardProfile::standard());
    ~CardSimulator();
    CardSimulator(CardSimulator const&) = delete;
    CardSimulator& operator=(CardSimulator const&) = delete;

    ByteVector transmit(std::uint8_t const* command, std::size_t length);
    ByteVector transmit(ByteVector const& command) {
        return transmit(command.data(), command.size());
    }

    // Closes every logical channel and forgets selections, security environments and
    // verification; the PIN and its tries, written files, the log and armed faults stay.
    // Returns the ATR.
    ByteVector const& reset();
    ByteVector const& atr() const;

    // Every exchange since construction or clearLog, in order.
    std::vector<Exchange> log() const;
    void clearLog();

    // Faults for the next `times` commands with instruction ins; the command is then not
    // carried out. The earliest armed fault for an instruction answers first.
    void failWith(std::uint8_t ins, std::uint16_t statusWord, unsigned times = 1);
    void answerOneByte(std::uint8_t ins, unsigned times = 1);
    // Le + 1 data bytes (1 when the command has no Le) followed by 90 00.
    void answerLongerThanLe(std::uint8_t ins, unsigned times = 1);
    void answerWith(std::uint8_t ins, ByteVector reply, unsigned times = 1);
    void clearFaults();

    std::uint8_t pinTriesRemaining() const;
    // The logical channels open now, in ascending order; the basic channel is not listed.
    std::vector<std::uint8_t> openChannels() const;

private:
    struct State;

    mutable std::mutex mutex_;
    std::unique_ptr<State> state_;
};

}  // namespace testsupport::cardsim
