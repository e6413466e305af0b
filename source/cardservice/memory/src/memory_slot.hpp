#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "card_insertion.hpp"
#include "cardservice/card_service.hpp"
#include "observed_key.hpp"
#include "reply_worker.hpp"

namespace cardservice::memory::detail {

// What becomes of one transmission: whether the command reaches the card, and the error that
// comes back with the reply.
struct TransmitPlan {
    bool reachesCard = true;
    ErrorPtr error;
};

// One reader of the in-memory service, with the card a test put in it and the faults it armed.
class MemorySlot : public Slot, public std::enable_shared_from_this<MemorySlot> {
public:
    enum class TransmitFault { ErrorOnly, ResponseAndError, Nothing };

    MemorySlot(std::string name, std::shared_ptr<ReplyWorker> worker);

    std::string name() const override;
    std::int64_t state() const override;
    std::shared_ptr<Card> makeSmartCard() override;
    std::optional<AtrBytes> atr() const override;

    ObservationId addObserver(std::string const& keyPath, unsigned options,
                              ChangeCallback callback) override;
    void removeObserver(ObservationId id) override;

    // For the cards: whether the insertion is still here and usable, and the armed faults.
    bool present() const;
    ErrorPtr takeSessionError(CardInsertion const& insertion);
    TransmitPlan takeTransmitPlan(CardInsertion const& insertion);

    // Test control; see memory_service.hpp.
    void insertCard(std::shared_ptr<testsupport::cardsim::CardSimulator> card);
    void removeCard();
    void resetCard();
    void muteCard();
    void reportState(std::int64_t state);
    void markMissing();
    void failSessions(std::int64_t code, unsigned times);
    void armTransmitFault(TransmitFault fault, std::int64_t code, unsigned times);
    bool sessionHeld() const;

private:
    struct ArmedSessionFault {
        std::int64_t code;
        unsigned times;
    };
    struct ArmedTransmitFault {
        TransmitFault fault;
        std::int64_t code;
        unsigned times;
    };

    // Under mutex_: the insertion a card object was made from is still the one in the reader.
    ErrorPtr absenceError_(CardInsertion const& insertion) const;
    std::shared_ptr<CardInsertion> requireCard_() const;

    std::string const name_;
    std::shared_ptr<ReplyWorker> const worker_;
    ObservedKey state_;

    // Guards the fields below; changes of state_ are recorded under it so they stay in order.
    mutable std::mutex mutex_;
    bool present_ = true;
    std::shared_ptr<CardInsertion> insertion_;
    std::deque<ArmedSessionFault> sessionFaults_;
    std::deque<ArmedTransmitFault> transmitFaults_;
};

}  // namespace cardservice::memory::detail
