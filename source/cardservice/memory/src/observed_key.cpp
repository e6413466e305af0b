#include "observed_key.hpp"

#include <algorithm>
#include <utility>

namespace cardservice::memory::detail {

ObservedKey::ObservedKey(std::string keyPath, ObservedValue initial)
    : keyPath_(std::move(keyPath)), value_(std::move(initial)) {}

ObservedValue ObservedKey::value() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return value_;
}

void ObservedKey::change(ObservedValue value) {
    std::lock_guard<std::mutex> lock(mutex_);
    value_ = value;
    pending_.push_back(Change{std::move(value), registrations_});
}

void ObservedKey::deliverPending() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (delivering_) {
        return;
    }
    delivering_ = true;
    while (!pending_.empty()) {
        Change next = std::move(pending_.front());
        pending_.pop_front();
        lock.unlock();
        try {
            for (auto const& registration : next.observers) {
                call_(*registration, next.value);
            }
        } catch (...) {
            // The changes left are delivered by the next change.
            lock.lock();
            delivering_ = false;
            throw;
        }
        lock.lock();
    }
    delivering_ = false;
}

KeyValueObservable::ObservationId ObservedKey::add(std::string const& keyPath, unsigned options,
                                                   KeyValueObservable::ChangeCallback callback) {
    std::unique_lock<std::mutex> lock(mutex_);
    auto const id = nextId_++;
    if (keyPath != keyPath_) {
        return id;
    }
    auto registration = std::make_shared<Registration>();
    registration->id = id;
    registration->callback = std::move(callback);
    registrations_.push_back(registration);
    if ((options & ObserveInitial) != 0) {
        ObservedValue const current = value_;
        lock.unlock();
        try {
            call_(*registration, current);
        } catch (...) {
            // The caller never learns the id, so it could not end the observation.
            remove(id);
            throw;
        }
    }
    return id;
}

void ObservedKey::remove(KeyValueObservable::ObservationId id) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto const found =
        std::find_if(registrations_.begin(), registrations_.end(),
                     [id](std::shared_ptr<Registration> const& r) { return r->id == id; });
    if (found == registrations_.end()) {
        return;
    }
    // Changes already recorded still hold the registration; the flag keeps them from calling it.
    (*found)->active = false;
    registrations_.erase(found);
}

void ObservedKey::call_(Registration& registration, ObservedValue const& value) {
    if (registration.active) {
        registration.callback(value);
    }
}

}  // namespace cardservice::memory::detail
