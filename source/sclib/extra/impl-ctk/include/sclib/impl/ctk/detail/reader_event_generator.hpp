#pragma once

#include <cstddef>
#include <exception>
#include <mutex>
#include <vector>

#include <boost/optional.hpp>

#include "ctkwrapper/kv_observe.hpp"
#include "ctkwrapper/slot.hpp"
#include "sclib/impl/ctk/detail/reader_event.hpp"
#include "velk/thread_safe_queue.hpp"

namespace sclib::impl::ctk::detail {

// Turns the slot states the service notifies into reader events. Updates come on the service's
// threads and never throw there: a failure is kept and handed to the next GetEvent, and the
// updates that arrive meanwhile wait until it has been handed out.
class ReaderEventGenerator {
public:
    // slot must outlive the generator; it is read again after a failure has been handed out. An
    // invalid slot (the reader is gone) gives Unavailable at once.
    explicit ReaderEventGenerator(ctkwrapper::Slot const& slot);

    // Applies the state a notification carried.
    void Update(ctkwrapper::KvValue const& value) noexcept;

    // Rethrows a kept failure once, after applying the updates that waited for it and the slot's
    // state as it is now, so that a card removed or swapped meanwhile is reported. Otherwise the
    // oldest queued event, if any.
    boost::optional<ReaderEvent> GetEvent();
    // The events queued now, not counting a kept failure.
    std::size_t QueuedEvents() const { return queue_.Size(); }

private:
    // The caller holds mutex_ for these.
    void UpdateLocked_(ctkwrapper::KvValue const& value);
    void Resume_();
    void UpdateUnsafe_(ctkwrapper::SlotState state);

    ctkwrapper::Slot const& slot_;
    velk::ThreadSafeQueue<ReaderEvent> queue_;
    // Guards state_, pending_ and refused_.
    std::mutex mutex_;
    // The last accepted state; Probing is never stored and Missing is final.
    ctkwrapper::SlotState state_ = ctkwrapper::SlotState::Empty;
    std::exception_ptr pending_;
    // Notified while a failure was pending, in order.
    std::vector<ctkwrapper::KvValue> refused_;
};

}  // namespace sclib::impl::ctk::detail
