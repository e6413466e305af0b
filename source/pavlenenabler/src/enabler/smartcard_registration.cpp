#include "pavlenenabler/enabler/smartcard_registration.hpp"

#include <utility>

namespace pavlenenabler::enabler {

bool SmartcardRegistration::erase(std::shared_ptr<sclib::Reader> const& reader) {
    std::lock_guard<std::mutex> lock(mutex_);
    found_.erase(reader);
    return cards_.erase(reader) > 0;
}

std::shared_ptr<Smartcard> SmartcardRegistration::getSmartcard(
    std::shared_ptr<sclib::Reader> const& reader) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto const it = cards_.find(reader);
    return it == cards_.end() ? nullptr : it->second;
}

std::shared_ptr<Smartcard> SmartcardRegistration::keepFound(
    std::shared_ptr<sclib::Reader> const& reader, std::shared_ptr<Smartcard> const& card) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto const registered = cards_.find(reader);
    if (registered != cards_.end()) {
        return registered->second;
    }
    found_[reader] = card;
    return card;
}

std::shared_ptr<Smartcard> SmartcardRegistration::insertUnlessFound(
    std::shared_ptr<sclib::Reader> const& reader, std::shared_ptr<Smartcard> card) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto const found = found_.find(reader);
    if (found != found_.end()) {
        if (auto kept = found->second.lock()) {
            card = std::move(kept);
        }
        found_.erase(found);
    }
    cards_[reader] = card;
    return card;
}

std::shared_ptr<Smartcard> SmartcardRegistration::takeFound(
    std::shared_ptr<sclib::Reader> const& reader) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto const it = found_.find(reader);
    if (it == found_.end()) {
        return nullptr;
    }
    auto card = it->second.lock();
    found_.erase(it);
    return card;
}

}  // namespace pavlenenabler::enabler
