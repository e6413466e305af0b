#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "engine_callbacks.hpp"
#include "pavlenenabler/enabler/enabler.hpp"
#include "pavlenenabler/iface/smartcard.hpp"

namespace engine::detail {

using CardPtr = std::shared_ptr<pavlenenabler::iface::Smartcard>;

// The process's card manager, its current card and the PEM text of that card's
// authentication certificate.
//
// Two locks: the lifecycle mutex serialises starting and stopping and is never taken by the
// event thread, so it may be held while event delivery is stopped and joined; the state mutex
// guards the current card and the PEM text only for as long as it takes to copy them, never
// during a card transaction, because the event thread takes it to swap the card.
class EngineState {
public:
    static EngineState& instance();

    ~EngineState();
    EngineState(EngineState const&) = delete;
    EngineState& operator=(EngineState const&) = delete;

    // Stops event delivery of an earlier manager, makes a new one, starts its events and
    // looks for a card.
    void start();
    // Stops event delivery and drops the manager and the current card.
    void stop() noexcept;

    CardPtr currentCard() const;
    // Throws the pointer to std::invalid_argument that callers of the C interface expect.
    CardPtr requireCurrentCard() const;

    // The PEM text of card: the kept text while card is current, else read from the card.
    std::string pemOf(CardPtr const& card);
    // Reads the certificate of card and keeps its PEM text while card is still current.
    // Returns the text.
    std::string cachePem(CardPtr const& card);

private:
    EngineState() = default;

    void onCardInserted(CardPtr card);
    void onCardRemoved(CardPtr const& card);
    void stopLocked_() noexcept;

    std::mutex lifecycleMutex_;
    EnablerCallback enablerCallback_;
    EventCallback eventCallback_;
    std::unique_ptr<pavlenenabler::enabler::Enabler> enabler_;

    mutable std::mutex stateMutex_;
    CardPtr card_;
    std::string pem_;
};

}  // namespace engine::detail
