#include "observed_key.hpp"

#include <algorithm>
#include <utility>

#include "callback_failure.hpp"

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
                deliver_(*registration, next.value);
            }
        } catch (...) {
            // Only memory can run out here; the changes left go with the next change.
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
    if ((options & ObserveInitial) == 0) {
        registrations_.push_back(std::move(registration));
        return id;
    }
    // Noted as calling before it is registered: a change that arrives during the initial call
    // is left to this thread, which makes it after the initial call.
    registration->caller = std::this_thread::get_id();
    registrations_.push_back(registration);
    ObservedValue const current = value_;
    lock.unlock();
    try {
        registration->callback(current);
    } catch (...) {
        // The caller never learns the id, so it could not end the observation.
        {
            std::lock_guard<std::mutex> calling(registration->mutex);
            registration->active = false;
            registration->caller = std::thread::id();
        }
        remove(id);
        throw;
    }
    std::unique_lock<std::mutex> calling(registration->mutex);
    callArrived_(*registration, calling);
    return id;
}

void ObservedKey::remove(KeyValueObservable::ObservationId id) {
    std::shared_ptr<Registration> registration;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto const found =
            std::find_if(registrations_.begin(), registrations_.end(),
                         [id](std::shared_ptr<Registration> const& r) { return r->id == id; });
        if (found == registrations_.end()) {
            return;
        }
        registration = *found;
        registrations_.erase(found);
    }
    // Changes already recorded still hold the registration; the flag keeps them from calling it.
    std::unique_lock<std::mutex> lock(registration->mutex);
    registration->active = false;
    registration->arrived.clear();
    if (registration->caller != std::this_thread::get_id()) {
        registration->idle.wait(lock, [&] { return registration->caller == std::thread::id(); });
    }
}

void ObservedKey::deliver_(Registration& registration, ObservedValue value) {
    std::unique_lock<std::mutex> lock(registration.mutex);
    if (!registration.active) {
        return;
    }
    registration.arrived.push_back(std::move(value));
    if (registration.caller != std::thread::id()) {
        return;
    }
    registration.caller = std::this_thread::get_id();
    callArrived_(registration, lock);
}

void ObservedKey::callArrived_(Registration& registration, std::unique_lock<std::mutex>& lock) {
    while (registration.active && !registration.arrived.empty()) {
        ObservedValue const next = std::move(registration.arrived.front());
        registration.arrived.pop_front();
        lock.unlock();
        try {
            registration.callback(next);
        } catch (...) {
            // Every observer gets every change, whatever another one does with it.
            logCallbackFailure("Observer of the in-memory card service");
        }
        lock.lock();
    }
    registration.caller = std::thread::id();
    registration.idle.notify_all();
}

}  // namespace cardservice::memory::detail
