#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>

#include "testsupport/cardsim/card_simulator.hpp"

namespace testsupport::readers {

// One insertion of a simulated card into a reader: the simulator, whether the card has been
// taken out, and how often it has been reset. Every SimulatedSmartcard connected to the same
// insertion shares it, so each of them sees a removal or a reset. Thread-safe.
class CardInsertion {
public:
    // Throws std::invalid_argument for a null simulator.
    explicit CardInsertion(std::shared_ptr<testsupport::cardsim::CardSimulator> card);

    testsupport::cardsim::CardSimulator& card() const { return *card_; }

    // Resets the simulator and counts one reset.
    void reset();
    std::uint64_t resetCount() const { return resets_.load(); }
    // Final: the card is out of the reader.
    void remove() { removed_.store(true); }
    bool removed() const { return removed_.load(); }
    // The next transaction of a card connected to this insertion throws error instead of
    // calling its body.
    void failNextSession(std::exception_ptr error);
    // The armed failure, once; null when none is armed.
    std::exception_ptr takeSessionFailure();

private:
    std::shared_ptr<testsupport::cardsim::CardSimulator> card_;
    std::atomic<std::uint64_t> resets_{0};
    std::atomic<bool> removed_{false};
    std::mutex failureMutex_;
    std::exception_ptr sessionFailure_;  // under failureMutex_
};

}  // namespace testsupport::readers
