#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "cardservice/card_service.hpp"

namespace cardservice::memory::detail {

// One observable key of an object: its value, its observers and the in-order delivery of its
// changes. Observers are called with no lock held, so a callback may read the value, add
// observers or remove observations. Each observer is called by one thread at a time, with its
// initial value first and then every change in order; one that throws costs no other observer
// its change.
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
    // No call of the observer starts after this has returned, and none is still running unless
    // the observer's own callback removed it; a call running on another thread is waited for.
    void remove(KeyValueObservable::ObservationId id);

private:
    struct Registration {
        KeyValueObservable::ObservationId id;
        KeyValueObservable::ChangeCallback callback;

        // Guards the fields below.
        std::mutex mutex;
        std::condition_variable idle;
        // Cleared by remove; a call starts only while it is set.
        bool active = true;
        // The thread calling the observer now, which also makes the calls for the values that
        // arrive meanwhile, so that they never overtake the running one.
        std::thread::id caller;
        std::deque<ObservedValue> arrived;
    };
    using Registrations = std::vector<std::shared_ptr<Registration>>;

    struct Change {
        ObservedValue value;
        Registrations observers;
    };

    // Calls the observer with value, or leaves it to the thread calling it now.
    static void deliver_(Registration& registration, ObservedValue value);
    // With registration.mutex held and this thread noted as the caller: calls the observer with
    // every arrived value, then ends the calling.
    static void callArrived_(Registration& registration, std::unique_lock<std::mutex>& lock);

    std::string const keyPath_;
    mutable std::mutex mutex_;
    ObservedValue value_;
    Registrations registrations_;
    std::deque<Change> pending_;
    bool delivering_ = false;
    KeyValueObservable::ObservationId nextId_ = 1;
};

}  // namespace cardservice::memory::detail
