#include "engine_state.hpp"

#include <stdexcept>

#include "pem.hpp"

namespace engine::detail {

EngineState& EngineState::instance() {
    // Built on first use, so it is destroyed at exit before the card manager's own statics:
    // its destructor stops the event thread while everything that thread reaches still exists.
    static EngineState state;
    return state;
}

EngineState::~EngineState() { stop(); }

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

    CardPtr found;
    try {
        found = enabler_->findCard();
    } catch (...) {
        stopLocked_();
        throw;
    }
    // The event thread may already have made this card current; keep its PEM text then.
    if (found) {
        std::lock_guard<std::mutex> lock(stateMutex_);
        if (card_ != found) {
            card_ = std::move(found);
            pem_.clear();
        }
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
    std::string text = certificateToPem(
        card->getCertificate(pavlenenabler::iface::KeyCertType::Authentication));
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
    std::lock_guard<std::mutex> lock(stateMutex_);
    // With two readers, the removal of another card leaves the current one.
    if (card_ == card) {
        card_.reset();
        pem_.clear();
    }
}

}  // namespace engine::detail
