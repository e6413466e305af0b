#include "engine_state.hpp"

#include <atomic>
#include <stdexcept>

#include "pem.hpp"

namespace engine::detail {

EngineState& EngineState::instance() {
    // Built on first use, before the card manager first starts its event thread. At exit the
    // card manager stops that thread first (its exit handler is registered later, so it runs
    // earlier); this destructor then finds events stopped, and the card manager's event
    // delivery, never destroyed, is still there for it.
    static EngineState state;
    return state;
}

namespace {

// Trivially destructible, so that it outlives every other static of the library.
std::atomic<bool> instanceDestroyed{false};

}  // namespace

EngineState::~EngineState() {
    stop();
    instanceDestroyed = true;
}

void EngineState::stopIfAlive() noexcept {
    if (!instanceDestroyed) {
        instance().stop();
    }
}

void EngineState::start() {
    std::lock_guard<std::mutex> lifecycle(lifecycleMutex_);
    // The old event thread must have ended before the handlers and the manager change under it.
    stopLocked_();
    enablerCallback_.setHandlers([this](CardPtr card) { onCardInserted(std::move(card)); },
                                 [this](CardPtr card) { onCardRemoved(card); });

    auto enabler =
        std::make_unique<pavlenenabler::enabler::Enabler>(enablerCallback_, eventCallback_);
    enabler->startCardEvent();
    enabler_ = std::move(enabler);

    pavlenenabler::iface::CardSearch search;
    try {
        search = enabler_->searchCard();
    } catch (...) {
        stopLocked_();
        throw;
    }
    std::lock_guard<std::mutex> lock(stateMutex_);
    if (!search.card) {
        absence_ = CardAbsence::afterSearch(search.passedOver);
        return;
    }
    // The event thread may already have made this card current; keep its PEM text then.
    if (card_ != search.card) {
        card_ = std::move(search.card);
        pem_.clear();
    }
}

void EngineState::stop() noexcept {
    std::lock_guard<std::mutex> lifecycle(lifecycleMutex_);
    stopLocked_();
}

void EngineState::stopLocked_() noexcept {
    if (enabler_) {
        try {
            enabler_->stopCardEvent();
        } catch (...) {
            // Stopping joins the event thread; nothing is left to undo if it reports a failure.
        }
        enabler_.reset();
    }
    std::lock_guard<std::mutex> lock(stateMutex_);
    card_.reset();
    pem_.clear();
    absence_ = CardAbsence::notSearched();
}

CardPtr EngineState::currentCard() const {
    std::lock_guard<std::mutex> lock(stateMutex_);
    return card_;
}

CardPtr EngineState::requireCurrentCard() const {
    CardPtr card = currentCard();
    if (!card) {
        throw new std::invalid_argument("_smartcard is still nullptr. failing");
    }
    return card;
}

void EngineState::raiseNoCardError() const {
    std::unique_lock<std::mutex> lock(stateMutex_);
    CardAbsence const absence = absence_;
    lock.unlock();
    absence.raise();
}

void EngineState::notePinRefused(CardPtr const& card, Reason reason, std::string detail,
                                 std::uint32_t triesRemaining) noexcept {
    try {
        PinRefusal refusal{card->getSerialNumber(), triesRemaining, reason, std::move(detail)};
        std::lock_guard<std::mutex> lock(stateMutex_);
        pinRefusal_ = std::move(refusal);
    } catch (...) {
        // A card that cannot be read now has nothing to be told about later.
    }
}

void EngineState::notePinAccepted() {
    std::lock_guard<std::mutex> lock(stateMutex_);
    pinRefusal_.reset();
}

bool EngineState::raisePinRefusal() const {
    std::unique_lock<std::mutex> lock(stateMutex_);
    CardPtr const card = card_;
    std::optional<PinRefusal> const refusal = pinRefusal_;
    lock.unlock();
    if (!card || !refusal) {
        return false;
    }
    try {
        // Another card in the reader, or this card after its PIN was reset elsewhere.
        if (card->getSerialNumber() != refusal->serialNumber ||
            card->getLoginTriesRemaining() != refusal->triesRemaining) {
            return false;
        }
    } catch (std::exception const&) {
        return false;
    }
    raiseError(refusal->reason, refusal->detail);
    return true;
}

std::string EngineState::pemOf(CardPtr const& card) {
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        if (card_ == card && !pem_.empty()) {
            return pem_;
        }
    }
    return cachePem(card);
}

std::string EngineState::cachePem(CardPtr const& card) {
    std::string text =
        certificateToPem(card->getCertificate(pavlenenabler::iface::KeyCertType::Authentication));
    std::lock_guard<std::mutex> lock(stateMutex_);
    // A card swapped in meanwhile keeps its own text.
    if (card_ == card) {
        pem_ = text;
    }
    return text;
}

void EngineState::onCardInserted(CardPtr card) {
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        if (card_ != card) {
            card_ = card;
            pem_.clear();
        }
    }
    cachePem(card);
}

void EngineState::onCardRemoved(CardPtr const& card) {
    CardAbsence removed = CardAbsence::removedFrom(card->getReaderName());
    std::lock_guard<std::mutex> lock(stateMutex_);
    // With two readers, the removal of another card leaves the current one.
    if (card_ == card) {
        card_.reset();
        pem_.clear();
        absence_ = std::move(removed);
    }
}

}  // namespace engine::detail
