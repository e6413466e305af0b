#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "cardservice/card_service.hpp"

namespace cardservice::impl::pcsc {

// The observations of one key path of one object. The owner makes notify, add and remove under
// one lock of its own that a callback may take again, so that every observer sees its initial
// value and then the changes in order, and remove never overlaps a call. No lock of this list
// is held while a callback runs, so a callback may add or remove observations.
class ObserverList {
public:
    using Id = KeyValueObservable::ObservationId;
    using Callback = KeyValueObservable::ChangeCallback;

    explicit ObserverList(std::string keyPath) : keyPath_(std::move(keyPath)) {}

    // Another key path registers nothing but still gets an id. With ObserveInitial the callback
    // is called with current before add returns.
    Id add(std::string const& keyPath, unsigned options, Callback callback,
           ObservedValue const& current);
    // No call starts after this has returned.
    void remove(Id id);
    // Calls every observer with value, on this thread, in the order they were added.
    void notify(ObservedValue const& value);

private:
    std::string const keyPath_;
    std::mutex mutex_;
    std::map<Id, std::shared_ptr<Callback const>> callbacks_;
};

}  // namespace cardservice::impl::pcsc
