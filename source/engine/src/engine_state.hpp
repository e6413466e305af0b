#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "card_absence.hpp"
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
    // stop() of the instance, unless process exit has destroyed it already: OpenSSL's own exit
    // handler finishes the engines of openssl.cnf after this library's statics are gone.
    static void stopIfAlive() noexcept;

    CardPtr currentCard() const;
    // Throws the pointer to std::invalid_argument that callers of the C interface expect.
    CardPtr requireCurrentCard() const;
    // Puts on OpenSSL's error queue why there is no current card.
    void raiseNoCardError() const;

    // The refusal of the last PIN given to card, kept so that a later "not logged in" says why:
    // OpenSSL drops the errors of openssl.cnf, where the PIN usually comes from, and finishes
    // the engine, so the note outlives a restart. It is about one card in one state: it is told
    // only while the current card has the card's serial number and the tries left that were
    // reported. An accepted PIN forgets it. Reads the card's serial number; a card that cannot
    // be read leaves no note.
    void notePinRefused(CardPtr const& card, Reason reason, std::string detail,
                        std::uint32_t triesRemaining) noexcept;
    void notePinAccepted();
    // Puts the noted refusal on OpenSSL's error queue when it is about the current card as it
    // is now; false otherwise.
    bool raisePinRefusal() const;

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
    CardAbsence absence_ = CardAbsence::notSearched();  // meaningful while card_ is empty
    struct PinRefusal {
        std::string serialNumber;
        std::uint32_t triesRemaining;
        Reason reason;
        std::string detail;
    };
    std::optional<PinRefusal> pinRefusal_;
};

}  // namespace engine::detail
