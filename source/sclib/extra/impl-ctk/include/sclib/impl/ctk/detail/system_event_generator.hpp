#pragma once

#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <boost/optional.hpp>

#include "ctkwrapper/kv_observe.hpp"
#include "sclib/impl/ctk/detail/system_event.hpp"
#include "velk/thread_safe_queue.hpp"

namespace sclib::impl::ctk::detail {

// Turns the reader lists the service notifies into reader-added and reader-removed events.
// Updates come on the service's threads and never throw there: a failure is kept and handed to
// the next GetEvent, and the updates that arrive meanwhile wait until it has been handed out.
class SystemEventGenerator {
public:
    // Applies the reader list a notification carried.
    void Update(ctkwrapper::KvValue const& value) noexcept;
    // Applies the provider's reader list as it is now.
    void UpdateFromProvider() noexcept;

    // Rethrows a kept failure once, after applying the updates that waited for it and the reader
    // list as it is now, so that a reader added meanwhile is reported. Otherwise the oldest
    // queued event, if any.
    boost::optional<SystemEvent> GetEvent();
    // The events queued now, not counting a kept failure.
    std::size_t QueuedEvents() const { return queue_.Size(); }

private:
    using Readers = std::vector<std::shared_ptr<sclib::Reader>>;

    // The caller holds mutex_ for all of the following.

    // Applies a notified list, or keeps it while a failure is pending.
    void AcceptNotified_(std::vector<std::string> const& names);
    // Applies the provider's list now; while a failure is pending nothing needs keeping, because
    // the list is read when the failure is handed out.
    void AcceptCurrent_();
    // Applies the lists that waited for the failure being handed out, then the list now.
    void Resume_();
    // Keeps what listing the readers throws as the pending failure.
    void Apply_(std::function<Readers()> const& list);
    // Readers are compared by identity: additions are queued before removals, each group in
    // address order.
    void ApplyReaders_(Readers&& now);

    velk::ThreadSafeQueue<SystemEvent> queue_;
    // Guards previous_, pending_ and refused_.
    std::mutex mutex_;
    // The readers reported present, sorted by address; holding them keeps their identity until
    // they are reported removed.
    Readers previous_;
    std::exception_ptr pending_;
    // Notified while a failure was pending, in order.
    std::vector<std::vector<std::string>> refused_;
};

}  // namespace sclib::impl::ctk::detail
