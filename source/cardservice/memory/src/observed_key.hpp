#pragma once

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "cardservice/card_service.hpp"

namespace cardservice::memory::detail {

// One observable key of an object: its value, its observers and the in-order delivery of its
// changes. Observers are called with no lock held, so a callback may read the value, add
// observers or remove its own observation.
class ObservedKey {
public:
    ObservedKey(std::string keyPath, ObservedValue initial);
    ObservedKey(ObservedKey const&) = delete;
    ObservedKey& operator=(ObservedKey const&) = delete;

    ObservedValue value() const;

    // Records a change for the observers registered now. Takes only this key's lock, so the
    // owner may call it under its own lock to keep its changes in order; it must then call
    // deliverPending once it holds no lock.
    void change(ObservedValue value);
    // Calls the observers with every recorded change, in order. When another thread is already
    // delivering, that thread delivers these changes too.
    void deliverPending();

    KeyValueObservable::ObservationId add(std::string const& keyPath, unsigned options,
                                          KeyValueObservable::ChangeCallback callback);
    void remove(KeyValueObservable::ObservationId id);

private:
    struct Registration {
        KeyValueObservable::ObservationId id;
        KeyValueObservable::ChangeCallback callback;
        // Cleared by remove; a call starts only while it is set.
        std::atomic<bool> active{true};
    };
    using Registrations = std::vector<std::shared_ptr<Registration>>;

    struct Change {
        ObservedValue value;
        Registrations observers;
    };

    static void call_(Registration& registration, ObservedValue const& value);

    std::string const keyPath_;
    mutable std::mutex mutex_;
    ObservedValue value_;
    Registrations registrations_;
    std::deque<Change> pending_;
    bool delivering_ = false;
    KeyValueObservable::ObservationId nextId_ = 1;
};

}  // namespace cardservice::memory::detail
