#include "pavlenenabler/enabler/smartcard_registration.hpp"

#include <utility>

namespace pavlenenabler::enabler {

namespace {

bool isStillInReader(AcceptedCard const& card) {
    return card.card && card.connection->isStillInReader();
}

}  // namespace

std::shared_ptr<Smartcard> SmartcardRegistration::cardInReader(
    std::shared_ptr<sclib::Reader> const& reader, bool eventsRun) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto const registered = cards_.find(reader);
    if (eventsRun && registered != cards_.end() && registered->second.followed) {
        return registered->second.accepted.card;
    }
    AcceptedCard card = keptCard_(reader);
    if (!isStillInReader(card)) {
        card = acceptCard(*reader);
        if (!card.card) {
            return nullptr;
        }
    }
    handedOut_[reader] = Handed{card.card, card.connection};
    return card.card;
}

std::shared_ptr<Smartcard> SmartcardRegistration::registerInsertedCard(
    std::shared_ptr<sclib::Reader> const& reader) {
    std::lock_guard<std::mutex> lock(mutex_);
    AcceptedCard card = keptCard_(reader);
    if (!isStillInReader(card)) {
        card = acceptCard(*reader);
        if (!card.card) {
            return nullptr;
        }
    }
    cards_[reader] = Registered{card, true};
    handedOut_.erase(reader);
    return card.card;
}

std::shared_ptr<Smartcard> SmartcardRegistration::erase(
    std::shared_ptr<sclib::Reader> const& reader) {
    std::lock_guard<std::mutex> lock(mutex_);
    handedOut_.erase(reader);
    auto const registered = cards_.find(reader);
    if (registered == cards_.end()) {
        return nullptr;
    }
    auto card = std::move(registered->second.accepted.card);
    cards_.erase(registered);
    return card;
}

void SmartcardRegistration::distrustRegistered() {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& entry : cards_) {
        entry.second.followed = false;
    }
}

std::shared_ptr<Smartcard> SmartcardRegistration::getSmartcard(
    std::shared_ptr<sclib::Reader> const& reader) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto const it = cards_.find(reader);
    return it == cards_.end() ? nullptr : it->second.accepted.card;
}

AcceptedCard SmartcardRegistration::keptCard_(std::shared_ptr<sclib::Reader> const& reader) const {
    auto const handed = handedOut_.find(reader);
    if (handed != handedOut_.end()) {
        if (auto card = handed->second.card.lock()) {
            return {std::move(card), handed->second.connection};
        }
    }
    auto const registered = cards_.find(reader);
    return registered == cards_.end() ? AcceptedCard{} : registered->second.accepted;
}

}  // namespace pavlenenabler::enabler
