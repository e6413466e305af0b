#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "sclib/smartcard.hpp"
#include "testsupport/cardsim/card_simulator.hpp"
#include "testsupport/readers/card_insertion.hpp"

namespace testsupport::readers {

// A connected card over the card simulator. Like a card-service connection, it does not keep
// two threads of one process apart: transactions on one object may overlap, so that a missing
// lock of its user shows.
//
//     SimulatedSmartcard card(std::make_shared<cardsim::CardSimulator>());
//     card.transaction([](cardlayer::smartcard::SmartcardProvider& provider, bool wasReset) {
//         provider.getCardIo().Transmit(command, size);
//     });
class SimulatedSmartcard : public sclib::Smartcard {
public:
    // Sees each command before the simulator does, on the transmitting thread: it may throw (a
    // failed exchange; the simulator then never gets the command) or wait (to hold a
    // transaction open).
    using TransmitHook = std::function<void(testsupport::cardsim::ByteVector const& command)>;

    // A card of an insertion of its own.
    explicit SimulatedSmartcard(std::shared_ptr<testsupport::cardsim::CardSimulator> card);
    // A card connected to an insertion that other card objects may share (as FakeReader does).
    explicit SimulatedSmartcard(std::shared_ptr<CardInsertion> insertion);

    // Body gets a SmartcardProvider whose CardIo sends to the simulator; was-reset is true
    // exactly once after each reset of the insertion (reset() of this or another card object of
    // it) and false for a reset before this object was made. After remove(): throws
    // sclib::NoSmartcardError "Unable to start session: Token not found" without calling body,
    // as it throws a failure armed on the insertion. What body throws propagates.
    void transaction(TransactionBody body) override;
    iso7816::interchange::Atr getAtr() const override;

    // Resets the simulator; the next transaction reports was-reset.
    void reset();
    // From now on transaction throws (see above) and a CardIo in use throws
    // sclib::NoSmartcardError "Transmit failed: Token not found".
    void remove();
    // The transactions whose body was called.
    std::size_t transactionCount() const;
    // Set it while no transaction runs.
    void setTransmitHook(TransmitHook hook);

private:
    std::shared_ptr<CardInsertion> insertion_;
    TransmitHook transmitHook_;
    std::mutex resetsMutex_;
    std::uint64_t seenResets_;  // under resetsMutex_
    std::atomic<std::size_t> transactions_{0};
};

}  // namespace testsupport::readers
