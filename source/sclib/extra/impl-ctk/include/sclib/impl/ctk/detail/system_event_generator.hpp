#pragma once

#include <cstddef>
#include <exception>
#include <memory>
#include <mutex>
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
    void Update() noexcept;

    // Rethrows a kept failure once, after applying the updates that waited for it and the reader
    // list as it is now, so that a reader added meanwhile is reported. Otherwise the oldest
    // queued event, if any.
    boost::optional<SystemEvent> GetEvent();
    // The events queued now, not counting a kept failure.
    std::size_t QueuedEvents() const { return queue_.Size(); }

private:
    // The caller holds mutex_ for these.
    void UpdateLocked_(ctkwrapper::KvValue const& value);
    void Resume_();
    // Readers are compared by identity: additions are queued before removals, each group in
    // address order.
    void UpdateUnsafe_(std::vector<std::shared_ptr<sclib::Reader>>&& now);

    velk::ThreadSafeQueue<SystemEvent> queue_;
    // Guards previous_, pending_ and refused_.
    std::mutex mutex_;
    // The readers reported present, sorted by address; holding them keeps their identity until
    // they are reported removed.
    std::vector<std::shared_ptr<sclib::Reader>> previous_;
    std::exception_ptr pending_;
    // Notified while a failure was pending, in order.
    std::vector<ctkwrapper::KvValue> refused_;
};

}  // namespace sclib::impl::ctk::detail
